// A flat list of named items, each with an optional small icon and a caller's id, shown and
// operated by the outline view. The list box owns its items.
#pragma once

#include "FWDragReceiver.h"
#include "FWDynamicString.h"
#include "FWList.h"
#include "FWOutlineView.h"
#include "FWViewableNode.h"
#include "ListNode.h"

class ListBoxItem : public ListNode<ListBoxItem>, public FWViewableNode {
public:
    ListBoxItem(FWList<ListBoxItem>* list, const FWString& name, long id, const ImageBuffer* icon);

    long ID() const { return mID; }
    // 1 bold, 2 italic, 4 underline, 8 outline, 16 shadow.
    void SetTextFlags(int flags) { mTextStyle = uint8_t(flags); }

    const FWString& Viewable_Name() const override { return mName; }
    bool Viewable_CanSetName() const override { return true; }
    void Viewable_SetName(const char* name) override { mName = name; }
    void Viewable_SetName(const FWString& name) override { mName = name; }
    const ImageBuffer* Viewable_Icon() override { return mIcon; }
    void Viewable_SetIcon(const ImageBuffer* icon) override { mIcon = icon; }
    bool Viewable_IsHideable() const override { return true; }
    bool Viewable_Visibility() const override { return mVisible; }
    void Viewable_SetVisibility(bool visible) override { mVisible = visible; }
    bool Viewable_IsLockable() const override { return true; }
    bool Viewable_IsLocked() const override { return mLocked; }
    void Viewable_SetLockState(bool locked) override { mLocked = locked; }
    FWViewableNode* Viewable_NextPeer() override;
    FWViewableNode* Viewable_PrevPeer() override;
    bool Viewable_NodeSelected() const override { return mSelected; }
    void Viewable_SetNodeSelected(bool selected) override { mSelected = selected; }
    bool Viewable_CanBeRelocated() const override { return true; }
    void Viewable_Unlink() override;
    void Viewable_LinkAsNextPeerTo(FWViewableNode* node) override;
    void Viewable_LinkAsPrevPeerTo(FWViewableNode* node) override;
    void Viewable_Draw(FWDrawContext& context, const FWPoint& where) override;
    int32_t Viewable_Width(FWDrawContext& context) override;

private:
    void applyTextStyle(FWDrawContext& context) const;

    FWDynamicString mName;
    long mID;
    const ImageBuffer* mIcon;
    bool mSelected = false;
    bool mVisible = true;
    bool mLocked = false;
    FWList<ListBoxItem>* mList;
    uint8_t mTextStyle = 0;
    int32_t mIndent = 2;
};

class ListBox;

// A delegate that lets a list box take drops and option-clicks; a list box without one takes
// neither.
class ListHandler {
public:
    virtual ~ListHandler() = default;
    // Whether the list would take this drag's data.
    virtual bool AcceptsDrag(ListBox& list, const FWDragData& data) = 0;
    // Takes the dropped data; true when it was taken.
    virtual bool AcceptDrop(ListBox& list, const FWDragData& data) = 0;
    // Takes a click made with the option key down; true when it was handled.
    virtual bool OptionClick(ListBox& list, FWEvent& event) = 0;
};

class ListBox : public FWOutlineView, public FWDragReceiver {
public:
    ListBox() = default;
    ~ListBox() override;

    void Init(FWWindow* window, const FWRect& rect);
    // Shows or hides the visibility column; no relayout.
    void ShowItemVisibility(bool show);

    ListBoxItem* AddLast(const FWString& name, long id, const ImageBuffer* icon);
    // At the head for 0, after the item at pos - 1 inside the list, at the tail from the size on.
    ListBoxItem* InsertItem(long pos, long id, const FWString& name, const ImageBuffer* icon);
    void Validate(ListBoxItem* item);
    // The item at that display position, null past the end.
    ListBoxItem* Item(long index);
    void RemoveItem(long index);
    void KillAllItems();
    ListBoxItem* SingleSelectedItem();
    // The display position of the first selected item, -1 for none.
    long FirstSelectedItem();
    bool OneItemSelected();
    bool AnyItemSelected();
    ListBoxItem* First();
    ListBoxItem* Next();
    long ListSize() const { return mItems.Size(); }

    const ImageBuffer* GetSIcon(long index) const override;
    void SetSIcon(long index, const ImageBuffer* icon) override;

    // The handler (null: none) is not owned. With one, the list box is a drop target while it and
    // its parents are visible.
    void SetListHandler(ListHandler* handler);
    ListHandler* GetListHandler() const { return mHandler; }

    bool MouseDownEvent(FWEvent& event) override;
    void SetRect(const FWRect& rect) override;
    void SetVisibility(bool visible) override;
    void ParentVisibilityChanged() override;

    // Drops: the highlight shows while a drag the handler accepts is over the list.
    void Enter(const FWPoint& point, const FWDragData& data) override;
    void Exit(const FWPoint& point, const FWDragData& data) override;
    void Accept(const FWDragData& data) override;

    FWView* Duplicate(FWPoint offset) override;
    const char* FactoryGetClassName() const override { return "ListBox"; }
    void OldRead(SerialStream& stream) override;
    void OldWrite(SerialStream& stream) override;
    const FWString& Viewable_Name() const override;
    const ImageBuffer* Viewable_Icon() override;

private:
    bool showsDrops(const FWDragData& data);
    void drawDropHighlight();
    // Registers the drop target while the list is shown, else unregisters it (only with a
    // handler); register only: a change of place never removes it.
    void updateDropTarget(bool registerOnly);

    FWList<ListBoxItem> mItems;
    ListHandler* mHandler = nullptr;
    ListBoxItem* mCursor = nullptr;
    const ImageBuffer* mIcons[8] = {};
};
