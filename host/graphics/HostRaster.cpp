// The software rasterizer. Every shape is turned into disjoint spans per row, and every span is
// cut by the clip boxes before a pixel is touched, so no shape writes outside the clip or the
// store and Invert shapes drawn twice restore the pixels.
#include "HostRaster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

constexpr uint32_t kRGBBits = 0x00FFFFFF;

// Fills n pixels with one value. The C library's wide-character fill stores 32-bit words with the
// fastest stores the processor has (several times std::fill on long runs); it serves where its
// characters are 32 bits wide.
inline void fillWords(uint32_t* p, size_t n, uint32_t value)
{
    if (n < 16) {
        for (size_t i = 0; i < n; ++i)
            p[i] = value;
        return;
    }
    if constexpr (sizeof(wchar_t) == sizeof(uint32_t))
        std::wmemset(reinterpret_cast<wchar_t*>(p), static_cast<wchar_t>(value), n);
    else
        std::fill(p, p + n, value);
}

int32_t floorMod(int32_t value, int32_t modulus)
{
    int32_t r = value % modulus;
    return r < 0 ? r + modulus : r;
}

uint8_t mixChannel(uint8_t d, uint8_t s, uint32_t weight)
{
    return uint8_t(int32_t(d) + (int32_t(s) - int32_t(d)) * int32_t(weight) / 65535);
}

// The destination moved toward the source by a weight per channel; alpha by the largest weight.
uint32_t mix(uint32_t d, uint32_t s, const RGBColor& w)
{
    uint32_t wa = std::max({w.red, w.green, w.blue});
    return HostArgb(mixChannel(HostAlphaOf(d), HostAlphaOf(s), wa), mixChannel(HostRedOf(d), HostRedOf(s), w.red),
                    mixChannel(HostGreenOf(d), HostGreenOf(s), w.green),
                    mixChannel(HostBlueOf(d), HostBlueOf(s), w.blue));
}

// Two channels, in the 16-bit lanes of a word (values 0..255), moved as mix moves them with the
// weight coverage * 257: d + (s - d) * coverage / 255 rounded toward d. With
// x = d * (255 - coverage) + s * coverage, that is x / 255 rounded down where s >= d and up where
// s < d (x + 254 rounded down), and (x + 1 + (x >> 8)) >> 8 is x / 255 rounded down for x below
// 65280. Coverage 0 gives d and 255 gives s, so runs need no branch per pixel.
inline uint32_t coverLanes(uint32_t d, uint32_t s, uint32_t coverage)
{
    constexpr uint32_t kLow = 0x00FF00FF;
    constexpr uint32_t kOne = 0x00010001;
    const uint32_t atLeast = (((0x01000100 + s) - d) >> 8) & kOne; // per lane: s >= d
    const uint32_t x = d * (255 - coverage) + s * coverage + (atLeast ^ kOne) * 254;
    return ((x + kOne + ((x >> 8) & kLow)) >> 8) & kLow;
}

inline uint32_t mixCoverage(uint32_t d, uint32_t s, uint8_t coverage)
{
    constexpr uint32_t kLow = 0x00FF00FF;
    return coverLanes(d & kLow, s & kLow, coverage) | coverLanes((d >> 8) & kLow, (s >> 8) & kLow, coverage) << 8;
}

#ifdef __SSE2__
// mixCoverage on four pixels at once, each channel in a 16-bit lane: the same sums, which stay
// below 65536, and the same rounding, so the pixels come out as mixCoverage makes them.
class QuadBlender {
public:
    explicit QuadBlender(uint32_t color)
    {
        const __m128i s = _mm_set1_epi32(int32_t(color));
        mColor = _mm_unpacklo_epi8(s, _mm_setzero_si128());
    }

