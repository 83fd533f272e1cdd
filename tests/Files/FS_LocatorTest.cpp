#include "Env_MacPString.h"
#include "FS_Exception.h"
#include "FS_Locator.h"
#include "FS_RelativeLocatorUtil.h"
#include "FS_UtilPAC.h"
#include "ProgrammerMessageRecorder.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

using namespace Corvel;

namespace {

FS_Locator locatorOf(std::initializer_list<const char*> names, uint32_t type = 0)
{
    FS_Locator locator;
    for (const char* name : names)
        locator.AppendName(name);
    locator.SetFileType(type);
    return locator;
}

std::vector<std::string> namesOf(const FS_Locator& locator)
{
    std::vector<std::string> names;
    for (uint32_t i = 0; i < locator.NumNames(); ++i)
        names.push_back(locator[i].GetCString());
    return names;
}

using Names = std::vector<std::string>;

} // namespace

TEST(FS_Locator, NamesAreAppendedRemovedAndCleared)
{
    FS_Locator locator = locatorOf({"Volumes", "Disk"}, FOUR_CHAR_CODE("RSRC"));
    locator.AppendName(FWStr<31>("file.rsrc"));
    EXPECT_EQ((Names{"Volumes", "Disk", "file.rsrc"}), namesOf(locator));
    EXPECT_STREQ("file.rsrc", locator.LastName().GetCString());

    FS_Locator copy = locator;
    locator.RemoveLastName();
    EXPECT_EQ(2u, locator.NumNames());
    EXPECT_EQ(3u, copy.NumNames());
    EXPECT_EQ(uint32_t(FOUR_CHAR_CODE("RSRC")), copy.FileType());

    locator.Clear();
    EXPECT_EQ(0u, locator.NumNames());
    EXPECT_EQ(0u, locator.FileType());
    locator.RemoveLastName();
    EXPECT_EQ(0u, locator.NumNames());
}

TEST(FS_Locator, IndexPastTheEndGivesTheLastName)
{
    FS_Locator locator = locatorOf({"a", "b"});
    EXPECT_STREQ("a", locator[0].GetCString());
    EXPECT_STREQ("b", locator[2].GetCString());
    EXPECT_STREQ("b", locator[1000].GetCString());
}

TEST(FS_Locator, NameOfAnEmptyLocatorIsReportedNotACrash)
{
    ProgrammerMessageRecorder recorder;
    FS_Locator empty;
    EXPECT_EQ(0u, empty[0].GetCurrLength());
    EXPECT_EQ(0u, empty.LastName().GetCurrLength());
    EXPECT_EQ(2u, recorder.Messages().size());
}

TEST(FS_Locator, EqualityComparesNamesButNotTypes)
{
    EXPECT_EQ(locatorOf({"Volumes", "D", "x"}, FOUR_CHAR_CODE("RSRC")), locatorOf({"Volumes", "D", "x"}, FOUR_CHAR_CODE("TEXT")));
    EXPECT_NE(locatorOf({"Volumes", "D", "x"}), locatorOf({"Volumes", "D"}));
    EXPECT_NE(locatorOf({"Volumes", "D", "x"}), locatorOf({"Volumes", "D", "X"}));
    EXPECT_EQ(FS_Locator(), FS_Locator());
}

TEST(FS_RelativeLocator, EmptyNamesClimbAndOthersDescend)
{
    FS_Locator out;
    FS_RelativeLocatorUtil::Resolve(locatorOf({"Volumes", "D", "a"}, FOUR_CHAR_CODE("TEXT")), locatorOf({"", "b"}), out);
    EXPECT_EQ((Names{"Volumes", "D", "b"}), namesOf(out));
    EXPECT_EQ(uint32_t(FOUR_CHAR_CODE("TEXT")), out.FileType());

    FS_Locator base = locatorOf({"Volumes", "D", "a"});
    FS_RelativeLocatorUtil::Resolve(base, locatorOf({"", "", "c", "d"}), base);
    EXPECT_EQ((Names{"Volumes", "c", "d"}), namesOf(base));

    FS_Locator self = locatorOf({"x", "y"});
    FS_RelativeLocatorUtil::Resolve(self, self, self);
    EXPECT_EQ((Names{"x", "y", "x", "y"}), namesOf(self));
}

TEST(FS_RelativeLocator, ClimbingAboveTheFirstNameThrows)
{
    FS_Locator out;
    EXPECT_THROW(FS_RelativeLocatorUtil::Resolve(locatorOf({"Volumes", "D", "a"}), locatorOf({"", "", "", "", "x"}), out),
                 FS_BadPathNameX);
    EXPECT_THROW(FS_RelativeLocatorUtil::Resolve(FS_Locator(), locatorOf({""}), out), FS_BadPathNameX);
}

TEST(FS_Locator, ExtensionIsWhatFollowsTheLastDot)
{
    struct Row {
        const char* name;
        const char* extension;
    };
    const Row rows[] = {
        {"file.rsrc", "rsrc"}, {"archive.tar.gz", "gz"}, {".profile", "profile"},
        {"trailing.", ""},     {"none", ""},            {"", ""},
    };
    for (const Row& row : rows) {
        FWStr<255> extension("stale");
        FS_UtilPAC::GetFileNameExtension(locatorOf({"Volumes", "D", row.name}), extension);
        EXPECT_STREQ(row.extension, extension.GetCString()) << row.name;
    }
    FWStr<255> extension("stale");
    FS_UtilPAC::GetFileNameExtension(FS_Locator(), extension);
    EXPECT_EQ(0u, extension.GetCurrLength());
}

TEST(Env_MacPString, LongTextsAreCutAndEndInAnEllipsis)
{
    Env_MacPString text;
    EXPECT_EQ(0u, text.Size());

    std::string chars(300, 'a');
    text.CopyChars(chars.data(), uint32_t(chars.size()));
    EXPECT_EQ(255u, text.Size());
    EXPECT_EQ('a', text[253]);
    EXPECT_EQ(0xC9, text[254]);

    text.CopyChars(chars.data(), 255);
    EXPECT_EQ(255u, text.Size());
    EXPECT_EQ('a', text[254]);

    const unsigned char pascal[] = {3, 'a', 'b', 'c'};
    text = pascal;
    EXPECT_EQ(3u, text.Size());
    EXPECT_EQ(std::string("abc"), std::string(text.Chars(), text.Size()));
}
