// Small platform services with no better home: the cursor, the mouse and keyboard state, the
// beep, waiting, the double-click and caret times, the highlight colour and the usable screen.
#pragma once

#include "FWArgb32.h"
#include "FileReference.h"
#include "FWPoint.h"
#include "FWRect.h"
#include "HostCursors.h"
#include "HostFiles.h"
#include "HostTypes.h"

#include <cstdint>

// Cursor styles the framework shows by number.
enum CursorStyle : int {
    kArrowCursor = 0,
    kWatchCursor = 1,
    kIBeamCursor = 2,
};

// Key codes of FWIsPressed.
enum : uint16_t {
    SPACE_BAR = 49,
    COMMAND_KEY = 55,
    OPTION_KEY = 58,
    CONTROL_KEY = 59,
};

// Cursors. Nothing changes while the application is in the background.
// A style: arrow, watch or I-beam; any other number does nothing.
void FWSetCursor(CursorStyle style);
// The same for a style given as a number, so that FWSetCursor(0) is the arrow, not a handle.
void FWSetCursor(int style);
// A colour cursor from FWGetCursor; a null handle shows the arrow.
void FWSetCursor(CCrsrHandle colourCursor);
// The colour cursor resource with that id.
CCrsrHandle FWGetCursor(int32_t id);
// Colour cursors are never disposed of: does nothing.
void FWDisposeCursor(CCrsrHandle colourCursor);

// Keyboard and mouse, as they are now.
// Whether the key with that virtual key code (0..127) is down.
bool FWIsPressed(uint16_t keyCode);
// 0x0002 space bar, 0x0100 command, 0x0200 shift, 0x0400 caps lock, 0x0800 option,
// 0x1000 control.
uint16_t FWGetModifiers();
bool FWIsMouseDown();
// The button has stayed down since the last mouse-down.
bool FWIsMouseStillDown();
// Global coordinates.
void FWGetMousePosition(FWPoint& where);
// Moves the cursor; nothing happens when the platform offers no way to.
void FWSetMousePosition(const FWPoint& where);

// Sound and time.
void FWSystemBeep(int32_t duration);
void FWDelayTicks(int32_t ticks);
// The double-click interval, in ticks.
uint32_t FWDoubleTime();
// The caret blink interval, in ticks.
uint32_t FWTextBlinkTime();

// Colours.
// The system's text highlight colour, opaque.
FWArgb32 FWTextHiliteColor();
// Each 8-bit channel c becomes c x 257; alpha is dropped.
void Assign(RGBColor& out, const FWArgb32& in);
// Alpha 255; each 16-bit channel becomes its high byte.
void Assign(FWArgb32& out, RGBColor in);

// The usable bounds of the main monitor (all zero without one).
void FWGetAppRect(FWRect* rect);

// Sets the reference to the path of the file specification's file: 0, or the FS error code with the
// reference untouched.
int FSSpecToFileReference(const FSSpec& spec, FileReference& file);
// The file specification (FSSpec) of the reference's file, which need not exist yet (its folder must):
// noErr, -1 for an empty path or one no alias can be made of, or the failure of resolving it.
OSErr FileReferenceToFSSpec(const FileReference& file, FSSpec& spec);
