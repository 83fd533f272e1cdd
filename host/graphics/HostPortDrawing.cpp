// The drawing calls of the current port: each one maps the port's state (pen, colours, modes,
// clip, font) onto a HostRaster over the port's store, and records what it touched.
#include "HostPorts.h"

#include <algorithm>
#include <cstring>

namespace {

HostPort* current()
{
    GrafPtr port = nullptr;
    GetPort(&port);
    return port;
}

int16_t clamp16(int64_t value)
{
    return int16_t(std::clamp<int64_t>(value, INT16_MIN, INT16_MAX));
}

HostPaint penPaint(HostPort& port)
{
    const HostPort::State& s = port.GetState();
    switch (s.penMode) {
    case kModeXor:
    case kModePatXor:
        return HostPaint::Invert();
    case kModeBic:
    case kModePatBic:
    case kModeNotCopy:
    case kModeNotPatCopy:
        return HostPaint::Solid(HostArgbOf(s.back));
    case kModeBlend:
        return HostPaint::Blend(HostArgbOf(s.fore), s.opColor);
    default:
        return HostPaint::Solid(HostArgbOf(s.fore));
    }
}

// The back colour, or the back texture tiled from the port's origin.
HostPaint erasePaint(HostPort& port)
{
    const HostPort::State& s = port.GetState();
    if (s.backTexture && HostPort::IsLive(s.backTexture)) {
        const Rect& bounds = port.PortRect();
        return HostPaint::Texture(s.backTexture->Pixels(), -int32_t(bounds.left), -int32_t(bounds.top));
    }
    return HostPaint::Solid(HostArgbOf(s.back));
}

HostFontSpec fontOf(HostPort& port)
{
    const HostPort::State& s = port.GetState();
    return HostFontSpec{s.textFont, s.textSize, s.textFace};
}

enum class Verb { Frame, Paint, Erase, Invert };

HostPaint paintFor(HostPort& port, Verb verb)
{
    switch (verb) {
    case Verb::Erase:
        return erasePaint(port);
    case Verb::Invert:
        return HostPaint::Invert();
    default:
        return penPaint(port);
    }
}

// Runs one shape call on the current port: shape(raster, box, paint, frame?, pen width, pen height).
template <typename Shape>
void drawShape(const Rect* rect, Verb verb, Shape shape)
{
    HostPort* port = current();
    if (!port || !rect)
        return;
    HostRaster raster(port->Pixels(), port->ClipBoxes());
    const Point& pen = port->GetState().penSize;
    shape(raster, port->StoreBox(*rect), paintFor(*port, verb), verb == Verb::Frame, int32_t(pen.h), int32_t(pen.v));
    if (verb == Verb::Invert)
        LMSetHiliteMode(uint8_t(LMGetHiliteMode() | kHiliteModeNormal));
    port->NoteChanged(raster.Touched());
}

void rectShape(const Rect* rect, Verb verb)
{
    drawShape(rect, verb, [](HostRaster& r, const HostBox& box, const HostPaint& paint, bool frame, int32_t pw, int32_t ph) {
        if (frame)
            r.FrameBox(box, pw, ph, paint);
        else
            r.FillBox(box, paint);
    });
}

void ovalShape(const Rect* rect, Verb verb)
{
    drawShape(rect, verb, [](HostRaster& r, const HostBox& box, const HostPaint& paint, bool frame, int32_t pw, int32_t ph) {
        if (frame)
            r.FrameOval(box, pw, ph, paint);
        else
            r.FillOval(box, paint);
    });
}

void roundShape(const Rect* rect, int16_t ow, int16_t oh, Verb verb)
{
    drawShape(rect, verb, [ow, oh](HostRaster& r, const HostBox& box, const HostPaint& paint, bool frame, int32_t pw, int32_t ph) {
        if (frame)
            r.FrameRoundBox(box, ow, oh, pw, ph, paint);
        else
            r.FillRoundBox(box, ow, oh, paint);
    });
}

void arcShape(const Rect* rect, int16_t start, int16_t arc, Verb verb)
{
    drawShape(rect, verb, [start, arc](HostRaster& r, const HostBox& box, const HostPaint& paint, bool frame, int32_t pw, int32_t ph) {
        if (frame)
            r.FrameArc(box, start, arc, pw, ph, paint);
        else
            r.FillArc(box, start, arc, paint);
    });
}

HostBox boxIn(const BitMap& pixels, const Rect& rect)
{
    const Rect& b = pixels.Bounds();
    return HostBox{int32_t(rect.left) - b.left, int32_t(rect.top) - b.top, int32_t(rect.right) - b.left,
                   int32_t(rect.bottom) - b.top};
}

// The copy shared by CopyBits, CopyMask and CopyDeepMask.
void copyPixels(const BitMap* src, const BitMap* mask, BitMap* dst, const Rect* srcRect, const Rect* maskRect,
                const Rect* dstRect, int16_t mode, RgnHandle maskRgn)
{
    if (!src || !dst || !srcRect || !dstRect || !src->Valid() || !dst->Valid())
        return;
    if (mask && !maskRect)
        return;
    HostPort* port = current();
    HostCopyOptions options;
    if (port) {
        options.fore = HostArgbOf(port->GetState().fore);
        options.back = HostArgbOf(port->GetState().back);
        options.weight = port->GetState().opColor;
    }
    if (mode == kModeBlend)
        options.mode = HostCopyOptions::Mode::Blend;
    else if (mode == kModeXor || mode == kModePatXor)
        options.mode = HostCopyOptions::Mode::Xor;

    // Into the current port its clip applies; into any other store, only its bounds.
    HostRegion clip = port && &port->Pixels() == dst ? port->EffectiveClip() : HostRegion(dst->Bounds());
    if (maskRgn)
        clip = HostRegion::Intersection(clip, *maskRgn);
    std::vector<HostBox> boxes;
    for (const Rect& r : clip.Rects())
        boxes.push_back(boxIn(*dst, r));

    HostRaster raster(*dst, boxes);
    raster.Copy(*src, boxIn(*src, *srcRect), boxIn(*dst, *dstRect), mask,
                mask ? boxIn(*mask, *maskRect) : HostBox{}, options);
    if (HostPort* owner = HostPort::OwnerOf(dst))
        owner->NoteChanged(raster.Touched());
}

} // namespace

