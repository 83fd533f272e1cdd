#include "FWFileType.h"
#include "FWSafeSave.h"
#include "FWStreamException.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

namespace {

using Listing = std::map<std::string, std::string>; // file name -> contents

Listing listing(const TempFolder& folder)
{
    Listing files;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        files[entry.path().filename().string()] =
            entry.is_regular_file() ? TempFolder::ReadFile(entry.path().string()) : "<folder>";
    return files;
}

void save(const FileReference& target, int32_t backups, const std::string& data)
{
    FWSafeSave saver(FWPlatform::kBigEndian, target, backups);
    saver.GetFileStream()->WriteData(data.data(), uint32_t(data.size()));
    saver.SaveSucceeded();
    EXPECT_EQ(nullptr, saver.GetFileStream());
}

std::string str(const FWString& s)
{
    return std::string(s.GetCString(), s.GetCurrLength());
}

} // namespace

TEST(FWSafeSave, NewFileIsWrittenDirectly)
{
    TempFolder folder;
    FileReference target(folder.File("Swatches").c_str());
    save(target, 2, "new");
    EXPECT_EQ((Listing{{"Swatches", "new"}}), listing(folder));
}

TEST(FWSafeSave, AbandonedSaveLeavesEverythingAsItWas)
{
    TempFolder folder;
    FileReference target(folder.File("Swatches").c_str());
    {
        FWSafeSave saver(FWPlatform::kBigEndian, target, 1);
        saver.GetFileStream()->WriteLong(1);
        EXPECT_TRUE(target.Exists()); // being written under its own name
    }
    EXPECT_EQ(Listing{}, listing(folder));

    TempFolder::WriteFile(folder.File("Swatches"), "old");
    TempFolder::WriteFile(folder.File("Swatches.bak"), "older");
    {
        FWSafeSave saver(FWPlatform::kBigEndian, target, 1);
        saver.GetFileStream()->WriteLong(1);
        EXPECT_EQ(3u, listing(folder).size()); // a temporary file beside the target
    }
    EXPECT_EQ((Listing{{"Swatches", "old"}, {"Swatches.bak", "older"}}), listing(folder));
}

TEST(FWSafeSave, BackupsMoveUpAndSurplusOnesGo)
{
    struct Case {
        int32_t backups;
        Listing before;
        Listing after;
    };
    const Case cases[] = {
        {2,
         {{"Swatches", "v2"}, {"Swatches.bak", "v1"}},
         {{"Swatches", "new"}, {"Swatches.bak", "v2"}, {"Swatches.bak 2", "v1"}}},
        {2,
         {{"Swatches", "v4"}, {"Swatches.bak", "v3"}, {"Swatches.bak 2", "v2"}, {"Swatches.bak 3", "v1"}},
         {{"Swatches", "new"}, {"Swatches.bak", "v4"}, {"Swatches.bak 2", "v3"}}},
        {1, {{"Swatches", "v1"}}, {{"Swatches", "new"}, {"Swatches.bak", "v1"}}},
        {0, {{"Swatches", "v2"}, {"Swatches.bak", "v1"}}, {{"Swatches", "new"}}},
        // A gap stops the clean-up of surplus backups.
        {1,
         {{"Swatches", "v3"}, {"Swatches.bak 2", "v2"}, {"Swatches.bak 4", "v1"}},
         {{"Swatches", "new"}, {"Swatches.bak", "v3"}, {"Swatches.bak 4", "v1"}}},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        for (const auto& [name, data] : c.before)
            TempFolder::WriteFile(folder.File(name), data);
        save(FileReference(folder.File("Swatches").c_str()), c.backups, "new");
        EXPECT_EQ(c.after, listing(folder)) << "backups " << c.backups << ", files " << c.before.size();
    }
}

