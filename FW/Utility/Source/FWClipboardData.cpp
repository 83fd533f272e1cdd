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

FWClipboardImage::FWClipboardImage(std::unique_ptr<ImageBuffer> image) : mImage(image.release()) {}

FWClipboardImage::~FWClipboardImage()
{
    delete mImage;
}
