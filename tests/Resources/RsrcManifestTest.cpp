#include "HostMemory.h"
#include "HostResources.h"
#include "RsrcCompiler.h"
#include "RsrcError.h"
#include "RsrcFileWriter.h"
#include "RsrcManifest.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace {

TEST(RsrcManifest, ReadsEntriesWithQuotedTypesAndHotSpots)
{
    RsrcManifest manifest = RsrcManifest::Parse("# comment\n"
                                                "\n"
                                                "'argb' 60 images/close.png   close box\n"
                                                "  'STR ' -200\ttexts/a.txt missing feature  \r\n"
                                                "'crsr' 1000 c.png hot=3,12 menu cursor\n");
    const auto& entries = manifest.Entries();
    ASSERT_EQ(3u, entries.size());
    EXPECT_EQ(FOUR_CHAR_CODE("argb"), entries[0].type);
    EXPECT_EQ(60, entries[0].id);
    EXPECT_EQ("images/close.png", entries[0].source);
    EXPECT_EQ("close box", entries[0].purpose);
    EXPECT_EQ(3, entries[0].line);
    EXPECT_EQ(FOUR_CHAR_CODE("STR "), entries[1].type);
    EXPECT_EQ(-200, entries[1].id);
    EXPECT_EQ("missing feature", entries[1].purpose);
    EXPECT_TRUE(entries[2].hasHotSpot);
    EXPECT_EQ(3, entries[2].hotSpot.h);
    EXPECT_EQ(12, entries[2].hotSpot.v);
    EXPECT_EQ("menu cursor", entries[2].purpose);
    EXPECT_EQ("'STR ' -200", RsrcManifest::Describe(entries[1].type, entries[1].id));
}

TEST(RsrcManifest, RefusesMalformedLinesNamingThem)
{
    const struct {
        const char* text;
        const char* problem;
    } cases[] = {
        {"argb 60 a.png x", "line 2: a line starts with a type"},
        {"'arg' 60 a.png x", "line 2: a line starts with a type"},
        {"'argb'60 a.png x", "line 2: a space follows"},
        {"'argb' 40000 a.png x", "line 2: the type is followed by an id"},
        {"'argb' 6x a.png x", "line 2: the type is followed by an id"},
        {"'argb' 60", "line 2: the id is followed by the source"},
        {"'argb' 60 a.png", "line 2: every resource says what it is for"},
        {"'argb' 60 a.png hot=1,1 x", "line 2: only a cursor"},
        {"'crsr' 60 a.png x", "line 2: a cursor needs its hot spot"},
        {"'crsr' 60 a.png hot=1 x", "line 2: a hot spot is written hot=h,v"},
        {"'argb' 60 a.png x\n'argb' 60 b.png y", "line 3: 'argb' 60 is listed twice"},
    };
    for (const auto& c : cases) {
        try {
            RsrcManifest::Parse(std::string("# first\n") + c.text);
            ADD_FAILURE() << c.text;
        } catch (const RsrcError& e) {
            EXPECT_NE(std::string::npos, std::string(e.what()).find(c.problem)) << e.what();
        }
    }
    EXPECT_THROW(RsrcManifest::Load("/nonexistent/Manifest.txt"), RsrcError);
}

class RsrcCompilerTest : public ::testing::Test {
protected:
    RsrcManifest load(const std::string& text)
    {
        TempFolder::WriteFile(mFolder.File("Manifest.txt"), text);
        return RsrcManifest::Load(mFolder.File("Manifest.txt"));
    }

    TempFolder mFolder;
};

TEST_F(RsrcCompilerTest, MakesTextsRelativeToTheManifest)
{
    std::filesystem::create_directory(mFolder.Path() / "texts");
    TempFolder::WriteFile(mFolder.File("texts/a.txt"), "Caf\xC3\xA9\nline two\n");
    TempFolder::WriteFile(mFolder.File("texts/bar.txt"), "128\n");
    RsrcManifest manifest = load("'STR ' 200 texts/a.txt a message\n'MBAR' 128 texts/bar.txt the bar\n");

    std::vector<RsrcCompiler::Resource> resources = RsrcCompiler::CompileAll(manifest);
    ASSERT_EQ(2u, resources.size());
    const std::string stored = "\x0D" "Caf\x8E\rline two";
    EXPECT_EQ(std::vector<uint8_t>(stored.begin(), stored.end()), resources[0].data);
    EXPECT_EQ("a message", resources[0].name);
    EXPECT_EQ(std::vector<uint8_t>({0, 1, 0, 128}), resources[1].data);
}

