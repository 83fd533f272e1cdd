// One converter per source kind; sources are read whole and checked before anything is written.
#include "RsrcCompiler.h"

#include "ArgbEncoder.h"
#include "CursorEncoder.h"
#include "HostPNG.h"
#include "MacRomanText.h"
#include "MenuEncoder.h"
#include "PictEncoder.h"
#include "RsrcError.h"

#include <fstream>
#include <sstream>

namespace {

constexpr ResType kArgb = FOUR_CHAR_CODE("argb");
constexpr ResType kPict = FOUR_CHAR_CODE("PICT");
constexpr ResType kCursor = FOUR_CHAR_CODE("crsr");
constexpr ResType kMenuBar = FOUR_CHAR_CODE("MBAR");
constexpr ResType kMenu = FOUR_CHAR_CODE("MENU");
constexpr ResType kString = FOUR_CHAR_CODE("STR ");

HostPixelMap readImage(const std::string& path)
{
    HostPixelMap pixels;
    OSErr err = HostReadPNG(path.c_str(), pixels);
    if (err == fnfErr)
        throw RsrcError("the source is missing");
    if (err != noErr)
        throw RsrcError("the source is not a readable PNG image (error " + std::to_string(err) + ")");
    return pixels;
}

// The text in Mac Roman, without one final line break.
std::string readText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw RsrcError("the source is missing");
    std::ostringstream text;
    text << in.rdbuf();
    std::string utf8 = text.str();
    if (!utf8.empty() && utf8.back() == '\n')
        utf8.pop_back();
    return MacRomanText::FromUTF8(utf8);
}

std::vector<uint8_t> compileData(const std::string& path, const RsrcManifest::Entry& entry)
{
    switch (entry.type) {
    case kArgb:
        return ArgbEncoder::Encode(readImage(path));
    case kPict:
        return PictEncoder::Encode(readImage(path));
    case kCursor:
        return CursorEncoder::Encode(readImage(path), entry.hotSpot);
    case kMenuBar:
        return MenuEncoder::EncodeMenuBar(MenuEncoder::ParseMenuBar(readText(path)));
    case kMenu:
        return MenuEncoder::EncodeMenu(MenuEncoder::ParseMenu(entry.id, readText(path)));
    case kString: {
        std::string text = MacRomanText::Pascal(readText(path));
        return std::vector<uint8_t>(text.begin(), text.end());
    }
    default:
        throw RsrcError("no converter makes this type");
    }
}

} // namespace

bool RsrcCompiler::Makes(ResType type)
{
    return type == kArgb || type == kPict || type == kCursor || type == kMenuBar || type == kMenu || type == kString;
}

RsrcCompiler::Resource RsrcCompiler::Compile(const RsrcManifest& manifest, const RsrcManifest::Entry& entry)
{
    const std::string path = manifest.SourcePath(entry);
    Resource resource;
    resource.type = entry.type;
    resource.id = entry.id;
    try {
        std::string name = MacRomanText::FromUTF8(entry.purpose);
        resource.name = name.substr(0, 255);
        resource.data = compileData(path, entry);
    } catch (const RsrcError& e) {
        throw RsrcError(RsrcManifest::Describe(entry.type, entry.id) + " (manifest line " +
                        std::to_string(entry.line) + ", " + path + "): " + e.what());
    }
    return resource;
}

std::vector<RsrcCompiler::Resource> RsrcCompiler::CompileAll(const RsrcManifest& manifest)
{
    std::vector<Resource> resources;
    resources.reserve(manifest.Entries().size());
    for (const RsrcManifest::Entry& entry : manifest.Entries())
        resources.push_back(Compile(manifest, entry));
    return resources;
}
