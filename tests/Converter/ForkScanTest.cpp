#include "ConverterMessages.h"
#include "ForkScan.h"
#include "HostForks.h"
#include "HostMemory.h"
#include "HostResources.h"
#include "TVector.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <sys/resource.h>

namespace {

FSRef refOf(const std::string& path)
{
    FSRef ref{};
    EXPECT_EQ(noErr, FSPathMakeRef(reinterpret_cast<const UInt8*>(path.c_str()), &ref, nullptr)) << path;
    return ref;
}

// Converts the files in order and answers what the converter showed.
std::vector<ShownMessage> convert(ConverterMessages& messages, const std::vector<std::string>& paths)
{
    InitScan();
    for (const std::string& path : paths)
        AddFile(refOf(path));
    ExecScan(PascalString());
    return messages.Shown();
}

std::string forkOf(size_t size)
{
    std::string fork(size, 0);
    for (size_t i = 0; i < size; ++i)
        fork[i] = char(i * 7 + 3);
    return fork;
}

const ShownMessage kOneCreated{"Note", "1 file (PC) was created Ok"};
const ShownMessage kNoneCreated{"Note", "No files created"};

// The header the converter writes for a name (as stored, at most 81 characters) and fork length.
std::string expectedHeader(const std::string& name, uint32_t length)
{
    std::string header(128, '\0');
    header[1] = char(name.size());
    header.replace(2, name.size(), name);
    const unsigned char numbers[] = {uint8_t(length >> 24), uint8_t(length >> 16), uint8_t(length >> 8), uint8_t(length),
                                     0x70, 0xC6, 0x9C, 0xB6, 0x70, 0xC6, 0x9C, 0xB6};
    header.replace(87, sizeof numbers, reinterpret_cast<const char*>(numbers), sizeof numbers);
    header[124] = 0x12;
    header[125] = 0x34;
    return header;
}

// Lowers the largest file this process may write for the life of the object: writes beyond it
// fail as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        mPreviousHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &mPrevious);
        rlimit limit = mPrevious;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &mPrevious);
        std::signal(SIGXFSZ, mPreviousHandler);
    }

private:
    rlimit mPrevious;
    void (*mPreviousHandler)(int);
};

} // namespace

TEST(ForkScan, WritesTheHeaderTheForkAndSixZeros)
{
    TempFolder folder;
    ConverterMessages messages;
    std::string fork = forkOf(300);
    TempFolder::WriteFile(folder.File("a.rsc"), fork);

    EXPECT_EQ(std::vector<ShownMessage>{kOneCreated}, convert(messages, {folder.File("a.rsc")}));

    std::string flat = TempFolder::ReadFile(folder.File("a.rsc(PC)"));
    ASSERT_EQ(434u, flat.size());
    const unsigned char head[] = {0, 5, 'a', '.', 'r', 's', 'c'};
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(head), sizeof head), flat.substr(0, 7));
    EXPECT_EQ(std::string(80, '\0'), flat.substr(7, 80));
    EXPECT_EQ(std::string("\x00\x00\x01\x2C", 4), flat.substr(87, 4));
    EXPECT_EQ(std::string("\x70\xC6\x9C\xB6\x70\xC6\x9C\xB6"), flat.substr(91, 8));
    EXPECT_EQ(std::string(25, '\0'), flat.substr(99, 25));
    EXPECT_EQ(std::string("\x12\x34\x00\x00", 4), flat.substr(124, 4));
    EXPECT_EQ(fork, flat.substr(128, 300));
    EXPECT_EQ(std::string(6, '\0'), flat.substr(428));
    // The input is left as it was.
    EXPECT_EQ(fork, TempFolder::ReadFile(folder.File("a.rsc")));
}

