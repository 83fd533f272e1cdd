#include "ClassicLayout.h"
#include "HostResourceFile.h"
#include "HostTestFiles.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t kTEST = FOUR_CHAR_CODE("TEST");
constexpr uint32_t kWINT = FOUR_CHAR_CODE("WINT");
constexpr uint32_t kPICT = FOUR_CHAR_CODE("PICT");

using classic::resource;


// Writes resources with the host's writer; names are made length-prefixed.
std::vector<uint8_t> build(const std::vector<ClassicResource>& resources, OSErr expect = noErr)
{
    std::vector<std::vector<uint8_t>> names;
    names.reserve(resources.size());
    std::vector<HostResourceToWrite> toWrite;
    for (const ClassicResource& r : resources) {
        names.push_back(std::vector<uint8_t>(1, uint8_t(r.name.size())));
        names.back().insert(names.back().end(), r.name.begin(), r.name.end());
        toWrite.push_back({r.type, r.id, r.attributes, r.hasName ? names.back().data() : nullptr, r.data.data(),
                           uint32_t(r.data.size())});
    }
    std::vector<uint8_t> bytes;
    std::vector<HostResourceRecord> written;
    EXPECT_EQ(expect, HostResourceFile::Build(toWrite, 0, nullptr, bytes, written));
    return bytes;
}

// Reads a file with the host's reader into the test's own form.
std::vector<ClassicResource> parse(const std::vector<uint8_t>& bytes)
{
    HostResourceFileMap map;
    EXPECT_EQ(noErr, HostResourceFile::Parse(bytes.data(), bytes.size(), map));
    std::vector<ClassicResource> all;
    for (const HostResourceRecord& r : map.records) {
        ClassicResource res{r.type, r.id, r.attributes, r.nameOffset >= 0, "", {}};
        if (res.hasName)
            res.name.assign(reinterpret_cast<const char*>(&bytes[size_t(r.nameOffset) + 1]), bytes[size_t(r.nameOffset)]);
        res.data.assign(bytes.begin() + r.dataOffset, bytes.begin() + r.dataOffset + r.dataLength);
        all.push_back(res);
    }
    std::sort(all.begin(), all.end());
    return all;
}

OSErr parseError(const std::vector<uint8_t>& bytes)
{
    HostResourceFileMap map;
    return HostResourceFile::Parse(bytes.data(), bytes.size(), map);
}

std::vector<ClassicResource> sample()
{
    return {resource(kWINT, 128, "Main", {1, 2, 3, 4}),
            resource(kWINT, -1, "", {}),
            resource(kWINT, 32767, std::string(255, 'n'), std::vector<uint8_t>(1000, 0x5A), resProtected),
            resource(kPICT, 21000, "Image Preview", {0xFF, 0x00}, resPurgeable | resLocked),
            resource(FOUR_CHAR_CODE("QZMP"), 128, "MultiThread", {0, 0, 0, 1})};
}

} // namespace

TEST(HostResourceFile, WritesTheClassicLayoutByteForByte)
{
    EXPECT_EQ(OneResourceFileBytes(), build({resource(kTEST, 128, "Hi", {1, 2, 3}, resChanged)}));
}

TEST(HostResourceFile, WhatItWritesAnIndependentReaderReadsTheSame)
{
    std::vector<ClassicResource> resources = sample();
    std::vector<uint8_t> bytes = build(resources);
    std::vector<ClassicResource> expected = resources;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, ReadClassic(bytes));
    EXPECT_EQ(expected, parse(bytes));
}

TEST(HostResourceFile, ReadsFilesLaidOutByOtherWriters)
{
    std::vector<ClassicResource> resources = sample();
    std::vector<uint8_t> bytes = HandBuildClassic(resources, mapCompact);
    std::vector<ClassicResource> expected = resources;
    std::sort(expected.begin(), expected.end());
    ASSERT_EQ(expected, ReadClassic(bytes)); // the hand-built file is what it claims to be
    EXPECT_EQ(expected, parse(bytes));
    HostResourceFileMap map;
    ASSERT_EQ(noErr, HostResourceFile::Parse(bytes.data(), bytes.size(), map));
    EXPECT_EQ(mapCompact, map.attributes);
    EXPECT_TRUE(map.hasHeaderReserve);
    EXPECT_EQ(0xAA, map.headerReserve[0]);
}

