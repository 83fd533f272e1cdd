// The base of every view and control of a framework window: a rectangle in its parent's
// coordinates with visibility, ghosting, a numeric and a string id, a place in the window's tab
// order and links into the window's view tree. It is an event handler (unhandled events go on to
// its window), a node of the outline view, and a record of the stored view-tree format.
#pragma once

#include "DependableTreeNode.h"
#include "FWDynamicString.h"
#include "FWEventHandler.h"
#include "FWRect.h"
#include "FWViewableNode.h"
#include "ListNode.h"
#include "SerialStream.h"

#include <cstdint>
#include <cstdio>

class FWDrawContext;
class FWPopupInfo;
class FWViewMngr;
class FWWindow;
template <class T>
class FWList;

class FWView : public FWEventHandler, public DependableTreeNode<FWView>, public FWViewableNode {
public:
    // The handle by which the layout editor drags a view.
    enum EditType : int32_t {
        kEditNone = 0,
        kEditTopLeft = 1,
        kEditTopRight = 2,
        kEditBottomLeft = 3,
        kEditBottomRight = 4,
        kEditLeft = 5,
        kEditRight = 6,
        kEditTop = 7,
        kEditBottom = 8,
        kEditMove = 9,
    };

    // An optional object told when the view's value changes; the view owns it.
    class ValueObject {
    public:
        virtual ~ValueObject() = default;
        virtual void ValueChanged(FWView* view) = 0;
    };

    // A point and a text stored together.
    struct Label {
        FWPoint mPoint;
        FWDynamicString mText;
        void OldWrite(SerialStream& stream) const;
        void OldRead(SerialStream& stream);
    };

    FWView();
    // Drops the key focus and leaves the tab list; frees the tip and the value object. Neither
    // the children nor the tree links are touched: a view is unlinked before it is deleted.
    ~FWView() override;

    // Events: passed to the view's event handler, if any.
    bool MouseDownEvent(FWEvent& event) override;
    bool MouseUpEvent(FWEvent& event) override;
    bool KeyDownEvent(FWEvent& event) override;
    bool AutoKeyEvent(FWEvent& event) override;
    bool KeyUpEvent(FWEvent& event) override;
    // Reports a contextual event to the interface target; always handled.
    bool ContextualMouseDownEvent(FWEvent& event) override;
    // The window, with the event's point converted into its coordinates.
    FWEventHandler* GetParent(FWEvent& event) override;

    // Binding to a window: takes the tab position and the next id from its view manager (not
    // while that window's tree is being read), and the window as interface target.
    virtual void Init(FWWindow* window);
    virtual FWView* Duplicate(FWPoint) { return nullptr; }

    // Geometry
    virtual FWRect GetRect() const { return mRect; }
    virtual void SetRect(const FWRect& rect) { mRect = rect; }
    // The least width (h) and height (v) the layout editor gives the view, by its handles or its
    // property dialog: 2 x 2, the least a click can land inside.
    virtual FWPoint LeastSize() const { return FWPoint(2, 2); }

    // Visibility and state
    virtual void SetVisibility(bool visible);
    virtual bool Visible() const { return mVisible; }
    // Passed down through the visible branches when an ancestor's visibility changes.
    virtual void ParentVisibilityChanged();
    virtual void SetGhosted(bool ghosted) { mGhosted = ghosted; }
    virtual void DefaultState() {}
    // Strictly inside the rectangle, its corners put in order (a rectangle stored inverted is
    // still found); the top-left corner itself never is.
    virtual bool PntInRect(const FWPoint* point);
    virtual void SetEventHandler(FWEventHandler* handler) { mEventHandler = handler; }
    virtual FWEventHandler* GetEventHandler() { return mEventHandler; }

    // Notifications from the window and the dispatcher
    virtual bool ActivateEvent(bool) { return false; }
    virtual bool MoveEvent() { return false; }
    virtual bool ExposureEvent() { return false; }
    virtual bool ResizeEvent() { return false; }
    virtual bool MouseMovedIn() { return false; }
    virtual bool SetCursor() { return false; }
    virtual bool MouseMovedOut();
    virtual bool MousePaused();
    virtual bool MouseResumed() { return false; }

