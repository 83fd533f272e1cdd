// Routing of events to windows and handler chains, the key window, event capture, the hover
// timing and the edit commands.
#include "FWEventDispatcher.h"

#include "CMacWindowStuff.h"
#include "FWApp.h"
#include "FWDocument.h"
#include "FWDrawContext.h"
#include "FWEventManager.h"
#include "FWIdleProcess.h"
#include "FWPlatformUtils.h"
#include "FWPopupInfo.h"
#include "FWProgrammerMessage.h"
#include "FWUserOp.h"
#include "FWView.h"
#include "FWWindow.h"
#include "HostClock.h"
#include "HostWindows.h"
#include "ListTraversal.h"

#include <algorithm>

FWEventDispatcher* FWEventDispatcher::sAppEventDispatcher = nullptr;

namespace {

constexpr const char* kSourcePath = "FW/App/Source/FWEventDispatcher";

// Hover waits, in ticks: after moving, before the first pause notice, and before the next one
// over the window whose last pause was handled.
constexpr uint32_t kResumeWait = 0;
constexpr uint32_t kPauseWait = 60;
constexpr uint32_t kRepeatPauseWait = 10;

constexpr int32_t kCloseIcon = -1;
constexpr int32_t kZoomIcon = -2;
constexpr int32_t kPopupIcon = -3;

using HandlerEvent = bool (FWEventHandler::*)(FWEvent&);

// Makes the document of the event's window the active one, when it is not already.
void adjustDocument(FWEvent& event)
{
    if (event.mWindow == nullptr || !FWApp::Exists())
        return;
    FWDocument* document = event.mWindow->GetDocument();
    if (document == nullptr)
        return;
    FWApp* app = FWApp::Instance();
    if (app->GetActiveDocument() != document)
        app->SetActiveDocument(document);
}

void makeKeyWindowIfAccepted(FWEventDispatcher& dispatcher, FWWindow* window)
{
    if (window != nullptr && window->AcceptsKeyEvents())
        dispatcher.SetKeyWindow(window);
}

// Background drawing stays off while a press is handled, and is restored even when it throws.
struct BackgroundUpdateSuspended {
    bool previous = FWView::DisableBackgroundUpdate(true);
    ~BackgroundUpdateSuspended() { FWView::DisableBackgroundUpdate(previous); }
};

void adjustEdit(FWUserOp* op, bool (FWWindow::*can)())
{
    if (op == nullptr)
        return;
    FWWindow* key = FWEventDispatcher::Instance()->KeyWindow();
    if (key != nullptr && (key->*can)())
        op->ClearFlag(kUserOpDisabled);
    else
        op->SetFlag(kUserOpDisabled);
}

void dispatchEdit(FWEventType type)
{
    FWEventDispatcher* dispatcher = FWEventDispatcher::Instance();
    FWEvent event(type, dispatcher->KeyWindow(), 0);
    dispatcher->Dispatch(event);
}

// The remembered point of mouse tracking, in window coordinates.
FWPoint sTrackPoint(0, 0);

} // namespace

FWEventDispatcher* FWEventDispatcher::Instance()
{
    if (sAppEventDispatcher == nullptr)
        sAppEventDispatcher = new FWEventDispatcher;
    return sAppEventDispatcher;
}

void FWEventDispatcher::Destroy()
{
    delete sAppEventDispatcher;
    sAppEventDispatcher = nullptr;
}

// --- Routing -----------------------------------------------------------------------------------

