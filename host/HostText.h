// Script-aware text comparison of the host. Texts are bytes in the system encoding (Mac Roman).
#pragma once

#include "HostTypes.h"

// Compares a (aLength bytes) with b (bLength bytes) and answers -1, 0 or 1 as a sorts before,
// with or after b. A null sort table means the default script order, which here is:
//   1. the texts compared byte by byte with letters folded to lower case (ASCII letters and the
//      accented Mac Roman letters that have both cases), a shorter text sorting before any
//      longer text it begins;
//   2. on a tie, the first position where the texts differ only in case decides: the upper-case
//      letter sorts first.
// So "apple" < "Banana" < "banana", and texts are equal only when byte for byte the same.
// A negative length counts as 0. No other sort table is known to the host: any non-null table
// is treated as the default.
int16_t CompareText(const void* a, const void* b, int16_t aLength, int16_t bLength, Handle sortTable);
