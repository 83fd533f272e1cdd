#include "HostMemory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <random>
#include <set>

TEST(HostMemory, NewHandleGivesABlockOfTheSizeAndClearZeroes)
{
    Handle h = NewHandleClear(100);
    ASSERT_NE(nullptr, h);
    EXPECT_EQ(noErr, MemError());
    EXPECT_EQ(100, GetHandleSize(h));
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(0, (*h)[i]);
    DisposeHandle(h);
    EXPECT_EQ(noErr, MemError());

    Handle empty = NewHandle(0);
    ASSERT_NE(nullptr, empty);
    EXPECT_NE(nullptr, *empty);
    EXPECT_EQ(0, GetHandleSize(empty));
    DisposeHandle(empty);
}

TEST(HostMemory, NegativeSizeAndUnknownHandlesAnswerErrors)
{
    EXPECT_EQ(nullptr, NewHandle(-1));
    EXPECT_EQ(paramErr, MemError());

    char* block = nullptr;
    Handle stray = &block;
    EXPECT_EQ(0, GetHandleSize(stray));
    EXPECT_EQ(nilHandleErr, MemError());
    HLock(nullptr);
    EXPECT_EQ(nilHandleErr, MemError());
    SetHandleSize(stray, 10);
    EXPECT_EQ(nilHandleErr, MemError());
    DisposeHandle(stray);
    EXPECT_EQ(nilHandleErr, MemError());
    DisposeHandle(nullptr);
    EXPECT_EQ(noErr, MemError());

    Handle h = NewHandle(4);
    DisposeHandle(h);
    EXPECT_FALSE(HostIsHandle(h));
}

TEST(HostMemory, ResizingKeepsTheBytesAndALockedBlockNeverMoves)
{
    Handle h = NewHandle(8);
    std::memcpy(*h, "abcdefgh", 8);
    SetHandleSize(h, 100000);
    ASSERT_EQ(noErr, MemError());
    EXPECT_EQ(100000, GetHandleSize(h));
    EXPECT_EQ(0, std::memcmp(*h, "abcdefgh", 8));

    SetHandleSize(h, 3);
    EXPECT_EQ(3, GetHandleSize(h));
    EXPECT_EQ(0, std::memcmp(*h, "abc", 3));

    HLock(h);
    char* fixed = *h;
    SetHandleSize(h, 50000); // within the room the block already has
    EXPECT_EQ(noErr, MemError());
    EXPECT_EQ(fixed, *h);
    SetHandleSize(h, 200000); // would have to move
    EXPECT_EQ(memFullErr, MemError());
    EXPECT_EQ(fixed, *h);
    EXPECT_EQ(50000, GetHandleSize(h));
    HUnlock(h);
    SetHandleSize(h, 200000);
    EXPECT_EQ(noErr, MemError());
    EXPECT_EQ(0, std::memcmp(*h, "abc", 3));
    SetHandleSize(h, -5);
    EXPECT_EQ(paramErr, MemError());
    DisposeHandle(h);
}

// Handles made and disposed of at random: exactly the live ones are recognised, with their sizes,
// however the records behind them are reused; addresses inside a record are never handles.
TEST(HostMemory, RecognisesExactlyTheLiveHandles)
{
    std::map<Handle, Size> live;
    std::set<Handle> seen;
    std::mt19937 random(7);
    for (int step = 0; step < 20000; ++step) {
        if (live.empty() || random() % 3 != 0) {
            Size size = Size(random() % 64);
            Handle h = NewHandle(size);
            ASSERT_NE(nullptr, h);
            ASSERT_EQ(0u, live.count(h));
            live[h] = size;
            seen.insert(h);
        } else {
            auto it = live.begin();
            std::advance(it, random() % live.size());
            DisposeHandle(it->first);
            live.erase(it);
        }
    }
    for (Handle h : seen) {
        auto it = live.find(h);
        ASSERT_EQ(it != live.end(), HostIsHandle(h));
        if (it != live.end()) {
            EXPECT_EQ(it->second, GetHandleSize(h));
        }
        EXPECT_FALSE(HostIsHandle(reinterpret_cast<Handle>(reinterpret_cast<char*>(h) + 8)));
    }
    for (auto& [h, size] : live)
        DisposeHandle(h);
}

// Handles made in a shared block: aligned as malloc aligns, apart from each other, resized and
// locked as any handle, and the block outlives its maker's release while a handle lies in it.
TEST(HostMemory, HandlesInASharedBlockBehaveAsHandlesOfTheirOwn)
{
    HostHandleBlock* block = HostNewHandleBlock(16 + 16 + 32); // room for sizes 10, 0 and 17
    ASSERT_NE(nullptr, block);
    Handle a = HostNewHandleInBlock(block, 10, nullptr);
    Handle empty = HostNewHandleInBlock(block, 0, nullptr);
    Handle c = HostNewHandleInBlock(block, 17, nullptr);
    Handle spill = HostNewHandleInBlock(block, 1, nullptr); // the block is full
    for (Handle h : {a, empty, c, spill}) {
        ASSERT_TRUE(HostIsHandle(h));
        EXPECT_EQ(0u, reinterpret_cast<uintptr_t>(*h) % 16);
    }
    EXPECT_TRUE(HostHandleInSharedBlock(c));
    EXPECT_FALSE(HostHandleInSharedBlock(spill));
    EXPECT_EQ(0, GetHandleSize(empty));
    std::memset(*a, 'a', 10);
    std::memset(*c, 'c', 17);
    EXPECT_EQ(std::string(10, 'a'), std::string(*a, 10));

    HLock(c);
    char* fixed = *c;
    SetHandleSize(c, 18); // past its bytes: a locked block never moves
    EXPECT_EQ(memFullErr, MemError());
    SetHandleSize(c, 4);
    EXPECT_EQ(fixed, *c);
    EXPECT_TRUE(HostGiveHandleItsOwnBytes(a));
    EXPECT_FALSE(HostGiveHandleItsOwnBytes(c)); // locked: stays
    EXPECT_EQ(std::string(10, 'a'), std::string(*a, 10));
    HUnlock(c);
    SetHandleSize(c, 1000);
    ASSERT_EQ(noErr, MemError());
    EXPECT_FALSE(HostHandleInSharedBlock(c));
    EXPECT_EQ("cccc", std::string(*c, 4));

    HostReleaseHandleBlock(block); // `empty` still lies in it
    SetHandleSize(empty, 1);
    **empty = 'e';
    EXPECT_EQ('e', **empty);
    for (Handle h : {a, empty, c, spill})
        DisposeHandle(h);
}
