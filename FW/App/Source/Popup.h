// The pop-up control: a label, then a framed box showing the chosen item's name with an arrow on
// its right. A click opens the items (children of an FWOpMenu) as a pop-up menu at the box. It
// can show its selection or act as a pull-down that only reports choices.
#pragma once

#include "FWDynamicString.h"
#include "FWView.h"

class DiskImage;
class FWOpMenu;
class FWPopupMenu;

class Popup : public FWView {
public:
    Popup() = default;
    // Deletes its pop-up menu (which deletes the items when it owns them) and releases the arrow.
    ~Popup() override;

    // Binds the popup to the window and wraps the menu (when given).
    void Init(FWWindow* window, FWOpMenu* menu, bool owns);
    void Init(FWWindow* window, const FWRect& rect, const FWString* label, int selection, bool showsSelection);
    using FWView::Init;
    FWView* Duplicate(FWPoint offset) override;

    // Items
    // Replaces the items; the selection becomes item 0.
    void SetPopupMenu(FWOpMenu* menu, bool owns);
    FWPopupMenu* GetPopupMenu() const { return mMenu; }
    int32_t CountItems() const;
    int32_t ItemSelected() const { return mSelection; }
    // Clamped to -1 .. count - 1; shows the item's name unless the item has flag 1024.
    void SetItemSelected(int index);
    const FWDynamicString& GetItemText() const { return mItemText; }
    void SetItemText(const FWString& text);
    bool GetNotifyOnEveryClick() const { return mNotifyOnEveryClick; }
    void SetNotifyOnEveryClick(bool on) { mNotifyOnEveryClick = on; }
    bool ShowsSelection() const { return mShowsSelection; }

    // Label and geometry
    const FWDynamicString& GetLabel() const { return mLabel.mText; }
    FWPoint GetLabelPoint() const { return mLabel.mPoint; }
    int16_t GetLabelWidth() const { return mLabelWidth; }
    void SetLabel(const FWString* label);
    void SetRect(const FWRect& rect) override;
    void InitIcon();

    void Draw(FWDrawContext& context) const override;
    bool MouseDownEvent(FWEvent& event) override;

    // By view id.
    static int32_t GItemSelected(FWWindow* window, int32_t id, FWView* view = nullptr);
    static void GSetItemSelected(FWWindow* window, int32_t id, int32_t index, FWDrawContext* context);

    // The layout editor resizes a popup only horizontally.
    EditType FilterEditType(EditType type) override { return WidthOnlyEditType(type); }
    const char* FactoryGetClassName() const override { return "Popup"; }
    const FWString& Viewable_Name() const override;
    const ImageBuffer* Viewable_Icon() override;
    bool DoInterface() override;
    void TextFileSerialize(int32_t index, int32_t parentIndex, FILE* file) override;
    void OldRead(SerialStream& stream) override;
    void OldWrite(SerialStream& stream) override;

private:
    static constexpr const char* kSourcePath = "FW/App/Source/Popup";

    static Popup* findPopup(FWWindow* window, int32_t id, FWView* view, const char* message, int line);
    // Gives the label the room the box leaves, at most its text's width, plus 2.
    void fitLabel();
    void readItems(SerialStream& stream);

    DiskImage* mArrowImage = nullptr;
    FWView::Label mLabel;
    int16_t mLabelWidth = 0;
    FWPopupMenu* mMenu = nullptr;
    bool mOwnsMenu = false;
    bool mShowsSelection = true;
    int32_t mSelection = -1;
    bool mNotifyOnEveryClick = false;
    FWDynamicString mItemText;
};
