// Menu resources in their published layouts.
//
// 'MBAR': the number of menus (2), then each menu's id (2).
// 'MENU': id (2), width 0 (2), height 0 (2), definition 0 (4), enable flags (4: bit 0 the menu,
// bit i item i), the title as a length-prefixed string, then per item its text as a
// length-prefixed string and four bytes: icon, key equivalent, mark, style (all 0 here); a zero
// byte ends the items. A separator is the disabled item "(-".
#pragma once

#include "HostTypes.h"

#include <cstdint>
#include <string>
#include <vector>

class MenuEncoder {
public:
    struct Menu {
        int16_t id = 0;
        std::string title;              // Mac Roman
        std::vector<std::string> items; // Mac Roman; "-" is a separator
    };

    static std::vector<uint8_t> EncodeMenuBar(const std::vector<int16_t>& menuIDs);
    // RsrcError for a title or item longer than 255 bytes.
    static std::vector<uint8_t> EncodeMenu(const Menu& menu);

    // Sources. A menu bar's source lists menu ids separated by white space. A menu's source
    // (Mac Roman, carriage-return lines) holds the title on its first line and one item a line
    // after it; lines starting with '#' and empty lines are skipped. RsrcError for anything else
    // or for more items than the enable flags can name (31).
    static std::vector<int16_t> ParseMenuBar(const std::string& source);
    static Menu ParseMenu(int16_t id, const std::string& source);

    static constexpr size_t kMaxItems = 31;
};
