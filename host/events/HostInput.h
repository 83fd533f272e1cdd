// The host's mouse and keyboard state: what the framework polls between events (the button,
// the global mouse position, the key map). The display back ends feed it; tests set it.
#pragma once

#include "HostTypes.h"

// Virtual key codes of the keys the framework asks about by code.
enum : uint16_t {
    kVK_Space = 49,
    kVK_Command = 55,
    kVK_Shift = 56,
    kVK_CapsLock = 57,
    kVK_Option = 58,
    kVK_Control = 59,
};

// 128 keys, one bit each: bit k of byte n is key 8n + k.
using KeyMap = uint8_t[16];

// The mouse button is down now. Input that arrived is taken in first; while the button is held,
// waiting briefly for it (HostPumpHeldInput).
Boolean Button();
// The button has stayed down since the last press, with no press or release waiting in the
// event queue; once it has been released, the release is taken out of the queue and the answer
// is false.
Boolean WaitMouseUp();
// The mouse position in global (screen) coordinates.
void GetGlobalMouse(Point* globalMouse);
// Copies the whole key map.
void GetKeys(KeyMap keys);

// Secure event input hides keys from other programs; while it is on, key state may be withheld.
Boolean IsSecureEventInputEnabled();
OSStatus DisableSecureEventInput();

// Feeding interface (display back ends and tests).
// The button as last fed, without taking in new input.
bool HostButtonState();
void HostSetMouseButton(bool down);
void HostSetGlobalMouse(Point globalMouse);
// Key codes 0..127; others are ignored.
void HostSetKeyDown(uint16_t keyCode, bool down);
void HostReleaseAllKeys();
void HostSetSecureEventInput(bool enabled);
// Button up, mouse at (0, 0), no key down, secure input off.
void HostResetInput();
