// The singleton that decides who receives each event: window events go to their window, mouse
// and key events to a first handler (a capturing handler, else the window's dynamic handler,
// else the active document, else the application) and then up the handler chain. It also keeps
// the key window, event capture, the hover timing behind mouse-entered, -left, paused and
// resumed notices, the idle entry point, and the edit commands that menus bind to.
// Applications may install a subclass as the singleton.
#pragma once

#include "FWEvent.h"
#include "FWPoint.h"

#include <cstdint>

class FWDrawContext;
class FWEventHandler;
class FWUserOp;
class FWView;
class FWWindow;

class FWEventDispatcher {
public:
    // The dispatcher; the first call makes a plain one unless a subclass has stored itself.
    static FWEventDispatcher* Instance();
    static void Destroy();

    // Hands the event to the operation for its type.
    virtual void Dispatch(FWEvent& event);
    // Ends the main loop after the current event.
    virtual void Quit();
    virtual ~FWEventDispatcher() = default;
    virtual void MouseDownEvent(FWEvent& event);
    virtual void MouseUpEvent(FWEvent& event);
    virtual void KeyDownEvent(FWEvent& event);
    virtual void KeyUpEvent(FWEvent& event);
    virtual void AutoKeyEvent(FWEvent& event);
    // The hover check, then a pass of the idle processes.
    virtual void HandleIdleEvent(FWEvent& event);
    // Ticks until an idle event next has work: the hover check's next notice and the idle
    // processes' next work; 0 while the mouse moves or its button is down;
    // FWIdleProcess::kNoIdleWork when nothing is due until an event.
    uint32_t TicksToIdleWork();
    virtual void WindowResizeEvent(FWEvent& event);
    virtual void WindowMoveEvent(FWEvent& event);
    virtual void WindowUpdateEvent(FWEvent& event);
    virtual void WindowActivateEvent(FWEvent& event);
    virtual void WindowCloseEvent(FWEvent& event);
    virtual void WindowZoomEvent(FWEvent& event);
    virtual void WindowTitleBarEvent(FWEvent& event);
    // A window joined or left the list: forget the window and view under the mouse, show the
    // arrow cursor, and forget the key window when it is no longer listed.
    virtual void WindowListReset();

    static void Unblock();
    // The next event, for nested loops.
    void GetEvent(FWEvent& event, bool tracking);

    // Capture: the handler gets every mouse and key event first. Capture returns the previous
    // handler, which the caller hands back to Release.
    FWEventHandler* CaptureEventControl(FWEventHandler* handler);
    void ReleaseEventControl(FWEventHandler* previous);
    FWEventHandler* CapturedHandler() const { return mCapture; }

    FWWindow* KeyWindow() const { return mKeyWindow; }
    // Deactivates the old key window and activates the new one; returns the old one.
    FWWindow* SetKeyWindow(FWWindow* window);

    FWEventHandler* GetEventHandler(FWEvent& event);
    // The hover check: mouse-entered and -left notices, the cursor, paused and resumed notices.
    void AllowCursorAdjustment();

    // The listener told of every mouse move the hover check sees; none unless set.
    void SetMouseMovedListener(FWEventHandler* listener) { mMouseMovedListener = listener; }

    FWWindow* MouseWindow() const { return mMouseWindow; }
    FWView* MouseView() const { return mMouseView; }

    static void SendExposureEvent(FWWindow* except);
    // Redraws the window at once.
    static void UpdateWindow(FWWindow* window);
    static FWDrawContext* GetWindowUpdateContext(FWWindow* window);
    static void FinishWindowUpdateContext(FWWindow* window, FWDrawContext* context);

    // Edit commands for command tables: the Dispatch ones send an event of type 14-17 to the
    // key window; the Adjust ones enable the command when the key window can do it. Undo is
    // always disabled.
    static void DispatchCut(FWUserOp* op);
    static void DispatchCopy(FWUserOp* op);
    static void DispatchPaste(FWUserOp* op);
    static void DispatchClear(FWUserOp* op);
    static void AdjustCut(FWUserOp* op);
    static void AdjustCopy(FWUserOp* op);
    static void AdjustPaste(FWUserOp* op);
    static void AdjustClear(FWUserOp* op);
    static void AdjustUndo(FWUserOp* op);

protected:
    FWEventDispatcher() = default;
    static FWEventDispatcher* sAppEventDispatcher;

private:
    // Offers the event to the first handler and up its parent chain until one takes it.
    void walkChain(FWEvent& event, bool (FWEventHandler::*handle)(FWEvent&));
    // A click or key: the pause wait starts over, at its full length.
    void noteActivity();

    FWEventHandler* mMouseMovedListener = nullptr;
    FWEventHandler* mCapture = nullptr;
    FWWindow* mMouseWindow = nullptr;
    FWWindow* mKeyWindow = nullptr;
    FWView* mMouseView = nullptr;
    FWPoint mLastMouse{-1, -1};
    bool mMoving = false;
    bool mNotifiedMoving = false;
    bool mNoticePending = false;
    FWWindow* mPauseWindow = nullptr;
    uint32_t mActivityTick = 0;
};

// Mouse tracking inside a window, for controls that follow the mouse while the button is down.
class FWEventUtil {
public:
    // The next tracking call reports a move at once.
    static void ResetMouseTrack();
    // Waits (giving idle time) until the mouse moves or the button is released; h and v get the
    // position in the window's coordinates. True while the button is still down.
    static bool TrackMouseDown(const FWWindow& window, int& h, int& v);
};
