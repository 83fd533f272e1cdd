#include "FS_Exception.h"
#include "FS_FileTypeRegistry.h"
#include "FS_LocatorRegistry.h"
#include "HostTypes.h"
#include "ProgrammerMessageRecorder.h"

#include <gtest/gtest.h>

using namespace Corvel;

namespace {

class FS_FileTypes : public ::testing::Test {
protected:
    void SetUp() override { FS_FileTypeRegistry::Init(); }
    void TearDown() override { FS_FileTypeRegistry::CleanUp(); }
};

class FS_Locators : public ::testing::Test {
protected:
    void SetUp() override { FS_LocatorRegistry::Init(); }
    void TearDown() override { FS_LocatorRegistry::CleanUp(); }
};

FS_Locator locatorOf(std::initializer_list<const char*> names)
{
    FS_Locator locator;
    for (const char* name : names)
        locator.AppendName(name);
    return locator;
}

} // namespace

TEST_F(FS_FileTypes, ExtensionsMatchInAnyCase)
{
    FS_FileTypeRegistry::RegisterFileType(FOUR_CHAR_CODE("RSRC"), FWStr<31>("RSRC"), 0);
    FS_FileTypeRegistry::RegisterFileType(FOUR_CHAR_CODE("RSRC"), FWStr<31>("rsc"), 0);
    EXPECT_EQ(uint32_t(FOUR_CHAR_CODE("RSRC")), FS_FileTypeRegistry::TypeFromExtension(FWStr<31>("Rsrc")));
    EXPECT_EQ(uint32_t(FOUR_CHAR_CODE("RSRC")), FS_FileTypeRegistry::TypeFromExtension(FWStr<31>("RSC")));
    EXPECT_EQ(0u, FS_FileTypeRegistry::TypeFromExtension(FWStr<31>("rs")));
    EXPECT_EQ(0u, FS_FileTypeRegistry::TypeFromExtension(FWStr<31>("")));
}

TEST_F(FS_FileTypes, TypeZeroIsAlwaysRegistered)
{
    EXPECT_TRUE(FS_FileTypeRegistry::IsTypeRegistered(0));
    EXPECT_EQ(0u, FS_FileTypeRegistry::CreatorFromType(0));
    EXPECT_FALSE(FS_FileTypeRegistry::IsTypeRegistered(FOUR_CHAR_CODE("TEXT")));
    EXPECT_EQ(0u, FS_FileTypeRegistry::CreatorFromType(FOUR_CHAR_CODE("TEXT")));
}

TEST_F(FS_FileTypes, LaterRegistrationsReplaceCreatorAndExtensionOwner)
{
    FS_FileTypeRegistry::RegisterFileType(FOUR_CHAR_CODE("TEXT"), FWStr<31>("txt"), FOUR_CHAR_CODE("ttxt"));
    FS_FileTypeRegistry::RegisterFileType(FOUR_CHAR_CODE("TEXT"), FWStr<31>("text"), FOUR_CHAR_CODE("R*ch"));
    FS_FileTypeRegistry::RegisterFileType(FOUR_CHAR_CODE("UTXT"), FWStr<31>("TXT"), 0);
    EXPECT_TRUE(FS_FileTypeRegistry::IsTypeRegistered(FOUR_CHAR_CODE("TEXT")));
    EXPECT_EQ(uint32_t(FOUR_CHAR_CODE("R*ch")), FS_FileTypeRegistry::CreatorFromType(FOUR_CHAR_CODE("TEXT")));
    EXPECT_EQ(uint32_t(FOUR_CHAR_CODE("UTXT")), FS_FileTypeRegistry::TypeFromExtension(FWStr<31>("txt")));
    EXPECT_EQ(uint32_t(FOUR_CHAR_CODE("TEXT")), FS_FileTypeRegistry::TypeFromExtension(FWStr<31>("text")));
}

TEST_F(FS_FileTypes, LongExtensionsAreCutTo31Characters)
{
    FWStr<63> longExtension("abcdefghijklmnopqrstuvwxyz0123456789");
    FS_FileTypeRegistry::RegisterFileType(FOUR_CHAR_CODE("LONG"), longExtension, 0);
    EXPECT_EQ(uint32_t(FOUR_CHAR_CODE("LONG")), FS_FileTypeRegistry::TypeFromExtension(FWStr<63>("ABCDEFGHIJKLMNOPQRSTUVWXYZ01234")));
    EXPECT_EQ(uint32_t(FOUR_CHAR_CODE("LONG")), FS_FileTypeRegistry::TypeFromExtension(longExtension));
}

TEST(FS_FileTypesStopped, AnswerAsEmptyAndReportRegistration)
{
    ProgrammerMessageRecorder recorder;
    FS_FileTypeRegistry::RegisterFileType(FOUR_CHAR_CODE("RSRC"), FWStr<31>("rsrc"), 0);
    EXPECT_EQ(1u, recorder.Messages().size());
    EXPECT_EQ(0u, FS_FileTypeRegistry::TypeFromExtension(FWStr<31>("rsrc")));
    EXPECT_FALSE(FS_FileTypeRegistry::IsTypeRegistered(FOUR_CHAR_CODE("RSRC")));
    EXPECT_TRUE(FS_FileTypeRegistry::IsTypeRegistered(0));
}

TEST_F(FS_Locators, FirstRegistrationOfAKeyStays)
{
    FS_LocatorRegistry::RegisterLocator(-2, locatorOf({"Volumes", "Root", "first"}));
    FS_LocatorRegistry::RegisterLocator(-2, locatorOf({"Volumes", "Root", "second"}));
    FS_Locator out;
    FS_LocatorRegistry::LookUpLocator(-2, out);
    EXPECT_EQ(locatorOf({"Volumes", "Root", "first"}), out);
}

TEST_F(FS_Locators, LookUpCopiesAndUnknownKeysClearOut)
{
    FS_Locator registered = locatorOf({"Volumes", "Root", "tmp"});
    registered.SetFileType(FOUR_CHAR_CODE("fold"));
    FS_LocatorRegistry::RegisterLocator(-4, registered);
    registered.AppendName("changed later");

    FS_Locator out;
    FS_LocatorRegistry::LookUpLocator(-4, out);
    EXPECT_EQ(locatorOf({"Volumes", "Root", "tmp"}), out);
    EXPECT_EQ(uint32_t(FOUR_CHAR_CODE("fold")), out.FileType());

    FS_LocatorRegistry::LookUpLocator(-3, out);
    EXPECT_EQ(0u, out.NumNames());
    EXPECT_EQ(0u, out.FileType());
}

TEST(FS_LocatorsStopped, LookUpGivesEmptyAndRegistrationIsReported)
{
    ProgrammerMessageRecorder recorder;
    FS_LocatorRegistry::RegisterLocator(-1, locatorOf({"x"}));
    EXPECT_EQ(1u, recorder.Messages().size());
    FS_Locator out = locatorOf({"stale"});
    FS_LocatorRegistry::LookUpLocator(-1, out);
    EXPECT_EQ(0u, out.NumNames());
}
