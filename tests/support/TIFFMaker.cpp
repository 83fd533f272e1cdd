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

// An 8-bit RGB or RGBA (unassociated alpha) TIFF of the pixels pixelAt(x, y) gives as 0xAARRGGBB.
template <class PixelAt>
std::vector<uint8_t> writeTIFF(uint32_t width, uint32_t height, bool alpha, uint16_t compression,
                               uint32_t rowsPerStrip, uint16_t orientation, PixelAt pixelAt)
{
    MemoryFile file;
    TIFF* tif = TIFFClientOpen("test", "w", &file, readProc, writeProc, seekProc, closeProc, sizeProc, mapProc,
                               unmapProc);
    if (tif == nullptr)
        return {};
    const uint16_t samples = alpha ? 4 : 3;
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, samples);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    const uint16_t extra = EXTRASAMPLE_UNASSALPHA;
    if (alpha)
        TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, &extra);
    TIFFSetField(tif, TIFFTAG_ORIENTATION, orientation);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, compression);
    if (compression == COMPRESSION_ADOBE_DEFLATE)
        TIFFSetField(tif, TIFFTAG_ZIPQUALITY, 1); // noise does not pack: spend no time trying
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, rowsPerStrip == 0 ? height : rowsPerStrip);
    std::vector<uint8_t> row(size_t(width) * samples);
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            const uint32_t p = pixelAt(x, y);
            const uint8_t channels[4] = {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p), uint8_t(p >> 24)};
            std::memcpy(&row[size_t(x) * samples], channels, samples);
        }
        TIFFWriteScanline(tif, row.data(), y, 0);
    }
    TIFFClose(tif);
    return file.bytes;
}

// A PNG chunk: a big-endian length, the type, the data and a CRC of type and data.
void appendChunk(std::vector<uint8_t>& png, const char* type, const uint8_t* data, size_t size)
{
    const uint8_t length[4] = {uint8_t(size >> 24), uint8_t(size >> 16), uint8_t(size >> 8), uint8_t(size)};
    png.insert(png.end(), length, length + 4);
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data, data + size);
    const uLong crc = crc32(crc32(0, reinterpret_cast<const Bytef*>(type), 4), data, uInt(size));
    const uint8_t check[4] = {uint8_t(crc >> 24), uint8_t(crc >> 16), uint8_t(crc >> 8), uint8_t(crc)};
    png.insert(png.end(), check, check + 4);
}

} // namespace

std::vector<uint8_t> MakeTIFF(uint32_t width, uint32_t height, const std::vector<uint32_t>& argb, bool compress,
                              uint16_t orientation)
{
    return writeTIFF(width, height, true, compress ? COMPRESSION_LZW : COMPRESSION_NONE, 1, orientation,
                     [&](uint32_t x, uint32_t y) { return argb[size_t(y) * width + x]; });
}

std::vector<uint8_t> MakePatternTIFF(uint32_t width, uint32_t height, uint16_t compression, uint32_t rowsPerStrip,
                                     bool alpha)
{
    return writeTIFF(width, height, alpha, compression, rowsPerStrip, ORIENTATION_TOPLEFT, PatternPixel);
}

std::vector<uint8_t> MakePatternPNG(int16_t width, int16_t height)
{
    // Rows of filter type 0 and RGB samples, deflated, in IDAT chunks of up to 1 MiB.
    std::vector<uint8_t> rows;
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
