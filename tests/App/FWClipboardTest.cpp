#include "FWClipboard.h"

#include "FWApp.h"
#include "FWClipboardPAC.h"
#include "HostPasteboard.h"
#include "ImageBuffer.h"
#include "TIFFMaker.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

class FWClipboardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HostClipboardClear();
        clipboard = FWClipboard::Instance();
        clipboard->ClearClipboard();
    }
    void TearDown() override
    {
        clipboard->ClearClipboard();
        HostClipboardClear();
    }

    static ImageBuffer* makeImage(int width, int height, uint32_t value)
    {
        const FWRect rect(0, 0, int16_t(width), int16_t(height));
        auto* image = new ImageBuffer(&rect, kImageBufferDepth32);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                pixel(*image, x, y) = value;
        return image;
    }
    static uint32_t& pixel(const ImageBuffer& image, int x, int y)
    {
        return reinterpret_cast<uint32_t*>(image.BaseAddr() + y * image.RowBytes())[x];
    }
    const FWClipboardText* text() const
    {
        return static_cast<const FWClipboardText*>(clipboard->GetClipData(&typeid(FWClipboardText)));
    }
    FWClipboardImage* image() const
    {
        return static_cast<FWClipboardImage*>(clipboard->GetClipData(&typeid(FWClipboardImage)));
    }
    static HostClipboardFlavor tiffFlavor(const std::vector<uint8_t>& bytes) { return {kUTTypeTIFF, bytes}; }

    FWClipboard* clipboard = nullptr;
};

class DerivedText : public FWClipboardText {
public:
    using FWClipboardText::FWClipboardText;
};

} // namespace

TEST_F(FWClipboardTest, KeepsOneItemPerClassInItsPlace)
{
    EXPECT_EQ(clipboard, FWClipboard::Instance());
    clipboard->AddClipData(new FWClipboardText(FWDynamicString("first")));
    std::unique_ptr<ImageBuffer> source(makeImage(3, 2, 0xFF102030));
    clipboard->AddClipData(new FWClipboardImage(*source));
    clipboard->AddClipData(new FWClipboardText(FWDynamicString("second")));
    ASSERT_EQ(2u, clipboard->Size());
    EXPECT_EQ(&typeid(FWClipboardText), &typeid(*clipboard->ItemAt(0)));
    EXPECT_TRUE(text()->Text() == "second");
    // A subclass is a class of its own: it neither replaces nor is found as its base.
    clipboard->AddClipData(new DerivedText(FWDynamicString("derived")));
    EXPECT_EQ(3u, clipboard->Size());
    EXPECT_TRUE(text()->Text() == "second");
    EXPECT_TRUE(clipboard->HasClipData(&typeid(DerivedText)));
    EXPECT_FALSE(clipboard->HasClipData(&typeid(FWClipboardData)));
    clipboard->ClearClipboard();
    EXPECT_EQ(0u, clipboard->Size());
    EXPECT_EQ(nullptr, text());
}

TEST_F(FWClipboardTest, ImageItemIsAnOwnCopyOfTheSource)
{
    std::unique_ptr<ImageBuffer> source(makeImage(4, 3, 0xFF336699));
    pixel(*source, 3, 2) = 0xFFFF0000;
    FWClipboardImage item(*source);
    source.reset();
    const ImageBuffer* copy = item.Image();
    ASSERT_TRUE(copy->Valid());
    EXPECT_EQ(FWRect(0, 0, 4, 3), copy->GetRect());
    EXPECT_EQ(kImageBufferDepth32, copy->Depth());
    EXPECT_EQ(0xFF336699u, pixel(*copy, 0, 0));
    EXPECT_EQ(0xFFFF0000u, pixel(*copy, 3, 2));
}

TEST_F(FWClipboardTest, ImportsTextInTheSystemEncodingCutToFiveMegabytes)
{
    HostClipboardAddText(std::string(6 * 1024 * 1024, 'x'));
    clipboard->ImportPlatformClipboard();
    ASSERT_NE(nullptr, text());
    EXPECT_EQ(5242880u, text()->Text().GetCurrLength());
    EXPECT_EQ(nullptr, image());

    // Mac Roman's letters keep their byte (e acute 0x8E, U diaeresis 0x86); Cyrillic Zhe and a byte
    // of no character become "?"; the cut falls after a letter whose UTF-8 straddles 5 MB.
    HostClipboardClear();
    HostClipboardAddText(std::string(5242873, 'x') + "\xC3\x9C \xD0\x96\xFF\xC3\xA9z");
    clipboard->ImportPlatformClipboard();
    EXPECT_STREQ("\x86 ??\x8Ez", text()->Text().GetCString() + 5242873);
}

