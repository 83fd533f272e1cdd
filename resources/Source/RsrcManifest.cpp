// Manifest reading: one entry a line, checked as it is read.
#include "RsrcManifest.h"

#include "RsrcError.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <utility>

namespace {

constexpr ResType kCursorType = FOUR_CHAR_CODE("crsr");

[[noreturn]] void fail(int line, const std::string& problem)
{
    throw RsrcError("manifest line " + std::to_string(line) + ": " + problem);
}

void skipSpaces(const std::string& text, size_t& at)
{
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
        ++at;
}

std::string nextWord(const std::string& text, size_t& at)
{
    skipSpaces(text, at);
    size_t start = at;
    while (at < text.size() && text[at] != ' ' && text[at] != '\t')
        ++at;
    return text.substr(start, at - start);
}

bool parseNumber(const std::string& word, long low, long high, long& value)
{
    if (word.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtol(word.c_str(), &end, 10);
    return errno == 0 && *end == 0 && value >= low && value <= high;
}

RsrcManifest::Entry parseLine(const std::string& text, int line)
{
    RsrcManifest::Entry entry;
    entry.line = line;
    size_t at = 0;
    skipSpaces(text, at);
    if (at + 6 > text.size() || text[at] != '\'' || text[at + 5] != '\'')
        fail(line, "a line starts with a type of four characters in single quotes");
    for (int i = 1; i <= 4; ++i)
        entry.type = (entry.type << 8) | uint8_t(text[at + size_t(i)]);
    at += 6;
    if (at < text.size() && text[at] != ' ' && text[at] != '\t')
        fail(line, "a space follows the type");

    long id = 0;
    if (!parseNumber(nextWord(text, at), -32768, 32767, id))
        fail(line, "the type is followed by an id from -32768 to 32767");
    entry.id = ResID(id);

    entry.source = nextWord(text, at);
    if (entry.source.empty())
        fail(line, "the id is followed by the source's path");

    size_t beforeOption = at;
    std::string option = nextWord(text, at);
    if (option.rfind("hot=", 0) == 0) {
        std::string spot = option.substr(4);
        size_t comma = spot.find(',');
        long h = 0;
        long v = 0;
        if (comma == std::string::npos || !parseNumber(spot.substr(0, comma), 0, 32767, h) ||
            !parseNumber(spot.substr(comma + 1), 0, 32767, v))
            fail(line, "a hot spot is written hot=h,v");
        entry.hasHotSpot = true;
        entry.hotSpot = Point{int16_t(v), int16_t(h)};
    } else {
        at = beforeOption;
    }
    if (entry.hasHotSpot != (entry.type == kCursorType))
        fail(line, entry.hasHotSpot ? "only a cursor has a hot spot" : "a cursor needs its hot spot (hot=h,v)");

    skipSpaces(text, at);
    entry.purpose = text.substr(at);
    while (!entry.purpose.empty() && (entry.purpose.back() == ' ' || entry.purpose.back() == '\t'))
        entry.purpose.pop_back();
    if (entry.purpose.empty())
        fail(line, "every resource says what it is for");
    return entry;
}

} // namespace

RsrcManifest RsrcManifest::Parse(const std::string& text)
{
    RsrcManifest manifest;
    std::set<std::pair<ResType, ResID>> seen;
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#')
            continue;
        Entry entry = parseLine(line, number);
        if (!seen.insert({entry.type, entry.id}).second)
            fail(number, Describe(entry.type, entry.id) + " is listed twice");
        manifest.mEntries.push_back(std::move(entry));
    }
    return manifest;
}

RsrcManifest RsrcManifest::Load(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw RsrcError("cannot read the manifest " + path);
    std::ostringstream text;
    text << in.rdbuf();
    RsrcManifest manifest = Parse(text.str());
    manifest.mFolder = std::filesystem::absolute(std::filesystem::path(path)).parent_path().string();
    return manifest;
}

std::string RsrcManifest::SourcePath(const Entry& entry) const
{
    if (mFolder.empty())
        return entry.source;
    return (std::filesystem::path(mFolder) / entry.source).string();
}

std::string RsrcManifest::Describe(ResType type, ResID id)
{
    std::string text = "'";
    for (int shift = 24; shift >= 0; shift -= 8)
        text.push_back(char(uint8_t(type >> shift)));
    return text + "' " + std::to_string(id);
}
