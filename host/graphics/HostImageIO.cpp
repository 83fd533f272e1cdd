// TIFF decoding through libtiff from memory and PNG decoding through HostPNG, into 32-bit bitmap
// contexts. An image is decoded only where it is drawn whole into a new context's pixels: straight
// into them, a row, tile or strip at a time, so that its pixels exist once.
#include "HostImageIO.h"

#include "HostPNG.h"

#include <tiffio.h>

#include <algorithm>
#include <array>
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
    size_t width = 0;   // as shown: for orientations 5-8 the stored height, and the other way round
    size_t height = 0;
    uint16_t orientation = ORIENTATION_TOPLEFT;
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

// libtiff's shares of kHostImageReadBudget. The values of a directory's tags (strip tables
// included) are held to kTIFFShare for each handle open on it (one for each plane read by rows,
// four at most). What is decoded at a time is held to kTIFFShare when it is a row of every plane,
// to kTIFFUnitShare when it is a tile or a strip (a JPEG strip or tile to a quarter of it, since
// libjpeg may hold three times its samples), and the pixels converted from it at a time to
// kTIFFRowShare. A stored strip is read where the bytes lie, unless libtiff must reverse its bits:
// then its copy is held to kTIFFShare. With libtiff's small tables they stay within the budget.
constexpr uint64_t kTIFFShare = kHostImageReadBudget / 8;
constexpr uint64_t kTIFFUnitShare = kHostImageReadBudget / 4 * 3;
constexpr uint64_t kTIFFRowShare = kHostImageReadBudget / 16;

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
    // bound of their sum: tagsFit and readPlan keep that).
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, tmsize_t(kTIFFUnitShare));
    reader = MemoryReader{bytes.get(), 0};
    std::unique_ptr<TIFF, TIFFCloser> tif(TIFFClientOpenExt("clipboard", "r", &reader, readProc, writeProc, seekProc,
                                                            closeProc, sizeProc, mapProc, unmapProc, options));
    TIFFOpenOptionsFree(options);
    if (!tif || !TIFFSetDirectory(tif.get(), tdir_t(index)))
        return nullptr;
    return tif;
}

// How a TIFF is read. libtiff reads strips by rows, each plane through a handle of its own (one
// handle would go back to the start of a plane's strip for every row); tiles one at a time; and
// strips whole only where the rows cannot be read alone: YCbCr subsampled in blocks of several
// rows that libtiff does not upsample itself (it does for JPEG). Each unit is converted by
// libtiff's own routines in runs of blockRows rows (a subsampling block).
struct ReadPlan {
    bool tiled = false;
    bool byStrips = false;
    uint32_t blockRows = 1;
    uint32_t unitWidth = 0; // pixels converted from a row of a unit
};

// The plan for the image at the handle's directory; false when the image is refused for its size
// or for a codec whose working memory does not follow its strips (old-style JPEG, JBIG, LERC, LZMA,
// Zstandard, WebP, ... size their buffers from their own headers).
bool readPlan(TIFF* tif, uint32_t width, ReadPlan& plan)
{
    uint16_t compression = COMPRESSION_NONE;
    uint16_t planar = PLANARCONFIG_CONTIG;
    uint16_t samples = 1;
    uint16_t photometric = PHOTOMETRIC_MINISBLACK;
    uint16_t subX = 1;
    uint16_t subY = 1;
    uint16_t fillOrder = FILLORDER_MSB2LSB;
    TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &compression);
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
    TIFFGetFieldDefaulted(tif, TIFFTAG_FILLORDER, &fillOrder);
    constexpr uint16_t kBounded[] = {COMPRESSION_NONE,     COMPRESSION_CCITTRLE, COMPRESSION_CCITTFAX3,
                                     COMPRESSION_CCITTFAX4, COMPRESSION_CCITTRLEW, COMPRESSION_LZW,
                                     COMPRESSION_PACKBITS, COMPRESSION_DEFLATE,  COMPRESSION_ADOBE_DEFLATE,
                                     COMPRESSION_JPEG};
    if (std::find(std::begin(kBounded), std::end(kBounded), compression) == std::end(kBounded))
        return false;
    const bool separate = planar == PLANARCONFIG_SEPARATE && samples > 1;
    plan.tiled = TIFFIsTiled(tif) != 0;
    const uint64_t planes = separate ? std::min<uint16_t>(samples, 4) : 1; // colour and alpha at most
    if (photometric == PHOTOMETRIC_YCBCR && compression != COMPRESSION_JPEG && !separate) {
        TIFFGetFieldDefaulted(tif, TIFFTAG_YCBCRSUBSAMPLING, &subX, &subY);
        plan.blockRows = std::max<uint16_t>(subY, 1);
        plan.byStrips = !plan.tiled && subY > 1;
    }
    uint32_t tileWidth = 0;
    if (plan.tiled)
        TIFFGetField(tif, TIFFTAG_TILEWIDTH, &tileWidth);
    plan.unitWidth = plan.tiled ? std::min(tileWidth, width) : width;
    const uint64_t strip = plan.tiled ? TIFFTileSize64(tif) : TIFFStripSize64(tif);
    const uint64_t unitLimit = compression == COMPRESSION_JPEG ? kTIFFUnitShare / 4 : kTIFFUnitShare;
    if (strip == 0 || plan.unitWidth == 0 || uint64_t(plan.unitWidth) * plan.blockRows * 4 > kTIFFRowShare)
        return false;
    if ((plan.tiled || plan.byStrips || compression == COMPRESSION_JPEG) && strip > unitLimit / planes)
        return false;
    const uint64_t row = TIFFScanlineSize64(tif);
    if (!plan.tiled && !plan.byStrips && (row == 0 || row > kTIFFShare / planes))
        return false;
    if (fillOrder != FILLORDER_MSB2LSB) {
        const uint32_t count = plan.tiled ? TIFFNumberOfTiles(tif) : TIFFNumberOfStrips(tif);
        for (uint32_t i = 0; i < count; ++i)
            if (TIFFGetStrileByteCount(tif, i) > kTIFFShare)
                return false;
    }
    return true;
}

