// Colour cursor writer: the black-and-white image and mask for displays without colour, then
// the indexed colour image with its table.
#include "CursorEncoder.h"

#include "RsrcBytes.h"
#include "RsrcError.h"

#include <algorithm>

namespace {

constexpr uint16_t kColourCursor = 0x8001;
constexpr uint32_t k72dpi = 0x00480000;
constexpr uint32_t kWhite = HostArgb(255, 255, 255, 255);

bool opaque(uint32_t word)
{
    return HostAlphaOf(word) == 255;
}

// 16 rows of 2 bytes, the leftmost pixel in the high bit.
void putBits(RsrcBytes& out, const HostPixelMap& pixels, bool (*isSet)(uint32_t))
{
    for (int y = 0; y < CursorEncoder::kSize; ++y) {
        uint16_t row = 0;
        for (int x = 0; x < CursorEncoder::kSize; ++x)
            if (isSet(pixels.Get(x, y)))
                row |= uint16_t(0x8000 >> x);
        out.Put16(row);
    }
}

bool blackBit(uint32_t word)
{
    return opaque(word) && HostBitOf(word);
}

std::vector<uint32_t> colourTable(const HostPixelMap& pixels)
{
    std::vector<uint32_t> table = {kWhite};
    for (int y = 0; y < CursorEncoder::kSize; ++y)
        for (int x = 0; x < CursorEncoder::kSize; ++x) {
            uint32_t word = pixels.Get(x, y);
            if (opaque(word) && std::find(table.begin(), table.end(), word) == table.end())
                table.push_back(word);
        }
    if (table.size() > 256)
        throw RsrcError("a cursor has at most 256 colours");
    return table;
}

int pixelSizeFor(size_t colours)
{
    if (colours <= 4)
        return 2;
    if (colours <= 16)
        return 4;
    return 8;
}

} // namespace

std::vector<uint8_t> CursorEncoder::Encode(const HostPixelMap& pixels, Point hotSpot)
{
    if (!pixels.Valid() || pixels.Depth() != 32 || pixels.Width() != kSize || pixels.Height() != kSize)
        throw RsrcError("a cursor needs a 16 x 16 image");
    if (hotSpot.h < 0 || hotSpot.h >= kSize || hotSpot.v < 0 || hotSpot.v >= kSize)
        throw RsrcError("a cursor's hot spot lies inside its 16 x 16 image");
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            uint8_t alpha = HostAlphaOf(pixels.Get(x, y));
            if (alpha != 0 && alpha != 255)
                throw RsrcError("a cursor's pixels are opaque or transparent");
        }

    const std::vector<uint32_t> table = colourTable(pixels);
    const int pixelSize = pixelSizeFor(table.size());
    const uint16_t rowBytes = uint16_t(kSize * pixelSize / 8);
    const uint32_t tableOffset = uint32_t(kPixDataOffset + size_t(rowBytes) * kSize);

    RsrcBytes out;
    out.Put16(kColourCursor);
    out.Put32(uint32_t(kPixMapOffset));
    out.Put32(uint32_t(kPixDataOffset));
    out.Put32(0); // expanded data
    out.Put16(0); // its depth
    out.Put32(0); // its handle
    putBits(out, pixels, blackBit);
    putBits(out, pixels, opaque);
    out.Put16(uint16_t(hotSpot.v));
    out.Put16(uint16_t(hotSpot.h));
    out.Put32(0); // table id
    out.Put32(0); // cursor id

    out.Put32(0); // base address
    out.Put16(uint16_t(0x8000 | rowBytes));
    out.PutRect(Rect{0, 0, kSize, kSize});
    out.Put16(0); // version
    out.Put16(0); // pack type
    out.Put32(0); // packed size
    out.Put32(k72dpi);
    out.Put32(k72dpi);
    out.Put16(0); // indexed pixels
    out.Put16(uint16_t(pixelSize));
    out.Put16(1);
    out.Put16(uint16_t(pixelSize));
    out.Put32(0); // plane bytes
    out.Put32(tableOffset);
    out.Put32(0); // reserved

    const int perByte = 8 / pixelSize;
    for (int y = 0; y < kSize; ++y)
        for (int byte = 0; byte < rowBytes; ++byte) {
            uint8_t packed = 0;
            for (int i = 0; i < perByte; ++i) {
                uint32_t word = pixels.Get(byte * perByte + i, y);
                size_t index = opaque(word) ? size_t(std::find(table.begin(), table.end(), word) - table.begin()) : 0;
                packed |= uint8_t(index << (8 - pixelSize * (i + 1)));
            }
            out.Put8(packed);
        }

    out.Put32(0); // seed
    out.Put16(0); // flags
    out.Put16(uint16_t(table.size() - 1));
    for (size_t i = 0; i < table.size(); ++i) {
        out.Put16(uint16_t(i));
        out.Put16(uint16_t(HostRedOf(table[i]) * 257));
        out.Put16(uint16_t(HostGreenOf(table[i]) * 257));
        out.Put16(uint16_t(HostBlueOf(table[i]) * 257));
    }
    return out.Take();
}
