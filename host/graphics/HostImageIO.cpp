// TIFF decoding through libtiff from memory, PNG images re-stored as plain TIFF, and
// nearest-neighbour drawing of decoded images into 32-bit bitmap contexts. Decoded pixels are kept
// premultiplied, as libtiff's RGBA reader gives them, so drawing over a context is one
// multiply-add per channel.
#include "HostImageIO.h"

#include "HostPNG.h"

#include <tiffio.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstring>
#include <iterator>
#include <memory>
#include <new>
#include <vector>

struct HostImageSource {
    std::vector<uint8_t> bytes;
};

struct HostImage {
    size_t width = 0;
    size_t height = 0;
    std::vector<uint32_t> pixels; // premultiplied 0xAARRGGBB, top row first
};

struct HostColorSpace {};

struct HostBitmapContext {
    uint8_t* data = nullptr;
    size_t width = 0;
    size_t height = 0;
    size_t bytesPerRow = 0;
};

namespace {

// libtiff reads the source through these; the handle is a cursor over the bytes.
struct MemoryReader {
    const std::vector<uint8_t>* bytes;
    uint64_t offset;
};

tmsize_t readProc(thandle_t handle, void* buffer, tmsize_t size)
{
    auto* reader = static_cast<MemoryReader*>(handle);
    const uint64_t total = reader->bytes->size();
    if (size <= 0 || reader->offset >= total)
        return 0;
    const uint64_t count = std::min<uint64_t>(uint64_t(size), total - reader->offset);
    std::memcpy(buffer, reader->bytes->data() + reader->offset, size_t(count));
    reader->offset += count;
    return tmsize_t(count);
}

tmsize_t writeProc(thandle_t, void*, tmsize_t)
{
    return 0;
}

toff_t seekProc(thandle_t handle, toff_t offset, int whence)
{
    auto* reader = static_cast<MemoryReader*>(handle);
    uint64_t base = 0;
    if (whence == SEEK_CUR)
        base = reader->offset;
    else if (whence == SEEK_END)
        base = reader->bytes->size();
    // Seeking past the end is allowed; reads there simply find nothing.
    reader->offset = base + offset;
    return reader->offset;
}

int closeProc(thandle_t)
{
    return 0;
}

toff_t sizeProc(thandle_t handle)
{
    return static_cast<MemoryReader*>(handle)->bytes->size();
}

int mapProc(thandle_t, void**, toff_t*)
{
    return 0;
}

void unmapProc(thandle_t, void*, toff_t) {}

// Damaged input is an ordinary answer here (null), so libtiff's messages are dropped.
int quietHandler(TIFF*, void*, const char*, const char*, va_list)
{
    return 1;
}

struct TIFFCloser {
    void operator()(TIFF* tif) const { TIFFClose(tif); }
};

uint32_t premultipliedArgbOfTIFF(uint32_t abgr)
{
    return (uint32_t(TIFFGetA(abgr)) << 24) | (uint32_t(TIFFGetR(abgr)) << 16) | (uint32_t(TIFFGetG(abgr)) << 8) |
           uint32_t(TIFFGetB(abgr));
}

uint32_t blendChannel(uint32_t source, uint32_t target, uint32_t alpha)
{
    return std::min<uint32_t>(255, source + (target * (255 - alpha) + 127) / 255);
}

// libtiff's shares of kHostImageReadBudget: its largest single block, the values of a directory's
// tags, and a strip or tile as stored and as decoded (all its planes) are each held to one share,
// so that with the strip tables libtiff builds (a share each at most) they stay within the budget.
constexpr uint64_t kTIFFShare = kHostImageReadBudget / 8;

// Unsigned words of a TIFF in memory, in its byte order; false past the end.
bool readWord(const std::vector<uint8_t>& bytes, bool bigEndian, uint64_t at, int width, uint64_t& value)
{
    if (at > bytes.size() || uint64_t(width) > bytes.size() - at)
        return false;
    value = 0;
    for (int i = 0; i < width; ++i)
        value = (value << 8) | bytes[size_t(at) + size_t(bigEndian ? i : width - 1 - i)];
    return true;
}

// Whether the tags of the first directory and of directory index, as libtiff would hold them
// (every value widened to 8 bytes but bytes and text), fit one share. libtiff reads what a tag
// claims as far as the file holds it, so many tags over the same bytes could take many times the
// file. Directories that cannot be read are left for libtiff to refuse.
bool tagsFit(const std::vector<uint8_t>& bytes, size_t index)
{
    if (bytes.size() < 8 || bytes[0] != bytes[1] || (bytes[0] != 'I' && bytes[0] != 'M'))
        return true;
    const bool bigEndian = bytes[0] == 'M';
    uint64_t version = 0;
    readWord(bytes, bigEndian, 2, 2, version);
    const bool wide = version == 43; // BigTIFF: counts and offsets of 8 bytes
    const int word = wide ? 8 : 4;
    const uint64_t entrySize = wide ? 20 : 12;
    uint64_t at = 0;
    if (!readWord(bytes, bigEndian, wide ? 8 : 4, word, at))
        return true;
    for (size_t directory = 0; at != 0; ++directory) {
        uint64_t entries = 0;
        if (!readWord(bytes, bigEndian, at, wide ? 8 : 2, entries))
            return true;
        const uint64_t first = at + (wide ? 8 : 2);
        if (directory == 0 || directory == index) {
            uint64_t held = 0;
            uint64_t type = 0;
            uint64_t count = 0;
            for (uint64_t e = 0; e < entries && held <= kTIFFShare; ++e) {
                if (!readWord(bytes, bigEndian, first + e * entrySize + 2, 2, type) ||
                    !readWord(bytes, bigEndian, first + e * entrySize + 4, word, count))
                    break;
                const bool bytewise = type == 1 || type == 2 || type == 6 || type == 7;
                held += std::min(count, kTIFFShare + 1) * (bytewise ? 1 : 8);
            }
            if (held > kTIFFShare)
                return false;
        }
        if (directory == index || !readWord(bytes, bigEndian, first + entries * entrySize, word, at))
            return true;
    }
    return true;
}

// Whether every strip or tile fits a share as stored and as decoded (a JPEG one a quarter share,
// since libjpeg may hold three times it), with a codec whose working memory follows the strip's.
// The other codecs (old-style JPEG, JBIG, LERC, LZMA, Zstandard, WebP, ...) size their buffers
// from their own headers, so their images are refused.
bool stripsFit(TIFF* tif)
{
    uint16_t compression = COMPRESSION_NONE;
    uint16_t planar = PLANARCONFIG_CONTIG;
    uint16_t samples = 1;
    TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &compression);
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    constexpr uint16_t kBounded[] = {COMPRESSION_NONE,     COMPRESSION_CCITTRLE, COMPRESSION_CCITTFAX3,
                                     COMPRESSION_CCITTFAX4, COMPRESSION_CCITTRLEW, COMPRESSION_LZW,
                                     COMPRESSION_PACKBITS, COMPRESSION_DEFLATE,  COMPRESSION_ADOBE_DEFLATE,
                                     COMPRESSION_JPEG};
    if (std::find(std::begin(kBounded), std::end(kBounded), compression) == std::end(kBounded))
        return false;
    const bool tiled = TIFFIsTiled(tif) != 0;
    const uint64_t planes = planar == PLANARCONFIG_SEPARATE ? std::max<uint16_t>(samples, 1) : 1;
    const uint64_t decoded = tiled ? TIFFTileSize64(tif) : TIFFStripSize64(tif);
    const uint64_t limit = compression == COMPRESSION_JPEG ? kTIFFShare / 4 : kTIFFShare;
    if (decoded == 0 || decoded > limit / planes)
        return false;
    const uint32_t count = tiled ? TIFFNumberOfTiles(tif) : TIFFNumberOfStrips(tif);
    for (uint32_t i = 0; i < count; ++i)
        if (TIFFGetStrileByteCount(tif, i) > kTIFFShare)
            return false;
    return true;
}

