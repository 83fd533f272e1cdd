#include "DiskImage.h"
#include "HostResourceFile.h"
#include "HostResources.h"

#include "ByteBuilder.h"
#include "SampleImages.h"
#include "ProgrammerMessageRecorder.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t kArgb = FOUR_CHAR_CODE("argb");
constexpr uint32_t kPict = FOUR_CHAR_CODE("PICT");
constexpr uint32_t kCicn = FOUR_CHAR_CODE("cicn");
constexpr uint32_t kPreview = FOUR_CHAR_CODE("QZPV");

uint32_t pixel(const ImageBuffer& image, int x, int y)
{
    return reinterpret_cast<const uint32_t*>(image.BaseAddr() + y * image.RowBytes())[x];
}

ByteBuilder argb(std::initializer_list<uint32_t> words)
{
    ByteBuilder b;
    b.Long(int64_t(words.size())).Long(1).Byte(0x80 + int(words.size()) - 1);
    for (uint32_t w : words)
        b.Long(w);
    return b;
}

class DiskImageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::vector<uint8_t> icl8(1024, 0xFF); // all black
        ByteBuilder icn;
        icn.Fill(128, 0xFF);
        for (int y = 0; y < 32; ++y)
            icn.Bytes({0x80, 0, 0, 0}); // mask: the first pixel of each row
        add(kArgb, 128, argb({MakeColor32(255, 1, 2, 3), MakeColor32(0, 4, 5, 6)}));
        add(kArgb, 129, argb({MakeColor32(255, 1, 2, 3)}));
        add(kArgb, 130, ByteBuilder().Long(0).Long(5)); // a size the rectangle cannot hold
        add(kPict, 128, SamplePicture(MakeColor32(255, 10, 20, 30)));
        add(kCicn, 128, SampleColourIcon());
        add(kPreview, 5, SamplePicture(MakeColor32(255, 50, 60, 70)));
        add(FOUR_CHAR_CODE("icl8"), 300, ByteBuilder().Bytes(icl8));
        add(FOUR_CHAR_CODE("icl8"), 301, ByteBuilder().Bytes(icl8));
        add(FOUR_CHAR_CODE("ICN#"), 301, icn);
        add(FOUR_CHAR_CODE("TEXT"), 128, ByteBuilder().Bytes({'h', 'i'}));

        std::vector<HostResourceToWrite> resources;
        for (const auto& r : mResources)
            resources.push_back({r.type, r.id, 0, nullptr, r.data.data(), uint32_t(r.data.size())});
        std::vector<HostResourceRecord> written;
        ASSERT_EQ(noErr, HostResourceFile::Build(resources, 0, nullptr, mFile, written));
        mRefNum = HostOpenMemoryResFile(mFile.data(), mFile.size());
        ASSERT_GT(mRefNum, 0);
    }
    void TearDown() override
    {
        if (mRefNum > 0)
            CloseResFile(mRefNum);
    }
    void add(uint32_t type, int16_t id, const ByteBuilder& data) { mResources.push_back({type, id, data.Data()}); }
    void closeFile()
    {
        CloseResFile(mRefNum);
        mRefNum = -1;
    }

    struct Resource {
        uint32_t type;
        int16_t id;
        std::vector<uint8_t> data;
    };
    std::vector<Resource> mResources;
    std::vector<uint8_t> mFile;
    SInt16 mRefNum = -1;
};

} // namespace

TEST_F(DiskImageTest, DecodesResourcesWithTheirMasks)
{
    DiskImage* image = DiskImage::Acquire(128, kArgb);
    ASSERT_NE(nullptr, image);
    ASSERT_TRUE(image->Valid());
    EXPECT_EQ(128, image->RsrcID());
    EXPECT_EQ(kArgb, image->RsrcType());
    EXPECT_EQ(kImageBufferDepth32, image->Depth());
    EXPECT_EQ(FWRect(0, 0, 2, 1), image->GetRect());
    EXPECT_EQ(MakeColor32(255, 1, 2, 3), pixel(*image, 0, 0));
    EXPECT_EQ(MakeColor32(0, 4, 5, 6), pixel(*image, 1, 0));
    ASSERT_NE(nullptr, image->GetMask());
    EXPECT_EQ(0x80, image->GetMask()->BaseAddr()[0] & 0xC0);
    DiskImage::Release(image);

    DiskImage* opaque = DiskImage::Acquire(129, kArgb);
    ASSERT_NE(nullptr, opaque);
    EXPECT_EQ(nullptr, opaque->GetMask());
    DiskImage::Release(opaque);

    DiskImage* colourIcon = DiskImage::Acquire(128, kCicn);
    ASSERT_NE(nullptr, colourIcon);
    EXPECT_EQ(MakeColor32(255, 255, 0, 0), pixel(*colourIcon, 0, 0));
    DiskImage::Release(colourIcon);
}

