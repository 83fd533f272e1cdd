// Handles over malloc'd blocks. Each handle is the address of the first field of its record, and
// every live record sits in one table, so a stray or freed handle is recognised, never followed.
#include "HostMemory.h"

#include "HostResources.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <unordered_set>

namespace {

struct BlockRecord {
    char* data;      // must stay the first field: a Handle is the address of this field
    Size size;
    Size capacity;   // bytes allocated; a locked block may use them without moving
    bool locked;
};

// The table is never destroyed: handles may be disposed of by static destructors at exit, and
// blocks still held then stay reachable rather than being reported as leaks.
std::unordered_set<Handle>& liveHandles()
{
    static auto* table = new std::unordered_set<Handle>;
    return *table;
}

OSErr sMemError = noErr;

BlockRecord* recordOf(Handle h)
{
    if (h == nullptr || liveHandles().count(h) == 0)
        return nullptr;
    return reinterpret_cast<BlockRecord*>(h);
}

Handle allocate(Size byteCount, bool clear)
{
    if (byteCount < 0) {
        sMemError = paramErr;
        return nullptr;
    }
    // One byte at least, so that the block pointer of an empty handle is never null.
    size_t bytes = byteCount > 0 ? size_t(byteCount) : 1;
    char* data = static_cast<char*>(clear ? std::calloc(bytes, 1) : std::malloc(bytes));
    auto* record = data != nullptr ? new (std::nothrow) BlockRecord{data, byteCount, Size(bytes), false} : nullptr;
    if (record == nullptr) {
        std::free(data);
        sMemError = memFullErr;
        return nullptr;
    }
    Handle h = &record->data;
    liveHandles().insert(h);
    sMemError = noErr;
    return h;
}

} // namespace

Handle NewHandle(Size byteCount)
{
    return allocate(byteCount, false);
}

Handle NewHandleClear(Size byteCount)
{
    return allocate(byteCount, true);
}

void DisposeHandle(Handle h)
{
    sMemError = noErr;
    if (h == nullptr)
        return;
    BlockRecord* record = recordOf(h);
    if (record == nullptr) {
        sMemError = nilHandleErr;
        return;
    }
    if (HostResourceHandleDisposing(h))
        return;
    liveHandles().erase(h);
    std::free(record->data);
    delete record;
}

Size GetHandleSize(Handle h)
{
    BlockRecord* record = recordOf(h);
    if (record == nullptr) {
        sMemError = nilHandleErr;
        return 0;
    }
    sMemError = noErr;
    return record->size;
}

void SetHandleSize(Handle h, Size newSize)
{
    BlockRecord* record = recordOf(h);
    if (record == nullptr) {
        sMemError = nilHandleErr;
        return;
    }
    if (newSize < 0) {
        sMemError = paramErr;
        return;
    }
    if (newSize <= record->capacity) {
        record->size = newSize;
        sMemError = noErr;
        return;
    }
    if (record->locked) {
        sMemError = memFullErr;
        return;
    }
    char* grown = static_cast<char*>(std::realloc(record->data, size_t(newSize)));
    if (grown == nullptr) {
        sMemError = memFullErr;
        return;
    }
    record->data = grown;
    record->size = newSize;
    record->capacity = newSize;
    sMemError = noErr;
}

void HLock(Handle h)
{
    BlockRecord* record = recordOf(h);
    if (record == nullptr) {
        sMemError = nilHandleErr;
        return;
    }
    record->locked = true;
    sMemError = noErr;
}

void HUnlock(Handle h)
{
    BlockRecord* record = recordOf(h);
    if (record == nullptr) {
        sMemError = nilHandleErr;
        return;
    }
    record->locked = false;
    sMemError = noErr;
}

OSErr MemError()
{
    return sMemError;
}

bool HostIsHandle(Handle h)
{
    return recordOf(h) != nullptr;
}
