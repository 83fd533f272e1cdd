// Image decoding and bitmap drawing for images from the clipboard: an image source over bytes
// (TIFF), its decoded images, and a bitmap context over caller-owned 32-bit pixels that an
// image is drawn into. Only this file's source talks to libtiff.
#pragma once

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

// Decoded images larger than this many pixels are refused, so no input can make a decoder keep
// more than 64 MiB of pixels for one image; beyond them it takes at most kHostImageReadBudget.
constexpr int64_t kHostMaxImagePixels = int64_t(16) * 1024 * 1024;

// A source keeps its own copy of the bytes; null for no bytes.
CGImageSourceRef CGImageSourceCreateWithData(const void* data, size_t size);
void CGImageSourceRelease(CGImageSourceRef source);
// The PNG image as a TIFF of the same pixels (8-bit RGBA, unassociated alpha, one uncompressed
// strip), which the decoding below reads as it reads any other: clipboard images offered as PNG
// take the path of TIFF ones. Empty when the bytes are not a whole PNG or its image is larger than
// kHostMaxImagePixels (its size is checked before anything is allocated for it).
std::vector<uint8_t> HostTIFFOfPNG(const void* png, size_t size);

// Decodes image index of the source (only TIFF is read; index counts its directories). Null
// when the bytes are not a whole image of that index, or the image is empty or too large, or its
// tags, strips or tiles would take more than kHostImageReadBudget, or its codec sizes its memory
// from headers of its own (only none, CCITT, LZW, PackBits, Deflate and JPEG are read).
CGImageRef CGImageSourceCreateImageAtIndex(CGImageSourceRef source, size_t index);
void CGImageRelease(CGImageRef image);
size_t CGImageGetWidth(CGImageRef image);
size_t CGImageGetHeight(CGImageRef image);

CGColorSpaceRef CGColorSpaceCreateDeviceRGB();
void CGColorSpaceRelease(CGColorSpaceRef space);

// A context over width x height pixels at data, rows bytesPerRow apart. Null for null data, 8 bits
// per component not given, rows too short, or a layout other than the little-endian skip-first
// one.
CGContextRef CGBitmapContextCreate(void* data, size_t width, size_t height, size_t bitsPerComponent,
                                   size_t bytesPerRow, CGColorSpaceRef space, CGBitmapInfo info);
void CGContextRelease(CGContextRef context);
// Draws the image scaled to rect, whose origin is the bottom-left corner of the context, over
// what the pixels hold (the image's alpha blends); every pixel written gets alpha 255, since the
// layout keeps none.
void CGContextDrawImage(CGContextRef context, CGRect rect, CGImageRef image);
