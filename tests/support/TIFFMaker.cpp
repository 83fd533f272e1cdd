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

// An 8-bit RGB or RGBA (unassociated alpha) TIFF of the pixels pixelAt(x, y) gives as 0xAARRGGBB.
template <class PixelAt>
std::vector<uint8_t> writeTIFF(uint32_t width, uint32_t height, bool alpha, uint16_t compression,
                               uint32_t rowsPerStrip, PixelAt pixelAt)
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
    TIFFSetField(tif, TIFFTAG_COMPRESSION, compression);
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

} // namespace

std::vector<uint8_t> MakeTIFF(uint32_t width, uint32_t height, const std::vector<uint32_t>& argb, bool compress)
{
    return writeTIFF(width, height, true, compress ? COMPRESSION_LZW : COMPRESSION_NONE, 1,
                     [&](uint32_t x, uint32_t y) { return argb[size_t(y) * width + x]; });
}

std::vector<uint8_t> MakePatternTIFF(uint32_t width, uint32_t height, uint16_t compression, uint32_t rowsPerStrip,
                                     bool alpha)
{
    return writeTIFF(width, height, alpha, compression, rowsPerStrip, PatternPixel);
}

std::vector<uint8_t> MakePatternPNG(int16_t width, int16_t height)
{
    HostPixelMap pixels;
    if (pixels.Allocate(Rect{0, 0, height, width}, 32) != noErr)
        return {};
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            pixels.Set(x, y, PatternPixel(uint32_t(x), uint32_t(y)));
    TempFolder folder;
    if (HostWritePNG(pixels, folder.File("pattern.png").c_str()) != noErr)
        return {};
    const std::string bytes = TempFolder::ReadFile(folder.File("pattern.png"));
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}
