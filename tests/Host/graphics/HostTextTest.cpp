#include "HostText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {
int compare(const std::string& a, const std::string& b)
{
    return CompareText(a.data(), b.data(), int16_t(a.size()), int16_t(b.size()), nullptr);
}
} // namespace

TEST(CompareText, CaseInsensitiveFirstThenUpperCaseFirst)
{
    EXPECT_EQ(0, compare("abc", "abc"));
    EXPECT_EQ(-1, compare("apple", "Banana"));
    EXPECT_EQ(1, compare("Banana", "apple"));
    EXPECT_EQ(-1, compare("Banana", "banana"));
    EXPECT_EQ(1, compare("banana", "Banana"));
    EXPECT_EQ(-1, compare("ab", "abc"));
    EXPECT_EQ(-1, compare("AB", "abc")); // a prefix sorts first, whatever its case
    EXPECT_EQ(-1, compare("", "a"));
    EXPECT_EQ(-1, compare("aB", "ab")); // the first case difference decides
    EXPECT_EQ(1, compare("abC", "aBc"));
    // Mac Roman accented letters fold too: "\x80" (A diaeresis) against "\x8A" (a diaeresis).
    EXPECT_EQ(-1, compare("\x80", "\x8A" "b"));
    EXPECT_EQ(-1, compare("\x80", "\x8A"));
}

TEST(CompareText, IsATotalOrder)
{
    std::vector<std::string> words = {"b", "B", "a", "A", "ab", "Ab", "aB", "AB", "", "ba", "\x8A", "\x80"};
    std::sort(words.begin(), words.end(), [](const std::string& x, const std::string& y) {
        return compare(x, y) < 0;
    });
    std::vector<std::string> expected = {"", "A", "a", "AB", "Ab", "aB", "ab", "B", "b", "ba", "\x80", "\x8A"};
    EXPECT_EQ(expected, words);
    for (const auto& x : words)
        for (const auto& y : words)
            EXPECT_EQ(compare(x, y), -compare(y, x)) << x << " " << y;
}

TEST(CompareText, NegativeLengthsCountAsEmpty)
{
    EXPECT_EQ(0, CompareText("abc", "xyz", -1, 0, nullptr));
    EXPECT_EQ(-1, CompareText("abc", "xyz", -5, 3, nullptr));
}

TEST(HostTextEqualString, CaseAndDiacriticsCountOnlyWhenAsked)
{
    auto p = [](const char* s) {
        std::string out(1, char(std::strlen(s)));
        return out + s;
    };
    auto equal = [&](const char* a, const char* b, bool caseSensitive, bool diacSensitive) {
        std::string pa = p(a), pb = p(b);
        return bool(EqualString(reinterpret_cast<ConstStr255Param>(pa.data()),
                                reinterpret_cast<ConstStr255Param>(pb.data()), caseSensitive, diacSensitive));
    };
    EXPECT_TRUE(equal("Edit", "Edit", true, true));
    EXPECT_FALSE(equal("Edit", "edit", true, true));
    EXPECT_TRUE(equal("Edit", "EDIT", false, true));
    EXPECT_FALSE(equal("\x83" "dit", "Edit", false, true)); // E acute
    EXPECT_TRUE(equal("\x83" "dit", "Edit", true, false));
    EXPECT_TRUE(equal("\x8E" "DIT", "edit", false, false)); // e acute, any case
    EXPECT_FALSE(equal("Edit", "Edits", false, false));
    EXPECT_FALSE(equal("Edit", "Exit", false, false));
}