TEST_F(DiskImageTest, ColourIconsWithoutTheirOneBitIconAreOpaque)
{
    DiskImage* bare = DiskImage::Acquire(300, FOUR_CHAR_CODE("icl8"));
    ASSERT_NE(nullptr, bare);
    EXPECT_TRUE(bare->AlphaIsOpaque());
    EXPECT_EQ(nullptr, bare->GetMask());
    EXPECT_EQ(MakeColor32(255, 0, 0, 0), pixel(*bare, 31, 31));

    DiskImage* masked = DiskImage::Acquire(301, FOUR_CHAR_CODE("icl8"));
    ASSERT_NE(nullptr, masked);
    ASSERT_NE(nullptr, masked->GetMask());
    EXPECT_EQ(255, GetAlpha32(pixel(*masked, 0, 5)));
    EXPECT_EQ(0, GetAlpha32(pixel(*masked, 1, 5)));
    DiskImage::Release(bare);
    DiskImage::Release(masked);
}

TEST_F(DiskImageTest, OneImagePerIdAndTypeUntilTheLastRelease)
{
    DiskImage* first = DiskImage::Acquire(128, kPict);
    DiskImage* second = DiskImage::Acquire(128, kPict);
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(first, second);
    EXPECT_EQ(MakeColor32(255, 10, 20, 30), pixel(*first, 0, 0));
    // The same id under another type is another image.
    DiskImage* icon = DiskImage::Acquire(128, kCicn);
    ASSERT_NE(nullptr, icon);
    EXPECT_NE(first, icon);
    DiskImage::Release(icon);

    // While held, the image does not need its resource any more.
    closeFile();
    DiskImage::Release(first);
    EXPECT_EQ(first, DiskImage::Acquire(128, kPict));
    DiskImage::Release(first);
    DiskImage::Release(second);
    // Freed with the last release: acquiring again decodes anew, and the file is gone.
    EXPECT_EQ(nullptr, DiskImage::Acquire(128, kPict));
}

TEST_F(DiskImageTest, MissingDamagedAndUnknownResources)
{
    EXPECT_EQ(nullptr, DiskImage::Acquire(999, kArgb));
    EXPECT_EQ(nullptr, DiskImage::Acquire(130, kArgb));
    EXPECT_EQ(nullptr, DiskImage::Acquire(0, kPict));
    EXPECT_EQ(nullptr, DiskImage::Acquire(0, kArgb));
    EXPECT_EQ(nullptr, DiskImage::Acquire(100000, kArgb));
    EXPECT_THROW(DiskImage(999, kArgb), DiskImageAllocateFailureX);

    // A type the decoders do not know: a cached image without pixels.
    DiskImage* text = DiskImage::Acquire(128, FOUR_CHAR_CODE("TEXT"));
    ASSERT_NE(nullptr, text);
    EXPECT_FALSE(text->Valid());
    EXPECT_EQ(text, DiskImage::Acquire(128, FOUR_CHAR_CODE("TEXT")));
    DiskImage::Release(text);
    DiskImage::Release(text);
}

TEST_F(DiskImageTest, PreviewIdZeroFallsBackToTheFirstPreview)
{
    DiskImage* preview = DiskImage::Acquire(0, kPreview);
    ASSERT_NE(nullptr, preview);
    EXPECT_EQ(0, preview->RsrcID());
    EXPECT_EQ(MakeColor32(255, 50, 60, 70), pixel(*preview, 0, 0));
    DiskImage::Release(preview);
}

TEST_F(DiskImageTest, ReleasingAnImageThatIsNotCachedIsAProgrammerError)
{
    ProgrammerMessageRecorder recorder;
    DiskImage loose(129, kArgb);
    DiskImage::Release(&loose);
    DiskImage::Release(nullptr);
    ASSERT_EQ(1u, recorder.Messages().size());
    EXPECT_EQ("FW/Utility/Source/DiskImage", recorder.Messages()[0].sourcePath);
    EXPECT_EQ(191, recorder.Messages()[0].line);

    // A cached image of the same id and type is not mistaken for it.
    DiskImage* cached = DiskImage::Acquire(129, kArgb);
    ASSERT_NE(nullptr, cached);
    DiskImage::Release(&loose);
    EXPECT_EQ(2u, recorder.Messages().size());
    DiskImage::Release(cached);
}
