#include "HostCoreFoundation.h"
#include "HostPreferences.h"
#include "HostTestFiles.h"
#include "PreferencesFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

std::string valueOf(const char* key, CFStringRef domain = kCFPreferencesCurrentApplication)
{
    CFPropertyListRef value = CFPreferencesCopyAppValue(HostConstantString(key), domain);
    if (value == nullptr)
        return "<none>";
    std::string text = HostCFStringToUtf8(static_cast<CFStringRef>(value));
    CFRelease(value);
    return text;
}

void set(const char* key, const char* text, CFStringRef domain = kCFPreferencesCurrentApplication)
{
    CFStringRef value = text != nullptr ? CFStringCreateWithCString(kCFAllocatorDefault, text, kCFStringEncodingUTF8)
                                        : nullptr;
    CFPreferencesSetAppValue(HostConstantString(key), value, domain);
    if (value != nullptr)
        CFRelease(value);
}

} // namespace

TEST(HostCoreFoundation, ConvertsBetweenEncodingsAndRefusesWhatDoesNotFit)
{
    CFStringRef ascii = CFStringCreateWithCString(kCFAllocatorDefault, "/home/u/Work", kCFStringEncodingASCII);
    ASSERT_NE(nullptr, ascii);
    EXPECT_EQ(CFStringGetTypeID(), CFGetTypeID(ascii));
    EXPECT_EQ(12, CFStringGetLength(ascii));
    Str255 pascal;
    EXPECT_TRUE(CFStringGetPascalString(ascii, pascal, 255, kCFStringEncodingASCII));
    EXPECT_EQ(std::string("\x0C/home/u/Work"), std::string(reinterpret_cast<char*>(pascal), 13));
    EXPECT_FALSE(CFStringGetPascalString(ascii, pascal, 12, kCFStringEncodingASCII));
    EXPECT_EQ(0, pascal[0]);
    char c[13];
    EXPECT_TRUE(CFStringGetCString(ascii, c, sizeof c, kCFStringEncodingUTF8));
    EXPECT_FALSE(CFStringGetCString(ascii, c, 12, kCFStringEncodingUTF8));
    CFRetain(ascii);
    CFRelease(ascii);
    CFRelease(ascii);

    EXPECT_EQ(nullptr, CFStringCreateWithCString(kCFAllocatorDefault, "caf\xC3\xA9", kCFStringEncodingASCII));
    EXPECT_EQ(nullptr, CFStringCreateWithCString(kCFAllocatorDefault, "\xC3", kCFStringEncodingUTF8));
    EXPECT_EQ(nullptr, CFStringCreateWithCString(kCFAllocatorDefault, "\xC0\x80", kCFStringEncodingUTF8));
    CFStringRef utf8 = CFStringCreateWithCString(kCFAllocatorDefault, "caf\xC3\xA9", kCFStringEncodingUTF8);
    EXPECT_EQ(4, CFStringGetLength(utf8));
    EXPECT_TRUE(CFStringGetCString(utf8, c, sizeof c, kCFStringEncodingMacRoman));
    EXPECT_STREQ("caf\x8E", c);
    EXPECT_FALSE(CFStringGetPascalString(utf8, pascal, 255, kCFStringEncodingASCII));
    CFRelease(utf8);

    std::string longText(300, 'x');
    CFStringRef tooLong = CFStringCreateWithCString(kCFAllocatorDefault, longText.c_str(), kCFStringEncodingASCII);
    EXPECT_FALSE(CFStringGetPascalString(tooLong, pascal, 1000, kCFStringEncodingASCII));
    CFRelease(tooLong);

    // Constant strings are one object per text and outlive any number of releases.
    EXPECT_EQ(CFSTR("main"), CFSTR("main"));
    CFRelease(CFSTR("main"));
    CFStringRef made = CFStringCreateWithCString(kCFAllocatorDefault, "main", kCFStringEncodingMacRoman);
    EXPECT_TRUE(HostCFStringEqual(CFSTR("main"), made));
    CFRelease(made);
}

