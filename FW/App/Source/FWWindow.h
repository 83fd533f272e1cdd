// A framework window: a borderless platform window whose frame, title bar and title icons the
// framework draws itself, holding the view manager of its view tree. Its content area starts at
// (FrameWidth, TitleWidth) inside the window. The platform half (CMacWindowStuff) creates,
// shows, stacks, moves and sizes the platform window.
#pragma once

#include "DepReference.h"
#include "Dependable.h"
#include "FWDocument.h"
#include "FWArgb32.h"
#include "FWEventHandler.h"
#include "FWFont.h"
#include "FWIdleProcess.h"
#include "FWList.h"
#include "FWRect.h"
#include "FWStr.h"
#include "FWViewMngr.h"
#include "ListNode.h"

#include <cstdint>
#include <optional>
#include <set>

class CMacWindowStuff;
class DiskImage;
class EditText;
class FWDrawContext;
class FWView;
class ImageBuffer;
struct HostWindow;

class FWWindow : public Dependable, public FWEventHandler, public FWIdleProcess {
public:
    // 0, 2: full frame with large icons; 1: no icons, centred title (modal); 3: mini icons;
    // 4: nothing drawn, a pop-up; 5: no frame drawn; 6 (constructor only): 3 without icons.
    using WindowStyle = int32_t;

    explicit FWWindow(WindowStyle style = 0);
    ~FWWindow() override;

    // Creation: the platform window at the rectangle (global), then an empty view tree, or the
    // tree of the 'WINT' resource of that id, whatever its sign. Results are the view manager's.
    virtual bool Initialize(FWDocument* document, const FWRect& rect);
    virtual bool Initialize(FWDocument* document, int32_t resID);
    virtual bool CreateWindow(FWDocument* document, const FWRect& rect, std::optional<int32_t> resID);

    // The view tree
    virtual FWViewMngr& ViewMngr() { return mViewMngr; }
    virtual const FWViewMngr& ViewMngr() const { return mViewMngr; }

    // The document and the window lists
    FWDocument* GetDocument() const { return mDocument; }
    // Leaves the old document's window list, then joins the new one's.
    virtual void SetDocument(FWDocument* document);
    // The object that manages a group of windows, told when this window is deleted; none unless
    // a derived window sets one.
    Dependable* GetMultiWindow() const { return mMultiWindow; }
    // Told that the document changed; true when the window did something about it.
    virtual bool DocumentUpdateEvent() { return false; }
    void AddToAppList(FWList<FWWindow>* list);
    void RemoveFromAppList(FWList<FWWindow>* list);
    void AddToDocList(FWList<FWWindow>* list);
    void RemoveFromDocList(FWList<FWWindow>* list);
    static bool IsValidWindow(const FWWindow* window) { return sAllWindows.count(window) != 0; }

    // Geometry --------------------------------------------------------------------------------
    // The whole window (frame and title included) in its own coordinates; the content rectangle
    // is (0, 0, width - 2 x frame, height - title - frame).
    FWRect Size() const;
    virtual void GetContentRect(FWRect* rect);
    // The title bar's height and the frame's width (low 16 bits), or 0 in window space.
    int16_t TitleWidth() const { return mWindowSpace ? 0 : int16_t(mTitleWidth); }
    int16_t FrameWidth() const { return mWindowSpace ? 0 : int16_t(mFrameWidth); }
    virtual void SetTitleWidth(int32_t width) { mTitleWidth = width; }
    virtual void SetFrameWidth(int32_t width) { mFrameWidth = width; }
    void WindowSpace() { mWindowSpace = true; }
    void ContentSpace() { mWindowSpace = false; }
    // The platform window's global top-left.
    void GetLocation(int32_t* h, int32_t* v) const;
    virtual void SetLocation(int32_t h, int32_t v);
    // Resizes the whole window; the root view follows the new content rectangle.
    virtual void SetSize(int32_t width, int32_t height);
    // SetSize, then the new frame becomes the state that zooming returns to.
    void SetUserSize(int32_t width, int32_t height);
    void CaptureUserStateRect();
    FWRect GetUserState() const { return mUserState; }
    // The frame rectangle passed through the application's view rectangle: by default the
    // usable bounds of the monitor holding most of the window.
    void GetStandardStateRect(FWRect& rect);
    // The frame rectangle in global coordinates.
    FWRect GlobalFrame();
    // Global and content coordinates.
    void GlobalToWindow(FWPoint* where) const;
    void WindowToGlobal(FWPoint* where) const;
    void GetMouseLocal(FWPoint* where) const;

