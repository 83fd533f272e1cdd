#include "FWStringUtils.h"

#include <gtest/gtest.h>

TEST(FWStringUtils, PrintableInTheRomanRegionIs32To127)
{
    EXPECT_FALSE(FWStringUtils::IsPrintable('\0'));
    EXPECT_FALSE(FWStringUtils::IsPrintable('\t'));
    EXPECT_FALSE(FWStringUtils::IsPrintable(char(31)));
    EXPECT_TRUE(FWStringUtils::IsPrintable(' '));
    EXPECT_TRUE(FWStringUtils::IsPrintable('~'));
    EXPECT_TRUE(FWStringUtils::IsPrintable(char(127)));
    EXPECT_FALSE(FWStringUtils::IsPrintable(char(128)));
    EXPECT_FALSE(FWStringUtils::IsPrintable(char(0xE9)));
    EXPECT_FALSE(FWStringUtils::IsPrintable(char(255)));
}

TEST(FWStringUtils, ByteTypeIsSingleInsideTheTextAndZeroOutside)
{
    const char text[] = "a.b";
    EXPECT_EQ(FWStringUtils::kSingleByte, FWStringUtils::StringByteType(text, 3, 0));
    EXPECT_EQ(FWStringUtils::kSingleByte, FWStringUtils::StringByteType(text, 3, 2));
    EXPECT_EQ(FWStringUtils::kPastEnd, FWStringUtils::StringByteType(text, 3, 3));
    EXPECT_EQ(FWStringUtils::kPastEnd, FWStringUtils::StringByteType(text, 3, 40));
    EXPECT_EQ(FWStringUtils::kPastEnd, FWStringUtils::StringByteType(text, 0, 0));
    EXPECT_EQ(FWStringUtils::kPastEnd, FWStringUtils::StringByteType(text, 3, -1));
}
