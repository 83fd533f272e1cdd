// One entry of the locator registry: a locator, absolute or relative to another entry.
#pragma once

#include "FS_Locator.h"

namespace Corvel {

struct FS_RegInfo {
    int parentKey = 0; // 0: the locator is absolute
    FS_Locator locator;
};

} // namespace Corvel