    // Blends the four pixels at p by the four coverage bytes of four (lowest byte first).
    void operator()(uint32_t* p, uint32_t four) const
    {
        const __m128i zero = _mm_setzero_si128();
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        __m128i c = _mm_cvtsi32_si128(int32_t(four));
        c = _mm_unpacklo_epi8(c, c);
        c = _mm_unpacklo_epi16(c, c); // each coverage byte four times, one per channel
        const __m128i low = lanes(_mm_unpacklo_epi8(d, zero), _mm_unpacklo_epi8(c, zero));
        const __m128i high = lanes(_mm_unpackhi_epi8(d, zero), _mm_unpackhi_epi8(c, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm_packus_epi16(low, high));
    }

private:
    // Two pixels' channels d moved toward the colour by coverage c (as coverLanes does).
    __m128i lanes(__m128i d, __m128i c) const
    {
        const __m128i full = _mm_set1_epi16(255);
        __m128i x = _mm_add_epi16(_mm_mullo_epi16(d, _mm_sub_epi16(full, c)), _mm_mullo_epi16(mColor, c));
        x = _mm_add_epi16(x, _mm_and_si128(_mm_cmpgt_epi16(d, mColor), _mm_set1_epi16(254)));
        x = _mm_add_epi16(_mm_add_epi16(x, _mm_set1_epi16(1)), _mm_srli_epi16(x, 8));
        return _mm_srli_epi16(x, 8);
    }

    __m128i mColor;
};
#endif

uint32_t texel(const HostPaint& paint, int32_t x, int32_t y)
{
    const HostPixelMap& t = *paint.texture;
    return t.Get(floorMod(x - paint.originX, t.Width()), floorMod(y - paint.originY, t.Height()));
}

// Horizontal extent of row y of a box with rounded corners (ovalWidth x ovalHeight corner
// ellipse); false when the row holds no pixel of the shape. The extent is symmetric.
bool roundSpan(const HostBox& box, int32_t ovalWidth, int32_t ovalHeight, int32_t y, int32_t& left, int32_t& right)
{
    if (box.Empty() || y < box.top || y >= box.bottom)
        return false;
    int32_t ow = std::min(ovalWidth, box.Width());
    int32_t oh = std::min(ovalHeight, box.Height());
    int32_t inset = 0;
    if (ow > 1 && oh > 1) {
        double a = ow / 2.0;
        double b = oh / 2.0;
        double centre = y + 0.5;
        double ey = 0;
        if (centre < box.top + b)
            ey = box.top + b - centre;
        else if (centre > box.bottom - b)
            ey = centre - (box.bottom - b);
        double t = ey / b;
        double half = a * std::sqrt(std::max(0.0, 1.0 - t * t));
        inset = int32_t(std::lround(a - half));
    }
    left = box.left + inset;
    right = box.right - inset;
    return left < right;
}

// Whether the centre of pixel (x, y) lies within the arc of the box's oval.
bool inArc(const HostBox& box, int32_t x, int32_t y, int32_t startAngle, int32_t arcAngle)
{
    double nx = (x + 0.5 - (box.left + box.right) / 2.0) / (box.Width() / 2.0);
    double ny = (y + 0.5 - (box.top + box.bottom) / 2.0) / (box.Height() / 2.0);
    double angle = std::atan2(nx, -ny) * 180.0 / M_PI;
    if (angle < 0)
        angle += 360.0;
    double d = angle - startAngle;
    if (d < 0)
        d += 360.0;
    return d < arcAngle;
}

// Start in 0..359 and a positive extent; false when the arc is the whole oval.
bool normaliseArc(int32_t& startAngle, int32_t& arcAngle)
{
    if (arcAngle >= 360 || arcAngle <= -360)
        return false;
    if (arcAngle < 0) {
        startAngle += arcAngle;
        arcAngle = -arcAngle;
    }
    startAngle = floorMod(startAngle, 360);
    return true;
}

} // namespace

HostBox HostBox::Intersect(const HostBox& other) const
{
    return HostBox{std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
                   std::min(bottom, other.bottom)};
}

HostPaint HostPaint::Solid(uint32_t argb)
{
    HostPaint p;
    p.kind = Kind::Solid;
    p.color = argb;
    return p;
}

HostPaint HostPaint::Invert()
{
    HostPaint p;
    p.kind = Kind::Invert;
    return p;
}

HostPaint HostPaint::Blend(uint32_t argb, RGBColor weight)
{
    HostPaint p;
    p.kind = Kind::Blend;
    p.color = argb;
    p.weight = weight;
    return p;
}

HostPaint HostPaint::Texture(const HostPixelMap& texture, int32_t originX, int32_t originY)
{
    if (!texture.Valid())
        return Solid(HostArgb(255, 255, 255, 255));
    HostPaint p;
    p.kind = Kind::Texture;
    p.texture = &texture;
    p.originX = originX;
    p.originY = originY;
    return p;
}

HostRaster::HostRaster(HostPixelMap& target, const std::vector<HostBox>& clip)
    : mTarget(target), mClipBounds{0, 0, 0, 0}, mTouched{0, 0, 0, 0}
{
    if (!target.Valid())
        return;
    HostBox store{0, 0, target.Width(), target.Height()};
    bool first = true;
    for (const HostBox& box : clip) {
        HostBox cut = box.Intersect(store);
        if (cut.Empty())
            continue;
        mClip.push_back(cut);
        if (first) {
            mClipBounds = cut;
            first = false;
        } else {
            mClipBounds = HostBox{std::min(mClipBounds.left, cut.left), std::min(mClipBounds.top, cut.top),
                                  std::max(mClipBounds.right, cut.right), std::max(mClipBounds.bottom, cut.bottom)};
        }
    }
}