    // Visibility, stacking and update ---------------------------------------------------------
    bool Visible() const { return mVisible; }
    virtual void Show();
    virtual void Hide();
    void BringToFront();
    // The first visible framework window below this one, or null.
    FWWindow* NextWindowUnder();
    // Marks a rectangle of the content for redrawing; null marks the whole window.
    void Inval(const FWRect* rect);
    void InvalResizeHandle();
    void EraseOnUpdate() { mEraseOnUpdate = true; }

    // Look ------------------------------------------------------------------------------------
    WindowStyle GetStyle() const { return mStyle; }
    virtual void SetStyle(WindowStyle style) { mStyle = style; }
    const FWFont& Font() const { return mFont; }
    const FWFont& TitleFont() const { return mTitleFont; }
    virtual void SetFont(const FWFont* font);
    virtual void SetTitleFont(const FWFont* font);
    // The title; a forced name stays until the next forced one.
    const FWString& Name() const { return mName; }
    virtual void SetName(const FWString* name, bool force);
    virtual void SetTitleBarColor(FWArgb32 color);
    virtual void SetTitleBarColor(FWArgb32 color, FWArgb32 hilite);
    FWArgb32 TitleBarColor() const { return mTitleBarColor; }
    FWArgb32 TitleBarHiliteColor() const { return mTitleBarHiliteColor; }
    virtual void SetContentColor(FWArgb32 color);
    virtual void SetNameColor(FWArgb32 color) { mNameColor = color; }
    virtual void SetNameEmboss(bool emboss) { mNameEmboss = emboss; }
    virtual void SetNameEmbossColor(FWArgb32 color) { mNameEmbossColor = color; }
    void SetInsetContent(bool inset) { mInsetContent = inset; }
    void SetResizeHandleSize(int32_t width, int32_t height);
    bool IsHighlighted() const { return mHighlighted; }
    void Hilite(bool on);

    // Behaviour flags -------------------------------------------------------------------------
    bool Draggable() const { return mDraggable; }
    bool Resizeable() const { return mResizing; }
    bool MenusAllowed() const { return mMenusAllowed; }
    bool ContentActivation() const { return mContentActivation && sModalCount == 0; }
    virtual void SetDraging(bool on) { mDraggable = on; }
    virtual void SetZooming(bool on);
    virtual void SetClosing(bool on);
    virtual void SetResizing(bool on, FWRect* limit, unsigned int edges);
    virtual void SetResizeLimit(const FWRect* limit);
    virtual void SetContentActivation(bool on) { mContentActivation = on; }
    FWRect ResizeLimit() const { return mResizeLimit; }
    uint32_t ResizeEdges() const { return mResizeEdges; }

    // Title icons (codes: -1 close, -2 zoom, -3 pop-up) ----------------------------------------
    virtual void SetIconVisiblity(int32_t code, bool visible);
    bool IconVisible(int32_t code) const;
    int32_t IconCount() const { return mIconCount; }
    // Adds an entry (at most 8); its images are not owned.
    void AddTitleIcon(const ImageBuffer* normal, const ImageBuffer* pressed, int32_t code, int16_t extra, bool right);
    // Window coordinates (window space); empty for no such entry or one without an image.
    FWRect GetIconRect(int32_t index);
    // Width of the title space the icons leave; rect (may be null) gets the space.
    int32_t CalcAvailableTitleSpace(FWRect* rect);
    int32_t GetTitleBaseline(FWDrawContext& context);
    virtual int32_t WhichIcon(FWPoint* global);
    virtual bool TrackIcon(int32_t code, FWPoint* where);

    // Drawing ---------------------------------------------------------------------------------
    virtual void DrawWindowFrame(FWDrawContext& context);
    virtual void DrawCustomView(FWDrawContext&, const FWView*) {}
    virtual void DrawContentPreview(FWRect*, FWDrawContext&) {}

