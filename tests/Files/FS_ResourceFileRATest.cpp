#include "FS_ResourceFileRA.h"
#include "FS_ResourceUtil.h"
#include "HostResources.h"
#include "ResourceFileMaker.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace Corvel;

namespace {

const ResType kTest = FOUR_CHAR_CODE("TEST");

class FS_ResourceFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        mFirst = mFolder.File("first.rsrc");
        mSecond = mFolder.File("second.rsrc");
        ASSERT_TRUE(MakeResourceFile(mFirst, {{kTest, 128, "One", "first"}, {kTest, -1, "Minus one", "m"},
                                              {FOUR_CHAR_CODE("WINT"), 130, "", "w"}}));
        ASSERT_TRUE(MakeResourceFile(mSecond, {{kTest, 128, "Other", "second"}, {kTest, 129, "", "only here"}}));
    }
    void TearDown() override { HostCloseAllResourceFiles(); }

    static std::string dataOf(Handle handle)
    {
        if (handle == nullptr)
            return "<none>";
        return std::string(*handle, size_t(FS_ResourceUtil::GetHandleSize(handle)));
    }

    TempFolder mFolder;
    std::string mFirst;
    std::string mSecond;
};

} // namespace

TEST_F(FS_ResourceFile, GuardMakesItsFileCurrentAndRestoresThePreviousOne)
{
    const int32_t before = FS_ResourceUtil::CurrentResourceFile();
    {
        FS_ResourceFileRA file(LocatorOfPath(mFirst), false);
        ASSERT_NE(0, file.OpenedResourceFile());
        EXPECT_EQ(file.OpenedResourceFile(), FS_ResourceUtil::CurrentResourceFile());
        EXPECT_EQ("first", dataOf(FS_ResourceUtil::Get1Resource(kTest, 128)));
    }
    EXPECT_EQ(before, FS_ResourceUtil::CurrentResourceFile());
    EXPECT_EQ(nullptr, FS_ResourceUtil::GetResource(kTest, 128)); // closed
}

TEST_F(FS_ResourceFile, NestedGuardsSearchInnerFirstAndRestoreTheOuter)
{
    FS_ResourceFileRA outer(LocatorOfPath(mFirst), false);
    {
        FS_ResourceFileRA inner(LocatorOfPath(mSecond), false);
        EXPECT_EQ("second", dataOf(FS_ResourceUtil::GetResource(kTest, 128)));
        EXPECT_EQ("m", dataOf(FS_ResourceUtil::GetResource(kTest, -1)));     // found further down
        EXPECT_EQ("<none>", dataOf(FS_ResourceUtil::Get1Resource(kTest, -1))); // not in this file
    }
    EXPECT_EQ(outer.OpenedResourceFile(), FS_ResourceUtil::CurrentResourceFile());
    EXPECT_EQ("first", dataOf(FS_ResourceUtil::GetResource(kTest, 128)));
    EXPECT_EQ("<none>", dataOf(FS_ResourceUtil::GetResource(kTest, 129)));
}

TEST_F(FS_ResourceFile, InnerGuardOnTheSameFileLeavesItOpenForTheOuter)
{
    FS_ResourceFileRA outer(LocatorOfPath(mFirst), false);
    {
        FS_ResourceFileRA inner(LocatorOfPath(mFirst), false);
        EXPECT_EQ(outer.OpenedResourceFile(), inner.OpenedResourceFile());
    }
    EXPECT_EQ("first", dataOf(FS_ResourceUtil::Get1Resource(kTest, 128)));
}

TEST_F(FS_ResourceFile, FailedOpenReportsZeroClosesNothingAndStillRestores)
{
    FS_ResourceFileRA outer(LocatorOfPath(mFirst), false);
    {
        FS_ResourceFileRA missing(LocatorOfPath(mFolder.File("missing.rsrc")), true);
        EXPECT_EQ(0, missing.OpenedResourceFile());
        FS_ResourceFileRA notResources(LocatorOfPath(mFolder.Create("text.txt", "plain text, no map")), false);
        EXPECT_EQ(0, notResources.OpenedResourceFile());
        EXPECT_NE(0, FS_ResourceUtil::ResError());
        FS_ResourceFileRA noNames(FS_Locator(), false);
        EXPECT_EQ(0, noNames.OpenedResourceFile());
    }
    EXPECT_EQ(outer.OpenedResourceFile(), FS_ResourceUtil::CurrentResourceFile());
    EXPECT_EQ("first", dataOf(FS_ResourceUtil::Get1Resource(kTest, 128)));
}

