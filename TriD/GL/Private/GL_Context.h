// An OpenGL context of the 3D engine: it owns one platform context (an off-screen EGL context
// of a fixed size) and copies what was drawn into an image for a view to show.
#pragma once

#include "FWList.h"

#include <cstdint>

class HostGLContext;
class ImageBuffer;

namespace Engine3D {

class GL_Context {
public:
    // Takes ownership of the platform context.
    explicit GL_Context(HostGLContext* platform);
    virtual ~GL_Context();
    GL_Context(const GL_Context&) = delete;
    GL_Context& operator=(const GL_Context&) = delete;

    // A context drawing width x height pixels, or null where none can be made.
    static GL_Context* Create(int32_t width, int32_t height);
    // Deletes a context; null does nothing.
    static void ReleaseContext(GL_Context* context);

    HostGLContext* Platform() const { return mPlatform; }
    bool MakeCurrent();
    // An OpenGL function by name, or null.
    static void* GetProcAddress(const char* name);
    // Copies the drawn pixels into a 32-bit image of at least the context's size (top row
    // first, opaque); false when that cannot be done.
    bool ReadInto(ImageBuffer& image);

private:
    HostGLContext* mPlatform;
};

} // namespace Engine3D

// The OpenGL contexts of windows; nothing in this system opens one, so it stays empty.
extern FWList<Engine3D::GL_Context> sAllWindowContexts;
