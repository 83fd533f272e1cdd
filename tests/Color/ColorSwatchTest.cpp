#include "ByteBuilder.h"
#include "ColorSwatch.h"
#include "FS_FileTypeRegistry.h"
#include "FS_Locator.h"
#include "FS_LocatorRegistry.h"
#include "FS_UtilPAC.h"
#include "FWApp.h"
#include "FWDynamicString.h"
#include "FWException.h"
#include "FWMemoryStream.h"
#include "FileReference.h"
#include "HostEvents.h"
#include "IFFException.h"
#include "ShownMessages.h"
#include "SwatchPicker.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <memory>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes asBytes(const std::string& s)
{
    return Bytes(s.begin(), s.end());
}

template <class Write>
Bytes written(Write write)
{
    FWMemoryStream stream(FWStream::kReadWrite, FWPlatform::kBigEndian);
    write(stream);
    return Bytes(stream.Buffer(), stream.Buffer() + stream.GetStreamSize());
}

CColorSwatch swatchOf(const char* name, std::initializer_list<FWRgb32> colors)
{
    FWStr<31ul> text(name);
    CColorSwatch swatch(short(colors.size()), &text);
    short i = 0;
    for (const FWRgb32& c : colors)
        swatch[i++] = c;
    return swatch;
}

// The head of both file kinds with the given signature and version.
ByteBuilder head(uint32_t signature, uint32_t version)
{
    ByteBuilder b;
    b.Long(0x73677472).Long(4).Long(signature).Long(0x76657273).Long(4).Long(version);
    return b;
}

// A 'swch' block named "x" with the stored count and the colour bytes given.
ByteBuilder& swatchBlock(ByteBuilder& b, uint32_t count, const Bytes& colors)
{
    return b.Long(0x73776368).Long(15 + int64_t(colors.size())).Byte(1)
        .Long(0x73747267).Long(2).Byte(1).Byte('x').Long(count).Bytes(colors);
}

std::string messageOf(const Bytes& bytes, void (*read)(FWStream&))
{
    FWMemoryStream stream(FWStream::kReadOnly, FWPlatform::kBigEndian, bytes.data(), uint32_t(bytes.size()));
    try {
        read(stream);
    } catch (const FWException& e) {
        return e.WhatFailed();
    }
    return "";
}

void readSwatch(FWStream& s)
{
    CColorSwatch swatch;
    ReadColorSwatchStream(s, swatch);
}

void readCollection(FWStream& s)
{
    CSwatchList list;
    ReadColorSwatchesStream(s, list);
}

} // namespace

TEST(ColorSwatch, SwatchFilesHaveTheirExactBytes)
{
    const Bytes empty = {0x73, 0x67, 0x74, 0x72, 0, 0, 0, 4, 0x53, 0x57, 0x43, 0x48, 0x76, 0x65, 0x72, 0x73,
                         0, 0, 0, 4, 0x01, 0, 0, 0xC1, 0x73, 0x77, 0x63, 0x68, 0, 0, 0, 0x0E, 0x01, 0x73,
                         0x74, 0x72, 0x67, 0, 0, 0, 1, 1, 0, 0, 0, 0};
    EXPECT_EQ(empty, written([](FWStream& s) { WriteColorSwatchStream(s, CColorSwatch()); }));

    const Bytes ab = written([](FWStream& s) { WriteColorSwatchStream(s, swatchOf("ab", {{255, 255, 255}, {0, 0, 0}})); });
    const Bytes tail = {0x73, 0x77, 0x63, 0x68, 0, 0, 0, 0x16, 0x01, 0x73, 0x74, 0x72, 0x67, 0, 0, 0, 3, 1,
                        0x61, 0x62, 0, 0, 0, 2, 0xFF, 0xFF, 0xFF, 0, 0, 0};
    ASSERT_EQ(54u, ab.size());
    EXPECT_EQ(tail, Bytes(ab.end() - 30, ab.end()));
}

// This end signal comes once a save's temporary file is written whole, before its rename.
static int signalOnRename = 0;
extern "C" int rename(const char* from, const char* to) noexcept
{
    // Twice: the first asks for the end at the next wait, the second ends the program at once.
    if (signalOnRename != 0 && kill(getpid(), signalOnRename) == 0 && kill(getpid(), signalOnRename) == 0)
        for (;;)
            pause();
    return int(syscall(SYS_renameat, AT_FDCWD, from, AT_FDCWD, to));
}

TEST(ColorSwatch, AnEndSignalDuringASwatchSaveLeavesTheOldFileAlone)
{
    TempFolder folder;
    const std::string target = folder.Create("Swatches", "old");
    for (int signo : {SIGTERM, SIGHUP}) {
        EXPECT_EXIT(
            {
                HostInstallEndSignals();
                signalOnRename = signo;
                CSwatchList list;
                WriteColorSwatches(FileReference(target.c_str()), list);
            },
            testing::ExitedWithCode(0), "")
            << signo;
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
            names.push_back(entry.path().filename().string());
        EXPECT_EQ(std::vector<std::string>{"Swatches"}, names) << signo;
        EXPECT_EQ("old", TempFolder::ReadFile(target)) << signo;
    }
}