void HostRaster::touch(int32_t x0, int32_t y0, int32_t x1, int32_t y1)
{
    if (mTouched.Empty()) {
        mTouched = HostBox{x0, y0, x1, y1};
        return;
    }
    mTouched.left = std::min(mTouched.left, x0);
    mTouched.top = std::min(mTouched.top, y0);
    mTouched.right = std::max(mTouched.right, x1);
    mTouched.bottom = std::max(mTouched.bottom, y1);
}

// Paints x0 <= x < x1 of row y; the caller has cut the run to a clip box.
void HostRaster::paintRun(int32_t y, int32_t x0, int32_t x1, const HostPaint& paint)
{
    touch(x0, y, x1, y + 1);
    paintRow(y, x0, x1, paint);
}

// paintRun without noting what it touched: the caller notes it.
void HostRaster::paintRow(int32_t y, int32_t x0, int32_t x1, const HostPaint& paint)
{
    uint8_t* row = mTarget.Row(y);
    int16_t depth = mTarget.Depth();
    if (depth == 32) {
        uint32_t* p = reinterpret_cast<uint32_t*>(row);
        switch (paint.kind) {
        case HostPaint::Kind::Solid:
            fillWords(p + x0, size_t(x1 - x0), paint.color);
            return;
        case HostPaint::Kind::Invert:
            for (int32_t x = x0; x < x1; ++x)
                p[x] ^= kRGBBits;
            return;
        case HostPaint::Kind::Blend:
            for (int32_t x = x0; x < x1; ++x)
                p[x] = mix(p[x], paint.color, paint.weight);
            return;
        case HostPaint::Kind::Texture:
            for (int32_t x = x0; x < x1; ++x)
                p[x] = texel(paint, x, y);
            return;
        }
    }
    if (depth == 8 && paint.kind == HostPaint::Kind::Solid) {
        std::memset(row + x0, int(mTarget.StoredOf(paint.color)), size_t(x1 - x0));
        return;
    }
    if (depth == 8 && paint.kind == HostPaint::Kind::Invert) {
        for (int32_t x = x0; x < x1; ++x)
            row[x] ^= 0xFF;
        return;
    }
    if (depth == 1 && paint.kind == HostPaint::Kind::Invert) {
        for (int32_t x = x0; x < x1; ++x)
            row[x >> 3] ^= uint8_t(0x80 >> (x & 7));
        return;
    }
    // Remaining cases go through colours pixel by pixel.
    for (int32_t x = x0; x < x1; ++x) {
        switch (paint.kind) {
        case HostPaint::Kind::Solid:
            mTarget.Set(x, y, paint.color);
            break;
        case HostPaint::Kind::Blend:
            mTarget.Set(x, y, mix(mTarget.Get(x, y), paint.color, paint.weight));
            break;
        case HostPaint::Kind::Texture:
            mTarget.Set(x, y, texel(paint, x, y));
            break;
        case HostPaint::Kind::Invert:
            break;
        }
    }
}

void HostRaster::FillSpan(int32_t y, int32_t x0, int32_t x1, const HostPaint& paint)
{
    if (y < mClipBounds.top || y >= mClipBounds.bottom || x0 >= x1)
        return;
    for (const HostBox& c : mClip) {
        if (y < c.top || y >= c.bottom)
            continue;
        int32_t a = std::max(x0, c.left);
        int32_t b = std::min(x1, c.right);
        if (a < b)
            paintRun(y, a, b, paint);
    }
}

void HostRaster::FillBox(const HostBox& box, const HostPaint& paint)
{
    if (box.Empty())
        return;
    for (const HostBox& c : mClip) {
        HostBox area = box.Intersect(c);
        if (area.Empty())
            continue;
        touch(area.left, area.top, area.right, area.bottom);
        for (int32_t y = area.top; y < area.bottom; ++y)
            paintRow(y, area.left, area.right, paint);
    }
}

void HostRaster::FrameBox(const HostBox& box, int32_t penWidth, int32_t penHeight, const HostPaint& paint)
{
    if (box.Empty() || penWidth <= 0 || penHeight <= 0)
        return;
    if (int64_t(penWidth) * 2 >= box.Width() || int64_t(penHeight) * 2 >= box.Height()) {
        FillBox(box, paint);
        return;
    }
    // Four disjoint pieces, so that no pixel is painted twice.
    FillBox(HostBox{box.left, box.top, box.right, box.top + penHeight}, paint);
    FillBox(HostBox{box.left, box.bottom - penHeight, box.right, box.bottom}, paint);
    FillBox(HostBox{box.left, box.top + penHeight, box.left + penWidth, box.bottom - penHeight}, paint);
    FillBox(HostBox{box.right - penWidth, box.top + penHeight, box.right, box.bottom - penHeight}, paint);
}