    // Edit commands
    virtual bool CutEvent(FWEvent&) { return false; }
    virtual bool CopyEvent(FWEvent&) { return false; }
    virtual bool PasteEvent(FWEvent&) { return false; }
    virtual bool ClearEvent(FWEvent&) { return false; }
    virtual bool SelectAllEvent(FWEvent&) { return false; }
    virtual bool SelectNoneEvent(FWEvent&) { return false; }
    virtual bool CanCut() { return false; }
    virtual bool CanCopy() { return false; }
    virtual bool CanPaste() { return false; }
    virtual bool CanClear() { return false; }
    virtual bool CanSelectAll() { return false; }
    virtual bool CanSelectNone() { return false; }

    virtual void SimulateMouseClick() {}
    // Source text that rebuilds the view (index, parent index).
    virtual void TextFileSerialize(int32_t, int32_t, FILE*) {}
    virtual void WindowWasResized() {}
    virtual void Draw(FWDrawContext&) const {}

    // Persistence: the class name the view's factory is registered under, and the record.
    virtual const char* FactoryGetClassName() const { return "FWView"; }
    virtual void OldRead(SerialStream& stream);
    virtual void OldResolveReferences(SerialStream& stream);
    virtual void OldWrite(SerialStream& stream);
    // A view with dependants is known to its manager, which breaks the dependency on a view
    // that is deleted.
    bool EstablishDependancy(Dependable* receiver) override;

    // The layout editor: which drag handle applies, and the property dialog.
    virtual EditType FilterEditType(EditType type) { return type; }
    // The handles of a view resized only in width: corners become their side, and the top and
    // bottom handles move the view.
    static EditType WidthOnlyEditType(EditType type);
    virtual bool DoInterface() { return false; }

    // The outline view
    const FWString& Viewable_Name() const override;
    const ImageBuffer* Viewable_Icon() override { return nullptr; }
    FWViewableNode* Viewable_NextPeer() override { return NextPeer(); }
    FWViewableNode* Viewable_PrevPeer() override { return PrevPeer(); }
    FWViewableNode* Viewable_FirstChild() override { return FirstChild(); }
    FWViewableNode* Viewable_Parent() override { return Parent(); }

    // The tree's behaviour
    virtual FWRect ClipRect() const { return mRect; }
    virtual void ValidateState() {}
    virtual bool AllowsChildren() const { return false; }
    virtual bool MultiBranching() const { return false; }
    virtual bool HandlesEvents() const { return true; }
    virtual bool HandlesAllEvents() const { return false; }
    virtual bool SkipChildren() const { return false; }

    // Coordinates: every descendant's rectangle is moved by the sum of its ancestors' offsets.
    FWPoint GetOffset() const { return mOffset; }
    void SetOffset(FWPoint offset) { mOffset = offset; }
    FWPoint GetParentOffset() const;
    // The rectangle in window-content coordinates, its corners in order: a view stored with an
    // inverted rectangle is selected, and shows its handles, where it spans.
    FWRect GlobalRect();
    void WindowToView(FWPoint& point);
    void ViewToWindow(FWRect& rect);
    // The window invalidates GetRect() as it stands.
    void Inval() const;
    // The window is visible and every ancestor's own visible flag is set.
    bool AllParentsVisible() const;
    FWRect GetParentClipRect() const;

    // Drawing in view coordinates: the window's title and frame widths shifted by the parent
    // offset, always used as a pair.
    void DrawView(FWDrawContext& context) const;
    void InitDrawContext(FWDrawContext& context);
    void FinishDrawContext(FWDrawContext& context);

    // Reports to the interface target; false without one.
    bool SendInterfaceAction(FWView* view, const ActionType& action);
    bool SendInterfaceEvent(FWView* view);
    bool SendInterfaceContextualEvent(FWView* view);
    bool SendInterfaceEventWithEvent(FWView* view, FWEvent* event);

