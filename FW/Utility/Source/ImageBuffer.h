// An off-screen pixel buffer: a rectangle, a depth, rows of pixels, an optional 1-bit mask
// (itself an ImageBuffer) and a drawing context bound to it. The pixel store is the platform
// half (CMacIBStuff); a buffer is valid exactly when it has one. Images from resources
// (DiskImage) are image buffers, and FWDrawContext draws buffers into windows and buffers.
//
// A 32-bit pixel is one native word: alpha in bits 24-31 (255 opaque), red 16-23, green 8-15,
// blue 0-7 (MakeColor32 and its companions in FWArgb32.h). An 8-bit pixel indexes the grey
// table (white 0, black 255). A 1-bit row holds eight pixels a byte, leftmost in the most
// significant bit; 1 means set.
#pragma once

#include "FWArgb32.h"
#include "FWDrawContext.h"
#include "FWRect.h"
#include "HostPorts.h"

#include <cstdint>

class CMacIBStuff;

enum ImageBufferDepth : int32_t {
    kImageBufferDepth1 = 1,
    kImageBufferDepth8 = 8,
    kImageBufferDepth32 = 32,
};

class ImageBuffer {
public:
    // No rectangle, depth 32, no store, no mask.
    ImageBuffer();
    // Copies the rectangle and allocates the store. The flag has no effect.
    ImageBuffer(const FWRect* rect, ImageBufferDepth depth, bool unused = false);
    virtual ~ImageBuffer();
    ImageBuffer(const ImageBuffer&) = delete;
    ImageBuffer& operator=(const ImageBuffer&) = delete;

    // Storage. Allocate replaces any store with a new one for the rectangle and depth; when the
    // platform cannot make it (no memory, a bad depth or rectangle) the buffer is left invalid.
    void Allocate();
    void Deallocate();

    // State
    bool Valid() const { return mStore != nullptr; }
    ImageBufferDepth Depth() const { return mDepth; }
    int32_t BytesPerPixel() const { return mBytesPerPixel; }
    int32_t RowBytes() const { return mRowBytes; }
    uint8_t* BaseAddr() const { return mBaseAddr; }
    const FWRect& GetRect() const { return mRect; }
    ImageBuffer* GetMask() const { return mMask; }
    CMacIBStuff* GetPlatformData() const { return mStore; }
    // The platform's off-screen world, or null when not valid.
    GWorldPtr GetPDB() const;

    // Takes the rectangle and reallocates (the old pixels are lost); a mask, if there was one,
    // is rebuilt from the new pixels.
    void SetRect(const FWRect& rect);

    // Masks. AlphaIsOpaque: valid and every pixel's alpha is 255 (buffers without alpha, of
    // depth 1 or 8, count as opaque). CreateMaskBuffer: unless opaque, replaces the mask with
    // one whose bits are set where alpha is not 0. CopyMask: this buffer's mask becomes the
    // source's mask drawn to this rectangle, or none when the source has none.
    bool AlphaIsOpaque() const;
    void CreateMaskBuffer();
    void CopyMask(const ImageBuffer* source);

    // Drawing: when valid, makes the store the current port and binds the embedded context to
    // this buffer in its default state. The context is returned in every case.
    FWDrawContext* SetContext();
    void ReleaseContext() {}

protected:
    // Pixel rows, for readers that fill the buffer.
    uint8_t* Row(int32_t y) const { return mBaseAddr + int64_t(y) * mRowBytes; }

private:
    void deleteMask();

    FWRect mRect;
    ImageBuffer* mMask = nullptr;
    ImageBufferDepth mDepth = kImageBufferDepth32;
    int32_t mBytesPerPixel = 0;
    int32_t mRowBytes = 0;
    uint8_t* mBaseAddr = nullptr;
    FWDrawContext mContext;
    CMacIBStuff* mStore = nullptr;
};

// Sets one bit of a byte (0 the least significant).
inline void SetBit(uint8_t& byte, int bit)
{
    byte = uint8_t(byte | (1u << bit));
}

// Copies the word unchanged.
struct PlainCopyOp {
    uint32_t operator()(uint32_t source, uint32_t /*target*/) const { return source; }
};

// Combines every pixel word of source into target, row by row, when both are 32-bit and of
// the same width and height; otherwise does nothing.
template <class Op>
void CopyPixels(const ImageBuffer& source, ImageBuffer& target, Op op)
{
    if (!source.Valid() || !target.Valid() || source.Depth() != kImageBufferDepth32 ||
        target.Depth() != kImageBufferDepth32)
        return;
    const FWRect& s = source.GetRect();
    const FWRect& t = target.GetRect();
    if (s.Width() != t.Width() || s.Height() != t.Height())
        return;
    const int32_t width = s.Width();
    for (int32_t y = 0; y < s.Height(); ++y) {
        const auto* in = reinterpret_cast<const uint32_t*>(source.BaseAddr() + int64_t(y) * source.RowBytes());
        auto* out = reinterpret_cast<uint32_t*>(target.BaseAddr() + int64_t(y) * target.RowBytes());
        for (int32_t x = 0; x < width; ++x)
            out[x] = op(in[x], out[x]);
    }
}

void CopyImage(const ImageBuffer& source, ImageBuffer& target);
