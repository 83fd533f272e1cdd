// The resource files the build made: every manifest entry is in the application's file, every
// image decodes to exactly its PNG source, the sample file opens, and every layout saves as it
// is stored.
#include "DiskImage.h"
#include "FWViewMngr.h"
#include "FWWindow.h"
#include "HostDesktopScope.h"
#include "HostMemory.h"
#include "HostPNG.h"
#include "HostResourceFile.h"
#include "HostResources.h"
#include "LayoutEntries.h"
#include "MacRomanText.h"
#include "RsrcManifest.h"

#include "PixelFixtures.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

namespace {

constexpr ResType kArgb = FOUR_CHAR_CODE("argb");
constexpr ResType kPict = FOUR_CHAR_CODE("PICT");
constexpr ResType kCursor = FOUR_CHAR_CODE("crsr");

FSSpec specOf(const std::string& path)
{
    const std::filesystem::path p(path);
    const std::string folder = p.parent_path().string();
    const std::string name = p.filename().string();
    FSSpec spec{};
    spec.vRefNum = kHostVolumeRefNum;
    std::memcpy(spec.parentPath, folder.c_str(), folder.size() + 1);
    spec.name[0] = uint8_t(name.size());
    std::memcpy(spec.name + 1, name.data(), name.size());
    return spec;
}

std::vector<uint8_t> bytesOf(Handle h)
{
    return std::vector<uint8_t>(*h, *h + GetHandleSize(h));
}

uint16_t word16(const std::vector<uint8_t>& b, size_t at)
{
    return uint16_t(b.at(at) << 8 | b.at(at + 1));
}

class BuiltFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mManifest = RsrcManifest::Load(FW_RSRC_MANIFEST);
        const FSSpec spec = specOf(FW_APP_RSRC);
        mFile = FSpOpenResFile(&spec, fsRdPerm);
        ASSERT_NE(-1, mFile) << FW_APP_RSRC << " does not open: " << ResError();
    }
    void TearDown() override
    {
        if (mFile != -1)
            CloseResFile(mFile);
    }

    HostPixelMap source(const RsrcManifest::Entry& entry)
    {
        HostPixelMap pixels;
        EXPECT_EQ(noErr, HostReadPNG(mManifest.SourcePath(entry).c_str(), pixels)) << entry.source;
        return pixels;
    }

    RsrcManifest mManifest;
    SInt16 mFile = -1;
};

TEST_F(BuiltFileTest, HoldsEveryManifestEntryAndNothingElse)
{
    ASSERT_FALSE(mManifest.Entries().empty());
    std::map<ResType, int> perType;
    for (const RsrcManifest::Entry& entry : mManifest.Entries()) {
        ++perType[entry.type];
        Handle h = Get1Resource(entry.type, entry.id);
        ASSERT_NE(nullptr, h) << RsrcManifest::Describe(entry.type, entry.id) << " is missing";
        Str255 name;
        GetResInfo(h, nullptr, nullptr, name);
        EXPECT_EQ(MacRomanText::FromUTF8(entry.purpose), std::string(reinterpret_cast<char*>(name + 1), name[0]));
    }
    for (const auto& [type, count] : perType)
        EXPECT_EQ(count, Count1Resources(type)) << RsrcManifest::Describe(type, 0);
}

TEST_F(BuiltFileTest, HoldsTheImagesTheFrameworkAsksFor)
{
    // The window, view-manager, control and outline-view images, and the cursors.
    const std::vector<std::pair<ResType, ResID>> wanted = {
        {kArgb, 17}, {kArgb, 32}, {kArgb, 33}, {kArgb, 130}, {kArgb, 131}, {kArgb, 140}, {kArgb, 141},
        {kArgb, 142}, {kArgb, 700}, {kArgb, 5003}, {kArgb, 5005}, {kArgb, 5006}, {kArgb, 5007}, {kArgb, 5008},
        {kPict, 5010}, {kCursor, 1000}, {kCursor, 10001}, {kCursor, 10002}, {kArgb, 1002}, {kArgb, 1010},
    };
    std::vector<std::pair<ResType, ResID>> all = wanted;
    for (ResID id = 60; id <= 71; ++id)
        all.push_back({kArgb, id});
    for (ResID id : {710, 711, 712, 713, 714, 720, 721, 722})
        all.push_back({kArgb, id});
    for (ResID id = 400; id <= 404; ++id)
        all.push_back({kPict, id});
    // The Shader dialog's list icons and its layout.
    for (ResID id = 410; id <= 416; ++id)
        all.push_back({kPict, id});
    all.push_back({FOUR_CHAR_CODE("WINT"), 21000});
    for (ResID id = 2000; id <= 2018; ++id)
        if (id != 2011) // no control uses it
            all.push_back({kArgb, id});
    for (const auto& [type, id] : all)
        EXPECT_NE(nullptr, Get1Resource(type, id)) << RsrcManifest::Describe(type, id);
}

