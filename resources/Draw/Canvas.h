// A small 32-bit drawing surface for the resource images: shapes filled with anti-aliased edges
// (4 x 4 samples a pixel), pixel art, and PNG output. Coordinates are continuous: pixel (x, y)
// covers [x, x + 1) x [y, y + 1).
#pragma once

#include "HostPixels.h"

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

class Canvas {
public:
    using Region = std::function<bool(double x, double y)>;
    using Paint = std::function<uint32_t(double x, double y)>;

    Canvas(int width, int height); // transparent

    int Width() const { return mPixels.Width(); }
    int Height() const { return mPixels.Height(); }
    uint32_t Get(int x, int y) const { return mPixels.Get(x, y); }
    void Set(int x, int y, uint32_t argb) { mPixels.Set(x, y, argb); }

    // Paints a colour over the pixel, its alpha scaled by the coverage (0 to 1).
    void Blend(int x, int y, uint32_t argb, double coverage);
    // Paints where the region holds, the paint taken at each pixel's centre.
    void Fill(const Region& region, const Paint& paint);
    void Fill(const Region& region, uint32_t argb);
    // Pixel art from (x, y) on: each character a pixel, coloured by the key; characters not in
    // the key leave the pixel as it is.
    void Pixels(int x, int y, const std::vector<std::string>& rows, const std::map<char, uint32_t>& key);

    const HostPixelMap& Store() const { return mPixels; }
    OSErr Save(const std::string& path) const;

private:
    HostPixelMap mPixels;
};

// Regions and paints.
namespace Shape {
using Region = Canvas::Region;
using Point2 = std::pair<double, double>;

Region Box(double left, double top, double right, double bottom);
Region RoundBox(double left, double top, double right, double bottom, double radius);
Region Disc(double cx, double cy, double radius);
// The points within halfWidth of the segment (a stroke with round ends).
Region Stroke(double x0, double y0, double x1, double y1, double halfWidth);
// Strokes along a path of points.
Region Polyline(const std::vector<Point2>& points, double halfWidth);
Region Polygon(const std::vector<Point2>& points);
Region Union(Region a, Region b);
Region Minus(Region a, Region b);
Region Intersect(Region a, Region b);
// The band of a region's edge: points of the region not in its inset (a ring for a disc).
Region Border(double left, double top, double right, double bottom, double radius, double width);

// A paint blending from one colour at (x0, y0) to another at (x1, y1).
Canvas::Paint Gradient(double x0, double y0, uint32_t from, double x1, double y1, uint32_t to);
uint32_t Mix(uint32_t a, uint32_t b, double t);
} // namespace Shape
