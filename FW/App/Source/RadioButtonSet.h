// A column of radio buttons with their labels in one view; one index is the active button.
// Each button may name a view of the window that is ghosted while that button is active.
#pragma once

#include "FWStr.h"
#include "FWView.h"

#include <vector>

class RadioButtonSet : public FWView {
public:
    struct RadioButtonRec {
        FWRect mImageRect;
        FWRect mHitRect;
        int32_t mLinkedID = 0; // 0: none
    };

    RadioButtonSet() = default;
    // count buttons at the top-left point; labels (count of them) may be null for none.
    void Init(FWWindow* window, const FWPoint& topLeft, int32_t count, FWStr<31>* labels);
    using FWView::Init;
    FWView* Duplicate(FWPoint offset) override;

    // Buttons 14 pixels apart below the rectangle's top-left; as wide as the widest label + 16.
    void SetRect(const FWRect& rect) override;

    // The active index; one equal to the count shows no button active. Setting it unghosts the
    // old button's linked view and ghosts the new one's; nothing is redrawn.
    int32_t GetActiveButton() const { return mActive; }
    void SetActiveButton(int32_t index);
    void DefaultState() override { SetActiveButton(0); }
    int32_t GetCount() const { return mCount; }
    const RadioButtonRec& GetButton(int32_t index) const { return mButtons[size_t(index)]; }
    void SetLinkedID(int32_t index, int32_t id) { mButtons[size_t(index)].mLinkedID = id; }
    bool HasLabels() const { return !mLabels.empty(); }
    const FWView::Label& GetLabel(int32_t index) const { return mLabels[size_t(index)]; }
    int32_t GetLabelWidth() const { return mLabelWidth; }
    void SetLabelWidth(int32_t width) { mLabelWidth = width; }
    // A set without labels gets an empty label per button first.
    void SetLabel(int32_t index, const FWString& text);
    // Replaces the button records (no linked view) and the labels by count empty ones; an
    // active index past the new count becomes the count (no button active).
    void NewButtons(int32_t count);
    bool GetNotifyAlways() const { return mNotifyAlways; }
    void SetNotifyAlways(bool on) { mNotifyAlways = on; }
    // The first button whose hit rect holds the point (view coordinates), or -1.
    int32_t ButtonAt(FWPoint point) const;

    void Draw(FWDrawContext& context) const override;
    // Draws one button's image: 0 active, 1 inactive, 2 pressed, 3 ghosted.
    void DrawButton(FWDrawContext& context, int32_t index, int image) const;
    bool MouseDownEvent(FWEvent& event) override;

    // By view id.
    static int32_t GGetButton(FWWindow* window, int32_t id, FWView* view = nullptr);
    static void GSetButton(FWWindow* window, int32_t id, int32_t index, FWDrawContext* context);

    EditType FilterEditType(EditType) override { return kEditMove; }
    const char* FactoryGetClassName() const override { return "RadioButtonSet"; }
    const FWString& Viewable_Name() const override;
    const ImageBuffer* Viewable_Icon() override;
    bool DoInterface() override;
    void TextFileSerialize(int32_t index, int32_t parentIndex, FILE* file) override;
    void OldRead(SerialStream& stream) override;
    void OldWrite(SerialStream& stream) override;

private:
    static constexpr const char* kSourcePath = "FW/App/Source/RadioButtonSet";

    static RadioButtonSet* findSet(FWWindow* window, int32_t id, FWView* view, const char* message, int line);
    void ghostLinked(int32_t index, bool ghost);

    int32_t mCount = 0;
    std::vector<RadioButtonRec> mButtons;
    std::vector<FWView::Label> mLabels; // empty when the set has no labels
    int32_t mActive = 0;
    int32_t mStoredLong = 0;
    int32_t mLabelWidth = 0;
    bool mNotifyAlways = false;
};
