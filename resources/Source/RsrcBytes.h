// A growing buffer of big-endian bytes: the byte order of every classic resource.
#pragma once

#include "HostTypes.h"

#include <cstdint>
#include <vector>

class RsrcBytes {
public:
    void Put8(uint8_t value) { mBytes.push_back(value); }
    void Put16(uint16_t value)
    {
        Put8(uint8_t(value >> 8));
        Put8(uint8_t(value));
    }
    void Put32(uint32_t value)
    {
        Put16(uint16_t(value >> 16));
        Put16(uint16_t(value));
    }
    // top, left, bottom, right
    void PutRect(const Rect& r)
    {
        Put16(uint16_t(r.top));
        Put16(uint16_t(r.left));
        Put16(uint16_t(r.bottom));
        Put16(uint16_t(r.right));
    }
    void PutBytes(const std::vector<uint8_t>& bytes) { mBytes.insert(mBytes.end(), bytes.begin(), bytes.end()); }
    void PutZeros(size_t count) { mBytes.insert(mBytes.end(), count, 0); }

    // Overwrites a 16-bit or 32-bit value already written (sizes and offsets known only later).
    void Patch16(size_t at, uint16_t value)
    {
        mBytes.at(at) = uint8_t(value >> 8);
        mBytes.at(at + 1) = uint8_t(value);
    }
    void Patch32(size_t at, uint32_t value)
    {
        Patch16(at, uint16_t(value >> 16));
        Patch16(at + 2, uint16_t(value));
    }

    size_t Size() const { return mBytes.size(); }
    const std::vector<uint8_t>& Bytes() const { return mBytes; }
    std::vector<uint8_t> Take() { return std::move(mBytes); }

private:
    std::vector<uint8_t> mBytes;
};