void HostRaster::Line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t penWidth, int32_t penHeight,
                      const HostPaint& paint)
{
    if (penWidth <= 0 || penHeight <= 0 || mClip.empty())
        return;
    // Order the ends top to bottom; x then moves monotonically with y.
    if (y1 < y0) {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    int64_t rowsEnd = int64_t(y1) + penHeight;
    int32_t rowTop = std::max(y0, mClipBounds.top);
    int32_t rowBottom = int32_t(std::min<int64_t>(rowsEnd, mClipBounds.bottom));
    if (rowTop >= rowBottom)
        return;
    if (int64_t(std::max(x0, x1)) + penWidth <= mClipBounds.left || std::min(x0, x1) >= mClipBounds.right)
        return;

    // A level or upright line is the pen's rectangle stretched along it: the same pixels, each
    // painted once, without tracing the line row by row.
    if (y0 == y1 || x0 == x1) {
        const int64_t right = int64_t(std::max(x0, x1)) + penWidth;
        FillBox(HostBox{std::min(x0, x1), rowTop, int32_t(std::min<int64_t>(right, INT32_MAX)), rowBottom}, paint);
        return;
    }

    // The line's own pixels: leftmost and rightmost x of each of its rows.
    int32_t lineRows = y1 - y0 + 1;
    std::vector<int32_t> lo(size_t(lineRows), INT32_MAX);
    std::vector<int32_t> hi(size_t(lineRows), INT32_MIN);
    int32_t dx = std::abs(x1 - x0);
    int32_t dy = -(y1 - y0);
    int32_t sx = x0 < x1 ? 1 : -1;
    int32_t err = dx + dy;
    int32_t x = x0;
    int32_t y = y0;
    for (;;) {
        size_t r = size_t(y - y0);
        lo[r] = std::min(lo[r], x);
        hi[r] = std::max(hi[r], x);
        if (x == x1 && y == y1)
            break;
        int32_t e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            ++y;
        }
    }

    // Row r is covered by the pen stamped at the line rows r - penHeight + 1 .. r; since x is
    // monotonic, the extremes of that window lie at its ends.
    bool rising = x1 >= x0;
    for (int32_t row = rowTop; row < rowBottom; ++row) {
        int32_t first = int32_t(std::max<int64_t>(y0, int64_t(row) - penHeight + 1)) - y0;
        int32_t last = std::min(y1, row) - y0;
        if (first > last)
            continue;
        int32_t left = rising ? lo[size_t(first)] : lo[size_t(last)];
        int32_t right = rising ? hi[size_t(last)] : hi[size_t(first)];
        FillSpan(row, left, int32_t(std::min<int64_t>(int64_t(right) + penWidth, INT32_MAX)), paint);
    }
}

void HostRaster::FillRoundBox(const HostBox& box, int32_t ovalWidth, int32_t ovalHeight, const HostPaint& paint)
{
    if (box.Empty())
        return;
    int32_t top = std::max(box.top, mClipBounds.top);
    int32_t bottom = std::min(box.bottom, mClipBounds.bottom);
    for (int32_t y = top; y < bottom; ++y) {
        int32_t left, right;
        if (roundSpan(box, ovalWidth, ovalHeight, y, left, right))
            FillSpan(y, left, right, paint);
    }
}

void HostRaster::FrameRoundBox(const HostBox& box, int32_t ovalWidth, int32_t ovalHeight, int32_t penWidth,
                               int32_t penHeight, const HostPaint& paint)
{
    fillRing(box, ovalWidth, ovalHeight, penWidth, penHeight, paint, 0, 360, true);
}

void HostRaster::FillOval(const HostBox& box, const HostPaint& paint)
{
    FillRoundBox(box, box.Width(), box.Height(), paint);
}

void HostRaster::FrameOval(const HostBox& box, int32_t penWidth, int32_t penHeight, const HostPaint& paint)
{
    FrameRoundBox(box, box.Width(), box.Height(), penWidth, penHeight, paint);
}

