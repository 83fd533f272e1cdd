// The resource document on real files: the layout list, saving, adding, renaming, copying and
// removing layouts, the messages of resource errors, and what a refused write leaves behind.
#include "EditorFixture.h"

#include "CQF_Document.h"
#include "FWStr.h"
#include "HostMemory.h"
#include "HostModalLoop.h"
#include "HostResources.h"
#include "QuillformApp.h"
#include "ShownMessages.h"

#include "../Files/ResourceFileMaker.h"

#include <csignal>
#include <filesystem>
#include <functional>
#include <sys/resource.h>

namespace {

constexpr ResType kWINT = FOUR_CHAR_CODE("WINT");

Handle handleOf(const std::string& bytes)
{
    Handle h = NewHandle(Size(bytes.size()));
    std::memcpy(*h, bytes.data(), bytes.size());
    return h;
}

// What the file holds under the type and id ("" when nothing), and its name.
std::string stored(const std::string& path, ResType type, SInt16 id, std::string* name = nullptr)
{
    Corvel::FS_ResourceFileRA file(LocatorOfPath(path), false);
    Handle h = file.OpenedResourceFile() != 0 ? Get1Resource(type, id) : nullptr;
    if (h == nullptr)
        return "";
    if (name != nullptr) {
        unsigned char text[256] = {};
        GetResInfo(h, nullptr, nullptr, text);
        *name = std::string(reinterpret_cast<const char*>(text + 1), text[0]);
    }
    return std::string(*h, size_t(GetHandleSize(h)));
}

} // namespace

TEST(CResMapTest, NextIDFillsTheFirstGapAfterTheSmallestId)
{
    struct Case {
        std::vector<int> ids;
        int start;
        int expected;
    };
    const Case cases[] = {
        {{}, 128, 128}, {{1, 2, 3}, 9, 4}, {{5, 7}, 1, 6}, {{100, 101, 21000}, 1, 102}, {{100, 101, 21000}, 500, 102},
    };
    for (const Case& c : cases) {
        CResMap map;
        for (int id : c.ids)
            map[id] = "x";
        EXPECT_EQ(c.expected, map.NextID(c.start)) << c.ids.size() << " ids, start " << c.start;
    }
    CResMap map;
    map[5] = "Main";
    EXPECT_EQ("Main", map.Name(5));
    EXPECT_EQ("<Map Error!>", map.Name(6));
}

class ResourceDocumentTest : public EditorFixture {
protected:
    void SetUp() override
    {
        StartApp();
        mPath = File("doc.rsrc");
        ASSERT_TRUE(MakeResourceFile(mPath, {{kWINT, 100, "Main", "main bytes"},
                                             {kWINT, 101, "Second", "second bytes"},
                                             {FOUR_CHAR_CODE("PICT"), 100, "", "picture"}}));
        mDocument = new CQF_Document;
        mDocument->SetAssociatedFile(FileReference(mPath.c_str()));
        HostResetModalLoops();
    }
    // A fresh document over the same file: what a later open would list.
    CResMap reread()
    {
        CQF_Document again;
        again.SetAssociatedFile(FileReference(mPath.c_str()));
        EXPECT_TRUE(again.ReadWINT());
        return again.ResMap();
    }

    std::string mPath;
    CQF_Document* mDocument = nullptr;
};

TEST_F(ResourceDocumentTest, ReadsTheLayoutListAndFailsOnAFileThatIsNoResourceFile)
{
    ASSERT_TRUE(mDocument->ReadWINT());
    EXPECT_EQ((CResMap{{{100, "Main"}, {101, "Second"}}}), mDocument->ResMap());

    CQF_Document text;
    text.SetAssociatedFile(FileReference(mFolder.Create("notes.rsrc", "plain text, no resources").c_str()));
    CResMap::errCode = 0;
    EXPECT_FALSE(text.ReadWINT());
    EXPECT_NE(0, CResMap::errCode);
    EXPECT_TRUE(text.ResMap().empty());
}