TEST(ColorSwatch, ReadersRefuseWrongHeadsAndBadCounts)
{
    ByteBuilder ok;
    swatchBlock(ok, 0, {});
    const Bytes block = ok.Data();
    auto swatchFile = [&block](uint32_t signature, uint32_t version) {
        ByteBuilder b = head(signature, version);
        return b.Bytes(block).Data();
    };
    const std::string unknown = "the version of the swatches file was unknown";
    EXPECT_EQ(unknown, messageOf(swatchFile(0x53574348, 0x010000C0), readSwatch));
    EXPECT_EQ("", messageOf(swatchFile(0x53574348, 0x010000C1), readSwatch));
    EXPECT_EQ("", messageOf(swatchFile(0x53574348, 0x02000000), readSwatch));
    EXPECT_EQ("the signature of the swatch file was wrong", messageOf(swatchFile(0x53574343, 0x010000C1), readSwatch));

    ByteBuilder collection = head(0x53574348, 0x010000C1);
    collection.Long(0x73776363).Long(5).Byte(1).Long(0);
    EXPECT_EQ("the signature of the swatches file was wrong", messageOf(collection.Data(), readCollection));
    ByteBuilder old = head(0x53574343, 0x01000000);
    old.Long(0x73776363).Long(5).Byte(1).Long(0);
    EXPECT_EQ(unknown, messageOf(old.Data(), readCollection));

    // Block version 0, a count beyond 32767 (with the colours present) and beyond the block.
    const std::string badSize = IFFUnexpectedSize().WhatFailed();
    ByteBuilder version0 = head(0x53574348, 0x010000C1);
    version0.Long(0x73776368).Long(14).Byte(0).Long(0x73747267).Long(1).Byte(1).Long(0);
    EXPECT_EQ(IFFUnknownVersion().WhatFailed(), messageOf(version0.Data(), readSwatch));
    ByteBuilder tooMany = head(0x53574348, 0x010000C1);
    swatchBlock(tooMany, 32768, Bytes(3 * 32768, 9));
    EXPECT_EQ(badSize, messageOf(tooMany.Data(), readSwatch));
    ByteBuilder beyond = head(0x53574348, 0x010000C1);
    swatchBlock(beyond, 3, Bytes(6, 9));
    EXPECT_EQ(badSize, messageOf(beyond.Data(), readSwatch));
}

TEST(ColorSwatch, ColorTableGivesTheFirst768Bytes)
{
    TempFolder folder;
    std::string table;
    for (int i = 0; i < 772; ++i)
        table += char((i * 7) & 0xFF);
    const std::string path = folder.Create("pal.act", table);

    CColorSwatch swatch;
    ReadColorTableFile(FileReference(path.c_str()), swatch);
    EXPECT_EQ(FWStr<31ul>("pal.act"), swatch.GetSwatchName());
    ASSERT_EQ(256, swatch.GetNumColors());
    const Bytes saved = written([&swatch](FWStream& s) { WriteColorSwatchStream(s, swatch); });
    ASSERT_EQ(53u + 768u, saved.size());
    EXPECT_EQ(asBytes(table.substr(0, 768)), Bytes(saved.begin() + 53, saved.end()));

    // A short table is refused and the swatch stays as it was; a UTF-8 name becomes Mac Roman.
    const std::string shortPath = folder.Create("short.act", table.substr(0, 767));
    CColorSwatch untouched = swatchOf("kept", {{1, 1, 1}});
    EXPECT_THROW(ReadColorTableFile(FileReference(shortPath.c_str()), untouched), FWException);
    EXPECT_EQ(FWStr<31ul>("kept"), untouched.GetSwatchName());
    EXPECT_EQ(1, untouched.GetNumColors());
    const std::string accented = folder.Create("caf\xC3\xA9.act", table);
    ReadColorTableFile(FileReference(accented.c_str()), swatch);
    EXPECT_EQ(FWStr<31ul>("caf\x8E.act"), swatch.GetSwatchName());
}

// Names a preferences folder only when given one, as the editor names none.
class SwatchApp : public FWApp {
public:
    void GetPreferencesDirectory(FileReference& folder) const override
    {
        if (!mFolder.empty())
            folder.SetPath(mFolder.c_str());
    }
    std::string mFolder;
};

// The collection file, kept in a "Preferences" folder of a scratch program folder.
class SwatchCollectionTest : public ShownMessagesTest {
protected:
    void SetUp() override
    {
        ShownMessagesTest::SetUp();
        Corvel::FS_LocatorRegistry::Init();
        Corvel::FS_FileTypeRegistry::Init();
        Corvel::FS_Locator locator;
        Corvel::FS_UtilPAC::DotPathNameToLocator(FWDynamicString(mFolder.File("Preferences").c_str()), locator);
        Corvel::FS_LocatorRegistry::RegisterLocator(-5, locator);
        SwatchPicker::gColorSwatches.RemoveAllSwatches();
    }
    void TearDown() override
    {
        SwatchPicker::gColorSwatches.RemoveAllSwatches();
        Corvel::FS_FileTypeRegistry::CleanUp();
        Corvel::FS_LocatorRegistry::CleanUp();
        ShownMessagesTest::TearDown();
    }
    std::string CollectionPath() const { return mFolder.File("Preferences/Color Swatches"); }

