#include "TIFFMaker.h"

#include <tiffio.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace {

struct MemoryFile {
    std::vector<uint8_t> bytes;
    uint64_t offset = 0;
};

tmsize_t readProc(thandle_t h, void* buffer, tmsize_t size)
{
    auto* file = static_cast<MemoryFile*>(h);
    if (file->offset >= file->bytes.size())
        return 0;
    const uint64_t n = std::min<uint64_t>(uint64_t(size), file->bytes.size() - file->offset);
    std::memcpy(buffer, file->bytes.data() + file->offset, n);
    file->offset += n;
    return tmsize_t(n);
}

tmsize_t writeProc(thandle_t h, void* buffer, tmsize_t size)
{
    auto* file = static_cast<MemoryFile*>(h);
    if (file->bytes.size() < file->offset + uint64_t(size))
        file->bytes.resize(file->offset + uint64_t(size));
    std::memcpy(file->bytes.data() + file->offset, buffer, size_t(size));
    file->offset += uint64_t(size);
    return size;
}

toff_t seekProc(thandle_t h, toff_t offset, int whence)
{
    auto* file = static_cast<MemoryFile*>(h);
    const uint64_t base = whence == SEEK_CUR ? file->offset : whence == SEEK_END ? file->bytes.size() : 0;
    file->offset = base + offset;
    return file->offset;
}

int closeProc(thandle_t)
{
    return 0;
}

toff_t sizeProc(thandle_t h)
{
    return static_cast<MemoryFile*>(h)->bytes.size();
}

int mapProc(thandle_t, void**, toff_t*)
{
    return 0;
}

void unmapProc(thandle_t, void*, toff_t) {}

// An 8-bit RGB or RGBA (unassociated alpha) TIFF of the pixels pixelAt(x, y) gives as 0xAARRGGBB,
// written a row or a tile of a plane at a time.
template <class PixelAt>
std::vector<uint8_t> writeTIFF(uint32_t width, uint32_t height, const TIFFLayout& layout, PixelAt pixelAt)
{
    MemoryFile file;
    TIFF* tif = TIFFClientOpen("test", "w", &file, readProc, writeProc, seekProc, closeProc, sizeProc, mapProc,
                               unmapProc);
    if (tif == nullptr)
        return {};
    const uint16_t samples = layout.alpha ? 4 : 3;
    const uint16_t planes = layout.separate ? samples : 1;
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, samples);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, layout.separate ? PLANARCONFIG_SEPARATE : PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tif, TIFFTAG_ORIENTATION, layout.orientation);
    const uint16_t extra = EXTRASAMPLE_UNASSALPHA;
    if (layout.alpha)
        TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, &extra);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, layout.compression);
    if (layout.compression == COMPRESSION_ADOBE_DEFLATE)
        TIFFSetField(tif, TIFFTAG_ZIPQUALITY, 1); // noise does not pack: spend no time trying
    const uint32_t unitWidth = layout.tileSide != 0 ? layout.tileSide : width;
    const uint32_t unitHeight = layout.tileSide != 0 ? layout.tileSide : 1;
    if (layout.tileSide != 0) {
        TIFFSetField(tif, TIFFTAG_TILEWIDTH, layout.tileSide);
        TIFFSetField(tif, TIFFTAG_TILELENGTH, layout.tileSide);
    } else {
        TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, layout.rowsPerStrip == 0 ? height : layout.rowsPerStrip);
    }
    const uint16_t perPixel = samples / planes;
    std::vector<uint8_t> unit(size_t(unitWidth) * unitHeight * perPixel);
    for (uint16_t plane = 0; plane < planes; ++plane)
        for (uint32_t top = 0; top < height; top += unitHeight)
            for (uint32_t left = 0; left < width; left += unitWidth) {
                for (uint32_t y = 0; y < unitHeight; ++y)
                    for (uint32_t x = 0; x < unitWidth; ++x) {
                        const bool inside = left + x < width && top + y < height;
                        const uint32_t p = inside ? pixelAt(left + x, top + y) : 0;
                        const uint8_t channels[4] = {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p), uint8_t(p >> 24)};
                        std::memcpy(&unit[(size_t(y) * unitWidth + x) * perPixel], channels + plane, perPixel);
                    }
                if (layout.tileSide != 0)
                    TIFFWriteTile(tif, unit.data(), left, top, 0, plane);
                else
                    TIFFWriteScanline(tif, unit.data(), top, plane);
            }
    TIFFClose(tif);
    return file.bytes;
}