void FWEventDispatcher::Dispatch(FWEvent& event)
{
    switch (event.mType) {
    case kTitleBarEvent:
        WindowTitleBarEvent(event);
        return;
    case kResizeEvent:
        WindowResizeEvent(event);
        return;
    case kMoveEvent:
        WindowMoveEvent(event);
        return;
    case kCloseEvent:
        WindowCloseEvent(event);
        return;
    case kZoomEvent:
        WindowZoomEvent(event);
        return;
    case kUpdateEvent:
        WindowUpdateEvent(event);
        return;
    case kActivateEvent:
        WindowActivateEvent(event);
        return;
    case kMouseDownEvent:
        MouseDownEvent(event);
        return;
    case kMouseUpEvent:
        MouseUpEvent(event);
        return;
    case kKeyDownEvent:
        KeyDownEvent(event);
        return;
    case kKeyUpEvent:
        KeyUpEvent(event);
        return;
    case kAutoKeyEvent:
        AutoKeyEvent(event);
        return;
    default:
        break;
    }
    FWWindow* window = event.mWindow;
    if (window == nullptr)
        return;
    switch (event.mType) {
    case kCutEvent:
        window->CutEvent(event);
        break;
    case kCopyEvent:
        window->CopyEvent(event);
        break;
    case kPasteEvent:
        window->PasteEvent(event);
        break;
    case kClearEvent:
        window->ClearEvent(event);
        break;
    case kSelectAllEvent:
        window->SelectAllEvent(event);
        break;
    case kSelectNoneEvent:
        window->SelectNoneEvent(event);
        break;
    default:
        break;
    }
}

void FWEventDispatcher::Quit()
{
    FWEventManager::Instance()->Quit();
    FWEventManager::Unblock();
}

void FWEventDispatcher::Unblock()
{
    FWEventManager::Unblock();
}

void FWEventDispatcher::GetEvent(FWEvent& event, bool tracking)
{
    FWEventManager::Instance()->GetSystemEvent(event, tracking);
}

FWEventHandler* FWEventDispatcher::CaptureEventControl(FWEventHandler* handler)
{
    FWEventHandler* previous = mCapture;
    mCapture = handler;
    return previous;
}

void FWEventDispatcher::ReleaseEventControl(FWEventHandler* previous)
{
    mCapture = previous;
}

FWWindow* FWEventDispatcher::SetKeyWindow(FWWindow* window)
{
    FWWindow* previous = mKeyWindow;
    if (window == previous)
        return previous;
    if (previous != nullptr)
        previous->ActivateEvent(false);
    mKeyWindow = window;
    if (window != nullptr)
        window->ActivateEvent(true);
    return previous;
}

FWEventHandler* FWEventDispatcher::GetEventHandler(FWEvent& event)
{
    if (mCapture != nullptr)
        return mCapture->GetDynamicHandler(event);
    if (event.mWindow != nullptr)
        return event.mWindow->GetDynamicHandler(event);
    if (!FWApp::Exists())
        return nullptr;
    FWApp* app = FWApp::Instance();
    if (FWDocument* document = app->GetActiveDocument())
        return document;
    return app;
}

// Offers the event to the first handler and then up its parent chain until one takes it.
void FWEventDispatcher::walkChain(FWEvent& event, HandlerEvent handle)
{
    for (FWEventHandler* handler = GetEventHandler(event); handler != nullptr; handler = handler->GetParent(event))
        if ((handler->*handle)(event))
            return;
}

void FWEventDispatcher::noteActivity()
{
    mPauseWindow = nullptr;
    mActivityTick = TickCount();
}

// --- Mouse and keys ----------------------------------------------------------------------------

void FWEventDispatcher::MouseDownEvent(FWEvent& event)
{
    if (FWWindow::ModalCount() != 0 && event.mWindow != FWWindow::ModalWindow()) {
        FWSystemBeep(0);
        return;
    }
    BackgroundUpdateSuspended backgroundOff;
    adjustDocument(event);
    makeKeyWindowIfAccepted(*this, event.mWindow);
    walkChain(event, event.ControlKeyDown() ? &FWEventHandler::ContextualMouseDownEvent : &FWEventHandler::MouseDownEvent);
    noteActivity();
}

void FWEventDispatcher::MouseUpEvent(FWEvent& event)
{
    walkChain(event, &FWEventHandler::MouseUpEvent);
    noteActivity();
}

