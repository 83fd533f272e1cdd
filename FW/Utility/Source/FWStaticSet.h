// A fixed set of N bits kept in N / (bits of T) units of T. Bit i lives in unit i / (bits of T)
// at bit i mod (bits of T), counted from the least significant bit. Used for the position sets of
// the lexer automaton (2048 bits in 32-bit units) and the characters a lexer uses (256 bits in bytes).
#pragma once

#include <bit>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <type_traits>

template <size_t N, typename T>
class FWStaticSet {
    static_assert(std::is_unsigned_v<T>, "units are unsigned integers");

public:
    static constexpr size_t kUnitBits = sizeof(T) * CHAR_BIT;
    static constexpr size_t kUnitCount = N / kUnitBits;
    static_assert(kUnitCount * kUnitBits == N, "N is a whole number of units");

    FWStaticSet() = default;

    void Clear()
    {
        for (T& unit : mUnits)
            unit = 0;
    }

    // Element access; i is not range-checked.
    FWStaticSet& operator|=(uint32_t i)
    {
        mUnits[i / kUnitBits] |= static_cast<T>(T(1) << (i % kUnitBits));
        return *this;
    }
    bool operator&(uint32_t i) const { return ((mUnits[i / kUnitBits] >> (i % kUnitBits)) & 1) != 0; }

    // Makes the set hold i alone.
    FWStaticSet& operator=(uint32_t i)
    {
        Clear();
        return *this |= i;
    }

    // Whole-set operations.
    FWStaticSet& operator|=(const FWStaticSet& other)
    {
        for (size_t u = 0; u < kUnitCount; ++u)
            mUnits[u] |= other.mUnits[u];
        return *this;
    }
    bool operator==(const FWStaticSet& other) const
    {
        for (size_t u = 0; u < kUnitCount; ++u)
            if (mUnits[u] != other.mUnits[u])
                return false;
        return true;
    }
    bool IsNotEmpty() const
    {
        for (T unit : mUnits)
            if (unit != 0)
                return true;
        return false;
    }

    // Calls f(i) for every member i in increasing order, a unit at a time, so sparse sets are cheap
    // to walk.
    template <typename F>
    void ForEach(F&& f) const
    {
        for (size_t u = 0; u < kUnitCount; ++u) {
            T bits = mUnits[u];
            while (bits != 0) {
                int bit = std::countr_zero(bits);
                f(static_cast<uint32_t>(u * kUnitBits + bit));
                bits = static_cast<T>(bits & (bits - 1));
            }
        }
    }

    // The raw units, for hashing.
    T Unit(size_t u) const { return mUnits[u]; }

private:
    T mUnits[kUnitCount] = {};
};
