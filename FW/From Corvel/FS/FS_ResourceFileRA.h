// Scope guard over one resource file: opens it (making it current) for the guard's lifetime,
// then closes it and makes the previously current file current again. It never throws for a
// file that cannot be opened: the caller asks OpenedResourceFile. Guards nest: destroy them in
// the reverse order of their construction.
#pragma once

#include "FS_Locator.h"

#include <cstdint>

namespace Corvel {

class FS_ResourceFileRA {
public:
    FS_ResourceFileRA(const FS_Locator& file, bool writable);
    ~FS_ResourceFileRA();
    FS_ResourceFileRA(const FS_ResourceFileRA&) = delete;
    FS_ResourceFileRA& operator=(const FS_ResourceFileRA&) = delete;

    // The opened file's reference; 0 when opening failed, and then no resource may be used
    // from it.
    int32_t OpenedResourceFile() const { return mOpenedFile; }

private:
    int32_t mOpenedFile;
    int32_t mPreviousFile;
};

} // namespace Corvel
