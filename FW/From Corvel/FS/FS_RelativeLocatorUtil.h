// Applies a relative locator to a base: each empty name climbs one folder, any other name
// descends into it.
#pragma once

#include "FS_Locator.h"

namespace Corvel {

class FS_RelativeLocatorUtil {
public:
    // out = base with relative's names applied; out may be base itself. Climbing above the
    // base's first name throws FS_BadPathNameX.
    static void Resolve(const FS_Locator& base, const FS_Locator& relative, FS_Locator& out);
};

} // namespace Corvel
