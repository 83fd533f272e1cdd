// Test interface of the headless back end: input is injected here and waits until the host
// takes it in, one input at a time (each event wait, or each poll of the button), so a test can
// lay out a whole gesture before the code under test runs. Each input is stamped with the
// clock's ticks when injected. The screen is read through HostScreen.h.
#pragma once

#include "HostEvents.h"

// At most this many injected inputs wait; injecting more is refused (false).
constexpr size_t kHostInjectLimit = 65536;

bool HostInjectMouseMove(Point where);
bool HostInjectMouseDown(Point where, EventModifiers modifiers = 0);
bool HostInjectMouseUp(Point where, EventModifiers modifiers = 0);
// The mouse wheel turned at a point: notches as in kHostMouseWheelMessage (HostEvents.h).
bool HostInjectWheel(Point where, int16_t notches);
// Press and release at one point.
bool HostInjectClick(Point where, EventModifiers modifiers = 0);
bool HostInjectKeyDown(uint8_t keyCode, uint8_t charCode, EventModifiers modifiers = 0);
bool HostInjectKeyUp(uint8_t keyCode, uint8_t charCode, EventModifiers modifiers = 0);
bool HostInjectAutoKey(uint8_t keyCode, uint8_t charCode, EventModifiers modifiers = 0);
// Key down and up.
bool HostInjectKey(uint8_t keyCode, uint8_t charCode, EventModifiers modifiers = 0);
// Holds exactly these modifier keys down from then on (no event is queued).
bool HostInjectModifiers(EventModifiers modifiers);
// As if the display window lost or gained the input focus: a suspend or resume event.
bool HostInjectSuspend();
bool HostInjectResume();
// Moves the manual clock on by that much when the input is taken, and fires the timers due by
// then; nothing under the system clock.
bool HostInjectClockAdvance(uint64_t nanoseconds);
// As if the display window were closed: a 'quit' Apple event follows.
void HostInjectQuit();

size_t HostPendingInjectedCount();
// Takes the next injected input into the host state and queue; false when none waits.
bool HostTakeInjectedInput();
// Forgets every injected input not yet taken.
void HostDiscardInjected();
