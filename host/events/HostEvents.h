// The event queue and the event wait. The display back ends (and, headless, the test interface
// of HostHeadless.h) deliver input: each delivery updates the mouse and key state of HostInput
// and queues its event. WaitNextEvent hands out, by priority: activate events when the active
// window changed, queued events in order, update events for windows with something to redraw
// (front to back), a mouse-moved event when the mouse is outside the caller's region, and
// otherwise sleeps, firing due timers, and answers a null event.
#pragma once

#include "HostRegion.h"
#include "HostTypes.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using EventKind = uint16_t;
using AEEventID = uint32_t;
using EventMask = uint16_t;
using EventModifiers = uint16_t;

enum : EventKind {
    nullEvent = 0,
    mouseDown = 1,
    mouseUp = 2,
    keyDown = 3,
    keyUp = 4,
    autoKey = 5,
    updateEvt = 6,
    activateEvt = 8,
    osEvt = 15,
    kHighLevelEvent = 23,
};

enum : EventMask {
    mDownMask = 1 << mouseDown,
    mUpMask = 1 << mouseUp,
    keyDownMask = 1 << keyDown,
    keyUpMask = 1 << keyUp,
    autoKeyMask = 1 << autoKey,
    updateMask = 1 << updateEvt,
    activMask = 1 << activateEvt,
    highLevelEventMask = 0x0400,
    osMask = 1 << osEvt,
    everyEvent = 0xFFFF,
};

// Modifier bits of an event. activeFlag marks an activate (not deactivate) event.
enum : EventModifiers {
    activeFlag = 0x0001,
    cmdKey = 0x0100,
    shiftKey = 0x0200,
    alphaLock = 0x0400,
    optionKey = 0x0800,
    controlKey = 0x1000,
};

// The message of an operating-system event: its kind in the high byte.
enum : uint32_t {
    mouseMovedMessage = 0xFA,
    suspendResumeMessage = 0x01,
    resumeFlag = 1,
    osEvtMessageMask = 0xFF000000,
};
// The host's own kind of operating-system event: the mouse wheel turned. The host's dialogs take
// it, and the framework hands it to the window under the mouse. Bits
// 0-15 of the message hold the turn in notches, signed, positive away from the user (the list
// moves toward its start); where is the mouse.
constexpr uint32_t kHostMouseWheelMessage = 0xFB;
// The host's kind of operating-system event that tells that the display's clipboard brought news
// (another program copied, or a part of its copy arrived): the framework takes it in.
constexpr uint32_t kHostClipboardMessage = 0xFC;

enum : uint32_t {
    charCodeMask = 0x000000FF,
    keyCodeMask = 0x0000FF00,
};

// One event. message: key events the character code (bits 0-7) and the key code (8-15);
// update and activate events the window (a WindowRef, hence pointer-sized); operating-system
// events their kind in bits 24-31; high-level events the event class. when: ticks. where: the
// mouse, global (high-level events: the event id, high half in v). modifiers: the bits above.
struct EventRecord {
    EventKind what = nullEvent;
    uintptr_t message = 0;
    uint32_t when = 0;
    Point where{0, 0};
    EventModifiers modifiers = 0;
};

// The turn of a wheel event, in notches.
inline int16_t HostWheelNotches(const EventRecord& event)
{
    return int16_t(uint16_t(event.message & 0xFFFF));
}

// Takes the next event of the mask; sleeps up to sleep ticks when there is none, firing due
// timers meanwhile (under the manual clock nothing sleeps). mouseRgn (global, may be null):
// while the mouse is outside it, a mouse-moved event is due. True for an event, false (with a
// null event in *event) when none came.
Boolean WaitNextEvent(EventMask mask, EventRecord* event, uint32_t sleep, RgnHandle mouseRgn);
// Called by a timer firing inside WaitNextEvent: the wait returns its null event once the due
// timers have fired, instead of sleeping on. Outside a wait it does nothing.
void HostEndWait();
// Removes the queued events of whichMask, stopping at the first event of stopMask.
void FlushEvents(EventMask whichMask, EventMask stopMask);
// Only events of the mask are queued from now on (everything at first).
void SetEventMask(EventMask mask);

