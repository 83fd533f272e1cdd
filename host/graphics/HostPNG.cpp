// PNG writing through libpng's simplified interface; reading through its full one, since the
// simplified reader takes 16-bit samples as linear light and brightens them.
#include "HostPNG.h"

#include <png.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// Files larger than this are not read: no image the program needs comes near it.
constexpr long kMaxFileBytes = 256L * 1024 * 1024;
// Deflate packs at most about 1032 bytes into one, and a 1-bit image holds 8 pixels a byte, so
// no honest PNG holds more pixels than this many per byte of file.
constexpr int64_t kMaxPixelsPerFileByte = 8 * 1040;

OSErr fileError(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return fnfErr;
    case EACCES: // a permission refusal, as the file calls answer it
    case EPERM:
    case EROFS:
        return wrPermErr;
    case ENOSPC:
    case EDQUOT:
        return dskFulErr;
    default:
        return ioErr;
    }
}

// The byte order of a native 32-bit pixel (alpha in the high byte) as libpng names it.
constexpr png_uint_32 kNativeFormat = std::endian::native == std::endian::little ? PNG_FORMAT_BGRA : PNG_FORMAT_ARGB;

} // namespace

OSErr HostWritePNG(const HostPixelMap& pixels, const char* path)
{
    if (!pixels.Valid() || path == nullptr)
        return paramErr;
    int32_t width = pixels.Width();
    int32_t height = pixels.Height();

    // 32-bit stores are written as they lie; others are first turned into colours.
    std::vector<uint32_t> converted;
    const void* buffer = pixels.BaseAddr();
    png_int_32 stride = pixels.RowBytes();
    if (pixels.Depth() != 32) {
        converted.resize(size_t(width) * size_t(height));
        for (int32_t y = 0; y < height; ++y) {
            for (int32_t x = 0; x < width; ++x)
                converted[size_t(y) * size_t(width) + size_t(x)] = pixels.Get(x, y);
        }
        buffer = converted.data();
        stride = width * 4;
    }

    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(width);
    image.height = png_uint_32(height);
    image.format = kNativeFormat;

    std::string temporary = std::string(path) + ".tmp-" + std::to_string(getpid());
    FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file)
        return fileError(errno);
    bool written = png_image_write_to_stdio(&image, file, 0, buffer, stride, nullptr) != 0;
    int writeError = std::ferror(file) ? errno : 0;
    if (std::fclose(file) != 0 && writeError == 0)
        writeError = errno;
    if (!written || writeError != 0) {
        std::remove(temporary.c_str());
        return writeError != 0 ? fileError(writeError) : OSErr(ioErr);
    }
    if (std::rename(temporary.c_str(), path) != 0) {
        OSErr err = fileError(errno);
        std::remove(temporary.c_str());
        return err;
    }
    return noErr;
}

OSErr WritePortPNG(CGrafPtr port, const char* path)
{
    PixMapHandle pixels = GetPortPixMap(port);
    return pixels ? HostWritePNG(*pixels, path) : OSErr(paramErr);
}

