// The view tree of one window: its hidden root, the view ids it hands out, the tab list and the
// key focus, hit testing, drawing, and the 'WINT' resource the whole tree is loaded from and
// saved to.
//
// 'WINT' layout (big-endian, unaligned): format byte 1; reference-table size (one more than the
// highest serial ID); stream version 2; the ID counter; the view count N; then N entries, the
// root first and the tree in preorder. An entry is the class name with a 0 byte, the body length
// L (4 bytes) and the body of L bytes, the view's stored record.
#pragma once

#include "DepReference.h"
#include "Dependable.h"
#include "FWList.h"
#include "FWPoint.h"
#include "FWRect.h"
#include "HostTypes.h"

#include <cstdint>
#include <vector>

class DiskImage;
class FWDrawContext;
class FWView;
class FWWindow;
#include "GlobalSerialStream.h"
struct FWEvent;

class FWViewMngr : public Dependable {
public:
    explicit FWViewMngr(FWWindow* window);
    // Deletes the tree, root last.
    ~FWViewMngr() override;

    // Loading and saving -------------------------------------------------------------------
    // An empty tree: a root ParentWindow over the window's content rectangle; ids from 1000.
    bool Initialize(const FWRect& ignored);
    // Loads the 'WINT' resource of that id from the current resource files. False when there is
    // no such resource (nothing else changes) or the layout is refused (the manager is then left
    // with no tree); a read error's exception passes on, also leaving no tree.
    bool Initialize(int32_t resID);
    // When set, Initialize(int32_t) looks for the layout in the current resource file alone,
    // never further down the chain (where the program's own layouts lie).
    void SetCurrentFileOnly(bool only) { mCurrentFileOnly = only; }
    // Loads a layout already in memory, as Initialize(int32_t) does with the resource's bytes.
    bool InitializeFromData(const char* bytes, uint32_t size);
    // A new handle holding the whole tree as a 'WINT' resource (the caller owns it). Never
    // null: a stream that cannot grow or a handle that cannot be had throws
    // FWWriteFailedException, and what a view's OldWrite throws passes on.
    Handle SerializeViewTree();
    // Deletes every view below the root; the root stays.
    void ThrowAwayViews();
    // Moves every view, root included, by the manager's offset.
    void OffsetAllViews();
    // The window whose tree is being read, or null.
    static FWWindow* GetUnserializationWindow() { return sUnserializationWindow; }

    // The tree and its ids ---------------------------------------------------------------------
    FWView* GetViewTree() const { return mRoot; }
    FWView* GetKeyFocus() const { return mKeyFocus; }
    FWList<FWView>& GetTabList() { return mTabList; }
    int32_t GetResID() const { return mResID; }
    void SetResID(int32_t id) { mResID = id; }
    int32_t GetCurrID() const { return mIDCounter; }
    int32_t GetNextID() { return ++mIDCounter; }
    void SetCounterID(int32_t value) { mIDCounter = value; }
    int32_t GetSelectedTotal() const { return mSelectedTotal; }
    void SetSelectedTotal(int32_t total) { mSelectedTotal = total; }
    // A view of the window is being deleted: the focus, the defaults and the selected count
    // move off it, no view keeps it as a dependant, and the window is told.
    void ViewDeleted(FWView* view);
    // The view has dependants (only a stored layout gives views any): they are told apart from
    // the rest so that deleting one of them leaves no view naming it.
    void NoteDependants(FWView* view);
    // While false the window routes no mouse or key event to its views.
    void SetInterfaceEvent(bool allow) { mInterfaceEvents = allow; }
    bool AllowInterfaceEvents() const { return mInterfaceEvents; }
    FWPoint GetOffset() const { return mOffset; }
    // The first view in preorder with that id, or null.
    FWView* GetView(int32_t id);
    // Ghosts or unghosts a view (or, for a null view, the view with that id) and invalidates it;
    // an id that names no view does nothing.
    void GhostInterfaceItem(int32_t id, bool ghost, FWView* view);
    void WindowBecameVisible();
    void WindowBecomingInvisible();

    // Hit testing and event routing --------------------------------------------------------------
    // The deepest event-handling view strictly holding the point (window-content coordinates);
    // ghosted views only when asked for. Never the root.
    FWView* GetView(const FWPoint* point, bool includeGhosted);
    // The view that is to handle the event, or null; moves the key focus on clicks and Tab.
    FWView* GetEventHandler(FWEvent& event);

