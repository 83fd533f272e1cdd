// Numbers the positions of a lexer's patterns: one position per character occurrence (a range
// takes one per character it covers, the end of every pattern one for the zero byte). Positions
// are global to the lexer under construction; only one lexer is built at a time.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

class REPositionCollection {
public:
    static constexpr uint16_t kMaxPositions = 2048;

    // Hands out the next position for c. Throws RETooManyPositions when all are taken.
    uint16_t AllocatePosition(unsigned char c);
    // Hands out one consecutive position for each character lo..hi in order and returns the first.
    // Throws RETooManyPositions, handing out none, when they do not all fit.
    uint16_t AllocatePositionRange(unsigned char lo, unsigned char hi);

    // The positions that stand for c, in order of allocation.
    const std::vector<uint16_t>& GetCharacterPositions(unsigned char c) const { return mPositions[c]; }
    uint16_t GetNumPositions() const { return mCount; }
    void ResetPositionCollection();

private:
    uint16_t mCount = 0;
    std::array<std::vector<uint16_t>, 256> mPositions;
};
