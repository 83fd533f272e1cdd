// Text of the sources (UTF-8) in the system encoding that resources hold (Mac Roman).
#pragma once

#include <string>

class MacRomanText {
public:
    // The Mac Roman bytes of UTF-8 text; line feeds become carriage returns, the line break of
    // stored text. RsrcError for bytes that are not UTF-8 or a character Mac Roman lacks.
    static std::string FromUTF8(const std::string& utf8);

    // A length-prefixed string of at most 255 bytes ('STR ' resources, menu texts, names);
    // RsrcError when the text is longer.
    static std::string Pascal(const std::string& macRoman);
};
