#include "AlertRecorder.h"
#include "Env_InitCleanUpRA.h"
#include "Env_Package.h"
#include "Env_PackagePAC.h"
#include "FD_Package.h"
#include "FS_FileTypeRegistry.h"
#include "FS_LocatorRegistry.h"
#include "FS_Package.h"
#include "FS_ResourceFileRA.h"
#include "HostBundles.h"
#include "HostEnvironment.h"
#include "HostGestalt.h"
#include "HostPorts.h"
#include "HostProcess.h"
#include "HostResources.h"
#include "ProgrammerMessageRecorder.h"
#include "ResourceFileMaker.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>

using namespace Corvel;

namespace {

const ResType kGstV = FOUR_CHAR_CODE("GstV");
const ResType kGstA = FOUR_CHAR_CODE("GstA");
const ResType kNBOX = FOUR_CHAR_CODE("NBOX");
const OSType kSysv = FOUR_CHAR_CODE("sysv");

void put16(std::string& out, uint16_t v)
{
    out += char(v >> 8);
    out += char(v);
}

void put32(std::string& out, uint32_t v)
{
    put16(out, uint16_t(v >> 16));
    put16(out, uint16_t(v));
}

struct Record {
    OSType selector;
    uint32_t first;  // minimum, or bits that must be set
    uint32_t second; // maximum, or bits that must be clear
    uint16_t alertID;
};

std::string versionRecords(std::initializer_list<Record> records)
{
    std::string out;
    put16(out, uint16_t(records.size()));
    for (const Record& r : records) {
        put32(out, r.selector);
        put32(out, r.first);
        put32(out, r.second);
        put16(out, r.alertID);
    }
    return out;
}

std::string attributeRecords(std::initializer_list<Record> records)
{
    std::string out;
    put16(out, uint16_t(records.size()));
    for (const Record& r : records) {
        put32(out, r.selector);
        put32(out, r.first);
        put32(out, r.second);
        put16(out, r.alertID);
        put16(out, 0);
    }
    return out;
}

int sFunctionLookUps = 0;
const char* sProcessListing = "";

FILE* fakePopen(const char* command, const char* mode)
{
    EXPECT_STREQ("ps -acxww", command);
    EXPECT_STREQ("r", mode);
    return fmemopen(const_cast<char*>(sProcessListing), std::strlen(sProcessListing), "r");
}

int fakePclose(FILE* stream)
{
    return std::fclose(stream);
}

void* fakeFinder(const char* framework, const char* name)
{
    ++sFunctionLookUps;
    EXPECT_STREQ("System.framework", framework);
    if (std::strcmp(name, "popen") == 0)
        return reinterpret_cast<void*>(&fakePopen);
    if (std::strcmp(name, "pclose") == 0)
        return reinterpret_cast<void*>(&fakePclose);
    if (std::strcmp(name, "fgetc") == 0)
        return reinterpret_cast<void*>(&std::fgetc);
    return nullptr;
}

// Each test starts the library from scratch with its own requirement resources, its own user
// folders and the system's answers reset; the library is down again at its end.
class PackageStartup : public ::testing::Test {
protected:
    void SetUp() override
    {
        mSaved = {{"HOME", save("HOME")}, {"XDG_CONFIG_HOME", save("XDG_CONFIG_HOME")}, {"TMPDIR", save("TMPDIR")}};
        setenv("HOME", mUserFolder.Path().string().c_str(), 1);
        setenv("XDG_CONFIG_HOME", mUserFolder.File("config").c_str(), 1);
        setenv("TMPDIR", mUserFolder.Path().string().c_str(), 1);
        HostResetGestaltAnswers();
        sFunctionLookUps = 0;
        sProcessListing = "";
        mPreviousFinder = HostSetSystemFunctionFinder(fakeFinder);
    }

    void TearDown() override
    {
        while (FD_Package::InitCount() > 0)
            FD_Package::CleanUp();
        HostSetSystemFunctionFinder(mPreviousFinder);
        HostResetGestaltAnswers();
        HostCloseAllResourceFiles();
        for (const auto& [name, value] : mSaved) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
    }

    static std::optional<std::string> save(const char* name)
    {
        const char* value = std::getenv(name);
        return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
    }

    // Starts the library with a resource file holding the resources as the current file.
    void startWith(const std::vector<TestResource>& resources)
    {
        const std::string path = mResourceFolder.File("requirements" + std::to_string(++mFiles) + ".rsrc");
        ASSERT_TRUE(MakeResourceFile(path, resources));
        FS_ResourceFileRA file(LocatorOfPath(path), false);
        ASSERT_NE(0, file.OpenedResourceFile());
        FD_Package::Init();
    }

