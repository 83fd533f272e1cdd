#include "FS_ErrorCodeUtil.h"
#include "FS_Exception.h"
#include "FS_FileTypeRegistry.h"
#include "FS_FileUtil.h"
#include "FS_UtilPAC.h"
#include "HostFiles.h"
#include "HostPathNames.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using namespace Corvel;

namespace {

using Names = std::vector<std::string>;

FS_Locator locatorOf(std::initializer_list<const char*> names)
{
    FS_Locator locator;
    for (const char* name : names)
        locator.AppendName(name);
    return locator;
}

Names namesOf(const FS_Locator& locator)
{
    Names names;
    for (uint32_t i = 0; i < locator.NumNames(); ++i)
        names.push_back(locator[i].GetCString());
    return names;
}

// The names of a POSIX path, with the host's volume in front as references give them.
Names volumeNamesOf(const std::string& path)
{
    Names names{"Volumes", kHostVolumeName};
    for (const auto& piece : std::filesystem::path(path).relative_path())
        names.push_back(piece.string());
    return names;
}

Names plainNamesOf(const std::string& path)
{
    Names names;
    for (const auto& piece : std::filesystem::path(path).relative_path())
        names.push_back(piece.string());
    return names;
}

std::string pathOf(const FS_Locator& locator, bool trailingSlash = false)
{
    FWDynamicString path;
    FS_UtilPAC::LocatorToPathName(locator, path, trailingSlash);
    return path.GetCString();
}

FS_Locator locatorOfPath(const std::string& path)
{
    FS_Locator locator;
    FS_UtilPAC::DotPathNameToLocator(FWDynamicString(path.c_str()), locator);
    return locator;
}

FSRef refOf(const std::string& path)
{
    FSRef ref{};
    EXPECT_EQ(noErr, FSPathMakeRef(reinterpret_cast<const UInt8*>(path.c_str()), &ref, nullptr)) << path;
    return ref;
}

class FS_Files : public ::testing::Test {
protected:
    void SetUp() override
    {
        FS_FileTypeRegistry::Init();
        FS_FileTypeRegistry::RegisterFileType(FOUR_CHAR_CODE("RSRC"), FWStr<31>("rsrc"), 0);
        FS_FileTypeRegistry::RegisterFileType(FOUR_CHAR_CODE("RSRC"), FWStr<31>("rsc"), 0);
    }
    void TearDown() override { FS_FileTypeRegistry::CleanUp(); }

    TempFolder mFolder;
};

} // namespace

TEST(FS_Paths, LocatorsBecomePathsWithNamesAsTheyStand)
{
    EXPECT_EQ("", pathOf(FS_Locator()));
    EXPECT_EQ("/", pathOf(FS_Locator(), true));
    EXPECT_EQ("/Volumes/Disk/", pathOf(locatorOf({"Volumes", "Disk"}), true));
    EXPECT_EQ("/Volumes/Disk/a:b/c", pathOf(locatorOf({"Volumes", "Disk", "a:b", "c"})));
    EXPECT_EQ("/a/../b", pathOf(locatorOf({"a", "", "b"})));
    EXPECT_EQ("../x", pathOf(locatorOf({"", "x"})));
}

TEST(FS_Paths, TheHostVolumeIsWrittenAsThePlainPosixPath)
{
    EXPECT_EQ("/home/x", pathOf(locatorOf({"Volumes", kHostVolumeName, "home", "x"})));
    EXPECT_EQ("/home/x/", pathOf(locatorOf({"Volumes", kHostVolumeName, "home", "x"}), true));
    EXPECT_EQ("/", pathOf(locatorOf({"Volumes", kHostVolumeName})));
    EXPECT_EQ("/", pathOf(locatorOf({"Volumes", kHostVolumeName}), true));
}

TEST(FS_Paths, AbsolutePathsGiveTheirNames)
{
    EXPECT_EQ((Names{"Volumes", "Disk", "x"}), namesOf(locatorOfPath("/Volumes/Disk/x")));
    EXPECT_EQ((Names{"usr", "lib"}), namesOf(locatorOfPath("/usr//lib/")));
    EXPECT_EQ((Names{"a", "", "b"}), namesOf(locatorOfPath("/a/./../b")));
    EXPECT_EQ(Names{}, namesOf(locatorOfPath("/")));
    EXPECT_EQ(0u, locatorOfPath("/x.rsrc").FileType());
}

