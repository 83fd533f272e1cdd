#include "FileReference.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string str(const FWString& s)
{
    return std::string(s.GetCString(), s.GetCurrLength());
}

} // namespace

TEST(FileReference, HoldsAPathAndItsSeparator)
{
    FileReference empty(nullptr);
    EXPECT_EQ("", str(empty.PathName()));
    EXPECT_EQ('/', empty.DirectorySeperator());

    FileReference a("/a/b");
    FileReference copy(a);
    EXPECT_TRUE(copy == a);
    copy.SetPath(nullptr);
    EXPECT_EQ("/a/b", str(copy));
    copy.SetPath("/c");
    EXPECT_TRUE(copy != a);
    copy = a;
    EXPECT_EQ("/a/b", str(copy.PathName()));
}

TEST(FileReference, AppendPathPutsExactlyOneSeparatorBetween)
{
    const struct {
        const char* path;
        const char* part;
        const char* expected;
    } cases[] = {
        {"/a/", "/b", "/a/b"},
        {"/a", "b", "/a/b"},
        {"/a/", "b", "/a/b"},
        {"/a", "/b", "/a/b"},
        {"/", "x y", "/x y"},
        {"", "Color Swatches", "Color Swatches"},
    };
    for (const auto& c : cases) {
        FileReference r(c.path);
        r.AppendPath(c.part);
        EXPECT_EQ(c.expected, str(r)) << c.path << " + " << c.part;
    }
}

TEST(FileReference, NamesAreTakenFromTheLastSeparator)
{
    const struct {
        const char* path;
        const char* fileName;
        const char* withoutName;
        const char* renamed; // SetFileName("N")
    } cases[] = {
        {"/a/b/file", "file", "/a/b", "/a/b/N"},
        {"/a/b/", "", "/a/b", "/a/b/N"},
        {"/top", "top", "", "/N"},
        {"plain", "", "", "N"},
        {"", "", "", "N"},
    };
    for (const auto& c : cases) {
        FileReference r(c.path);
        FWStr<255> name("stale");
        r.GetFileName(name);
        EXPECT_EQ(c.fileName, str(name)) << c.path;

        FileReference cut(c.path);
        cut.RemoveLastName();
        EXPECT_EQ(c.withoutName, str(cut)) << c.path;

        FileReference renamed(c.path);
        renamed.SetFileName(FWStr<31>("N"));
        EXPECT_EQ(c.renamed, str(renamed)) << c.path;
    }
}

TEST(FileReference, ExistsOnlyForANonEmptyPathThatIsThere)
{
    TempFolder folder;
    std::string path = folder.File("here");
    EXPECT_FALSE(FileReference(path.c_str()).Exists());
    TempFolder::WriteFile(path, "x");
    EXPECT_TRUE(FileReference(path.c_str()).Exists());
    EXPECT_TRUE(FileReference(folder.Path().c_str()).Exists());
    EXPECT_FALSE(FileReference("").Exists());
}
