// Small services of the plain-function interface layer.
#pragma once

#include <cstdint>

namespace QZ_Util {

// The layer's modifier flags from the platform's modifier bits: shift 1, control 2 and 16,
// command 4, option 8.
uint32_t GetQZModifiers(unsigned short modifiers);

} // namespace QZ_Util