TEST_F(FWClipboardTest, ImportsTextAndImageAndReplacesHeldItems)
{
    clipboard->AddClipData(new FWClipboardText(FWDynamicString("held")));
    // Row 0: opaque red, half-transparent white; row 1: blue, transparent.
    const std::vector<uint32_t> pixels{0xFFFF0000, 0x80FFFFFF, 0xFF0000FF, 0x00000000};
    HostClipboardAddItem({{"public.png", {1, 2, 3}}, {kUTTypeUTF8PlainText, {'h', 0xC3, 0xA9}},
                          tiffFlavor(MakeTIFF(2, 2, pixels, true))});
    clipboard->ImportPlatformClipboard();
    ASSERT_EQ(2u, clipboard->Size());
    ASSERT_NE(nullptr, text());
    EXPECT_TRUE(text()->Text() == "h\x8E");
    ASSERT_NE(nullptr, image());
    const ImageBuffer& imported = *image()->Decode();
    EXPECT_EQ(FWRect(0, 0, 2, 2), imported.GetRect());
    EXPECT_EQ(0xFFFF0000u, pixel(imported, 0, 0));
    EXPECT_EQ(0xFF0000FFu, pixel(imported, 0, 1));
    // Transparency is laid over black and the image comes out opaque.
    EXPECT_EQ(0xFF808080u, pixel(imported, 1, 0));
    EXPECT_EQ(0xFF000000u, pixel(imported, 1, 1));
}

TEST_F(FWClipboardTest, TakesOnlyTheFirstTextAndTheFirstImage)
{
    HostClipboardAddItem({{kUTTypeUTF8PlainText, {}}});
    HostClipboardAddText("later");
    HostClipboardAddItem({tiffFlavor({'n', 'o', 't'})});
    HostClipboardAddItem({tiffFlavor(MakeTIFF(1, 1, {0xFF00FF00}))});
    clipboard->ImportPlatformClipboard();
    // Empty text is skipped and counts as the text taken; so is an image that does not decode.
    EXPECT_EQ(0u, clipboard->Size());
    EXPECT_FALSE(clipboard->ImageTooLarge());
    HostClipboardClear();
    HostClipboardAddItem({tiffFlavor(MakeTIFF(2, 40000, std::vector<uint32_t>(80000, 0xFF00FF00)))});
    clipboard->ImportPlatformClipboard();
    EXPECT_TRUE(image() == nullptr && clipboard->ImageTooLarge()) << "refused for its size";
}

TEST_F(FWClipboardTest, ReadFailureKeepsWhatWasImportedBefore)
{
    HostClipboardAddText("kept");
    HostClipboardAddItem({tiffFlavor(MakeTIFF(1, 1, {0xFF00FF00}))});
    clipboard->ImportPlatformClipboard();
    ASSERT_EQ(2u, clipboard->Size());

    HostClipboardClear();
    HostClipboardAddText("new text");
    HostClipboardAddItem({tiffFlavor(MakeTIFF(2, 1, {0xFF000000, 0xFF000000}))});
    HostClipboardFailNextRead(-25133);
    clipboard->ImportPlatformClipboard();
    // The first read failed: nothing changed, and the image after it was not reached.
    EXPECT_TRUE(text()->Text() == "kept");
    EXPECT_EQ(1, image()->Decode()->GetRect().Width());
}

TEST_F(FWClipboardTest, TheSourceOfADisplayFillsTheClipboard)
{
    HostSetClipboardSource([](std::vector<HostClipboardItem>& items) {
        // A display's PNG is taken as its TIFF would be.
        items = {{{kUTTypeUTF8PlainText, {'d', 'i', 's', 'p'}}, {kUTTypePNG, MakePatternPNG(3, 1)}}};
        return HostClipboardAnswer::kRead;
    });
    clipboard->ImportPlatformClipboard();
    HostSetClipboardSource(nullptr);
    ASSERT_NE(nullptr, text());
    EXPECT_TRUE(text()->Text() == "disp");
    ASSERT_NE(nullptr, image());
    EXPECT_EQ(3, image()->Decode()->GetRect().Width());
    EXPECT_EQ(PatternPixel(2, 0), pixel(*image()->Decode(), 2, 0));

    FWApp::Uninit(); // a later start imports the system clipboard as it is then
    HostClipboardClear();
    HostClipboardAddText("now");
    ASSERT_TRUE(FWApp::Init());
    clipboard = FWClipboard::Instance();
    EXPECT_TRUE(text() != nullptr && text()->Text() == "now" && image() == nullptr);
}

