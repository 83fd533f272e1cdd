// The byte orders a stream can be written in, and whether a value must be swapped to reach
// one of them from the running processor's order.
#pragma once

#include <cstdint>

class FWPlatform {
public:
    enum tByteOrder : int32_t {
        kBigEndian = 0,
        kLittleEndian = 1,
        kNativeByteOrder = 2, // whatever the processor uses: never swapped
    };

    // The running processor's order, kBigEndian or kLittleEndian.
    static tByteOrder GetCurrentByteOrder();
    // False for kNativeByteOrder; otherwise true when order is not the processor's.
    static bool ShouldSwapBytes(tByteOrder order);
};
