// Relocatable memory blocks (handles): a handle points at the block's pointer, so the block may
// move when it grows while the handle stays the same. Every call sets the result read by MemError.
#pragma once

#include "HostTypes.h"

// A new block of the given size (contents undefined; NewHandleClear zeroes them). Null when the
// size is negative (paramErr) or memory is short (memFullErr).
Handle NewHandle(Size byteCount);
Handle NewHandleClear(Size byteCount);

// Frees the block and the handle. Null is ignored. A handle that belongs to an open resource
// file is given back as by ReleaseResource: the resource file stays its owner.
void DisposeHandle(Handle h);

// The block's size in bytes; 0 (and nilHandleErr) for a null or unknown handle.
Size GetHandleSize(Handle h);

// Resizes the block, keeping its first bytes. An unlocked block may move; a locked block never
// moves, so growing it beyond the room it already has fails with memFullErr and changes nothing.
void SetHandleSize(Handle h, Size newSize);

// A locked block keeps its address until it is unlocked. Locks do not nest.
void HLock(Handle h);
void HUnlock(Handle h);

// The result of the last memory call: noErr, memFullErr, paramErr or nilHandleErr.
OSErr MemError();

// Whether h is a live handle made by NewHandle (for the host's own checks of its callers).
bool HostIsHandle(Handle h);
