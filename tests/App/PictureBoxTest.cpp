// The picture box and the static text: the two views that size themselves to what they show.
#include "PictureBox.h"
#include "StaticText.h"

#include "ControlTestWindow.h"
#include "DiskImage.h"
#include "FWFont.h"
#include "FWStr.h"
#include "FWViewMngr.h"
#include "HostResourceFile.h"
#include "HostResources.h"
#include "ProgrammerMessageRecorder.h"
#include "SampleImages.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr uint32_t kArgb = FOUR_CHAR_CODE("argb");

// The program's resources for the test: 32 x 32 pictures 128 and -3, and the default picture 17.
class PictureResources {
public:
    PictureResources()
    {
        const ByteBuilder picture = SampleArgb(32, 32, 0xFF102030);
        const ByteBuilder standard = SampleArgb(8, 6, 0xFF405060);
        std::vector<HostResourceToWrite> resources{{kArgb, 128, 0, nullptr, picture.Data().data(), uint32_t(picture.Size())},
                                                   {kArgb, 17, 0, nullptr, standard.Data().data(), uint32_t(standard.Size())},
                                                   {kArgb, -3, 0, nullptr, picture.Data().data(), uint32_t(picture.Size())}};
        std::vector<HostResourceRecord> written;
        HostResourceFile::Build(resources, 0, nullptr, mFile, written);
        mRef = HostOpenMemoryResFile(mFile.data(), mFile.size());
    }
    ~PictureResources() { CloseResFile(mRef); }

private:
    std::vector<uint8_t> mFile;
    SInt16 mRef = -1;
};

} // namespace

TEST(PictureBox, TheViewFollowsThePictureAndMissingPicturesShowTheDefault)
{
    PictureResources resources;
    FWViewMngr::InitInterfaceIcons();
    ControlTestWindow w;
    ASSERT_NE(nullptr, FWViewMngr::defaultPicture);
    struct Case {
        int32_t id;
        uint32_t type;
        bool isDefault;
        FWRect rect;
    } cases[] = {
        {128, kArgb, false, FWRect(5, 7, 39, 41)},
        {128, FOUR_CHAR_CODE("cicn"), true, FWRect(5, 7, 15, 15)}, // 'cicn', then 'PICT': none
        {17, kArgb, true, FWRect(5, 7, 15, 15)},
        {999, kArgb, true, FWRect(5, 7, 15, 15)},
        {0, kArgb, true, FWRect(5, 7, 15, 15)},
    };
    for (const Case& c : cases) {
        PictureBox box;
        box.Init(&w.Window(), FWRect(5, 7, 100, 100), c.id, c.type);
        EXPECT_EQ(c.isDefault, box.GetImage() == static_cast<const ImageBuffer*>(FWViewMngr::defaultPicture)) << c.id;
        EXPECT_EQ(c.rect, box.GetRect()) << c.id;
        FWRect inset = c.rect;
        inset.Inset(1, 1);
        EXPECT_EQ(inset, box.GetPictureRect()) << c.id;
    }

    // A stored picture box of id 0 shows the default picture; the type comes back as 'argb'.
    PictureBox zero;
    zero.Init(&w.Window(), FWRect(0, 0, 50, 50), 0, FOUR_CHAR_CODE("PICT"));
    std::unique_ptr<FWView> back(ReadStoredRecord("PictureBox", StoredRecord(zero)));
    auto* read = static_cast<PictureBox*>(back.get());
    EXPECT_EQ(static_cast<const ImageBuffer*>(FWViewMngr::defaultPicture), read->GetImage());
    EXPECT_EQ(kArgb, read->GetResType());
    EXPECT_EQ(zero.GetPictureRect(), read->GetPictureRect());

    // Stored, a negative id is looked up too: the picture its dialog gave it comes back.
    zero.SetPicture(-3);
    back.reset(ReadStoredRecord("PictureBox", StoredRecord(zero)));
    EXPECT_EQ(DiskImage::Acquire(-3, kArgb), static_cast<PictureBox*>(back.get())->GetImage());
}

TEST(StaticText, ASingleLineIsItsTextWideAnd13HighAndLongTextsAreCut)
{
    ControlTestWindow w;
    const FWStr<255> text("Name:");
    StaticText line;
    line.Init(&w.Window(), FWRect(10, 20, 300, 200), &text, StaticText::kSingleLine);
    const int width = w.Window().Font().GetStringWidth("Name:", 5);
    EXPECT_EQ(FWRect(10, 20, int16_t(10 + width), 33), line.GetRect());
    EXPECT_EQ(FWPoint(10, 30), line.GetTextPoint());

    StaticText wrapped;
    const FWDynamicString longText(std::string(300, 'w').c_str());
    wrapped.Init(&w.Window(), FWRect(10, 20, 300, 200), &longText, StaticText::kPlainWrapped);
    EXPECT_EQ(FWRect(10, 20, 300, 200), wrapped.GetRect());
    EXPECT_EQ(255u, wrapped.GetText().GetCurrLength());

    // Stored and read back: the style, the point and the text, with no new layout.
    std::unique_ptr<FWView> back(ReadStoredRecord("StaticText", StoredRecord(line)));
    auto* read = static_cast<StaticText*>(back.get());
    EXPECT_EQ(StaticText::kSingleLine, read->GetStyle());
    EXPECT_EQ(FWPoint(10, 30), read->GetTextPoint());
    EXPECT_STREQ("Name:", read->GetText().GetCString());

    ProgrammerMessageRecorder messages;
    std::vector<uint8_t> record = StoredRecord(line);
    record[0] = 9;
    std::unique_ptr<FWView> unknown(ReadStoredRecord("StaticText", record));
    EXPECT_EQ((std::vector<std::string>{"Unknown 'StaticText' version"}), messages.Texts());
}
