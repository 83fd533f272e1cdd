#include "FS_FileTypeRegistry.h"

#include "FWProgrammerMessage.h"
#include "FWStr.h"

#include <map>
#include <memory>
#include <string>

namespace Corvel {

namespace {

const char* const kSourcePath = "FW/From Corvel/FS/FS_FileTypeRegistry";

struct Maps {
    std::multimap<uint32_t, std::string> extensionsOfType;
    std::map<uint32_t, uint32_t> creatorOfType;
    std::map<std::string, uint32_t> typeOfExtension;
    std::map<uint32_t, uint32_t> typeOfCreator;
};

std::unique_ptr<Maps> sMaps;

// Extensions pass through a 31-character string, then are lower-cased byte by byte (ASCII
// letters only: other bytes belong to multi-byte or accented characters).
std::string normalisedExtension(const FWString& extension)
{
    FWStr<31> held(extension);
    std::string lower(held.GetCString(), held.GetCurrLength());
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    }
    return lower;
}

} // namespace

void FS_FileTypeRegistry::Init()
{
    sMaps = std::make_unique<Maps>();
}

void FS_FileTypeRegistry::CleanUp()
{
    sMaps.reset();
}

void FS_FileTypeRegistry::RegisterFileType(uint32_t type, const FWString& extension, uint32_t creator)
{
    if (!sMaps) {
        fw_programmer_message("File type registered before the file services started", kSourcePath, __LINE__);
        return;
    }
    std::string lower = normalisedExtension(extension);
    sMaps->extensionsOfType.emplace(type, lower);
    sMaps->creatorOfType[type] = creator;
    sMaps->typeOfExtension[lower] = type;
    sMaps->typeOfCreator[creator] = type;
}

uint32_t FS_FileTypeRegistry::TypeFromExtension(const FWString& extension)
{
    if (!sMaps)
        return 0;
    auto found = sMaps->typeOfExtension.find(normalisedExtension(extension));
    return found != sMaps->typeOfExtension.end() ? found->second : 0;
}

bool FS_FileTypeRegistry::IsTypeRegistered(uint32_t type)
{
    if (type == 0)
        return true;
    return sMaps && sMaps->creatorOfType.count(type) != 0;
}

uint32_t FS_FileTypeRegistry::CreatorFromType(uint32_t type)
{
    if (!sMaps)
        return 0;
    auto found = sMaps->creatorOfType.find(type);
    return found != sMaps->creatorOfType.end() ? found->second : 0;
}

} // namespace Corvel
