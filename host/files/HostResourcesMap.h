// A hash map of small keys (ids, handles) to pointers in one flat array: open addressing with
// linear probing, kept at most half full. An open resource file of n resources indexes them
// with a few allocations in all instead of one per resource.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <vector>

template <class Key, class Value>
class HostResourcesMap {
    static_assert(std::is_pointer_v<Value>, "values are pointers; null means absent");

public:
    size_t Size() const { return mCount; }

    // The value of key, or null.
    Value Find(Key key) const
    {
        if (mCount == 0)
            return nullptr;
        for (size_t i = home(key);; i = (i + 1) & mMask) {
            const Slot& slot = mSlots[i];
            if (slot.value == nullptr)
                return nullptr;
            if (slot.key == key)
                return slot.value;
        }
    }

    // Adds key with a non-null value; false, and nothing changed, when key is present already.
    bool Insert(Key key, Value value)
    {
        if ((mCount + 1) * 2 > mSlots.size())
            grow(mCount + 1);
        size_t i = home(key);
        for (; mSlots[i].value != nullptr; i = (i + 1) & mMask)
            if (mSlots[i].key == key)
                return false;
        mSlots[i] = Slot{key, value};
        ++mCount;
        return true;
    }

    // Sets the value of key, adding it when absent.
    void Assign(Key key, Value value)
    {
        if (!Insert(key, value))
            slotOf(key)->value = value;
    }

    // Removes key when present. The slots after it move back into the gap, so that every key
    // stays reachable from its home slot without markers of removed keys.
    void Erase(Key key)
    {
        Slot* slot = slotOf(key);
        if (slot == nullptr)
            return;
        size_t gap = size_t(slot - mSlots.data());
        for (size_t i = (gap + 1) & mMask; mSlots[i].value != nullptr; i = (i + 1) & mMask) {
            const size_t h = home(mSlots[i].key);
            // The slot may fill the gap when its home does not lie cyclically in (gap, i].
            const bool homeAfterGap = gap <= i ? (gap < h && h <= i) : (gap < h || h <= i);
            if (!homeAfterGap) {
                mSlots[gap] = mSlots[i];
                gap = i;
            }
        }
        mSlots[gap] = Slot{};
        --mCount;
    }

    // Room for n keys without rehashing.
    void Reserve(size_t n)
    {
        if (n * 2 > mSlots.size())
            grow(n);
    }

    void Clear()
    {
        std::vector<Slot>().swap(mSlots);
        mMask = 0;
        mShift = 64;
        mCount = 0;
    }

private:
    struct Slot {
        Key key{};
        Value value = nullptr;
    };

    size_t home(Key key) const
    {
        if constexpr (std::is_integral_v<Key> && sizeof(Key) <= 2) {
            // Ids that differ only in the bits below the table's size keep their order in
            // consecutive slots, so that a run of ids is indexed in one sweep of memory; the
            // higher bits move each such window to a place of its own.
            const uint32_t id = uint32_t(static_cast<std::make_unsigned_t<Key>>(key));
            const unsigned bits = 64 - mShift;
            const uint32_t window = bits < 32 ? id >> bits : 0;
            return size_t(id + window * 0x9E3779B1u) & mMask;
        } else {
            uint64_t bits;
            if constexpr (std::is_pointer_v<Key>)
                bits = uint64_t(reinterpret_cast<uintptr_t>(key));
            else
                bits = uint64_t(key);
            // Fibonacci hashing: the high bits of the product spread near keys over the table.
            return size_t((bits * 0x9E3779B97F4A7C15ull) >> mShift);
        }
    }

    Slot* slotOf(Key key)
    {
        if (mCount == 0)
            return nullptr;
        for (size_t i = home(key);; i = (i + 1) & mMask) {
            if (mSlots[i].value == nullptr)
                return nullptr;
            if (mSlots[i].key == key)
                return &mSlots[i];
        }
    }

    void grow(size_t keys)
    {
        size_t size = 16;
        unsigned bits = 4;
        while (size < keys * 2) {
            size *= 2;
            ++bits;
        }
        std::vector<Slot> old(size);
        old.swap(mSlots);
        mMask = size - 1;
        mShift = 64 - bits;
        mCount = 0;
        for (const Slot& slot : old)
            if (slot.value != nullptr)
                Insert(slot.key, slot.value);
    }

    std::vector<Slot> mSlots;
    size_t mMask = 0;
    unsigned mShift = 64;
    size_t mCount = 0;
};