TEST(ForkScan, AResourceFileSurvivesTheRoundTrip)
{
    TempFolder folder;
    ConverterMessages messages;
    std::string path = folder.File("layouts.rsc");
    TempFolder::WriteFile(path, "");
    FSRef ref = refOf(path);
    HFSUniStr255 forkName;
    FSGetResourceForkName(&forkName);
    ASSERT_EQ(noErr, FSCreateResourceFork(&ref, forkName.length, forkName.unicode, 0));
    FSSpec spec{};
    ASSERT_EQ(noErr, FSGetCatalogInfo(&ref, kFSCatInfoNone, nullptr, nullptr, &spec, nullptr));
    SInt16 file = FSpOpenResFile(&spec, fsRdWrPerm);
    ASSERT_GT(file, 0);
    for (SInt16 id : {128, 129, 21000}) {
        Handle h = NewHandle(40 + id % 7);
        std::memset(*h, id & 0xFF, size_t(GetHandleSize(h)));
        AddResource(h, FOUR_CHAR_CODE("WINT"), id, reinterpret_cast<const unsigned char*>("\x04Main"));
        ASSERT_EQ(noErr, ResError());
    }
    UpdateResFile(file);
    ASSERT_EQ(noErr, ResError());
    CloseResFile(file);
    std::string input = TempFolder::ReadFile(path);
    ASSERT_GT(input.size(), 256u);

    EXPECT_EQ(std::vector<ShownMessage>{kOneCreated}, convert(messages, {path}));

    std::string flat = TempFolder::ReadFile(path + "(PC)");
    EXPECT_EQ(expectedHeader("layouts.rsc", uint32_t(input.size())), flat.substr(0, 128));
    EXPECT_EQ(input + std::string(6, '\0'), flat.substr(128));
}

TEST(ForkScan, ConvertingAgainReplacesTheFlatFileAndKeepsItsPermissions)
{
    TempFolder folder;
    ConverterMessages messages;
    TempFolder::WriteFile(folder.File("a.rsc"), forkOf(1000));
    convert(messages, {folder.File("a.rsc")});
    TempFolder::WriteFile(folder.File("a.rsc"), forkOf(10));
    std::filesystem::permissions(folder.File("a.rsc(PC)"), std::filesystem::perms(0640));

    EXPECT_EQ((std::vector<ShownMessage>{kOneCreated, kOneCreated}), convert(messages, {folder.File("a.rsc")}));
    EXPECT_EQ(expectedHeader("a.rsc", 10) + forkOf(10) + std::string(6, '\0'),
              TempFolder::ReadFile(folder.File("a.rsc(PC)")));
    EXPECT_EQ(std::filesystem::perms(0640), std::filesystem::status(folder.File("a.rsc(PC)")).permissions());
}

TEST(ForkScan, LongNamesAreCutToTheHeadersNameField)
{
    TempFolder folder;
    ConverterMessages messages;
    std::string name = std::string(100, 'n') + ".rsc";
    TempFolder::WriteFile(folder.File(name), "fork");

    EXPECT_EQ(std::vector<ShownMessage>{kOneCreated}, convert(messages, {folder.File(name)}));
    std::string flat = TempFolder::ReadFile(folder.File(name + "(PC)"));
    EXPECT_EQ(expectedHeader(name.substr(0, 81), 4), flat.substr(0, 128));
    EXPECT_EQ(std::string("fork") + std::string(6, '\0'), flat.substr(128));
}

TEST(ForkScan, AnEmptyOrMissingForkIsReportedAndNothingWritten)
{
    TempFolder folder;
    ConverterMessages messages;
    TempFolder::WriteFile(folder.File("empty.rsc"), "");

    EXPECT_EQ((std::vector<ShownMessage>{{"Error", "Error opening empty.rsc"}, kNoneCreated}),
              convert(messages, {folder.File("empty.rsc")}));
    EXPECT_FALSE(std::filesystem::exists(folder.File("empty.rsc(PC)")));

    ConverterMessages again;
    TempFolder::WriteFile(folder.File("gone.rsc"), "x");
    InitScan();
    AddFile(refOf(folder.File("gone.rsc")));
    std::filesystem::remove(folder.File("gone.rsc"));
    ExecScan(PascalString());
    EXPECT_EQ((std::vector<ShownMessage>{{"Error", "Error opening gone.rsc"}, kNoneCreated}), again.Shown());

    // A FIFO named like a resource file is reported at once, not waited on; Latin-1 E9 shows as 0x8E.
    ConverterMessages fifo;
    ASSERT_EQ(0, mkfifo(folder.File("x\xE9.rsc").c_str(), 0600));
    EXPECT_EQ((std::vector<ShownMessage>{{"Error", "Error opening x\x8E.rsc"}, kNoneCreated}),
              convert(fifo, {folder.File("x\xE9.rsc")}));
}