TEST(FS_Paths, RelativePathsAreTakenFromTheCurrentFolder)
{
    char cwd[4096];
    ASSERT_NE(nullptr, getcwd(cwd, sizeof cwd));
    Names here = plainNamesOf(cwd);

    Names expected = here;
    expected.push_back("x");
    EXPECT_EQ(expected, namesOf(locatorOfPath("x")));
    EXPECT_EQ(expected, namesOf(locatorOfPath("./x")));

    expected = here;
    expected.insert(expected.end(), {"a", "b"});
    EXPECT_EQ(expected, namesOf(locatorOfPath("a/b/")));

    expected = here;
    expected.insert(expected.end(), {"", "x"});
    EXPECT_EQ(expected, namesOf(locatorOfPath("../x")));
    EXPECT_EQ(std::filesystem::weakly_canonical(std::string(cwd) + "/../x").string(),
              std::filesystem::weakly_canonical(pathOf(locatorOfPath("../x"))).string());
}

TEST(FS_Paths, PathsSurviveTheRoundTrip)
{
    for (const char* path : {"/tmp/a b/c.rsrc", "/x:y/z", "/caf\xC3\xA9"})
        EXPECT_EQ(path, pathOf(locatorOfPath(path)));
}

TEST_F(FS_Files, ReferencesGiveTheVolumeAndEveryFolder)
{
    std::string file = mFolder.Create("Layouts.rsrc");
    FS_Locator locator;
    ASSERT_EQ(0, FS_UtilPAC::FSRefToLocator(refOf(file), locator));
    EXPECT_EQ(volumeNamesOf(file), namesOf(locator));
    EXPECT_EQ(FOUR_CHAR_CODE("RSRC"), locator.FileType());
    EXPECT_EQ(file, pathOf(locator));

    ASSERT_EQ(0, FS_UtilPAC::FSRefToLocator(refOf("/"), locator));
    EXPECT_EQ((Names{"Volumes", kHostVolumeName}), namesOf(locator));
}

TEST_F(FS_Files, TypesComeFromRegisteredExtensionsOfFilesOnly)
{
    FS_Locator locator;
    ASSERT_EQ(0, FS_UtilPAC::FSRefToLocator(refOf(mFolder.Create("notes.txt")), locator));
    EXPECT_EQ(0u, locator.FileType());

    std::filesystem::create_directory(mFolder.File("folder.rsrc"));
    ASSERT_EQ(0, FS_UtilPAC::FSRefToLocator(refOf(mFolder.File("folder.rsrc")), locator));
    EXPECT_EQ(0u, locator.FileType());

    uint32_t byExtension = 99;
    EXPECT_EQ(FOUR_CHAR_CODE("RSRC"), FS_UtilPAC::DeduceFileType(locatorOfPath(mFolder.Create("a.RSC")), &byExtension));
    EXPECT_EQ(FOUR_CHAR_CODE("RSRC"), byExtension);
    EXPECT_EQ(0u, FS_UtilPAC::DeduceFileType(locatorOfPath(mFolder.Create("a.txt")), &byExtension));
    EXPECT_EQ(0u, byExtension);
    byExtension = 99;
    EXPECT_EQ(0u, FS_UtilPAC::DeduceFileType(locatorOfPath(mFolder.File("missing.rsrc")), &byExtension));
    EXPECT_EQ(99u, byExtension);
}

TEST_F(FS_Files, SpecificationsOfNewFilesKeepTheirFolder)
{
    std::filesystem::create_directory(mFolder.File("sub"));
    FSSpec spec{};
    spec.vRefNum = kHostVolumeRefNum;
    ASSERT_TRUE(HostStorePath(mFolder.File("sub"), spec.parentPath));
    const char name[] = "untitled.rsrc";
    spec.name[0] = sizeof name - 1;
    std::memcpy(spec.name + 1, name, sizeof name - 1);

    FS_Locator locator;
    ASSERT_EQ(0, FS_UtilPAC::FSSpecToLocator(spec, locator));
    EXPECT_EQ(volumeNamesOf(mFolder.File("sub/untitled.rsrc")), namesOf(locator));

    std::memcpy(spec.parentPath, "/no/such/folder", sizeof "/no/such/folder");
    EXPECT_NE(0, FS_UtilPAC::FSSpecToLocator(spec, locator));
}