// --- Lines and pixels -------------------------------------------------------------------------

void LineTo(int16_t h, int16_t v)
{
    HostPort* port = current();
    if (!port)
        return;
    HostPort::State& s = port->GetState();
    HostBox from = port->StoreBox(Rect{s.pen.v, s.pen.h, s.pen.v, s.pen.h});
    HostBox to = port->StoreBox(Rect{v, h, v, h});
    HostRaster raster(port->Pixels(), port->ClipBoxes());
    raster.Line(from.left, from.top, to.left, to.top, s.penSize.h, s.penSize.v, penPaint(*port));
    s.pen = Point{v, h};
    port->NoteChanged(raster.Touched());
}

void SetCPixel(int16_t h, int16_t v, const RGBColor* color)
{
    HostPort* port = current();
    if (!port || !color)
        return;
    HostBox at = port->StoreBox(Rect{v, h, v, h});
    HostRaster raster(port->Pixels(), port->ClipBoxes());
    raster.FillSpan(at.top, at.left, at.left + 1, HostPaint::Solid(HostArgbOf(*color)));
    port->NoteChanged(raster.Touched());
}

void GetCPixel(int16_t h, int16_t v, RGBColor* color)
{
    if (!color)
        return;
    HostPort* port = current();
    *color = RGBColor{0, 0, 0};
    if (!port)
        return;
    const Rect& b = port->PortRect();
    if (h < b.left || h >= b.right || v < b.top || v >= b.bottom)
        return;
    *color = HostRGBOf(port->Pixels().GetAt(h, v));
}

// --- Shapes ----------------------------------------------------------------------------------