TEST(HostResourceFile, LargeMapsPutTheNamesFirstAndMapsBeyondTheLayoutAreRefused)
{
    // 10,000 named resources: the reference lists pass the reach of the 16-bit name-list offset.
    std::vector<ClassicResource> many;
    for (int i = 0; i < 10000; ++i)
        many.push_back(resource(kTEST, int16_t(i), std::to_string(i), {uint8_t(i)}));
    std::vector<uint8_t> bytes = build(many);
    EXPECT_EQ(many, ReadClassic(bytes));
    EXPECT_EQ(many, parse(bytes));

    // Only with the longest reference list placed last do both lists start within reach.
    std::vector<ClassicResource> twoTypes;
    for (int i = 0; i < 100; ++i)
        twoTypes.push_back(resource(kPICT, int16_t(i), Numbered("p", i), {}));
    for (int i = 0; i < 6000; ++i)
        twoTypes.push_back(resource(kTEST, int16_t(i), std::to_string(i), {}));
    EXPECT_TRUE(HostResourceFile::MapFits({100, 6000}, 30000));
    EXPECT_TRUE(HostResourceFile::MapFits({6000, 100}, 30000));
    EXPECT_EQ(twoTypes, ReadClassic(build(twoTypes)));

    EXPECT_TRUE(HostResourceFile::MapFits({65536}, 0));
    EXPECT_FALSE(HostResourceFile::MapFits({65537}, 0));
    EXPECT_FALSE(HostResourceFile::MapFits({10}, 0x10000));
    EXPECT_FALSE(HostResourceFile::MapFits({5000, 5000}, 0xF000)); // second list out of reach
    std::vector<ClassicResource> tooManyNames;
    for (int i = 0; i < 300; ++i)
        tooManyNames.push_back(resource(kTEST, int16_t(i), std::string(250, 'x'), {}));
    build(tooManyNames, addResFailed);
}

TEST(HostResourceFile, DamagedFilesAnswerMapDamagedAndNeverReadOutside)
{
    // WINT -1's reference list moved 2 bytes back, into the type list, still reads as a good one.
    const std::vector<uint8_t> good = build({resource(kWINT, -1, "a", {1, 2}), resource(kPICT, 2, "b", {3})});
    ASSERT_EQ(noErr, parseError(good));
    const size_t map = classic::u32(good, 4);
    const size_t typeList = map + 28;
    const size_t firstRefs = typeList + classic::u16(good, typeList + 2 + 6);

    struct Damage {
        const char* what;
        size_t at;
        std::vector<uint8_t> bytes;
    };
    const Damage damages[] = {
        {"data offset past the end", 0, {0, 1, 0, 0}},
        {"map offset past the end", 4, {0xFF, 0xFF, 0xFF, 0xF0}},
        {"data length past the end", 8, {0x7F, 0, 0, 0}},
        {"map length past the end", 12, {0, 1, 0, 0}},
        {"map shorter than its header", 12, {0, 0, 0, 20}},
        {"type list outside the map", map + 24, {0x7F, 0}},
        {"type count past the map", typeList, {0x40, 0}},
        {"reference list past the map", typeList + 2 + 6, {0x7F, 0}},
        {"reference list inside the type list", typeList + 2 + 6, {0, 16}},
        {"reference count past the map", typeList + 2 + 4, {0x10, 0}},
        {"two types share a reference list", typeList + 2 + 8 + 6, {good[typeList + 2 + 6], good[typeList + 2 + 7]}},
        {"a type listed twice", typeList + 2 + 8, {'W', 'I', 'N', 'T'}},
        {"data offset past the data", firstRefs + 5, {0, 0, 0x40}},
        {"data length past the data", 256, {0, 0, 1, 0}},
        {"name offset past the map", firstRefs + 2, {0x10, 0}},
    };
    for (const Damage& d : damages) {
        std::vector<uint8_t> bytes = good;
        std::copy(d.bytes.begin(), d.bytes.end(), bytes.begin() + long(d.at));
        EXPECT_EQ(mapReadErr, parseError(bytes)) << d.what;
    }

    // Two resources pointing at the same data would each be written out again.
    std::vector<uint8_t> shared = good;
    const size_t secondRefs = typeList + classic::u16(good, typeList + 2 + 8 + 6);
    std::copy(good.begin() + long(firstRefs) + 5, good.begin() + long(firstRefs) + 8, shared.begin() + long(secondRefs) + 5);
    EXPECT_EQ(mapReadErr, parseError(shared));

    std::vector<uint8_t> longName = good;
    longName[map + classic::u16(good, map + 26)] = 200; // name runs past the map
    EXPECT_EQ(mapReadErr, parseError(longName));

    // Every cut of a good file is refused, none is read past its end.
    for (size_t size = 1; size < good.size(); ++size)
        EXPECT_EQ(mapReadErr, parseError(std::vector<uint8_t>(good.begin(), good.begin() + long(size)))) << size;
    EXPECT_EQ(eofErr, parseError({}));
}