TEST_F(FS_ResourceFile, ClosingReferenceZeroDoesNothing)
{
    FS_ResourceFileRA file(LocatorOfPath(mFirst), false);
    FS_ResourceUtil::CloseResourceFile(0);
    EXPECT_EQ(file.OpenedResourceFile(), FS_ResourceUtil::CurrentResourceFile());
    EXPECT_EQ("first", dataOf(FS_ResourceUtil::Get1Resource(kTest, 128)));
}

TEST_F(FS_ResourceFile, ListsResourcesWithSignedIdsAndNames)
{
    FS_ResourceFileRA file(LocatorOfPath(mFirst), false);
    ASSERT_EQ(2, FS_ResourceUtil::Count1Resources(kTest));
    std::vector<std::pair<int32_t, std::string>> listed;
    for (int32_t i = 1; i <= 2; ++i) {
        Handle handle = FS_ResourceUtil::Get1IndResource(kTest, i);
        ASSERT_NE(nullptr, handle);
        int32_t id = 0;
        uint32_t type = 0;
        unsigned char name[256] = {};
        FS_ResourceUtil::GetResInfo(handle, id, type, name);
        EXPECT_EQ(kTest, type);
        listed.emplace_back(id, std::string(reinterpret_cast<char*>(name + 1), name[0]));
    }
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ((std::vector<std::pair<int32_t, std::string>>{{-1, "Minus one"}, {128, "One"}}), listed);
    EXPECT_EQ(nullptr, FS_ResourceUtil::Get1IndResource(kTest, 3));
    EXPECT_EQ(1, FS_ResourceUtil::Count1Resources(FOUR_CHAR_CODE("WINT")));
}

TEST_F(FS_ResourceFile, IdsAndIndexesAreCutTo16Bits)
{
    FS_ResourceFileRA file(LocatorOfPath(mFirst), false);
    EXPECT_EQ("first", dataOf(FS_ResourceUtil::Get1Resource(kTest, 65536 + 128)));
    EXPECT_EQ("m", dataOf(FS_ResourceUtil::GetResource(kTest, 65535)));
    EXPECT_NE(nullptr, FS_ResourceUtil::GetIndResource(kTest, 65536 + 1));
}

TEST_F(FS_ResourceFile, HandlesLockAndReportTheirSize)
{
    FS_ResourceFileRA file(LocatorOfPath(mSecond), false);
    Handle handle = FS_ResourceUtil::GetResource(kTest, 129);
    ASSERT_NE(nullptr, handle);
    FS_ResourceUtil::HLock(handle);
    EXPECT_EQ(9, FS_ResourceUtil::GetHandleSize(handle));
    FS_ResourceUtil::HUnlock(handle);
    FS_ResourceUtil::ReleaseResource(handle);
    EXPECT_EQ(0, FS_ResourceUtil::ResError());
    EXPECT_EQ("only here", dataOf(FS_ResourceUtil::GetResource(kTest, 129)));
}

TEST_F(FS_ResourceFile, ResourceForksAreAddedOnlyToExistingEmptyFiles)
{
    FS_Locator fresh = LocatorOfPath(mFolder.File("fresh.rsrc"));
    EXPECT_FALSE(FS_ResourceUtil::CreateResourceFork(fresh));
    ASSERT_EQ(0, FS_UtilPAC::MakeFile(fresh));
    EXPECT_TRUE(FS_ResourceUtil::CreateResourceFork(fresh));
    FS_ResourceFileRA file(fresh, true);
    EXPECT_NE(0, file.OpenedResourceFile());
    EXPECT_EQ(0, FS_ResourceUtil::Count1Resources(kTest));
}

TEST_F(FS_ResourceFile, ReadWriteGuardWritesThroughTheHost)
{
    {
        FS_ResourceFileRA file(LocatorOfPath(mSecond), true);
        ASSERT_NE(0, file.OpenedResourceFile());
        Handle old = FS_ResourceUtil::Get1Resource(kTest, 129);
        ASSERT_NE(nullptr, old);
        RemoveResource(old);
        DisposeHandle(old);
        UpdateResFile(SInt16(file.OpenedResourceFile()));
        EXPECT_EQ(0, FS_ResourceUtil::ResError());
    }
    FS_ResourceFileRA reread(LocatorOfPath(mSecond), false);
    EXPECT_EQ(nullptr, FS_ResourceUtil::Get1Resource(kTest, 129));
    EXPECT_EQ("second", dataOf(FS_ResourceUtil::Get1Resource(kTest, 128)));
}
