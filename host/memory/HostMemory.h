// Relocatable memory blocks (handles): a handle points at the block's pointer, so the block may
// move when it grows while the handle stays the same. Every call sets the result read by MemError.
#pragma once

#include "HostTypes.h"

#include <cstddef>

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

// Shared blocks for the handles of a resource file, so that reading many resources costs no
// allocation each. A handle made in a block behaves as any other (resize, lock, dispose); when it
// grows past its bytes it moves to a block of its own. A block is freed once its maker has
// released it and no handle lies in it any more.
struct HostHandleBlock;

// A block of the given bytes (see HostHandleBlockBytes); null when memory is short.
HostHandleBlock* HostNewHandleBlock(size_t bytes);

// The maker lets go of the block; null is ignored.
void HostReleaseHandleBlock(HostHandleBlock* block);

// The bytes a handle of byteCount bytes takes in a block: at least one, in whole 16-byte runs,
// so that every handle's bytes are aligned as malloc aligns them.
inline size_t HostHandleBlockBytes(Size byteCount)
{
    const size_t bytes = byteCount > 0 ? size_t(byteCount) : 1;
    return (bytes + 15) & ~size_t(15);
}

// A handle of byteCount bytes (contents undefined) in the block, or made as by NewHandle when the
// block is null or full; its owner is set as by HostSetHandleOwner.
Handle HostNewHandleInBlock(HostHandleBlock* block, Size byteCount, void* owner);

// Moves a handle's bytes out of a shared block into a block of their own, so that it keeps no
// shared block alive. False (the handle stays as it was) when memory is short.
bool HostGiveHandleItsOwnBytes(Handle h);

// Whether the handle's bytes lie in a shared block.
bool HostHandleInSharedBlock(Handle h);

// The resource entry that holds a handle (null for none or an unknown handle). DisposeHandle asks
// the Resource Manager about a handle only while it has an owner.
void HostSetHandleOwner(Handle h, void* owner);
void* HostHandleOwner(Handle h);
