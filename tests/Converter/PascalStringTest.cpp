#include "PascalString.h"

#include <gtest/gtest.h>

#include <string>

TEST(PascalString, FormatsAndCutsAtItsCapacity)
{
    PascalString formatted("%d files (PC) were created Ok", 12);
    EXPECT_STREQ("12 files (PC) were created Ok", formatted.CStr());
    EXPECT_EQ(29, formatted.Length());

    std::string longText(300, 'x');
    PascalString cut("%s", longText.c_str());
    EXPECT_EQ(254, cut.Length());
    EXPECT_EQ(std::string(254, 'x'), cut.CStr());
}

TEST(PascalString, AppendingStopsAt254AndKeepsTheZeroAfterTheText)
{
    PascalString s;
    s = std::string(250, 'a').c_str();
    s += "bcdefg";
    EXPECT_EQ(254, s.Length());
    EXPECT_EQ(std::string(250, 'a') + "bcde", s.CStr());
    EXPECT_EQ(0, s.Bytes()[255]);
    s += "more";
    EXPECT_EQ(254, s.Length());

    PascalString self;
    self = "ab";
    self += self;
    EXPECT_STREQ("abab", self.CStr());
    PascalString sum = self + self;
    EXPECT_STREQ("abababab", sum.CStr());
    EXPECT_EQ(8, sum.Bytes()[0]);
}

TEST(PascalString, FindsTheLastCharacterAndCutsSubstrings)
{
    PascalString path;
    path = "/d/e/a.rsc";
    EXPECT_EQ(5, path.CharLast('/'));
    EXPECT_EQ(0, path.CharLast(':'));
    EXPECT_STREQ("a.rsc", path.SubStr(6, -1).CStr());
    EXPECT_STREQ("/d/e", path.SubStr(1, 4).CStr());
    EXPECT_STREQ("a.rsc", path.SubStr(6, 100).CStr());
    EXPECT_STREQ("", path.SubStr(11, -1).CStr());
    EXPECT_STREQ("", path.SubStr(3, 0).CStr());
}
