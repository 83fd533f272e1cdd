// A small fixed array of flags packed into units of T (N flags; bit i mod bits of T of unit
// i / bits of T), all clear when constructed.
#pragma once

#include <climits>
#include <cstdint>

template <uint32_t N, class T>
class FWFlagsArray {
public:
    FWFlagsArray() { ClearAllFlags(); }

    // An index past the array is ignored (reads as clear).
    void SetFlag(uint32_t i, bool on)
    {
        if (i / kBits >= kUnits)
            return;
        T mask = T(T(1) << (i % kBits));
        if (on)
            mUnits[i / kBits] = T(mUnits[i / kBits] | mask);
        else
            mUnits[i / kBits] = T(mUnits[i / kBits] & T(~mask));
    }
    bool GetFlag(uint32_t i) const
    {
        if (i / kBits >= kUnits)
            return false;
        return (mUnits[i / kBits] >> (i % kBits)) & 1;
    }
    void ClearAllFlags()
    {
        for (auto& unit : mUnits)
            unit = 0;
    }

private:
    static constexpr uint32_t kBits = sizeof(T) * CHAR_BIT;
    static constexpr uint32_t kUnits = (N + kBits - 1) / kBits;

    T mUnits[kUnits];
};