TEST_F(BuiltFileTest, ImagesDecodeToTheirSourcesExactly)
{
    int images = 0;
    for (const RsrcManifest::Entry& entry : mManifest.Entries()) {
        if (entry.type != kArgb && entry.type != kPict)
            continue;
        ++images;
        const std::string what = RsrcManifest::Describe(entry.type, entry.id) + " " + entry.source;
        const HostPixelMap png = source(entry);
        DiskImage* image = DiskImage::Acquire(entry.id, entry.type);
        ASSERT_NE(nullptr, image) << what;
        ASSERT_TRUE(image->Valid()) << what;
        ASSERT_EQ(png.Width(), image->GetRect().right - image->GetRect().left) << what;
        ASSERT_EQ(png.Height(), image->GetRect().bottom - image->GetRect().top) << what;

        bool anyClear = false;
        for (int32_t y = 0; y < png.Height(); ++y)
            for (int32_t x = 0; x < png.Width(); ++x) {
                const uint32_t expected = png.Get(x, y);
                anyClear = anyClear || HostAlphaOf(expected) != 255;
                ASSERT_EQ(expected, reinterpret_cast<const uint32_t*>(image->BaseAddr() + y * image->RowBytes())[x]) << what << " at " << x << ", " << y;
            }

        // The mask has a bit for every pixel that is not fully transparent, and exists only
        // when some pixel is not opaque.
        const ImageBuffer* mask = image->GetMask();
        ASSERT_EQ(anyClear, mask != nullptr) << what;
        if (mask != nullptr)
            for (int32_t y = 0; y < png.Height(); ++y)
                for (int32_t x = 0; x < png.Width(); ++x) {
                    const bool set = (mask->BaseAddr()[y * mask->RowBytes() + x / 8] >> (7 - x % 8)) & 1;
                    ASSERT_EQ(HostAlphaOf(png.Get(x, y)) != 0, set) << what << " mask at " << x << ", " << y;
                }
        DiskImage::Release(image);
    }
    EXPECT_GT(images, 50);
}

// Reads a colour cursor back: the indexed pixels through their table, where the mask is set.
std::vector<uint32_t> cursorPixels(const std::vector<uint8_t>& crsr)
{
    const size_t map = 96;
    const int rowBytes = word16(crsr, map + 4) & 0x3FFF;
    const int pixelSize = word16(crsr, map + 32);
    const size_t table = size_t(word16(crsr, map + 42)) << 16 | word16(crsr, map + 44);
    std::map<int, uint32_t> colours;
    for (int i = 0; i <= word16(crsr, table + 6); ++i) {
        const size_t at = table + 8 + size_t(i) * 8;
        colours[word16(crsr, at)] = HostArgb(255, crsr.at(at + 2), crsr.at(at + 4), crsr.at(at + 6));
    }
    std::vector<uint32_t> words;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const bool inMask = (word16(crsr, 52 + size_t(y) * 2) >> (15 - x)) & 1;
            const int bit = x * pixelSize;
            const uint8_t byte = crsr.at(146 + size_t(y) * size_t(rowBytes) + size_t(bit / 8));
            const int index = (byte >> (8 - pixelSize - bit % 8)) & ((1 << pixelSize) - 1);
            words.push_back(inMask ? colours.at(index) : 0);
        }
    return words;
}

TEST_F(BuiltFileTest, CursorsShowTheirSources)
{
    for (const RsrcManifest::Entry& entry : mManifest.Entries()) {
        if (entry.type != kCursor)
            continue;
        Handle h = Get1Resource(kCursor, entry.id);
        ASSERT_NE(nullptr, h);
        const std::vector<uint8_t> crsr = bytesOf(h);
        std::vector<uint32_t> expected = WordsOf(source(entry));
        for (uint32_t& word : expected)
            if (HostAlphaOf(word) == 0)
                word = 0;
        EXPECT_EQ(expected, cursorPixels(crsr)) << entry.source;
        EXPECT_EQ(entry.hotSpot.v, word16(crsr, 84));
        EXPECT_EQ(entry.hotSpot.h, word16(crsr, 86));
    }
}