// Where converted pixels land: the stored pixel (x, y) of a storedWidth x storedHeight image goes
// where its orientation shows it (2 mirrored left-right, 3 turned 180 degrees, 4 mirrored
// top-bottom, 5 transposed, 6 turned 90 degrees clockwise, 7 transverse, 8 turned 90 degrees
// counter-clockwise), as libtiff's 0xAABBGGRR premultiplied words become opaque 0xFFRRGGBB ones:
// the image over black.
struct Placement {
    uint32_t* pixels;
    int64_t rowWords;
    int64_t storedWidth;
    int64_t storedHeight;
    uint16_t orientation;

    void Put(const uint32_t* abgr, int64_t x, int64_t y, int64_t count) const
    {
        const int64_t right = storedWidth - 1 - x;
        const int64_t bottom = storedHeight - 1 - y;
        int64_t column = x;
        int64_t row = y;
        int64_t step = 1;
        switch (orientation) {
        case ORIENTATION_TOPRIGHT:
            column = right, step = -1;
            break;
        case ORIENTATION_BOTRIGHT:
            column = right, row = bottom, step = -1;
            break;
        case ORIENTATION_BOTLEFT:
            row = bottom;
            break;
        case ORIENTATION_LEFTTOP:
            column = y, row = x, step = rowWords;
            break;
        case ORIENTATION_RIGHTTOP:
            column = bottom, row = x, step = rowWords;
            break;
        case ORIENTATION_RIGHTBOT:
            column = bottom, row = right, step = -rowWords;
            break;
        case ORIENTATION_LEFTBOT:
            column = y, row = right, step = -rowWords;
            break;
        default:
            break;
        }
        uint32_t* out = pixels + row * rowWords + column;
        for (int64_t i = 0; i < count; ++i, out += step) {
            const uint32_t word = abgr[i];
            *out = 0xFF000000u | ((word & 0xFF) << 16) | (word & 0xFF00) | ((word >> 16) & 0xFF);
        }
    }
};

// libtiff's converter of the image's samples to words, with its tables; ended with the decode.
struct RGBAConverter {
    TIFFRGBAImage image{};
    bool begun = false;
    explicit RGBAConverter(TIFF* tif)
    {
        char message[1024];
        begun = TIFFRGBAImageBegin(&image, tif, 0, message) != 0;
    }
    ~RGBAConverter()
    {
        if (begun)
            TIFFRGBAImageEnd(&image);
    }

    // The plane read for each channel the converter takes (-1: none): red, green, blue (one plane
    // for grey and palette images) and alpha (or the fourth ink of CMYK), which follows the
    // colour planes. Interleaved samples are all in plane 0.
    std::array<int, 4> PlaneOfChannel() const
    {
        if (image.isContig)
            return {0, -1, -1, -1};
        if (image.photometric == PHOTOMETRIC_MINISWHITE || image.photometric == PHOTOMETRIC_MINISBLACK ||
            image.photometric == PHOTOMETRIC_PALETTE)
            return {0, 0, 0, image.alpha != 0 ? 1 : -1};
        return {0, 1, 2, image.alpha != 0 ? 3 : -1};
    }
    // Converts rows rows of width pixels, from rows runs apart by skip pixels, into words.
    void Convert(uint32_t* words, uint32_t x, uint32_t y, uint32_t width, uint32_t rows, int32_t skip,
                 const std::array<uint8_t*, 4>& channels)
    {
        if (image.isContig)
            image.put.contig(&image, words, x, y, width, rows, skip, 0, channels[0]);
        else
            image.put.separate(&image, words, x, y, width, rows, skip, 0, channels[0], channels[1], channels[2],
                               channels[3]);
    }
};

