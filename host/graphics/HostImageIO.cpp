// TIFF decoding through libtiff from memory, PNG decoding through HostPNG, and nearest-neighbour
// drawing into 32-bit bitmap contexts. An image is decoded when it is drawn: drawn whole into a
// new context's pixels, it is decoded straight into them, so its pixels exist once.
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
    CFDataRef bytes;
};

// Only the bytes and what their header says: the pixels are decoded where they are drawn.
struct HostImage {
    CFDataRef bytes;
    bool png = false;
    uint16_t index = 0; // the TIFF directory
    size_t width = 0;
    size_t height = 0;
    bool damaged = false;
};

struct HostColorSpace {};

struct HostBitmapContext {
    uint8_t* data = nullptr;
    size_t width = 0;
    size_t height = 0;
    size_t bytesPerRow = 0;
};

namespace {

// libtiff reads the source through these; the handle is a cursor over the bytes, which libtiff
// also takes as its mapping of the file, so strips are decoded from them without a copy.
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

int mapProc(thandle_t handle, void** base, toff_t* size)
{
    auto* reader = static_cast<MemoryReader*>(handle);
    // Read-only use: libtiff opened for reading never writes through its mapping.
    *base = const_cast<uint8_t*>(reader->bytes->data());
    *size = reader->bytes->size();
    return 1;
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

// libtiff's shares of kHostImageReadBudget: the values of a directory's tags (strip tables
// included) are held to kTIFFShare, and a strip or tile as decoded (all its planes) to
// kTIFFStripShare. A stored strip is read where the bytes lie, unless libtiff must reverse its
// bits: then its copy is held to kTIFFShare. With libtiff's small tables they stay within the
// budget. A strip share holds a 4096 x 4096 RGB image in one strip.
constexpr uint64_t kTIFFShare = kHostImageReadBudget / 8;
constexpr uint64_t kTIFFStripShare = kHostImageReadBudget / 4 * 3;

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

// Whether every strip or tile fits its shares as stored and as decoded (a JPEG one a quarter share,
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
    const uint64_t limit = compression == COMPRESSION_JPEG ? kTIFFStripShare / 4 : kTIFFStripShare;
    if (decoded == 0 || decoded > limit / planes)
        return false;
    uint16_t fillOrder = FILLORDER_MSB2LSB;
    TIFFGetFieldDefaulted(tif, TIFFTAG_FILLORDER, &fillOrder);
    const uint64_t stored = fillOrder == FILLORDER_MSB2LSB ? kTIFFStripShare : kTIFFShare;
    const uint32_t count = tiled ? TIFFNumberOfTiles(tif) : TIFFNumberOfStrips(tif);
    for (uint32_t i = 0; i < count; ++i)
        if (TIFFGetStrileByteCount(tif, i) > stored)
            return false;
    return true;
}

bool isPNG(const std::vector<uint8_t>& bytes)
{
    static constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return bytes.size() >= 8 && std::equal(std::begin(kSignature), std::end(kSignature), bytes.begin());
}

// The TIFF of the bytes, opened at directory index, when its tags fit their share; null otherwise.
std::unique_ptr<TIFF, TIFFCloser> openTIFF(const CFDataRef& bytes, size_t index, MemoryReader& reader)
{
    if (index > 0xFFFF || !tagsFit(*bytes, index))
        return nullptr;
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (options == nullptr)
        return nullptr;
    TIFFOpenOptionsSetErrorHandlerExtR(options, quietHandler, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options, quietHandler, nullptr);
    // Bounds every allocation libtiff makes for strips, tiles, tags and tables (this libtiff has no
    // bound of their sum: tagsFit and stripsFit keep that).
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, tmsize_t(kTIFFStripShare));
    reader = MemoryReader{bytes.get(), 0};
    std::unique_ptr<TIFF, TIFFCloser> tif(TIFFClientOpenExt("clipboard", "r", &reader, readProc, writeProc, seekProc,
                                                            closeProc, sizeProc, mapProc, unmapProc, options));
    TIFFOpenOptionsFree(options);
    if (!tif || !TIFFSetDirectory(tif.get(), tdir_t(index)))
        return nullptr;
    return tif;
}

// Decodes the image into width x height words at raster, rows packed: TIFF's premultiplied
// 0xAABBGGRR words, or PNG's native words, not premultiplied. False for damage met on the way.
bool decodeInto(const HostImage& image, uint32_t* raster)
{
    if (image.png)
        return HostReadPNGInto(image.bytes->data(), image.bytes->size(), reinterpret_cast<uint8_t*>(raster),
                               int32_t(image.width * 4), int32_t(image.width), int32_t(image.height)) == noErr;
    MemoryReader reader{};
    std::unique_ptr<TIFF, TIFFCloser> tif = openTIFF(image.bytes, image.index, reader);
    // Stops at the first damaged strip or tile instead of decoding the rest as blank.
    return tif && TIFFReadRGBAImageOriented(tif.get(), uint32_t(image.width), uint32_t(image.height), raster,
                                            ORIENTATION_TOPLEFT, 1);
}

