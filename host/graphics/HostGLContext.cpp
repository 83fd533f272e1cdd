// EGL contexts on Mesa's surfaceless platform. The OpenGL entry points are looked up through
// EGL, so nothing here needs the OpenGL headers.
#include "HostGLContext.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <cstddef>
#include <vector>

namespace {

int32_t sLive = 0;

constexpr unsigned kGLRGBA = 0x1908;
constexpr unsigned kGLUnsignedByte = 0x1401;

using ReadPixelsProc = void (*)(int, int, int, int, unsigned, unsigned, void*);
using FinishProc = void (*)();

// The surfaceless display, initialised once; EGL_NO_DISPLAY when EGL cannot start.
EGLDisplay surfacelessDisplay()
{
    static EGLDisplay sDisplay = [] {
        auto getPlatformDisplay =
            reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
        if (getPlatformDisplay == nullptr)
            return EGLDisplay(EGL_NO_DISPLAY);
        EGLDisplay display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        if (display == EGL_NO_DISPLAY)
            return display;
        EGLint major = 0;
        EGLint minor = 0;
        if (!eglInitialize(display, &major, &minor))
            return EGLDisplay(EGL_NO_DISPLAY);
        return display;
    }();
    return sDisplay;
}

} // namespace

HostGLContext* HostGLContext::Create(int32_t width, int32_t height)
{
    if (width <= 0 || height <= 0)
        return nullptr;
    EGLDisplay display = surfacelessDisplay();
    if (display == EGL_NO_DISPLAY || !eglBindAPI(EGL_OPENGL_API))
        return nullptr;
    const EGLint configAttributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RED_SIZE,        8,
                                       EGL_GREEN_SIZE,   8,               EGL_BLUE_SIZE,       8,
                                       EGL_ALPHA_SIZE,   8,               EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                                       EGL_NONE};
    EGLConfig config = nullptr;
    EGLint count = 0;
    if (!eglChooseConfig(display, configAttributes, &config, 1, &count) || count < 1)
        return nullptr;
    const EGLint surfaceAttributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    EGLSurface surface = eglCreatePbufferSurface(display, config, surfaceAttributes);
    if (surface == EGL_NO_SURFACE)
        return nullptr;
    EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, nullptr);
    if (context == EGL_NO_CONTEXT) {
        eglDestroySurface(display, surface);
        return nullptr;
    }
    auto* made = new HostGLContext(width, height);
    made->mDisplay = display;
    made->mSurface = surface;
    made->mContext = context;
    ++sLive;
    return made;
}

HostGLContext::~HostGLContext()
{
    EGLDisplay display = mDisplay;
    if (eglGetCurrentContext() == EGLContext(mContext))
        eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglDestroyContext(display, EGLContext(mContext));
    eglDestroySurface(display, EGLSurface(mSurface));
    --sLive;
}

int32_t HostGLContext::LiveCount()
{
    return sLive;
}

bool HostGLContext::MakeCurrent()
{
    return eglMakeCurrent(EGLDisplay(mDisplay), EGLSurface(mSurface), EGLSurface(mSurface), EGLContext(mContext)) ==
           EGL_TRUE;
}

void* HostGLContext::GetProcAddress(const char* name)
{
    return reinterpret_cast<void*>(eglGetProcAddress(name));
}

bool HostGLContext::ReadPixels(uint32_t* pixels, int32_t rowBytes)
{
    if (pixels == nullptr || rowBytes < mWidth * 4 || !MakeCurrent())
        return false;
    auto readPixels = reinterpret_cast<ReadPixelsProc>(GetProcAddress("glReadPixels"));
    auto finish = reinterpret_cast<FinishProc>(GetProcAddress("glFinish"));
    if (readPixels == nullptr)
        return false;
    if (finish != nullptr)
        finish();
    std::vector<uint8_t> rgba(size_t(mWidth) * size_t(mHeight) * 4);
    readPixels(0, 0, mWidth, mHeight, kGLRGBA, kGLUnsignedByte, rgba.data());
    // OpenGL's rows run bottom to top.
    for (int32_t y = 0; y < mHeight; ++y) {
        const uint8_t* src = rgba.data() + size_t(mHeight - 1 - y) * size_t(mWidth) * 4;
        auto* dst = reinterpret_cast<uint32_t*>(reinterpret_cast<uint8_t*>(pixels) + size_t(y) * size_t(rowBytes));
        for (int32_t x = 0; x < mWidth; ++x, src += 4)
            dst[x] = 0xFF000000u | uint32_t(src[0]) << 16 | uint32_t(src[1]) << 8 | src[2];
    }
    return true;
}
