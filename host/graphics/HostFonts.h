// Text of the host's drawing: DejaVu faces through FreeType, measured and drawn byte by byte from
// Mac Roman, with the classic styles, truncation with an ellipsis and line breaking. Widths are
// whole pixels per byte and add up, so what is measured is exactly where drawing puts the pen.
#pragma once

#include "HostRaster.h"

#include <cstdint>
#include <memory>

// Face bits of a font: the style flags the framework stores map to the first five.
enum : uint8_t {
    kHostFaceBold = 1,
    kHostFaceItalic = 2,
    kHostFaceUnderline = 4,
    kHostFaceOutline = 8,
    kHostFaceShadow = 16,
    kHostFaceCondense = 32,
};

// Font numbers: 0 (the system font), 1 and 3 are DejaVu Sans, 2 DejaVu Serif, 4 DejaVu Sans
// Mono; any other number is DejaVu Sans. Sizes are points, drawn at 72 dpi (one point, one
// pixel); 0 means 12, and sizes are held to 1..256.
struct HostFontSpec {
    int16_t font = 3;
    int16_t size = 9;
    uint8_t face = 0;
};

struct HostFontMetrics {
    int16_t ascent = 0;
    int16_t descent = 0;
    int16_t widMax = 0;
    int16_t leading = 0;
};

class HostFonts {
public:
    static HostFonts& Instance();
    ~HostFonts();

    // Whether the DejaVu fonts were found; without them widths and metrics are 0 and nothing
    // is drawn.
    bool Available() const;

    // Measuring. Bytes below 0x20 and 0x7F have no width and no ink.
    HostFontMetrics Metrics(const HostFontSpec& spec);
    int32_t Width(const HostFontSpec& spec, const uint8_t* text, int32_t count);

    // Draws the bytes onto the raster with the baseline at row v, the pen starting at column h
    // (store pixels), and returns the width drawn (= Width). Solid paints ink in its colour,
    // mixing antialiased edges; Invert inverts the pixels at least half covered.
    int32_t Draw(HostRaster& raster, const HostFontSpec& spec, int32_t h, int32_t v, const uint8_t* text,
                 int32_t count, const HostPaint& paint);

    // Fitting. Truncate shortens text in place to fit width pixels, ending it with the ellipsis
    // (Mac Roman 0xC9) when it is cut; the result is the new length, and *truncated tells
    // whether it was cut. Text that fits is left alone; when not even the ellipsis fits, the
    // result is 0.
    int32_t Truncate(const HostFontSpec& spec, int32_t width, uint8_t* text, int32_t length, bool* truncated);
    // The end of the line that starts at start: the longest run that fits width, broken after
    // spaces or a hyphen when it can be, else inside a word, and never empty while text
    // remains. A carriage return or line feed ends the line after it; spaces at the end of a
    // line hang past the width.
    int32_t BreakLine(const HostFontSpec& spec, const uint8_t* text, int32_t length, int32_t start, int32_t width);
    // The length without trailing spaces, tabs and line ends.
    static int32_t VisibleLength(const uint8_t* text, int32_t length);

private:
    struct Glyph;
    struct Faces;
    HostFonts();
    const Glyph& glyph(const HostFontSpec& spec, uint8_t byte);
    const Glyph& cachedGlyph(const HostFontSpec& spec, uint8_t byte);
    void trimCache();
    static HostFontSpec normalised(const HostFontSpec& spec);
    static void keepInkWithinAdvance(Glyph& g);
    static void coverGlyph(HostRaster& raster, const Glyph& g, int32_t x, int64_t top, const HostPaint& paint);

    std::unique_ptr<Faces> mFaces;
};