    // Key focus and default buttons
    void SetKeyFocus(FWView* view);
    // Drops the focus when the focus view can no longer be seen.
    void ValidateKeyFocus();
    FWView* DefaultAccept();
    FWView* DefaultCancel();

    // Drawing and the layout editor's selection
    void Draw(FWDrawContext& context);
    void DrawTree(FWDrawContext& context, FWView* tree);
    // Draws a subtree in the ghosted look without changing the views' own state.
    void GhostTree(FWDrawContext& context, FWView* tree);
    // Draws (on) or erases the four corner handles of a view.
    void HighlightView(FWDrawContext& context, FWView* view, bool on);
    void SelectView(FWDrawContext& context, FWView* view);
    void UnSelectView(FWDrawContext& context, FWView* view);
    void UnSelectAllViews(FWDrawContext& context);

    // Placing a new view: the deepest visible container holding its top-left corner (of its
    // rectangle with the corners in order); the views of that container it covers become its
    // children; then it joins the tree.
    FWView* FindAParent(FWView* view);
    void InheritBranches(FWView* view, FWView* parent);
    void FallIntoTree(FWView* view);

    // Edit commands, passed to the focus view
    bool CanCut();
    bool CanCopy();
    bool CanPaste();
    bool CanClear();
    bool CanSelectAll();
    bool CanSelectNone();
    bool CutEvent(FWEvent& event);
    bool CopyEvent(FWEvent& event);
    bool PasteEvent(FWEvent& event);
    bool ClearEvent(FWEvent& event);
    bool SelectAllEvent(FWEvent& event);
    bool SelectNoneEvent(FWEvent& event);

    bool ReceiveMessage(Dependable* sender, Message m) override;

    // Shared images of the window frames and the basic controls, held while any manager lives.
    static bool InitInterfaceIcons();
    static void DisposeInterfaceIcons();
    static DiskImage* closeIcon[2];
    static DiskImage* popupIcon[2];
    static DiskImage* zoomIcon[2];
    static DiskImage* closeIconMini[2];
    static DiskImage* popupIconMini[2];
    static DiskImage* zoomIconMini[2];
    static DiskImage* modalIcons[2];
    static DiskImage* checkboxIcons[2];
    static DiskImage* radioIcons[4];
    static DiskImage* defaultPicture;

    static int32_t mCount;
    // When set, a load leaves the window's place and size alone.
    static bool mUnserializing;

    // Deepest nesting of a loaded tree: deeper stored trees are refused, since walks over the
    // tree (deletion, visibility) recurse once per level.
    static constexpr int32_t kMaxTreeDepth = 1000;

private:
    void deleteTree();
    FWWindow* window() const { return mWindow; }
    bool usableForKeys(FWView* view) const;
    // Moves the tab list's cursor to view (bounded by the list's length); false when absent.
    bool moveTabCursorTo(FWView* view);
    FWView* nextUsableTabView(bool backward);

    // Loading
    bool loadTree(const char* bytes, uint32_t size);
    FWView* readEntry(GlobalSerialStream& stream, std::vector<FWView*>& read);
    static bool storedLinksFormATree(const std::vector<FWView*>& read, int32_t tableSize);
    static bool dependantsFormNoCycle(const std::vector<FWView*>& read);
    void discardUnresolvedViews(std::vector<FWView*>& read);
    void placeWindow(bool firstLoad);
    void writeTree(GlobalSerialStream& stream);

    DepReference<FWWindow> mWindow;
    FWView* mDefaultAccept = nullptr;
    FWView* mDefaultCancel = nullptr;
    FWList<FWView> mTabList;
    int32_t mIDCounter = 0;
    FWView* mRoot = nullptr;
    // Set while the whole tree is deleted: its views need no one-by-one forgetting.
    bool mDeletingTree = false;
    // The views of the tree that have dependants; empty for every layout the program makes.
    std::vector<FWView*> mDependedOn;
    bool mCurrentFileOnly = false;
    FWView* mKeyFocus = nullptr;
    int32_t mResID = 0;
    int32_t mSelectedTotal = 0;
    bool mInterfaceEvents = true;
    bool mActivateFocusOnFirstDraw = true;
    FWPoint mOffset;

    static FWWindow* sUnserializationWindow;
};
