#include "Env_MacPString.h"

#include <cstring>

namespace Corvel {

Env_MacPString& Env_MacPString::operator=(const unsigned char* lengthPrefixed)
{
    if (lengthPrefixed == nullptr) {
        mBytes[0] = 0;
        return *this;
    }
    if (lengthPrefixed != mBytes)
        std::memmove(mBytes, lengthPrefixed, size_t(lengthPrefixed[0]) + 1);
    return *this;
}

void Env_MacPString::CopyChars(const char* chars, uint32_t count)
{
    if (chars == nullptr)
        count = 0;
    if (count <= kCapacity) {
        mBytes[0] = static_cast<unsigned char>(count);
        if (count > 0)
            std::memmove(mBytes + 1, chars, count);
        return;
    }
    mBytes[0] = static_cast<unsigned char>(kCapacity);
    std::memmove(mBytes + 1, chars, kCapacity - 1);
    mBytes[kCapacity] = kEllipsis;
}

} // namespace Corvel