TEST_F(FS_Files, SpecificationsOfExistingFilesRoundTrip)
{
    FS_Locator original = locatorOfPath(mFolder.Create("x.rsrc"));
    FSSpec spec{};
    ASSERT_EQ(0, FS_UtilPAC::LocatorToFSSpec(original, spec));
    FS_Locator back;
    ASSERT_EQ(0, FS_UtilPAC::FSSpecToLocator(spec, back));
    EXPECT_EQ(pathOf(original), pathOf(back));

    EXPECT_EQ(kFS_FileNotFound, FS_UtilPAC::LocatorToFSSpec(locatorOfPath(mFolder.File("missing")), spec));
    FSRef ref;
    EXPECT_EQ(paramErr, FS_UtilPAC::LocatorToFSRef(FS_Locator(), ref));
}

TEST_F(FS_Files, FilesAndFoldersAreToldApart)
{
    FS_Locator file = locatorOfPath(mFolder.Create("plain"));
    FS_Locator program = locatorOfPath(mFolder.Create("program"));
    ASSERT_EQ(0, chmod(mFolder.File("program").c_str(), 0755));
    FS_Locator folder = locatorOfPath(mFolder.Path().string());
    FS_Locator missing = locatorOfPath(mFolder.File("missing"));

    EXPECT_TRUE(FS_FileUtil::Exists(file));
    EXPECT_TRUE(FS_FileUtil::Exists(program));
    EXPECT_FALSE(FS_FileUtil::Exists(folder));
    EXPECT_FALSE(FS_FileUtil::Exists(missing));
    EXPECT_FALSE(FS_FileUtil::Exists(FS_Locator()));

    EXPECT_TRUE(FS_UtilPAC::DirectoryExists(folder));
    EXPECT_FALSE(FS_UtilPAC::DirectoryExists(file));
    EXPECT_FALSE(FS_UtilPAC::DirectoryExists(program));
    EXPECT_FALSE(FS_UtilPAC::DirectoryExists(missing));
}

TEST_F(FS_Files, MakeFileCreatesOnceAndThrowsItsFailures)
{
    FS_Locator locator = locatorOfPath(mFolder.File("new.rsrc"));
    ASSERT_NO_THROW(FS_FileUtil::MakeFile(locator));
    EXPECT_TRUE(FS_FileUtil::Exists(locator));
    EXPECT_EQ(0, std::filesystem::file_size(mFolder.File("new.rsrc")));

    EXPECT_EQ(kFS_DuplicateFile, FS_UtilPAC::MakeFile(locator));
    EXPECT_THROW(FS_FileUtil::MakeFile(locator), FS_DuplicateFileX);
    EXPECT_THROW(FS_FileUtil::MakeFile(locatorOfPath(mFolder.File("missing/new.rsrc"))), FS_FileNotFoundX);
    EXPECT_EQ(kFS_IOError, FS_UtilPAC::MakeFile(FS_Locator()));
}

TEST_F(FS_Files, NamesThatAreNotUtf8AreTakenAsMacRoman)
{
    FS_Locator locator = locatorOfPath(mFolder.Path().string());
    locator.AppendName("caf\x8E");
    ASSERT_EQ(0, FS_UtilPAC::MakeFile(locator));
    EXPECT_TRUE(std::filesystem::exists(mFolder.File("caf\xC3\xA9")));

    locator.RemoveLastName();
    locator.AppendName("na\xC3\xAFve");
    ASSERT_EQ(0, FS_UtilPAC::MakeFile(locator));
    EXPECT_TRUE(std::filesystem::exists(mFolder.File("na\xC3\xAFve")));
}

TEST_F(FS_Files, CreateDirectoryMakesAFolder)
{
    FS_Locator locator = locatorOfPath(mFolder.File("Preferences"));
    EXPECT_EQ(0, FS_UtilPAC::CreateDirectory(locator));
    EXPECT_TRUE(FS_UtilPAC::DirectoryExists(locator));
    EXPECT_EQ(kFS_DuplicateFile, FS_UtilPAC::CreateDirectory(locator));
}