// A decoded word as premultiplied 0xAARRGGBB, the way libtiff premultiplies.
uint32_t premultipliedArgb(const HostImage& image, uint32_t word)
{
    if (!image.png)
        return premultipliedArgbOfTIFF(word);
    const uint32_t alpha = word >> 24;
    auto scale = [alpha](uint32_t c) { return (c * alpha + 127) / 255; };
    return (alpha << 24) | (scale((word >> 16) & 0xFF) << 16) | (scale((word >> 8) & 0xFF) << 8) | scale(word & 0xFF);
}

// Whether the image may be decoded straight into the context: drawn whole at its own size over
// pixels that hold nothing yet (so blending over them is the decoded colour over black), in
// packed rows.
bool decodesInPlace(const HostBitmapContext& context, const CGRect& rect, const HostImage& image)
{
    if (rect.x != 0 || rect.y != 0 || rect.width != double(context.width) || rect.height != double(context.height) ||
        image.width != context.width || image.height != context.height || context.bytesPerRow != context.width * 4)
        return false;
    const auto* words = reinterpret_cast<const uint64_t*>(context.data);
    const size_t count = context.width * context.height * 4;
    if (reinterpret_cast<uintptr_t>(context.data) % alignof(uint64_t) != 0)
        return false;
    for (size_t i = 0; i < count / 8; ++i)
        if (words[i] != 0)
            return false;
    for (size_t i = count / 8 * 8; i < count; ++i)
        if (context.data[i] != 0)
            return false;
    return true;
}

} // namespace

CGImageSourceRef CGImageSourceCreateWithData(CFDataRef data)
{
    if (!data || data->empty())
        return nullptr;
    return new (std::nothrow) HostImageSource{std::move(data)};
}

void CGImageSourceRelease(CGImageSourceRef source)
{
    delete source;
}

CGImageRef CGImageSourceCreateImageAtIndex(CGImageSourceRef source, size_t index)
{
    if (source == nullptr)
        return nullptr;
    if (isPNG(*source->bytes)) {
        int32_t width = 0;
        int32_t height = 0;
        if (index != 0 || !HostPNGSize(source->bytes->data(), source->bytes->size(), kHostMaxImagePixels, &width,
                                       &height))
            return nullptr;
        return new (std::nothrow) HostImage{source->bytes, true, 0, size_t(width), size_t(height)};
    }
    MemoryReader reader{};
    std::unique_ptr<TIFF, TIFFCloser> tif = openTIFF(source->bytes, index, reader);
    uint32_t width = 0;
    uint32_t height = 0;
    if (!tif || !TIFFGetField(tif.get(), TIFFTAG_IMAGEWIDTH, &width) ||
        !TIFFGetField(tif.get(), TIFFTAG_IMAGELENGTH, &height))
        return nullptr;
    if (width == 0 || height == 0 || int64_t(width) * height > kHostMaxImagePixels)
        return nullptr;
    char message[1024];
    if (!TIFFRGBAImageOK(tif.get(), message) || !stripsFit(tif.get()))
        return nullptr;
    return new (std::nothrow) HostImage{source->bytes, false, uint16_t(index), width, height};
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

bool HostImageDamaged(CGImageRef image)
{
    return image != nullptr && image->damaged;
}

void CGContextDrawImage(CGContextRef context, CGRect rect, CGImageRef image)
{
    if (context == nullptr || image == nullptr || image->width == 0 || image->height == 0 || !(rect.width > 0) ||
        !(rect.height > 0))
        return;
    image->damaged = false;
    if (decodesInPlace(*context, rect, *image)) {
        auto* pixels = reinterpret_cast<uint32_t*>(context->data);
        image->damaged = !decodeInto(*image, pixels);
        // Over black nothing but the image's premultiplied colour remains, made opaque.
        const size_t count = image->width * image->height;
        for (size_t i = 0; i < count; ++i)
            pixels[i] = 0xFF000000u | premultipliedArgb(*image, pixels[i]);
        return;
    }
    std::vector<uint32_t> decoded;
    try {
        decoded.assign(image->width * image->height, 0);
    } catch (const std::bad_alloc&) {
        image->damaged = true;
        return;
    }
    if (!decodeInto(*image, decoded.data())) {
        image->damaged = true;
        return;
    }
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
            const uint32_t source = premultipliedArgb(*image, decoded[row * image->width + column]);
            const uint32_t target = out[x];
            const uint32_t alpha = source >> 24;
            const uint32_t red = blendChannel((source >> 16) & 0xFF, (target >> 16) & 0xFF, alpha);
            const uint32_t green = blendChannel((source >> 8) & 0xFF, (target >> 8) & 0xFF, alpha);
            const uint32_t blue = blendChannel(source & 0xFF, target & 0xFF, alpha);
            out[x] = 0xFF000000u | (red << 16) | (green << 8) | blue;
        }
    }
}