void HostRaster::FillArc(const HostBox& box, int32_t startAngle, int32_t arcAngle, const HostPaint& paint)
{
    if (box.Empty() || arcAngle == 0)
        return;
    if (!normaliseArc(startAngle, arcAngle)) {
        FillOval(box, paint);
        return;
    }
    int32_t top = std::max(box.top, mClipBounds.top);
    int32_t bottom = std::min(box.bottom, mClipBounds.bottom);
    for (int32_t y = top; y < bottom; ++y) {
        int32_t left, right;
        if (roundSpan(box, box.Width(), box.Height(), y, left, right))
            fillArcSpan(box, y, left, right, startAngle, arcAngle, paint);
    }
}

void HostRaster::FrameArc(const HostBox& box, int32_t startAngle, int32_t arcAngle, int32_t penWidth,
                          int32_t penHeight, const HostPaint& paint)
{
    if (box.Empty() || arcAngle == 0)
        return;
    bool partial = normaliseArc(startAngle, arcAngle);
    fillRing(box, box.Width(), box.Height(), penWidth, penHeight, paint, startAngle, arcAngle, !partial);
}

// Splits a span into the runs whose pixels lie within the arc.
void HostRaster::fillArcSpan(const HostBox& box, int32_t y, int32_t x0, int32_t x1, int32_t startAngle,
                             int32_t arcAngle, const HostPaint& paint)
{
    x0 = std::max(x0, mClipBounds.left);
    x1 = std::min(x1, mClipBounds.right);
    int32_t runStart = -1;
    for (int32_t x = x0; x < x1; ++x) {
        bool in = inArc(box, x, y, startAngle, arcAngle);
        if (in && runStart < 0)
            runStart = x;
        if (!in && runStart >= 0) {
            FillSpan(y, runStart, x, paint);
            runStart = -1;
        }
    }
    if (runStart >= 0)
        FillSpan(y, runStart, x1, paint);
}

// The outline of a rounded box: each row paints from the outer edge to the inner shape (the box
// inset by the pen, with corners smaller by the pen), and at least as far as the outer edge of
// the rows above and below, so flat parts of the curve leave no gaps between rows.
void HostRaster::fillRing(const HostBox& box, int32_t ovalWidth, int32_t ovalHeight, int32_t penWidth,
                          int32_t penHeight, const HostPaint& paint, int32_t startAngle, int32_t arcAngle,
                          bool wholeArc)
{
    if (box.Empty() || penWidth <= 0 || penHeight <= 0)
        return;
    HostBox inner{box.left + penWidth, box.top + penHeight, box.right - penWidth, box.bottom - penHeight};
    if (int64_t(penWidth) * 2 >= box.Width() || int64_t(penHeight) * 2 >= box.Height())
        inner = HostBox{0, 0, 0, 0};
    int32_t innerOvalWidth = std::max(0, ovalWidth - 2 * penWidth);
    int32_t innerOvalHeight = std::max(0, ovalHeight - 2 * penHeight);
    if (ovalWidth >= box.Width() && ovalHeight >= box.Height()) {
        innerOvalWidth = inner.Width();
        innerOvalHeight = inner.Height();
    }

    auto emit = [&](int32_t y, int32_t x0, int32_t x1) {
        if (wholeArc)
            FillSpan(y, x0, x1, paint);
        else
            fillArcSpan(box, y, x0, x1, startAngle, arcAngle, paint);
    };

    int32_t top = std::max(box.top, mClipBounds.top);
    int32_t bottom = std::min(box.bottom, mClipBounds.bottom);
    for (int32_t y = top; y < bottom; ++y) {
        int32_t left, right;
        if (!roundSpan(box, ovalWidth, ovalHeight, y, left, right))
            continue;
        int32_t innerLeft, innerRight;
        if (inner.Empty() || !roundSpan(inner, innerOvalWidth, innerOvalHeight, y, innerLeft, innerRight)) {
            emit(y, left, right);
            continue;
        }
        // The most inward outer edges of the neighbouring rows.
        int32_t reachLeft = left;
        int32_t reachRight = right;
        for (int32_t ny : {y - 1, y + 1}) {
            int32_t l, r;
            if (roundSpan(box, ovalWidth, ovalHeight, ny, l, r)) {
                reachLeft = std::max(reachLeft, l);
                reachRight = std::min(reachRight, r);
            }
        }
        int32_t leftEnd = std::max({innerLeft, left + 1, reachLeft});
        int32_t rightStart = std::min({innerRight, right - 1, reachRight});
        if (leftEnd >= rightStart) {
            emit(y, left, right);
            continue;
        }
        emit(y, left, leftEnd);
        emit(y, rightStart, right);
    }
}

void HostRaster::CoverRow(int32_t y, int32_t x0, const uint8_t* coverage, int32_t count, const HostPaint& paint)
{
    CoverBox(x0, y, coverage, count, 1, paint);
}

