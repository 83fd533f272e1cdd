// One page of a branching control. It takes no events itself; the views placed on it do.
#pragma once

#include "FWGroupControl.h"

class BranchItem : public FWGroupControl {
public:
    BranchItem() = default;

    // Code that walks from the parent to this page.
    void TextFileSerialize(int32_t index, int32_t parentIndex, FILE* file) override;
    const char* FactoryGetClassName() const override { return "BranchItem"; }
    const FWString& Viewable_Name() const override;
    // Acquired anew on every call.
    const ImageBuffer* Viewable_Icon() override;
    bool HandlesEvents() const override { return false; }
};
