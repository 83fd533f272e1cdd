// Serial primitives over an owned memory stream.
#include "FWIOStream.h"

#include "FWArgb32.h"
#include "FWBrenloPlatform.h"
#include "FWPoint.h"
#include "FWRect.h"
#include "FWStreamHelpers.h"
#include "FWString.h"
#include "FWTickCount.h"

#include <cstring>

namespace {

constexpr uint32_t kProgressInterval = 500000; // ticks

} // namespace

FWIOStream::FWIOStream(const char* buffer, uint32_t size, int platformIndex)
    : mStream(std::make_unique<FWMemoryStream>(
          FWStream::kReadWrite, FWBrenloPlatform::ConvertByteOrder(FWBrenloPlatform::Info(platformIndex).byteOrder),
          buffer, size)),
      mPlatformIndex(platformIndex)
{
}

FWIOStream::~FWIOStream()
{
    // The inner stream goes after this, once the callback has heard the end.
    if (mProgress != nullptr)
        mProgress(100, 100);
}

void FWIOStream::maybe_update_progress()
{
    if (mProgress == nullptr)
        return;
    uint32_t now = FWTickCount();
    if (mNextProgressTick > now)
        return;
    mProgress(GetCurrPos(), GetEndPos());
    mNextProgressTick = now + kProgressInterval;
}

void FWIOStream::WriteByte(int8_t value)
{
    mStream->WriteChar(char(value));
    maybe_update_progress();
}

int8_t FWIOStream::ReadByte()
{
    int8_t value = int8_t(mStream->ReadChar());
    maybe_update_progress();
    return value;
}

void FWIOStream::WriteShort(int16_t value)
{
    mStream->WriteShort(value);
    maybe_update_progress();
}

int16_t FWIOStream::ReadShort()
{
    int16_t value = mStream->ReadShort();
    maybe_update_progress();
    return value;
}

void FWIOStream::WriteLong(int32_t value)
{
    mStream->WriteLong(value);
    maybe_update_progress();
}

int32_t FWIOStream::ReadLong()
{
    int32_t value = mStream->ReadLong();
    maybe_update_progress();
    return value;
}

void FWIOStream::WriteFloat(float value)
{
    mStream->WriteFloat(value);
    maybe_update_progress();
}

float FWIOStream::ReadFloat()
{
    float value = mStream->ReadFloat();
    maybe_update_progress();
    return value;
}

double FWIOStream::ReadDouble()
{
    double value = mStream->ReadDouble();
    maybe_update_progress();
    return value;
}

void FWIOStream::WriteLongArray(const int32_t* values, uint32_t n)
{
    for (uint32_t i = 0; i < n; ++i)
        mStream->WriteLong(values[i]);
    maybe_update_progress();
}

void FWIOStream::ReadLongArray(int32_t* values, uint32_t n)
{
    for (uint32_t i = 0; i < n; ++i)
        values[i] = mStream->ReadLong();
    maybe_update_progress();
}

void FWIOStream::WriteString(const char* s, uint32_t maxLen)
{
    uint32_t length = 0;
    if (s != nullptr)
        while (length < maxLen && s[length] != 0)
            ++length;
    mStream->WriteData(s, length);
    mStream->WriteChar(0);
}

void FWIOStream::WriteString(const FWString& s)
{
    WriteString(s.GetCString(), s.GetCurrLength());
}

void FWIOStream::ReadString(FWString& s)
{
    s.Set(uint32_t(0), "");
    // Collected in pieces, so a long string is not grown one character at a time.
    char piece[256];
    uint32_t count = 0;
    for (;;) {
        char c = mStream->ReadChar();
        if (c == 0 || AtStreamEnd())
            break;
        piece[count++] = c;
        if (count == sizeof piece) {
            s.Append(count, piece);
            count = 0;
        }
    }
    s.Append(count, piece);
}

void FWIOStream::WriteFWPoint(const FWPoint& point)
{
    mStream->WriteShort(point.v);
    mStream->WriteShort(point.h);
}

void FWIOStream::ReadFWPoint(FWPoint& point)
{
    point.v = mStream->ReadShort();
    point.h = mStream->ReadShort();
}

void FWIOStream::WriteFWRect(const FWRect& rect)
{
    ::WriteFWRect(*mStream, rect);
}

void FWIOStream::ReadFWRect(FWRect& rect)
{
    ::ReadFWRect(*mStream, rect);
}

void FWIOStream::WriteFWArgb32AsLong(const FWArgb32& color)
{
    uint32_t value = uint32_t(color.b) << 24 | uint32_t(color.g) << 16 | uint32_t(color.r) << 8 | color.a;
    mStream->WriteULong(value);
    maybe_update_progress();
}

void FWIOStream::ReadFWArgb32AsLong(FWArgb32& color)
{
    uint32_t value = mStream->ReadULong();
    color.b = uint8_t(value >> 24);
    color.g = uint8_t(value >> 16);
    color.r = uint8_t(value >> 8);
    color.a = uint8_t(value);
    maybe_update_progress();
}

void FWIOStream::WriteBlock_old(const void* p, uint32_t n)
{
    mStream->WriteData(p, n);
    maybe_update_progress();
}

void FWIOStream::ReadBlock_old(void* p, uint32_t n)
{
    mStream->ReadData(p, n);
    maybe_update_progress();
}

void FWIOStream::SkipBytes(int32_t n)
{
    OffsetStream(*mStream, n);
    maybe_update_progress();
}

uint32_t FWIOStream::LeaveSpaceForOffset()
{
    return LeaveSpaceForLongOffset(*mStream);
}

void FWIOStream::PatchOffset(uint32_t at, int32_t value)
{
    PatchLongOffset(*mStream, at, value);
}
