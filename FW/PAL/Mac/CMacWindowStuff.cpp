// The platform half of framework windows over the host's windows: creation and disposal, the
// link from a platform window back to its FWWindow, coordinate mapping, showing, stacking,
// moving, sizing, titles and invalidation.
#include "CMacWindowStuff.h"

#include "FWApp.h"
#include "FWAppColor.h"
#include "FWDrawContext.h"
#include "FWDrawContextSavers.h"
#include "FWEventDispatcher.h"
#include "ListTraversal.h"
#include "FWView.h"
#include "FWWindow.h"
#include "HostEvents.h"
#include "HostWindows.h"

#include <algorithm>

int32_t CMacWindowStuff::sOverlayCount = 0;

CMacWindowStuff::CMacWindowStuff()
{
    all().insert(this);
}

CMacWindowStuff::~CMacWindowStuff()
{
    DisposeOverlay();
    all().erase(this);
}

std::set<CMacWindowStuff*>& CMacWindowStuff::all()
{
    static std::set<CMacWindowStuff*> sAll;
    return sAll;
}

void CMacWindowStuff::DisposeOverlay()
{
    if (mOverlay == nullptr)
        return;
    DisposeWindow(mOverlay);
    mOverlay = nullptr;
    --sOverlayCount;
}

void CMacWindowStuff::CloseAllOverlayWindows()
{
    if (sOverlayCount == 0)
        return;
    for (CMacWindowStuff* stuff : all())
        stuff->DisposeOverlay();
}

namespace {

// Platform calls are made with the main device current, as the window ports expect.
struct MainDeviceScope {
    CGrafPtr port = nullptr;
    GDHandle device = nullptr;
    MainDeviceScope()
    {
        GetGWorld(&port, &device);
        SetGDevice(GetMainDevice());
    }
    ~MainDeviceScope() { SetGWorld(IsValidPort(port) ? port : nullptr, device); }
};

// The current port set to a window's port for a conversion, and put back after.
struct WindowPortScope {
    CGrafPtr port = nullptr;
    GDHandle device = nullptr;
    explicit WindowPortScope(HostWindow* window)
    {
        GetGWorld(&port, &device);
        SetPortWindowPort(window);
    }
    ~WindowPortScope() { SetGWorld(IsValidPort(port) ? port : nullptr, device); }
};

Rect toRect(const FWRect& r)
{
    return Rect{r.top, r.left, r.bottom, r.right};
}

// The window of that style furthest back in the stacking order, visible or not.
FWWindow* backWindowOfStyle(FWWindow::WindowStyle style)
{
    FWWindow* found = nullptr;
    for (HostWindow* w = GetWindowList(); w != nullptr; w = GetNextWindow(w)) {
        FWWindow* window = FWWindow::ReturnFWWindow(w);
        if (window != nullptr && window->GetStyle() == style)
            found = window;
    }
    return found;
}

} // namespace

// ---- creation and disposal

void FWWindow::InitializeWindow()
{
    mPlatform = new CMacWindowStuff;
}

void FWWindow::FinishWindow()
{
    if (mPlatform == nullptr)
        return;
    Hide();
    if (mPlatform->mWindow != nullptr && mMultiWindow == nullptr) {
        if (mPlatform->mWindow == mExternWindow)
            mExternWindow = nullptr;
        MainDeviceScope device;
        DisposeWindow(mPlatform->mWindow);
    }
    delete mPlatform;
    mPlatform = nullptr;
}

void FWWindow::CreatePlatformWindow(FWRect* rect)
{
    if (mPlatform == nullptr || rect == nullptr)
        return;
    CMacWindowStuff::CloseAllOverlayWindows();
    MainDeviceScope device;
    const WindowDefSpec definition{kWindowDefProcID, kWindowPlainBoxProc};
    const Rect bounds = toRect(*rect);
    HostWindow* window = nullptr;
    if (CreateCustomWindow(&definition, mStyle == 4 ? kHostPlainWindowClass : kHostDocumentWindowClass, 0, &bounds,
                           &window) != noErr) {
        mPlatform->mWindow = nullptr;
        return;
    }
    mPlatform->mWindow = window;
    mSize.Set(0, 0, rect->Width(), rect->Height());
    SetName(&mName, mNameForced);
    SetContentColor(FWGetAppColor(0));
    SetWRefCon(window, this);
    if (mStyle == 1 || mStyle == 4)
        SetWindowGroup(window, GetWindowGroupOfClass(kHostModalWindowClass));
    else if (mStyle == 3)
        SetWindowGroup(window, GetWindowGroupOfClass(kHostFloatingWindowClass));
    ChangeWindowAttributes(window, 0x400000, 0);
    if (FWView* root = mViewMngr.GetViewTree()) {
        FWRect content;
        GetContentRect(&content);
        root->SetRect(content);
    }
}

