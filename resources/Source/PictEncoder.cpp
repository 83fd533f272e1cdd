// Version 2 picture writer: header, clip region, one DirectBitsRect, end.
#include "PictEncoder.h"

#include "PackBits.h"
#include "RsrcBytes.h"
#include "RsrcError.h"

namespace {

constexpr uint16_t kOpClip = 0x0001;
constexpr uint16_t kOpVersion = 0x0011;
constexpr uint16_t kVersion2 = 0x02FF;
constexpr uint16_t kOpHeader = 0x0C00;
constexpr uint16_t kOpDirectBitsRect = 0x009A;
constexpr uint16_t kOpEnd = 0x00FF;
constexpr uint32_t k72dpi = 0x00480000; // 72.0 as a 16.16 fixed-point number
constexpr uint16_t kPixMapFlag = 0x8000;
constexpr uint16_t kRGBDirect = 16;

bool allOpaque(const HostPixelMap& pixels)
{
    for (int32_t y = 0; y < pixels.Height(); ++y)
        for (int32_t x = 0; x < pixels.Width(); ++x)
            if (HostAlphaOf(pixels.Get(x, y)) != 255)
                return false;
    return true;
}

void putPixMap(RsrcBytes& out, const Rect& bounds, uint16_t rowBytes, uint16_t packType, uint16_t components)
{
    out.Put16(uint16_t(kPixMapFlag | rowBytes));
    out.PutRect(bounds);
    out.Put16(0);        // version
    out.Put16(packType);
    out.Put32(0);        // packed size
    out.Put32(k72dpi);   // horizontal resolution
    out.Put32(k72dpi);   // vertical resolution
    out.Put16(kRGBDirect);
    out.Put16(32);       // pixel size
    out.Put16(components);
    out.Put16(8);        // component size
    out.Put32(0);        // plane bytes
    out.Put32(0);        // colour table
    out.Put32(0);        // reserved
}

// One row as planes of width bytes each: alpha (with four components), red, green, blue.
std::vector<uint8_t> rowPlanes(const HostPixelMap& pixels, int32_t y, uint16_t components)
{
    const int32_t width = pixels.Width();
    std::vector<uint8_t> planes(size_t(width) * components);
    for (int32_t x = 0; x < width; ++x) {
        uint32_t word = pixels.Get(x, y);
        size_t plane = 0;
        if (components == 4)
            planes[size_t(width) * plane++ + size_t(x)] = HostAlphaOf(word);
        planes[size_t(width) * plane++ + size_t(x)] = HostRedOf(word);
        planes[size_t(width) * plane++ + size_t(x)] = HostGreenOf(word);
        planes[size_t(width) * plane + size_t(x)] = HostBlueOf(word);
    }
    return planes;
}

void putPackedRows(RsrcBytes& out, const HostPixelMap& pixels, uint16_t rowBytes, uint16_t components)
{
    std::vector<uint8_t> packed;
    for (int32_t y = 0; y < pixels.Height(); ++y) {
        std::vector<uint8_t> planes = rowPlanes(pixels, y, components);
        packed.clear();
        PackBits::Pack(planes.data(), planes.size(), packed);
        if (rowBytes > 250) {
            out.Put16(uint16_t(packed.size()));
        } else {
            // Row bytes of 250 or less pack to at most 252 bytes: the count fits a byte.
            out.Put8(uint8_t(packed.size()));
        }
        out.PutBytes(packed);
    }
}

void putRawRows(RsrcBytes& out, const HostPixelMap& pixels)
{
    for (int32_t y = 0; y < pixels.Height(); ++y)
        for (int32_t x = 0; x < pixels.Width(); ++x)
            out.Put32(pixels.Get(x, y));
}

} // namespace

std::vector<uint8_t> PictEncoder::Encode(const HostPixelMap& pixels)
{
    if (!pixels.Valid() || pixels.Depth() != 32)
        throw RsrcError("a picture needs a 32-bit store");
    if (pixels.Width() > kMaxWidth || pixels.Height() > 0x7FFF)
        throw RsrcError("a picture is at most 4095 pixels wide and 32767 high");

    const Rect frame = {0, 0, int16_t(pixels.Height()), int16_t(pixels.Width())};
    const uint16_t rowBytes = uint16_t(pixels.Width() * 4);
    const bool raw = rowBytes < 8;
    const uint16_t components = allOpaque(pixels) ? 3 : 4;

    RsrcBytes out;
    out.Put16(0); // size, patched at the end
    out.PutRect(frame);
    out.Put16(kOpVersion);
    out.Put16(kVersion2);

    out.Put16(kOpHeader);
    out.Put16(0xFFFE); // extended version 2 header
    out.Put16(0);
    out.Put32(k72dpi);
    out.Put32(k72dpi);
    out.PutRect(frame);
    out.Put32(0);

    out.Put16(kOpClip);
    out.Put16(10); // region size: the size word and the bounding box
    out.PutRect(frame);

    out.Put16(kOpDirectBitsRect);
    out.Put32(0x000000FF); // base address, unused in a stored picture
    putPixMap(out, frame, rowBytes, raw ? 1 : 4, components);
    out.PutRect(frame); // source
    out.PutRect(frame); // destination
    out.Put16(0);       // copy
    if (raw)
        putRawRows(out, pixels);
    else
        putPackedRows(out, pixels, rowBytes, components);
    if (out.Size() % 2 != 0)
        out.Put8(0);

    out.Put16(kOpEnd);
    out.Patch16(0, uint16_t(out.Size()));
    return out.Take();
}