void FWEventDispatcher::KeyDownEvent(FWEvent& event)
{
    AllowCursorAdjustment();
    walkChain(event, &FWEventHandler::KeyDownEvent);
    noteActivity();
}

void FWEventDispatcher::KeyUpEvent(FWEvent& event)
{
    AllowCursorAdjustment();
    walkChain(event, &FWEventHandler::KeyUpEvent);
    noteActivity();
}

void FWEventDispatcher::AutoKeyEvent(FWEvent& event)
{
    walkChain(event, &FWEventHandler::AutoKeyEvent);
}

void FWEventDispatcher::HandleIdleEvent(FWEvent&)
{
    AllowCursorAdjustment();
    FWIdleProcess::DispatchIdleTime();
}

uint32_t FWEventDispatcher::TicksToIdleWork()
{
    uint32_t next = FWIdleProcess::TicksToNextIdleWork();
    if (next == 0)
        return 0;
    FWPoint global;
    FWGetMousePosition(global);
    // A move not yet seen, a move that has yet to be seen ending, a press: every pass looks.
    if (global != mLastMouse || mMoving || FWIsMouseDown())
        return 0;
    // The mouse rests: the pause notice, when one is still to come.
    if (mNoticePending && mNotifiedMoving) {
        FWWindow* window = FWApp::Exists() ? FWApp::Instance()->FindWindow(global) : nullptr;
        const uint32_t wait = window != nullptr && window == mPauseWindow ? kRepeatPauseWait : kPauseWait;
        const uint32_t waited = TickCount() - mActivityTick;
        next = std::min(next, waited >= wait ? 0 : wait - waited);
    }
    return next;
}

// --- Window events -----------------------------------------------------------------------------

void FWEventDispatcher::WindowTitleBarEvent(FWEvent& event)
{
    FWWindow* window = event.mWindow;
    if (window == nullptr)
        return;
    adjustDocument(event);
    event.mMessage = window->WhichIcon(&event.mGlobalWhere);
    switch (event.mMessage) {
    case kZoomIcon:
        if (window->TrackIcon(kZoomIcon, &event.mWhere)) {
            window->BringToFront();
            WindowZoomEvent(event);
            makeKeyWindowIfAccepted(*this, window);
        }
        return;
    case kCloseIcon:
        if (window->TrackIcon(kCloseIcon, &event.mWhere))
            WindowCloseEvent(event);
        return;
    case kPopupIcon:
        window->WindowSelect();
        return;
    default:
        break;
    }
    if (window->TitleBarEvent(event) || !window->Draggable())
        return;
    window->BringToFront();
    window->DragWindow(event);
    makeKeyWindowIfAccepted(*this, window);
    WindowMoveEvent(event);
}

void FWEventDispatcher::WindowCloseEvent(FWEvent& event)
{
    FWWindow* window = event.mWindow;
    if (window == nullptr) {
        fw_programmer_message("Called WindowCloseEvent on a NULL window", kSourcePath, 278);
        return;
    }
    const bool wasKey = window == mKeyWindow;
    FWWindow* under = wasKey ? window->NextWindowUnder() : nullptr;
    // No object in the system manages a group of windows, so the window itself decides.
    if (window->CloseEvent()) {
        if (FWApp::Exists())
            FWApp::Instance()->WindowIsClosing(window);
        if (Dependable* owner = window->GetMultiWindow())
            owner->SendMessage(Dependable::IsBeingDeleted);
        else
            window->SendMessage(Dependable::IsBeingDeleted);
        delete window;
        // The closed window must not be deactivated below.
        if (mKeyWindow == window)
            mKeyWindow = nullptr;
        event.mWindow = nullptr;
    }
    if (!wasKey)
        return;
    // Closing may have taken other windows with it.
    if (under != nullptr && !FWWindow::IsValidWindow(under))
        under = nullptr;
    if (under == nullptr && FWApp::Exists())
        under = FWApp::Instance()->GetFrontWindow();
    SetKeyWindow(under);
}