// The button is down and no mouse press or release waits in the queue.
Boolean StillDown();
// The mouse in the local coordinates of the current port.
void GetMouse(Point* mouse);

// Hands the high-level event of the record to the installed Apple-event handler and answers its
// result; errAEEventNotHandled when the record names no pending event.
OSErr AEProcessAppleEvent(const EventRecord* event);

// There is only one thread.
OSErr YieldToAnyThread();

// --- Host interface: delivery of input (back ends, test interface) --------------------------

struct HostInputEvent {
    // Suspend and Resume: the program's display lost or gained the input focus. Clipboard: the
    // display's clipboard brought news.
    enum class Kind : uint8_t {
        MouseMove, MouseDown, MouseUp, KeyDown, KeyUp, AutoKey, Modifiers, Suspend, Resume, Wheel, Clipboard
    };
    Kind kind = Kind::MouseMove;
    Point where{0, 0};        // mouse and wheel events: global position
    int16_t wheelNotches = 0; // wheel events: as in the message of kHostMouseWheelMessage
    EventModifiers modifiers = 0;
    uint8_t keyCode = 0;      // key events: virtual key code 0..127
    uint8_t charCode = 0;     // key events: Mac Roman character
    uint32_t when = 0;        // ticks
};

// At most this many events wait in the queue: beyond it the oldest input event is dropped.
constexpr size_t kHostEventQueueLimit = 256;

// Updates the mouse and key state (the modifier keys follow the input's modifiers) and queues
// the input's event.
void HostDeliverInput(const HostInputEvent& input);
// Queues a core Apple event ('quit', 'oapp', or 'odoc' with the files) for delivery through the
// event wait and AEProcessAppleEvent. Safe only on the main thread.
void HostPostAppleEvent(AEEventID eventID, const std::vector<std::string>& paths = {});
// The Apple event that starts the program, from its command line: 'oapp' when no file is named
// after the program's own name, else one 'odoc' with every named file, made absolute, in order.
// From then on SIGTERM, SIGINT and SIGHUP end the program (HostInstallEndSignals).
void HostPostLaunchEvents(int argc, const char* const* argv);
// Async-signal-safe: asks the next event wait to post a 'quit' Apple event (the display window's
// close button).
void HostPostQuit();
// The display window's close button: Quit, with its questions, as HostPostQuit; refused with a
// beep while a modal dialog is up, which must be answered first. Asks made before the next event
// wait takes them are one request: one quit or one beep.
void HostDisplayCloseAsked();
// SIGTERM, SIGINT and SIGHUP from now on end the program at its next wait for input (event waits, mouse
// tracking, Button, WaitMouseUp, StillDown), with exit status 0 and no question asked; where no
// wait comes within a fraction of a second (a call held by a display that stopped answering), or
// a second signal comes first, they end it then, with status 0 too. SIGINT or SIGHUP ignored at
// start stays ignored.
void HostInstallEndSignals();
// Ends the program when such a signal came.
void HostEndIfSignalled();
// Lets the input that arrived reach the state and the queue: one injected input when some waits,
// else whatever the display gathered; true when anything came.
bool HostPumpInput();
// The same for loops that follow a held press (Button, StillDown, WaitMouseUp): when nothing came
// and the button stays down with no press or release queued, waits for the display's next input
// or a tick, so that a press held still costs no processor time.
void HostPumpHeldInput();
// Whether a mouse press or release waits in the queue.
bool HostMouseEventQueued();
// Removes the first queued mouse release; true when there was one.
bool HostTakeQueuedMouseUp();
// Test interface: the queued events; how many input events the full queue dropped; forget the
// queue, pending Apple events, the event mask and the active window.
size_t HostQueuedEventCount();
uint32_t HostDroppedEventCount();
void HostResetEvents();