// Little-endian TIFF words, appended.
void putShort(std::vector<uint8_t>& out, uint16_t value)
{
    out.push_back(uint8_t(value));
    out.push_back(uint8_t(value >> 8));
}

void putLong(std::vector<uint8_t>& out, uint32_t value)
{
    putShort(out, uint16_t(value));
    putShort(out, uint16_t(value >> 16));
}

} // namespace

std::vector<uint8_t> HostTIFFOfPNG(const void* png, size_t size)
{
    HostPixelMap pixels;
    if (HostReadPNGFromMemory(png, size, pixels, kHostMaxImagePixels) != noErr)
        return {};
    const auto width = uint32_t(pixels.Width());
    const auto height = uint32_t(pixels.Height());
    // The header, one directory of kEntries entries, the four bits-per-sample values, the strip.
    // The entries say: no compression, RGB, four samples of which the last is unassociated alpha.
    constexpr uint32_t kEntries = 11;
    constexpr uint32_t kBitsAt = 8 + 2 + kEntries * 12 + 4;
    constexpr uint32_t kStripAt = kBitsAt + 8;
    const uint32_t stripBytes = width * height * 4;
    constexpr uint16_t kShort = 3, kLong = 4;
    const struct {
        uint16_t tag, type;
        uint32_t count, value;
    } entries[kEntries] = {
        {256, kLong, 1, width},   {257, kLong, 1, height},  {258, kShort, 4, kBitsAt},
        {259, kShort, 1, 1},      {262, kShort, 1, 2},      {273, kLong, 1, kStripAt},
        {277, kShort, 1, 4},      {278, kLong, 1, height},  {279, kLong, 1, stripBytes},
        {284, kShort, 1, 1},      {338, kShort, 1, 2},
    };
    std::vector<uint8_t> tiff{'I', 'I', 42, 0};
    tiff.reserve(kStripAt + stripBytes);
    putLong(tiff, 8);
    putShort(tiff, kEntries);
    for (const auto& entry : entries) {
        putShort(tiff, entry.tag);
        putShort(tiff, entry.type);
        putLong(tiff, entry.count);
        // A single short lies in the low bytes of the value field, as little-endian puts it.
        putLong(tiff, entry.value);
    }
    putLong(tiff, 0);
    for (int i = 0; i < 4; ++i)
        putShort(tiff, 8);
    for (uint32_t y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(pixels.BaseAddr() + size_t(y) * size_t(pixels.RowBytes()));
        for (uint32_t x = 0; x < width; ++x) {
            const uint32_t argb = row[x];
            tiff.insert(tiff.end(), {uint8_t(argb >> 16), uint8_t(argb >> 8), uint8_t(argb), uint8_t(argb >> 24)});
        }
    }
    return tiff;
}

