// The debugging package: it has nothing to start or stop, but packages that use it say so.
#pragma once

namespace Corvel {

class Dbg_Package {
public:
    static void Init() {}
    static void CleanUp() {}
};

} // namespace Corvel