TEST_F(ResourceDocumentTest, ChangesReachTheFileAndTheMap)
{
    ASSERT_TRUE(mDocument->ReadWINT());
    const std::string longName(300, 'n');
    ASSERT_TRUE(mDocument->AddWINT(handleOf("added"), 200, FWStr<1024>(longName.c_str())));
    ASSERT_TRUE(mDocument->RenameWINT(101, 101, FWStr<63>("Renamed")));
    ASSERT_TRUE(mDocument->CopyWINT(100, 300, FWStr<63>("Copy")));
    ASSERT_TRUE(mDocument->SaveWINT(handleOf("new main"), 100));

    const CResMap expected{{{100, "Main"}, {101, "Renamed"}, {200, std::string(255, 'n')}, {300, "Copy"}}};
    EXPECT_EQ(expected, mDocument->ResMap());
    EXPECT_EQ(expected, reread());
    std::string name;
    EXPECT_EQ("new main", stored(mPath, kWINT, 100, &name));
    EXPECT_EQ("Main", name);
    EXPECT_EQ("main bytes", stored(mPath, kWINT, 300));
    EXPECT_EQ("added", stored(mPath, kWINT, 200));
    EXPECT_EQ("picture", stored(mPath, FOUR_CHAR_CODE("PICT"), 100));
}

TEST_F(ResourceDocumentTest, ASaveKeepsTheAttributesAndTheNameAsStored)
{
    {
        // 100 purgeable and preloaded, 101 with an empty name, 102 with none.
        Corvel::FS_ResourceFileRA file(LocatorOfPath(mPath), true);
        ASSERT_NE(0, file.OpenedResourceFile());
        SetResAttrs(Get1Resource(kWINT, 100), 0x24);
        const unsigned char empty[1] = {0};
        HostSetResName(Get1Resource(kWINT, 101), empty);
        AddResource(handleOf("third"), kWINT, 102, nullptr);
        UpdateResFile(CurResFile());
        ASSERT_EQ(noErr, ResError());
    }
    ASSERT_TRUE(mDocument->ReadWINT());
    ASSERT_TRUE(mDocument->SaveWINT(handleOf("new main"), 100));
    ASSERT_TRUE(mDocument->SaveWINT(handleOf("new second"), 101));
    Corvel::FS_ResourceFileRA file(LocatorOfPath(mPath), false);
    const struct {
        SInt16 id;
        std::string data;
        SInt16 attributes;
        bool named;
    } expected[] = {{100, "new main", 0x24, true}, {101, "new second", 0, true}, {102, "third", 0, false}};
    for (const auto& e : expected) {
        Handle h = Get1Resource(kWINT, e.id);
        ASSERT_NE(nullptr, h) << e.id;
        EXPECT_EQ(e.data, std::string(*h, size_t(GetHandleSize(h)))) << e.id;
        EXPECT_EQ(e.attributes, GetResAttrs(h)) << e.id;
        EXPECT_EQ(e.named, HostResourceHasName(h)) << e.id;
    }
}

TEST_F(ResourceDocumentTest, MissingLayoutsAreRefused)
{
    ASSERT_TRUE(mDocument->ReadWINT());
    EXPECT_FALSE(mDocument->SaveWINT(handleOf("x"), 555));
    EXPECT_FALSE(mDocument->RenameWINT(555, 556, FWStr<63>("x")));
    // One present, one missing: the present one goes, the answer is false.
    EXPECT_FALSE(mDocument->RemoveWINT({101, 555}));
    EXPECT_EQ((CResMap{{{100, "Main"}}}), mDocument->ResMap());
    EXPECT_EQ((CResMap{{{100, "Main"}}}), reread());
    EXPECT_TRUE(mDocument->RemoveWINT({100}));
    EXPECT_TRUE(reread().empty());
}

