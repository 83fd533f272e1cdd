// The main loop: platform events become FWEvents; menu-bar clicks, suspend and resume, Apple
// events and updates of foreign windows are dealt with here, everything else goes to the
// dispatcher.
#include "FWEventManager.h"

#include "FWApp.h"
#include "FWClipboardPAC.h"
#include "FWEventDispatcher.h"
#include "FWException.h"
#include "FWMenuMgr.h"
#include "FWPlatformUtils.h"
#include "FWPopupInfo.h"
#include "FWView.h"
#include "FWWindow.h"
#include "HostEvents.h"
#include "HostPorts.h"
#include "HostProcess.h"
#include "HostRegion.h"
#include "HostWindows.h"

#include <map>

namespace {

FWEventManager* sAppEventManager = nullptr;
bool sUnblockFlag = false;
// While the mouse stays inside this 1 x 1 region (global) the wait produces no mouse-moved event.
RgnHandle sMouseRgn = nullptr;
FWPoint sLastMousePosition;

// Redraw functions of windows the framework does not own. Nothing registers one, so foreign
// updates are only consumed.
struct ForeignUpdate {
    void (*redraw)(WindowRef window, void* refCon) = nullptr;
    void* refCon = nullptr;
};
std::map<WindowRef, ForeignUpdate> sUpdateFunctions;

constexpr uint32_t kSleepTicks = 10;

void useMainDevice()
{
    SetGDevice(GetMainDevice());
}

FWPoint toFWPoint(Point p)
{
    return FWPoint(p.h, p.v);
}

Point toPoint(const FWPoint& p)
{
    return Point{p.v, p.h};
}

// The platform window under a global point and the framework window it belongs to (null for a
// foreign window or none).
WindowPartCode windowAt(Point where, WindowRef* platform, FWWindow** window)
{
    const WindowPartCode part = ::FindWindow(where, platform);
    *window = FWWindow::ReturnFWWindow(*platform);
    return part;
}

} // namespace

FWEventManager* FWEventManager::Instance()
{
    if (sAppEventManager == nullptr)
        sAppEventManager = new FWEventManager;
    return sAppEventManager;
}

void FWEventManager::Destroy()
{
    delete sAppEventManager;
    sAppEventManager = nullptr;
    // A new manager starts from the mouse position of its own first wait.
    DisposeRgn(sMouseRgn);
    sMouseRgn = nullptr;
}

void FWEventManager::Execute()
{
    mLastClickTime = 0;
    while (!mQuit) {
        // A failure of one event is reported and the loop goes on with the next, whatever was
        // thrown: an unexpected exception must not take the whole program down.
        try {
            FWEvent event;
            GetSystemEvent(event, false);
            FWEventDispatcher::Instance()->Dispatch(event);
        } catch (FWException& e) {
            FWException::ReportException(e);
        } catch (...) {
            FWException unexpected("an unexpected error occurred");
            FWException::ReportException(unexpected);
        }
    }
}

void FWEventManager::Unblock()
{
    sUnblockFlag = true;
    // From a timer inside the event wait: the wait ends now, not at the end of its sleep.
    HostEndWait();
}

void FWEventManager::GetSystemEvent(FWEvent& out, bool tracking)
{
    if (sMouseRgn == nullptr) {
        FWGetMousePosition(sLastMousePosition);
        sMouseRgn = NewRgn();
        SetRectRgn(sMouseRgn, sLastMousePosition.h, sLastMousePosition.v, int16_t(sLastMousePosition.h + 1),
                   int16_t(sLastMousePosition.v + 1));
    }
    for (;;) {
        YieldToAnyThread();
        if (sUnblockFlag) {
            sUnblockFlag = false;
            out.mType = kNullEvent;
            return;
        }
        SetEventMask(everyEvent);
        useMainDevice();
        EventRecord record;
        // What came may bring idle work sooner than the idle timer last heard.
        if (WaitNextEvent(everyEvent, &record, kSleepTicks, sMouseRgn))
            FWApp::HurryIdleTime();
        else
            FWApp::HurryIdleTimeIfKeysChanged();
        if (FilterEvent(record, tracking, out))
            return;
    }
}

