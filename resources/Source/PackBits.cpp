// Repeats of three or more equal bytes become repeat runs; shorter ones stay in literal runs,
// where they cost no more than a run of their own would.
#include "PackBits.h"

namespace {

size_t repeatLength(const uint8_t* bytes, size_t count, size_t at)
{
    size_t length = 1;
    while (at + length < count && length < PackBits::kMaxRun && bytes[at + length] == bytes[at])
        ++length;
    return length;
}

} // namespace

void PackBits::Pack(const uint8_t* bytes, size_t count, std::vector<uint8_t>& out)
{
    size_t at = 0;
    while (at < count) {
        size_t repeat = repeatLength(bytes, count, at);
        if (repeat >= 3 || (repeat == 2 && at + repeat == count)) {
            out.push_back(uint8_t(int8_t(1 - int(repeat))));
            out.push_back(bytes[at]);
            at += repeat;
            continue;
        }
        size_t start = at;
        while (at < count && at - start < kMaxRun && repeatLength(bytes, count, at) < 3)
            ++at;
        out.push_back(uint8_t(at - start - 1));
        out.insert(out.end(), bytes + start, bytes + at);
    }
}