TEST(FWSafeSave, FailedFinalRenameRestoresTheOldFiles)
{
    for (int32_t backups : {0, 1, 2}) {
        TempFolder folder;
        const Listing before = {{"Swatches", "old"}, {"Swatches.bak", "older"}};
        for (const auto& [name, data] : before)
            TempFolder::WriteFile(folder.File(name), data);
        FileReference target(folder.File("Swatches").c_str());
        {
            FWSafeSave saver(FWPlatform::kBigEndian, target, backups);
            saver.GetFileStream()->WriteLong(1);
            // Take the written file away, so the rename into place fails after the rotation.
            for (const auto& [name, data] : listing(folder))
                if (before.count(name) == 0)
                    std::filesystem::remove(folder.Path() / name);
            EXPECT_THROW(saver.SaveSucceeded(), FWWriteFailedException);
        }
        EXPECT_EQ(before, listing(folder)) << "backups " << backups;
    }
}

TEST(FWSafeSave, TargetThatCannotBeReplacedIsAFailure)
{
    TempFolder folder;
    std::filesystem::create_directories(folder.Path() / "Swatches" / "inside");
    FileReference target(folder.File("Swatches").c_str());
    {
        FWSafeSave saver(FWPlatform::kBigEndian, target, 0);
        saver.GetFileStream()->WriteLong(1);
        EXPECT_THROW(saver.SaveSucceeded(), FWWriteFailedException);
    }
    EXPECT_EQ((Listing{{"Swatches", "<folder>"}}), listing(folder));
}

TEST(FWSafeSave, BackupNamesAreCutToThirtyOneCharacters)
{
    const struct {
        const char* name;
        int32_t i;
        const char* expected;
    } cases[] = {
        {"Swatches", 0, "Swatches"},
        {"Swatches", -1, "Swatches"},
        {"Swatches", 1, "Swatches.bak"},
        {"Swatches", 2, "Swatches.bak 2"},
        {"Swatches", 13, "Swatches.bak 13"},
        {"abcdefghijklmnopqrstuvwxyz0123", 1, "abcdefghijklmnopqrstuvwxyz0.bak"},
        {"abcdefghijklmnopqrstuvwxyz0123", 2, "abcdefghijklmnopqrstuvwxy.bak 2"},
    };
    TempFolder folder;
    for (const auto& c : cases) {
        FileReference target((folder.File(c.name)).c_str());
        FWSafeSave saver(FWPlatform::kBigEndian, target, 1);
        FileReference out;
        saver.GetIthFileName(out, c.i);
        FWStr<255> name;
        out.GetFileName(name);
        EXPECT_EQ(c.expected, str(name)) << c.name << " " << c.i;
        EXPECT_EQ(folder.File(c.expected), str(out));
    }
}

TEST(FWSafeSave, TemporaryNamesAreFreshNumbersInTheTargetsFolder)
{
    TempFolder folder;
    FileReference target(folder.File("t").c_str());
    FileReference out;
    FWSafeSave::MakeSafeFile(target, out);
    EXPECT_TRUE(out == target);

    TempFolder::WriteFile(folder.File("t"), "");
    FWSafeSave::MakeSafeFile(target, out);
    FWStr<255> first;
    out.GetFileName(first);
    EXPECT_EQ(folder.Path().string(), std::filesystem::path(out.GetCString()).parent_path().string());
    EXPECT_NE(0u, first.GetCurrLength());
    for (uint32_t i = 0; i < first.GetCurrLength(); ++i)
        EXPECT_TRUE(first[i] >= '0' && first[i] <= '9');

    // The next name is taken when the one after it already exists.
    uint32_t next = uint32_t(std::stoul(first.GetCString())) + 1;
    TempFolder::WriteFile(folder.File(std::to_string(next)), "");
    FWSafeSave::MakeSafeFile(target, out);
    EXPECT_EQ(folder.File(std::to_string(next + 1)), str(out));
}

TEST(FWFileType, HoldsTypeAndDescription)
{
    FWFileType type(0x38424354, FWStr<31>("Photoshop CLUT Files"));
    FWFileType copy = type;
    EXPECT_EQ(0x38424354u, copy.FileType());
    EXPECT_EQ(std::string("Photoshop CLUT Files"), copy.Description().GetCString());
}
