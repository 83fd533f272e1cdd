#include "HostImageIO.h"

#include "HeapCounter.h"
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

// Draws the image into a width x height context over the pixels; true when no damage was met.
bool drawInto(CGImageRef image, std::vector<uint32_t>& pixels, size_t width, size_t height, CGRect rect)
{
    CGContextRef context = CGBitmapContextCreate(pixels.data(), width, height, 8, width * 4, nullptr,
                                                 kCGBitmapByteOrder32Little | kCGImageAlphaNoneSkipFirst);
    EXPECT_NE(nullptr, context);
    CGContextDrawImage(context, rect, image);
    CGContextRelease(context);
    return !HostImageDamaged(image);
}

// The image drawn whole into new pixels, as the clipboard draws it.
std::vector<uint32_t> draw(CGImageRef image)
{
    const size_t width = CGImageGetWidth(image), height = CGImageGetHeight(image);
    std::vector<uint32_t> pixels(width * height, 0);
    EXPECT_TRUE(drawInto(image, pixels, width, height, CGRect{0, 0, double(width), double(height)}));
    return pixels;
}

} // namespace

// Stored as  a b c  and shown as viewers show each orientation.
//            d e f
TEST(HostImageIO, TIFFShowsAsItsOrientationSays)
{
    const uint32_t a = 0xFF000001, b = 0xFF000002, c = 0xFF000003, d = 0xFF000004, e = 0xFF000005, f = 0xFF000006;
    const std::vector<uint32_t> shown[8] = {{a, b, c, d, e, f}, {c, b, a, f, e, d}, {f, e, d, c, b, a},
                                            {d, e, f, a, b, c}, {a, d, b, e, c, f}, {d, a, e, b, f, c},
                                            {f, c, e, b, d, a}, {c, f, b, e, a, d}};
    for (uint16_t orientation = 1; orientation <= 8; ++orientation) {
        ImagePtr image = decode(MakeTIFF(3, 2, {a, b, c, d, e, f}, orientation % 2 == 0, orientation));
        ASSERT_TRUE(image);
        EXPECT_EQ(orientation < 5 ? 3u : 2u, CGImageGetWidth(image.get()));
        EXPECT_EQ(shown[orientation - 1], draw(image.get())) << orientation;
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
    ImagePtr fromPNG = decode(std::vector<uint8_t>(file.begin(), file.end())), fromTIFF = decode(MakeTIFF(3, 2, argb));
    ASSERT_TRUE(fromPNG && fromTIFF);
    EXPECT_EQ(draw(fromTIFF.get()), draw(fromPNG.get()));
    // Only the whole image at its size is drawn, and it replaces what the pixels held.
    std::vector<uint32_t> grey(6, 0xFF808080);
    EXPECT_TRUE(drawInto(fromTIFF.get(), grey, 3, 2, CGRect{0, 0, 3, 2}));
    EXPECT_EQ(draw(fromTIFF.get()), grey);
    EXPECT_FALSE(drawInto(fromPNG.get(), grey = std::vector<uint32_t>(6, 0), 3, 2, CGRect{0, 0, 2, 2}));
    EXPECT_EQ(std::vector<uint32_t>(6, 0), grey);
}

// Large noise images (3548 and 4096 pixels a side in one strip) decode straight into the pixels:
// beyond them they take no copy of the image or of a strip.
TEST(HostImageIO, LargeImagesDecodeWithinLittleMoreThanTheirPixels)
{
    using Maker = std::vector<uint8_t> (*)();
    for (Maker make : {+[] { return MakePatternPNG(4096, 4096); },
                       +[] { return MakePatternTIFF(4096, 4096, COMPRESSION_LZW, 0, false); },
                       +[] { return MakePatternTIFF(4096, 4096, COMPRESSION_ADOBE_DEFLATE, 0, true); },
                       +[] { return MakePatternTIFF(3548, 3548, COMPRESSION_ADOBE_DEFLATE, 0, true); },
                       +[] { return MakePatternTIFF(4096, 4096, COMPRESSION_PACKBITS, 0, false); }}) {
        const std::vector<uint8_t> bytes = make();
        ImagePtr image = decode(bytes);
        ASSERT_TRUE(image);
        const size_t side = CGImageGetWidth(image.get());
        std::vector<uint32_t> pixels(side * side, 0);
        const int64_t before = heapcounter::StartPeak();
        ASSERT_TRUE(drawInto(image.get(), pixels, side, side, CGRect{0, 0, double(side), double(side)}));
        EXPECT_LT(heapcounter::sPeak - before, 16 << 20) << side;
        for (size_t at : {size_t(0), 513 * side + 700, side * side - 1})
            ASSERT_EQ(PatternPixel(uint32_t(at % side), uint32_t(at / side)), pixels[at]) << at;
    }
}

// Each way of reading meets damage in the data (its middle overwritten) and reports it: strips by
// rows, planes by rows, tiles, strips of YCbCr in blocks of 2 x 2 pixels (lumas of the noise and
// neutral chroma: grey), a PNG.
TEST(HostImageIO, DamageMetWhileDecodingIsReported)
{
    const auto kept = [](const char* name) {
        const std::string read = TempFolder::ReadFile(FW_TEST_DATA "/../fuzz/corpus/ClipboardTIFFFuzz/noise-64-lzw-" +
                                                      std::string(name));
        return std::vector<uint8_t>(read.begin(), read.end());
    };
    const std::vector<uint8_t> images[] = {MakePatternTIFF(64, 64, COMPRESSION_LZW, 0, true),
                                           kept("planes.tiff"), kept("tiles.tiff"), kept("ycbcr-2x2.tiff"),
                                           MakePatternPNG(64, 64)};
    for (const std::vector<uint8_t>& whole : images) {
        const bool grey = &whole == &images[3];
        const std::vector<uint32_t> pixels = draw(decode(whole).get());
        for (uint32_t at : {0u, 64u * 37 + 11, 64u * 64 - 1}) {
            const uint32_t p = PatternPixel(at % 64, at / 64);
            EXPECT_EQ(grey ? 0xFF000000u | (p & 0xFF) * 0x010101u : p, pixels[at]) << at;
        }
        std::vector<uint8_t> damaged = whole;
        std::fill(damaged.begin() + long(whole.size() / 4), damaged.begin() + long(whole.size() / 2), 0xFF);
        ImagePtr image = decode(damaged);
        ASSERT_TRUE(image) << "the header is whole";
        std::vector<uint32_t> over(64 * 64, 0);
        EXPECT_FALSE(drawInto(image.get(), over, 64, 64, CGRect{0, 0, 64, 64}));
    }
    ImagePtr cut = decode(std::vector<uint8_t>(images[4].begin(), images[4].end() - 20));
    std::vector<uint32_t> over(64 * 64, 0);
    EXPECT_FALSE(drawInto(cut.get(), over, 64, 64, CGRect{0, 0, 64, 64})) << "a PNG cut in its pixels";
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
