// In-place byte reversal.
#include "FWByteReversal.h"

#include <utility>

void FWReverseBytes(void* p, size_t n)
{
    auto* bytes = static_cast<unsigned char*>(p);
    for (size_t i = 0, j = n; i + 1 < j; ++i, --j)
        std::swap(bytes[i], bytes[j - 1]);
}