TEST(ForkScan, NoMemoryForTheForkIsReported)
{
    TempFolder folder;
    ConverterMessages messages;
    TempFolder::WriteFile(folder.File("a.rsc"), "fork");
    InitScan();
    AddFile(refOf(folder.File("a.rsc")));
    MAlloc = [](size_t) -> void* { return nullptr; };
    ExecScan(PascalString());
    MAlloc = MAllocProc;

    EXPECT_EQ((std::vector<ShownMessage>{{"Error", "Not enough memory to load a.rsc"}, kNoneCreated}),
              messages.Shown());
    EXPECT_FALSE(std::filesystem::exists(folder.File("a.rsc(PC)")));
}

TEST(ForkScan, AnOutputThatCannotBeCreatedIsReportedWithItsName)
{
    TempFolder folder;
    ConverterMessages messages;
    TempFolder::WriteFile(folder.File("a.rsc"), "fork");
    std::filesystem::create_directory(folder.File("a.rsc(PC)"));

    EXPECT_EQ((std::vector<ShownMessage>{{"Error", "Error creating a.rsc(PC)"}, kNoneCreated}),
              convert(messages, {folder.File("a.rsc")}));
    EXPECT_TRUE(std::filesystem::is_directory(folder.File("a.rsc(PC)")));
}

TEST(ForkScan, AWriteCutShortIsAnErrorAndLeavesTheEarlierFlatFileWhole)
{
    TempFolder folder;
    ConverterMessages messages;
    std::string fork = forkOf(200);
    TempFolder::WriteFile(folder.File("a.rsc"), fork);
    TempFolder::WriteFile(folder.File("a.rsc(PC)"), "earlier");

    // Room for everything but the last three of the six closing zeros; then room for the header
    // only.
    for (rlim_t limit : {rlim_t(128 + 200 + 3), rlim_t(128)}) {
        ConverterMessages attempt;
        {
            FileSizeLimit full(limit);
            InitScan();
            AddFile(refOf(folder.File("a.rsc")));
            ExecScan(PascalString());
        }
        EXPECT_EQ((std::vector<ShownMessage>{{"Error", "Error writing a.rsc(PC)"}, kNoneCreated}), attempt.Shown())
            << limit;
        EXPECT_EQ("earlier", TempFolder::ReadFile(folder.File("a.rsc(PC)")));
        EXPECT_EQ(2, std::distance(std::filesystem::directory_iterator(folder.Path()), {}));
    }
}

TEST(ForkScan, APathWithNoRoomForTheSuffixIsRefusedAndTheInputKept)
{
    TempFolder folder;
    ConverterMessages messages;
    // A path of 252 bytes: with "(PC)" it would pass the 254 characters of the output path.
    std::string sub = folder.File(std::string(100, 's'));
    std::filesystem::create_directory(sub);
    std::string name = std::string(252 - sub.size() - 1 - 4, 'b') + ".rsc";
    std::string path = sub + "/" + name;
    ASSERT_EQ(252u, path.size());
    TempFolder::WriteFile(path, "precious");

    EXPECT_EQ((std::vector<ShownMessage>{{"Error", "Error creating " + name + "(PC)"}, kNoneCreated}),
              convert(messages, {path}));
    EXPECT_EQ("precious", TempFolder::ReadFile(path));
    EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(sub), {}));

    // Exactly 250 bytes leave room for the suffix.
    ConverterMessages fits;
    std::string shorter = sub + "/" + name.substr(2);
    TempFolder::WriteFile(shorter, "fork");
    EXPECT_EQ(std::vector<ShownMessage>{kOneCreated}, convert(fits, {shorter}));
    EXPECT_EQ(254u, (shorter + "(PC)").size());
    EXPECT_TRUE(std::filesystem::exists(shorter + "(PC)"));
}