namespace {

// The bytes of a PNG in memory as libpng reads them; running out is a damaged file.
struct MemoryInput {
    const uint8_t* data;
    size_t size;
    size_t offset = 0;
};

void readFromMemory(png_structp png, png_bytep into, size_t count)
{
    auto* input = static_cast<MemoryInput*>(png_get_io_ptr(png));
    if (count > input->size - input->offset)
        png_error(png, "file cut short");
    std::memcpy(into, input->data + input->offset, count);
    input->offset += count;
}

// Every block libpng asks for is counted against kHostImageReadBudget; one that would pass it is
// refused, and the read then fails, even where libpng could go on without the block (it takes an
// oversized chunk's length as a warning only). Each block keeps its size in front of it.
struct ReadBudget {
    size_t left = kHostImageReadBudget;
    bool exceeded = false;
};

constexpr size_t kBlockHeader = alignof(std::max_align_t);

png_voidp budgetedMalloc(png_structp png, png_alloc_size_t size)
{
    auto* budget = static_cast<ReadBudget*>(png_get_mem_ptr(png));
    if (size > budget->left || budget->left - size < kBlockHeader) {
        budget->exceeded = true;
        return nullptr;
    }
    auto* block = static_cast<uint8_t*>(std::malloc(size + kBlockHeader));
    if (block == nullptr)
        return nullptr;
    budget->left -= size + kBlockHeader;
    std::memcpy(block, &size, sizeof size);
    return block + kBlockHeader;
}

void budgetedFree(png_structp png, png_voidp pointer)
{
    if (pointer == nullptr)
        return;
    uint8_t* block = static_cast<uint8_t*>(pointer) - kBlockHeader;
    png_alloc_size_t size = 0;
    std::memcpy(&size, block, sizeof size);
    static_cast<ReadBudget*>(png_get_mem_ptr(png))->left += size + kBlockHeader;
    std::free(block);
}

// Chunks that add nothing to the pixels read here, five bytes a name; they are skipped unread,
// whatever length they claim, instead of being held.
constexpr png_byte kSkippedChunks[] = "tEXt\0zTXt\0iTXt\0iCCP\0sPLT\0eXIf";
// The most chunks of the kinds libpng keeps in a list (text, palettes, unknown ones) that are held;
// the list above skips them, so this bounds only what it misses.
constexpr png_uint_32 kKeptChunks = 100;

// Damaged input ends the read quietly: the caller answers paramErr.
void stopReading(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void ignoreWarning(png_structp, png_const_charp) {}

// Asks libpng for 8-bit native pixels (alpha high) whatever the file holds: palettes, grey and
// sub-byte depths expanded, transparency as alpha, opaque alpha added where the file has none.
// 16-bit samples keep their high byte, and no gamma is applied, so every kind of PNG gives the
// samples it stores, as a TIFF of the same pixels does.
void askForNativePixels(png_structp png)
{
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    if constexpr (std::endian::native == std::endian::little) {
        png_set_bgr(png);
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    } else {
        png_set_swap_alpha(png);
        png_set_filler(png, 0xFF, PNG_FILLER_BEFORE);
    }
}

// Where the pixels go: a store allocated once the header is read, or the caller's rows of the size
// the header must give; none when only the header is wanted.
struct Destination {
    HostPixelMap* store = nullptr;
    uint8_t* base = nullptr;
    int32_t rowBytes = 0;
    int32_t width = 0;
    int32_t height = 0;
    bool headerOnly = false;
};

// The read itself, between libpng's error jump and its return: nothing here owns memory that a
// jump would skip, the store aside, which the caller releases on failure.
bool readPixels(png_structp png, png_infop info, MemoryInput& input, Destination& into, int64_t maxPixels,
                const ReadBudget& budget)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_read_fn(png, &input, readFromMemory);
    png_set_user_limits(png, INT16_MAX, INT16_MAX);
    png_set_chunk_malloc_max(png, kHostImageReadBudget);
    png_set_chunk_cache_max(png, kKeptChunks);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kSkippedChunks, int(sizeof kSkippedChunks / 5));
    png_read_info(png, info);
    if (budget.exceeded)
        return false;
    const int64_t width = png_get_image_width(png, info);
    const int64_t height = png_get_image_height(png, info);
    // Checked before anything is allocated for the pixels.
    const bool fits = width > 0 && height > 0 && width <= INT16_MAX && height <= INT16_MAX &&
                      width * height <= std::min(maxPixels, HostPixelMap::kMaxPixels) &&
                      width * height <= int64_t(input.size) * kMaxPixelsPerFileByte;
    if (!fits)
        return false;
    if (into.headerOnly || into.store == nullptr) {
        if (into.headerOnly) {
            into.width = int32_t(width);
            into.height = int32_t(height);
            return true;
        }
        if (into.width != width || into.height != height || into.rowBytes < width * 4)
            return false;
    }
    askForNativePixels(png);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != size_t(width) * 4)
        return false;
    if (into.store != nullptr) {
        if (into.store->Allocate(Rect{0, 0, int16_t(height), int16_t(width)}, 32) != noErr)
            return false;
        into.base = into.store->BaseAddr();
        into.rowBytes = into.store->RowBytes();
    }
    // Each pass of an interlaced file adds its pixels to the rows the earlier passes filled.
    for (int pass = 0; pass < passes; ++pass)
        for (int32_t y = 0; y < int32_t(height); ++y)
            png_read_row(png, into.base + int64_t(y) * into.rowBytes, nullptr);
    // The chunks after the pixels add nothing to them, so they are not read.
    return !budget.exceeded;
}

bool readPNG(const void* data, size_t size, Destination& into, int64_t maxPixels)
{
    if (data == nullptr || size == 0)
        return false;
    ReadBudget budget;
    png_structp png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, nullptr, stopReading, ignoreWarning, &budget,
                                               budgetedMalloc, budgetedFree);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    MemoryInput input{static_cast<const uint8_t*>(data), size};
    const bool read = info != nullptr && readPixels(png, info, input, into, maxPixels, budget);
    png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr);
    return read;
}

} // namespace

OSErr HostReadPNGFromMemory(const void* data, size_t size, HostPixelMap& into, int64_t maxPixels)
{
    into.Release();
    Destination store;
    store.store = &into;
    if (!readPNG(data, size, store, maxPixels)) {
        into.Release();
        return paramErr;
    }
    return noErr;
}

bool HostPNGSize(const void* data, size_t size, int64_t maxPixels, int32_t* width, int32_t* height)
{
    Destination header;
    header.headerOnly = true;
    if (width == nullptr || height == nullptr || !readPNG(data, size, header, maxPixels))
        return false;
    *width = header.width;
    *height = header.height;
    return true;
}

OSErr HostReadPNGInto(const void* data, size_t size, uint8_t* base, int32_t rowBytes, int32_t width,
                      int32_t height)
{
    Destination rows;
    rows.base = base;
    rows.rowBytes = rowBytes;
    rows.width = width;
    rows.height = height;
    return base != nullptr && readPNG(data, size, rows, HostPixelMap::kMaxPixels) ? OSErr(noErr) : OSErr(paramErr);
}

OSErr HostReadPNG(const char* path, HostPixelMap& into)
{
    into.Release();
    if (path == nullptr)
        return paramErr;
    FILE* file = std::fopen(path, "rb");
    if (!file)
        return fileError(errno);
    std::vector<uint8_t> bytes;
    bool ok = std::fseek(file, 0, SEEK_END) == 0;
    long size = ok ? std::ftell(file) : -1;
    ok = ok && size > 0 && size <= kMaxFileBytes && std::fseek(file, 0, SEEK_SET) == 0;
    if (ok) {
        bytes.resize(size_t(size));
        ok = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
    }
    std::fclose(file);
    if (!ok)
        return paramErr;
    return HostReadPNGFromMemory(bytes.data(), bytes.size(), into);
}
