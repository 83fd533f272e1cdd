#include "AppPreferences.h"
#include "HostPreferences.h"
#include "PreferencesFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string load(const char* key)
{
    Str255 value;
    std::memset(value, 0xEE, sizeof value);
    LoadPref(value, key);
    EXPECT_EQ(0, value[1 + value[0]]) << "zero after the text";
    return std::string(reinterpret_cast<char*>(value + 1), value[0]);
}

} // namespace

TEST(AppPreferences, AFolderSavedIsLoadedOnTheNextRun)
{
    PreferencesFolder folder;
    EXPECT_EQ("", load("PATH"));
    SavePref("/Users/u/Work", "PATH");
    HostResetPreferences();
    EXPECT_EQ("/Users/u/Work", load("PATH"));

    // Empty and non-ASCII values are not stored; the earlier value stays.
    SavePref("", "PATH");
    SavePref("/Users/u/Caf\xC3\xA9", "PATH");
    HostResetPreferences();
    EXPECT_EQ("/Users/u/Work", load("PATH"));
}

TEST(AppPreferences, ValuesThatDoNotFitOrConvertLoadEmpty)
{
    PreferencesFolder folder;
    std::string longest(254, 'p');
    SavePref(longest.c_str(), "PATH");
    EXPECT_EQ(longest, load("PATH"));
    SavePref((longest + "q").c_str(), "PATH");
    EXPECT_EQ("", load("PATH"));

    CFStringRef accented = CFStringCreateWithCString(kCFAllocatorDefault, "/caf\xC3\xA9", kCFStringEncodingUTF8);
    CFPreferencesSetAppValue(CFSTR("PATH"), accented, kCFPreferencesCurrentApplication);
    CFRelease(accented);
    EXPECT_EQ("", load("PATH"));
}