void HostRaster::CoverBox(int32_t x0, int32_t y0, const uint8_t* coverage, int32_t width, int32_t height,
                          const HostPaint& paint)
{
    if (width <= 0 || height <= 0 || coverage == nullptr)
        return;
    const HostBox box{x0, y0, int32_t(std::min<int64_t>(int64_t(x0) + width, INT32_MAX)),
                      int32_t(std::min<int64_t>(int64_t(y0) + height, INT32_MAX))};
    if (box.Intersect(mClipBounds).Empty())
        return;
    for (const HostBox& c : mClip) {
        const HostBox area = box.Intersect(c);
        if (area.Empty())
            continue;
        touch(area.left, area.top, area.right, area.bottom);
        for (int32_t y = area.top; y < area.bottom; ++y) {
            const uint8_t* cover = coverage + size_t(y - y0) * size_t(width) + size_t(area.left - x0);
            coverRun(y, area.left, area.right, cover, paint);
        }
    }
}

// Blends x0 <= x < x1 of row y by coverage (cover[0] is for x0); the caller has cut the run to a
// clip box. Pixels of no coverage are left alone without being read, so the blank parts of a
// glyph's box cost a test of four bytes at a time.
void HostRaster::coverRun(int32_t y, int32_t x0, int32_t x1, const uint8_t* cover, const HostPaint& paint)
{
    const bool direct = mTarget.Depth() == 32;
    uint32_t* p = reinterpret_cast<uint32_t*>(mTarget.Row(y));
    if (direct && paint.kind != HostPaint::Kind::Invert && paint.kind != HostPaint::Kind::Texture) {
        // Text in one colour on 32-bit pixels: the common case, four pixels at a time.
        const uint32_t color = paint.color;
        uint32_t* pixel = p + x0;
        const int32_t n = x1 - x0;
        int32_t i = 0;
#ifdef __SSE2__
        const QuadBlender blend(color);
        for (; i + 4 <= n; i += 4) {
            uint32_t four;
            std::memcpy(&four, cover + i, sizeof four);
            if (four != 0)
                blend(pixel + i, four);
        }
#endif
        for (; i < n; ++i) {
            const uint8_t cov = cover[i];
            if (cov == 255)
                pixel[i] = color;
            else if (cov != 0)
                pixel[i] = mixCoverage(pixel[i], color, cov);
        }
        return;
    }
    for (int32_t x = x0; x < x1; ++x) {
        uint8_t cov = cover[x - x0];
        if (cov == 0)
            continue;
        if (paint.kind == HostPaint::Kind::Invert) {
            if (cov < 128)
                continue;
            if (direct)
                p[x] ^= kRGBBits;
            else
                paintRun(y, x, x + 1, paint);
            continue;
        }
        uint32_t color = paint.kind == HostPaint::Kind::Texture ? texel(paint, x, y) : paint.color;
        if (direct)
            p[x] = cov == 255 ? color : mixCoverage(p[x], color, cov);
        else
            mTarget.Set(x, y, cov == 255 ? color : mixCoverage(mTarget.Get(x, y), color, cov));
    }
}

void HostRaster::Exchange(const HostBox& box, uint32_t a, uint32_t b)
{
    int16_t depth = mTarget.Depth();
    const int32_t ca[3] = {HostRedOf(a), HostGreenOf(a), HostBlueOf(a)};
    const int32_t cb[3] = {HostRedOf(b), HostGreenOf(b), HostBlueOf(b)};
    int32_t key = 0;
    for (int32_t k = 1; k < 3; ++k) {
        if (std::abs(cb[k] - ca[k]) > std::abs(cb[key] - ca[key]))
            key = k;
    }
    int32_t den = cb[key] - ca[key];
    int32_t ia = int32_t(mTarget.StoredOf(a));
    int32_t ib = int32_t(mTarget.StoredOf(b));
    if ((depth == 32 && den == 0) || (depth != 32 && ia == ib))
        return;

    for (const HostBox& c : mClip) {
        HostBox area = box.Intersect(c);
        if (area.Empty())
            continue;
        touch(area.left, area.top, area.right, area.bottom);
        for (int32_t y = area.top; y < area.bottom; ++y) {
            uint8_t* row = mTarget.Row(y);
            for (int32_t x = area.left; x < area.right; ++x) {
                if (depth == 1) {
                    row[x >> 3] ^= uint8_t(0x80 >> (x & 7));
                    continue;
                }
                if (depth == 8) {
                    int32_t v = row[x];
                    if (v >= std::min(ia, ib) && v <= std::max(ia, ib))
                        row[x] = uint8_t(ia + ib - v);
                    continue;
                }
                uint32_t& p = reinterpret_cast<uint32_t*>(row)[x];
                const int32_t cp[3] = {HostRedOf(p), HostGreenOf(p), HostBlueOf(p)};
                int32_t num = cp[key] - ca[key];
                if ((num < 0) != (den < 0) && num != 0)
                    continue;
                if (std::abs(num) > std::abs(den))
                    continue;
                bool onSegment = true;
                for (int32_t k = 0; k < 3 && onSegment; ++k) {
                    int32_t expected = ca[k] + (cb[k] - ca[k]) * num / den;
                    onSegment = std::abs(cp[k] - expected) <= 2;
                }
                if (!onSegment)
                    continue;
                uint8_t out[3];
                for (int32_t k = 0; k < 3; ++k)
                    out[k] = uint8_t(std::clamp(ca[k] + cb[k] - cp[k], 0, 255));
                p = HostArgb(HostAlphaOf(p), out[0], out[1], out[2]);
            }
        }
    }
}