void FWEventDispatcher::WindowMoveEvent(FWEvent& event)
{
    if (event.mWindow == nullptr)
        return;
    event.mWindow->MoveEvent();
    SendExposureEvent(event.mWindow);
}

void FWEventDispatcher::WindowZoomEvent(FWEvent& event)
{
    if (event.mWindow == nullptr)
        return;
    event.mWindow->ZoomEvent();
    SendExposureEvent(event.mWindow);
}

void FWEventDispatcher::WindowResizeEvent(FWEvent& event)
{
    if (event.mWindow == nullptr)
        return;
    adjustDocument(event);
    event.mWindow->ResizeEvent();
    SendExposureEvent(event.mWindow);
}

void FWEventDispatcher::WindowActivateEvent(FWEvent& event)
{
    if (event.mWindow == nullptr)
        return;
    const bool active = event.mMessage != 0;
    event.mWindow->ActivateEvent(active);
    if (!active || !FWApp::Exists())
        return;
    ListTraversal<FWWindow> walk(&FWApp::Instance()->GetWindowList());
    for (FWWindow* window = walk.First(); window != nullptr; window = walk.Next())
        window->ExposureEvent();
}

void FWEventDispatcher::WindowUpdateEvent(FWEvent& event)
{
    FWWindow* window = event.mWindow;
    if (window == nullptr)
        return;
    FWDrawContext* context = GetWindowUpdateContext(window);
    if (context == nullptr)
        return;
    // The platform update ends even when drawing fails.
    struct Finish {
        FWWindow* window;
        FWDrawContext* context;
        ~Finish() { FinishWindowUpdateContext(window, context); }
    } finish{window, context};
    window->UpdateEvent(event, *context);
}

void FWEventDispatcher::WindowListReset()
{
    mMouseWindow = nullptr;
    mMouseView = nullptr;
    FWSetCursor(0);
    if (mKeyWindow == nullptr)
        return;
    if (FWApp::Exists()) {
        for (FWWindow* window = FWApp::Instance()->GetFrontWindow(); window != nullptr; window = window->NextWindowUnder())
            if (window == mKeyWindow)
                return;
    }
    mKeyWindow = nullptr;
}

// --- Hover -------------------------------------------------------------------------------------

void FWEventDispatcher::AllowCursorAdjustment()
{
    FWPoint global;
    FWGetMousePosition(global);
    FWWindow* window = FWApp::Exists() ? FWApp::Instance()->FindWindow(global) : nullptr;
    FWView* view = nullptr;
    if (window != nullptr) {
        FWPoint local = global;
        window->GlobalToWindow(&local);
        view = window->ViewMngr().GetView(&local, true);
    }
    const bool moving = global != mLastMouse;
    const bool buttonDown = FWIsMouseDown();

    if (moving != mMoving && !buttonDown) {
        mActivityTick = TickCount();
        mNoticePending = true;
        mMoving = moving;
    }
    if (mNoticePending && moving != mNotifiedMoving) {
        const uint32_t wait = moving ? kResumeWait
                              : window != nullptr && window == mPauseWindow ? kRepeatPauseWait
                                                                              : kPauseWait;
        if (TickCount() - mActivityTick >= wait && !buttonDown) {
            bool handled = false;
            if (view != nullptr)
                handled = moving ? view->MouseResumed() : view->MousePaused();
            else if (window != nullptr)
                handled = moving ? window->MouseResumed() : window->MousePaused();
            if (handled) {
                mPauseWindow = window;
            } else if (moving) {
                FWWindow* tip = FWPopupInfo::Window();
                FWPopupInfo::Hide();
                // The tip is gone; nothing under the mouse is left to notify.
                if (tip != nullptr && tip == window) {
                    window = nullptr;
                    view = nullptr;
                }
            }
            mNoticePending = false;
            mNotifiedMoving = moving;
        }
    }
    if (moving) {
        if (mMouseMovedListener != nullptr)
            mMouseMovedListener->MouseMoved(global, window);
        mLastMouse = global;
    }
    if (window == nullptr)
        return;
    if (view != mMouseView) {
        if (mMouseView != nullptr)
            mMouseView->MouseMovedOut();
        mMouseView = view;
        if (view != nullptr)
            view->MouseMovedIn();
    } else if (view != nullptr) {
        view->SetCursor();
    }
    if (view != nullptr)
        return;
    if (window != mMouseWindow) {
        if (mMouseWindow != nullptr)
            mMouseWindow->MouseMovedOut();
        mMouseWindow = window;
        window->MouseMovedIn();
    } else {
        window->SetCursor();
    }
}