CGImageSourceRef CGImageSourceCreateWithData(const void* data, size_t size)
{
    if (data == nullptr || size == 0)
        return nullptr;
    auto* source = new (std::nothrow) HostImageSource;
    if (source == nullptr)
        return nullptr;
    try {
        const auto* bytes = static_cast<const uint8_t*>(data);
        source->bytes.assign(bytes, bytes + size);
    } catch (const std::bad_alloc&) {
        delete source;
        return nullptr;
    }
    return source;
}

void CGImageSourceRelease(CGImageSourceRef source)
{
    delete source;
}

CGImageRef CGImageSourceCreateImageAtIndex(CGImageSourceRef source, size_t index)
{
    if (source == nullptr || index > 0xFFFF || !tagsFit(source->bytes, index))
        return nullptr;
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (options == nullptr)
        return nullptr;
    TIFFOpenOptionsSetErrorHandlerExtR(options, quietHandler, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options, quietHandler, nullptr);
    // Bounds every allocation libtiff makes for strips, tiles, tags and tables (this libtiff has no
    // bound of their sum: tagsFit and stripsFit keep that).
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, tmsize_t(kTIFFShare));
    MemoryReader reader{&source->bytes, 0};
    // "m": no mapping; the bytes are read through the procedures above.
    std::unique_ptr<TIFF, TIFFCloser> tif(TIFFClientOpenExt("clipboard", "rm", &reader, readProc, writeProc, seekProc,
                                                            closeProc, sizeProc, mapProc, unmapProc, options));
    TIFFOpenOptionsFree(options);
    if (!tif || !TIFFSetDirectory(tif.get(), tdir_t(index)))
        return nullptr;
    uint32_t width = 0;
    uint32_t height = 0;
    if (!TIFFGetField(tif.get(), TIFFTAG_IMAGEWIDTH, &width) || !TIFFGetField(tif.get(), TIFFTAG_IMAGELENGTH, &height))
        return nullptr;
    if (width == 0 || height == 0 || int64_t(width) * height > kHostMaxImagePixels)
        return nullptr;
    char message[1024];
    if (!TIFFRGBAImageOK(tif.get(), message) || !stripsFit(tif.get()))
        return nullptr;
    auto* image = new (std::nothrow) HostImage;
    if (image == nullptr)
        return nullptr;
    try {
        image->width = width;
        image->height = height;
        image->pixels.assign(size_t(width) * height, 0);
    } catch (const std::bad_alloc&) {
        delete image;
        return nullptr;
    }
    // Stops at the first damaged strip or tile instead of decoding the rest as blank.
    if (!TIFFReadRGBAImageOriented(tif.get(), width, height, image->pixels.data(), ORIENTATION_TOPLEFT, 1)) {
        delete image;
        return nullptr;
    }
    for (uint32_t& pixel : image->pixels)
        pixel = premultipliedArgbOfTIFF(pixel);
    return image;
}