TEST_F(RsrcCompilerTest, NamesTheResourceAndSourceThatFail)
{
    TempFolder::WriteFile(mFolder.File("broken.png"), "not a PNG");
    const struct {
        const char* line;
        const char* expected;
    } cases[] = {
        {"'argb' 61 missing.png absent", "'argb' 61 (manifest line 1"},
        {"'argb' 61 missing.png absent", "the source is missing"},
        {"'PICT' 62 broken.png broken", "not a readable PNG"},
        {"'STR ' 63 missing.txt absent", "the source is missing"},
        {"'WINT' 64 broken.png layout", "no converter makes this type"},
    };
    for (const auto& c : cases) {
        RsrcManifest manifest = load(c.line);
        try {
            RsrcCompiler::CompileAll(manifest);
            ADD_FAILURE() << c.line;
        } catch (const RsrcError& e) {
            EXPECT_NE(std::string::npos, std::string(e.what()).find(c.expected)) << e.what();
        }
    }
    EXPECT_FALSE(RsrcCompiler::Makes(FOUR_CHAR_CODE("WINT")));
    EXPECT_TRUE(RsrcCompiler::Makes(FOUR_CHAR_CODE("crsr")));
}

RsrcCompiler::Resource resource(const char* type, ResID id, std::vector<uint8_t> data)
{
    uint32_t code = 0;
    for (int i = 0; i < 4; ++i)
        code = code << 8 | uint8_t(type[i]);
    return RsrcCompiler::Resource{code, id, "name", std::move(data)};
}

TEST_F(RsrcCompilerTest, WritesAFileThatOpensWithItsResources)
{
    const std::string path = mFolder.File("out.rsrc");
    RsrcFileWriter::Write(path, {resource("TEST", 1, {1, 2, 3}), resource("TEST", 2, {}), resource("DATA", 7, {9})});

    FSSpec spec{};
    std::strcpy(spec.parentPath, mFolder.Path().c_str());
    spec.name[0] = 8;
    std::memcpy(spec.name + 1, "out.rsrc", 8);
    SInt16 file = FSpOpenResFile(&spec, fsRdPerm);
    ASSERT_NE(-1, file);
    EXPECT_EQ(2, Count1Resources(FOUR_CHAR_CODE("TEST")));
    Handle h = Get1Resource(FOUR_CHAR_CODE("TEST"), 1);
    ASSERT_NE(nullptr, h);
    EXPECT_EQ(std::vector<uint8_t>({1, 2, 3}), std::vector<uint8_t>(*h, *h + GetHandleSize(h)));
    Str255 name;
    GetResInfo(h, nullptr, nullptr, name);
    EXPECT_EQ("name", std::string(reinterpret_cast<char*>(name + 1), name[0]));
    EXPECT_NE(nullptr, Get1Resource(FOUR_CHAR_CODE("DATA"), 7));
    CloseResFile(file);
    EXPECT_FALSE(std::filesystem::exists(path + ".new"));
}

TEST_F(RsrcCompilerTest, AFailedWriteLeavesTheOldFileWhole)
{
    const std::string path = mFolder.File("out.rsrc");
    RsrcFileWriter::Write(path, {resource("TEST", 1, {1})});
    const std::string before = TempFolder::ReadFile(path);

    EXPECT_THROW(RsrcFileWriter::Write(path, {resource("TEST", 5, {1}), resource("TEST", 5, {2})}), RsrcError);
    EXPECT_EQ(before, TempFolder::ReadFile(path));
    EXPECT_FALSE(std::filesystem::exists(path + ".new"));

    EXPECT_THROW(RsrcFileWriter::Write(mFolder.File("no/such/folder/out.rsrc"), {}), RsrcError);
}

} // namespace
