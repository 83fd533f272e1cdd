// The portable front of the file services for code outside the library.
#pragma once

#include "FS_Locator.h"

namespace Corvel {

class FS_FileUtil {
public:
    // The locator's POSIX path, without a trailing '/'.
    static void LocatorToPathName(const FS_Locator& locator, FWString& out);
    // Creates the file; a failure is thrown as its FS exception.
    static void MakeFile(const FS_Locator& locator);
    // True when the locator names an existing file (a plain folder gives false).
    static bool Exists(const FS_Locator& locator);
};

} // namespace Corvel
