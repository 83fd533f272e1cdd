// A file or folder named by its path components, outermost first, plus a four-character file
// type (0 = none). An empty component stands for the parent folder. Locators are the file-name
// currency of the framework: conversions to paths and platform references are in FS_UtilPAC.
#pragma once

#include "FWDynamicString.h"

#include <cstdint>
#include <vector>

namespace Corvel {

class FS_Locator {
public:
    FS_Locator() = default;
    FS_Locator(const FS_Locator&) = default;
    FS_Locator& operator=(const FS_Locator&) = default;

    // Names
    void AppendName(const char* name);
    void AppendName(const FWString& name);
    void RemoveLastName(); // an empty locator stays empty
    void Clear();          // no names, type 0
    uint32_t NumNames() const { return uint32_t(mNames.size()); }
    // The name at index; an index at or past the end gives the last name. The locator must not
    // be empty: an empty one reports the misuse and gives an empty name.
    const FWDynamicString& operator[](uint32_t index) const;
    const FWDynamicString& LastName() const;

    // Type
    uint32_t FileType() const { return mFileType; }
    void SetFileType(uint32_t type) { mFileType = type; }

private:
    std::vector<FWDynamicString> mNames;
    uint32_t mFileType = 0;
};

// Same names one by one (by the script-aware string equality); the types are not compared.
bool operator==(const FS_Locator& a, const FS_Locator& b);
inline bool operator!=(const FS_Locator& a, const FS_Locator& b)
{
    return !(a == b);
}

} // namespace Corvel
