// The hidden root of every view tree; the view manager hangs every other view of the window
// below it. It is invisible from construction.
#pragma once

#include "FWGroupControl.h"

class ParentWindow : public FWGroupControl {
public:
    ParentWindow();

    // Also tells every view of the tree below, itself first, that the window was resized.
    void SetRect(const FWRect& rect) override;
    void TextFileSerialize(int32_t index, int32_t parentIndex, FILE* file) override;
    const char* FactoryGetClassName() const override { return "ParentWindow"; }
    const FWString& Viewable_Name() const override;
    // Acquired anew on every call.
    const ImageBuffer* Viewable_Icon() override;

protected:
    // Stored hidden: the root is shown while its window is, which is no part of the layout, and
    // every loaded tree starts hidden.
    bool StoredVisible() const override { return false; }
};
