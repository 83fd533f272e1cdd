// Decodes arbitrary bytes as an image resource. Input: a selector byte (bits 0-3 the type, taken
// modulo the number of types; bit 7: the bytes also serve as the colour icon's 1-bit icon), then
// the resource's bytes. Any input gives pixels or a refusal, never more pixels than the declared
// size, and for 'argb' never more than its data can fill, and no assertion alert.
#include "DiskImageAllocateFailureX.h"
#include "DiskImageDecoder.h"
#include "ProgrammerMessageRecorder.h"
#include "HostTypes.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

constexpr uint32_t kTypes[] = {
    FOUR_CHAR_CODE("PICT"), FOUR_CHAR_CODE("QZPV"), FOUR_CHAR_CODE("argb"), FOUR_CHAR_CODE("cicn"),
    FOUR_CHAR_CODE("ppat"), FOUR_CHAR_CODE("ICN#"), FOUR_CHAR_CODE("icl4"), FOUR_CHAR_CODE("icl8"),
    FOUR_CHAR_CODE("ics#"), FOUR_CHAR_CODE("ics4"), FOUR_CHAR_CODE("ics8"), FOUR_CHAR_CODE("icm#"),
    FOUR_CHAR_CODE("icm4"), FOUR_CHAR_CODE("icm8"),
};
constexpr size_t kTypeCount = sizeof kTypes / sizeof kTypes[0];

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const auto sPrevious = FWSetProgrammerMessagePresenter(TrapOnAssertionAlert);
    (void)sPrevious;
    if (size == 0)
        return 0;
    const uint32_t type = kTypes[(data[0] & 0x0F) % kTypeCount];
    const uint8_t* bytes = data + 1;
    const size_t length = size - 1;
    const std::vector<uint8_t> mask(bytes, bytes + length);
    const bool withMask = (data[0] & 0x80) != 0;
    try {
        const DiskImageDecoder::Pixels pixels =
            DiskImageDecoder::Decode(type, bytes, length, withMask ? &mask : nullptr);
        if (!pixels.Valid())
            return 0;
        const size_t declared = size_t(pixels.width) * size_t(pixels.height);
        if (pixels.words.size() != declared || int64_t(declared) > DiskImageDecoder::kMaxPixels)
            std::abort();
        if (type == FOUR_CHAR_CODE("argb") && declared > (length / 5 + 1) * 128)
            std::abort();
        // Touch the last pixel.
        volatile uint32_t last = pixels.words.back();
        (void)last;
    } catch (const DiskImageAllocateFailureX&) {
    }
    return 0;
}
