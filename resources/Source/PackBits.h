// PackBits run coding of bytes, as pictures store packed rows: a control byte n from 0 to 127
// is followed by n + 1 literal bytes; n from -127 to -1 by one byte repeated 1 - n times.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class PackBits {
public:
    // Appends the packed form of bytes[0..count) to out.
    static void Pack(const uint8_t* bytes, size_t count, std::vector<uint8_t>& out);

    // The longest run either kind of run holds.
    static constexpr size_t kMaxRun = 128;
};
