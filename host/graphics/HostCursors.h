// The cursor the host shows: the arrow, a system cursor by id, or a colour cursor by resource
// id. Until a display shows it, the host only holds it as state that back ends and tests read.
#pragma once

#include "HostTypes.h"

// Ids of the system cursors.
enum : int16_t {
    iBeamCursor = 1,
    crossCursor = 2,
    plusCursor = 3,
    watchCursor = 4,
};

// A system cursor. The host draws cursors itself, so a cursor is only its id.
struct Cursor {
    int16_t id;
};
using CursPtr = Cursor*;
using CursHandle = Cursor**;

// A colour cursor, named by the id of its resource.
struct CCrsr {
    int16_t id;
};
using CCrsrPtr = CCrsr*;
using CCrsrHandle = CCrsr**;

// Shows the arrow.
void InitCursor();
// The system cursor with that id, or null for an id the host does not know. The host owns it.
CursHandle GetCursor(int16_t cursorID);
// Shows a system cursor; null is ignored.
void SetCursor(const Cursor* cursor);

// The colour cursor of that resource id. Handles are kept by the host for the whole run, one
// per id, so asking twice gives the same handle.
CCrsrHandle GetCCursor(int16_t cursorID);
// Shows a colour cursor; null is ignored.
void SetCCursor(CCrsrHandle cursor);
// Colour cursors live for the whole run: this does nothing.
void DisposeCCursor(CCrsrHandle cursor);

// Reading interface (display back ends and tests).
enum class HostCursorKind { Arrow, System, Colour };
struct HostCursorState {
    HostCursorKind kind;
    int16_t id; // 0 for the arrow
};
HostCursorState HostCurrentCursor();
// Grows by one for every cursor shown, so a test can tell "unchanged" from "set again".
uint32_t HostCursorChangeCount();
// The arrow, with the change count at 0.
void HostResetCursor();
