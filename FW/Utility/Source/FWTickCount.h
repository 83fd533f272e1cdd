// The framework's clock: ticks (sixtieths of a second) of the current event time.
#pragma once

#include <cstdint>

uint32_t FWTickCount();
