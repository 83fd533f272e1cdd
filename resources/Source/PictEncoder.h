// Writes a 32-bit image as a version 2 picture ('PICT'): one direct-bits copy of the whole image.
//
//   picture size (2, low 16 bits of the length), frame (8), 0x0011 0x02FF (version 2),
//   0x0C00 extended header (24: -2, 0, 72 dpi twice, the frame, 0), 0x0001 clip region (the
//   frame), 0x009A DirectBitsRect: base address 0xFF (4), pixel map (46), source and destination
//   rectangles, mode 0 (copy), the rows; then 0x00FF. Every opcode starts at an even offset.
//
// The pixel map has pixel size 32 with 3 components (red, green, blue) when every pixel is
// opaque, else 4 (alpha first). Rows are PackBits-packed component planes (pack type 4), each
// led by its byte count (one byte while row bytes are 250 or less, else two); images narrower
// than 2 pixels (row bytes below 8) store raw rows of alpha, red, green, blue (pack type 1).
#pragma once

#include "HostPixels.h"

#include <cstdint>
#include <vector>

class PictEncoder {
public:
    // The picture of a valid 32-bit store whose frame is (0, 0, height, width); RsrcError for
    // another store or one wider than row bytes can hold.
    static std::vector<uint8_t> Encode(const HostPixelMap& pixels);

    // Offsets into the picture, for readers and tests.
    static constexpr size_t kPixMapOffset = 58;  // row bytes of the direct-bits pixel map
    static constexpr size_t kRowsOffset = 122;   // the first row's byte count
    // The widest image: row bytes keep their top two bits for flags.
    static constexpr int32_t kMaxWidth = 0x3FFF / 4;
};