// The channels' rows in the planes' buffers, offset bytes in.
std::array<uint8_t*, 4> channelsAt(std::vector<std::vector<uint8_t>>& planes, const std::array<int, 4>& planeOf,
                                   uint64_t offset)
{
    std::array<uint8_t*, 4> channels{};
    for (size_t c = 0; c < 4; ++c)
        channels[c] = planeOf[c] < 0 ? nullptr : planes[size_t(planeOf[c])].data() + offset;
    return channels;
}

size_t planesRead(const RGBAConverter& converter)
{
    const std::array<int, 4> planeOf = converter.PlaneOfChannel();
    return size_t(*std::max_element(planeOf.begin(), planeOf.end()) + 1);
}

// Reads every row of every plane in turn, each plane through a handle of its own.
bool readRows(const HostImage& image, TIFF* tif, RGBAConverter& converter, const Placement& placement)
{
    const uint32_t width = converter.image.width;
    const size_t planeCount = planesRead(converter);
    std::vector<std::vector<uint8_t>> rows(planeCount, std::vector<uint8_t>(size_t(TIFFScanlineSize64(tif))));
    std::vector<MemoryReader> readers(planeCount);
    std::vector<std::unique_ptr<TIFF, TIFFCloser>> handles(planeCount);
    for (size_t p = 1; p < planeCount; ++p)
        if (!(handles[p] = openTIFF(image.bytes, image.index, readers[p])))
            return false;
    const std::array<uint8_t*, 4> channels = channelsAt(rows, converter.PlaneOfChannel(), 0);
    std::vector<uint32_t> words(width);
    for (uint32_t y = 0; y < converter.image.height; ++y) {
        for (size_t p = 0; p < planeCount; ++p)
            if (TIFFReadScanline(p == 0 ? tif : handles[p].get(), rows[p].data(), y, uint16_t(p)) < 0)
                return false;
        converter.Convert(words.data(), 0, y, width, 1, 0, channels);
        placement.Put(words.data(), 0, y, width);
    }
    return true;
}

// Converts the unit (a tile or a strip) at (x, y), of width x rows pixels, stride pixels a row
// apart, a block of rows at a time.
void convertUnit(RGBAConverter& converter, std::vector<std::vector<uint8_t>>& planes, uint64_t blockBytes,
                 uint32_t blockRows, uint32_t x, uint32_t y, uint32_t width, uint32_t rows, uint32_t stride,
                 std::vector<uint32_t>& words, const Placement& placement)
{
    const std::array<int, 4> planeOf = converter.PlaneOfChannel();
    for (uint32_t r = 0; r < rows; r += blockRows) {
        const uint32_t count = std::min(blockRows, rows - r);
        converter.Convert(words.data(), x, y + r, width, count, int32_t(stride - width),
                          channelsAt(planes, planeOf, r / blockRows * blockBytes));
        for (uint32_t i = 0; i < count; ++i)
            placement.Put(words.data() + size_t(i) * width, x, y + r + i, width);
    }
}

bool readTiles(TIFF* tif, RGBAConverter& converter, const ReadPlan& plan, const Placement& placement)
{
    uint32_t tileWidth = 0;
    uint32_t tileHeight = 0;
    TIFFGetField(tif, TIFFTAG_TILEWIDTH, &tileWidth);
    TIFFGetField(tif, TIFFTAG_TILELENGTH, &tileHeight);
    const uint32_t width = converter.image.width;
    const uint32_t height = converter.image.height;
    const size_t planeCount = planesRead(converter);
    std::vector<std::vector<uint8_t>> tiles(planeCount, std::vector<uint8_t>(size_t(TIFFTileSize64(tif))));
    std::vector<uint32_t> words(size_t(plan.unitWidth) * plan.blockRows);
    const uint64_t blockBytes = TIFFVTileSize64(tif, plan.blockRows);
    for (uint32_t y = 0; y < height; y += tileHeight)
        for (uint32_t x = 0; x < width; x += tileWidth) {
            for (size_t p = 0; p < planeCount; ++p)
                if (TIFFReadTile(tif, tiles[p].data(), x, y, 0, uint16_t(p)) < 0)
                    return false;
            convertUnit(converter, tiles, blockBytes, plan.blockRows, x, y, std::min(tileWidth, width - x),
                        std::min(tileHeight, height - y), tileWidth, words, placement);
        }
    return true;
}

