#include "BranchItem.h"

#include "DiskImage.h"
#include "FWStr.h"
#include "SubClassFactory.h"

namespace {

const FWStr<31> kDisplayName("Branch");
SubClassFactory<FWView, BranchItem> sFactory("BranchItem");

} // namespace

void BranchItem::TextFileSerialize(int32_t index, int32_t parentIndex, FILE* file)
{
    if (file == nullptr)
        return;
    std::fprintf(file, "\t\tviewArray[%ld] = viewArray[%ld]->FirstChild();\n", long(index), long(parentIndex));
    for (FWView* peer = Parent() != nullptr ? Parent()->FirstChild() : nullptr; peer != nullptr && peer != this;
         peer = peer->NextPeer())
        std::fprintf(file, "\t\tviewArray[%ld] = viewArray[%ld]->NextPeer();\n", long(index), long(index));
}

const FWString& BranchItem::Viewable_Name() const
{
    return kDisplayName;
}

const ImageBuffer* BranchItem::Viewable_Icon()
{
    return DiskImage::Acquire(2015, FOUR_CHAR_CODE("argb"));
}
