// Fuzz target: arbitrary bytes offered on the display's clipboard as a PNG image, handed on as the
// TIFF of its pixels (as the display's back end does) and imported into the application's
// clipboard through the TIFF target's steps. Any input gives an image item or none, within
// bounded memory.
#include "HostImageIO.h"

#define LLVMFuzzerTestOneInput ImportClipboardTIFF
#include "ClipboardTIFFFuzz.cpp"
#undef LLVMFuzzerTestOneInput

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<uint8_t> tiff = HostTIFFOfPNG(data, size);
    return ImportClipboardTIFF(tiff.data(), tiff.size());
}