    // Default buttons: at most one view of a tree has each flag.
    void MakeDefaultAccept();
    void MakeDefaultCancel();
    bool DefaultAccept() const { return mDefaultAccept; }
    bool DefaultCancel() const { return mDefaultCancel; }
    void SetDefaultAccept(bool on) { mDefaultAccept = on; }
    void SetDefaultCancel(bool on) { mDefaultCancel = on; }

    // Key focus and tab order
    void EnableKeyFocus();
    bool CanHaveFocus() const { return mKeyFocus; }
    int32_t GetTabPos() const { return mTabPos; }
    void SetTabPos(int32_t position) { mTabPos = position; }
    ListNode<FWView>* TabListNode() { return &mTabListNode; }
    // Orders a tab list by tab position; equal positions keep their order.
    static void SortTabList(FWList<FWView>* list);

    // Identity
    int32_t ID() const { return mID; }
    void SetID(int32_t id) { mID = id; }
    const FWDynamicString& GetStringID() const { return mStringID; }
    void SetStringID(const FWString& id) { mStringID = id; }
    bool UseAutoValue() const { return mAutoValue.GetCurrLength() != 0; }
    const FWDynamicString& AutoValueString() const { return mAutoValue; }
    void SetAutoValueString(const FWString& name) { mAutoValue = name; }

    // State read by the view manager and the layout editor
    bool IsGhosted() const { return mGhosted; }
    bool IsSelected() const { return mSelected; }
    void SetSelected(bool selected) { mSelected = selected; }
    bool GetDragMark() const { return mDragMark; }
    void SetDragMark(bool mark) { mDragMark = mark; }
    FWWindow* GetWindow() const { return mWindow; }
    void SetWindow(FWWindow* window) { mWindow = window; }
    void SendValue();

    // Serial numbering of one stored pass.
    int32_t GetSerialID() const { return mSerialID; }
    void SetSerialID(int32_t id) { mSerialID = id; }
    // The passes that gave the serial ID and that wrote or read the dependency part; 0 for none
    // (no pass has number 0). Whole pass numbers, so a wrapped counter is never taken as current.
    uint32_t GetIDValidation() const { return mIDValidation; }
    void SetIDValidation(uint32_t stamp) { mIDValidation = stamp; }
    uint32_t GetSerialValidation() const { return mSerialValidation; }
    void SetSerialValidation(uint32_t stamp) { mSerialValidation = stamp; }

    // Stores the new value and answers the old one.
    static bool DisableBackgroundUpdate(bool disable);
    static bool BackgroundUpdateDisabled() { return sBackgroundUpdateDisabled; }

protected:
    FWViewMngr* GetViewMngr() const;
    // The visible flag as the record stores it.
    virtual bool StoredVisible() const { return mVisible; }

private:
    friend class FWViewMngr; // clears the stored links of a tree it fails to load

    static constexpr const char* kSourcePath = "FW/App/Source/FWView";

    void writeDependencyPart(SerialStream& stream);
    void readDependencyPart(SerialStream& stream);

    bool mVisible = true;
    bool mGhosted = false;
    bool mReserved1 = false;
    FWEventHandler* mEventHandler = nullptr;
    FWPoint mOffset;
    FWWindow* mWindow = nullptr;
    FWRect mRect;
    bool mDefaultAccept = false;
    bool mDefaultCancel = false;
    bool mReserved2 = false;
    bool mSelected = false;
    FWDynamicString mStringID;
    FWDynamicString mAutoValue;
    int32_t mID = 0;
    FWPopupInfo* mTip = nullptr;
    ValueObject* mValueObject = nullptr;
    bool mKeyFocus = false;
    int32_t mTabPos = 0;
    ListNode<FWView> mTabListNode;
    uint32_t mIDValidation = 0;
    uint32_t mSerialValidation = 0;
    int32_t mSerialID = -1;
    bool mDragMark = false;

    static bool sBackgroundUpdateDisabled;
};
