// The readers of the image resource types. All stored data is big-endian; every read is
// checked against the resource's size, so damaged data throws instead of reading past it.
#include "DiskImageDecoder.h"

#include "DiskImage.h"
#include "DiskImageAllocateFailureX.h"
#include "FWArgb32.h"
#include "FWStreamHelpers.h"
#include "FWMemoryStream.h"
#include "FWStreamException.h"
#include "HostTypes.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {


constexpr uint32_t kOpaqueBlack = MakeColor32(255, 0, 0, 0);
constexpr uint32_t kOpaqueWhite = MakeColor32(255, 255, 255, 255);

[[noreturn]] void fail(const char* reason)
{
    throw DiskImageAllocateFailureX(reason);
}

// A big-endian memory stream over the resource bytes; reading or moving past the end throws.
// Rows are taken in place from the stream's buffer.
class Reader {
public:
    Reader(const uint8_t* data, size_t size)
        : mStream(FWStream::kReadOnly, FWPlatform::kBigEndian, data, checkedSize(data, size))
    {
    }

    size_t Position() { return mStream.GetStreamPosition(); }
    size_t Remaining() { return mStream.GetStreamSize() - mStream.GetStreamPosition(); }

    const uint8_t* Take(size_t n)
    {
        if (n > Remaining())
            fail("data ends early");
        const size_t at = Position();
        mStream.SetStreamPosition(uint32_t(at + n));
        return reinterpret_cast<const uint8_t*>(mStream.Buffer()) + at;
    }
    void Skip(size_t n) { Take(n); }
    void Seek(int64_t position)
    {
        if (position < 0 || position > int64_t(mStream.GetStreamSize()))
            fail("offset outside the data");
        mStream.SetStreamPosition(uint32_t(position));
    }
    void AlignEven()
    {
        if ((Position() & 1) != 0)
            Skip(1);
    }

    uint8_t Byte() { return mStream.ReadUChar(); }
    uint16_t UShort() { return mStream.ReadUShort(); }
    int16_t Short() { return mStream.ReadShort(); }
    uint32_t ULong() { return mStream.ReadULong(); }
    int32_t Long() { return mStream.ReadLong(); }
    // Stored top, left, bottom, right.
    FWRect Rect()
    {
        FWRect r;
        ReadFWRect(mStream, r);
        return r;
    }

private:
    static uint32_t checkedSize(const uint8_t* data, size_t size)
    {
        if (data == nullptr)
            return 0;
        if (size > 0x7FFFFFFF)
            fail("resource too large");
        return uint32_t(size);
    }

    FWMemoryStream mStream;
};

// A colour table: the entries a pixel size can index (2, 4, 16 or 256). Entries the stored
// table does not list stay black.
struct ColorTable {
    std::vector<FWRgb32> entries;
    int32_t listed = 0;

    bool Empty() const { return listed == 0; }
    uint32_t Color(uint32_t index) const
    {
        if (index >= entries.size())
            return kOpaqueBlack;
        const FWRgb32& c = entries[index];
        return MakeColor32(255, c.r, c.g, c.b);
    }
};

