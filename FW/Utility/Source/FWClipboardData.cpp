#include "FWClipboardData.h"

#include "FWDrawContext.h"
#include "ImageBuffer.h"

FWClipboardImage::FWClipboardImage(const ImageBuffer& source)
    : mImage(new ImageBuffer(&source.GetRect(), source.Depth()))
{
    FWDrawContext context(mImage);
    const FWRect& rect = source.GetRect();
    context.DrawImage(&source, &rect, &rect, false);
}

FWClipboardImage::FWClipboardImage(std::function<std::unique_ptr<ImageBuffer>()> decode) : mDecode(std::move(decode))
{
}

const ImageBuffer* FWClipboardImage::Decode()
{
    if (mDecode) {
        const auto decode = std::move(mDecode);
        mDecode = nullptr;
        mImage = decode().release();
    }
    return mImage;
}

FWClipboardImage::~FWClipboardImage()
{
    delete mImage;
}
