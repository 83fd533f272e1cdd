// Typed scalars over the back end's byte storage: a value is swapped on a copy when the
// stream's byte order differs from the processor's.
#include "FWStream.h"

#include "FWByteReversal.h"
#include "FWProgrammerMessage.h"
#include "FWStreamException.h"

#include <cfloat>
#include <cstring>

namespace {

const char* const kSourcePath = "FW/Utility/Source/FWStream";

// A long double travels as 16 bytes. Where it is the 80-bit extended type only its first
// 10 bytes carry the value; the rest is written as zeros rather than stale padding.
constexpr size_t kLongDoubleBytes = 16;
constexpr size_t kLongDoubleValueBytes =
    LDBL_MANT_DIG == 64 ? 10 : (sizeof(long double) < kLongDoubleBytes ? sizeof(long double) : kLongDoubleBytes);

} // namespace

template <class T>
void FWStream::writeScalar(T value)
{
    if constexpr (sizeof(T) > 1) {
        if (FWPlatform::ShouldSwapBytes(mByteOrder))
            FWByteReversal<sizeof(T)>::Reverse(&value);
    }
    WriteData(&value, sizeof(T));
}

template <class T>
T FWStream::readScalar()
{
    T value;
    ReadData(&value, sizeof(T));
    if constexpr (sizeof(T) > 1) {
        if (FWPlatform::ShouldSwapBytes(mByteOrder))
            FWByteReversal<sizeof(T)>::Reverse(&value);
    }
    return value;
}

void FWStream::WriteBool(bool value) { writeScalar<uint8_t>(value ? 1 : 0); }
void FWStream::WriteSChar(int8_t value) { writeScalar<uint8_t>(uint8_t(value)); }
void FWStream::WriteUChar(uint8_t value) { writeScalar<uint8_t>(value); }
void FWStream::WriteChar(char value) { writeScalar<uint8_t>(uint8_t(value)); }
void FWStream::WriteShort(int16_t value) { writeScalar<uint16_t>(uint16_t(value)); }
void FWStream::WriteUShort(uint16_t value) { writeScalar<uint16_t>(value); }
void FWStream::WriteLong(int32_t value) { writeScalar<uint32_t>(uint32_t(value)); }
void FWStream::WriteULong(uint32_t value) { writeScalar<uint32_t>(value); }

void FWStream::WriteFloat(float value)
{
    static_assert(sizeof(float) == 4);
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    writeScalar<uint32_t>(bits);
}

void FWStream::WriteDouble(double value)
{
    static_assert(sizeof(double) == 8);
    uint64_t bits;
    std::memcpy(&bits, &value, 8);
    writeScalar<uint64_t>(bits);
}

void FWStream::WriteLongDouble(long double value)
{
    // Its in-memory form differs between processors: usable, but not portable.
    fw_programmer_message("", kSourcePath, 217);
    unsigned char bytes[kLongDoubleBytes] = {};
    std::memcpy(bytes, &value, kLongDoubleValueBytes);
    if (FWPlatform::ShouldSwapBytes(mByteOrder))
        FWByteReversal<kLongDoubleBytes>::Reverse(bytes);
    WriteData(bytes, kLongDoubleBytes);
}

bool FWStream::ReadBool() { return readScalar<uint8_t>() != 0; }
int8_t FWStream::ReadSChar() { return int8_t(readScalar<uint8_t>()); }
uint8_t FWStream::ReadUChar() { return readScalar<uint8_t>(); }
char FWStream::ReadChar() { return char(readScalar<uint8_t>()); }
int16_t FWStream::ReadShort() { return int16_t(readScalar<uint16_t>()); }
uint16_t FWStream::ReadUShort() { return readScalar<uint16_t>(); }
int32_t FWStream::ReadLong() { return int32_t(readScalar<uint32_t>()); }
uint32_t FWStream::ReadULong() { return readScalar<uint32_t>(); }

float FWStream::ReadFloat()
{
    uint32_t bits = readScalar<uint32_t>();
    float value;
    std::memcpy(&value, &bits, 4);
    return value;
}

double FWStream::ReadDouble()
{
    uint64_t bits = readScalar<uint64_t>();
    double value;
    std::memcpy(&value, &bits, 8);
    return value;
}

long double FWStream::ReadLongDouble()
{
    fw_programmer_message("", kSourcePath, 355);
    unsigned char bytes[kLongDoubleBytes];
    ReadData(bytes, kLongDoubleBytes);
    if (FWPlatform::ShouldSwapBytes(mByteOrder))
        FWByteReversal<kLongDoubleBytes>::Reverse(bytes);
    long double value = 0;
    std::memcpy(&value, bytes, kLongDoubleValueBytes);
    return value;
}

void FWStream::VerifyWriteAccess() const
{
    if (mMode == kReadOnly)
        throw FWWriteAccessException();
}

void FWStream::VerifyReadAccess() const
{
    if (mMode == kWriteOnly)
        throw FWReadAccessException();
}
