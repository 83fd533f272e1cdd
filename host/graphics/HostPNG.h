// PNG files of pixel stores: ports are written for screen dumps and tests, and images are read
// into 32-bit stores. Only this file's source talks to libpng.
#pragma once

#include "HostPixels.h"
#include "HostPorts.h"

#include <cstddef>
#include <cstdint>

// The most memory a reader of one image (the PNG reader here, the TIFF decoder of HostImageIO) may
// take beyond the pixels it yields: its structures, rows, tables, chunks, tags and strips. An image
// that would need more is refused as a damaged one is.
constexpr size_t kHostImageReadBudget = size_t(64) << 20;

// Writes the whole store as an 8-bit RGBA PNG (alpha as stored; 1- and 8-bit stores as the
// colours their pixels stand for). The file is written under a temporary name and renamed over
// path, so a failure leaves any old file whole. Errors: paramErr for an empty store or null
// path, the file errors of the folder (fnfErr, permErr, wrPermErr, dskFulErr, ioErr).
OSErr HostWritePNG(const HostPixelMap& pixels, const char* path);
// Writes the port's store.
OSErr WritePortPNG(CGrafPtr port, const char* path);

// Reads a PNG into a new 32-bit store over (0, 0, height, width), pixels not premultiplied. A file
// that is not a whole PNG, or whose header promises more pixels than its data could hold, than
// maxPixels or than a store can take, or whose reading would take more than kHostImageReadBudget
// beside the store, gives paramErr and leaves the store empty (nothing is allocated for it);
// fnfErr and permErr when it cannot be opened.
OSErr HostReadPNG(const char* path, HostPixelMap& into);
OSErr HostReadPNGFromMemory(const void* data, size_t size, HostPixelMap& into,
                            int64_t maxPixels = HostPixelMap::kMaxPixels);
// The size the PNG's header gives, checked as above; false when the bytes do not start a PNG that
// the reading above would take. Nothing is allocated for the pixels.
bool HostPNGSize(const void* data, size_t size, int64_t maxPixels, int32_t* width, int32_t* height);
// Reads the PNG into the caller's rows, as above, when its size is width x height (paramErr
// otherwise, or for a damaged file: the rows may then hold part of the image). No store is made,
// so the pixels land where they are kept.
OSErr HostReadPNGInto(const void* data, size_t size, uint8_t* base, int32_t rowBytes, int32_t width,
                      int32_t height);
