#include "FWWindow.h"

#include "FWTickCount.h"
#include "FWView.h"
#include "HostWindows.h"

#include <algorithm>
#include <vector>

namespace {

// The windows that have a platform window, until the application keeps its window list.
std::vector<FWWindow*>& platformWindows()
{
    static std::vector<FWWindow*> theWindows;
    return theWindows;
}

} // namespace

FWWindow::FWWindow(WindowStyle style) : mViewMngr(this), mStyle(style == 6 ? 3 : style)
{
    SetDebugName("FWWindow");
}

FWWindow::~FWWindow()
{
    mViewMngr.ThrowAwayViews();
    platformWindows().erase(std::remove(platformWindows().begin(), platformWindows().end(), this),
                            platformWindows().end());
    DisposeWindow(mPlatformWindow);
}

void FWWindow::CreatePlatformWindow(FWRect* globalRect)
{
    if (globalRect == nullptr || mPlatformWindow != nullptr)
        return;
    const Rect bounds{globalRect->top, globalRect->left, globalRect->bottom, globalRect->right};
    WindowRef window = nullptr;
    if (CreateNewWindow(kHostDocumentWindowClass, 0, &bounds, &window) != noErr)
        return;
    mPlatformWindow = window;
    SetWRefCon(window, this);
    SetLocation(globalRect->left, globalRect->top);
    SetSize(globalRect->Width(), globalRect->Height());
    platformWindows().push_back(this);
}

FWWindow* FWWindow::ReturnFWWindow(void* platformWindow)
{
    if (platformWindow == nullptr)
        return nullptr;
    for (FWWindow* window : platformWindows())
        if (window->mPlatformWindow == platformWindow)
            return window;
    return nullptr;
}

void FWWindow::GetContentRect(FWRect* rect)
{
    if (rect == nullptr)
        return;
    const FWRect size = Size();
    rect->Set(0, 0, int16_t(size.Width() - 2 * FrameWidth()), int16_t(size.Height() - TitleWidth() - FrameWidth()));
}

void FWWindow::GetLocation(int32_t* h, int32_t* v) const
{
    if (h != nullptr)
        *h = mLocationH;
    if (v != nullptr)
        *v = mLocationV;
}

void FWWindow::SetLocation(int32_t h, int32_t v)
{
    mLocationH = h;
    mLocationV = v;
}

void FWWindow::SetSize(int32_t width, int32_t height)
{
    mSize.Set(0, 0, int16_t(width), int16_t(height));
    if (FWView* root = mViewMngr.GetViewTree()) {
        FWRect content;
        GetContentRect(&content);
        root->SetRect(content);
    }
}

void FWWindow::SetUserSize(int32_t width, int32_t height)
{
    SetSize(width, height);
    mUserState = mSize;
    mUserState.Offset(int16_t(mLocationH), int16_t(mLocationV));
}

void FWWindow::GlobalToWindow(FWPoint* where) const
{
    if (where == nullptr)
        return;
    where->h = int16_t(where->h - mLocationH - FrameWidth());
    where->v = int16_t(where->v - mLocationV - TitleWidth());
}

void FWWindow::Show()
{
    if (mVisible)
        return;
    mVisible = true;
    mViewMngr.WindowBecameVisible();
}

void FWWindow::Hide()
{
    if (!mVisible)
        return;
    mViewMngr.WindowBecomingInvisible();
    mVisible = false;
}

void FWWindow::Inval(const FWRect*)
{
    // Without a platform window there is nothing to mark.
}

void FWWindow::PostTextEvent(EditText* edit)
{
    mPendingTextEvent = edit;
    if (edit != nullptr)
        mPendingSince = FWTickCount();
}

FWEventHandler* FWWindow::GetDynamicHandler(FWEvent& event)
{
    if (mViewMngr.AllowInterfaceEvents()) {
        if (FWEventHandler* handler = mViewMngr.GetEventHandler(event))
            return handler;
    }
    return this;
}

bool FWWindow::ReceiveMessage(Dependable* sender, Message m)
{
    Dependable::ReceiveMessage(sender, m);
    if (m == IsBeingDeleted && sender == this)
        mViewMngr.SendMessage(IsBeingDeleted);
    return true;
}