void FrameRect(const Rect* rect) { rectShape(rect, Verb::Frame); }
void PaintRect(const Rect* rect) { rectShape(rect, Verb::Paint); }
void EraseRect(const Rect* rect) { rectShape(rect, Verb::Erase); }

void InvertRect(const Rect* rect)
{
    HostPort* port = current();
    if (!port || !rect)
        return;
    if (LMGetHiliteMode() & kHiliteModeNormal) {
        rectShape(rect, Verb::Invert);
        return;
    }
    // Highlight mode: the back colour and the highlight colour trade places.
    HostRaster raster(port->Pixels(), port->ClipBoxes());
    raster.Exchange(port->StoreBox(*rect), HostArgbOf(port->GetState().back), HostArgbOf(port->GetState().hilite));
    LMSetHiliteMode(uint8_t(LMGetHiliteMode() | kHiliteModeNormal));
    port->NoteChanged(raster.Touched());
}

void FrameOval(const Rect* rect) { ovalShape(rect, Verb::Frame); }
void PaintOval(const Rect* rect) { ovalShape(rect, Verb::Paint); }
void EraseOval(const Rect* rect) { ovalShape(rect, Verb::Erase); }
void InvertOval(const Rect* rect) { ovalShape(rect, Verb::Invert); }

void FrameRoundRect(const Rect* rect, int16_t ow, int16_t oh) { roundShape(rect, ow, oh, Verb::Frame); }
void PaintRoundRect(const Rect* rect, int16_t ow, int16_t oh) { roundShape(rect, ow, oh, Verb::Paint); }
void EraseRoundRect(const Rect* rect, int16_t ow, int16_t oh) { roundShape(rect, ow, oh, Verb::Erase); }
void InvertRoundRect(const Rect* rect, int16_t ow, int16_t oh) { roundShape(rect, ow, oh, Verb::Invert); }

void FrameArc(const Rect* rect, int16_t start, int16_t arc) { arcShape(rect, start, arc, Verb::Frame); }
void PaintArc(const Rect* rect, int16_t start, int16_t arc) { arcShape(rect, start, arc, Verb::Paint); }
void EraseArc(const Rect* rect, int16_t start, int16_t arc) { arcShape(rect, start, arc, Verb::Erase); }
void InvertArc(const Rect* rect, int16_t start, int16_t arc) { arcShape(rect, start, arc, Verb::Invert); }

// --- Copying and scrolling ------------------------------------------------------------------

void CopyBits(const BitMap* src, BitMap* dst, const Rect* srcRect, const Rect* dstRect, int16_t mode,
              RgnHandle maskRgn)
{
    copyPixels(src, nullptr, dst, srcRect, nullptr, dstRect, mode, maskRgn);
}

void CopyMask(const BitMap* src, const BitMap* mask, BitMap* dst, const Rect* srcRect, const Rect* maskRect,
              const Rect* dstRect)
{
    copyPixels(src, mask, dst, srcRect, maskRect, dstRect, kModeCopy, nullptr);
}

void CopyDeepMask(const BitMap* src, const BitMap* mask, BitMap* dst, const Rect* srcRect, const Rect* maskRect,
                  const Rect* dstRect, int16_t mode, RgnHandle maskRgn)
{
    copyPixels(src, mask, dst, srcRect, maskRect, dstRect, mode, maskRgn);
}

void ScrollRect(const Rect* rect, int16_t dh, int16_t dv, RgnHandle updateRgn)
{
    if (updateRgn)
        updateRgn->SetEmpty();
    HostPort* port = current();
    if (!port || !rect)
        return;
    // The pixels that stay visible move; the rest of the area is uncovered and erased.
    HostRegion area = HostRegion::Intersection(port->EffectiveClip(), HostRegion(*rect));
    HostRegion shifted = area;
    shifted.Offset(dh, dv);
    HostRegion moved = HostRegion::Intersection(area, shifted);
    HostRegion uncovered = HostRegion::Difference(area, moved);

    HostRaster raster(port->Pixels(), port->ClipBoxes());
    std::vector<HostBox> destinations;
    for (const Rect& r : moved.Rects())
        destinations.push_back(port->StoreBox(r));
    raster.Move(destinations, dh, dv);
    HostPaint erase = erasePaint(*port);
    for (const Rect& r : uncovered.Rects())
        raster.FillBox(port->StoreBox(r), erase);
    port->NoteChanged(raster.Touched());
    if (updateRgn)
        *updateRgn = uncovered;
}