TEST_F(FWClipboardTest, ACopyArrivingPartByPartIsTakenAsItComesAndItsBytesAreLent)
{
    // A display's copy: the text first with the image promised, then the image; then the same
    // bytes read again (no new copy), then a new copy of them. Every answer brings fresh bytes, as
    // a display's reader hands them over: the test holds none.
    static std::string sWords = "two";
    static int sWidth = -1; // of the image; -1 while it is on its way
    static bool sNew = false;
    static int sAsked = 0;
    HostSetClipboardSource([](std::vector<HostClipboardItem>& items) {
        if (std::exchange(sNew, false))
            HostClipboardNoteNewCopy();
        items = {{sWords.empty() ? HostClipboardFlavor::Promised(kUTTypeUTF8PlainText)
                                 : HostClipboardFlavor(kUTTypeUTF8PlainText, {sWords.begin(), sWords.end()}),
                  sWidth < 0 ? HostClipboardFlavor::Promised(kUTTypePNG)
                             : HostClipboardFlavor(kUTTypePNG, MakePatternPNG(int16_t(sWidth), 1))}};
        return HostClipboardAnswer::kRead;
    }, [] { ++sAsked, sWidth = -1; });
    clipboard->ImportPlatformClipboard();
    EXPECT_TRUE(text() != nullptr && text()->Text() == "two");
    EXPECT_EQ(nullptr, image()) << "promised, not yet here";
    EXPECT_FALSE(clipboard->WaitForPlatformImage()) << "headless, the wait is answered by its Cancel";
    clipboard->ImportPlatformClipboard(); // finds the text taken, which stops nothing
    clipboard->AddClipData(new FWClipboardText(FWDynamicString("mine"))); // copied inside meanwhile
    sWidth = 3;
    FWClipboardPAC::ImportIfChanged();
    EXPECT_TRUE(text()->Text() == "mine") << "the image completes the copy, which replaces nothing";
    ASSERT_NE(nullptr, image());
    EXPECT_TRUE(clipboard->WaitForPlatformImage());
    const ImageBuffer* decoded = image()->Decode();
    ASSERT_NE(nullptr, decoded);
    EXPECT_EQ(PatternPixel(2, 0), pixel(*decoded, 2, 0));
    PasteboardRef ref = nullptr;
    PasteboardItemID item = 0;
    PasteboardFlavorFlags flags = 0;
    ASSERT_EQ(noErr, PasteboardCreate(kPasteboardClipboard, &ref));
    PasteboardGetItemFlavorFlags(ref, (PasteboardGetItemIdentifier(ref, 1, &item), item), kUTTypePNG, &flags);
    PasteboardRelease(ref);
    EXPECT_EQ(kPasteboardFlavorTaken, flags) << "decoded, only the pixels stay";

    FWClipboardPAC::ImportIfChanged();
    EXPECT_TRUE(text()->Text() == "mine") << "the same copy read again";
    // Emptied by a copy inside, the clipboard has the image asked for again, as the same copy.
    clipboard->ClearClipboard();
    clipboard->AddClipData(new FWClipboardText(FWDynamicString("mine")));
    EXPECT_FALSE(clipboard->WaitForPlatformImage()) << "asked again, on its way";
    sWidth = 3;
    FWClipboardPAC::ImportIfChanged();
    EXPECT_TRUE(sAsked == 1 && image() != nullptr && text()->Text() == "mine");
    sWords = "six"; // bytes of the same size, another copy even untold
    FWClipboardPAC::ImportIfChanged();
    EXPECT_TRUE(text()->Text() == "six");
    clipboard->AddClipData(new FWClipboardText(FWDynamicString("mine")));
    sNew = true;
    FWClipboardPAC::ImportIfChanged();
    EXPECT_TRUE(text()->Text() == "six") << "a new copy of the same bytes";
    sWords.clear(); // a new owner whose text is on its way: a paste waits for it
    sNew = true;
    FWClipboardPAC::ImportIfChanged();
    EXPECT_EQ(nullptr, text()) << "the copy before is not pasted";
    EXPECT_FALSE(clipboard->WaitForPlatformText()) << "headless, the wait is answered by its Cancel";
    sWords = "late";
    FWClipboardPAC::ImportIfChanged();
    EXPECT_TRUE(clipboard->WaitForPlatformText() && text()->Text() == "late");
    HostSetClipboardSource(nullptr);
}
