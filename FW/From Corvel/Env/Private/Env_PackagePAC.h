// Platform half of the environment package: the start-up checks of the system and of the
// program's own requirement resources, and the hidden drawing port kept for the whole run.
//
// Requirement resources of the current resource file (big-endian):
//   'GstV' u16 n, then n records of 14 bytes: selector, minimum, maximum (u32; 0 = no bound),
//          alert id (u16). A record passes when minimum <= Gestalt(selector) <= maximum.
//   'GstA' u16 n, then n records of 16 bytes: selector, bits that must be set, bits that must be
//          clear (u32), alert id, reserved (u16).
//   'NBOX' any content: switches the Classic-environment check on.
// A failed check shows its alert and ends the program.
#pragma once

#include "HostEnvironment.h"

#include <cstdint>

namespace Corvel {

class Env_PackagePAC {
public:
    static void Init();
    static void CleanUp();

    // The system version read at start-up (BCD: 0x1000 is 10.0); 0 before.
    static int32_t SystemVersion() { return sSystemVersion; }
    // The hidden port, 0 when there is none.
    static HostPortToken HiddenPort() { return sHiddenPort; }

    // Alerts shown when a required system feature is missing or the program finds itself in
    // the Classic environment.
    static constexpr int16_t kMissingFeatureAlert = 200;
    static constexpr int16_t kClassicEnvironmentAlert = 201;

private:
    static int32_t sSystemVersion;
    static HostPortToken sHiddenPort;
};

} // namespace Corvel
