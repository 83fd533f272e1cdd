#include "FWDrawContext.h"
#include "ImageBuffer.h"

#include <gtest/gtest.h>

namespace {

uint32_t& word(const ImageBuffer& buffer, int x, int y)
{
    return reinterpret_cast<uint32_t*>(buffer.BaseAddr() + y * buffer.RowBytes())[x];
}

bool bit(const ImageBuffer& mask, int x, int y)
{
    return ((mask.BaseAddr()[y * mask.RowBytes() + x / 8] >> (7 - x % 8)) & 1) != 0;
}

void fill(ImageBuffer& buffer, uint32_t value)
{
    for (int y = 0; y < buffer.GetRect().Height(); ++y)
        for (int x = 0; x < buffer.GetRect().Width(); ++x)
            word(buffer, x, y) = value;
}

} // namespace

TEST(ImageBuffer, DefaultBufferHasNothing)
{
    ImageBuffer buffer;
    EXPECT_FALSE(buffer.Valid());
    EXPECT_EQ(kImageBufferDepth32, buffer.Depth());
    EXPECT_EQ(nullptr, buffer.GetMask());
    EXPECT_EQ(nullptr, buffer.GetPDB());
    EXPECT_FALSE(buffer.AlphaIsOpaque());
    buffer.CreateMaskBuffer();
    EXPECT_EQ(nullptr, buffer.GetMask());
    // Its context is unbound and draws nothing.
    FWDrawContext* context = buffer.SetContext();
    ASSERT_NE(nullptr, context);
    EXPECT_EQ(FWArgb32::Black, context->GetForeColor());
}

TEST(ImageBuffer, AllocationByDepth)
{
    const FWRect rect(5, 10, 15, 20); // 10 x 10 at (5, 10)
    struct Case {
        ImageBufferDepth depth;
        int bytesPerPixel;
        int minimumRowBytes;
    };
    for (const Case& c : {Case{kImageBufferDepth32, 4, 40}, Case{kImageBufferDepth8, 1, 10}, Case{kImageBufferDepth1, 0, 2}}) {
        ImageBuffer buffer(&rect, c.depth);
        ASSERT_TRUE(buffer.Valid()) << c.depth;
        EXPECT_EQ(c.depth, buffer.Depth());
        EXPECT_EQ(c.bytesPerPixel, buffer.BytesPerPixel());
        EXPECT_GE(buffer.RowBytes(), c.minimumRowBytes);
        EXPECT_NE(nullptr, buffer.BaseAddr());
        EXPECT_NE(nullptr, buffer.GetPDB());
        EXPECT_EQ(rect, buffer.GetRect());
    }
    // The platform's refusals leave the buffer without a store.
    ImageBuffer badDepth(&rect, ImageBufferDepth(16));
    EXPECT_FALSE(badDepth.Valid());
    const FWRect empty(0, 0, 0, 10);
    ImageBuffer nothing(&empty, kImageBufferDepth32);
    EXPECT_FALSE(nothing.Valid());
    const FWRect huge(-32000, -32000, 32000, 32000);
    ImageBuffer tooLarge(&huge, kImageBufferDepth32);
    EXPECT_FALSE(tooLarge.Valid());
    EXPECT_FALSE(tooLarge.AlphaIsOpaque());
}

TEST(ImageBuffer, MaskComesFromAlpha)
{
    const FWRect rect(0, 0, 10, 3);
    ImageBuffer buffer(&rect, kImageBufferDepth32);
    fill(buffer, MakeColor32(255, 1, 2, 3));
    EXPECT_TRUE(buffer.AlphaIsOpaque());
    buffer.CreateMaskBuffer();
    EXPECT_EQ(nullptr, buffer.GetMask());

    word(buffer, 9, 1) = MakeColor32(0, 1, 2, 3);
    word(buffer, 0, 2) = MakeColor32(0, 0, 0, 0);
    EXPECT_FALSE(buffer.AlphaIsOpaque());
    buffer.CreateMaskBuffer();
    const ImageBuffer* mask = buffer.GetMask();
    ASSERT_NE(nullptr, mask);
    EXPECT_EQ(kImageBufferDepth1, mask->Depth());
    EXPECT_EQ(rect, mask->GetRect());
    // A 10-pixel row: all of the first byte and the top two bits of the second.
    EXPECT_EQ(0xFF, mask->BaseAddr()[0]);
    EXPECT_EQ(0xC0, mask->BaseAddr()[1] & 0xC0);
    EXPECT_TRUE(bit(*mask, 8, 1));
    EXPECT_FALSE(bit(*mask, 9, 1));
    EXPECT_FALSE(bit(*mask, 0, 2));
    EXPECT_TRUE(bit(*mask, 1, 2));

    // Only alpha 0 is outside: a nearly transparent pixel is inside the mask.
    fill(buffer, MakeColor32(0, 0, 0, 0));
    word(buffer, 4, 0) = MakeColor32(1, 0, 0, 0);
    buffer.CreateMaskBuffer(); // replaces the old mask (the sanitizer sees a leak otherwise)
    mask = buffer.GetMask();
    ASSERT_NE(nullptr, mask);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(x == 4 && y == 0, bit(*mask, x, y)) << x << "," << y;
}

