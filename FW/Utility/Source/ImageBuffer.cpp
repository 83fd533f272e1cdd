#include "ImageBuffer.h"

#include "CMacIBStuff.h"

#include <new>

ImageBuffer::ImageBuffer() = default;

ImageBuffer::ImageBuffer(const FWRect* rect, ImageBufferDepth depth, bool /*unused*/) : mDepth(depth)
{
    if (rect != nullptr)
        mRect = *rect;
    Allocate();
}

ImageBuffer::~ImageBuffer()
{
    deleteMask();
    Deallocate();
}

void ImageBuffer::Allocate()
{
    Deallocate();
    try {
        mStore = new CMacIBStuff(mRect, mDepth);
    } catch (const std::bad_alloc&) {
        return;
    }
    mBytesPerPixel = mDepth == kImageBufferDepth32 ? 4 : mDepth == kImageBufferDepth8 ? 1 : 0;
    mRowBytes = mStore->RowBytes();
    mBaseAddr = mStore->BaseAddr();
}

void ImageBuffer::Deallocate()
{
    // The context must not keep drawing into a store that is gone.
    if (mStore != nullptr)
        mContext.SetImageBuffer(nullptr);
    delete mStore;
    mStore = nullptr;
    mRowBytes = 0;
    mBaseAddr = nullptr;
}

GWorldPtr ImageBuffer::GetPDB() const
{
    return mStore != nullptr ? mStore->GWorld() : nullptr;
}

void ImageBuffer::SetRect(const FWRect& rect)
{
    mRect = rect;
    Allocate();
    if (mMask != nullptr) {
        deleteMask();
        CreateMaskBuffer();
    }
}

bool ImageBuffer::AlphaIsOpaque() const
{
    if (!Valid())
        return false;
    if (mDepth != kImageBufferDepth32)
        return true;
    const int32_t width = mRect.Width();
    for (int32_t y = 0; y < mRect.Height(); ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(Row(y));
        for (int32_t x = 0; x < width; ++x)
            if (GetAlpha32(row[x]) != 255)
                return false;
    }
    return true;
}

void ImageBuffer::CreateMaskBuffer()
{
    if (!Valid() || AlphaIsOpaque())
        return;
    auto* mask = new ImageBuffer(&mRect, kImageBufferDepth1);
    if (!mask->Valid()) {
        delete mask;
        return;
    }
    const int32_t width = mRect.Width();
    for (int32_t y = 0; y < mRect.Height(); ++y) {
        const auto* pixels = reinterpret_cast<const uint32_t*>(Row(y));
        uint8_t* bits = mask->Row(y);
        for (int32_t x = 0; x < width; ++x) {
            if (GetAlpha32(pixels[x]) != 0)
                SetBit(bits[x >> 3], 7 - (x & 7));
        }
    }
    // The old mask is freed, not leaked.
    deleteMask();
    mMask = mask;
}

void ImageBuffer::CopyMask(const ImageBuffer* source)
{
    if (source == nullptr || !Valid() || !source->Valid())
        return;
    deleteMask();
    if (source->GetMask() == nullptr)
        return;
    auto* mask = new ImageBuffer(&mRect, kImageBufferDepth1);
    if (!mask->Valid()) {
        delete mask;
        return;
    }
    FWDrawContext context(mask);
    context.DrawImage(source->GetMask(), &mRect, false);
    mMask = mask;
}

FWDrawContext* ImageBuffer::SetContext()
{
    if (Valid()) {
        mStore->SetGWorld();
        mContext.SetImageBuffer(this);
        mContext.SetDefaultState();
    }
    return &mContext;
}

void ImageBuffer::deleteMask()
{
    delete mMask;
    mMask = nullptr;
}

void CopyImage(const ImageBuffer& source, ImageBuffer& target)
{
    CopyPixels(source, target, PlainCopyOp());
}
