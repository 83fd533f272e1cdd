// Mac Roman <-> Unicode. The upper half of Mac Roman is a fixed table; 0xDB is the euro sign
// and 0xF0 the maker's logo, which lives in the private use area.
#include "HostMacRoman.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

constexpr char16_t kUpperHalf[128] = {
    0x00C4, 0x00C5, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1, // 0x80
    0x00E0, 0x00E2, 0x00E4, 0x00E3, 0x00E5, 0x00E7, 0x00E9, 0x00E8, // 0x88
    0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF, 0x00F1, 0x00F3, // 0x90
    0x00F2, 0x00F4, 0x00F6, 0x00F5, 0x00FA, 0x00F9, 0x00FB, 0x00FC, // 0x98
    0x2020, 0x00B0, 0x00A2, 0x00A3, 0x00A7, 0x2022, 0x00B6, 0x00DF, // 0xA0
    0x00AE, 0x00A9, 0x2122, 0x00B4, 0x00A8, 0x2260, 0x00C6, 0x00D8, // 0xA8
    0x221E, 0x00B1, 0x2264, 0x2265, 0x00A5, 0x00B5, 0x2202, 0x2211, // 0xB0
    0x220F, 0x03C0, 0x222B, 0x00AA, 0x00BA, 0x03A9, 0x00E6, 0x00F8, // 0xB8
    0x00BF, 0x00A1, 0x00AC, 0x221A, 0x0192, 0x2248, 0x2206, 0x00AB, // 0xC0
    0x00BB, 0x2026, 0x00A0, 0x00C0, 0x00C3, 0x00D5, 0x0152, 0x0153, // 0xC8
    0x2013, 0x2014, 0x201C, 0x201D, 0x2018, 0x2019, 0x00F7, 0x25CA, // 0xD0
    0x00FF, 0x0178, 0x2044, 0x20AC, 0x2039, 0x203A, 0xFB01, 0xFB02, // 0xD8
    0x2021, 0x00B7, 0x201A, 0x201E, 0x2030, 0x00C2, 0x00CA, 0x00C1, // 0xE0
    0x00CB, 0x00C8, 0x00CD, 0x00CE, 0x00CF, 0x00CC, 0x00D3, 0x00D4, // 0xE8
    0xF8FF, 0x00D2, 0x00DA, 0x00DB, 0x00D9, 0x0131, 0x02C6, 0x02DC, // 0xF0
    0x00AF, 0x02D8, 0x02D9, 0x02DA, 0x00B8, 0x02DD, 0x02DB, 0x02C7, // 0xF8
};

// (character, byte) pairs of the upper half, sorted by character for the reverse look-up.
const std::array<std::pair<char16_t, uint8_t>, 128>& reverseTable()
{
    static const std::array<std::pair<char16_t, uint8_t>, 128> table = [] {
        std::array<std::pair<char16_t, uint8_t>, 128> t{};
        for (int i = 0; i < 128; ++i)
            t[size_t(i)] = {kUpperHalf[i], uint8_t(0x80 + i)};
        std::sort(t.begin(), t.end());
        return t;
    }();
    return table;
}

} // namespace

char32_t HostMacRomanToUnicode(uint8_t byte)
{
    return byte < 0x80 ? char32_t(byte) : char32_t(kUpperHalf[byte - 0x80]);
}

bool HostUnicodeToMacRoman(char32_t character, uint8_t* byte)
{
    if (byte == nullptr)
        return false;
    if (character < 0x80) {
        *byte = uint8_t(character);
        return true;
    }
    if (character > 0xFFFF)
        return false;
    const auto& table = reverseTable();
    auto it = std::lower_bound(table.begin(), table.end(), std::pair<char16_t, uint8_t>{char16_t(character), 0});
    if (it == table.end() || it->first != char16_t(character))
        return false;
    *byte = it->second;
    return true;
}

void HostAppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

namespace {

// Decodes the strict UTF-8 character at text[i] into c and advances i past it; false (i kept)
// when the bytes there are no character.
bool decodeOne(std::string_view text, size_t& i, char32_t& c)
{
    const uint8_t lead = uint8_t(text[i]);
    const int extra = lead < 0x80 ? 0 : (lead >> 5) == 6 ? 1 : (lead >> 4) == 14 ? 2 : (lead >> 3) == 30 ? 3 : -1;
    if (extra < 0 || i + size_t(extra) >= text.size())
        return false;
    c = extra == 0 ? lead : extra == 1 ? (lead & 0x1F) : extra == 2 ? (lead & 0x0F) : (lead & 0x07);
    for (int k = 1; k <= extra; ++k) {
        const uint8_t next = uint8_t(text[i + size_t(k)]);
        if ((next & 0xC0) != 0x80)
            return false;
        c = (c << 6) | (next & 0x3F);
    }
    static const char32_t kSmallest[4] = {0, 0x80, 0x800, 0x10000};
    if (c < kSmallest[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return false;
    i += size_t(extra) + 1;
    return true;
}

} // namespace

bool HostDecodeUtf8(std::string_view text, std::u32string& out)
{
    for (size_t i = 0; i < text.size();) {
        char32_t c = 0;
        if (!decodeOne(text, i, c))
            return false;
        out += c;
    }
    return true;
}

std::u32string HostFileNameCharacters(std::string_view name)
{
    std::u32string characters;
    for (size_t i = 0; i < name.size();) {
        char32_t c = 0;
        if (!decodeOne(name, i, c))
            c = uint8_t(name[i++]); // Latin-1 is Unicode's first 256 characters
        characters += c;
    }
    return characters;
}
