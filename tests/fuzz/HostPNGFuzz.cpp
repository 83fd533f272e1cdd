// Fuzz target: PNG data read into a pixel store. Any input gives a store or an error, within
// bounded memory.
#include "HostPNG.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    HostPixelMap pixels;
    if (HostReadPNGFromMemory(data, size, pixels) == noErr && pixels.Valid())
        (void)pixels.Get(pixels.Width() - 1, pixels.Height() - 1);
    return 0;
}