    // The alert id with which start-up stopped, or 0 when it went through.
    SInt16 stoppingAlertOf(const std::vector<TestResource>& resources)
    {
        AlertRecorder alerts(true);
        try {
            startWith(resources);
        } catch (const AlertRecorder::AlertShown& shown) {
            return shown.id;
        }
        return 0;
    }

    static FS_Locator lookUp(int key)
    {
        FS_Locator out;
        FS_LocatorRegistry::LookUpLocator(key, out);
        return out;
    }

    static std::string pathOf(const FS_Locator& locator)
    {
        FWDynamicString path;
        FS_UtilPAC::LocatorToPathName(locator, path, false);
        return path.GetCString();
    }

    TempFolder mUserFolder;
    TempFolder mResourceFolder;
    std::vector<std::pair<std::string, std::optional<std::string>>> mSaved;
    HostSystemFunctionFinder mPreviousFinder = nullptr;
    int mFiles = 0;
};

} // namespace

TEST_F(PackageStartup, OneGuardBringsTheLibraryUpAndDown)
{
    {
        Env_InitCleanUpRA<FD_Package> library;
        EXPECT_EQ(1u, FS_Package::InitCount());
        EXPECT_EQ(1u, Env_Package::InitCount());
        EXPECT_NE(0, Env_PackagePAC::SystemVersion());
        EXPECT_NE(0u, Env_PackagePAC::HiddenPort());
        EXPECT_NE(0u, lookUp(-2).NumNames());
        FS_FileTypeRegistry::RegisterFileType(FOUR_CHAR_CODE("RSRC"), FWStr<31>("rsrc"), 0);
        EXPECT_TRUE(FS_FileTypeRegistry::IsTypeRegistered(FOUR_CHAR_CODE("RSRC")));
    }
    EXPECT_EQ(0u, FD_Package::InitCount());
    EXPECT_EQ(0u, FS_Package::InitCount());
    EXPECT_EQ(0u, Env_Package::InitCount());
    EXPECT_EQ(0u, Env_PackagePAC::HiddenPort());
    EXPECT_EQ(0u, lookUp(-2).NumNames());
    EXPECT_FALSE(FS_FileTypeRegistry::IsTypeRegistered(FOUR_CHAR_CODE("RSRC")));
}

TEST_F(PackageStartup, NestedUsersShareOneStartUp)
{
    FD_Package::Init();
    const HostPortToken port = Env_PackagePAC::HiddenPort();
    FD_Package::Init();
    EXPECT_EQ(port, Env_PackagePAC::HiddenPort());
    EXPECT_EQ(1u, FS_Package::InitCount());

    FD_Package::CleanUp();
    EXPECT_EQ(port, Env_PackagePAC::HiddenPort());
    EXPECT_NE(0u, lookUp(-2).NumNames());

    FD_Package::CleanUp();
    EXPECT_EQ(0u, Env_PackagePAC::HiddenPort());
    EXPECT_EQ(0u, lookUp(-2).NumNames());

    FD_Package::CleanUp(); // one too many: counts nothing, and the next start-up still works
    FD_Package::Init();
    EXPECT_NE(0u, Env_PackagePAC::HiddenPort());
}

TEST_F(PackageStartup, WellKnownFoldersAreRegistered)
{
    FD_Package::Init();
    const std::filesystem::path executable = HostExecutablePath();
    const std::string folder = executable.parent_path().string();
    EXPECT_EQ(executable.string(), pathOf(lookUp(-1)));
    EXPECT_EQ(folder, pathOf(lookUp(-2)));
    EXPECT_EQ(0u, lookUp(-2).FileType());
    EXPECT_EQ(folder + "/Preferences", pathOf(lookUp(-5)));
    EXPECT_TRUE(std::filesystem::is_directory(folder + "/Preferences"));
    EXPECT_EQ(folder, pathOf(lookUp(-6)));
    EXPECT_EQ(mUserFolder.File("config"), pathOf(lookUp(-3)));
    EXPECT_EQ(mUserFolder.Path().string(), pathOf(lookUp(-4)));
    EXPECT_EQ(mUserFolder.File("Desktop"), pathOf(lookUp(-7)));
    EXPECT_EQ("Volumes", std::string(lookUp(-3)[0].GetCString()));
    EXPECT_EQ(0u, lookUp(-8).NumNames());
}

