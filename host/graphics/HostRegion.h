// Regions of the host's drawing: sets of pixels kept as lists of rectangles, used for clipping,
// visible areas and the area a scroll uncovers; with the classic region calls over them.
#pragma once

#include "HostTypes.h"

#include <vector>

// A region is a list of disjoint rectangles in bands: rectangles sharing a band have the same
// top and bottom and are sorted left to right, bands are sorted top to bottom, touching spans of
// a band are merged, and a band equal to the one just above it is merged into it. The form is
// canonical, so two regions holding the same pixels compare equal.
class HostRegion {
public:
    HostRegion() = default;
    explicit HostRegion(const Rect& rect) { SetRect(rect); }

    // Contents
    void SetEmpty() { mRects.clear(); }
    // An empty or inverted rectangle gives the empty region.
    void SetRect(const Rect& rect);
    bool Empty() const { return mRects.empty(); }
    // Smallest rectangle holding the region; (0, 0, 0, 0) when empty.
    Rect Bounds() const;
    const std::vector<Rect>& Rects() const { return mRects; }
    bool Contains(int32_t h, int32_t v) const;
    bool operator==(const HostRegion& other) const;

    // Moves the region; coordinates are held to the 16-bit range.
    void Offset(int32_t dh, int32_t dv);

    // Set operations.
    static HostRegion Intersection(const HostRegion& a, const HostRegion& b);
    static HostRegion Union(const HostRegion& a, const HostRegion& b);
    static HostRegion Difference(const HostRegion& a, const HostRegion& b);

private:
    enum class Op { Intersection, Union, Difference };
    static HostRegion combine(const HostRegion& a, const HostRegion& b, Op op);

    std::vector<Rect> mRects;
};

using RgnHandle = HostRegion*;

// The classic region calls. Every call accepts null handles and then does nothing (or answers
// false or the empty rectangle).
RgnHandle NewRgn();
void DisposeRgn(RgnHandle rgn);
void SetEmptyRgn(RgnHandle rgn);
void SetRectRgn(RgnHandle rgn, int16_t left, int16_t top, int16_t right, int16_t bottom);
void RectRgn(RgnHandle rgn, const Rect* rect);
void CopyRgn(RgnHandle src, RgnHandle dst);
void OffsetRgn(RgnHandle rgn, int16_t dh, int16_t dv);
// dst may be one of the sources.
void SectRgn(RgnHandle a, RgnHandle b, RgnHandle dst);
void UnionRgn(RgnHandle a, RgnHandle b, RgnHandle dst);
void DiffRgn(RgnHandle a, RgnHandle b, RgnHandle dst);
Boolean EmptyRgn(RgnHandle rgn);
Boolean EqualRgn(RgnHandle a, RgnHandle b);
Boolean PtInRgn(Point pt, RgnHandle rgn);
// Stores the region's bounds in *bounds and returns bounds.
Rect* GetRegionBounds(RgnHandle rgn, Rect* bounds);
