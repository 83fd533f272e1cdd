// Small image resources in their stored form, for tests that need a real picture or icon.
#pragma once

#include "ByteBuilder.h"

#include <cstdint>

// A 2 x 1 'PICT' with one directly stored opaque pixel of the colour (ARGB) at (0, 0).
ByteBuilder SamplePicture(uint32_t color);
// A 1 x 1 'cicn' of 8-bit pixels whose single colour-table entry is red.
ByteBuilder SampleColourIcon();
// An 'argb' image of one colour (ARGB), stored as runs.
ByteBuilder SampleArgb(int width, int height, uint32_t color);
