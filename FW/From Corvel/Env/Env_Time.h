// The clock of the environment package; its platform half has nothing to set up.
#pragma once

namespace Corvel {

class Env_Time {
public:
    static void Init();
    static void CleanUp();
};

} // namespace Corvel