bool FWEventManager::FilterEvent(const EventRecord& record, bool tracking, FWEvent& out)
{
    out.mType = kNullEvent;
    out.mWhen = record.when;
    out.mWindow = nullptr;
    out.mMessage = 0;
    out.mWhere = toFWPoint(record.where);
    out.mGlobalWhere = out.mWhere;
    out.mModifiers = record.modifiers;

    switch (record.what) {
    case mouseDown: {
        if (!tracking)
            return filterMouseDown(record, out);
        WindowRef platform = nullptr;
        FWWindow* window = nullptr;
        windowAt(record.where, &platform, &window);
        out.mType = kMouseDownEvent;
        out.mWindow = window;
        return true;
    }
    case mouseUp: {
        WindowRef platform = nullptr;
        FWWindow* window = nullptr;
        windowAt(record.where, &platform, &window);
        out.mType = kMouseUpEvent;
        if (platform == nullptr)
            return true;
        if (window == nullptr)
            return false;
        out.mWindow = window;
        if (!tracking)
            window->GlobalToWindow(&out.mWhere);
        return true;
    }
    case keyDown:
    case keyUp:
    case autoKey:
        out.mType = record.what == keyDown ? kKeyDownEvent : record.what == keyUp ? kKeyUpEvent : kAutoKeyEvent;
        if (!tracking && record.what != autoKey)
            FWPopupInfo::Hide();
        out.mMessage = int32_t(uint32_t(record.message));
        out.mWindow = FWEventDispatcher::Instance()->KeyWindow();
        return true;
    case updateEvt: {
        WindowRef platform = reinterpret_cast<WindowRef>(record.message);
        if (FWWindow* window = FWWindow::ReturnFWWindow(platform)) {
            out.mType = kUpdateEvent;
            out.mWindow = window;
            return true;
        }
        BeginUpdate(platform);
        auto found = sUpdateFunctions.find(platform);
        if (found != sUpdateFunctions.end() && found->second.redraw != nullptr) {
            SetPortWindowPort(platform);
            found->second.redraw(platform, found->second.refCon);
        }
        EndUpdate(platform);
        return false;
    }
    case osEvt: {
        const uint32_t kind = uint32_t(record.message >> 24) & 0xFF;
        if (kind == suspendResumeMessage) {
            if ((record.message & resumeFlag) != 0) {
                ProcessSerialNumber process;
                if (GetCurrentProcess(&process) == noErr)
                    SetFrontProcess(&process);
                FWApp::ProcessResume();
            } else {
                FWApp::ProcessSuspend();
            }
            return false;
        }
        if (kind == kHostClipboardMessage) {
            FWClipboardPAC::ImportIfChanged();
            return false;
        }
        if (kind == kHostMouseWheelMessage) {
            WindowRef platform = nullptr;
            FWWindow* window = nullptr;
            windowAt(record.where, &platform, &window);
            // Behind a modal dialog nothing moves, as nothing there takes a click.
            if (!tracking && window != nullptr && (FWWindow::ModalCount() == 0 || window == FWWindow::ModalWindow())) {
                window->GlobalToWindow(&out.mWhere);
                window->WheelEvent(out.mWhere, HostWheelNotches(record));
            }
            return false;
        }
        if (kind != mouseMovedMessage)
            return false;
        const FWPoint now = out.mGlobalWhere;
        out.mType = kMouseMovedEvent;
        out.mDelta = FWPoint(int16_t(sLastMousePosition.h - now.h), int16_t(sLastMousePosition.v - now.v));
        WindowRef platform = nullptr;
        FWWindow* window = nullptr;
        windowAt(record.where, &platform, &window);
        if (window != nullptr) {
            out.mWindow = window;
            window->GlobalToWindow(&out.mWhere);
        }
        OffsetRgn(sMouseRgn, int16_t(now.h - sLastMousePosition.h), int16_t(now.v - sLastMousePosition.v));
        sLastMousePosition = now;
        return true;
    }
    case kHighLevelEvent:
        useMainDevice();
        AEProcessAppleEvent(&record);
        return false;
    default:
        return false;
    }
}

