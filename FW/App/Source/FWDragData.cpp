#include "FWDragData.h"

#include "ImageBuffer.h"

#include <algorithm>
#include <cstring>

FWDragData::~FWDragData()
{
    Clear();
    delete mImage;
}

void FWDragData::AddScrap(FWDragScrap* scrap)
{
    if (scrap == nullptr)
        return;
    for (auto it = mScraps.begin(); it != mScraps.end(); ++it) {
        if ((*it)->Type() == scrap->Type()) {
            delete *it;
            mScraps.erase(it);
            break;
        }
    }
    mScraps.push_back(scrap);
}

FWDragScrap* FWDragData::FindScrap(uint32_t type) const
{
    for (FWDragScrap* scrap : mScraps) {
        if (scrap->Type() == type)
            return scrap;
    }
    return nullptr;
}

void FWDragData::Clear()
{
    for (FWDragScrap* scrap : mScraps)
        delete scrap;
    mScraps.clear();
}

void FWDragData::SetImage(const ImageBuffer* image)
{
    delete mImage;
    mImage = nullptr;
    if (image == nullptr)
        return;
    mImage = new ImageBuffer(&image->GetRect(), image->Depth());
    const int32_t rows = image->GetRect().Height();
    const int32_t bytes = std::min(image->RowBytes(), mImage->RowBytes());
    if (!image->Valid() || !mImage->Valid())
        return;
    for (int32_t y = 0; y < rows; ++y)
        std::memcpy(mImage->BaseAddr() + int64_t(y) * mImage->RowBytes(),
                    image->BaseAddr() + int64_t(y) * image->RowBytes(), size_t(bytes));
}