// --- Text -------------------------------------------------------------------------------------

void DrawText(const void* text, int16_t first, int16_t count)
{
    HostPort* port = current();
    if (!port || !text || first < 0 || count <= 0)
        return;
    const uint8_t* bytes = static_cast<const uint8_t*>(text) + first;
    HostPort::State& s = port->GetState();
    HostFontSpec spec = fontOf(*port);
    HostFonts& fonts = HostFonts::Instance();
    HostRaster raster(port->Pixels(), port->ClipBoxes());
    HostBox pen = port->StoreBox(Rect{s.pen.v, s.pen.h, s.pen.v, s.pen.h});

    HostPaint paint = HostPaint::Solid(HostArgbOf(s.fore));
    switch (s.textMode) {
    case kModeXor:
        paint = HostPaint::Invert();
        break;
    case kModeBic:
        paint = HostPaint::Solid(HostArgbOf(s.back));
        break;
    case kModeCopy: {
        // Copy mode puts the text on its own background.
        HostFontMetrics m = fonts.Metrics(spec);
        int32_t width = fonts.Width(spec, bytes, count);
        raster.FillBox(HostBox{pen.left, pen.top - m.ascent, pen.left + width, pen.top + m.descent},
                       HostPaint::Solid(HostArgbOf(s.back)));
        break;
    }
    default:
        break;
    }
    int32_t width = fonts.Draw(raster, spec, pen.left, pen.top, bytes, count, paint);
    s.pen.h = clamp16(int64_t(s.pen.h) + width);
    port->NoteChanged(raster.Touched());
}

void DrawString(ConstStr255Param text)
{
    if (text)
        DrawText(text + 1, 0, text[0]);
}

int16_t TextWidth(const void* text, int16_t first, int16_t count)
{
    HostPort* port = current();
    if (!port || !text || first < 0 || count <= 0)
        return 0;
    const uint8_t* bytes = static_cast<const uint8_t*>(text) + first;
    return clamp16(HostFonts::Instance().Width(fontOf(*port), bytes, count));
}

int16_t StringWidth(ConstStr255Param text)
{
    return text ? TextWidth(text + 1, 0, text[0]) : 0;
}

void GetFontInfo(FontInfo* info)
{
    if (!info)
        return;
    *info = FontInfo{0, 0, 0, 0};
    HostPort* port = current();
    if (!port)
        return;
    HostFontMetrics m = HostFonts::Instance().Metrics(fontOf(*port));
    *info = FontInfo{m.ascent, m.descent, m.widMax, m.leading};
}

int16_t TruncText(int16_t width, Ptr text, int16_t* length)
{
    if (!text || !length || *length < 0)
        return paramErr;
    HostPort* port = current();
    if (!port)
        return 0;
    bool truncated = false;
    *length = int16_t(HostFonts::Instance().Truncate(fontOf(*port), width, reinterpret_cast<uint8_t*>(text), *length,
                                                    &truncated));
    return truncated ? 1 : 0;
}

int32_t StyledLineBreak(const char* text, int32_t length, int32_t start, int32_t width)
{
    HostPort* port = current();
    HostFontSpec spec = port ? fontOf(*port) : HostFontSpec{};
    return HostFonts::Instance().BreakLine(spec, reinterpret_cast<const uint8_t*>(text), length, start, width);
}

int32_t VisibleLength(const char* text, int32_t length)
{
    return HostFonts::VisibleLength(reinterpret_cast<const uint8_t*>(text), length);
}
