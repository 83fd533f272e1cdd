// Menu bar and menu resources, and the small text sources they are made from.
#include "MenuEncoder.h"

#include "MacRomanText.h"
#include "RsrcBytes.h"
#include "RsrcError.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

namespace {

constexpr const char* kSeparator = "(-";

std::vector<std::string> lines(const std::string& source)
{
    std::vector<std::string> result;
    std::string line;
    std::istringstream in(source);
    while (std::getline(in, line, '\r')) {
        if (line.empty() || line[0] == '#')
            continue;
        result.push_back(line);
    }
    return result;
}

void putText(RsrcBytes& out, const std::string& text)
{
    for (char c : MacRomanText::Pascal(text))
        out.Put8(uint8_t(c));
}

} // namespace

std::vector<uint8_t> MenuEncoder::EncodeMenuBar(const std::vector<int16_t>& menuIDs)
{
    RsrcBytes out;
    out.Put16(uint16_t(menuIDs.size()));
    for (int16_t id : menuIDs)
        out.Put16(uint16_t(id));
    return out.Take();
}

std::vector<uint8_t> MenuEncoder::EncodeMenu(const Menu& menu)
{
    if (menu.items.size() > kMaxItems)
        throw RsrcError("a menu holds at most 31 items");
    uint32_t enabled = 1; // the menu itself
    for (size_t i = 0; i < menu.items.size(); ++i)
        if (menu.items[i] != "-")
            enabled |= uint32_t(1) << (i + 1);

    RsrcBytes out;
    out.Put16(uint16_t(menu.id));
    out.Put16(0); // width and height, computed when the menu is shown
    out.Put16(0);
    out.Put32(0); // the standard menu definition
    out.Put32(enabled);
    putText(out, menu.title);
    for (const std::string& item : menu.items) {
        putText(out, item == "-" ? kSeparator : item);
        out.PutZeros(4); // icon, key equivalent, mark, style
    }
    out.Put8(0);
    return out.Take();
}

std::vector<int16_t> MenuEncoder::ParseMenuBar(const std::string& source)
{
    std::vector<int16_t> ids;
    for (const std::string& line : lines(source)) {
        std::istringstream words(line);
        std::string word;
        while (words >> word) {
            char* end = nullptr;
            errno = 0;
            long id = std::strtol(word.c_str(), &end, 10);
            if (errno != 0 || *end != 0 || id < -32768 || id > 32767)
                throw RsrcError("a menu bar lists menu ids: '" + word + "' is not one");
            ids.push_back(int16_t(id));
        }
    }
    if (ids.empty())
        throw RsrcError("a menu bar lists at least one menu");
    return ids;
}

MenuEncoder::Menu MenuEncoder::ParseMenu(int16_t id, const std::string& source)
{
    std::vector<std::string> all = lines(source);
    if (all.empty())
        throw RsrcError("a menu's source starts with its title");
    Menu menu;
    menu.id = id;
    menu.title = all.front();
    menu.items.assign(all.begin() + 1, all.end());
    if (menu.items.size() > kMaxItems)
        throw RsrcError("a menu holds at most 31 items");
    return menu;
}
