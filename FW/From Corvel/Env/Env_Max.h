// Small arithmetic helper of the library, used where rectangles are compared.
#pragma once

#include <cstdint>

namespace Corvel {

inline int32_t Max(int32_t a, int32_t b)
{
    return a > b ? a : b;
}

} // namespace Corvel
