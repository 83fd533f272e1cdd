// Image decoding for images from the clipboard: an image source over bytes (TIFF or PNG), its
// images, and a bitmap context over caller-owned 32-bit pixels that an image is drawn into, which
// is where it is decoded. Only this file's source talks to libtiff.
#pragma once

#include "HostPNG.h"
#include "HostPasteboard.h"
#include "HostTypes.h"

#include <cstddef>
#include <cstdint>
#include <vector>

struct HostImageSource;
struct HostImage;
struct HostBitmapContext;
struct HostColorSpace;
using CGImageSourceRef = HostImageSource*;
using CGImageRef = HostImage*;
using CGContextRef = HostBitmapContext*;
using CGColorSpaceRef = HostColorSpace*;
using CGBitmapInfo = uint32_t;

struct CGRect {
    double x;
    double y;
    double width;
    double height;
};

// Bitmap layouts: a 32-bit little-endian word per pixel whose first (alpha) byte is not used,
// i.e. 0xXXRRGGBB in the word. The only layout the contexts take.
enum : CGBitmapInfo {
    kCGImageAlphaNoneSkipFirst = 6,
    kCGBitmapByteOrder32Little = 2u << 12,
};

// Images larger than this many pixels are refused: their pixels alone would take more than
// kHostImageReadBudget, the most a reader may take beside them.
constexpr int64_t kHostMaxImagePixels = int64_t(kHostImageReadBudget / sizeof(uint32_t));
static_assert(kHostMaxImagePixels <= HostPixelMap::kMaxPixels, "a decoded image fits a pixel store");

// A source shares the bytes (no copy is made); null for no bytes.
CGImageSourceRef CGImageSourceCreateWithData(CFDataRef data);
void CGImageSourceRelease(CGImageSourceRef source);

// Image index of the source: a PNG (index 0 only), or else the directory index of a TIFF. Only
// the headers are read here; the pixels are decoded when the image is drawn. Null when the bytes
// are not such an image, or it is empty or larger than kHostMaxImagePixels, or a TIFF's tags would
// take more than their share of kHostImageReadBudget, or what it decodes at a time (a row, a tile,
// or a strip of YCbCr subsampled in blocks of rows) more than its share (48 MiB for a tile or
// strip, a quarter of it for JPEG), or its codec sizes its memory from headers of its own (only
// none, CCITT, LZW, PackBits, Deflate and JPEG are read). Strips of any size are read by rows.
CGImageRef CGImageSourceCreateImageAtIndex(CGImageSourceRef source, size_t index);
void CGImageRelease(CGImageRef image);
// The image's size as shown: a TIFF whose orientation turns it (5-8) has its stored width and
// height the other way round.
size_t CGImageGetWidth(CGImageRef image);
size_t CGImageGetHeight(CGImageRef image);
// Whether the image's last drawing met damaged data (a cut or corrupt strip, row or tile, a cut
// PNG) or was refused; what it drew then is not the image.
bool HostImageDamaged(CGImageRef image);

CGColorSpaceRef CGColorSpaceCreateDeviceRGB();
void CGColorSpaceRelease(CGColorSpaceRef space);

// A context over width x height pixels at data, rows bytesPerRow apart. Null for null data, 8 bits
// per component not given, rows too short, or a layout other than the little-endian skip-first
// one.
CGContextRef CGBitmapContextCreate(void* data, size_t width, size_t height, size_t bitsPerComponent,
                                   size_t bytesPerRow, CGColorSpaceRef space, CGBitmapInfo info);
void CGContextRelease(CGContextRef context);
// Decodes the image into the context's pixels, as it is shown: a TIFF turned or mirrored by its
// orientation (1 as stored, 2 mirrored left-right, 3 turned 180 degrees, 4 mirrored top-bottom,
// 5 transposed, 6 turned 90 degrees clockwise, 7 transverse, 8 turned 90 degrees counter-clockwise).
// The only drawing taken is the whole image at its size (rect the context's bounds, the context the
// image's size, rows of whole 4-byte aligned words), meant for new pixels: it replaces what they
// held with the image's colours over black, each with alpha 255 since the layout keeps none. Any
// other drawing draws nothing and is reported by HostImageDamaged.
void CGContextDrawImage(CGContextRef context, CGRect rect, CGImageRef image);