// PNG chunks: a big-endian length, the type, the data and a CRC of type and data.
void appendChunk(std::vector<uint8_t>& png, const char* type, const uint8_t* data, size_t size)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        png.push_back(uint8_t(size >> shift));
    const size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data, data + size);
    const uLong crc = crc32(0, png.data() + start, uInt(png.size() - start));
    for (int shift = 24; shift >= 0; shift -= 8)
        png.push_back(uint8_t(crc >> shift));
}

} // namespace

std::vector<uint8_t> MakeTIFF(uint32_t width, uint32_t height, const std::vector<uint32_t>& argb, bool compress)
{
    return MakeTIFF(width, height, argb, TIFFLayout{.compression = uint16_t(compress ? COMPRESSION_LZW : 1)});
}

std::vector<uint8_t> MakeTIFF(uint32_t width, uint32_t height, const std::vector<uint32_t>& argb,
                              const TIFFLayout& layout)
{
    return writeTIFF(width, height, layout, [&](uint32_t x, uint32_t y) { return argb[size_t(y) * width + x]; });
}

std::vector<uint8_t> MakePatternTIFF(uint32_t width, uint32_t height, const TIFFLayout& layout)
{
    return writeTIFF(width, height, layout, PatternPixel);
}

std::vector<uint8_t> MakeGreyYCbCrTIFF(uint32_t width, uint32_t height, uint16_t compression, uint32_t rowsPerStrip)
{
    MemoryFile file;
    TIFF* tif = TIFFClientOpen("test", "w", &file, readProc, writeProc, seekProc, closeProc, sizeProc, mapProc,
                               unmapProc);
    if (tif == nullptr)
        return {};
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_YCBCR);
    TIFFSetField(tif, TIFFTAG_YCBCRSUBSAMPLING, 2, 2);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, compression);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, rowsPerStrip);
    // Blocks of 2 x 2 lumas (the same again past the edges) and neutral chroma.
    for (uint32_t strip = 0; strip * rowsPerStrip < height; ++strip) {
        std::vector<uint8_t> blocks;
        for (uint32_t y = strip * rowsPerStrip; y < std::min(height, (strip + 1) * rowsPerStrip); y += 2)
            for (uint32_t x = 0; x < width; x += 2) {
                for (uint32_t i = 0; i < 4; ++i)
                    blocks.push_back(uint8_t(PatternPixel(std::min(x + i % 2, width - 1), std::min(y + i / 2, height - 1))));
                blocks.insert(blocks.end(), {128, 128});
            }
        TIFFWriteEncodedStrip(tif, strip, blocks.data(), tmsize_t(blocks.size()));
    }
    TIFFClose(tif);
    return file.bytes;
}

std::vector<uint8_t> MakePatternPNG(int16_t width, int16_t height)
{
    // Rows of filter type 0 and RGB samples, deflated, in IDAT chunks of up to 1 MiB.
    std::vector<uint8_t> rows;
    rows.reserve((size_t(width) * 3 + 1) * size_t(height));
    for (int32_t y = 0; y < height; ++y) {
        rows.push_back(0);
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t p = PatternPixel(uint32_t(x), uint32_t(y));
            rows.insert(rows.end(), {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)});
        }
    }
    uLongf packedSize = compressBound(uLong(rows.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, rows.data(), uLong(rows.size()), 1) != Z_OK)
        return {};
    std::vector<uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    const uint8_t header[13] = {0, 0, uint8_t(width >> 8), uint8_t(width), 0, 0, uint8_t(height >> 8), uint8_t(height),
                                8, 2, 0, 0, 0};
    appendChunk(png, "IHDR", header, sizeof header);
    for (size_t at = 0; at < packedSize; at += 1 << 20)
        appendChunk(png, "IDAT", packed.data() + at, std::min<size_t>(1 << 20, packedSize - at));
    appendChunk(png, "IEND", nullptr, 0);
    return png;
}
