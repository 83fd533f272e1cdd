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
// The same order over texts of any length (CompareText's lengths stop at 32767).
int16_t HostCompareText(const void* a, const void* b, uint32_t aLength, uint32_t bLength);

// Whether two length-prefixed texts are the same, optionally ignoring case (letters folded as
// above) and diacritics (accented Mac Roman letters taken as their base letter).
Boolean EqualString(ConstStr255Param a, ConstStr255Param b, Boolean caseSensitive, Boolean diacSensitive);

// Scripts and the byte types of their characters. The host's only script is Roman, where
// every character is one byte.
using ScriptCode = int16_t;
enum : ScriptCode { smRoman = 0 };
// Selectors of GetScriptManagerVariable.
enum : int16_t { smSysScript = 18 };
// Byte types answered by CharacterByteType.
enum : int16_t {
    smSingleByte = 0,
    smFirstByte = -1,
    smLastByte = 1,
    smMiddleByte = 2,
};

// The value of a script-system variable; 0 for a selector the host does not keep.
int32_t GetScriptManagerVariable(int16_t selector);
// The byte type of the byte at textOffset of textBuf in the script.
int16_t CharacterByteType(const char* textBuf, int16_t textOffset, ScriptCode script);
