// The byte a floating-point colour component becomes: component x 255, truncated toward zero.
#pragma once

#include <cstdint>

// Values outside 0..1 are not clamped: the truncated number keeps its low byte, as in an
// integer conversion; a NaN or a number beyond any byte range gives 0.
uint8_t FWComponentToByte(float component);