TEST(ForkScan, AFlatFileNameLinkedToTheInputNeverWritesThroughToIt)
{
    TempFolder folder;
    ConverterMessages messages;
    TempFolder::WriteFile(folder.File("a.rsc"), "fork");
    std::filesystem::create_symlink(folder.File("a.rsc"), folder.File("a.rsc(PC)"));

    EXPECT_EQ(std::vector<ShownMessage>{kOneCreated}, convert(messages, {folder.File("a.rsc")}));
    EXPECT_EQ("fork", TempFolder::ReadFile(folder.File("a.rsc")));
    EXPECT_FALSE(std::filesystem::is_symlink(folder.File("a.rsc(PC)")));
    EXPECT_EQ(expectedHeader("a.rsc", 4) + "fork" + std::string(6, '\0'), TempFolder::ReadFile(folder.File("a.rsc(PC)")));
}

TEST(ForkScan, AFailureAsksWhetherToGoOnWhileFilesRemain)
{
    TempFolder folder;
    TempFolder::WriteFile(folder.File("bad.rsc"), "");
    TempFolder::WriteFile(folder.File("good.rsc"), "fork");
    const ShownMessage question{"Question", "Error opening bad.rsc"};
    {
        ConverterMessages messages;
        messages.AnswerQuestions({true});
        EXPECT_EQ((std::vector<ShownMessage>{question, kOneCreated}),
                  convert(messages, {folder.File("bad.rsc"), folder.File("good.rsc")}));
        EXPECT_TRUE(std::filesystem::exists(folder.File("good.rsc(PC)")));
        std::filesystem::remove(folder.File("good.rsc(PC)"));
    }
    {
        ConverterMessages messages;
        messages.AnswerQuestions({false});
        EXPECT_EQ((std::vector<ShownMessage>{question, kNoneCreated}),
                  convert(messages, {folder.File("bad.rsc"), folder.File("good.rsc")}));
        EXPECT_FALSE(std::filesystem::exists(folder.File("good.rsc(PC)")));
    }
    {
        ConverterMessages messages;
        EXPECT_EQ((std::vector<ShownMessage>{{"Error", "Error opening bad.rsc"}, kOneCreated}),
                  convert(messages, {folder.File("good.rsc"), folder.File("bad.rsc")}));
    }
    {
        ConverterMessages messages;
        TempFolder::WriteFile(folder.File("other.rsc"), "x");
        EXPECT_EQ((std::vector<ShownMessage>{{"Note", "3 files (PC) were created Ok"}}),
                  convert(messages, {folder.File("good.rsc"), folder.File("other.rsc"), folder.File("good.rsc")}));
    }
}

TEST(ForkScan, AnEmptyListConvertsNothingAndShowsNoNote)
{
    ConverterMessages messages;
    EXPECT_TRUE(convert(messages, {}).empty());
}

TEST(ForkScan, TheFileNameFollowsTheLastSeparatorOfAnyKind)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/d/a.rsc", "a.rsc"}, {"Disk:Folder:a.rsc", "a.rsc"}, {"d\\e\\a.rsc", "a.rsc"}, {"C:\\d\\a.rsc", "\\d\\a.rsc"},
        {"/d/x:y.rsc", "x:y.rsc"}, {"a.rsc", "a.rsc"}, {"/d/", ""},
    };
    for (auto [path, name] : cases) {
        PascalString p;
        p = path;
        EXPECT_STREQ(name, GetFileName(p).CStr()) << path;
    }
}

TEST(TVector, GrowsByHalvesAndKeepsItsItemsWhenNoBlockCanBeHad)
{
    TVector<FSRef> list;
    std::vector<int32_t> capacities;
    for (int i = 0; i < 40; ++i) {
        FSRef* slot = list.ElemNew();
        ASSERT_NE(nullptr, slot);
        std::snprintf(slot->path, sizeof slot->path, "/f%d", i);
        if (capacities.empty() || capacities.back() != list.capacity)
            capacities.push_back(list.capacity);
    }
    EXPECT_EQ((std::vector<int32_t>{16, 24, 36, 54}), capacities);
    while (list.count < list.capacity)
        list.ElemNew();
    MAlloc = [](size_t) -> void* { return nullptr; };
    EXPECT_EQ(nullptr, list.ElemNew());
    MAlloc = MAllocProc;
    EXPECT_EQ(54, list.count);
    EXPECT_STREQ("/f39", list.items[39].path);
    EXPECT_TRUE(list.Allocate(54));
    list.Free();
    EXPECT_EQ(nullptr, list.items);
    EXPECT_EQ(0, list.capacity);
}
