#include "FWStaticSet.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using PositionSet = FWStaticSet<2048, uint32_t>;
using CharacterSet = FWStaticSet<256, unsigned char>;

TEST(FWStaticSet, BitILivesInUnitIOverUnitBitsCountedFromTheLowBit)
{
    PositionSet positions;
    for (uint32_t i : {0u, 31u, 32u, 70u, 2047u})
        positions |= i;
    EXPECT_EQ(0x80000001u, positions.Unit(0));
    EXPECT_EQ(0x00000001u, positions.Unit(1));
    EXPECT_EQ(0x00000040u, positions.Unit(2));
    EXPECT_EQ(0x80000000u, positions.Unit(63));
    EXPECT_TRUE(positions & 70u);
    EXPECT_FALSE(positions & 71u);

    CharacterSet characters;
    characters |= 9u;
    characters |= 255u;
    EXPECT_EQ(0x02, characters.Unit(1));
    EXPECT_EQ(0x80, characters.Unit(31));
    EXPECT_EQ(32u, CharacterSet::kUnitCount);
    EXPECT_EQ(64u, PositionSet::kUnitCount);
}

TEST(FWStaticSet, WholeSetOperations)
{
    PositionSet a;
    EXPECT_FALSE(a.IsNotEmpty());
    a = 5u;
    a = 1000u; // a set of one element
    EXPECT_FALSE(a & 5u);
    EXPECT_TRUE(a & 1000u);

    PositionSet b;
    b |= 3u;
    b |= a;
    EXPECT_TRUE(b & 3u);
    EXPECT_TRUE(b & 1000u);
    EXPECT_FALSE(a == b);
    a |= 3u;
    EXPECT_TRUE(a == b);

    std::vector<uint32_t> members;
    b.ForEach([&](uint32_t i) { members.push_back(i); });
    EXPECT_EQ((std::vector<uint32_t>{3, 1000}), members);

    b.Clear();
    EXPECT_FALSE(b.IsNotEmpty());
    EXPECT_TRUE(PositionSet() == b);
}