TEST_F(ResourceDocumentTest, ARefusedWriteLeavesTheStoredLayoutAsItWas)
{
    ASSERT_TRUE(mDocument->ReadWINT());
    const std::string before = TempFolder::ReadFile(mPath);
    // Files may not grow beyond a few bytes while the layout is saved.
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 16;
    setrlimit(RLIMIT_FSIZE, &small);
    const bool result = mDocument->SaveWINT(handleOf(std::string(4000, 'z')), 100);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_FALSE(result);
    EXPECT_NE(0, CResMap::errCode);
    EXPECT_EQ(before, TempFolder::ReadFile(mPath));
    EXPECT_EQ("main bytes", stored(mPath, kWINT, 100));
}

TEST_F(ResourceDocumentTest, SaveResourceReplacesInTheDocumentsFileOnly)
{
    // The application's file holds 'MBAR' 128; the document's does not, so it gains its own.
    const unsigned char name[] = {4, 'M', 'e', 'n', 'u'};
    ASSERT_TRUE(mDocument->SaveResource(FOUR_CHAR_CODE("MBAR"), 128, name, "abc", 3));
    EXPECT_EQ("abc", stored(mPath, FOUR_CHAR_CODE("MBAR"), 128));
    ASSERT_TRUE(mDocument->SaveResource(FOUR_CHAR_CODE("MBAR"), 128, name, "defg", 4));
    EXPECT_EQ("defg", stored(mPath, FOUR_CHAR_CODE("MBAR"), 128));
    EXPECT_NE("defg", stored(File("quillform.rsrc"), FOUR_CHAR_CODE("MBAR"), 128));
}

TEST_F(ResourceDocumentTest, ResourceErrorsShowTheirCode)
{
    const std::vector<int> codes{-54, -39, 0};
    for (int code : codes) {
        CResMap::errCode = code;
        QuillformApp::ShowResError();
    }
    EXPECT_EQ((std::vector<std::string>{
                  "Resource error -54. Be sure the file is not opened by other application for writing",
                  "Resource error -39", "Unknown Resource Error"}),
              ShownMessageTexts());
}

TEST_F(ResourceDocumentTest, SavingIntoAFileMovedOrDeletedSaysItIsNotFoundAndWritesNothing)
{
    ASSERT_TRUE(mDocument->ReadWINT());
    const std::string before = TempFolder::ReadFile(mPath);
    const std::string moved = File("moved.rsrc");
    std::filesystem::rename(mPath, moved);
    for (bool deleted : {false, true}) {
        if (deleted)
            std::filesystem::remove(moved);
        CResMap::errCode = 0;
        EXPECT_FALSE(mDocument->SaveWINT(handleOf("new"), 100));
        QuillformApp::ShowResError();
        EXPECT_FALSE(std::filesystem::exists(mPath));
        if (!deleted) {
            EXPECT_EQ(before, TempFolder::ReadFile(moved));
        }
    }
    EXPECT_EQ((std::vector<std::string>{"Resource error -43", "Resource error -43"}), ShownMessageTexts());
}

TEST_F(ResourceDocumentTest, ARefusedWriteLeavesTheListAsTheFileIs)
{
    ASSERT_TRUE(mDocument->ReadWINT());
    const CResMap listed = mDocument->ResMap();
    const std::string before = TempFolder::ReadFile(mPath);
    const std::function<bool()> changes[] = {
        [&] { return mDocument->AddWINT(handleOf("new"), 102, FWStr<31>("New")); },
        [&] { return mDocument->CopyWINT(100, 103, FWStr<31>("Copy")); },
        [&] { return mDocument->RenameWINT(101, 104, FWStr<31>("Renamed")); },
        [&] { return mDocument->RemoveWINT({100}); },
    };
    for (size_t i = 0; i < std::size(changes); ++i) {
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        auto previous = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 16;
        setrlimit(RLIMIT_FSIZE, &small);
        const bool result = changes[i]();
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previous);
        EXPECT_FALSE(result) << i;
        EXPECT_EQ(listed, mDocument->ResMap()) << i;
        EXPECT_EQ(before, TempFolder::ReadFile(mPath)) << i;
    }
}
