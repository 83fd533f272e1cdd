// Regions as banded rectangle lists; set operations sweep the bands top to bottom.
#include "HostRegion.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <utility>

namespace {

struct Span {
    int32_t left;
    int32_t right;
    bool operator==(const Span& other) const { return left == other.left && right == other.right; }
};

int16_t clamp16(int32_t value)
{
    return int16_t(std::clamp<int32_t>(value, INT16_MIN, INT16_MAX));
}

// Spans of the rectangles that cover the whole band [top, bottom), sorted and merged.
std::vector<Span> spansInBand(const std::vector<Rect>& rects, int32_t top, int32_t bottom)
{
    std::vector<Span> spans;
    for (const Rect& r : rects) {
        if (r.top <= top && r.bottom >= bottom)
            spans.push_back(Span{r.left, r.right});
    }
    std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.left < b.left; });
    std::vector<Span> merged;
    for (const Span& s : spans) {
        if (!merged.empty() && s.left <= merged.back().right)
            merged.back().right = std::max(merged.back().right, s.right);
        else
            merged.push_back(s);
    }
    return merged;
}

bool inSpans(const std::vector<Span>& spans, size_t& cursor, int32_t x)
{
    while (cursor < spans.size() && spans[cursor].right <= x)
        ++cursor;
    return cursor < spans.size() && spans[cursor].left <= x;
}

} // namespace

void HostRegion::SetRect(const Rect& rect)
{
    mRects.clear();
    if (rect.left < rect.right && rect.top < rect.bottom)
        mRects.push_back(rect);
}

Rect HostRegion::Bounds() const
{
    if (mRects.empty())
        return Rect{0, 0, 0, 0};
    Rect bounds = mRects.front();
    for (const Rect& r : mRects) {
        bounds.left = std::min(bounds.left, r.left);
        bounds.right = std::max(bounds.right, r.right);
        bounds.bottom = std::max(bounds.bottom, r.bottom);
    }
    return bounds;
}

bool HostRegion::Contains(int32_t h, int32_t v) const
{
    for (const Rect& r : mRects) {
        if (v >= r.top && v < r.bottom && h >= r.left && h < r.right)
            return true;
    }
    return false;
}

bool HostRegion::operator==(const HostRegion& other) const
{
    if (mRects.size() != other.mRects.size())
        return false;
    for (size_t i = 0; i < mRects.size(); ++i) {
        const Rect& a = mRects[i];
        const Rect& b = other.mRects[i];
        if (a.top != b.top || a.left != b.left || a.bottom != b.bottom || a.right != b.right)
            return false;
    }
    return true;
}

void HostRegion::Offset(int32_t dh, int32_t dv)
{
    if ((dh == 0 && dv == 0) || mRects.empty())
        return;
    Rect bounds = Bounds();
    if (bounds.left + dh >= INT16_MIN && bounds.right + dh <= INT16_MAX && bounds.top + dv >= INT16_MIN &&
        bounds.bottom + dv <= INT16_MAX) {
        for (Rect& r : mRects)
            r = Rect{int16_t(r.top + dv), int16_t(r.left + dh), int16_t(r.bottom + dv), int16_t(r.right + dh)};
        return;
    }
    // Clamping can squash rectangles at the edge of the coordinate space; rebuilding through a
    // union drops the empty ones and restores the canonical form.
    HostRegion moved;
    for (const Rect& r : mRects) {
        Rect m{clamp16(r.top + dv), clamp16(r.left + dh), clamp16(r.bottom + dv), clamp16(r.right + dh)};
        moved = Union(moved, HostRegion(m));
    }
    *this = std::move(moved);
}

HostRegion HostRegion::Intersection(const HostRegion& a, const HostRegion& b)
{
    return combine(a, b, Op::Intersection);
}

HostRegion HostRegion::Union(const HostRegion& a, const HostRegion& b)
{
    if (a.Empty())
        return b;
    if (b.Empty())
        return a;
    return combine(a, b, Op::Union);
}

HostRegion HostRegion::Difference(const HostRegion& a, const HostRegion& b)
{
    if (a.Empty() || b.Empty())
        return a;
    return combine(a, b, Op::Difference);
}

