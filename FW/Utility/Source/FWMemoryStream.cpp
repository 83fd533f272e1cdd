// The memory back end of FWStream.
#include "FWMemoryStream.h"

#include "FWStreamException.h"

#include <cstring>
#include <new>

FWMemoryStream::FWMemoryStream(tIOMode mode, FWPlatform::tByteOrder order, const void* data, uint32_t size)
    : FWStream(mode, order)
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
    uint32_t wanted = CalcBufferSize(n);
    if (wanted == 0)
        return false;
    if (wanted != mCapacity) {
        char* grown = new (std::nothrow) char[wanted];
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
    if (n > 0)
        std::memcpy(p, mBuffer + mPosition, n);
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
    if (n > 0)
        std::memcpy(mBuffer + mPosition, p, n);
    mPosition = uint32_t(end);
}

void FWMemoryStream::SetStreamPosition(uint32_t position)
{
    if (position > mSize)
        throw FWSetPositionFailedException();
    mPosition = position;
}
