// The items the application's clipboard holds: one object per kind of data, told apart by
// their dynamic class (FWClipboard keeps at most one of each).
#pragma once

#include "FWDynamicString.h"

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
    // Takes the buffer itself as its image, as an import does with what it decoded: a large
    // image's pixels are not held twice.
    explicit FWClipboardImage(std::unique_ptr<ImageBuffer> image);
    ~FWClipboardImage() override;
    FWClipboardImage(const FWClipboardImage&) = delete;
    FWClipboardImage& operator=(const FWClipboardImage&) = delete;

    const ImageBuffer* Image() const { return mImage; }

private:
    ImageBuffer* mImage;
};