HostRegion HostRegion::combine(const HostRegion& a, const HostRegion& b, Op op)
{
    std::vector<int32_t> edges;
    for (const Rect& r : a.mRects) {
        edges.push_back(r.top);
        edges.push_back(r.bottom);
    }
    for (const Rect& r : b.mRects) {
        edges.push_back(r.top);
        edges.push_back(r.bottom);
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());

    HostRegion result;
    std::vector<Span> previous;
    size_t previousStart = 0;
    int32_t previousBottom = INT32_MIN;
    for (size_t i = 0; i + 1 < edges.size(); ++i) {
        int32_t top = edges[i];
        int32_t bottom = edges[i + 1];
        std::vector<Span> sa = spansInBand(a.mRects, top, bottom);
        std::vector<Span> sb = spansInBand(b.mRects, top, bottom);

        // Walk the x edges of both span lists and keep the intervals the operation selects.
        std::vector<int32_t> xs;
        for (const Span& s : sa) {
            xs.push_back(s.left);
            xs.push_back(s.right);
        }
        for (const Span& s : sb) {
            xs.push_back(s.left);
            xs.push_back(s.right);
        }
        std::sort(xs.begin(), xs.end());
        xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
        std::vector<Span> band;
        size_t ca = 0, cb = 0;
        for (size_t j = 0; j + 1 < xs.size(); ++j) {
            bool inA = inSpans(sa, ca, xs[j]);
            bool inB = inSpans(sb, cb, xs[j]);
            bool keep = op == Op::Intersection ? (inA && inB) : op == Op::Union ? (inA || inB) : (inA && !inB);
            if (!keep)
                continue;
            if (!band.empty() && band.back().right == xs[j])
                band.back().right = xs[j + 1];
            else
                band.push_back(Span{xs[j], xs[j + 1]});
        }

        if (band.empty()) {
            previous.clear();
            continue;
        }
        if (band == previous && previousBottom == top) {
            for (size_t k = previousStart; k < result.mRects.size(); ++k)
                result.mRects[k].bottom = int16_t(bottom);
        } else {
            previousStart = result.mRects.size();
            for (const Span& s : band)
                result.mRects.push_back(Rect{int16_t(top), int16_t(s.left), int16_t(bottom), int16_t(s.right)});
            previous = std::move(band);
        }
        previousBottom = bottom;
    }
    return result;
}

// The classic calls.

RgnHandle NewRgn()
{
    return new (std::nothrow) HostRegion();
}

void DisposeRgn(RgnHandle rgn)
{
    delete rgn;
}

void SetEmptyRgn(RgnHandle rgn)
{
    if (rgn)
        rgn->SetEmpty();
}

void SetRectRgn(RgnHandle rgn, int16_t left, int16_t top, int16_t right, int16_t bottom)
{
    if (rgn)
        rgn->SetRect(Rect{top, left, bottom, right});
}

void RectRgn(RgnHandle rgn, const Rect* rect)
{
    if (rgn && rect)
        rgn->SetRect(*rect);
}

void CopyRgn(RgnHandle src, RgnHandle dst)
{
    if (src && dst && src != dst)
        *dst = *src;
}

void OffsetRgn(RgnHandle rgn, int16_t dh, int16_t dv)
{
    if (rgn)
        rgn->Offset(dh, dv);
}

void SectRgn(RgnHandle a, RgnHandle b, RgnHandle dst)
{
    if (a && b && dst)
        *dst = HostRegion::Intersection(*a, *b);
}

void UnionRgn(RgnHandle a, RgnHandle b, RgnHandle dst)
{
    if (a && b && dst)
        *dst = HostRegion::Union(*a, *b);
}

void DiffRgn(RgnHandle a, RgnHandle b, RgnHandle dst)
{
    if (a && b && dst)
        *dst = HostRegion::Difference(*a, *b);
}

Boolean EmptyRgn(RgnHandle rgn)
{
    return !rgn || rgn->Empty();
}

Boolean EqualRgn(RgnHandle a, RgnHandle b)
{
    return a && b && *a == *b;
}

Boolean PtInRgn(Point pt, RgnHandle rgn)
{
    return rgn && rgn->Contains(pt.h, pt.v);
}

Rect* GetRegionBounds(RgnHandle rgn, Rect* bounds)
{
    if (bounds)
        *bounds = rgn ? rgn->Bounds() : Rect{0, 0, 0, 0};
    return bounds;
}
