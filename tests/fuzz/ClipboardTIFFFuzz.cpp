// Fuzz target: arbitrary bytes on the system clipboard as a TIFF image, imported into the
// application's clipboard. Any input gives an image item or none, within bounded memory.
#include "FWClipboard.h"
#include "HostPasteboard.h"
#include "ImageBuffer.h"
#include "ProgrammerMessageRecorder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const auto sPrevious = FWSetProgrammerMessagePresenter(TrapOnAssertionAlert);
    (void)sPrevious;
    HostClipboardClear();
    HostClipboardAddItem({{kUTTypeTIFF, std::vector<uint8_t>(data, data + size)}});
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