bool readStrips(TIFF* tif, RGBAConverter& converter, const ReadPlan& plan, const Placement& placement)
{
    uint32_t rowsPerStrip = 0;
    TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &rowsPerStrip);
    const uint32_t width = converter.image.width;
    const uint32_t height = converter.image.height;
    rowsPerStrip = std::clamp<uint32_t>(rowsPerStrip, 1, height);
    std::vector<std::vector<uint8_t>> strip(1, std::vector<uint8_t>(size_t(TIFFStripSize64(tif))));
    std::vector<uint32_t> words(size_t(width) * plan.blockRows);
    const uint64_t blockBytes = TIFFVStripSize64(tif, plan.blockRows);
    for (uint32_t y = 0; y < height; y += rowsPerStrip) {
        if (TIFFReadEncodedStrip(tif, TIFFComputeStrip(tif, y, 0), strip[0].data(), tmsize_t(strip[0].size())) < 0)
            return false;
        convertUnit(converter, strip, blockBytes, plan.blockRows, 0, y, width, std::min(rowsPerStrip, height - y),
                    width, words, placement);
    }
    return true;
}

// Decodes the TIFF into the placement's pixels; false for damage met on the way.
bool decodeTIFF(const HostImage& image, const Placement& placement)
{
    MemoryReader reader{};
    std::unique_ptr<TIFF, TIFFCloser> tif = openTIFF(image.bytes, image.index, reader);
    ReadPlan plan;
    uint32_t width = 0;
    if (!tif || !TIFFGetField(tif.get(), TIFFTAG_IMAGEWIDTH, &width) || !readPlan(tif.get(), width, plan))
        return false;
    RGBAConverter converter(tif.get());
    if (!converter.begun || int64_t(converter.image.width) != placement.storedWidth ||
        int64_t(converter.image.height) != placement.storedHeight)
        return false;
    if (plan.tiled)
        return readTiles(tif.get(), converter, plan, placement);
    if (plan.byStrips)
        return readStrips(tif.get(), converter, plan, placement);
    return readRows(image, tif.get(), converter, placement);
}

// Decodes the PNG into the pixels, made opaque over black; false for damage met on the way.
bool decodePNG(const HostImage& image, uint8_t* pixels, size_t bytesPerRow)
{
    if (HostReadPNGInto(image.bytes->data(), image.bytes->size(), pixels, int32_t(bytesPerRow),
                        int32_t(image.width), int32_t(image.height)) != noErr)
        return false;
    for (size_t y = 0; y < image.height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(pixels + y * bytesPerRow);
        for (size_t x = 0; x < image.width; ++x) {
            const uint32_t word = row[x];
            const uint32_t alpha = word >> 24;
            auto scale = [alpha](uint32_t c) { return (c * alpha + 127) / 255; };
            row[x] = 0xFF000000u | (scale((word >> 16) & 0xFF) << 16) | (scale((word >> 8) & 0xFF) << 8) |
                     scale(word & 0xFF);
        }
    }
    return true;
}

// Whether the drawing is the one taken: the image whole at its own size over the whole context,
// in rows of whole words. What the pixels held is not read: the image replaces it.
bool drawsWhole(const HostBitmapContext& context, const CGRect& rect, const HostImage& image)
{
    return rect.x == 0 && rect.y == 0 && rect.width == double(context.width) &&
           rect.height == double(context.height) && image.width == context.width && image.height == context.height &&
           context.bytesPerRow % 4 == 0 && reinterpret_cast<uintptr_t>(context.data) % 4 == 0;
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
    ReadPlan plan;
    if (!TIFFRGBAImageOK(tif.get(), message) || !readPlan(tif.get(), width, plan))
        return nullptr;
    uint16_t orientation = ORIENTATION_TOPLEFT;
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_ORIENTATION, &orientation);
    if (orientation >= ORIENTATION_LEFTTOP)
        std::swap(width, height);
    return new (std::nothrow) HostImage{source->bytes, false, uint16_t(index), width, height, orientation};
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
    if (image == nullptr)
        return;
    image->damaged = true;
    if (context == nullptr || image->width == 0 || image->height == 0 || !drawsWhole(*context, rect, *image))
        return;
    try {
        if (image->png) {
            image->damaged = !decodePNG(*image, context->data, context->bytesPerRow);
            return;
        }
        const bool turned = image->orientation >= ORIENTATION_LEFTTOP;
        const Placement placement{reinterpret_cast<uint32_t*>(context->data), int64_t(context->bytesPerRow / 4),
                                  int64_t(turned ? image->height : image->width),
                                  int64_t(turned ? image->width : image->height), image->orientation};
        image->damaged = !decodeTIFF(*image, placement);
    } catch (const std::bad_alloc&) {
        image->damaged = true;
    }
}
