// A stream over a byte array it owns. The array grows in whole 1024-byte blocks as writes pass
// the end, at least doubling each time; reads and position changes never go past the bytes
// written.
#pragma once

#include "FWStream.h"

class FWMemoryStream : public FWStream {
public:
    // With data, the stream starts holding a copy of its size bytes; the position is 0.
    FWMemoryStream(tIOMode mode, FWPlatform::tByteOrder order, const void* data = nullptr, uint32_t size = 0);
    ~FWMemoryStream() override;

    // Throws FWReadFailedException, position unchanged, when fewer than n bytes remain.
    void ReadData(void* p, uint32_t n) override;
    // Grows the stream as needed; FWWriteFailedException when it cannot.
    void WriteData(const void* p, uint32_t n) override;
    uint32_t GetStreamPosition() override { return mPosition; }
    // FWSetPositionFailedException beyond the bytes held.
    void SetStreamPosition(uint32_t position) override;
    uint32_t GetStreamSize() override { return mSize; }

    // The common scalars, with the same bytes and failures as the base class, without its
    // calls per byte order check and transfer.
    void WriteSChar(int8_t value) override;
    void WriteUChar(uint8_t value) override;
    void WriteChar(char value) override;
    void WriteShort(int16_t value) override;
    void WriteUShort(uint16_t value) override;
    void WriteLong(int32_t value) override;
    void WriteULong(uint32_t value) override;
    int8_t ReadSChar() override;
    uint8_t ReadUChar() override;
    char ReadChar() override;
    int16_t ReadShort() override;
    uint16_t ReadUShort() override;
    int32_t ReadLong() override;
    uint32_t ReadULong() override;

    // The bytes held; valid until the next write.
    char* Buffer() { return mBuffer; }
    const char* Buffer() const { return mBuffer; }
    // Bytes allocated, a whole number of blocks.
    uint32_t Capacity() const { return mCapacity; }

    // size rounded up to whole 1024-byte blocks; one block for 0. 0 when that overflows.
    static uint32_t CalcBufferSize(uint32_t size);

protected:
    // Makes the stream hold n bytes. Beyond the capacity the array is reallocated to the larger
    // of CalcBufferSize(n) and twice the capacity; within it nothing moves, except that fewer
    // bytes than held shrink the array to CalcBufferSize(n). False, and nothing changed, when
    // the memory cannot be had.
    bool ResizeBuffer(uint32_t n);

private:
    static constexpr uint32_t kBlockSize = 1024;

    template <class T>
    void put(T value);
    template <class T>
    T get();

    bool mSwap;

    char* mBuffer = nullptr;
    uint32_t mSize = 0;
    uint32_t mCapacity = 0;
    uint32_t mPosition = 0;
};