void CGImageRelease(CGImageRef image)
{
    delete image;
}

size_t CGImageGetWidth(CGImageRef image)
{
    return image != nullptr ? image->width : 0;
}

size_t CGImageGetHeight(CGImageRef image)
{
    return image != nullptr ? image->height : 0;
}

CGColorSpaceRef CGColorSpaceCreateDeviceRGB()
{
    return new HostColorSpace;
}

void CGColorSpaceRelease(CGColorSpaceRef space)
{
    delete space;
}

CGContextRef CGBitmapContextCreate(void* data, size_t width, size_t height, size_t bitsPerComponent,
                                   size_t bytesPerRow, CGColorSpaceRef /*space*/, CGBitmapInfo info)
{
    if (data == nullptr || bitsPerComponent != 8 || width > bytesPerRow / 4 ||
        info != (kCGBitmapByteOrder32Little | kCGImageAlphaNoneSkipFirst))
        return nullptr;
    return new HostBitmapContext{static_cast<uint8_t*>(data), width, height, bytesPerRow};
}

void CGContextRelease(CGContextRef context)
{
    delete context;
}

void CGContextDrawImage(CGContextRef context, CGRect rect, CGImageRef image)
{
    if (context == nullptr || image == nullptr || image->width == 0 || image->height == 0 || !(rect.width > 0) ||
        !(rect.height > 0))
        return;
    // The rectangle's origin is the bottom-left corner; rows of the pixels run from the top.
    const double top = double(context->height) - (rect.y + rect.height);
    const double left = rect.x;
    const int64_t y0 = std::max<int64_t>(0, int64_t(std::ceil(top - 0.5)));
    const int64_t y1 = std::min<int64_t>(int64_t(context->height), int64_t(std::ceil(top + rect.height - 0.5)));
    const int64_t x0 = std::max<int64_t>(0, int64_t(std::ceil(left - 0.5)));
    const int64_t x1 = std::min<int64_t>(int64_t(context->width), int64_t(std::ceil(left + rect.width - 0.5)));
    for (int64_t y = y0; y < y1; ++y) {
        const double sy = (double(y) + 0.5 - top) * double(image->height) / rect.height;
        const size_t row = std::min(image->height - 1, size_t(std::max(0.0, sy)));
        auto* out = reinterpret_cast<uint32_t*>(context->data + size_t(y) * context->bytesPerRow);
        for (int64_t x = x0; x < x1; ++x) {
            const double sx = (double(x) + 0.5 - left) * double(image->width) / rect.width;
            const size_t column = std::min(image->width - 1, size_t(std::max(0.0, sx)));
            const uint32_t source = image->pixels[row * image->width + column];
            const uint32_t target = out[x];
            const uint32_t alpha = source >> 24;
            const uint32_t red = blendChannel((source >> 16) & 0xFF, (target >> 16) & 0xFF, alpha);
            const uint32_t green = blendChannel((source >> 8) & 0xFF, (target >> 8) & 0xFF, alpha);
            const uint32_t blue = blendChannel(source & 0xFF, target & 0xFF, alpha);
            out[x] = 0xFF000000u | (red << 16) | (green << 8) | blue;
        }
    }
}