// --- Exposure and updates ----------------------------------------------------------------------

void FWEventDispatcher::SendExposureEvent(FWWindow* except)
{
    Instance()->AllowCursorAdjustment();
    if (!FWApp::Exists())
        return;
    ListTraversal<FWWindow> walk(&FWApp::Instance()->GetWindowList());
    for (FWWindow* window = walk.First(); window != nullptr; window = walk.Next())
        if (window != except)
            window->ExposureEvent();
}

void FWEventDispatcher::UpdateWindow(FWWindow* window)
{
    FWEvent event(kUpdateEvent, window, 0);
    Instance()->WindowUpdateEvent(event);
}

FWDrawContext* FWEventDispatcher::GetWindowUpdateContext(FWWindow* window)
{
    if (window == nullptr || window->GetPlatformData() == nullptr)
        return nullptr;
    HostWindow* platform = window->GetPDW();
    if (platform != nullptr) {
        window->GetPlatformData()->DisposeOverlay();
        BeginUpdate(platform);
    }
    auto* context = new FWDrawContext(window);
    if (platform != nullptr)
        window->DrawWindowFrame(*context);
    return context;
}

void FWEventDispatcher::FinishWindowUpdateContext(FWWindow* window, FWDrawContext* context)
{
    if (window != nullptr) {
        if (HostWindow* platform = window->GetPDW())
            EndUpdate(platform);
    }
    delete context;
}

// --- Edit commands -----------------------------------------------------------------------------

void FWEventDispatcher::DispatchCut(FWUserOp*)
{
    dispatchEdit(kCutEvent);
}

void FWEventDispatcher::DispatchCopy(FWUserOp*)
{
    dispatchEdit(kCopyEvent);
}

void FWEventDispatcher::DispatchPaste(FWUserOp*)
{
    dispatchEdit(kPasteEvent);
}

void FWEventDispatcher::DispatchClear(FWUserOp*)
{
    dispatchEdit(kClearEvent);
}

void FWEventDispatcher::AdjustCut(FWUserOp* op)
{
    adjustEdit(op, &FWWindow::CanCut);
}

void FWEventDispatcher::AdjustCopy(FWUserOp* op)
{
    adjustEdit(op, &FWWindow::CanCopy);
}

void FWEventDispatcher::AdjustPaste(FWUserOp* op)
{
    adjustEdit(op, &FWWindow::CanPaste);
}

void FWEventDispatcher::AdjustClear(FWUserOp* op)
{
    adjustEdit(op, &FWWindow::CanClear);
}

void FWEventDispatcher::AdjustUndo(FWUserOp* op)
{
    if (op != nullptr)
        op->SetFlag(kUserOpDisabled);
}

// --- Mouse tracking ----------------------------------------------------------------------------

void FWEventUtil::ResetMouseTrack()
{
    sTrackPoint = FWPoint(-16000, -16000);
}

bool FWEventUtil::TrackMouseDown(const FWWindow& window, int& h, int& v)
{
    for (;;) {
        FWPoint mouse;
        window.GetMouseLocal(&mouse);
        h = mouse.h;
        v = mouse.v;
        if (mouse != sTrackPoint) {
            sTrackPoint = mouse;
            return FWIsMouseStillDown();
        }
        FWIdleProcess::DispatchIdleTime();
        if (!FWIsMouseStillDown())
            return false;
    }
}