void FWWindow::SetPlatformWindow()
{
    if (mPlatform == nullptr || mExternWindow == nullptr)
        return;
    mPlatform->mWindow = mExternWindow;
    SetWRefCon(mExternWindow, this);
}

HostWindow* FWWindow::GetPDW() const
{
    return mPlatform != nullptr ? mPlatform->mWindow : nullptr;
}

FWWindow* FWWindow::ReturnFWWindow(void* platformWindow)
{
    if (platformWindow == nullptr)
        return nullptr;
    for (const FWWindow* window : sAllWindows) {
        CMacWindowStuff* stuff = window->mPlatform;
        if (stuff != nullptr && (stuff->mWindow == platformWindow || stuff->mOverlay == platformWindow))
            return const_cast<FWWindow*>(window);
    }
    return nullptr;
}

// ---- geometry

FWRect FWWindow::Size() const
{
    if (HostWindow* window = GetPDW()) {
        Rect bounds{0, 0, 0, 0};
        GetPortBounds(GetWindowPort(window), &bounds);
        Rect global{0, 0, 0, 0};
        GetWindowBounds(window, kWindowContentRgn, &global);
        // A window of no size still has a one-pixel port; its size is its bounds'.
        mSize.Set(0, 0, int16_t(global.right - global.left), int16_t(global.bottom - global.top));
    }
    return mSize;
}

void FWWindow::GetLocation(int32_t* h, int32_t* v) const
{
    int32_t left = mLocationH;
    int32_t top = mLocationV;
    if (HostWindow* window = GetPDW()) {
        Rect bounds{0, 0, 0, 0};
        if (GetWindowBounds(window, kWindowContentRgn, &bounds) == noErr) {
            left = bounds.left;
            top = bounds.top;
        } else {
            left = top = 0;
        }
    }
    if (h != nullptr)
        *h = left;
    if (v != nullptr)
        *v = top;
}

void FWWindow::SetLocation(int32_t h, int32_t v)
{
    mLocationH = h;
    mLocationV = v;
    HostWindow* window = GetPDW();
    if (window == nullptr)
        return;
    mPlatform->DisposeOverlay();
    MainDeviceScope device;
    MoveWindow(window, int16_t(h), int16_t(v), false);
}

void FWWindow::SetSize(int32_t width, int32_t height)
{
    HostWindow* window = GetPDW();
    if (window != nullptr) {
        // The old outer frame line on the bottom and right would stay behind in a larger window.
        FWDrawContext context(this);
        WindowSpace();
        {
            FWClipSaver clip(context, nullptr);
            FWForeColorSaver fore(context, FWGetAppColor(0));
            const FWRect old = Size();
            context.MoveTo(old.left, old.bottom - 1);
            context.LineTo(old.right - 1, old.bottom - 1);
            context.LineTo(old.right - 1, old.top);
            ContentSpace();
        }
    }
    FWPoint size{int16_t(width), int16_t(height)};
    QueryResize(size, false, false);
    if (window != nullptr) {
        InvalResizeHandle();
        mPlatform->DisposeOverlay();
        MainDeviceScope device;
        SizeWindow(window, size.h, size.v, true);
    }
    mSize.Set(0, 0, size.h, size.v);
    if (FWView* root = mViewMngr.GetViewTree()) {
        FWRect content;
        GetContentRect(&content);
        root->SetRect(content);
    }
    if (window != nullptr) {
        Inval(nullptr);
        InvalResizeHandle();
    }
}

void FWWindow::GlobalToWindow(FWPoint* where) const
{
    if (where == nullptr)
        return;
    HostWindow* window = GetPDW();
    if (window == nullptr) {
        where->h = int16_t(where->h - mLocationH - FrameWidth());
        where->v = int16_t(where->v - mLocationV - TitleWidth());
        return;
    }
    WindowPortScope port(window);
    Point p{where->v, where->h};
    GlobalToLocal(&p);
    where->h = int16_t(p.h - FrameWidth());
    where->v = int16_t(p.v - TitleWidth());
}

void FWWindow::WindowToGlobal(FWPoint* where) const
{
    if (where == nullptr)
        return;
    HostWindow* window = GetPDW();
    if (window == nullptr) {
        where->h = int16_t(where->h + mLocationH + FrameWidth());
        where->v = int16_t(where->v + mLocationV + TitleWidth());
        return;
    }
    WindowPortScope port(window);
    Point p{int16_t(where->v + TitleWidth()), int16_t(where->h + FrameWidth())};
    LocalToGlobal(&p);
    where->h = p.h;
    where->v = p.v;
}

