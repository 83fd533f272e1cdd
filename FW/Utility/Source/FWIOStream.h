// The serial primitives over a memory stream it owns: bytes, Shorts, Longs, reals,
// NUL-terminated strings, points, rectangles, colours, raw blocks and patched offsets, in the
// byte order of a target platform record.
#pragma once

#include "FWMemoryStream.h"

#include <cstdint>
#include <memory>

class FWArgb32;
class FWPoint;
class FWRect;
class FWString;

class FWIOStream {
public:
    // Called with (current position, end position) while data moves, at most once per
    // 500000 ticks, and with (100, 100) when the stream goes away.
    using ProgressCallback = void (*)(uint32_t current, uint32_t end);

    // A read-write stream holding a copy of size bytes of buffer (null: empty), in the byte
    // order of platform record platformIndex.
    FWIOStream(const char* buffer, uint32_t size, int platformIndex);
    virtual ~FWIOStream();
    FWIOStream(const FWIOStream&) = delete;
    FWIOStream& operator=(const FWIOStream&) = delete;

    // Scalars in the stream's byte order. A byte is signed.
    void WriteByte(int8_t value);
    int8_t ReadByte();
    void WriteShort(int16_t value);
    int16_t ReadShort();
    void WriteLong(int32_t value);
    int32_t ReadLong();
    void WriteFloat(float value);
    float ReadFloat();
    double ReadDouble();
    // n Longs; the count is not stored.
    void WriteLongArray(const int32_t* values, uint32_t n);
    void ReadLongArray(int32_t* values, uint32_t n);

    // The characters of s up to its first 0 or maxLen of them, then a 0 byte; null s writes
    // only the 0.
    void WriteString(const char* s, uint32_t maxLen);
    void WriteString(const FWString& s);
    // Reads up to and without a 0 byte. A last byte of the stream that is not 0 ends the
    // string without being added; a string of fixed capacity keeps what fits.
    void ReadString(FWString& s);

    // A point as two Shorts, v then h; a rectangle as four, top, left, bottom, right.
    void WriteFWPoint(const FWPoint& point);
    void ReadFWPoint(FWPoint& point);
    void WriteFWRect(const FWRect& rect);
    void ReadFWRect(FWRect& rect);
    // A colour as the Long b << 24 | g << 16 | r << 8 | a: on a big-endian stream the bytes
    // blue, green, red, alpha.
    void WriteFWArgb32AsLong(const FWArgb32& color);
    void ReadFWArgb32AsLong(FWArgb32& color);

    // Raw bytes, never swapped.
    void WriteBlock_old(const void* p, uint32_t n);
    void ReadBlock_old(void* p, uint32_t n);
    // Moves the position by n; FWSetPositionFailedException outside the data.
    void SkipBytes(int32_t n);

    // A Long 0 to patch later, and its position; PatchOffset writes it and comes back.
    uint32_t LeaveSpaceForOffset();
    void PatchOffset(uint32_t at, int32_t value);

    uint32_t GetCurrPos() { return mStream->GetStreamPosition(); }
    void SetCurrPos(uint32_t position) { mStream->SetStreamPosition(position); }
    uint32_t GetEndPos() { return mStream->GetStreamSize(); }
    uint32_t Size() { return mStream->GetStreamSize(); }
    bool AtStreamEnd() { return GetCurrPos() == Size(); }
    // The bytes held; valid until the next write.
    char* Buffer() { return mStream->Buffer(); }

    FWPlatform::tByteOrder GetByteOrder() const { return mStream->GetByteOrder(); }
    int GetPlatformIndex() const { return mPlatformIndex; }
    void SetProgressCallback(ProgressCallback callback) { mProgress = callback; }

protected:
    FWMemoryStream& Stream() { return *mStream; }

private:
    void maybe_update_progress();

    std::unique_ptr<FWMemoryStream> mStream;
    int mPlatformIndex;
    ProgressCallback mProgress = nullptr;
    uint32_t mNextProgressTick = 0;
};