TEST_F(PackageStartup, HiddenPortIs400By100AndOfTheAppearanceKind)
{
    FD_Package::Init();
    HostHiddenPortInfo info{};
    ASSERT_TRUE(HostGetHiddenPortInfo(Env_PackagePAC::HiddenPort(), info));
    EXPECT_EQ(0, info.bounds.top);
    EXPECT_EQ(0, info.bounds.left);
    EXPECT_EQ(100, info.bounds.bottom);
    EXPECT_EQ(400, info.bounds.right);
    EXPECT_EQ(1045, info.procID);
    const HostPortToken port = Env_PackagePAC::HiddenPort();

    // It is the current port, and drawing before any window lands on its pixels.
    CGrafPtr current = nullptr;
    GDHandle device = nullptr;
    GetGWorld(&current, &device);
    ASSERT_EQ(port, reinterpret_cast<HostPortToken>(current));
    EXPECT_EQ(0, GetPortTextFont(current));
    EXPECT_EQ(0, GetPortTextSize(current));
    EXPECT_EQ(0, GetPortTextFace(current));
    EXPECT_EQ(0, GetPortTextMode(current));
    const Rect box{10, 20, 30, 60};
    PaintRect(&box);
    PixMapHandle pixels = GetPortPixMap(current);
    const auto* row = reinterpret_cast<const uint32_t*>(GetPixBaseAddr(pixels) + 15 * GetPixRowBytes(pixels));
    EXPECT_EQ(0xFF000000u, row[40]);
    EXPECT_EQ(0xFFFFFFFFu, row[70]);
    FD_Package::CleanUp();
    EXPECT_FALSE(HostGetHiddenPortInfo(port, info));

    HostForgetGestaltAnswer(FOUR_CHAR_CODE("appr"));
    FD_Package::Init();
    ASSERT_TRUE(HostGetHiddenPortInfo(Env_PackagePAC::HiddenPort(), info));
    EXPECT_EQ(5, info.procID);
}

TEST_F(PackageStartup, SystemsBeforeVersion10HaveNoPortAndNoClassicCheck)
{
    HostSetGestaltAnswer(kSysv, 0x0922);
    startWith({{kNBOX, 128, "", ""}});
    EXPECT_EQ(0x0922, Env_PackagePAC::SystemVersion());
    EXPECT_EQ(0u, Env_PackagePAC::HiddenPort());
    EXPECT_EQ(0, sFunctionLookUps);
}

TEST_F(PackageStartup, VersionRecordsCheckTheirBounds)
{
    HostSetGestaltAnswer(kSysv, 0x1039);
    EXPECT_EQ(300, stoppingAlertOf({{kGstV, 128, "", versionRecords({{kSysv, 0x1040, 0, 300}})}}));
    FD_Package::CleanUp();
    EXPECT_EQ(301, stoppingAlertOf({{kGstV, 128, "", versionRecords({{kSysv, 0, 0x1038, 301}})}}));
    FD_Package::CleanUp();
    EXPECT_EQ(0, stoppingAlertOf({{kGstV, 128, "", versionRecords({{kSysv, 0x1039, 0x1039, 302},
                                                                   {kSysv, 0, 0, 303},
                                                                   {kSysv, 0x1000, 0xFFFFFFFF, 304}})}}));
}

TEST_F(PackageStartup, ASelectorTheSystemCannotAnswerStopsWithAlert200)
{
    EXPECT_EQ(200, stoppingAlertOf({{kGstV, 128, "", versionRecords({{FOUR_CHAR_CODE("none"), 0, 0, 305}})}}));
    FD_Package::CleanUp();
    HostForgetGestaltAnswer(kSysv);
    EXPECT_EQ(200, stoppingAlertOf({}));
}

TEST_F(PackageStartup, AttributeRecordsCheckTheirMasks)
{
    HostSetGestaltAnswer(FOUR_CHAR_CODE("attr"), 0x0000000A);
    EXPECT_EQ(0, stoppingAlertOf({{kGstA, 128, "", attributeRecords({{FOUR_CHAR_CODE("attr"), 0, 0, 310},
                                                                      {FOUR_CHAR_CODE("attr"), 0x8, 0x1, 311}})}}));
    FD_Package::CleanUp();
    EXPECT_EQ(312, stoppingAlertOf({{kGstA, 128, "", attributeRecords({{FOUR_CHAR_CODE("attr"), 0x4, 0, 312}})}}));
    FD_Package::CleanUp();
    EXPECT_EQ(313, stoppingAlertOf({{kGstA, 128, "", attributeRecords({{FOUR_CHAR_CODE("attr"), 0, 0x2, 313}})}}));
}

