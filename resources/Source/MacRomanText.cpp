// UTF-8 decoding into the host's Mac Roman map.
#include "MacRomanText.h"

#include "HostMacRoman.h"
#include "RsrcError.h"

namespace {

// The character starting at text[at]; advances at past it. Overlong forms and surrogates are
// refused like any other malformed sequence.
char32_t nextCharacter(const std::string& text, size_t& at)
{
    const auto byte = [&](size_t i) { return uint8_t(text[i]); };
    uint8_t lead = byte(at);
    size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || at + length > text.size())
        throw RsrcError("text is not UTF-8");
    char32_t c = length == 1 ? lead : char32_t(lead & (0x7F >> length));
    for (size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            throw RsrcError("text is not UTF-8");
        c = (c << 6) | (byte(at + i) & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kSmallest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        throw RsrcError("text is not UTF-8");
    at += length;
    return c;
}

} // namespace

std::string MacRomanText::FromUTF8(const std::string& utf8)
{
    std::string out;
    size_t at = 0;
    while (at < utf8.size()) {
        char32_t c = nextCharacter(utf8, at);
        if (c == U'\n') {
            out.push_back('\r');
            continue;
        }
        uint8_t byte = 0;
        if (!HostUnicodeToMacRoman(c, &byte))
            throw RsrcError("text holds a character that Mac Roman lacks");
        out.push_back(char(byte));
    }
    return out;
}

std::string MacRomanText::Pascal(const std::string& macRoman)
{
    if (macRoman.size() > 255)
        throw RsrcError("a stored string holds at most 255 bytes");
    return std::string(1, char(uint8_t(macRoman.size()))) + macRoman;
}