    // Events ----------------------------------------------------------------------------------
    virtual bool TitleBarEvent(FWEvent&) { return false; }
    virtual bool ActivateEvent(bool active);
    virtual bool MoveEvent() { return false; }
    virtual bool ExposureEvent() { return false; }
    virtual bool ResizeEvent() { return false; }
    virtual bool ZoomEvent();
    virtual bool CloseEvent() { return true; }
    // The mouse wheel turned over the window at where (window coordinates): notches positive
    // away from the user. Windows that scroll take it.
    virtual bool WheelEvent(FWPoint, int16_t) { return false; }
    virtual bool MouseMovedIn();
    virtual bool SetCursor();
    virtual bool MouseMovedOut();
    virtual bool MousePaused() { return false; }
    virtual bool MouseResumed() { return false; }
    virtual bool UpdateEvent(FWEvent& event, FWDrawContext& context);
    virtual bool CutEvent(FWEvent& event) { return mViewMngr.CutEvent(event); }
    virtual bool CopyEvent(FWEvent& event) { return mViewMngr.CopyEvent(event); }
    virtual bool PasteEvent(FWEvent& event) { return mViewMngr.PasteEvent(event); }
    virtual bool ClearEvent(FWEvent& event) { return mViewMngr.ClearEvent(event); }
    virtual bool SelectAllEvent(FWEvent& event) { return mViewMngr.SelectAllEvent(event); }
    virtual bool SelectNoneEvent(FWEvent& event) { return mViewMngr.SelectNoneEvent(event); }
    virtual bool InterfaceTextEvent(EditText* edit);
    virtual bool CanCut() { return mViewMngr.CanCut(); }
    virtual bool CanCopy() { return mViewMngr.CanCopy(); }
    virtual bool CanPaste() { return mViewMngr.CanPaste(); }
    virtual bool CanClear() { return mViewMngr.CanClear(); }
    virtual bool CanSelectAll() { return mViewMngr.CanSelectAll(); }
    virtual bool CanSelectNone() { return mViewMngr.CanSelectNone(); }
    virtual bool AcceptsKeyEvents() const { return true; }
    // A derived window may consume a key before the views see it.
    virtual bool FilterKeyEvent(const FWEvent&) { return false; }
    // Told whenever the key focus moves.
    virtual void NewKeyFocus(FWView*) {}
    // Told as a view of the window's tree is deleted on its own (a dropped page, a deleted
    // selection), once per view, descendants first; not when the whole tree goes.
    virtual void ViewDeleted(FWView*) {}
    // A derived window may change a proposed size (width in h, height in v).
    virtual void QueryResize(FWPoint&, bool, bool) {}
    void WindowSelect();

    // Text events are delivered after a delay, so that typing is reported once it pauses.
    void PostTextEvent(EditText* edit);
    // Drops a pending text event of a field that is being deleted, without delivering it.
    void ForgetTextEvent(const EditText* edit);
    void UseIdleTime() override;
    // The pending text event's delivery.
    uint32_t TicksToIdleWork() const override;
    static uint32_t mTextEventDelay;

    // Mouse tracking --------------------------------------------------------------------------
    // While the button is down, waits for the local mouse to move more than threshold from
    // start; stores it in out. The result is whether the button is still down.
    bool MouseDrag(FWPoint start, FWPoint* out, bool once, int threshold);
    // True when the local mouse stays at the point for that many ticks.
    bool MousePause(FWPoint where, int32_t ticks);
    // Moving and resizing by the user; the outline of the new frame is shown meanwhile.
    virtual bool DragWindow(FWEvent& event);
    virtual bool DragResizeWindow(FWEvent& event);
    // Tracks a global outline from the press point; true when it moved (outline then holds the
    // new place).
    bool DragWindowOutline(FWRect& outline, FWPoint press);
    virtual void NewDragPosition(FWRect& rect, const FWPoint& mouse) const;
    virtual void NewDragSize(FWRect& rect, const FWPoint& mouse) const;
    // Keeps enough of the title strip on some monitor; empties the rectangle otherwise.
    static void ValidateStandardWindowBounds(FWRect& rect, const FWPoint& mouse, bool move);
    static bool RectsClose(const FWRect& a, const FWRect& b);

