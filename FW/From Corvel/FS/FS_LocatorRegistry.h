// Well-known folders by small negative key (-1 the application, -2 its folder, -3 the user's
// preferences, -4 temporary items, -5 the "Preferences" folder beside the application, -6 the
// executable's folder, -7 the desktop), filled at start-up. Process-wide; the map exists
// between Init and CleanUp.
#pragma once

#include "FS_Locator.h"

namespace Corvel {

class FS_LocatorRegistry {
public:
    static void Init();
    static void CleanUp();

    // Stores a copy under the key; a key registered before keeps its first locator.
    static void RegisterLocator(int key, const FS_Locator& locator);
    // The locator of the key (an entry relative to another is resolved against it); out is
    // cleared for a key never registered. Resolving may throw FS_BadPathNameX.
    static void LookUpLocator(int key, FS_Locator& out);
};

} // namespace Corvel
