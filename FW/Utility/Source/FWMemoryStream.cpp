// The memory back end of FWStream.
#include "FWMemoryStream.h"

#include "FWStreamException.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

// Most transfers are single scalars: copies of a constant size compile to plain moves instead
// of a library call each.
inline void copyBytes(void* to, const void* from, uint32_t n)
{
    switch (n) {
    case 0:
        return;
    case 1:
        std::memcpy(to, from, 1);
        return;
    case 2:
        std::memcpy(to, from, 2);
        return;
    case 4:
        std::memcpy(to, from, 4);
        return;
    case 8:
        std::memcpy(to, from, 8);
        return;
    default:
        std::memcpy(to, from, n);
    }
}

template <class T>
T swapped(T value)
{
    if constexpr (sizeof(T) == 2)
        return T(__builtin_bswap16(value));
    else if constexpr (sizeof(T) == 4)
        return T(__builtin_bswap32(value));
    else
        return value;
}

} // namespace

FWMemoryStream::FWMemoryStream(tIOMode mode, FWPlatform::tByteOrder order, const void* data, uint32_t size)
    : FWStream(mode, order), mSwap(FWPlatform::ShouldSwapBytes(order))
{
    if (data == nullptr)
        size = 0;
    mCapacity = CalcBufferSize(size);
    if (mCapacity == 0)
        throw std::bad_alloc();
    mBuffer = new char[mCapacity];
    if (size > 0)
        std::memcpy(mBuffer, data, size);
    mSize = size;
}

FWMemoryStream::~FWMemoryStream()
{
    delete[] mBuffer;
}

uint32_t FWMemoryStream::CalcBufferSize(uint32_t size)
{
    if (size == 0)
        return kBlockSize;
    uint64_t blocks = (uint64_t(size) + kBlockSize - 1) / kBlockSize;
    uint64_t bytes = blocks * kBlockSize;
    return bytes > UINT32_MAX ? 0 : uint32_t(bytes);
}

bool FWMemoryStream::ResizeBuffer(uint32_t n)
{
    uint32_t exact = CalcBufferSize(n);
    if (exact == 0)
        return false;
    uint32_t wanted = exact;
    if (n > mCapacity) {
        // Growth at least doubles the capacity, so that writing n bytes copies O(n) bytes in all;
        // a doubling that cannot be had falls back to the blocks n needs.
        constexpr uint32_t kLargest = UINT32_MAX / kBlockSize * kBlockSize;
        uint32_t doubled = mCapacity > kLargest / 2 ? kLargest : mCapacity * 2;
        wanted = std::max(exact, doubled);
    } else if (n >= mSize) {
        wanted = mCapacity; // growing within the capacity held
    }
    if (wanted != mCapacity) {
        char* grown = new (std::nothrow) char[wanted];
        if (grown == nullptr && wanted != exact) {
            wanted = exact;
            grown = new (std::nothrow) char[wanted];
        }
        if (grown == nullptr)
            return false;
        uint32_t keep = mSize < n ? mSize : n;
        if (keep > 0)
            std::memcpy(grown, mBuffer, keep);
        delete[] mBuffer;
        mBuffer = grown;
        mCapacity = wanted;
    }
    mSize = n;
    return true;
}

void FWMemoryStream::ReadData(void* p, uint32_t n)
{
    VerifyReadAccess();
    if (n > mSize - mPosition)
        throw FWReadFailedException();
    copyBytes(p, mBuffer + mPosition, n);
    mPosition += n;
}

void FWMemoryStream::WriteData(const void* p, uint32_t n)
{
    VerifyWriteAccess();
    uint64_t end = uint64_t(mPosition) + n;
    if (end > UINT32_MAX)
        throw FWWriteFailedException();
    if (end > mSize && !ResizeBuffer(uint32_t(end)))
        throw FWWriteFailedException();
    copyBytes(mBuffer + mPosition, p, n);
    mPosition = uint32_t(end);
}

template <class T>
void FWMemoryStream::put(T value)
{
    if (mSwap)
        value = swapped(value);
    FWMemoryStream::WriteData(&value, sizeof value);
}

template <class T>
T FWMemoryStream::get()
{
    T value;
    FWMemoryStream::ReadData(&value, sizeof value);
    return mSwap ? swapped(value) : value;
}

void FWMemoryStream::WriteSChar(int8_t value)
{
    put(uint8_t(value));
}

void FWMemoryStream::WriteUChar(uint8_t value)
{
    put(value);
}

void FWMemoryStream::WriteChar(char value)
{
    put(uint8_t(value));
}

void FWMemoryStream::WriteShort(int16_t value)
{
    put(uint16_t(value));
}

void FWMemoryStream::WriteUShort(uint16_t value)
{
    put(value);
}

void FWMemoryStream::WriteLong(int32_t value)
{
    put(uint32_t(value));
}

void FWMemoryStream::WriteULong(uint32_t value)
{
    put(value);
}

int8_t FWMemoryStream::ReadSChar()
{
    return int8_t(get<uint8_t>());
}

uint8_t FWMemoryStream::ReadUChar()
{
    return get<uint8_t>();
}

char FWMemoryStream::ReadChar()
{
    return char(get<uint8_t>());
}

int16_t FWMemoryStream::ReadShort()
{
    return int16_t(get<uint16_t>());
}

uint16_t FWMemoryStream::ReadUShort()
{
    return get<uint16_t>();
}

int32_t FWMemoryStream::ReadLong()
{
    return int32_t(get<uint32_t>());
}

uint32_t FWMemoryStream::ReadULong()
{
    return get<uint32_t>();
}

void FWMemoryStream::SetStreamPosition(uint32_t position)
{
    if (position > mSize)
        throw FWSetPositionFailedException();
    mPosition = position;
}