TEST(HostCoreFoundation, ArraysRetainTheirValuesWhenAsked)
{
    CFStringRef a = CFStringCreateWithCString(kCFAllocatorDefault, "All files", kCFStringEncodingASCII);
    const void* values[] = {a, CFSTR("Layouts")};
    CFArrayRef array = CFArrayCreate(kCFAllocatorDefault, values, 2, &kCFTypeArrayCallBacks);
    CFRelease(a); // the array holds it now
    EXPECT_EQ(CFArrayGetTypeID(), CFGetTypeID(array));
    EXPECT_EQ(2, CFArrayGetCount(array));
    EXPECT_EQ("All files", HostCFStringToUtf8(static_cast<CFStringRef>(CFArrayGetValueAtIndex(array, 0))));
    EXPECT_EQ(nullptr, CFArrayGetValueAtIndex(array, 2));
    EXPECT_EQ(nullptr, CFArrayGetValueAtIndex(array, -1));
    EXPECT_EQ(0, CFStringGetLength(reinterpret_cast<CFStringRef>(array)));
    CFRelease(array);
    EXPECT_EQ(nullptr, CFArrayCreate(kCFAllocatorDefault, nullptr, 1, nullptr));
}

TEST(HostPreferences, ValuesSurviveTheNextRunOnlyOnceSynchronized)
{
    PreferencesFolder folder;
    EXPECT_EQ("<none>", valueOf("PATH"));
    set("PATH", "/home/u/Work");
    EXPECT_EQ("/home/u/Work", valueOf("PATH"));
    HostResetPreferences();
    EXPECT_EQ("<none>", valueOf("PATH"));

    set("PATH", "/home/u/Work");
    set("Odd key=%", "line\nbreak caf\xC3\xA9 100%");
    EXPECT_TRUE(CFPreferencesAppSynchronize(kCFPreferencesCurrentApplication));
    HostResetPreferences();
    EXPECT_EQ("/home/u/Work", valueOf("PATH"));
    EXPECT_EQ("line\nbreak caf\xC3\xA9 100%", valueOf("Odd key=%"));

    set("PATH", nullptr);
    EXPECT_TRUE(CFPreferencesAppSynchronize(kCFPreferencesCurrentApplication));
    HostResetPreferences();
    EXPECT_EQ("<none>", valueOf("PATH"));

    // Domains are kept apart, one file each, and no temporary file is left behind.
    set("PATH", "/other", CFSTR("other"));
    EXPECT_TRUE(CFPreferencesAppSynchronize(CFSTR("other")));
    EXPECT_EQ("<none>", valueOf("PATH"));
    EXPECT_EQ(folder.File("other.prefs"), HostPreferencesFilePath(CFSTR("other")));
    std::vector<uint8_t> file = ReadBytes(folder.File("other.prefs"));
    EXPECT_EQ("# Preferences of other\nPATH=/other\n", std::string(file.begin(), file.end()));
    EXPECT_FALSE(std::filesystem::exists(folder.File("other.prefs.new")));
}

TEST(HostPreferences, DamagedLinesAreSkippedAndUnreadableFilesGiveNoValues)
{
    PreferencesFolder folder;
    std::filesystem::create_directories(std::filesystem::path(folder.File("x")).parent_path());
    std::string text = "# comment\nno equals sign\n=empty key\nbad=%G1\ncut=%4\nPATH=/d%2Fe\n\nlast=1";
    WriteBytes(HostPreferencesFilePath(CFSTR("damaged")), std::vector<uint8_t>(text.begin(), text.end()));
    EXPECT_EQ("/d/e", valueOf("PATH", CFSTR("damaged")));
    EXPECT_EQ("1", valueOf("last", CFSTR("damaged")));
    EXPECT_EQ("<none>", valueOf("bad", CFSTR("damaged")));
    EXPECT_EQ("<none>", valueOf("cut", CFSTR("damaged")));

    // A folder in the file's place: no values, and synchronizing fails without harm.
    std::filesystem::create_directory(HostPreferencesFilePath(CFSTR("folder")));
    set("PATH", "/x", CFSTR("folder"));
    EXPECT_FALSE(CFPreferencesAppSynchronize(CFSTR("folder")));
    EXPECT_TRUE(std::filesystem::is_directory(HostPreferencesFilePath(CFSTR("folder"))));
    HostResetPreferences();
    EXPECT_EQ("<none>", valueOf("PATH", CFSTR("folder")));

    // A file far larger than preferences ever are is not read.
    std::vector<uint8_t> huge(2 << 20, 'a');
    std::string line = "PATH=/big\n";
    std::copy(line.begin(), line.end(), huge.begin());
    WriteBytes(HostPreferencesFilePath(CFSTR("huge")), huge);
    EXPECT_EQ("<none>", valueOf("PATH", CFSTR("huge")));
}

TEST(HostPreferences, AKeyStartingWithTheCommentMarkSurvivesWritingAndReading)
{
    HostPreferenceValues values{{"#hash", "v"}, {"a#b", "#"}};
    std::string text = HostPreferencesToText("app", values);
    EXPECT_EQ(values, HostPreferencesFromText(text));
}
