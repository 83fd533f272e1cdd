// Fuzz target: arbitrary bytes offered on the display's clipboard as a PNG image (as the display's
// back end hands it on) and imported into the application's clipboard through the TIFF target's
// steps. Any input gives an image item or none, within bounded memory; the replay also imports a
// large honest PNG of noise (RGB, as large as its pixels) made here.
#include "HostPasteboard.h"
#include "TIFFMaker.h"

#define CLIPBOARD_FLAVOR kUTTypePNG
#include "ClipboardTIFFFuzz.cpp"

extern "C" void FuzzReplayMadeInputs(void (*replay)(const uint8_t*, size_t, const char*))
{
    const std::vector<uint8_t> png = MakePatternPNG(4096, 4096);
    replay(png.data(), png.size(), "a 4096 x 4096 PNG");
    if (!sImageTaken)
        __builtin_trap();
}
