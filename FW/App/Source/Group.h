// The group box: a frame around other controls with an optional label set into it. It is a
// branching control, so one box can hold several alternative pages of controls.
#pragma once

#include "FWBranchingControl.h"

class Group : public FWBranchingControl {
public:
    enum LabelPosition : int32_t {
        kTopLeft = 0,
        kTopCenter = 1,
        kTopRight = 2,
        kBottomLeft = 3,
        kBottomCenter = 4,
        kBottomRight = 5,
    };
    // 0 raised bevel, 1 sunken bevel, 2 engraved line, 3 embossed line, 4 sunken bevel inside a
    // black frame, 5 black frame with the window's custom drawing inside. Only 2 and 3 show the
    // label.
    enum Style : int32_t {
        kRaised = 0,
        kSunken = 1,
        kEngraved = 2,
        kEmbossed = 3,
        kFramedSunken = 4,
        kCustom = 5,
    };

    Group() = default;
    void Init(FWWindow* window, const FWRect& rect, FWString* label, LabelPosition position, Style style);
    using FWBranchingControl::Init;
    FWView* Duplicate(FWPoint offset) override;

    // A width or height of 9 or less becomes 60; the label and the frame follow the rectangle.
    void SetRect(const FWRect& rect) override;
    void SetActiveLayer(int32_t index) { SetActiveBranch(index); }

    Style GetStyle() const { return mStyle; }
    // Style, label position and label take effect at the next SetRect.
    void SetStyle(Style style) { mStyle = style; }
    void SetLabelPosition(LabelPosition position) { mLabelPosition = position; }
    void SetLabel(const FWString& label) { mLabel.mText = label; }
    LabelPosition GetLabelPosition() const { return mLabelPosition; }
    const FWView::Label& GetLabel() const { return mLabel; }
    const FWRect& GetContentRect() const { return mContentRect; }
    const FWRect& GetLabelRect() const { return mLabelRect; }
    const FWRect& GetFrameRect() const { return mFrameRect; }

    void Draw(FWDrawContext& context) const override;
    bool MouseDownEvent(FWEvent& event) override;

    const char* FactoryGetClassName() const override { return "Group"; }
    const FWString& Viewable_Name() const override;
    const ImageBuffer* Viewable_Icon() override;
    bool DoInterface() override;
    void TextFileSerialize(int32_t index, int32_t parentIndex, FILE* file) override;
    void OldRead(SerialStream& stream) override;
    void OldWrite(SerialStream& stream) override;

private:
    static constexpr const char* kSourcePath = "FW/App/Source/Group";

    bool showsLabel() const { return (mStyle == kEngraved || mStyle == kEmbossed) && mLabel.mText.GetCurrLength() != 0; }
    void drawLine(FWDrawContext& context, const FWRect& r, int lightIndex, int darkIndex) const;

    LabelPosition mLabelPosition = kTopLeft;
    Style mStyle = kRaised;
    FWRect mContentRect;
    FWRect mLabelRect;
    FWRect mFrameRect;
    FWView::Label mLabel;
    bool mSkipNextValidation = true;
};