TEST_F(PackageStartup, EveryRequirementResourceIsChecked)
{
    HostSetGestaltAnswer(kSysv, 0x1039);
    EXPECT_EQ(321, stoppingAlertOf({{kGstV, 128, "", versionRecords({{kSysv, 0x1000, 0, 320}})},
                                    {kGstV, 129, "", versionRecords({{kSysv, 0x1040, 0, 321}})}}));
}

TEST_F(PackageStartup, ShortRequirementResourcesAreNamedInOneNoticeAndReadNoFurther)
{
    ProgrammerMessageRecorder messages;
    HostSetGestaltAnswer(kSysv, 0x1039);
    std::string claimsThree = versionRecords({{kSysv, 0, 0, 330}});
    claimsThree[1] = 3;
    std::string cutRecord = versionRecords({{kSysv, 0x1040, 0, 331}}).substr(0, 10);
    std::string attributesShort = attributeRecords({{kSysv, 0, 0, 332}});
    attributesShort.pop_back(); // the reserved field is part of the record
    EXPECT_EQ(0, stoppingAlertOf({{kGstV, 128, "", claimsThree},
                                  {kGstV, 129, "", cutRecord},
                                  {kGstV, 130, "", "\x01"},
                                  {kGstV, 131, "", ""},
                                  {kGstA, 128, "", attributesShort}}));
    ASSERT_EQ(1u, messages.Messages().size());
    EXPECT_EQ("Damaged requirement resource", messages.Messages()[0].message);
    EXPECT_FALSE(messages.Messages()[0].offersAbort);
}

TEST_F(PackageStartup, ClassicCheckRunsOnlyWithAnNBOXResource)
{
    sProcessListing = "  PID TTY   TIME CMD\n  1 ?  0:01 TruBlueEnvironment\n";
    EXPECT_EQ(0, stoppingAlertOf({}));
    EXPECT_EQ(0, sFunctionLookUps);
    FD_Package::CleanUp();

    EXPECT_EQ(201, stoppingAlertOf({{kNBOX, 128, "", "anything"}}));
    EXPECT_EQ(3, sFunctionLookUps);
    FD_Package::CleanUp();

    sProcessListing = "  PID TTY   TIME CMD\n  1 ?  0:01 init\n";
    EXPECT_EQ(0, stoppingAlertOf({{kNBOX, 128, "", ""}}));
    EXPECT_EQ(3, sFunctionLookUps); // found once
    EXPECT_NE(0u, Env_PackagePAC::HiddenPort());
}

TEST_F(PackageStartup, TheEnvironmentStartsBeforeTheRegistriesAndAFailureUndoesNothingStarted)
{
    HostSetGestaltAnswer(kSysv, 0x1039);
    ProgrammerMessageRecorder messages;
    EXPECT_EQ(340, stoppingAlertOf({{kGstV, 128, "", versionRecords({{kSysv, 0x1040, 0, 340}})}}));
    // The check failed inside the environment's start-up: no registry or port exists yet.
    FS_LocatorRegistry::RegisterLocator(-9, LocatorOfPath("/tmp"));
    EXPECT_EQ(1u, messages.Messages().size());
    EXPECT_EQ(0u, Env_PackagePAC::HiddenPort());
    // The counters stay raised; cleaning up once brings everything back to the start.
    EXPECT_EQ(1u, FD_Package::InitCount());
    FD_Package::CleanUp();
    EXPECT_EQ(0u, FS_Package::InitCount());
    EXPECT_EQ(0u, Env_Package::InitCount());
    HostResetGestaltAnswers();
    FD_Package::Init();
    EXPECT_NE(0u, lookUp(-2).NumNames());
}

TEST_F(PackageStartup, AFailedRequirementEndsTheProgramAfterItsAlert)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    HostSetGestaltAnswer(kSysv, 0x1039);
    const std::string path = mResourceFolder.File("requirements.rsrc");
    ASSERT_TRUE(MakeResourceFile(path, {{kGstV, 128, "", versionRecords({{kSysv, 0x1040, 0, 350}})}}));
    EXPECT_EXIT(
        {
            FS_ResourceFileRA file(LocatorOfPath(path), false);
            FD_Package::Init();
        },
        ::testing::ExitedWithCode(0), "Stop alert 350");
}