void HostRaster::Copy(const HostPixelMap& src, const HostBox& srcBox, const HostBox& dstBox, const HostPixelMap* mask,
                      const HostBox& maskBox, const HostCopyOptions& options)
{
    if (!src.Valid() || srcBox.Empty() || dstBox.Empty())
        return;
    if (mask && (!mask->Valid() || maskBox.Empty()))
        return;
    if (&src == &mTarget) {
        copyFromSelf(srcBox, dstBox, mask, maskBox, options);
        return;
    }
    const int64_t sw = srcBox.Width(), sh = srcBox.Height();
    const int64_t dw = dstBox.Width(), dh = dstBox.Height();
    const int64_t mw = mask ? maskBox.Width() : 0, mh = mask ? maskBox.Height() : 0;
    const bool sameSize = sw == dw && sh == dh;
    const bool rowCopy = !mask && sameSize && options.mode == HostCopyOptions::Mode::Copy &&
                         src.Depth() == mTarget.Depth() && src.Depth() >= 8;

    for (const HostBox& c : mClip) {
        HostBox area = dstBox.Intersect(c);
        if (area.Empty())
            continue;
        if (rowCopy) {
            // Same depth, same size: whole runs of bytes, cut to the source store.
            HostBox from{area.left - dstBox.left + srcBox.left, area.top - dstBox.top + srcBox.top, 0, 0};
            from.right = from.left + area.Width();
            from.bottom = from.top + area.Height();
            HostBox inSrc = from.Intersect(HostBox{0, 0, src.Width(), src.Height()});
            if (inSrc.Empty())
                continue;
            int32_t bytes = src.Depth() / 8;
            int32_t toX = inSrc.left - from.left + area.left;
            int32_t toY = inSrc.top - from.top + area.top;
            touch(toX, toY, toX + inSrc.Width(), toY + inSrc.Height());
            for (int32_t y = inSrc.top; y < inSrc.bottom; ++y) {
                std::memcpy(mTarget.Row(toY + y - inSrc.top) + int64_t(toX) * bytes,
                            src.Row(y) + int64_t(inSrc.left) * bytes, size_t(inSrc.Width()) * size_t(bytes));
            }
            continue;
        }

        std::vector<int32_t> sxs(size_t(area.Width()));
        std::vector<int32_t> mxs(mask ? size_t(area.Width()) : 0);
        for (int32_t x = area.left; x < area.right; ++x) {
            sxs[size_t(x - area.left)] = int32_t(srcBox.left + (int64_t(x) - dstBox.left) * sw / dw);
            if (mask)
                mxs[size_t(x - area.left)] = int32_t(maskBox.left + (int64_t(x) - dstBox.left) * mw / dw);
        }
        for (int32_t y = area.top; y < area.bottom; ++y) {
            int32_t sy = int32_t(srcBox.top + (int64_t(y) - dstBox.top) * sh / dh);
            if (sy < 0 || sy >= src.Height())
                continue;
            int32_t my = mask ? int32_t(maskBox.top + (int64_t(y) - dstBox.top) * mh / dh) : 0;
            for (int32_t x = area.left; x < area.right; ++x) {
                int32_t sx = sxs[size_t(x - area.left)];
                if (sx < 0 || sx >= src.Width())
                    continue;
                if (mask && !mask->IsMaskSet(mxs[size_t(x - area.left)], my))
                    continue;
                uint32_t s = src.Get(sx, sy);
                if (src.Depth() == 1)
                    s = src.IsMaskSet(sx, sy) ? options.fore : options.back;
                uint32_t d = mTarget.Get(x, y);
                switch (options.mode) {
                case HostCopyOptions::Mode::Copy:
                    d = s;
                    break;
                case HostCopyOptions::Mode::Xor:
                    if (mTarget.Depth() == 32)
                        d ^= (s & kRGBBits);
                    else
                        d = mTarget.ArgbOfStored(mTarget.StoredOf(d) ^ mTarget.StoredOf(s));
                    break;
                case HostCopyOptions::Mode::Blend:
                    d = mix(d, s, options.weight);
                    break;
                }
                mTarget.Set(x, y, d);
                touch(x, y, x + 1, y + 1);
            }
        }
    }
}

