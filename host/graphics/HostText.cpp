// The default script order over Mac Roman bytes: case-insensitive first, then upper case first.
#include "HostText.h"

#include <array>

namespace {

// Mac Roman upper-case letters and their lower-case partners, beyond ASCII.
constexpr unsigned char kAccentedPairs[][2] = {
    {0x80, 0x8A}, {0x81, 0x8C}, {0x82, 0x8D}, {0x83, 0x8E}, {0x84, 0x96}, {0x85, 0x9A},
    {0x86, 0x9F}, {0xAE, 0xBE}, {0xAF, 0xBF}, {0xCB, 0x88}, {0xCC, 0x8B}, {0xCD, 0x9B},
    {0xCE, 0xCF}, {0xD9, 0xD8}, {0xE5, 0x89}, {0xE6, 0x90}, {0xE7, 0x87}, {0xE8, 0x91},
    {0xE9, 0x8F}, {0xEA, 0x92}, {0xEB, 0x94}, {0xEC, 0x95}, {0xED, 0x93}, {0xEE, 0x97},
    {0xEF, 0x99}, {0xF1, 0x98}, {0xF2, 0x9C}, {0xF3, 0x9E}, {0xF4, 0x9D},
};

struct FoldTable {
    std::array<unsigned char, 256> lower{};
    FoldTable()
    {
        for (int c = 0; c < 256; ++c)
            lower[c] = (c >= 'A' && c <= 'Z') ? (unsigned char)(c + ('a' - 'A')) : (unsigned char)c;
        for (const auto& pair : kAccentedPairs)
            lower[pair[0]] = pair[1];
    }
};

const FoldTable& foldTable()
{
    static const FoldTable sTable;
    return sTable;
}

// Mac Roman letters with diacritics and the letter without them (case kept).
constexpr unsigned char kDiacriticBases[][2] = {
    {0x80, 'A'}, {0x81, 'A'}, {0x82, 'C'}, {0x83, 'E'}, {0x84, 'N'}, {0x85, 'O'}, {0x86, 'U'},
    {0x87, 'a'}, {0x88, 'a'}, {0x89, 'a'}, {0x8A, 'a'}, {0x8B, 'a'}, {0x8C, 'a'}, {0x8D, 'c'},
    {0x8E, 'e'}, {0x8F, 'e'}, {0x90, 'e'}, {0x91, 'e'}, {0x92, 'i'}, {0x93, 'i'}, {0x94, 'i'},
    {0x95, 'i'}, {0x96, 'n'}, {0x97, 'o'}, {0x98, 'o'}, {0x99, 'o'}, {0x9A, 'o'}, {0x9B, 'o'},
    {0x9C, 'u'}, {0x9D, 'u'}, {0x9E, 'u'}, {0x9F, 'u'}, {0xAF, 'O'}, {0xBF, 'o'}, {0xCB, 'A'},
    {0xCC, 'A'}, {0xCD, 'O'}, {0xD8, 'y'}, {0xD9, 'Y'}, {0xE5, 'A'}, {0xE6, 'E'}, {0xE7, 'A'},
    {0xE8, 'E'}, {0xE9, 'E'}, {0xEA, 'I'}, {0xEB, 'I'}, {0xEC, 'I'}, {0xED, 'I'}, {0xEE, 'O'},
    {0xEF, 'O'}, {0xF1, 'O'}, {0xF2, 'U'}, {0xF3, 'U'}, {0xF4, 'U'},
};

struct DiacriticTable {
    std::array<unsigned char, 256> base{};
    DiacriticTable()
    {
        for (int c = 0; c < 256; ++c)
            base[c] = (unsigned char)c;
        for (const auto& pair : kDiacriticBases)
            base[pair[0]] = pair[1];
    }
};

const DiacriticTable& diacriticTable()
{
    static const DiacriticTable sTable;
    return sTable;
}

int sign(int value)
{
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

} // namespace

int16_t CompareText(const void* a, const void* b, int16_t aLength, int16_t bLength, Handle)
{
    return HostCompareText(a, b, uint32_t(aLength > 0 ? aLength : 0), uint32_t(bLength > 0 ? bLength : 0));
}

int16_t HostCompareText(const void* a, const void* b, uint32_t aLength, uint32_t bLength)
{
    const auto* pa = static_cast<const unsigned char*>(a);
    const auto* pb = static_cast<const unsigned char*>(b);
    const uint32_t lengthA = pa != nullptr ? aLength : 0;
    const uint32_t lengthB = pb != nullptr ? bLength : 0;
    const uint32_t common = lengthA < lengthB ? lengthA : lengthB;
    const auto& lower = foldTable().lower;

    int caseTie = 0;
    for (uint32_t i = 0; i < common; ++i) {
        unsigned char ca = pa[i];
        unsigned char cb = pb[i];
        if (ca == cb)
            continue;
        int folded = int(lower[ca]) - int(lower[cb]);
        if (folded != 0)
            return int16_t(sign(folded));
        // Same letter in different case: remember the first such place, upper case first.
        if (caseTie == 0)
            caseTie = (lower[ca] != ca) ? -1 : 1;
    }
    if (lengthA != lengthB)
        return int16_t(lengthA < lengthB ? -1 : 1);
    return int16_t(caseTie);
}

Boolean EqualString(ConstStr255Param a, ConstStr255Param b, Boolean caseSensitive, Boolean diacSensitive)
{
    if (a == nullptr || b == nullptr)
        return a == b;
    if (a[0] != b[0])
        return false;
    const auto& lower = foldTable().lower;
    const auto& base = diacriticTable().base;
    for (int i = 1; i <= a[0]; ++i) {
        unsigned char ca = a[i];
        unsigned char cb = b[i];
        if (!diacSensitive) {
            ca = base[ca];
            cb = base[cb];
        }
        if (!caseSensitive) {
            ca = lower[ca];
            cb = lower[cb];
        }
        if (ca != cb)
            return false;
    }
    return true;
}

int32_t GetScriptManagerVariable(int16_t selector)
{
    if (selector == smSysScript)
        return smRoman;
    return 0;
}

int16_t CharacterByteType(const char*, int16_t, ScriptCode)
{
    return smSingleByte;
}
