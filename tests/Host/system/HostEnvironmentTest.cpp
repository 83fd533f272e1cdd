#include "HostEndian.h"
#include "HostFolders.h"
#include "HostGestalt.h"
#include "HostProcess.h"
#include "HostTestFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <sys/stat.h>

namespace {

// Sets an environment variable for the length of a scope.
class EnvironmentValue {
public:
    EnvironmentValue(const char* name, const std::string& value) : mName(name)
    {
        if (const char* old = std::getenv(name))
            mOld = old;
        setenv(name, value.c_str(), 1);
    }
    ~EnvironmentValue()
    {
        if (mOld)
            setenv(mName, mOld->c_str(), 1);
        else
            unsetenv(mName);
    }

private:
    const char* mName;
    std::optional<std::string> mOld;
};

bool isFolder(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string canonical(const std::string& path)
{
    FSRef ref;
    EXPECT_EQ(noErr, FSPathMakeRef(PathBytes(path), &ref, nullptr));
    return ref.path;
}

} // namespace

TEST(HostFolders, WellKnownFoldersComeFromTheEnvironmentAndAreMadeWhenAsked)
{
    ScratchFolder scratch;
    EnvironmentValue home("HOME", scratch / "home");
    EnvironmentValue config("XDG_CONFIG_HOME", scratch / "config");
    EnvironmentValue temp("TMPDIR", scratch.Path());
    FSRef ref;
    EXPECT_EQ(fnfErr, FSFindFolder(kOnSystemDisk, kPreferencesFolderType, kDontCreateFolder, &ref));
    ASSERT_EQ(noErr, FSFindFolder(kOnSystemDisk, kPreferencesFolderType, kCreateFolder, &ref));
    EXPECT_EQ(canonical(scratch / "config"), std::string(ref.path));
    ASSERT_EQ(noErr, FSFindFolder(kOnSystemDisk, kDesktopFolderType, kCreateFolder, &ref));
    EXPECT_TRUE(isFolder(scratch / "home/Desktop"));
    EXPECT_EQ(canonical(scratch / "home/Desktop"), std::string(ref.path));
    ASSERT_EQ(noErr, FSFindFolder(kHostVolumeRefNum, kTemporaryFolderType, kCreateFolder, &ref));
    EXPECT_EQ(canonical(scratch.Path()), std::string(ref.path));
    {
        EnvironmentValue noConfig("XDG_CONFIG_HOME", "relative/is/ignored");
        ASSERT_EQ(noErr, FSFindFolder(kOnSystemDisk, kPreferencesFolderType, kCreateFolder, &ref));
        EXPECT_EQ(canonical(scratch / "home/.config"), std::string(ref.path));
    }
    EXPECT_EQ(fnfErr, FSFindFolder(kOnSystemDisk, FOUR_CHAR_CODE("fram"), kCreateFolder, &ref));
    EXPECT_EQ(nsvErr, FSFindFolder(3, kTemporaryFolderType, kCreateFolder, &ref));
}

TEST(HostProcess, TheApplicationIsTheRunningExecutable)
{
    ProcessSerialNumber psn;
    ASSERT_EQ(noErr, GetCurrentProcess(&psn));
    FSSpec spec;
    ProcessInfoRec info{};
    info.processInfoLength = 60;
    info.processAppSpec = &spec;
    ASSERT_EQ(noErr, GetProcessInformation(&psn, &info));
    std::string executable = HostExecutablePath();
    ASSERT_FALSE(executable.empty());
    std::string fromSpec = std::string(spec.parentPath) + "/" +
                           std::string(reinterpret_cast<const char*>(spec.name + 1), spec.name[0]);
    EXPECT_EQ(canonical(executable), fromSpec);
    EXPECT_EQ(FOUR_CHAR_CODE("APPL"), info.processType);

    FSRef bundle;
    ASSERT_EQ(noErr, GetProcessBundleLocation(&psn, &bundle));
    EXPECT_EQ(fromSpec, std::string(bundle.path));
    ProcessSerialNumber current{0, kCurrentProcess};
    EXPECT_EQ(noErr, SetFrontProcess(&current));
    ProcessSerialNumber other{0, 1};
    EXPECT_EQ(procNotFound, GetProcessInformation(&other, &info));
}

TEST(HostGestalt, AnswersTheSystemFactsTheStartUpChecksAsk)
{
    SInt32 value = 0;
    ASSERT_EQ(noErr, Gestalt(FOUR_CHAR_CODE("sysv"), &value));
    EXPECT_GE(value, 0x1000);
    EXPECT_NE(0x1060, value & ~0xF);
    ASSERT_EQ(noErr, Gestalt(FOUR_CHAR_CODE("menu"), &value));
    EXPECT_EQ(0, value & 2); // Quit and Preferences stay ordinary items
    EXPECT_EQ(noErr, Gestalt(FOUR_CHAR_CODE("appr"), &value));
    EXPECT_EQ(gestaltUndefSelectorErr, Gestalt(FOUR_CHAR_CODE("none"), &value));

    HostSetGestaltAnswer(FOUR_CHAR_CODE("sysv"), 0x1039);
    ASSERT_EQ(noErr, Gestalt(FOUR_CHAR_CODE("sysv"), &value));
    EXPECT_EQ(0x1039, value);
    HostForgetGestaltAnswer(FOUR_CHAR_CODE("appr"));
    EXPECT_EQ(gestaltUndefSelectorErr, Gestalt(FOUR_CHAR_CODE("appr"), &value));
    HostResetGestaltAnswers();
    ASSERT_EQ(noErr, Gestalt(FOUR_CHAR_CODE("sysv"), &value));
    EXPECT_EQ(0x1058, value);
}

TEST(HostEndian, InstalledFlippersAreRecordedAndNeverChangeResources)
{
    CoreEndianFlipProc proc = nullptr;
    EXPECT_EQ(handlerNotFoundErr,
              CoreEndianGetFlipper(kCoreEndianResourceManagerDomain, FOUR_CHAR_CODE("none"), &proc, nullptr));
    auto noFlip = [](OSType, OSType, SInt16, void*, ByteCount, Boolean, void*) -> OSStatus { return noErr; };
    ASSERT_EQ(noErr, CoreEndianInstallFlipper(kCoreEndianResourceManagerDomain, FOUR_CHAR_CODE("PICT"), noFlip, nullptr));
    ASSERT_EQ(noErr, CoreEndianGetFlipper(kCoreEndianResourceManagerDomain, FOUR_CHAR_CODE("PICT"), &proc, nullptr));
    EXPECT_EQ(CoreEndianFlipProc(noFlip), proc);
}
