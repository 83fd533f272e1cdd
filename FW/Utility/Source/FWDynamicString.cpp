// Heap storage for FWString in 32-byte chunks. The chunk in use is always computed from the
// length, ChunkSize(length + 1); the array held is never smaller than that.
#include "FWDynamicString.h"

#include <cstring>
#include <new>

uint32_t FWDynamicString::ChunkSize(uint32_t n)
{
    if (n == 0)
        return 32;
    if (n > UINT32_MAX - 31)
        throw std::bad_alloc();
    return (n + 31) & ~uint32_t(31);
}

FWDynamicString::FWDynamicString()
{
    allocate(0);
}

FWDynamicString::FWDynamicString(const char* p)
{
    uint32_t length = p != nullptr ? uint32_t(std::strlen(p)) : 0;
    allocate(length);
    if (length > 0)
        std::memcpy(mData, p, length);
}

FWDynamicString::FWDynamicString(const FWString& other)
{
    allocate(other.GetCurrLength());
    if (mLength > 0)
        std::memcpy(mData, other.GetCString(), mLength);
}

FWDynamicString::FWDynamicString(const FWDynamicString& other) : FWString()
{
    allocate(other.GetCurrLength());
    if (mLength > 0)
        std::memcpy(mData, other.GetCString(), mLength);
}

FWDynamicString::~FWDynamicString()
{
    delete[] mData;
}

FWDynamicString& FWDynamicString::operator=(const FWDynamicString& other)
{
    FWString::operator=(other);
    return *this;
}

FWDynamicString& FWDynamicString::operator=(const FWString& other)
{
    FWString::operator=(other);
    return *this;
}

FWDynamicString& FWDynamicString::operator=(const char* p)
{
    FWString::operator=(p);
    return *this;
}

void FWDynamicString::SetCurrLength(uint32_t n)
{
    if (n == mLength)
        return;
    if (n == UINT32_MAX)
        throw std::bad_alloc();
    uint32_t wanted = ChunkSize(n + 1);
    if (wanted != ChunkSize(mLength + 1))
        replaceArray(wanted, n < mLength ? n : mLength);
    mData[n] = 0;
    mLength = n;
}

void FWDynamicString::ReserveLength(uint32_t n)
{
    if (n == mLength || n == UINT32_MAX)
        return;
    uint32_t wanted = ChunkSize(n + 1);
    if (wanted <= ChunkSize(mLength + 1))
        return;
    replaceArray(wanted, mLength);
    mData[mLength] = 0;
}

void FWDynamicString::allocate(uint32_t length)
{
    if (length == UINT32_MAX)
        throw std::bad_alloc();
    mArraySize = ChunkSize(length + 1);
    mData = new char[mArraySize];
    mLength = length;
    mData[length] = 0;
}

void FWDynamicString::replaceArray(uint32_t size, uint32_t keep)
{
    char* array = new char[size];
    if (keep > 0)
        std::memcpy(array, mData, keep);
    array[keep] = 0;
    delete[] mData;
    mData = array;
    mArraySize = size;
}