TEST(ImageBuffer, SetRectReallocatesAndRebuildsTheMask)
{
    const FWRect rect(0, 0, 4, 4);
    ImageBuffer buffer(&rect, kImageBufferDepth32);
    fill(buffer, MakeColor32(0, 0, 0, 0));
    word(buffer, 0, 0) = MakeColor32(255, 0, 0, 0);
    buffer.CreateMaskBuffer();
    ASSERT_NE(nullptr, buffer.GetMask());

    const FWRect larger(0, 0, 20, 8);
    buffer.SetRect(larger);
    ASSERT_TRUE(buffer.Valid());
    EXPECT_EQ(larger, buffer.GetRect());
    ASSERT_NE(nullptr, buffer.GetMask());
    EXPECT_EQ(larger, buffer.GetMask()->GetRect());
    // The new pixels are clear, so is the new mask.
    EXPECT_FALSE(bit(*buffer.GetMask(), 0, 0));
}

TEST(ImageBuffer, CopyMaskScalesTheSourceMaskOrDropsOurs)
{
    const FWRect small(0, 0, 2, 2);
    ImageBuffer source(&small, kImageBufferDepth32);
    fill(source, MakeColor32(0, 0, 0, 0));
    word(source, 1, 1) = MakeColor32(255, 0, 0, 0);
    source.CreateMaskBuffer();

    const FWRect large(0, 0, 4, 4);
    ImageBuffer target(&large, kImageBufferDepth32);
    target.CopyMask(&source);
    const ImageBuffer* mask = target.GetMask();
    ASSERT_NE(nullptr, mask);
    EXPECT_EQ(large, mask->GetRect());
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(x >= 2 && y >= 2, bit(*mask, x, y)) << x << "," << y;

    ImageBuffer unmasked(&small, kImageBufferDepth32);
    target.CopyMask(&unmasked);
    EXPECT_EQ(nullptr, target.GetMask());
}

TEST(ImageBuffer, CopyImageNeedsEqualSizes)
{
    const FWRect tenByTen(0, 0, 10, 10);
    const FWRect tenByEleven(0, 0, 10, 11);
    const FWRect moved(30, 40, 40, 50);
    ImageBuffer source(&tenByTen, kImageBufferDepth32);
    fill(source, 0x11223344u);
    ImageBuffer other(&tenByEleven, kImageBufferDepth32);
    fill(other, 0);
    CopyImage(source, other);
    EXPECT_EQ(0u, word(other, 3, 3));

    ImageBuffer same(&moved, kImageBufferDepth32);
    fill(same, 0);
    CopyImage(source, same);
    EXPECT_EQ(0x11223344u, word(same, 9, 9));

    ImageBuffer grey(&tenByTen, kImageBufferDepth8);
    CopyImage(source, grey); // not 32-bit: nothing, and no overrun
}

TEST(ImageBuffer, SetContextDrawsIntoTheBuffer)
{
    const FWRect rect(0, 0, 4, 4);
    ImageBuffer buffer(&rect, kImageBufferDepth32);
    fill(buffer, 0);
    FWDrawContext* context = buffer.SetContext();
    context->SetForeColor(FWArgb32(255, 9, 8, 7));
    const FWRect corner(2, 2, 4, 4);
    context->PaintRect(&corner);
    EXPECT_EQ(0u, word(buffer, 1, 1));
    EXPECT_EQ(MakeColor32(255, 9, 8, 7), word(buffer, 3, 3));
    // A fresh SetContext starts from the default state.
    EXPECT_EQ(FWArgb32::Black, buffer.SetContext()->GetForeColor());
}
