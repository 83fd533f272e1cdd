// Reads arbitrary bytes as a swatch file, a swatches file and a colour table. A failure must be
// an FWException; a swatch never holds more colours than the input has bytes for; whatever is
// read writes and reads back the same; no byte reaches an assertion alert.
#include "ColorSwatch.h"
#include "FWException.h"
#include "FWMemoryStream.h"
#include "ProgrammerMessageRecorder.h"

#include <cstdint>
#include <cstring>

namespace {

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

bool sameSwatch(const CColorSwatch& a, const CColorSwatch& b)
{
    if (!(a.GetSwatchName() == b.GetSwatchName()) || a.GetNumColors() != b.GetNumColors())
        return false;
    for (short i = 0; i < a.GetNumColors(); ++i)
        if (a[i].r != b[i].r || a[i].g != b[i].g || a[i].b != b[i].b)
            return false;
    return true;
}

template <class Write, class Read>
void checkRoundTrip(Write write, Read read)
{
    FWMemoryStream out(FWStream::kReadWrite, FWPlatform::kBigEndian);
    write(out);
    FWMemoryStream in(FWStream::kReadOnly, FWPlatform::kBigEndian, out.Buffer(), out.GetStreamSize());
    read(in);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool sQuiet = (FWSetProgrammerMessagePresenter(TrapOnAssertionAlert), true);
    (void)sQuiet;
    if (size > 0x100000)
        return 0;
    const uint32_t length = uint32_t(size);

    {
        FWMemoryStream stream(FWStream::kReadOnly, FWPlatform::kBigEndian, data, length);
        CColorSwatch swatch;
        try {
            ReadColorSwatchStream(stream, swatch);
            check(uint64_t(swatch.GetNumColors()) * 3 <= size);
            checkRoundTrip([&](FWStream& s) { WriteColorSwatchStream(s, swatch); },
                           [&](FWStream& s) {
                               CColorSwatch back;
                               ReadColorSwatchStream(s, back);
                               check(sameSwatch(swatch, back));
                           });
        } catch (const FWException&) {
        }
    }
    {
        FWMemoryStream stream(FWStream::kReadOnly, FWPlatform::kBigEndian, data, length);
        CSwatchList list;
        try {
            ReadColorSwatchesStream(stream, list);
            check(uint64_t(list.CountSwatches()) * 22 <= size);
            checkRoundTrip([&](FWStream& s) { WriteColorSwatchesStream(s, list); },
                           [&](FWStream& s) {
                               CSwatchList back;
                               ReadColorSwatchesStream(s, back);
                               check(back.CountSwatches() == list.CountSwatches());
                               for (long i = 0; i < list.CountSwatches(); ++i)
                                   check(sameSwatch(*list.FindSwatchByIndex(i), *back.FindSwatchByIndex(i)));
                           });
        } catch (const FWException&) {
            // What was read before the failure stays whole.
            for (long i = 0; i < list.CountSwatches(); ++i)
                check(list.FindSwatchByIndex(i) != nullptr);
        }
    }
    {
        FWMemoryStream stream(FWStream::kReadOnly, FWPlatform::kBigEndian, data, length);
        CColorSwatch swatch;
        try {
            ReadColorTableStream(stream, swatch);
            check(size >= 768 && swatch.GetNumColors() == 256);
            check(std::memcmp(&swatch[0], data, 3) == 0 && swatch[255].b == data[767]);
        } catch (const FWException&) {
            check(size < 768 && swatch.GetNumColors() == 0);
        }
    }
    return 0;
}