// A copy within the target reads from a snapshot of the source, so that no pixel is read after
// the copy has written it.
void HostRaster::copyFromSelf(const HostBox& srcBox, const HostBox& dstBox, const HostPixelMap* mask,
                              const HostBox& maskBox, const HostCopyOptions& options)
{
    HostBox kept = srcBox.Intersect(HostBox{0, 0, mTarget.Width(), mTarget.Height()});
    if (kept.Empty())
        return;
    // Store sizes reach 65535, so the snapshot's bounds start at the bottom of the 16-bit range.
    HostPixelMap snapshot;
    Rect bounds{INT16_MIN, INT16_MIN, int16_t(INT16_MIN + kept.Height()), int16_t(INT16_MIN + kept.Width())};
    if (snapshot.Allocate(bounds, mTarget.Depth()) != noErr)
        return;
    for (int32_t y = 0; y < kept.Height(); ++y) {
        for (int32_t x = 0; x < kept.Width(); ++x)
            snapshot.Set(x, y, mTarget.Get(kept.left + x, kept.top + y));
    }
    HostBox from{srcBox.left - kept.left, srcBox.top - kept.top, srcBox.right - kept.left, srcBox.bottom - kept.top};
    Copy(snapshot, from, dstBox, mask, maskBox, options);
}

void HostRaster::Move(const std::vector<HostBox>& destinations, int32_t dx, int32_t dy)
{
    // The destination pieces inside the clip, and the bounds of where their pixels come from.
    std::vector<HostBox> pieces;
    HostBox from{0, 0, 0, 0};
    for (const HostBox& d : destinations) {
        for (const HostBox& c : mClip) {
            HostBox piece = d.Intersect(c);
            if (piece.Empty())
                continue;
            pieces.push_back(piece);
            HostBox s{piece.left - dx, piece.top - dy, piece.right - dx, piece.bottom - dy};
            from = from.Empty() ? s
                                : HostBox{std::min(from.left, s.left), std::min(from.top, s.top),
                                          std::max(from.right, s.right), std::max(from.bottom, s.bottom)};
        }
    }
    from = from.Intersect(HostBox{0, 0, mTarget.Width(), mTarget.Height()});
    if (pieces.empty() || from.Empty())
        return;

    // Keep a copy of the source pixels, as colours, before anything is overwritten. A 32-bit
    // store (any depth but 1 and 8) holds colours as they are, so its rows are copied whole.
    const bool direct = mTarget.Depth() != 1 && mTarget.Depth() != 8;
    const size_t width = size_t(from.Width());
    std::vector<uint32_t> saved(width * size_t(from.Height()));
    for (int32_t y = from.top; y < from.bottom; ++y) {
        uint32_t* out = &saved[size_t(y - from.top) * width];
        if (direct) {
            std::memcpy(out, reinterpret_cast<const uint32_t*>(mTarget.Row(y)) + from.left, width * sizeof(uint32_t));
            continue;
        }
        for (int32_t x = from.left; x < from.right; ++x)
            out[x - from.left] = mTarget.Get(x, y);
    }
    const HostBox sourced{from.left + dx, from.top + dy, from.right + dx, from.bottom + dy};
    const HostBox whole{0, 0, mTarget.Width(), mTarget.Height()};
    for (const HostBox& piece : pieces) {
        // Only the part whose source was kept, inside the store, changes.
        const HostBox moved = piece.Intersect(sourced).Intersect(whole);
        for (int32_t y = moved.top; !moved.Empty() && y < moved.bottom; ++y) {
            const uint32_t* in = &saved[size_t(y - dy - from.top) * width + size_t(moved.left - dx - from.left)];
            if (direct) {
                std::memcpy(reinterpret_cast<uint32_t*>(mTarget.Row(y)) + moved.left, in,
                            size_t(moved.Width()) * sizeof(uint32_t));
                continue;
            }
            for (int32_t x = moved.left; x < moved.right; ++x)
                mTarget.Set(x, y, in[x - moved.left]);
        }
        touch(piece.left, piece.top, piece.right, piece.bottom);
    }
}
