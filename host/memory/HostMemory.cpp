// Handles over malloc'd blocks, or over shared blocks that hold many handles' bytes. Each handle
// is the address of the first field of its record. Records come from chunks the program never
// gives back, so a stray or freed handle is recognised by its address and the record's live
// mark, never followed.
#include "HostMemory.h"

#include "HostResources.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#ifdef __GLIBC__
#include <malloc.h>
#endif

// A shared block: its header, then the handles' bytes, each run 16-byte aligned as malloc's are.
struct HostHandleBlock {
    char* bytes;
    size_t capacity;
    size_t used;
    size_t handles;  // live handles whose bytes lie in it
    bool released;   // its maker let go of it
};

namespace {

// Reading a resource file takes a few blocks of its size (its image, its entries, its handles'
// bytes) and closing it frees them. By default the C library maps blocks above 128 KiB afresh
// from the kernel and gives the top of its heap back once 128 KiB lie free there, so every open
// paid a page fault for each page it touched. Blocks up to 32 MiB come from the heap instead, and
// up to 64 MiB of freed memory stay in it for the next open: what the program keeps beyond what
// it uses is bounded by that.
#ifdef __GLIBC__
constexpr int kHeapBlockLimit = 32 << 20;
constexpr int kHeapKeptFree = 64 << 20;

[[maybe_unused]] const bool sHeapTuned = [] {
    return mallopt(M_MMAP_THRESHOLD, kHeapBlockLimit) == 1 && mallopt(M_TRIM_THRESHOLD, kHeapKeptFree) == 1;
}();
#endif

// Two records to a cache line. A record is live while it has data: a live block has one byte
// at least.
struct alignas(32) BlockRecord {
    char* data;             // must stay the first field: a Handle is the address of this field
    Size size;
    uint32_t capacity : 31; // bytes allocated; a locked block may use them without moving
    uint32_t locked : 1;
    HostHandleBlock* shared; // the shared block holding data, or null when data are malloc'd
    union {
        void* owner;           // while live: the resource entry holding the handle, if any
        BlockRecord* nextFree; // while free
    };

    bool live() const { return data != nullptr; }
    void MakeLive(char* bytes, Size byteCount, Size room, HostHandleBlock* block, void* holder)
    {
        data = bytes;
        size = byteCount;
        capacity = uint32_t(room);
        locked = 0;
        shared = block;
        owner = holder;
    }
};
static_assert(sizeof(BlockRecord) == 32);

// The records, in chunks that double in size, so that n handles need O(log n) chunks and a
// handle's chunk is found by a binary search over their addresses. Freed records are reused
// oldest first, so that a handle disposed of twice rarely meets a new handle at its address.
// Never destroyed: handles may be disposed of by static destructors at exit.
class RecordPool {
public:
    BlockRecord* New()
    {
        if (mFree == nullptr && !grow())
            return nullptr;
        BlockRecord* record = mFree;
        mFree = record->nextFree;
        if (mFree == nullptr)
            mLastFree = nullptr;
        return record;
    }

    void Delete(BlockRecord* record)
    {
        record->data = nullptr;
        record->shared = nullptr;
        record->nextFree = nullptr;
        if (mLastFree != nullptr)
            mLastFree->nextFree = record;
        else
            mFree = record;
        mLastFree = record;
    }

    // The live record whose first field is at h, or null.
    BlockRecord* Find(Handle h) const
    {
        auto address = reinterpret_cast<uintptr_t>(h);
        // Handles asked for one after another mostly lie in the same chunk: try the last one found.
        const Chunk* chunk = mLastFound;
        if (chunk == nullptr || address - chunk->start >= chunk->count * sizeof(BlockRecord)) {
            // The chunk with the greatest start not above the address.
            auto it = std::upper_bound(mChunks.begin(), mChunks.end(), address,
                [](uintptr_t a, const Chunk& c) { return a < c.start; });
            if (it == mChunks.begin())
                return nullptr;
            chunk = &*(it - 1);
        }
        uintptr_t offset = address - chunk->start;
        if (offset >= chunk->count * sizeof(BlockRecord) || offset % sizeof(BlockRecord) != 0)
            return nullptr;
        mLastFound = chunk;
        BlockRecord* record = reinterpret_cast<BlockRecord*>(chunk->start) + offset / sizeof(BlockRecord);
        return record->live() ? record : nullptr;
    }

private:
    struct Chunk {
        uintptr_t start;
        size_t count;
    };

    bool grow()
    {
        size_t count = mChunks.empty() ? 256 : mChunks.size() < 12 ? size_t(256) << mChunks.size() : 1u << 20;
        auto* records = static_cast<BlockRecord*>(std::aligned_alloc(alignof(BlockRecord), count * sizeof(BlockRecord)));
        if (records == nullptr)
            return false;
        try {
            Chunk chunk{reinterpret_cast<uintptr_t>(records), count};
            mLastFound = nullptr; // the chunks move
            mChunks.insert(std::upper_bound(mChunks.begin(), mChunks.end(), chunk.start,
                               [](uintptr_t a, const Chunk& c) { return a < c.start; }),
                chunk);
        } catch (const std::bad_alloc&) {
            std::free(records);
            return false;
        }
        // Only called with the free list empty.
        for (size_t i = 0; i < count; ++i) {
            records[i].data = nullptr;
            records[i].size = 0;
            records[i].capacity = 0;
            records[i].locked = 0;
            records[i].shared = nullptr;
            records[i].nextFree = i + 1 < count ? &records[i + 1] : nullptr;
        }
        mFree = records;
        mLastFree = &records[count - 1];
        return true;
    }

