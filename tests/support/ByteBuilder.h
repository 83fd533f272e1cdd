// Builds big-endian byte strings for tests of stored formats.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

class ByteBuilder {
public:
    ByteBuilder& Byte(int v)
    {
        mBytes.push_back(uint8_t(v));
        return *this;
    }
    ByteBuilder& Bytes(std::initializer_list<int> values)
    {
        for (int v : values)
            Byte(v);
        return *this;
    }
    ByteBuilder& Bytes(const std::vector<uint8_t>& values)
    {
        mBytes.insert(mBytes.end(), values.begin(), values.end());
        return *this;
    }
    ByteBuilder& Fill(size_t count, int v)
    {
        mBytes.insert(mBytes.end(), count, uint8_t(v));
        return *this;
    }
    ByteBuilder& Short(int v)
    {
        return Byte(v >> 8).Byte(v);
    }
    ByteBuilder& Long(int64_t v)
    {
        return Short(int(v >> 16)).Short(int(v));
    }
    // Stored top, left, bottom, right.
    ByteBuilder& Rect(int top, int left, int bottom, int right)
    {
        return Short(top).Short(left).Short(bottom).Short(right);
    }
    // Pads with a zero byte to an even length.
    ByteBuilder& AlignEven()
    {
        if (mBytes.size() % 2 != 0)
            Byte(0);
        return *this;
    }
    // Writes a 16-bit value at a position already written.
    ByteBuilder& PatchShort(size_t at, int v)
    {
        mBytes.at(at) = uint8_t(v >> 8);
        mBytes.at(at + 1) = uint8_t(v);
        return *this;
    }

    size_t Size() const { return mBytes.size(); }
    const std::vector<uint8_t>& Data() const { return mBytes; }

private:
    std::vector<uint8_t> mBytes;
};
