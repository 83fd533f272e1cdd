// Reversal of the bytes of a value in place, the one step of every byte-order conversion.
#pragma once

#include <cstddef>

// Reverses the n bytes at p.
void FWReverseBytes(void* p, size_t n);

// The same for a fixed width; only the widths of stored scalars exist.
template <size_t N>
struct FWByteReversal {
    static_assert(N == 2 || N == 4 || N == 8 || N == 16, "no stored scalar has this width");
    static void Reverse(void* p) { FWReverseBytes(p, N); }
};
