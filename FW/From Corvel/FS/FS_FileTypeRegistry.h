// The file types the application deals with: their file-name extensions (kept lower-case,
// several per type) and their creator codes. Locators take their type from it and new files
// their creator. Process-wide; the maps exist between Init and CleanUp.
#pragma once

#include "FWString.h"

#include <cstdint>

namespace Corvel {

class FS_FileTypeRegistry {
public:
    static void Init();
    static void CleanUp();

    // Adds the extension (lower-cased, cut to 31 characters) to the type's extensions and
    // makes type, extension and creator point at each other, replacing earlier entries.
    static void RegisterFileType(uint32_t type, const FWString& extension, uint32_t creator);

    // The type registered for the extension (any case); 0 if none.
    static uint32_t TypeFromExtension(const FWString& extension);
    // Type 0 counts as registered.
    static bool IsTypeRegistered(uint32_t type);
    // The type's creator; 0 if the type is not registered.
    static uint32_t CreatorFromType(uint32_t type);
};

} // namespace Corvel
