// The check box: a 12 x 12 box with a label to its right. Its state can ghost up to six other
// views of the window, found by id, so that one box switches a group of fields on and off.
#pragma once

#include "FWStr.h"
#include "FWView.h"

class CheckBox : public FWView {
public:
    static constexpr int kLinkedCount = 6;

    CheckBox() = default;
    // The box at the top-left point, sized by its label; no linked views.
    void Init(FWWindow* window, const FWPoint& topLeft, FWString* label);
    using FWView::Init;
    FWView* Duplicate(FWPoint offset) override;

    // Keeps the top-left; 16 high, the label's width + 16 wide.
    void SetRect(const FWRect& rect) override;

    // State. Setting it ghosts the linked views while it equals the invert flag (unchecked,
    // by default) and unghosts them otherwise; the box itself is not redrawn.
    bool GetState() const { return mState; }
    void SetState(bool state);
    void DefaultState() override { SetState(false); }
    const FWString& GetText() const { return mLabel; }
    void SetText(const FWString& label) { mLabel = label; }
    int32_t GetLinkedItem(int index) const { return mLinked[index]; }
    void SetLinkedItem(int index, int32_t id) { mLinked[index] = id; }
    bool GetInvert() const { return mInvert; }
    void SetInvert(bool invert) { mInvert = invert; }
    bool GetWhiteLabel() const { return mWhiteLabel; }
    void SetWhiteLabel(bool white) { mWhiteLabel = white; }

    void Draw(FWDrawContext& context) const override;
    // Frames the box in yellow (on) or black, drawing at once.
    void HighLight(bool on);
    bool MouseDownEvent(FWEvent& event) override;

    // By view id.
    static bool GGetState(FWWindow* window, int32_t id, FWView* view = nullptr);
    static void GSetState(FWWindow* window, int32_t id, bool state, FWDrawContext* context);

    // The size follows from the label: the layout editor only moves a check box.
    EditType FilterEditType(EditType) override { return kEditMove; }
    const char* FactoryGetClassName() const override { return "CheckBox"; }
    const FWString& Viewable_Name() const override;
    const ImageBuffer* Viewable_Icon() override;
    bool DoInterface() override;
    void TextFileSerialize(int32_t index, int32_t parentIndex, FILE* file) override;
    void OldRead(SerialStream& stream) override;
    void OldWrite(SerialStream& stream) override;

private:
    static constexpr const char* kSourcePath = "FW/App/Source/CheckBox";

    static CheckBox* findBox(FWWindow* window, int32_t id, FWView* view, const char* message, int line);
    FWRect boxRect() const;

    FWStr<255> mLabel;
    int32_t mLinked[kLinkedCount] = {};
    bool mInvert = false;
    bool mState = true;
    bool mWhiteLabel = false;
};
