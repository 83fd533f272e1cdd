#include "HostImageIO.h"

#include "HostPNG.h"
#include "TIFFMaker.h"
#include "TempFolder.h"

#include <gtest/gtest.h>
#include <tiffio.h>

#include <memory>

namespace {

using SourcePtr = std::unique_ptr<HostImageSource, void (*)(CGImageSourceRef)>;
using ImagePtr = std::unique_ptr<HostImage, void (*)(CGImageRef)>;

ImagePtr decode(const std::vector<uint8_t>& bytes, size_t index = 0)
{
    SourcePtr source(CGImageSourceCreateWithData(std::make_shared<const std::vector<uint8_t>>(bytes)),
                     CGImageSourceRelease);
    return ImagePtr(source ? CGImageSourceCreateImageAtIndex(source.get(), index) : nullptr, CGImageRelease);
}

// Draws the image into a width x height context over pixels filled with background.
std::vector<uint32_t> draw(CGImageRef image, size_t width, size_t height, CGRect rect, uint32_t background)
{
    std::vector<uint32_t> pixels(width * height, background);
    CGContextRef context = CGBitmapContextCreate(pixels.data(), width, height, 8, width * 4, nullptr,
                                                 kCGBitmapByteOrder32Little | kCGImageAlphaNoneSkipFirst);
    EXPECT_NE(nullptr, context);
    CGContextDrawImage(context, rect, image);
    CGContextRelease(context);
    return pixels;
}

} // namespace

TEST(HostImageIO, DecodesTIFFAndDrawsItUpright)
{
    const std::vector<uint32_t> argb{0xFF112233, 0xFF445566, 0xFF778899, 0xFFAABBCC, 0xFFDDEEFF, 0xFF000000};
    for (bool compress : {false, true}) {
        ImagePtr image = decode(MakeTIFF(3, 2, argb, compress));
        ASSERT_TRUE(image);
        EXPECT_EQ(3u, CGImageGetWidth(image.get()));
        EXPECT_EQ(2u, CGImageGetHeight(image.get()));
        EXPECT_EQ(argb, draw(image.get(), 3, 2, CGRect{0, 0, 3, 2}, 0));
    }
}

TEST(HostImageIO, APNGDrawsAsATIFFOfTheSamePixels)
{
    const std::vector<uint32_t> argb{0xFFFF0000, 0x80FFFFFF, 0x4000FF00, 0x00000000, 0xFF0000FF, 0xC0123456};
    HostPixelMap pixels;
    ASSERT_EQ(noErr, pixels.Allocate(Rect{0, 0, 2, 3}, 32));
    for (int32_t i = 0; i < 6; ++i)
        pixels.Set(i % 3, i / 3, argb[size_t(i)]);
    TempFolder folder;
    ASSERT_EQ(noErr, HostWritePNG(pixels, folder.File("copied.png").c_str()));
    const std::string file = TempFolder::ReadFile(folder.File("copied.png"));
    const std::vector<uint8_t> png(file.begin(), file.end());
    ImagePtr fromPNG = decode(png), fromTIFF = decode(MakeTIFF(3, 2, argb));
    ASSERT_TRUE(fromPNG && fromTIFF);
    const CGRect all{0, 0, 3, 2};
    // Over grey (blended, through a decoded copy) and over nothing (decoded in place).
    for (uint32_t background : {0xFF808080u, 0u})
        EXPECT_EQ(draw(fromTIFF.get(), 3, 2, all, background), draw(fromPNG.get(), 3, 2, all, background));
    ImagePtr cut = decode(std::vector<uint8_t>(png.begin(), png.end() - 20));
    ASSERT_TRUE(cut) << "the header is whole";
    draw(cut.get(), 3, 2, all, 0);
    EXPECT_TRUE(HostImageDamaged(cut.get()));
}

// Large images decode where they are drawn, whatever their layout: one strip of 16 MiB as decoded,
// strips of a row, a PNG. One strip beyond a reader's share is refused for its size.
TEST(HostImageIO, LargeImagesOfAnyLayoutDecode)
{
    for (const std::vector<uint8_t>& bytes : {MakePatternTIFF(2048, 2048, COMPRESSION_ADOBE_DEFLATE, 0, true),
                                              MakePatternTIFF(2048, 2048, COMPRESSION_LZW, 1, false),
                                              MakePatternPNG(2048, 2048)}) {
        ImagePtr image = decode(bytes);
        ASSERT_TRUE(image);
        const std::vector<uint32_t> pixels = draw(image.get(), 2048, 2048, CGRect{0, 0, 2048, 2048}, 0);
        for (uint32_t at : {0u, 513u * 2048 + 700, 2048u * 2048 - 1})
            ASSERT_EQ(PatternPixel(at % 2048, at / 2048), pixels[at]) << at;
    }
    EXPECT_FALSE(decode(MakePatternTIFF(4096, 4096, COMPRESSION_ADOBE_DEFLATE, 0, true)));
}

TEST(HostImageIO, DrawingScalesPlacesFromTheBottomAndBlends)
{
    ImagePtr image = decode(MakeTIFF(2, 1, {0xFFFF0000, 0x4000FF00}));
    ASSERT_TRUE(image);
    // Doubled into the bottom-left 4 x 2 of a 4 x 3 context: the top row stays untouched.
    const std::vector<uint32_t> pixels = draw(image.get(), 4, 3, CGRect{0, 0, 4, 2}, 0x000000FF);
    EXPECT_EQ(0x000000FFu, pixels[0]);
    EXPECT_EQ(0xFFFF0000u, pixels[4]);
    EXPECT_EQ(0xFFFF0000u, pixels[9]);
    // A quarter green over blue: alpha 0x40 is kept premultiplied, blue keeps three quarters.
    EXPECT_EQ(0xFF0040BFu, pixels[6]);
    EXPECT_EQ(0xFF0040BFu, pixels[11]);
}

TEST(HostImageIO, DamagedOrMissingImagesGiveNothing)
{
    const std::vector<uint8_t> whole = MakeTIFF(4, 4, std::vector<uint32_t>(16, 0xFF123456), true);
    EXPECT_TRUE(decode(whole));
    EXPECT_FALSE(decode(whole, 1));
    EXPECT_FALSE(decode(std::vector<uint8_t>(whole.begin(), whole.begin() + whole.size() / 2)));
    EXPECT_FALSE(decode(std::vector<uint8_t>{'I', 'I', 42, 0, 8, 0, 0, 0}));
    EXPECT_EQ(nullptr, CGImageSourceCreateWithData(nullptr));
    // A bitmap context takes only its one layout and whole rows.
    uint32_t pixel = 0;
    EXPECT_EQ(nullptr, CGBitmapContextCreate(&pixel, 1, 1, 8, 4, nullptr, kCGImageAlphaNoneSkipFirst));
    EXPECT_EQ(nullptr, CGBitmapContextCreate(&pixel, 2, 1, 8, 4, nullptr,
                                             kCGBitmapByteOrder32Little | kCGImageAlphaNoneSkipFirst));
}
