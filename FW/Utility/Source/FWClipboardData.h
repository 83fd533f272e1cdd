// The items the application's clipboard holds: one object per kind of data, told apart by
// their dynamic class (FWClipboard keeps at most one of each).
#pragma once

#include "FWDynamicString.h"

#include <functional>
#include <memory>

class ImageBuffer;

class FWClipboardData {
public:
    virtual ~FWClipboardData() = default;
};

// A text, held in its own copy.
class FWClipboardText : public FWClipboardData {
public:
    explicit FWClipboardText(const FWString& text) : mText(text) {}
    const FWDynamicString& Text() const { return mText; }

private:
    FWDynamicString mText;
};

// An image, held in its own buffer of the source's rectangle and depth with the source drawn
// into it.
class FWClipboardImage : public FWClipboardData {
public:
    explicit FWClipboardImage(const ImageBuffer& source);
    // An image decoded by the first Decode, as an import makes it: decode answers a new buffer
    // (null when the data do not decode), which the item keeps, so the pixels exist once and only
    // once they are needed; the decoder, and the data it holds, go once it has run.
    explicit FWClipboardImage(std::function<std::unique_ptr<ImageBuffer>()> decode);
    ~FWClipboardImage() override;
    FWClipboardImage(const FWClipboardImage&) = delete;
    FWClipboardImage& operator=(const FWClipboardImage&) = delete;

    // Decodes the image when it was not yet; null when it does not decode.
    const ImageBuffer* Decode();
    // The image as decoded so far (null before Decode, for an imported image).
    const ImageBuffer* Image() const { return mImage; }

private:
    ImageBuffer* mImage = nullptr;
    std::function<std::unique_ptr<ImageBuffer>()> mDecode;
};
