// The environment package: the system checks and drawing port of start-up (Env_PackagePAC)
// and the clock (Env_Time), brought up by the first Init and down by the last CleanUp.
#pragma once

#include <cstdint>

namespace Corvel {

class Env_Package {
public:
    static void Init();
    static void CleanUp();

    // Users counted so far.
    static uint32_t InitCount() { return sCount; }

private:
    static uint32_t sCount;
};

} // namespace Corvel
