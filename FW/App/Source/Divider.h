// An engraved separator line two pixels thick, horizontal when its rectangle is wider than high.
#pragma once

#include "FWView.h"

class Divider : public FWView {
public:
    Divider() = default;

    virtual void Init(FWWindow* window, const FWRect& rect);
    using FWView::Init;

    bool IsHorizontal() const { return mHorizontal; }

    // The direction follows the rectangle; the line is at least 10 long and exactly 2 thick.
    void SetRect(const FWRect& rect) override;
    // The line widened by a pixel on each side across it.
    bool PntInRect(const FWPoint* point) override;
    // Only the handles along the line.
    EditType FilterEditType(EditType type) override;

    FWView* Duplicate(FWPoint offset) override;
    void TextFileSerialize(int32_t index, int32_t parentIndex, FILE* file) override;
    void Draw(FWDrawContext& context) const override;
    const char* FactoryGetClassName() const override { return "Divider"; }
    void OldRead(SerialStream& stream) override;
    void OldWrite(SerialStream& stream) override;
    bool DoInterface() override;
    const FWString& Viewable_Name() const override;
    const ImageBuffer* Viewable_Icon() override;

private:
    bool mHorizontal = false;
};
