// Fuzz target: arbitrary bytes on the system clipboard as a TIFF image, imported into the
// application's clipboard. Any input gives an image item or none, within bounded memory: the
// replay also imports large honest images of noise, made here, whose bytes, pixels and reading fit
// its heap limit only when they are decoded once, straight into the pixels.
#include "FWClipboard.h"
#include "HostPasteboard.h"
#include "ImageBuffer.h"
#include "ProgrammerMessageRecorder.h"
#include "TIFFMaker.h"

#include <tiffio.h>

#include <cstddef>
#include <cstdint>

// Whether the last input gave an image, which the images made here must.
static bool sImageTaken = false;

#ifndef CLIPBOARD_FLAVOR
#define CLIPBOARD_FLAVOR kUTTypeTIFF

extern "C" void FuzzReplayMadeInputs(void (*replay)(const uint8_t*, size_t, const char*))
{
    // Noise, so that each file is as large as its pixels: RGB in one strip under Deflate, PackBits
    // and none, and in LZW strips of a row; RGBA in one Deflate strip.
    const std::vector<uint8_t> made[] = {MakePatternTIFF(4096, 4096, COMPRESSION_ADOBE_DEFLATE, 0, false),
                                         MakePatternTIFF(4096, 4096, COMPRESSION_PACKBITS, 0, false),
                                         MakePatternTIFF(4096, 4096, COMPRESSION_NONE, 0, false),
                                         MakePatternTIFF(3400, 3400, COMPRESSION_LZW, 1, false),
                                         MakePatternTIFF(3548, 3548, COMPRESSION_ADOBE_DEFLATE, 0, true)};
    for (const std::vector<uint8_t>& tiff : made) {
        replay(tiff.data(), tiff.size(), "a large TIFF made here");
        if (!sImageTaken)
            __builtin_trap();
    }
}
#endif

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const auto sPrevious = FWSetProgrammerMessagePresenter(TrapOnAssertionAlert);
    (void)sPrevious;
    HostClipboardClear();
    HostClipboardAddItem({{CLIPBOARD_FLAVOR, std::vector<uint8_t>(data, data + size)}});
    FWClipboard* clipboard = FWClipboard::Instance();
    clipboard->ClearClipboard();
    clipboard->ImportPlatformClipboard();
    sImageTaken = false;
    if (auto* item = static_cast<FWClipboardImage*>(clipboard->GetClipData(&typeid(FWClipboardImage)))) {
        const ImageBuffer* image = item->Decode();
        sImageTaken = image != nullptr && image->Valid();
        if (sImageTaken)
            (void)image->BaseAddr()[int64_t(image->GetRect().Height() - 1) * image->RowBytes()];
    }
    clipboard->ClearClipboard();
    HostClipboardClear(); // so that the next input's count does not start with these bytes freed
    return 0;
}
