// Platform half of the clock: the host's tick count needs no start-up.
#pragma once

namespace Corvel {

class Env_TimePAC {
public:
    static void Init() {}
    static void CleanUp() {}
};

} // namespace Corvel