    std::vector<Chunk> mChunks; // ordered by address
    mutable const Chunk* mLastFound = nullptr;
    BlockRecord* mFree = nullptr;     // the oldest free record
    BlockRecord* mLastFree = nullptr; // the newest
};

RecordPool& records()
{
    static auto* pool = new RecordPool;
    return *pool;
}

OSErr sMemError = noErr;

BlockRecord* recordOf(Handle h)
{
    if (h == nullptr)
        return nullptr;
    return records().Find(h);
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
    BlockRecord* record = data != nullptr ? records().New() : nullptr;
    if (record == nullptr) {
        std::free(data);
        sMemError = memFullErr;
        return nullptr;
    }
    record->MakeLive(data, byteCount, Size(bytes), nullptr, nullptr);
    sMemError = noErr;
    return &record->data;
}

constexpr size_t kSharedAlignment = 16;

size_t sharedBytes(Size byteCount)
{
    return HostHandleBlockBytes(byteCount);
}

void freeBlockIfUnused(HostHandleBlock* block)
{
    if (block->released && block->handles == 0)
        std::free(block);
}

// The record's bytes leave their shared block.
void unshare(BlockRecord* record)
{
    HostHandleBlock* block = record->shared;
    record->shared = nullptr;
    --block->handles;
    freeBlockIfUnused(block);
}

// Gives the record bytes of its own, keeping its contents and capacity.
bool moveToOwnBytes(BlockRecord* record, size_t bytes)
{
    char* own = static_cast<char*>(std::malloc(bytes));
    if (own == nullptr)
        return false;
    std::memcpy(own, record->data, size_t(record->size));
    record->data = own;
    unshare(record);
    return true;
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
    if (record->owner != nullptr && HostResourceHandleDisposing(h, record->owner))
        return;
    if (record->shared != nullptr)
        unshare(record);
    else
        std::free(record->data);
    records().Delete(record);
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
    if (newSize <= Size(record->capacity)) {
        record->size = newSize;
        sMemError = noErr;
        return;
    }
    if (record->locked) {
        sMemError = memFullErr;
        return;
    }
    if (record->shared != nullptr) {
        if (!moveToOwnBytes(record, size_t(newSize))) {
            sMemError = memFullErr;
            return;
        }
    } else {
        char* grown = static_cast<char*>(std::realloc(record->data, size_t(newSize)));
        if (grown == nullptr) {
            sMemError = memFullErr;
            return;
        }
        record->data = grown;
    }
    record->size = newSize;
    record->capacity = uint32_t(newSize);
    sMemError = noErr;
}

void HLock(Handle h)
{
    BlockRecord* record = recordOf(h);
    if (record == nullptr) {
        sMemError = nilHandleErr;
        return;
    }
    record->locked = 1;
    sMemError = noErr;
}

void HUnlock(Handle h)
{
    BlockRecord* record = recordOf(h);
    if (record == nullptr) {
        sMemError = nilHandleErr;
        return;
    }
    record->locked = 0;
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

HostHandleBlock* HostNewHandleBlock(size_t bytes)
{
    constexpr size_t header = (sizeof(HostHandleBlock) + kSharedAlignment - 1) & ~(kSharedAlignment - 1);
    if (bytes > SIZE_MAX - header)
        return nullptr;
    // The bytes are written by each handle made in the block before they are read.
    auto* memory = static_cast<char*>(std::malloc(header + bytes));
    if (memory == nullptr)
        return nullptr;
    auto* block = reinterpret_cast<HostHandleBlock*>(memory);
    *block = HostHandleBlock{memory + header, bytes, 0, 0, false};
    return block;
}

void HostReleaseHandleBlock(HostHandleBlock* block)
{
    if (block == nullptr)
        return;
    block->released = true;
    freeBlockIfUnused(block);
}

Handle HostNewHandleInBlock(HostHandleBlock* block, Size byteCount, void* owner)
{
    if (byteCount < 0 || block == nullptr || block->released || sharedBytes(byteCount) > block->capacity - block->used) {
        Handle h = allocate(byteCount, false);
        if (h != nullptr)
            reinterpret_cast<BlockRecord*>(h)->owner = owner;
        return h;
    }
    BlockRecord* record = records().New();
    if (record == nullptr) {
        sMemError = memFullErr;
        return nullptr;
    }
    char* data = block->bytes + block->used;
    block->used += sharedBytes(byteCount);
    ++block->handles;
    record->MakeLive(data, byteCount, byteCount > 0 ? byteCount : 1, block, owner);
    sMemError = noErr;
    return &record->data;
}

bool HostGiveHandleItsOwnBytes(Handle h)
{
    BlockRecord* record = recordOf(h);
    if (record == nullptr || record->shared == nullptr)
        return record != nullptr;
    // A locked block never moves: it stays, and keeps its shared block alive.
    return !record->locked && moveToOwnBytes(record, size_t(record->capacity));
}

bool HostHandleInSharedBlock(Handle h)
{
    BlockRecord* record = recordOf(h);
    return record != nullptr && record->shared != nullptr;
}

void HostSetHandleOwner(Handle h, void* owner)
{
    if (BlockRecord* record = recordOf(h))
        record->owner = owner;
}

void* HostHandleOwner(Handle h)
{
    BlockRecord* record = recordOf(h);
    return record != nullptr ? record->owner : nullptr;
}
