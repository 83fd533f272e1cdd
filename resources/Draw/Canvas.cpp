// Coverage by supersampling and source-over blending of unpremultiplied pixels.
#include "Canvas.h"

#include "HostPNG.h"

#include <algorithm>
#include <cmath>

Canvas::Canvas(int width, int height)
{
    mPixels.Allocate(Rect{0, 0, int16_t(height), int16_t(width)}, 32);
}

void Canvas::Blend(int x, int y, uint32_t argb, double coverage)
{
    if (x < 0 || y < 0 || x >= Width() || y >= Height() || coverage <= 0)
        return;
    const uint32_t under = Get(x, y);
    const double sa = HostAlphaOf(argb) / 255.0 * std::min(coverage, 1.0);
    const double da = HostAlphaOf(under) / 255.0;
    const double oa = sa + da * (1 - sa);
    if (oa <= 0)
        return;
    const auto channel = [&](uint8_t s, uint8_t d) {
        return uint8_t(std::lround((s * sa + d * da * (1 - sa)) / oa));
    };
    Set(x, y, HostArgb(uint8_t(std::lround(oa * 255)), channel(HostRedOf(argb), HostRedOf(under)),
                       channel(HostGreenOf(argb), HostGreenOf(under)), channel(HostBlueOf(argb), HostBlueOf(under))));
}

void Canvas::Fill(const Region& region, const Paint& paint)
{
    constexpr int kSamples = 4;
    for (int y = 0; y < Height(); ++y)
        for (int x = 0; x < Width(); ++x) {
            int hits = 0;
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx)
                    if (region(x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples))
                        ++hits;
            if (hits > 0)
                Blend(x, y, paint(x + 0.5, y + 0.5), double(hits) / (kSamples * kSamples));
        }
}

void Canvas::Fill(const Region& region, uint32_t argb)
{
    Fill(region, [argb](double, double) { return argb; });
}

void Canvas::Pixels(int x, int y, const std::vector<std::string>& rows, const std::map<char, uint32_t>& key)
{
    for (size_t row = 0; row < rows.size(); ++row)
        for (size_t column = 0; column < rows[row].size(); ++column) {
            auto colour = key.find(rows[row][column]);
            if (colour != key.end())
                Set(x + int(column), y + int(row), colour->second);
        }
}

OSErr Canvas::Save(const std::string& path) const
{
    return HostWritePNG(mPixels, path.c_str());
}

namespace Shape {

Region Box(double left, double top, double right, double bottom)
{
    return [=](double x, double y) { return x >= left && x < right && y >= top && y < bottom; };
}

Region RoundBox(double left, double top, double right, double bottom, double radius)
{
    return [=](double x, double y) {
        if (x < left || x >= right || y < top || y >= bottom)
            return false;
        double cx = std::clamp(x, left + radius, right - radius);
        double cy = std::clamp(y, top + radius, bottom - radius);
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
    };
}

Region Disc(double cx, double cy, double radius)
{
    return [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius; };
}

Region Stroke(double x0, double y0, double x1, double y1, double halfWidth)
{
    return [=](double x, double y) {
        double dx = x1 - x0;
        double dy = y1 - y0;
        double length2 = dx * dx + dy * dy;
        double t = length2 > 0 ? std::clamp(((x - x0) * dx + (y - y0) * dy) / length2, 0.0, 1.0) : 0.0;
        double px = x0 + t * dx - x;
        double py = y0 + t * dy - y;
        return px * px + py * py <= halfWidth * halfWidth;
    };
}

Region Polyline(const std::vector<Point2>& points, double halfWidth)
{
    Region path = [](double, double) { return false; };
    for (size_t i = 1; i < points.size(); ++i)
        path = Union(path, Stroke(points[i - 1].first, points[i - 1].second, points[i].first, points[i].second, halfWidth));
    return path;
}

Region Polygon(const std::vector<Point2>& points)
{
    return [points](double x, double y) {
        bool inside = false;
        for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
            const auto& a = points[i];
            const auto& b = points[j];
            if ((a.second > y) != (b.second > y) &&
                x < (b.first - a.first) * (y - a.second) / (b.second - a.second) + a.first)
                inside = !inside;
        }
        return inside;
    };
}

Region Union(Region a, Region b)
{
    return [a, b](double x, double y) { return a(x, y) || b(x, y); };
}

Region Minus(Region a, Region b)
{
    return [a, b](double x, double y) { return a(x, y) && !b(x, y); };
}

Region Intersect(Region a, Region b)
{
    return [a, b](double x, double y) { return a(x, y) && b(x, y); };
}

Region Border(double left, double top, double right, double bottom, double radius, double width)
{
    return Minus(RoundBox(left, top, right, bottom, radius),
                 RoundBox(left + width, top + width, right - width, bottom - width, std::max(0.0, radius - width)));
}

uint32_t Mix(uint32_t a, uint32_t b, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    const auto channel = [t](uint8_t p, uint8_t q) { return uint8_t(std::lround(p + (q - p) * t)); };
    return HostArgb(channel(HostAlphaOf(a), HostAlphaOf(b)), channel(HostRedOf(a), HostRedOf(b)),
                    channel(HostGreenOf(a), HostGreenOf(b)), channel(HostBlueOf(a), HostBlueOf(b)));
}

Canvas::Paint Gradient(double x0, double y0, uint32_t from, double x1, double y1, uint32_t to)
{
    return [=](double x, double y) {
        double dx = x1 - x0;
        double dy = y1 - y0;
        double length2 = dx * dx + dy * dy;
        double t = length2 > 0 ? ((x - x0) * dx + (y - y0) * dy) / length2 : 0.0;
        return Mix(from, to, t);
    };
}

} // namespace Shape
