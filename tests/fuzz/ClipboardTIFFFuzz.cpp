// Fuzz target: arbitrary bytes on the system clipboard as a TIFF image, imported into the
// application's clipboard. Any input gives an image item or none, within bounded memory: the
// replay also imports large honest images, made here, whose pixels and reading fit its heap limit
// only when they are decoded once.
#include "FWClipboard.h"
#include "HostPasteboard.h"
#include "ImageBuffer.h"
#include "ProgrammerMessageRecorder.h"
#include "TIFFMaker.h"

#include <tiffio.h>

#include <cstddef>
#include <cstdint>

#ifndef CLIPBOARD_FLAVOR
#define CLIPBOARD_FLAVOR kUTTypeTIFF

extern "C" void FuzzReplayMadeInputs(void (*replay)(const uint8_t*, size_t, const char*))
{
    // Of 16 Mi pixels, one strip and 8 KiB ones; a 2048 x 2048 RGBA one in one Deflate strip.
    const struct {
        uint32_t side;
        uint16_t compression;
        uint32_t rowsPerStrip;
        bool alpha;
        const char* name;
    } made[] = {
        {4096, COMPRESSION_ADOBE_DEFLATE, 0, false, "a 4096 x 4096 RGB TIFF in one Deflate strip"},
        {4096, COMPRESSION_LZW, 1, true, "a 4096 x 4096 RGBA TIFF in LZW strips of a row"},
        {4000, COMPRESSION_NONE, 0, false, "a 4000 x 4000 uncompressed RGB TIFF"},
        {2048, COMPRESSION_ADOBE_DEFLATE, 0, true, "a 2048 x 2048 RGBA TIFF in one Deflate strip"},
    };
    for (const auto& m : made) {
        const std::vector<uint8_t> tiff = MakePatternTIFF(m.side, m.side, m.compression, m.rowsPerStrip, m.alpha);
        replay(tiff.data(), tiff.size(), m.name);
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
    if (auto* item = static_cast<FWClipboardImage*>(clipboard->GetClipData(&typeid(FWClipboardImage)))) {
        const ImageBuffer* image = item->Image();
        if (image->Valid())
            (void)image->BaseAddr()[int64_t(image->GetRect().Height() - 1) * image->RowBytes()];
    }
    clipboard->ClearClipboard();
    return 0;
}
