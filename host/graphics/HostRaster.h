// The software rasterizer: paints spans, rectangles, lines, rounded rectangles, ovals, arcs,
// antialiased coverage (text) and copies of other stores onto one pixel store, through a clip
// list of rectangles. It knows nothing of ports: HostPorts turns port state into these calls.
#pragma once

#include "HostPixels.h"

#include <cstdint>
#include <vector>

// A rectangle in store pixels (0, 0 is the store's top-left pixel), half-open like Rect but
// 32-bit, so that shapes far outside the 16-bit space of ports can be described and clipped.
struct HostBox {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    bool Empty() const { return left >= right || top >= bottom; }
    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    HostBox Intersect(const HostBox& other) const;
};

// What a painted pixel becomes.
struct HostPaint {
    enum class Kind : uint8_t {
        Solid,   // the colour
        Invert,  // the pixel's colour inverted (red, green and blue; alpha kept): painting twice restores
        Blend,   // the pixel moved toward the colour by weight (per channel, 0..65535)
        Texture  // the texture's pixel, tiled so that its top-left pixel falls on (originX, originY)
    };
    Kind kind = Kind::Solid;
    uint32_t color = HostArgb(255, 0, 0, 0);
    RGBColor weight{0, 0, 0};
    const HostPixelMap* texture = nullptr;
    int32_t originX = 0;
    int32_t originY = 0;

    static HostPaint Solid(uint32_t argb);
    static HostPaint Invert();
    static HostPaint Blend(uint32_t argb, RGBColor weight);
    static HostPaint Texture(const HostPixelMap& texture, int32_t originX, int32_t originY);
};

// How Copy combines a source pixel with the destination.
struct HostCopyOptions {
    enum class Mode : uint8_t { Copy, Xor, Blend };
    Mode mode = Mode::Copy;
    // A 1-bit source is coloured: set pixels take the fore colour, clear pixels the back colour.
    uint32_t fore = HostArgb(255, 0, 0, 0);
    uint32_t back = HostArgb(255, 255, 255, 255);
    // Blend weight per channel (65535 is all source).
    RGBColor weight{32767, 32767, 32767};
};

class HostRaster {
public:
    // The clip boxes are cut to the store; pixels outside every box are never written.
    HostRaster(HostPixelMap& target, const std::vector<HostBox>& clip);

    HostPixelMap& Target() const { return mTarget; }
    // Bounds of everything written so far (empty when nothing was).
    const HostBox& Touched() const { return mTouched; }

    // Spans and rectangles. A span covers x0 <= x < x1 of row y.
    void FillSpan(int32_t y, int32_t x0, int32_t x1, const HostPaint& paint);
    void FillBox(const HostBox& box, const HostPaint& paint);
    // The outline inside the box, penWidth wide at the sides and penHeight high at top and
    // bottom; a pen larger than half the box fills it.
    void FrameBox(const HostBox& box, int32_t penWidth, int32_t penHeight, const HostPaint& paint);

    // A line: the pen rectangle, with its top-left pixel on the line, dragged from (x0, y0) to
    // (x1, y1), both ends included. Each pixel is painted once, so Invert lines undo themselves.
    void Line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t penWidth, int32_t penHeight,
              const HostPaint& paint);

    // Rounded rectangles: each corner is a quarter of an ovalWidth x ovalHeight ellipse. An oval
    // is the ellipse inscribed in its box (corner size = box size).
    void FillRoundBox(const HostBox& box, int32_t ovalWidth, int32_t ovalHeight, const HostPaint& paint);
    void FrameRoundBox(const HostBox& box, int32_t ovalWidth, int32_t ovalHeight, int32_t penWidth,
                       int32_t penHeight, const HostPaint& paint);
    void FillOval(const HostBox& box, const HostPaint& paint);
    void FrameOval(const HostBox& box, int32_t penWidth, int32_t penHeight, const HostPaint& paint);

    // Arcs of the box's oval: angles in degrees, 0 at twelve o'clock, growing clockwise, and
    // stretched to the box (45 points at the top-right corner). A negative arc runs
    // counter-clockwise; 360 or more is the whole oval. Fill paints the wedge, Frame the outline.
    void FillArc(const HostBox& box, int32_t startAngle, int32_t arcAngle, const HostPaint& paint);
    void FrameArc(const HostBox& box, int32_t startAngle, int32_t arcAngle, int32_t penWidth, int32_t penHeight,
                  const HostPaint& paint);

    // Antialiased coverage (0..255 per pixel) along row y from x0: Solid and Blend paints mix in
    // proportion to coverage; Invert inverts the pixels covered at least one half.
    void CoverRow(int32_t y, int32_t x0, const uint8_t* coverage, int32_t count, const HostPaint& paint);
    // The same for a box of height rows of width coverage bytes each (a glyph), its top-left
    // pixel at (x0, y0): as CoverRow row by row, in one call.
    void CoverBox(int32_t x0, int32_t y0, const uint8_t* coverage, int32_t width, int32_t height,
                  const HostPaint& paint);

    // Exchanges two colours inside the box: pixels of colour a become b and of b become a;
    // mixtures of the two (antialiased edges) are mirrored between them. Other pixels stay.
    void Exchange(const HostBox& box, uint32_t a, uint32_t b);

    // Copies srcBox of the source into dstBox, scaled when the sizes differ: destination pixel
    // (x, y) takes source pixel srcBox.left + (x - dstBox.left) * srcW / dstW (rounded down), and
    // the same vertically. With a mask, only pixels whose mask pixel (mapped the same way from
    // maskBox) is set are written. Source or mask positions outside their store are skipped.
    // The source may be the target itself, overlapping or not.
    void Copy(const HostPixelMap& src, const HostBox& srcBox, const HostBox& dstBox, const HostPixelMap* mask,
              const HostBox& maskBox, const HostCopyOptions& options);

    // Moves pixels inside the target: each destination box receives the pixels found at the
    // box less (dx, dy) before any was moved. Boxes are cut to the clip.
    void Move(const std::vector<HostBox>& destinations, int32_t dx, int32_t dy);

private:
    struct Ring;
    void fillRing(const HostBox& box, int32_t ovalWidth, int32_t ovalHeight, int32_t penWidth, int32_t penHeight,
                  const HostPaint& paint, int32_t startAngle, int32_t arcAngle, bool wholeArc);
    void copyFromSelf(const HostBox& srcBox, const HostBox& dstBox, const HostPixelMap* mask, const HostBox& maskBox,
                      const HostCopyOptions& options);
    void fillArcSpan(const HostBox& box, int32_t y, int32_t x0, int32_t x1, int32_t startAngle, int32_t arcAngle,
                     const HostPaint& paint);
    void paintRun(int32_t y, int32_t x0, int32_t x1, const HostPaint& paint);
    void paintRow(int32_t y, int32_t x0, int32_t x1, const HostPaint& paint);
    void coverRun(int32_t y, int32_t x0, int32_t x1, const uint8_t* cover, const HostPaint& paint);
    void touch(int32_t x0, int32_t y0, int32_t x1, int32_t y1);

    HostPixelMap& mTarget;
    std::vector<HostBox> mClip;
    HostBox mClipBounds;
    HostBox mTouched;
};
