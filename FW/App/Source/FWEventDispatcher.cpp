#include "FWEventDispatcher.h"

#include "FWEventManager.h"
#include "FWPlatformUtils.h"

FWEventDispatcher* FWEventDispatcher::sAppEventDispatcher = nullptr;

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

void FWEventDispatcher::WindowListReset()
{
    mMouseWindow = nullptr;
    mMouseView = nullptr;
    FWSetCursor(0);
}

// To be built.
void FWEventDispatcher::Dispatch(FWEvent&) {}
void FWEventDispatcher::Quit() {}
void FWEventDispatcher::MouseDownEvent(FWEvent&) {}
void FWEventDispatcher::MouseUpEvent(FWEvent&) {}
void FWEventDispatcher::KeyDownEvent(FWEvent&) {}
void FWEventDispatcher::KeyUpEvent(FWEvent&) {}
void FWEventDispatcher::AutoKeyEvent(FWEvent&) {}
void FWEventDispatcher::HandleIdleEvent(FWEvent&) {}
void FWEventDispatcher::WindowResizeEvent(FWEvent&) {}
void FWEventDispatcher::WindowMoveEvent(FWEvent&) {}
void FWEventDispatcher::WindowUpdateEvent(FWEvent&) {}
void FWEventDispatcher::WindowActivateEvent(FWEvent&) {}
void FWEventDispatcher::WindowCloseEvent(FWEvent&) {}
void FWEventDispatcher::WindowZoomEvent(FWEvent&) {}
void FWEventDispatcher::WindowTitleBarEvent(FWEvent&) {}
void FWEventDispatcher::Unblock() {}
void FWEventDispatcher::GetEvent(FWEvent& event, bool tracking) { FWEventManager::Instance()->GetSystemEvent(event, tracking); }
FWEventHandler* FWEventDispatcher::CaptureEventControl(FWEventHandler* handler)
{
    FWEventHandler* previous = mCapture;
    mCapture = handler;
    return previous;
}
void FWEventDispatcher::ReleaseEventControl(FWEventHandler* previous) { mCapture = previous; }
FWWindow* FWEventDispatcher::SetKeyWindow(FWWindow* window)
{
    FWWindow* previous = mKeyWindow;
    mKeyWindow = window;
    return previous;
}
FWEventHandler* FWEventDispatcher::GetEventHandler(FWEvent&) { return nullptr; }
void FWEventDispatcher::AllowCursorAdjustment() {}
void FWEventDispatcher::SendExposureEvent(FWWindow*) {}
void FWEventDispatcher::UpdateWindow(FWWindow*) {}
FWDrawContext* FWEventDispatcher::GetWindowUpdateContext(FWWindow*) { return nullptr; }
void FWEventDispatcher::FinishWindowUpdateContext(FWWindow*, FWDrawContext*) {}
void FWEventDispatcher::DispatchCut(FWUserOp*) {}
void FWEventDispatcher::DispatchCopy(FWUserOp*) {}
void FWEventDispatcher::DispatchPaste(FWUserOp*) {}
void FWEventDispatcher::DispatchClear(FWUserOp*) {}
void FWEventDispatcher::AdjustCut(FWUserOp*) {}
void FWEventDispatcher::AdjustCopy(FWUserOp*) {}
void FWEventDispatcher::AdjustPaste(FWUserOp*) {}
void FWEventDispatcher::AdjustClear(FWUserOp*) {}
void FWEventDispatcher::AdjustUndo(FWUserOp*) {}
void FWEventUtil::ResetMouseTrack() {}
bool FWEventUtil::TrackMouseDown(const FWWindow&, int&, int&) { return false; }
