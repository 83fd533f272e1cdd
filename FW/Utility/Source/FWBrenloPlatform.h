// The table of target platforms a serial stream can be written for. Only each record's byte
// order is used; its type sizes and alignments are carried along unread.
#pragma once

#include "FWPlatform.h"

#include <cstdint>

class FWBrenloPlatform {
public:
    // Thirteen 32-bit values, in this order.
    struct tInfo {
        int32_t byteOrder;     // 0 big-endian, otherwise little-endian
        int32_t sizes[6];
        int32_t alignments[6];
    };

    static constexpr int kCount = 7;

    // The record at index 0..6. Another index is a programmer error: reported, and record 0
    // (big-endian) is used.
    static const tInfo& Info(int index);
    // 0 gives big-endian, anything else little-endian.
    static FWPlatform::tByteOrder ConvertByteOrder(int32_t flag);
};
