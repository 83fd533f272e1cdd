// A growable array of plain records, with its memory taken from the converter's allocation hooks
// so that a failing allocator can be put in their place. Records are copied byte for byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

// The allocation hooks every converter block comes from: the system allocator unless replaced.
using MAllocHook = void* (*)(size_t size);
using MFreeHook = void (*)(void* block);
extern MAllocHook MAlloc;
extern MFreeHook MFree;
void* MAllocProc(size_t size);
void MFreeProc(void* block);

template <typename T>
class TVector {
    static_assert(std::is_trivially_copyable_v<T>, "records are copied byte for byte");

public:
    TVector() = default;
    ~TVector() { Free(); }
    TVector(const TVector&) = delete;
    TVector& operator=(const TVector&) = delete;

    // Makes room for n records (at least 16). The same capacity again changes nothing; a block
    // that cannot be had answers false and leaves the vector as it was.
    bool Allocate(int32_t n)
    {
        if (n < kMinimumCapacity)
            n = kMinimumCapacity;
        if (n == capacity)
            return true;
        if (size_t(n) > SIZE_MAX / sizeof(T))
            return false;
        T* block = static_cast<T*>(MAlloc(size_t(n) * sizeof(T)));
        if (block == nullptr)
            return false;
        if (count > n)
            count = n;
        if (count > 0)
            std::memcpy(static_cast<void*>(block), items, size_t(count) * sizeof(T));
        if (items != nullptr)
            MFree(items);
        items = block;
        capacity = n;
        return true;
    }

    // The next free record, counted; grows by half when full (16, 24, 36, 54 ...). Null when
    // no room can be had.
    T* ElemNew()
    {
        if (count >= capacity) {
            if (capacity > INT32_MAX / 3 * 2 || !Allocate(capacity + capacity / 2))
                return nullptr;
        }
        return &items[count++];
    }

    // Releases the block.
    void Free()
    {
        if (items != nullptr)
            MFree(items);
        items = nullptr;
        count = 0;
        capacity = 0;
    }

    T* items = nullptr;
    int32_t count = 0;
    int32_t capacity = 0;

private:
    static constexpr int32_t kMinimumCapacity = 16;
};