int32_t tableCapacity(int32_t pixelSize)
{
    switch (pixelSize) {
    case 1:
        return 2;
    case 2:
        return 4;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

// Seed and flags, the entry count less one, then entries of a value and three 16-bit channels
// (the high byte kept). Entries go to the index of their value or in stored order.
ColorTable ParseColorTable(Reader& in, int32_t pixelSize, bool byValue)
{
    ColorTable table;
    in.Skip(6);
    const int32_t count = int32_t(in.Short()) + 1;
    const int32_t capacity = tableCapacity(pixelSize);
    // A table stored for pixels without one (direct pixels, or a damaged size) is read past and
    // keeps no entry; the caller decides what the pixel size allows.
    table.entries.assign(size_t(capacity), FWRgb32());
    for (int32_t i = 0; i < count; ++i) {
        const uint16_t value = in.UShort();
        const uint8_t r = uint8_t(in.UShort() >> 8);
        const uint8_t g = uint8_t(in.UShort() >> 8);
        const uint8_t b = uint8_t(in.UShort() >> 8);
        const int32_t index = byValue ? int32_t(value) : i;
        if (index < capacity) {
            table.entries[size_t(index)] = FWRgb32(r, g, b);
            ++table.listed;
        }
    }
    return table;
}

// The index of pixel x in a row of pixelSize-bit indices, leftmost in the most significant bits.
uint32_t indexAt(const uint8_t* row, int32_t x, int32_t pixelSize)
{
    switch (pixelSize) {
    case 1:
        return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 2:
        return (row[x >> 2] >> (6 - 2 * (x & 3))) & 3;
    case 4:
        return (row[x >> 1] >> ((x & 1) != 0 ? 0 : 4)) & 15;
    default:
        return row[x];
    }
}

uint32_t color16(const uint8_t* p)
{
    const uint32_t v = uint32_t(p[0]) << 8 | p[1];
    return MakeColor32(255, DiskImageDecoder::Widen5((v >> 10) & 31), DiskImageDecoder::Widen5((v >> 5) & 31),
                       DiskImageDecoder::Widen5(v & 31));
}

bool isPixelSize(int32_t pixelSize)
{
    return pixelSize == 1 || pixelSize == 2 || pixelSize == 4 || pixelSize == 8 || pixelSize == 16 ||
           pixelSize == 32;
}

// Bytes that width pixels of a pixel size take.
int64_t rowBytesNeeded(int32_t width, int32_t pixelSize)
{
    return (int64_t(width) * pixelSize + 7) / 8;
}

// Converts one unpacked row of a colour icon or pattern: indices through the table, 16-bit
// values widened, 32-bit pixels as a skipped byte and red, green, blue. Alpha comes from base.
void convertIconRow(DiskImageDecoder::Pixels& pixels, int32_t y, const uint8_t* row, int32_t pixelSize,
                    const ColorTable& table, bool keepAlpha)
{
    for (int32_t x = 0; x < pixels.width; ++x) {
        uint32_t color;
        if (pixelSize <= 8)
            color = table.Color(indexAt(row, x, pixelSize));
        else if (pixelSize == 16)
            color = color16(row + 2 * x);
        else
            color = MakeColor32(255, row[4 * x + 1], row[4 * x + 2], row[4 * x + 3]);
        uint32_t& word = pixels.At(x, y);
        word = keepAlpha ? (word & 0xFF000000u) | (color & 0x00FFFFFFu) : color;
    }
}

// ---------------------------------------------------------------------------------------------
// Icon families: a fixed square of 1-, 4- or 8-bit pixels and a 1-bit mask.

struct IconFormat {
    uint32_t type;
    int32_t size;         // pixels on each side
    int32_t bits;         // bits per pixel
    int32_t rowBytes;     // bytes of one row of pixels
    int32_t maskRowBytes; // bytes of one mask row
};

constexpr std::array<IconFormat, 9> kIconFormats{{
    {FOUR_CHAR_CODE("ICN#"), 32, 1, 4, 4},
    {FOUR_CHAR_CODE("icl4"), 32, 4, 16, 4},
    {FOUR_CHAR_CODE("icl8"), 32, 8, 32, 4},
    {FOUR_CHAR_CODE("ics#"), 16, 1, 2, 2},
    {FOUR_CHAR_CODE("ics4"), 16, 4, 8, 2},
    {FOUR_CHAR_CODE("ics8"), 16, 8, 16, 2},
    {FOUR_CHAR_CODE("icm#"), 12, 1, 2, 2},
    {FOUR_CHAR_CODE("icm4"), 12, 4, 6, 2},
    {FOUR_CHAR_CODE("icm8"), 12, 8, 12, 2},
}};

const IconFormat* iconFormat(uint32_t type)
{
    for (const IconFormat& format : kIconFormats)
        if (format.type == type)
            return &format;
    return nullptr;
}

DiskImageDecoder::Pixels readIcon(const IconFormat& format, Reader& in, const std::vector<uint8_t>* iconMask)
{
    DiskImageDecoder::BuildIconColorTables();
    DiskImageDecoder::Pixels pixels;
    pixels.Allocate(FWRect(0, 0, int16_t(format.size), int16_t(format.size)));
    const size_t dataBytes = size_t(format.size) * size_t(format.rowBytes);
    const uint8_t* data = in.Take(dataBytes);

    const FWRgb32* table = format.bits == 4 ? DiskImageDecoder::Get4BitColorTable()
                                            : DiskImageDecoder::Get8BitColorTable();
    for (int32_t y = 0; y < format.size; ++y) {
        const uint8_t* row = data + size_t(y) * size_t(format.rowBytes);
        for (int32_t x = 0; x < format.size; ++x) {
            const uint32_t index = indexAt(row, x, format.bits);
            if (format.bits == 1) {
                pixels.At(x, y) = index != 0 ? kOpaqueBlack : kOpaqueWhite;
            } else {
                const FWRgb32& c = table[index];
                pixels.At(x, y) = MakeColor32(255, c.r, c.g, c.b);
            }
        }
    }

    const size_t maskBytes = size_t(format.size) * size_t(format.maskRowBytes);
    if (format.bits == 1) {
        // The mask follows the pixels in the same resource.
        DiskImageDecoder::MakeAlphaFromIconMask(pixels, in.Take(maskBytes), maskBytes, format.maskRowBytes);
    } else if (iconMask != nullptr) {
        // The mask is the second half of the 1-bit icon of the same id.
        Reader mask(iconMask->data(), iconMask->size());
        mask.Skip(maskBytes);
        DiskImageDecoder::MakeAlphaFromIconMask(pixels, mask.Take(maskBytes), maskBytes, format.maskRowBytes);
    }
    return pixels;
}

// ---------------------------------------------------------------------------------------------
// 'cicn': pixel map, mask and icon bit maps, mask data, icon data, colour table, pixel data.

DiskImageDecoder::Pixels readCicn(Reader& in)
{
    DiskImageDecoder::Pixels pixels;
    in.Skip(4);
    const int32_t rowBytes = in.UShort() & 0x3FFF;
    pixels.Allocate(in.Rect());
    in.Skip(18);
    const int32_t pixelSize = in.Short();
    in.Skip(20);
    const int32_t maskRowBytes = in.UShort();
    in.Skip(12);
    const int32_t iconRowBytes = in.UShort();
    in.Skip(12);

    const size_t maskBytes = size_t(pixels.height) * size_t(maskRowBytes);
    DiskImageDecoder::MakeAlphaFromIconMask(pixels, in.Take(maskBytes), maskBytes, maskRowBytes);
    in.Skip(size_t(pixels.height) * size_t(iconRowBytes));

    const ColorTable table = ParseColorTable(in, pixelSize, true);
    if (!isPixelSize(pixelSize))
        return pixels;
    if (rowBytes < rowBytesNeeded(pixels.width, pixelSize))
        fail("cicn rows shorter than their pixels");
    for (int32_t y = 0; y < pixels.height; ++y)
        convertIconRow(pixels, y, in.Take(size_t(rowBytes)), pixelSize, table, true);
    return pixels;
}

// ---------------------------------------------------------------------------------------------
// 'ppat': a full-colour pattern (type 1), an RGB pattern (type 2) or an old 1-bit one (type 0).

DiskImageDecoder::Pixels readPpat(Reader& in)
{
    DiskImageDecoder::Pixels pixels;
    const int16_t patternType = in.Short();
    if (patternType == 1) {
        const int32_t pixMapOffset = in.Long();
        const int32_t pixDataOffset = in.Long();
        in.Skip(18);
        if (pixMapOffset > 0 && size_t(pixMapOffset) > in.Position())
            in.Seek(pixMapOffset);
        in.Skip(4);
        const int32_t rowBytes = in.UShort() & 0x3FFF;
        pixels.Allocate(in.Rect(), kOpaqueBlack);
        in.Skip(18);
        const int32_t pixelSize = in.Short();
        in.Skip(8);
        const int32_t tableOffset = in.Long();
        // Only indexed pixels use the table; a direct pattern's table field is not read.
        ColorTable table;
        if (tableCapacity(pixelSize) > 0) {
            in.Seek(tableOffset);
            table = ParseColorTable(in, pixelSize, false);
        }
        in.Seek(pixDataOffset);
        if (!isPixelSize(pixelSize))
            return pixels;
        if (rowBytes < rowBytesNeeded(pixels.width, pixelSize))
            fail("ppat rows shorter than their pixels");
        for (int32_t y = 0; y < pixels.height; ++y)
            convertIconRow(pixels, y, in.Take(size_t(rowBytes)), pixelSize, table, false);
        return pixels;
    }
    if (patternType == 2) {
        in.Skip(14);
        const uint8_t r = uint8_t(in.UShort() >> 8);
        const uint8_t g = uint8_t(in.UShort() >> 8);
        const uint8_t b = uint8_t(in.UShort() >> 8);
        pixels.Allocate(FWRect(0, 0, 8, 8), MakeColor32(255, r, g, b));
        return pixels;
    }
    if (patternType == 0) {
        in.Skip(14);
        const uint8_t* rows = in.Take(8);
        pixels.Allocate(FWRect(0, 0, 8, 8));
        for (int32_t y = 0; y < 8; ++y)
            for (int32_t x = 0; x < 8; ++x)
                pixels.At(x, y) = indexAt(rows + y, x, 1) != 0 ? kOpaqueBlack : kOpaqueWhite;
    }
    return pixels;
}

// ---------------------------------------------------------------------------------------------
// 'argb': width and height, then run-coded pixels of alpha, red, green, blue.

DiskImageDecoder::Pixels readArgb(Reader& in)
{
    DiskImageDecoder::Pixels pixels;
    const int32_t width = in.Long();
    const int32_t height = in.Long();
    if (width < 1 || width > 32767 || height < 1 || height > 32767)
        fail("argb size outside 1..32767");
    // A run of 5 bytes gives at most 128 pixels: refuse a size the data cannot fill before
    // allocating for it.
    const int64_t total = int64_t(width) * height;
    if (total > int64_t(in.Remaining() / 5) * 128)
        fail("argb data shorter than its size");
    pixels.Allocate(FWRect(0, 0, int16_t(width), int16_t(height)));

    int64_t written = 0;
    uint32_t* out = pixels.words.data();
    while (written < total) {
        const uint8_t control = in.Byte();
        if (control < 128) {
            const uint8_t* p = in.Take(4);
            const uint32_t word = MakeColor32(p[0], p[1], p[2], p[3]);
            const int64_t count = std::min<int64_t>(control + 1, total - written);
            std::fill(out + written, out + written + count, word);
            written += count;
        } else {
            for (int32_t i = control - 127; i > 0 && written < total; --i) {
                const uint8_t* p = in.Take(4);
                out[written++] = MakeColor32(p[0], p[1], p[2], p[3]);
            }
        }
    }
    return pixels;
}

// ---------------------------------------------------------------------------------------------
// 'PICT' version 2: opcodes until the end opcode; the pixel-map opcodes are drawn, every other
// opcode's data is skipped.

class PictReader {
public:
    explicit PictReader(Reader& in) : mIn(in) {}

    DiskImageDecoder::Pixels Read()
    {
        mIn.Skip(2);
        const FWRect frame = mIn.Rect();
        if (mIn.UShort() != 0x0011 || mIn.UShort() != 0x02FF)
            return std::move(mPixels);
        mPixels.Allocate(frame);
        for (;;) {
            const uint16_t opcode = mIn.UShort();
            if (opcode == 0x00FF)
                break;
            readOpcode(opcode);
            mIn.AlignEven();
        }
        return std::move(mPixels);
    }

private:
    struct PixMap {
        int32_t rowBytes = 0; // flag bits cleared
        bool isPixMap = false;
        FWRect bounds;
        int32_t width = 0;
        int32_t height = 0;
        int32_t packType = 0;
        int32_t pixelSize = 1;
        int32_t componentCount = 1;
    };

    void readOpcode(uint16_t opcode)
    {
        switch (opcode) {
        case 0x0090:
        case 0x0098:
            readBitsRect(opcode, false);
            return;
        case 0x009A:
            readBitsRect(opcode, true);
            return;
        case 0x0091:
        case 0x0099:
            skipBitsRgn(opcode, false);
            return;
        case 0x009B:
            skipBitsRgn(opcode, true);
            return;
        default:
            skipOpcodeData(opcode);
        }
    }

    // The data lengths of the published opcode table.
    void skipOpcodeData(uint16_t op)
    {
        if (op >= 0x8100) {
            mIn.Skip(mIn.ULong());
        } else if (op >= 0x8000) {
            // reserved, no data
        } else if (op >= 0x0100) {
            mIn.Skip(size_t(op >> 8) * 2); // 0x0C00, the header, is 24 bytes by this rule
        } else if (op >= 0x00D0) {
            mIn.Skip(mIn.ULong());
        } else if (op >= 0x00B0) {
            // reserved, no data
        } else if (op >= 0x00A2) {
            mIn.Skip(mIn.UShort());
        } else if (op == 0x00A1) {
            mIn.Skip(2);
            mIn.Skip(mIn.UShort());
        } else if (op == 0x00A0) {
            mIn.Skip(2);
        } else if (op >= 0x009C || (op >= 0x0092 && op <= 0x0097)) {
            mIn.Skip(mIn.UShort());
        } else if (op >= 0x0088) {
            // same-region shapes, no data
        } else if (op >= 0x0080) {
            skipRegion();
        } else if (op >= 0x0078) {
            // same-polygon shapes
        } else if (op >= 0x0070) {
            skipRegion(); // a polygon starts with its size as well
        } else if (op >= 0x0068) {
            mIn.Skip(4);
        } else if (op >= 0x0060) {
            mIn.Skip(12);
        } else if (op >= 0x0030) {
            // rectangles, rounded rectangles and ovals: 8 bytes, their same-shape forms none
            if ((op & 0x08) == 0)
                mIn.Skip(8);
        } else {
            skipLowOpcode(op);
        }
    }

    void skipLowOpcode(uint16_t op)
    {
        static constexpr int8_t kLengths[0x30] = {
            // 0x00-0x0F
            0, -1, 8, 2, 1, 2, 4, 4, 2, 8, 8, 4, 4, 2, 4, 4,
            // 0x10-0x1F
            8, 2, -2, -2, -2, 2, 2, 0, 0, 0, 6, 6, 0, 6, 0, 6,
            // 0x20-0x2F
            8, 4, 6, 2, -3, -3, -3, -3, -4, -4, -4, -4, -3, -3, -3, -3};
        const int8_t length = kLengths[op];
        switch (length) {
        case -1:
            skipRegion();
            return;
        case -2:
            skipPixPat();
            return;
        case -3:
            mIn.Skip(mIn.UShort());
            return;
        case -4:
            // text: a position (4 bytes, or 1 or 2 offset bytes), then a counted string
            mIn.Skip(op == 0x0028 ? 4 : op == 0x002B ? 2 : 1);
            mIn.Skip(mIn.Byte());
            return;
        default:
            mIn.Skip(size_t(length));
        }
    }

    // A region or polygon: its size (including the size word) and the rest.
    void skipRegion()
    {
        const uint16_t size = mIn.UShort();
        if (size < 2)
            fail("region shorter than its size word");
        mIn.Skip(size_t(size) - 2);
    }

    void skipPixPat()
    {
        const uint16_t patternType = mIn.UShort();
        mIn.Skip(8);
        if (patternType == 1) {
            const PixMap map = ParsePixMap();
            if (map.isPixMap && map.pixelSize <= 8)
                ParseColorTable(mIn, map.pixelSize, false);
            SkipPixData(map, 0x0098);
        } else if (patternType == 2) {
            mIn.Skip(6);
        }
    }

    PixMap ParsePixMap()
    {
        PixMap map;
        const uint16_t rowBytes = mIn.UShort();
        map.rowBytes = rowBytes & 0x3FFF;
        map.bounds = mIn.Rect();
        map.width = int32_t(map.bounds.right) - map.bounds.left;
        map.height = int32_t(map.bounds.bottom) - map.bounds.top;
        if ((rowBytes & 0x8000) != 0) {
            map.isPixMap = true;
            mIn.Skip(2);
            map.packType = mIn.Short();
            mIn.Skip(14);
            map.pixelSize = mIn.Short();
            map.componentCount = mIn.Short();
            mIn.Skip(14);
            if (map.packType == 0)
                map.packType = map.pixelSize == 32 ? 4 : 3;
        }
        return map;
    }

    // A 1-bit bit map has no pack type of its own: raw under the unpacked opcodes, PackBits
    // under the packed ones. Rows shorter than 8 bytes are never packed.
    static int32_t effectivePackType(const PixMap& map, uint16_t opcode)
    {
        if (map.rowBytes < 8)
            return 1;
        if (map.packType == 0)
            return opcode == 0x0090 || opcode == 0x0091 ? 1 : 3;
        return map.packType;
    }

    void readBitsRect(uint16_t opcode, bool direct)
    {
        if (direct)
            mIn.Skip(4);
        const PixMap map = ParsePixMap();
        if (!direct && map.isPixMap && map.pixelSize <= 8)
            mTable = ParseColorTable(mIn, map.pixelSize, false);
        mIn.Skip(8); // source rectangle
        const FWRect destination = mIn.Rect();
        const uint16_t mode = mIn.UShort();
        if (mode == 0 || mode == 64)
            DrawPixData(map, opcode, destination);
        else
            SkipPixData(map, opcode);
    }

    void skipBitsRgn(uint16_t opcode, bool direct)
    {
        if (direct)
            mIn.Skip(4);
        const PixMap map = ParsePixMap();
        if (!direct && map.isPixMap && map.pixelSize <= 8)
            ParseColorTable(mIn, map.pixelSize, false);
        mIn.Skip(8 + 8 + 2); // source and destination rectangles, mode
        skipRegion();
        SkipPixData(map, opcode);
    }

    // The byte count ahead of a packed row: one byte for rows of up to 250 bytes.
    size_t packedCount(const PixMap& map) { return map.rowBytes > 250 ? mIn.UShort() : mIn.Byte(); }

    void SkipPixData(const PixMap& map, uint16_t opcode)
    {
        const size_t rows = size_t(std::max(map.height, 0));
        switch (effectivePackType(map, opcode)) {
        case 1:
            mIn.Skip(size_t(map.rowBytes) * rows);
            return;
        case 2:
            mIn.Skip(size_t(map.rowBytes) * 3 / 4 * rows);
            return;
        case 3:
        case 4:
            for (size_t row = 0; row < rows; ++row)
                mIn.Skip(packedCount(map));
            return;
        default:
            fail("unknown pack type");
        }
    }

    // Rows of the pixel data, written from the destination's top-left in picture coordinates;
    // every stored row is read so that the next opcode starts where it should, and only rows
    // inside the destination and the image are converted.
    void DrawPixData(const PixMap& map, uint16_t opcode, const FWRect& destination)
    {
        const int32_t packType = effectivePackType(map, opcode);
        const int32_t width = std::max(map.width, 0);
        const int32_t planes = map.componentCount == 4 ? 4 : 3;

        // What one row needs, and how large the unpacked row may grow.
        int64_t needed = 0;
        int64_t capacity = map.rowBytes;
        int unitSize = 1;
        switch (packType) {
        case 1:
        case 3:
            if (!isPixelSize(map.pixelSize))
                fail("unknown pixel size");
            needed = rowBytesNeeded(width, map.pixelSize);
            if (map.rowBytes < needed)
                fail("rows shorter than their pixels");
            if (packType == 3 && map.pixelSize == 16)
                unitSize = 2;
            break;
        case 2:
            needed = int64_t(width) * 3;
            capacity = int64_t(map.rowBytes) * 3 / 4;
            if (capacity < needed)
                fail("rows shorter than their pixels");
            break;
        case 4:
            needed = int64_t(width) * planes;
            capacity = std::max<int64_t>(capacity, needed);
            break;
        default:
            fail("unknown pack type");
        }
        if (mRow.size() < size_t(capacity))
            mRow.resize(size_t(capacity));

        const FWRect& frame = mPixels.rect;
        const int32_t destinationHeight = int32_t(destination.bottom) - destination.top;
        for (int32_t row = 0; row < map.height; ++row) {
            const int32_t y = int32_t(destination.top) + row - frame.top;
            const bool visible = row < destinationHeight && y >= 0 && y < mPixels.height;
            const uint8_t* data = nullptr;
            if (packType == 1 || packType == 2) {
                data = mIn.Take(size_t(capacity));
            } else {
                const size_t count = packedCount(map);
                const uint8_t* packed = mIn.Take(count);
                if (!visible)
                    continue;
                const size_t unpacked = DiskImageDecoder::UnpackBits(packed, count, mRow.data(), size_t(capacity), unitSize);
                if (int64_t(unpacked) < needed)
                    fail("packed row shorter than its pixels");
                data = mRow.data();
            }
            if (visible)
                convertRow(map, packType, planes, data, width, y, int32_t(destination.left) - frame.left);
        }
    }

    void convertRow(const PixMap& map, int32_t packType, int32_t planes, const uint8_t* row, int32_t width, int32_t y,
                    int32_t left)
    {
        // Only the pixels that land inside the image.
        const int32_t first = std::max(0, -left);
        const int32_t last = std::min(width, mPixels.width - left);
        for (int32_t i = first; i < last; ++i) {
            uint32_t color;
            if (packType == 2) {
                color = MakeColor32(255, row[3 * i], row[3 * i + 1], row[3 * i + 2]);
            } else if (packType == 4) {
                if (planes == 4)
                    color = MakeColor32(row[i], row[width + i], row[2 * width + i], row[3 * width + i]);
                else
                    color = MakeColor32(255, row[i], row[width + i], row[2 * width + i]);
            } else if (map.pixelSize <= 8) {
                const uint32_t index = indexAt(row, i, map.pixelSize);
                if (map.pixelSize == 1 && mTable.Empty())
                    color = index != 0 ? kOpaqueBlack : kOpaqueWhite;
                else
                    color = mTable.Color(index);
            } else if (map.pixelSize == 16) {
                color = color16(row + 2 * i);
            } else {
                color = MakeColor32(row[4 * i], row[4 * i + 1], row[4 * i + 2], row[4 * i + 3]);
            }
            mPixels.At(left + i, y) = color;
        }
    }

    Reader& mIn;
    DiskImageDecoder::Pixels mPixels;
    ColorTable mTable;          // the last table read in this picture
    std::vector<uint8_t> mRow;  // one unpacked row, reused for every row
};

// Runs a reader over the bytes; a read past their end is a damaged resource.
template <class Read>
DiskImageDecoder::Pixels readWith(const uint8_t* data, size_t size, Read read)
{
    try {
        Reader in(data, size);
        return read(in);
    } catch (const FWStreamException&) {
        fail("data ends early");
    }
}

DiskImageDecoder::Pixels readIconOf(uint32_t type, const uint8_t* data, size_t size, const std::vector<uint8_t>* iconMask)
{
    return readWith(data, size, [&](Reader& in) { return readIcon(*iconFormat(type), in, iconMask); });
}

} // namespace

void DiskImageDecoder::Pixels::Allocate(const FWRect& bounds, uint32_t fill)
{
    const int32_t w = int32_t(bounds.right) - bounds.left;
    const int32_t h = int32_t(bounds.bottom) - bounds.top;
    if (w < 1 || w > 32767 || h < 1 || h > 32767 || int64_t(w) * h > kMaxPixels)
        fail("image size out of range");
    rect = bounds;
    width = w;
    height = h;
    words.assign(size_t(w) * size_t(h), fill);
}

DiskImageDecoder::Pixels DiskImageDecoder::ReadICN(const uint8_t* data, size_t size)
{
    return readIconOf(FOUR_CHAR_CODE("ICN#"), data, size, nullptr);
}

DiskImageDecoder::Pixels DiskImageDecoder::Readics(const uint8_t* data, size_t size)
{
    return readIconOf(FOUR_CHAR_CODE("ics#"), data, size, nullptr);
}

DiskImageDecoder::Pixels DiskImageDecoder::Readicm(const uint8_t* data, size_t size)
{
    return readIconOf(FOUR_CHAR_CODE("icm#"), data, size, nullptr);
}

DiskImageDecoder::Pixels DiskImageDecoder::Readicl4(const uint8_t* data, size_t size, const std::vector<uint8_t>* iconMask)
{
    return readIconOf(FOUR_CHAR_CODE("icl4"), data, size, iconMask);
}

DiskImageDecoder::Pixels DiskImageDecoder::Readicl8(const uint8_t* data, size_t size, const std::vector<uint8_t>* iconMask)
{
    return readIconOf(FOUR_CHAR_CODE("icl8"), data, size, iconMask);
}

DiskImageDecoder::Pixels DiskImageDecoder::Readics4(const uint8_t* data, size_t size, const std::vector<uint8_t>* iconMask)
{
    return readIconOf(FOUR_CHAR_CODE("ics4"), data, size, iconMask);
}

DiskImageDecoder::Pixels DiskImageDecoder::Readics8(const uint8_t* data, size_t size, const std::vector<uint8_t>* iconMask)
{
    return readIconOf(FOUR_CHAR_CODE("ics8"), data, size, iconMask);
}

DiskImageDecoder::Pixels DiskImageDecoder::Readicm4(const uint8_t* data, size_t size, const std::vector<uint8_t>* iconMask)
{
    return readIconOf(FOUR_CHAR_CODE("icm4"), data, size, iconMask);
}

DiskImageDecoder::Pixels DiskImageDecoder::Readicm8(const uint8_t* data, size_t size, const std::vector<uint8_t>* iconMask)
{
    return readIconOf(FOUR_CHAR_CODE("icm8"), data, size, iconMask);
}

DiskImageDecoder::Pixels DiskImageDecoder::Readcicn(const uint8_t* data, size_t size)
{
    return readWith(data, size, readCicn);
}

DiskImageDecoder::Pixels DiskImageDecoder::Readppat(const uint8_t* data, size_t size)
{
    return readWith(data, size, readPpat);
}

DiskImageDecoder::Pixels DiskImageDecoder::ReadPICT(const uint8_t* data, size_t size)
{
    return readWith(data, size, [](Reader& in) { return PictReader(in).Read(); });
}

DiskImageDecoder::Pixels DiskImageDecoder::Read32Bit(const uint8_t* data, size_t size)
{
    return readWith(data, size, readArgb);
}

DiskImageDecoder::Pixels DiskImageDecoder::Decode(uint32_t type, const uint8_t* data, size_t size,
                                                  const std::vector<uint8_t>* iconMask)
{
    switch (type) {
    case FOUR_CHAR_CODE("ICN#"):
        return ReadICN(data, size);
    case FOUR_CHAR_CODE("ics#"):
        return Readics(data, size);
    case FOUR_CHAR_CODE("icm#"):
        return Readicm(data, size);
    case FOUR_CHAR_CODE("icl4"):
        return Readicl4(data, size, iconMask);
    case FOUR_CHAR_CODE("icl8"):
        return Readicl8(data, size, iconMask);
    case FOUR_CHAR_CODE("ics4"):
        return Readics4(data, size, iconMask);
    case FOUR_CHAR_CODE("ics8"):
        return Readics8(data, size, iconMask);
    case FOUR_CHAR_CODE("icm4"):
        return Readicm4(data, size, iconMask);
    case FOUR_CHAR_CODE("icm8"):
        return Readicm8(data, size, iconMask);
    case FOUR_CHAR_CODE("cicn"):
        return Readcicn(data, size);
    case FOUR_CHAR_CODE("ppat"):
        return Readppat(data, size);
    case FOUR_CHAR_CODE("PICT"):
    case FOUR_CHAR_CODE("QZPV"):
        return ReadPICT(data, size);
    case FOUR_CHAR_CODE("argb"):
        return Read32Bit(data, size);
    default:
        return Pixels();
    }
}

uint32_t DiskImageDecoder::IconMaskType(uint32_t type)
{
    switch (type) {
    case FOUR_CHAR_CODE("icl4"):
    case FOUR_CHAR_CODE("icl8"):
        return FOUR_CHAR_CODE("ICN#");
    case FOUR_CHAR_CODE("ics4"):
    case FOUR_CHAR_CODE("ics8"):
        return FOUR_CHAR_CODE("ics#");
    case FOUR_CHAR_CODE("icm4"):
    case FOUR_CHAR_CODE("icm8"):
        return FOUR_CHAR_CODE("icm#");
    default:
        return 0;
    }
}

bool DiskImageDecoder::DecodesType(uint32_t type)
{
    return iconFormat(type) != nullptr || type == FOUR_CHAR_CODE("cicn") || type == FOUR_CHAR_CODE("ppat") ||
           type == FOUR_CHAR_CODE("PICT") || type == FOUR_CHAR_CODE("QZPV") || type == FOUR_CHAR_CODE("argb");
}

void DiskImageDecoder::BuildIconColorTables()
{
    if (DiskImage::gIconCTsValid)
        return;
    // The 6 x 6 x 6 cube without black, then ramps of red, green, blue and grey, then black.
    const int cube[] = {255, 204, 153, 102, 51, 0};
    const int ramp[] = {238, 221, 187, 170, 136, 119, 85, 68, 34, 17};
    FWRgb32* table = DiskImage::g8BitColorTable;
    size_t i = 0;
    for (int r : cube)
        for (int g : cube)
            for (int b : cube)
                if (r != 0 || g != 0 || b != 0)
                    table[i++] = FWRgb32(r, g, b);
    for (int v : ramp)
        table[i++] = FWRgb32(v, 0, 0);
    for (int v : ramp)
        table[i++] = FWRgb32(0, v, 0);
    for (int v : ramp)
        table[i++] = FWRgb32(0, 0, v);
    for (int v : ramp)
        table[i++] = FWRgb32(v, v, v);
    table[i] = FWRgb32(0, 0, 0);

    // The system's 16-colour palette: white first, black last.
    static constexpr std::array<FWRgb32, 16> k4Bit{{
        {255, 255, 255},
        {252, 243, 5},
        {255, 100, 2},
        {221, 8, 6},
        {242, 8, 132},
        {70, 0, 165},
        {0, 0, 212},
        {2, 171, 234},
        {31, 183, 20},
        {0, 100, 17},
        {86, 44, 5},
        {144, 113, 58},
        {192, 192, 192},
        {128, 128, 128},
        {64, 64, 64},
        {0, 0, 0},
    }};
    std::copy(k4Bit.begin(), k4Bit.end(), DiskImage::g4BitColorTable);
    DiskImage::gIconCTsValid = true;
}

const FWRgb32* DiskImageDecoder::Get8BitColorTable()
{
    BuildIconColorTables();
    return DiskImage::g8BitColorTable;
}

const FWRgb32* DiskImageDecoder::Get4BitColorTable()
{
    BuildIconColorTables();
    return DiskImage::g4BitColorTable;
}

void DiskImageDecoder::MakeAlphaFromIconMask(Pixels& pixels, const uint8_t* mask, size_t maskSize, int32_t rowBytes)
{
    for (int32_t y = 0; y < pixels.height; ++y) {
        for (int32_t x = 0; x < pixels.width; ++x) {
            const int64_t byte = int64_t(y) * rowBytes + (x >> 3);
            const bool set = (x >> 3) < rowBytes && byte < int64_t(maskSize) && mask != nullptr &&
                             ((mask[byte] >> (7 - (x & 7))) & 1) != 0;
            uint32_t& word = pixels.At(x, y);
            word = (word & 0x00FFFFFFu) | (set ? 0xFF000000u : 0u);
        }
    }
}

size_t DiskImageDecoder::UnpackBits(const uint8_t* in, size_t inSize, uint8_t* out, size_t outSize, int unitSize)
{
    const size_t unit = unitSize == 2 ? 2 : 1;
    size_t i = 0;
    size_t o = 0;
    while (i < inSize && o < outSize) {
        const int8_t control = int8_t(in[i++]);
        if (control >= 0) {
            // control + 1 literal units
            size_t bytes = (size_t(control) + 1) * unit;
            bytes = std::min({bytes, inSize - i, outSize - o});
            std::memcpy(out + o, in + i, bytes);
            i += bytes;
            o += bytes;
        } else if (control != -128) {
            // one unit repeated 1 - control times
            if (inSize - i < unit)
                break;
            const uint8_t* value = in + i;
            i += unit;
            for (int n = 1 - control; n > 0 && o + unit <= outSize; --n) {
                std::memcpy(out + o, value, unit);
                o += unit;
            }
        }
    }
    return o;
}
