// The processor's byte order, found once from the memory form of a known value.
#include "FWPlatform.h"

#include <cstring>

namespace {

FWPlatform::tByteOrder probeByteOrder()
{
    const uint16_t probe = 0x0102;
    unsigned char first;
    std::memcpy(&first, &probe, 1);
    return first == 0x01 ? FWPlatform::kBigEndian : FWPlatform::kLittleEndian;
}

} // namespace

FWPlatform::tByteOrder FWPlatform::GetCurrentByteOrder()
{
    static const tByteOrder sOrder = probeByteOrder();
    return sOrder;
}

bool FWPlatform::ShouldSwapBytes(tByteOrder order)
{
    if (order == kNativeByteOrder)
        return false;
    return order != GetCurrentByteOrder();
}
