// Controls inside host windows: a root control per window holding static texts and push
// buttons, each with an ID, a command and its own event target (whose parent is the enclosing
// control's, then the window's). The host draws them into the window's port and handles the
// mouse and the keys that belong to them: a click released inside a push button sends its
// command, Return or Enter presses the window's default button, Escape or command-period its
// cancel button.
#pragma once

#include "HostCommands.h"
#include "HostEvents.h"
#include "HostWindows.h"

#include <string>
#include <vector>

struct ControlID {
    OSType signature;
    int32_t id;
};

using ControlPartCode = int16_t;

enum : ControlPartCode {
    kControlNoPart = 0,
    kControlEntireControlPart = -2,
    kControlButtonPart = 10,
};

// Data tags of SetControlData / GetControlData.
constexpr ResType kControlStaticTextTextTag = FOUR_CHAR_CODE("text");
constexpr ResType kControlEditTextTextTag = FOUR_CHAR_CODE("text");

enum : OSStatus {
    errDataNotSupported = -30583,
    errControlIsNotEmbedder = -30590,
    errRootAlreadyExists = -30592,
    errInvalidControlRef = -30597,
    errNoRootControl = -30600,
    errControlNotFound = -30584,
};

// --- The control tree ---------------------------------------------------------------------

OSErr CreateRootControl(WindowRef window, ControlRef* outControl);
OSErr GetRootControl(WindowRef window, ControlRef* outControl);
// Moves control into container (a root control) as its last subcontrol.
OSErr EmbedControl(ControlRef control, ControlRef container);
OSErr CountSubControls(ControlRef control, UInt16* numChildren);
// index is 1-based.
OSErr GetIndexedSubControl(ControlRef control, UInt16 index, ControlRef* outSubControl);
WindowRef GetControlOwner(ControlRef control);
// Removes the control (and what it holds) from its window.
void DisposeControl(ControlRef control);

// --- Identity and data --------------------------------------------------------------------

OSStatus SetControlID(ControlRef control, const ControlID* id);
OSStatus GetControlID(ControlRef control, ControlID* outID);
// The first control of the window (depth first) with the ID; errControlNotFound when none.
OSStatus GetControlByID(WindowRef window, const ControlID* id, ControlRef* outControl);
OSStatus SetControlCommandID(ControlRef control, UInt32 commandID);
OSStatus GetControlCommandID(ControlRef control, UInt32* outCommandID);
// The text of a static text or the title of a push button ('text', part 0 or the entire
// control), as Mac Roman bytes; errDataNotSupported for other tags.
OSErr SetControlData(ControlRef control, ControlPartCode part, ResType tagName, Size size, const void* data);
OSErr GetControlData(ControlRef control, ControlPartCode part, ResType tagName, Size bufferSize, void* buffer,
                     Size* actualSize);
void GetControlBounds(ControlRef control, Rect* bounds);
void SetControlBounds(ControlRef control, const Rect* bounds);
// Inactive controls are drawn dimmed and ignore the mouse and the keys.
void ActivateControl(ControlRef control);
void DeactivateControl(ControlRef control);
Boolean IsControlActive(ControlRef control);

// --- Kinds ------------------------------------------------------------------------------------

// Each makes the window's root control when it has none and embeds the new control in it.
// Texts are taken as UTF-8 and kept as Mac Roman. style is not used (pass null).
OSStatus CreateStaticTextControl(WindowRef window, const Rect* bounds, CFStringRef text, const void* style,
                                 ControlRef* outControl);
OSStatus CreatePushButtonControl(WindowRef window, const Rect* bounds, CFStringRef title, ControlRef* outControl);
OSStatus SetWindowDefaultButton(WindowRef window, ControlRef control);
OSStatus SetWindowCancelButton(WindowRef window, ControlRef control);
OSStatus GetWindowDefaultButton(WindowRef window, ControlRef* outControl);
OSStatus GetWindowCancelButton(WindowRef window, ControlRef* outControl);

// --- Drawing and events ---------------------------------------------------------------------

// Draws every control of the window into its port.
void DrawControls(WindowRef window);
// The control under a point in the window's local coordinates, and its part.
ControlPartCode FindControl(Point localPoint, WindowRef window, ControlRef* outControl);
// Follows the button from a press on the control until it is released, showing the control
// pressed while the mouse is over it; the part when released over it, else kControlNoPart.
ControlPartCode TrackControl(ControlRef control, Point localPoint, void* actionProc);

// --- Host interface -------------------------------------------------------------------------

// Handles an event for the window's controls: an update draws them, a click on a push button is
// tracked and sends its command, Return / Enter / Escape / command-period press the default and
// cancel buttons (briefly shown pressed). True when the controls took the event.
bool HostHandleControlEvent(WindowRef window, const EventRecord& event);
// Presses a push button: sends its command to the control's target as a click would.
OSStatus HostPressButton(ControlRef control);
// The texts of the window's static texts, in the order of the tree.
std::vector<std::string> HostStaticTexts(WindowRef window);