bool FWEventManager::filterMouseDown(const EventRecord& record, FWEvent& out)
{
    FWPopupInfo::Hide();
    useMainDevice();
    WindowRef platform = nullptr;
    FWWindow* window = nullptr;
    const WindowPartCode part = windowAt(record.where, &platform, &window);
    if (platform == nullptr) {
        FWMenuMgr::Instance()->DoMouseDownInMenuBar(out);
        return false;
    }
    out.mType = kMouseDownEvent;
    if (window == nullptr)
        return true;
    out.mWindow = window;
    countPress(out);

    switch (part) {
    case inContent:
        if (window->GetStyle() == 5)
            return true;
        if (window->ContentActivation())
            window->BringToFront();
        window->GlobalToWindow(&out.mWhere);
        if (out.mWhere.v < 0 && titleRect(*window).PtInRect(out.mWhere)) {
            out.mType = kTitleBarEvent;
            return true;
        }
        if (window->Resizeable() && window->DragResizeWindow(out))
            out.mType = kResizeEvent;
        return true;
    case inDrag:
        window->BringToFront();
        window->GlobalToWindow(&out.mWhere);
        out.mType = kTitleBarEvent;
        return true;
    case inGrow:
        if (window->Resizeable() && DoGrowWindow(window, &out.mGlobalWhere)) {
            out.mType = kResizeEvent;
            return true;
        }
        break;
    case inGoAway:
        useMainDevice();
        if (TrackGoAway(platform, record.where)) {
            window->BringToFront();
            out.mType = kCloseEvent;
            return true;
        }
        break;
    case inZoomIn:
    case inZoomOut:
        window->BringToFront();
        useMainDevice();
        if (TrackBox(platform, record.where, part)) {
            out.mType = kZoomEvent;
            out.mPart = part;
            return true;
        }
        break;
    default:
        break;
    }
    // A press that produced no event still counts as the first click of a double click.
    rememberPress(out);
    out.mType = kNullEvent;
    return false;
}

FWRect FWEventManager::titleRect(FWWindow& window)
{
    // The title band in content coordinates: the size rectangle inset by 3 and moved up and left
    // by the title and frame.
    FWRect title = window.Size();
    title.Inset(3, 3);
    title.Offset(int16_t(-window.FrameWidth()), int16_t(-window.TitleWidth()));
    return title;
}

bool FWEventManager::DoGrowWindow(FWWindow* window, FWPoint* globalPress)
{
    if (window == nullptr || globalPress == nullptr)
        return false;
    const FWRect limit = window->ResizeLimit();
    const Rect limits{limit.top, limit.left, limit.bottom, limit.right};
    GrowWindow(window->GetPDW(), toPoint(*globalPress), &limits);
    FWPoint mouse;
    FWGetMousePosition(mouse);
    if (mouse == *globalPress)
        return false;
    const FWRect size = window->Size();
    window->SetSize(size.Width() + (mouse.h - globalPress->h), size.Height() + (mouse.v - globalPress->v));
    if (FWView* root = window->ViewMngr().GetViewTree()) {
        FWRect content;
        window->GetContentRect(&content);
        root->SetRect(content);
    }
    return true;
}

void FWEventManager::countPress(FWEvent& out)
{
    if (out.mWhen < mLastClickTime + FWDoubleTime() && out.mWindow == mLastClickWindow) {
        // A double click is not the first click of another one.
        out.mMessage = 1;
        mLastClickTime = 0;
        mLastClickWindow = nullptr;
        return;
    }
    out.mMessage = 0;
    rememberPress(out);
}

void FWEventManager::rememberPress(const FWEvent& out)
{
    mLastClickTime = out.mWhen;
    mLastClickWindow = out.mWindow;
}
