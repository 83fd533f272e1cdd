// Writes a 16 x 16 image as a colour cursor ('crsr'), in the published layout:
//
//   0    type 0x8001 (colour cursor)
//   2    offset of the pixel map (96), 6 offset of the pixel data (146)
//   10   expanded data, its depth and handle: 0 (4 + 2 + 4)
//   20   1-bit image (32 bytes, 2 a row, a set bit black), 52 mask (32 bytes)
//   84   hot spot (v, h), 88 table and id: 0 (4 + 4)
//   96   pixel map (50): base address 0, row bytes | 0x8000, bounds (0, 0, 16, 16), version 0,
//        pack type 0, packed size 0, 72 dpi twice, pixel type 0 (indexed), pixel size,
//        component count 1, component size = pixel size, plane bytes 0, offset of the colour
//        table, reserved 0
//   146  pixel data: 16 rows of row bytes, indices with the leftmost pixel in the high bits
//   ...  colour table: seed 0, flags 0, entry count - 1, then per entry its index and red,
//        green, blue as 16-bit channels (c * 257)
//
// Pixels are opaque (in the mask) or fully transparent; the table lists white first (the index
// of transparent pixels), then the image's colours in the order they first appear. The pixel
// size is the smallest of 2, 4 and 8 that indexes them all.
#pragma once

#include "HostPixels.h"

#include <cstdint>
#include <vector>

class CursorEncoder {
public:
    // RsrcError for a store that is not 32-bit 16 x 16, for a pixel neither opaque nor
    // transparent, for more than 256 colours, or for a hot spot outside the image.
    static std::vector<uint8_t> Encode(const HostPixelMap& pixels, Point hotSpot);

    static constexpr int kSize = 16;
    static constexpr size_t kPixMapOffset = 96;
    static constexpr size_t kPixDataOffset = 146;
};