TEST_F(BuiltFileTest, MenuBarNamesTheApplicationMenuWithAboutFirst)
{
    Handle bar = Get1Resource(FOUR_CHAR_CODE("MBAR"), 128);
    ASSERT_NE(nullptr, bar);
    EXPECT_EQ(std::vector<uint8_t>({0, 1, 0, 128}), bytesOf(bar));

    Handle menu = Get1Resource(FOUR_CHAR_CODE("MENU"), 128);
    ASSERT_NE(nullptr, menu);
    const std::vector<uint8_t> bytes = bytesOf(menu);
    EXPECT_EQ(128, word16(bytes, 0));
    EXPECT_EQ(0x0003, word16(bytes, 12)); // the menu and its About item enabled
    const size_t title = 14;
    const size_t item = title + 1 + bytes.at(title);
    const std::string about(bytes.begin() + long(item) + 1, bytes.begin() + long(item) + 1 + bytes.at(item));
    EXPECT_EQ("About quillform...", about);
    EXPECT_EQ(0, bytes.back());
}

TEST_F(BuiltFileTest, AlertTextsAreStrings)
{
    for (ResID id : {200, 201}) {
        Handle h = Get1Resource(FOUR_CHAR_CODE("STR "), id);
        ASSERT_NE(nullptr, h) << id;
        const std::vector<uint8_t> bytes = bytesOf(h);
        ASSERT_FALSE(bytes.empty());
        EXPECT_EQ(bytes.size(), size_t(bytes[0]) + 1);
        EXPECT_GT(bytes[0], 10);
    }
}

TEST(SampleFile, HoldsItsLayouts)
{
    const FSSpec spec = specOf(FW_SAMPLE_RSRC);
    SInt16 file = FSpOpenResFile(&spec, fsRdPerm);
    ASSERT_NE(-1, file);
    EXPECT_EQ(3, Count1Resources(FOUR_CHAR_CODE("WINT")));
    for (const auto& [id, expected] :
         std::vector<std::pair<ResID, std::string>>{{128, "Main"}, {129, "Second"}, {21000, "Interface"}}) {
        Handle h = Get1Resource(FOUR_CHAR_CODE("WINT"), id);
        ASSERT_NE(nullptr, h) << id;
        Str255 name;
        GetResInfo(h, nullptr, nullptr, name);
        EXPECT_EQ(expected, std::string(reinterpret_cast<char*>(name + 1), name[0]));
    }
    CloseResFile(file);
}

// Every layout of the program's own files, loaded into a window and saved, gives back its
// stored bytes: the build writes them as the program itself does.
TEST(BuiltLayouts, SaveAsTheyAreStored)
{
    HostDesktopScope desk;
    const FSSpec appSpec = specOf(FW_APP_RSRC);
    const FSSpec sampleSpec = specOf(FW_SAMPLE_RSRC);
    const SInt16 app = FSpOpenResFile(&appSpec, fsRdPerm);
    ASSERT_NE(-1, app);
    const SInt16 sample = FSpOpenResFile(&sampleSpec, fsRdPerm);
    ASSERT_NE(-1, sample);
    int layouts = 0;
    for (const auto& [file, name] : {std::pair{app, "quillform.rsrc"}, std::pair{sample, "Sample.rsrc"}}) {
        UseResFile(file);
        for (SInt16 i = 1; i <= Count1Resources(FOUR_CHAR_CODE("WINT")); ++i, ++layouts) {
            Handle h = Get1IndResource(FOUR_CHAR_CODE("WINT"), i);
            ASSERT_NE(nullptr, h);
            ResID id = 0;
            GetResInfo(h, &id, nullptr, nullptr);
            const std::vector<uint8_t> stored = bytesOf(h);
            FWWindow window;
            ASSERT_TRUE(window.ViewMngr().InitializeFromData(reinterpret_cast<const char*>(stored.data()),
                                                             uint32_t(stored.size())))
                << name << " " << id;
            window.ViewMngr().WindowBecameVisible(); // shown, as the editor shows it
            EXPECT_TRUE(stored == SavedLayout(window.ViewMngr())) << name << " " << id;
        }
    }
    EXPECT_EQ(23, layouts);
    CloseResFile(sample);
    CloseResFile(app);
}

} // namespace
