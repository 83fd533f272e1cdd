#include "GL_Context.h"

#include "HostGLContext.h"
#include "ImageBuffer.h"

FWList<Engine3D::GL_Context> sAllWindowContexts;

namespace Engine3D {

GL_Context::GL_Context(HostGLContext* platform) : mPlatform(platform) {}

GL_Context::~GL_Context()
{
    delete mPlatform;
}

GL_Context* GL_Context::Create(int32_t width, int32_t height)
{
    HostGLContext* platform = HostGLContext::Create(width, height);
    return platform != nullptr ? new GL_Context(platform) : nullptr;
}

void GL_Context::ReleaseContext(GL_Context* context)
{
    delete context;
}

bool GL_Context::MakeCurrent()
{
    return mPlatform != nullptr && mPlatform->MakeCurrent();
}

void* GL_Context::GetProcAddress(const char* name)
{
    return HostGLContext::GetProcAddress(name);
}

bool GL_Context::ReadInto(ImageBuffer& image)
{
    if (mPlatform == nullptr || image.Depth() != kImageBufferDepth32 || image.BaseAddr() == nullptr)
        return false;
    const FWRect bounds = image.GetRect();
    if (bounds.Width() < mPlatform->Width() || bounds.Height() < mPlatform->Height())
        return false;
    return mPlatform->ReadPixels(reinterpret_cast<uint32_t*>(image.BaseAddr()), int32_t(image.RowBytes()));
}

} // namespace Engine3D
