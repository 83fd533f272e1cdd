#include "TIFFMaker.h"

#include "HostPNG.h"
#include "TempFolder.h"

#include <tiffio.h>

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

} // namespace

std::vector<uint8_t> MakeTIFF(uint32_t width, uint32_t height, const std::vector<uint32_t>& argb, bool compress)
{
    MemoryFile file;
    TIFF* tif = TIFFClientOpen("test", "w", &file, readProc, writeProc, seekProc, closeProc, sizeProc, mapProc,
                               unmapProc);
    if (tif == nullptr)
        return {};
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 4);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    const uint16_t extra = EXTRASAMPLE_UNASSALPHA;
    TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, &extra);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, compress ? COMPRESSION_LZW : COMPRESSION_NONE);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 1);
    std::vector<uint8_t> row(size_t(width) * 4);
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            const uint32_t p = argb[size_t(y) * width + x];
            row[x * 4 + 0] = uint8_t(p >> 16);
            row[x * 4 + 1] = uint8_t(p >> 8);
            row[x * 4 + 2] = uint8_t(p);
            row[x * 4 + 3] = uint8_t(p >> 24);
        }
        TIFFWriteScanline(tif, row.data(), y, 0);
    }
    TIFFClose(tif);
    return file.bytes;
}

std::vector<uint8_t> MakePatternTIFF(uint32_t width, uint32_t height, uint16_t compression, uint32_t rowsPerStrip,
                                     bool alpha)
{
    MemoryFile file;
    TIFF* tif = TIFFClientOpen("pattern", "w", &file, readProc, writeProc, seekProc, closeProc, sizeProc, mapProc,
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
    if (alpha) {
        const uint16_t extra = EXTRASAMPLE_UNASSALPHA;
        TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, &extra);
    }
    TIFFSetField(tif, TIFFTAG_COMPRESSION, compression);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, rowsPerStrip == 0 ? height : rowsPerStrip);
    std::vector<uint8_t> row(size_t(width) * samples);
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            const uint32_t p = PatternPixel(x, y);
            uint8_t* out = &row[size_t(x) * samples];
            out[0] = uint8_t(p >> 16), out[1] = uint8_t(p >> 8), out[2] = uint8_t(p);
            if (alpha)
                out[3] = 0xFF;
        }
        if (TIFFWriteScanline(tif, row.data(), y, 0) < 0)
            break;
    }
    TIFFClose(tif);
    return file.bytes;
}

std::vector<uint8_t> MakePatternPNG(int16_t width, int16_t height)
{
    HostPixelMap pixels;
    if (pixels.Allocate(Rect{0, 0, height, width}, 32) != noErr)
        return {};
    for (int32_t y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(pixels.Row(y));
        for (int32_t x = 0; x < width; ++x)
            row[x] = PatternPixel(uint32_t(x), uint32_t(y));
    }
    TempFolder folder;
    const std::string path = folder.File("pattern.png");
    if (HostWritePNG(pixels, path.c_str()) != noErr)
        return {};
    const std::string bytes = TempFolder::ReadFile(path);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}
