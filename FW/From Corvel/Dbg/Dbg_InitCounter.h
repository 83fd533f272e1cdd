// Counts a package's initialisations so that only the first Init and the last CleanUp work.
#pragma once

#include <cstdint>

namespace Corvel {

class Dbg_InitCounter {
public:
    // Counts one more user; true for the first.
    bool ShouldInit() { return ++mCount == 1; }
    // Counts one user less; true for the last. A clean-up with no user left counts nothing and
    // answers false, so an unbalanced call cannot stop the next Init from working.
    bool ShouldCleanUp()
    {
        if (mCount == 0)
            return false;
        return --mCount == 0;
    }
    uint32_t Count() const { return mCount; }

private:
    uint32_t mCount = 0;
};

} // namespace Corvel
