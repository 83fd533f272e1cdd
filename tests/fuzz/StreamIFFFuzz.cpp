// Reads arbitrary bytes through the serial stream primitives and the IFF block reader. The
// first byte picks the byte order and string kind; the rest is read as the data says. A
// failure must be an FWException that leaves the stream position and the dispatcher's block
// stack as they were, and every value read must write back to the same bytes.
#include "FWArgb32.h"
#include "FWException.h"
#include "FWIOStream.h"
#include "FWMemoryStream.h"
#include "FWPoint.h"
#include "FWProgrammerMessage.h"
#include "FWRect.h"
#include "FWString.h"
#include "IFFBlocks.h"
#include "IFFDispatcher.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr int kMaxDepth = 64;
constexpr uint32_t kNested = 0x464F524D; // 'FORM': its body is more blocks

bool quiet(const FWProgrammerMessageInfo&)
{
    return false;
}

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// The bytes [from, to) of a serial stream must be what writing value gives.
template <class Write>
void checkRewrite(FWIOStream& source, uint32_t from, int platform, Write write)
{
    FWIOStream copy(nullptr, 0, platform);
    write(copy);
    uint32_t to = source.GetCurrPos();
    check(copy.Size() == to - from);
    check(std::memcmp(copy.Buffer(), source.Buffer() + from, copy.Size()) == 0);
}

void readSerial(const uint8_t* data, uint32_t size, int platform, bool fixedStrings)
{
    FWIOStream s(reinterpret_cast<const char*>(data), size, platform);
    // Moves may go backwards: bound the work, not just the position.
    for (uint32_t steps = 0; steps < 2 * size + 16 && !s.AtStreamEnd(); ++steps) {
        uint8_t op = uint8_t(s.ReadByte());
        uint32_t from = s.GetCurrPos();
        try {
            switch (op % 12) {
            case 0: {
                FWStr<255> fixed;
                FWDynamicString dynamic;
                FWString& text = fixedStrings ? static_cast<FWString&>(fixed) : dynamic;
                s.ReadString(text);
                check(text.GetCurrLength() <= s.GetCurrPos() - from);
                break;
            }
            case 1: {
                FWPoint p;
                s.ReadFWPoint(p);
                checkRewrite(s, from, platform, [&](FWIOStream& c) { c.WriteFWPoint(p); });
                break;
            }
            case 2: {
                FWRect r;
                s.ReadFWRect(r);
                checkRewrite(s, from, platform, [&](FWIOStream& c) { c.WriteFWRect(r); });
                break;
            }
            case 3: {
                FWArgb32 color;
                s.ReadFWArgb32AsLong(color);
                checkRewrite(s, from, platform, [&](FWIOStream& c) { c.WriteFWArgb32AsLong(color); });
                break;
            }
            case 4: {
                int32_t v = s.ReadLong();
                checkRewrite(s, from, platform, [&](FWIOStream& c) { c.WriteLong(v); });
                break;
            }
            case 5: {
                int16_t v = s.ReadShort();
                checkRewrite(s, from, platform, [&](FWIOStream& c) { c.WriteShort(v); });
                break;
            }
            case 6:
                s.ReadFloat();
                s.ReadDouble();
                break;
            case 7: {
                int32_t values[16];
                s.ReadLongArray(values, uint32_t(s.ReadByte()) & 15);
                break;
            }
            case 8: {
                uint8_t block[64];
                s.ReadBlock_old(block, uint32_t(s.ReadByte()) & 63);
                break;
            }
            case 9:
                s.SkipBytes(s.ReadShort());
                break;
            case 10:
                s.SetCurrPos(uint32_t(s.ReadLong()));
                break;
            default:
                s.PatchOffset(uint32_t(s.ReadByte()) & 0x7F, s.ReadLong());
                break;
            }
        } catch (const FWException&) {
            // An operation of a single read fails without moving the stream.
            bool singleRead = op % 12 == 3 || op % 12 == 4 || op % 12 == 5;
            check(!singleRead || s.GetCurrPos() == from);
            check(s.GetCurrPos() <= s.Size());
            return;
        }
    }
}

void readBlock(FWStream& s, IFFDispatcher& d, int depth, bool fixedStrings)
{
    uint32_t start = s.GetStreamPosition();
    uint32_t id = s.ReadULong();
    s.SetStreamPosition(start);

    switch (id) {
    case kIFFStringBlock: {
        FWStr<31> fixed;
        FWDynamicString dynamic;
        ReadString(s, d, fixedStrings ? static_cast<FWString&>(fixed) : dynamic);
        return;
    }
    case kIFFSignatureBlock: {
        uint32_t value;
        ReadSignature(s, d, value);
        return;
    }
    case kIFFVersionBlock: {
        uint32_t value;
        ReadVersion(s, d, value);
        return;
    }
    default:
        break;
    }

    size_t open = d.OpenBlockCount();
    uint32_t size;
    try {
        d.BeginIFFBlockRead(s, id, size);
    } catch (const FWException&) {
        // A failed begin leaves the stack and the position as they were.
        check(d.OpenBlockCount() == open);
        check(s.GetStreamPosition() == start);
        throw;
    }
    uint32_t end = s.GetStreamPosition() + size;
    check(end <= s.GetStreamSize());
    if (id == kNested && depth < kMaxDepth) {
        while (s.GetStreamPosition() < end)
            readBlock(s, d, depth + 1, fixedStrings);
    } else {
        std::vector<uint8_t> body(size);
        if (size > 0)
            s.ReadData(body.data(), size);
    }
    d.EndIFFBlockRead(s, id, size);
    check(d.OpenBlockCount() == open);
}

void readIFF(const uint8_t* data, uint32_t size, FWPlatform::tByteOrder order, bool fixedStrings)
{
    FWMemoryStream s(FWStream::kReadOnly, order, data, size);
    IFFDispatcher d;
    try {
        while (s.GetStreamPosition() < s.GetStreamSize())
            readBlock(s, d, 0, fixedStrings);
        check(d.OpenBlockCount() == 0);
        check(d.Mode() == IFFDispatcher::kNone);
    } catch (const FWException&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool sQuiet = (FWSetProgrammerMessagePresenter(quiet), true);
    (void)sQuiet;
    if (size == 0 || size > 1 << 20)
        return 0;
    uint8_t control = data[0];
    ++data;
    uint32_t length = uint32_t(size - 1);
    bool fixedStrings = (control & 0x40) != 0;
    readSerial(data, length, control % 7, fixedStrings);
    readIFF(data, length, (control & 0x80) ? FWPlatform::kLittleEndian : FWPlatform::kBigEndian, fixedStrings);
    return 0;
}