    // The event chain: the view under the mouse or with the key focus, else the window.
    FWEventHandler* GetDynamicHandler(FWEvent& event) override;
    FWEventHandler* GetParent(FWEvent& event) override;

    bool ReceiveMessage(Dependable* sender, Message m) override;

    // Platform half -----------------------------------------------------------------------------
    void InitializeWindow();
    void FinishWindow();
    void CreatePlatformWindow(FWRect* rect);
    void SetPlatformWindow();
    HostWindow* GetPDW() const;
    CMacWindowStuff* GetPlatformData() const { return mPlatform; }
    static FWWindow* ReturnFWWindow(void* platformWindow);
    static void FinishExternalWindow() { mExternWindow = nullptr; }
    static HostWindow* mExternWindow;

    // The number of modal dialogs shown, and the innermost one.
    static int32_t ModalCount() { return sModalCount; }
    static FWWindow* ModalWindow() { return sModalWindow; }
    static int32_t sModalCount;
    static FWWindow* sModalWindow;

protected:
    Dependable* mMultiWindow = nullptr;

private:
    struct TitleIcon {
        const ImageBuffer* normal = nullptr;
        const ImageBuffer* pressed = nullptr;
        int16_t extra = 0;
        bool visible = true;
        bool right = false;
        int32_t code = 0;
    };
    static constexpr int32_t kMaxIcons = 8;

    void InitializeIcons();
    void DrawIcons(FWDrawContext& context);
    void drawIcon(FWDrawContext& context, int32_t index, bool pressed);
    void drawTitle(FWDrawContext& context, const FWRect& titleBar);
    void drawResizeHandle(FWDrawContext& context, const FWRect& box);
    FWRect resizeHandleRect();
    void deliverTextEvent();
    void leaveOwnerLists();
    // Which edges a press at a global point drags (bits: 1 left, 2 top, 4 right, 8 bottom), as
    // the resize edges allow; 0 for none.
    uint32_t edgesToDrag(FWPoint press);

    // Forgets the document, remembering it for the destructor.
    void forgetDocument(FWDocument* document);

    DepReference<FWWindow> mParentWindow;
    bool mWindowSpace = false;
    DepReference<FWDocument> mDocument{this, true};
    FWDocument* mLastDocument = nullptr;
    ListNode<FWWindow> mAppListNode;
    ListNode<FWWindow> mDocListNode;
    FWViewMngr mViewMngr;
    FWRect mUserState;
    EditText* mPendingTextEvent = nullptr;
    uint32_t mPendingSince = 0;
    bool mVisible = false;
    bool mDraggable = true;
    bool mClosing = true;
    bool mZooming = false;
    bool mResizing = false;
    bool mContentActivation = true;
    bool mNameForced = false;
    bool mMenusAllowed = true;
    uint32_t mResizeEdges = 255;
    mutable FWRect mSize; // kept up to date from the platform window
    FWRect mResizeLimit;
    WindowStyle mStyle;
    FWFont mFont;
    FWFont mTitleFont;
    int32_t mTitleWidth = 25;
    int32_t mFrameWidth = 3;
    FWArgb32 mTitleBarColor{255, 178, 163, 224};
    FWArgb32 mTitleBarHiliteColor;
    FWArgb32 mContentColor;
    FWArgb32 mNameColor{255, 51, 51, 51};
    FWArgb32 mNameEmbossColor{255, 0, 0, 0};
    bool mNameEmboss = false;
    FWStr<255> mName;
    bool mHighlighted = false;
    bool mInsetContent = false;
    bool mEraseOnUpdate = false;
    DiskImage* mResizeHandleImage = nullptr;
    int32_t mResizeHandleWidth = 0;
    int32_t mResizeHandleHeight = 0;
    int32_t mIconCount = 0;
    TitleIcon mIcons[kMaxIcons];
    CMacWindowStuff* mPlatform = nullptr;
    // Where the window is while it has no platform window.
    int32_t mLocationH = 0;
    int32_t mLocationV = 0;

    static std::set<const FWWindow*> sAllWindows;
};