void FWWindow::GetMouseLocal(FWPoint* where) const
{
    if (where == nullptr)
        return;
    HostWindow* window = GetPDW();
    if (window == nullptr) {
        where->h = int16_t(-FrameWidth());
        where->v = int16_t(-TitleWidth());
        return;
    }
    WindowPortScope port(window);
    Point p{0, 0};
    GetMouse(&p);
    where->h = int16_t(p.h - FrameWidth());
    where->v = int16_t(p.v - TitleWidth());
}

// ---- visibility and stacking

void FWWindow::Show()
{
    if (mVisible)
        return;
    // A window without a platform window follows the flag and tells its views only.
    HostWindow* window = GetPDW();
    mVisible = true;
    if (window != nullptr) {
        MainDeviceScope device;
        if (mStyle == 4) {
            ShowHide(window, true);
            ::BringToFront(window);
        } else {
            ShowWindow(window);
        }
        // The first shown window that takes keys becomes the key window.
        FWEventDispatcher* dispatcher = FWEventDispatcher::Instance();
        if (dispatcher->KeyWindow() == nullptr && AcceptsKeyEvents())
            dispatcher->SetKeyWindow(this);
    }
    mViewMngr.WindowBecameVisible();
}

void FWWindow::Hide()
{
    if (!mVisible)
        return;
    mViewMngr.WindowBecomingInvisible();
    mVisible = false;
    HostWindow* window = GetPDW();
    if (window == nullptr)
        return;
    FWEventDispatcher::Instance()->WindowListReset();
    mPlatform->DisposeOverlay();
    MainDeviceScope device;
    if (mStyle == 4)
        ShowHide(window, false);
    else
        HideWindow(window);
}

void FWWindow::BringToFront()
{
    HostWindow* window = GetPDW();
    if (window == nullptr)
        return;
    CMacWindowStuff::CloseAllOverlayWindows();
    Show();
    MainDeviceScope device;
    if (mStyle == 1 || mStyle == 4) {
        SelectWindow(window);
        return;
    }
    FWWindow* behind = backWindowOfStyle(mStyle == 3 ? 1 : 3);
    if (behind == nullptr || behind == this || behind->GetPDW() == nullptr) {
        SelectWindow(window);
        return;
    }
    SendBehind(window, behind->GetPDW());
}

FWWindow* FWWindow::NextWindowUnder()
{
    CMacWindowStuff::CloseAllOverlayWindows();
    HostWindow* window = GetPDW();
    if (window == nullptr)
        return nullptr;
    for (HostWindow* w = GetNextWindow(window); w != nullptr; w = GetNextWindow(w)) {
        if (!IsWindowVisible(w))
            continue;
        if (FWWindow* under = ReturnFWWindow(w))
            return under;
    }
    return nullptr;
}

// ---- title, colour and invalidation

void FWWindow::SetName(const FWString* name, bool force)
{
    if (mNameForced && !force)
        return;
    mNameForced = force;
    if (name != nullptr && name != &mName)
        mName = *name;
    HostWindow* window = GetPDW();
    if (window == nullptr)
        return;
    // Titles are kept as Mac Roman bytes, as the name is.
    Str255 title;
    const uint32_t length = std::min<uint32_t>(mName.GetCurrLength(), 255);
    title[0] = uint8_t(length);
    for (uint32_t i = 0; i < length; ++i)
        title[i + 1] = uint8_t(mName[i]);
    SetWTitle(window, title);
    FWDrawContext context(this);
    DrawWindowFrame(context);
}

void FWWindow::SetContentColor(FWArgb32 color)
{
    mContentColor = color;
    HostWindow* window = GetPDW();
    if (window == nullptr)
        return;
    const RGBColor rgb{uint16_t(color.r * 257), uint16_t(color.g * 257), uint16_t(color.b * 257)};
    SetWindowContentColor(window, &rgb);
}

void FWWindow::Inval(const FWRect* rect)
{
    HostWindow* window = GetPDW();
    if (window == nullptr)
        return;
    if (rect == nullptr) {
        const Rect whole = toRect(Size());
        InvalWindowRect(window, &whole);
        return;
    }
    FWRect shifted = *rect;
    shifted.Offset(FrameWidth(), TitleWidth());
    const Rect local = toRect(shifted);
    InvalWindowRect(window, &local);
}
