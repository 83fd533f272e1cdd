// The framework's event record: one value that carries every input from the main loop through
// the dispatcher to the handler chain.
#pragma once

#include "FWPoint.h"

#include <cstdint>

class FWWindow;

// The kinds of event; the values are fixed.
enum FWEventType : int32_t {
    kNullEvent = 0,       // nothing happened, or the loop was unblocked
    kTitleBarEvent = 1,   // press in a window's title bar
    kResizeEvent = 2,     // the user changed the window's size
    kMoveEvent = 3,
    kCloseEvent = 4,      // close box clicked and released inside
    kZoomEvent = 5,
    kUpdateEvent = 6,     // the window must be redrawn
    kActivateEvent = 7,
    kMouseDownEvent = 8,
    kMouseUpEvent = 9,
    kMouseMovedEvent = 10,
    kKeyDownEvent = 11,
    kKeyUpEvent = 12,
    kAutoKeyEvent = 13,   // key repeat
    kCutEvent = 14,
    kCopyEvent = 15,
    kPasteEvent = 16,
    kClearEvent = 17,
    kSelectAllEvent = 18,
    kSelectNoneEvent = 19,
};

// Modifier bits of mModifiers, as the platform's event record gives them.
enum : uint16_t {
    kFWCommandKey = 0x100,
    kFWShiftKey = 0x200,
    kFWOptionKey = 0x800,
    kFWControlKey = 0x1000,
};

struct FWEvent {
    FWEvent() = default;
    FWEvent(FWEventType type, FWWindow* window, unsigned short modifiers)
        : mType(type), mWindow(window), mModifiers(modifiers) {}

    bool ShiftKeyDown() const { return (mModifiers & kFWShiftKey) != 0; }
    bool OptionKeyDown() const { return (mModifiers & kFWOptionKey) != 0; }
    bool ControlKeyDown() const { return (mModifiers & kFWControlKey) != 0; }
    // The character code: the low byte of the message word. The command key has no accessor;
    // callers test kFWCommandKey.
    signed char EventCharacter() const { return static_cast<signed char>(mMessage & 0xFF); }

    FWEventType mType = kNullEvent;
    uint32_t mWhen = 0;            // ticks of the platform event
    FWWindow* mWindow = nullptr;   // for key events: the key window
    // Keys: the platform message word. Mouse down: 1 for the second click of a double click.
    // Title bar: the title icon code. Activate: non-zero when the window becomes active.
    int32_t mMessage = 0;
    int32_t mPart = 0;             // zoom: the part code tracked
    FWPoint mWhere;                // window coordinates once converted, else global
    FWPoint mGlobalWhere;
    FWPoint mDelta;                // mouse moved: previous position minus the current one
    uint16_t mModifiers = 0;
};