    TempFolder mFolder;
    std::unique_ptr<SwatchApp> mApp = std::make_unique<SwatchApp>();
};

TEST_F(SwatchCollectionTest, DefaultsAreBuiltAndWrittenIntoAMadeFolder)
{
    SwatchPicker::LoadDefaultSwatches();
    const std::string bytes = TempFolder::ReadFile(CollectionPath());
    ASSERT_EQ(4027u, bytes.size());
    // The reference file's SHA-256 is 430703eb8f7621387ac410c05da3321ce046d0a38074cccfaf7f4b1511d9c398.
    EXPECT_EQ(TempFolder::ReadFile(FW_TEST_DATA "/default-swatches"), bytes);
    ASSERT_EQ(5, SwatchPicker::gColorSwatches.CountSwatches());
    EXPECT_EQ(0x53574348u, Corvel::FS_FileTypeRegistry::TypeFromExtension(FWStr<31>("swch")));
    EXPECT_EQ(0x38424354u, Corvel::FS_FileTypeRegistry::TypeFromExtension(FWStr<31>("act")));

    // A second run reads the file instead of rebuilding it; names are cut to 31 characters.
    SwatchPicker::gColorSwatches.RemoveAllSwatches();
    SwatchPicker::gColorSwatches.AddSwatch(new CColorSwatch(swatchOf(std::string(40, 'n').c_str(), {{4, 5, 6}})));
    SwatchPicker::SaveColorSwatches();
    SwatchPicker::gColorSwatches.RemoveAllSwatches();
    SwatchPicker::LoadDefaultSwatches();
    ASSERT_EQ(1, SwatchPicker::gColorSwatches.CountSwatches());
    const CColorSwatch& mine = *SwatchPicker::gColorSwatches.FindSwatchByIndex(0);
    EXPECT_EQ(FWStr<31ul>(std::string(31, 'n').c_str()), mine.GetSwatchName());
    EXPECT_EQ((std::vector<int>{4, 5, 6}), (std::vector<int>{mine[0].r, mine[0].g, mine[0].b}));
    EXPECT_TRUE(ShownMessageTexts().empty());

    mApp->mFolder = mFolder.File("elsewhere");
    FileReference named;
    SwatchPicker::GetColorSwatchesFile(named);
    EXPECT_EQ(mFolder.File("elsewhere/Color Swatches"), named.PathName().GetCString());
}

TEST_F(SwatchCollectionTest, AnEmptyOrDamagedCollectionGivesTheDefaults)
{
    std::filesystem::create_directory(mFolder.File("Preferences"));
    ByteBuilder none = head(0x53574343, 0x010000C1);
    none.Long(0x73776363).Long(5).Byte(1).Long(0);
    const Bytes noneBytes = none.Data();
    TempFolder::WriteFile(CollectionPath(), std::string(noneBytes.begin(), noneBytes.end()));
    SwatchPicker::LoadDefaultSwatches();
    EXPECT_EQ(5, SwatchPicker::gColorSwatches.CountSwatches());
    EXPECT_EQ(4027u, TempFolder::ReadFile(CollectionPath()).size());
    EXPECT_TRUE(ShownMessageTexts().empty());

    // Two swatches announced, one whole: nothing of it is taken, and the file is kept aside.
    SwatchPicker::gColorSwatches.RemoveAllSwatches();
    ByteBuilder damaged = head(0x53574343, 0x010000C1);
    damaged.Long(0x73776363).Long(5 + 2 * 23).Byte(1).Long(2);
    swatchBlock(damaged, 0, {});
    damaged.Long(0x73776368).Long(15).Byte(1).Long(0x73747267).Long(2).Byte(1).Byte('y').Long(1);
    const Bytes damagedBytes = damaged.Data();
    const std::string damagedText(damagedBytes.begin(), damagedBytes.end());
    TempFolder::WriteFile(CollectionPath(), damagedText);
    SwatchPicker::LoadDefaultSwatches();
    ASSERT_EQ(5, SwatchPicker::gColorSwatches.CountSwatches());
    EXPECT_EQ(FWStr<31ul>("System"), SwatchPicker::gColorSwatches.FindSwatchByIndex(0)->GetSwatchName());
    EXPECT_EQ(damagedText, TempFolder::ReadFile(CollectionPath() + ".bad"));
    EXPECT_EQ(4027u, TempFolder::ReadFile(CollectionPath()).size());
    EXPECT_EQ(1u, ShownMessageTexts().size());
}
