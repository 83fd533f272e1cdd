// What a drag carries: at most one scrap per flavour, in the order they were added, and an
// optional image shown under the mouse while dragging. It owns its scraps and its image.
#pragma once

#include "FWDragScrap.h"

#include <cstddef>
#include <vector>

class ImageBuffer;

class FWDragData {
public:
    FWDragData() = default;
    virtual ~FWDragData();
    FWDragData(const FWDragData&) = delete;
    FWDragData& operator=(const FWDragData&) = delete;

    // Takes ownership; a scrap of the same type is deleted and the new one goes at the end.
    void AddScrap(FWDragScrap* scrap);
    FWDragScrap* FindScrap(uint32_t type) const;
    bool HasType(uint32_t type) const { return FindScrap(type) != nullptr; }
    std::vector<FWDragScrap*>::const_iterator Begin() const { return mScraps.begin(); }
    std::vector<FWDragScrap*>::const_iterator End() const { return mScraps.end(); }
    size_t Size() const { return mScraps.size(); }
    // Deletes every scrap.
    void Clear();

    // Replaces the image by a copy of image (same rectangle and depth), or by none for null.
    void SetImage(const ImageBuffer* image);
    const ImageBuffer* Image() const { return mImage; }

private:
    std::vector<FWDragScrap*> mScraps;
    ImageBuffer* mImage = nullptr;
};
