// An OpenGL context that draws off screen at a fixed size: EGL on Mesa's surfaceless platform
// with a pbuffer of that size. Its pixels are read back for the framework to draw like any
// image. Where EGL cannot start, no context is made.
#pragma once

#include <cstdint>

class HostGLContext {
public:
    // A context of width x height pixels, or null when none can be made.
    static HostGLContext* Create(int32_t width, int32_t height);
    virtual ~HostGLContext();
    HostGLContext(const HostGLContext&) = delete;
    HostGLContext& operator=(const HostGLContext&) = delete;

    int32_t Width() const { return mWidth; }
    int32_t Height() const { return mHeight; }
    // Makes the context current on this thread; false when that fails.
    bool MakeCurrent();
    // An OpenGL function by name, or null.
    static void* GetProcAddress(const char* name);
    // Reads the drawn pixels into rows of 32-bit pixels (alpha in the top byte, then red, green,
    // blue), top row first, alpha 255. False when the context cannot be read.
    bool ReadPixels(uint32_t* pixels, int32_t rowBytes);
    // The number of live contexts.
    static int32_t LiveCount();

private:
    HostGLContext(int32_t width, int32_t height) : mWidth(width), mHeight(height) {}

    int32_t mWidth;
    int32_t mHeight;
    void* mDisplay = nullptr;
    void* mSurface = nullptr;
    void* mContext = nullptr;
};
