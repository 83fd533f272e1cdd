// Drawing through the host's ports: state kept here, synchronised lazily by CMacDCStuff, and
// coordinates mapped from the context's space (window content, view parent, image pixels) to
// the port's.
#include "FWDrawContext.h"

#include "CGWorldSaver.h"
#include "CMacDCStuff.h"
#include "CMacIBStuff.h"
#include "FWAppColor.h"
#include "FWDrawContextSavers.h"
#include "FWProgrammerMessage.h"
#include "FWString.h"
#include "FWView.h"
#include "FWWindow.h"
#include "HostWindows.h"
#include "HostMacRoman.h"
#include "HostPorts.h"
#include "HostScript.h"
#include "ImageBuffer.h"

#include <algorithm>
#include <vector>

bool SystemIsInternational = false;
ImageBuffer* FWDrawContext::texture = nullptr;

namespace {

const char* const kSourcePath = "FW/App/Source/FWDrawContext";

// Longest text handed to the port at once (its counts are 16-bit).
constexpr int32_t kTextChunk = 32767;
// Longest text measured at once, so that a width always fits 16 bits.
constexpr int32_t kMeasureChunk = 64;
// Text on the international path is cut to this many UTF-16 units.
constexpr int32_t kMaxUnits = 256;

RGBColor toRGB(const FWArgb32& color)
{
    return RGBColor{uint16_t(color.r * 257), uint16_t(color.g * 257), uint16_t(color.b * 257)};
}

FWArgb32 fromRGB(const RGBColor& color)
{
    return FWArgb32(255, color.red >> 8, color.green >> 8, color.blue >> 8);
}

int16_t clamp16(int32_t value)
{
    return int16_t(std::clamp<int32_t>(value, -32768, 32767));
}

Rect asRect(const FWRect& r)
{
    return Rect{r.top, r.left, r.bottom, r.right};
}

int32_t floorDiv(int32_t a, int32_t b)
{
    const int32_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

int32_t positiveMod(int32_t a, int32_t m)
{
    const int32_t r = a % m;
    return r < 0 ? r + m : r;
}

// Width of port text of any length, summed in pieces small enough for 16-bit widths.
int32_t portTextWidth(const char* text, int32_t length)
{
    int32_t width = 0;
    for (int32_t at = 0; at < length; at += kMeasureChunk)
        width += TextWidth(text, int16_t(at), int16_t(std::min(kMeasureChunk, length - at)));
    return width;
}

void portDrawText(const char* text, int32_t length)
{
    for (int32_t at = 0; at < length; at += kTextChunk)
        DrawText(text + at, 0, int16_t(std::min(kTextChunk, length - at)));
}

// Reads UTF-8 into at most kMaxUnits UTF-16 units; false when the bytes are not UTF-8.
bool decodeUtf8(const char* text, int32_t length, std::vector<char16_t>& units)
{
    const auto* p = reinterpret_cast<const uint8_t*>(text);
    for (int32_t i = 0; i < length;) {
        const uint8_t lead = p[i];
        const int32_t extra = lead < 0x80 ? 0 : (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2 : (lead & 0xF8) == 0xF0 ? 3 : -1;
        if (extra < 0 || i + extra >= length)
            return false;
        char32_t c = extra == 0 ? lead : char32_t(lead & (0x3F >> extra));
        for (int32_t k = 1; k <= extra; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
            c = (c << 6) | (p[i + k] & 0x3F);
        }
        static constexpr char32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
        if (c < kMinimum[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return false;
        i += extra + 1;
        if (c >= 0x10000) {
            if (int32_t(units.size()) + 2 > kMaxUnits)
                break;
            c -= 0x10000;
            units.push_back(char16_t(0xD800 + (c >> 10)));
            units.push_back(char16_t(0xDC00 + (c & 0x3FF)));
        } else {
            if (int32_t(units.size()) + 1 > kMaxUnits)
                break;
            units.push_back(char16_t(c));
        }
    }
    return true;
}

// The op buffer, created empty on first use and freed at exit, after which the platform's
// bookkeeping of worlds must still exist.
struct OpBufferHolder {
    struct Prepare {
        Prepare() { CMacIBStuff::PrepareForStaticOwners(); }
    } prepare;
    ImageBuffer buffer;
};

} // namespace

// ---- construction and target

FWDrawContext::FWDrawContext()
{
    SetDefaultState();
}

FWDrawContext::FWDrawContext(FWWindow* window) : mWindow(window)
{
    if (window == nullptr) {
        fw_programmer_message("", kSourcePath, __LINE__);
        return;
    }
    acquireWindowState();
    SetDefaultState();
    SetFont(&window->Font());
    if (texture != nullptr)
        eraseWindowMargins();
}

FWDrawContext::FWDrawContext(FWView* view) : mView(view)
{
    mWindow = view != nullptr ? view->GetWindow() : nullptr;
    if (mWindow == nullptr) {
        fw_programmer_message("", kSourcePath, __LINE__);
        mView = nullptr;
        return;
    }
    // For the life of the context the window's widths carry the view's parent offset, so the
    // view draws in its parent's coordinates.
    mViewOffset = view->GetParentOffset();
    mWindow->SetTitleWidth(mWindow->TitleWidth() + mViewOffset.v);
    mWindow->SetFrameWidth(mWindow->FrameWidth() + mViewOffset.h);
    acquireWindowState();
    SetDefaultState();
    SetFont(&mWindow->Font());
}

FWDrawContext::FWDrawContext(ImageBuffer* image) : mImage(image)
{
    if (image == nullptr)
        fw_programmer_message("", kSourcePath, __LINE__);
    acquireImageState();
    SetDefaultState();
}

FWDrawContext::~FWDrawContext()
{
    restoreWindowWidths();
    releaseState();
}

void FWDrawContext::restoreWindowWidths()
{
    if (mView == nullptr || mWindow == nullptr)
        return;
    mWindow->SetTitleWidth(mWindow->TitleWidth() - mViewOffset.v);
    mWindow->SetFrameWidth(mWindow->FrameWidth() - mViewOffset.h);
    mView = nullptr;
}

void FWDrawContext::SetImageBuffer(ImageBuffer* image)
{
    restoreWindowWidths();
    releaseState();
    mWindow = nullptr;
    mView = nullptr;
    mImage = image;
    acquireImageState();
}

void FWDrawContext::acquireImageState()
{
    if (mImage == nullptr || !mImage->Valid())
        return;
    GWorldPtr world = mImage->GetPDB();
    mStuff = new CMacDCStuff(world, GetGWorldDevice(world));
}

void FWDrawContext::acquireWindowState()
{
    // A window draws on its platform window's port, which the platform half of windows
    // provides; a window without one has no platform state and draws nothing.
    CGrafPtr port = windowPort();
    if (port == nullptr)
        return;
    mStuff = new CMacDCStuff(port, GetMainDevice());
    SetGWorld(port, GetMainDevice());
}

CGrafPtr FWDrawContext::windowPort() const
{
    return GetWindowPort(mWindow->GetPDW());
}

void FWDrawContext::releaseState()
{
    if (mStuff == nullptr)
        return;
    if (mWindow != nullptr) {
        SetGWorld(mStuff->Port(), mStuff->Device());
        const Rect content = contentArea();
        ClipRect(&content);
        Flush();
    }
    delete mStuff;
    mStuff = nullptr;
}

void FWDrawContext::eraseWindowMargins()
{
    SetBackColor(FWGetAppColor(0));
    const int32_t title = mWindow->TitleWidth();
    const FWRect size = mWindow->Size();
    const FWRect strips[] = {
        FWRect(int16_t(size.left + 2), int16_t(size.top + 2), int16_t(size.right - 2), int16_t(size.top + 5)),
        FWRect(int16_t(size.left + 2), int16_t(size.top + 5), int16_t(size.left + 5), int16_t(title - 2)),
        FWRect(int16_t(size.right - 5), int16_t(size.top + 5), int16_t(size.right - 2), int16_t(title - 2)),
    };
    // The clip is taken again in window space, else it would still be the content's.
    mWindow->WindowSpace();
    applyClip();
    for (const FWRect& strip : strips)
        EraseRect(&strip);
    mWindow->ContentSpace();
    applyClip();
    EraseRect(nullptr);
}

void FWDrawContext::SetDefaultState()
{
    if (mStuff == nullptr)
        return;
    SetClipRect(nullptr);
    SetPenMode(kPenCopy);
    SetForeColor(FWArgb32::Black);
    SetBackColor(FWGetAppColor(0));
    MoveTo(0, 0);
    const FWFont font;
    SetFont(&font);
}

// ---- coordinates

FWPoint FWDrawContext::offset() const
{
    if (mWindow == nullptr)
        return FWPoint(0, 0);
    return FWPoint(mWindow->FrameWidth(), mWindow->TitleWidth());
}

Point FWDrawContext::toPort(int32_t h, int32_t v) const
{
    const FWPoint o = offset();
    return Point{clamp16(v + o.v), clamp16(h + o.h)};
}

Rect FWDrawContext::toPort(const FWRect& rect) const
{
    const Point topLeft = toPort(rect.left, rect.top);
    const Point bottomRight = toPort(rect.right, rect.bottom);
    return Rect{topLeft.v, topLeft.h, bottomRight.v, bottomRight.h};
}

FWRect FWDrawContext::fromPort(const Rect& rect) const
{
    const FWPoint o = offset();
    return FWRect(clamp16(rect.left - o.h), clamp16(rect.top - o.v), clamp16(rect.right - o.h),
                  clamp16(rect.bottom - o.v));
}

Rect FWDrawContext::contentArea() const
{
    FWRect content;
    mWindow->GetContentRect(&content);
    return toPort(content);
}

Rect FWDrawContext::wholeArea() const
{
    if (mWindow != nullptr)
        return contentArea();
    Rect bounds{0, 0, 0, 0};
    GetPortBounds(mStuff->Port(), &bounds);
    return bounds;
}

// ---- colours, pen and font

FWArgb32 FWDrawContext::SetForeColor(const FWArgb32& color)
{
    if (mStuff == nullptr)
        return FWArgb32::Black;
    const FWArgb32 previous = fromRGB(mStuff->mForeColor);
    mStuff->mForeColor = toRGB(color);
    return previous;
}

FWArgb32 FWDrawContext::SetForeColor(int red, int green, int blue)
{
    return SetForeColor(FWArgb32(255, red, green, blue));
}

FWArgb32 FWDrawContext::SetBackColor(const FWArgb32& color)
{
    if (mStuff == nullptr)
        return FWArgb32::Black;
    const FWArgb32 previous = fromRGB(mStuff->mBackColor);
    mStuff->mBackColor = toRGB(color);
    return previous;
}

FWArgb32 FWDrawContext::GetForeColor() const
{
    return mStuff != nullptr ? fromRGB(mStuff->mForeColor) : FWArgb32::Black;
}

FWArgb32 FWDrawContext::GetBackColor() const
{
    return mStuff != nullptr ? fromRGB(mStuff->mBackColor) : FWArgb32::Black;
}

void FWDrawContext::SetPenMode(PenModeType mode)
{
    if (mStuff != nullptr)
        mStuff->mPenMode = mode == kPenCopy ? int16_t(kModeCopy) : int16_t(kModeXor);
}

FWDrawContext::PenModeType FWDrawContext::GetPenMode() const
{
    return mStuff != nullptr && mStuff->mPenMode != kModeCopy ? kPenXor : kPenCopy;
}

void FWDrawContext::MoveTo(int32_t h, int32_t v)
{
    if (mStuff != nullptr)
        mStuff->mPenLocation = toPort(h, v);
}

FWPoint FWDrawContext::GetPen() const
{
    if (mStuff == nullptr)
        return FWPoint(0, 0);
    const FWPoint o = offset();
    return FWPoint(clamp16(mStuff->mPenLocation.h - o.h), clamp16(mStuff->mPenLocation.v - o.v));
}

void FWDrawContext::SetFont(const FWFont* font)
{
    if (font == nullptr || mStuff == nullptr)
        return;
    mStuff->mFont = *font;
    mStuff->mFontNumber = font->PlatformFont();
    mStuff->mFontSize = font->Size();
    mStuff->mFontFace = font->PlatformFace();
}

FWFont FWDrawContext::GetFont() const
{
    return mStuff != nullptr ? mStuff->mFont : FWFont();
}

void FWDrawContext::SetFontType(int16_t type)
{
    FWFont font = GetFont();
    font.SetType(type);
    SetFont(&font);
}

void FWDrawContext::SetFontSize(int16_t size)
{
    FWFont font = GetFont();
    font.SetSize(size);
    SetFont(&font);
}

void FWDrawContext::SetFontBold(bool bold)
{
    FWFont font = GetFont();
    font.SetBold(bold);
    SetFont(&font);
}

void FWDrawContext::SetFontItalic(bool italic)
{
    FWFont font = GetFont();
    font.SetItalic(italic);
    SetFont(&font);
}

// ---- clipping

FWRect FWDrawContext::SetClipRect(const FWRect* rect)
{
    if (mStuff == nullptr)
        return FWRect();
    const FWRect previous = mStuff->mRequestedClip;
    mStuff->mRequestedClip = rect != nullptr ? *rect : CMacDCStuff::kWideOpen;
    applyClip();
    return previous;
}

void FWDrawContext::applyClip()
{
    FWRect clip = mStuff->mRequestedClip;
    if (mWindow != nullptr) {
        FWRect content;
        mWindow->GetContentRect(&content);
        FWRect overlap;
        if (!clip.IntersectRect(content, &overlap)) {
            mStuff->mEffectiveClip = Rect{0, 0, 0, 0};
            return;
        }
        clip = overlap;
    }
    mStuff->mEffectiveClip = toPort(clip);
}

void FWDrawContext::GetClipRect(FWRect* rect) const
{
    if (rect == nullptr)
        return;
    if (mStuff == nullptr) {
        *rect = FWRect();
        return;
    }
    const Rect& clip = mStuff->mEffectiveClip;
    const bool empty = clip.left >= clip.right || clip.top >= clip.bottom;
    *rect = empty ? FWRect() : fromPort(clip);
}

FWRect* FWDrawContext::GetVisRect(FWRect* rect) const
{
    if (rect == nullptr || mStuff == nullptr)
        return rect;
    Rect bounds{0, 0, 0, 0};
    if (mWindow != nullptr) {
        RgnHandle visible = NewRgn();
        GetPortVisibleRegion(mStuff->Port(), visible);
        GetRegionBounds(visible, &bounds);
        DisposeRgn(visible);
        *rect = fromPort(bounds);
    } else {
        GetPortBounds(mStuff->Port(), &bounds);
        *rect = FWRect(bounds.left, bounds.top, bounds.right, bounds.bottom);
    }
    return rect;
}

void FWDrawContext::Flush()
{
    // Off-screen images need no flushing.
    if (mStuff == nullptr || mWindow == nullptr || mWindow->GetPDW() == nullptr)
        return;
    QDFlushPortBuffer(windowPort(), nullptr);
}

// ---- lines and shapes

void FWDrawContext::LineTo(int32_t h, int32_t v)
{
    if (mStuff == nullptr)
        return;
    mStuff->SyncLines();
    const Point to = toPort(h, v);
    ::LineTo(to.h, to.v);
    mStuff->mPenLocation = to;
}

void FWDrawContext::drawLine(int32_t h0, int32_t v0, int32_t h1, int32_t v1)
{
    MoveTo(h0, v0);
    LineTo(h1, v1);
}

void FWDrawContext::PaintPixel(int32_t h, int32_t v)
{
    if (mStuff == nullptr)
        return;
    mStuff->SyncImages();
    const Point at = toPort(h, v);
    SetCPixel(at.h, at.v, &mStuff->mForeColor);
}

void FWDrawContext::FrameRect(const FWRect* rect)
{
    if (mStuff == nullptr || rect == nullptr)
        return;
    mStuff->SyncShapes();
    const Rect r = toPort(*rect);
    ::FrameRect(&r);
}

void FWDrawContext::PaintRect(const FWRect* rect)
{
    if (mStuff == nullptr)
        return;
    mStuff->SyncShapes();
    const Rect r = rect != nullptr ? toPort(*rect) : wholeArea();
    ::PaintRect(&r);
}

void FWDrawContext::PaintRect(const FWRect* rect, const FWArgb32& color)
{
    FWForeColorSaver saver(*this, color);
    PaintRect(rect);
}

void FWDrawContext::EraseRect(const FWRect* rect)
{
    if (mStuff == nullptr)
        return;
    const Rect r = rect != nullptr ? toPort(*rect) : wholeArea();
    if (texture != nullptr && texture->Valid()) {
        eraseWithTexture(r);
        return;
    }
    mStuff->SyncShapes();
    ::EraseRect(&r);
}

void FWDrawContext::EraseRect(const FWRect* rect, const FWArgb32& color)
{
    FWBackColorSaver saver(*this, color);
    EraseRect(rect);
}

// Cells aligned to multiples of the texture's size in port coordinates; each part of the
// rectangle takes the texture's pixels at the same place within its cell.
void FWDrawContext::eraseWithTexture(const Rect& rect)
{
    const FWRect& tile = texture->GetRect();
    const int32_t w = int32_t(tile.right) - tile.left;
    const int32_t h = int32_t(tile.bottom) - tile.top;
    if (w <= 0 || h <= 0 || rect.left >= rect.right || rect.top >= rect.bottom)
        return;
    mStuff->SyncImages();
    for (int32_t row = floorDiv(rect.top, h); row <= floorDiv(rect.bottom - 1, h); ++row) {
        for (int32_t column = floorDiv(rect.left, w); column <= floorDiv(rect.right - 1, w); ++column) {
            const int32_t cellLeft = column * w;
            const int32_t cellTop = row * h;
            const int32_t left = std::max<int32_t>(rect.left, cellLeft);
            const int32_t top = std::max<int32_t>(rect.top, cellTop);
            const int32_t right = std::min<int32_t>(rect.right, cellLeft + w);
            const int32_t bottom = std::min<int32_t>(rect.bottom, cellTop + h);
            const Rect dst{int16_t(top), int16_t(left), int16_t(bottom), int16_t(right)};
            const Rect src{int16_t(tile.top + top - cellTop), int16_t(tile.left + left - cellLeft),
                           int16_t(tile.top + bottom - cellTop), int16_t(tile.left + right - cellLeft)};
            copyToPort(*texture, src, dst, kModeCopy);
        }
    }
}

void FWDrawContext::InsetRect(const FWRect* rect, bool framed)
{
    if (mStuff == nullptr || rect == nullptr)
        return;
    FWForeColorSaver colors(*this);
    FWPenSaver pen(*this);
    PenNormal();
    const FWRect& r = *rect;
    SetForeColor(FWGetAppColor(2));
    drawLine(r.left, r.top, r.right - 2, r.top);
    drawLine(r.left, r.top, r.left, r.bottom - 2);
    SetForeColor(FWGetAppColor(1));
    drawLine(r.right - 1, r.top + 1, r.right - 1, r.bottom - 1);
    drawLine(r.left + 1, r.bottom - 1, r.right - 1, r.bottom - 1);
    if (framed) {
        SetForeColor(FWArgb32::Black);
        const FWRect inner(int16_t(r.left + 1), int16_t(r.top + 1), int16_t(r.right - 1), int16_t(r.bottom - 1));
        FrameRect(&inner);
    }
}

void FWDrawContext::ExtrudedRect(const FWRect* rect, const FWArgb32* color)
{
    if (mStuff == nullptr || rect == nullptr)
        return;
    FWArgb32 light = FWGetAppColor(1);
    FWArgb32 dark = FWGetAppColor(2);
    if (color != nullptr) {
        light = *color;
        light.LerpTo(FWArgb32::White, 50, 100);
        dark = *color;
        dark.LerpTo(FWArgb32::Black, 50, 100);
    }
    FWForeColorSaver colors(*this);
    FWPenSaver pen(*this);
    PenNormal();
    const FWRect& r = *rect;
    SetForeColor(light);
    drawLine(r.left, r.top, r.right - 2, r.top);
    drawLine(r.left, r.top, r.left, r.bottom - 2);
    SetForeColor(dark);
    drawLine(r.right - 1, r.top + 1, r.right - 1, r.bottom - 1);
    drawLine(r.left + 1, r.bottom - 1, r.right - 1, r.bottom - 1);
}

void FWDrawContext::HiliteRect(const FWRect* rect, const FWArgb32& hilite, const FWArgb32& back)
{
    if (mStuff == nullptr || rect == nullptr)
        return;
    mStuff->SyncShapes();
    const RGBColor hiliteColor = toRGB(hilite);
    const RGBColor backColor = toRGB(back);
    HiliteColor(&hiliteColor);
    RGBBackColor(&backColor);
    LMSetHiliteMode(uint8_t(LMGetHiliteMode() & ~kHiliteModeNormal));
    const Rect r = toPort(*rect);
    InvertRect(&r);
}

void FWDrawContext::ScrollRect(const FWRect* rect, FWRect& exposed, int32_t dh, int32_t dv)
{
    if (dh != 0 && dv != 0)
        fw_programmer_message("", kSourcePath, __LINE__);
    if (mStuff == nullptr || rect == nullptr)
        return;
    static RgnHandle sUpdate = NewRgn();
    scrollPort(*rect, dh, dv, sUpdate);
    exposed = regionBounds(sUpdate);
}

void FWDrawContext::ScrollRect(const FWRect* rect, int32_t dh, int32_t dv)
{
    if (dh != 0 && dv != 0)
        fw_programmer_message("", kSourcePath, __LINE__);
    if (mStuff == nullptr || rect == nullptr)
        return;
    static RgnHandle sUpdate = NewRgn();
    scrollPort(*rect, dh, dv, sUpdate);
    if (mWindow != nullptr && !EmptyRgn(sUpdate)) {
        const FWRect exposed = regionBounds(sUpdate);
        mWindow->Inval(&exposed);
    }
}

void FWDrawContext::scrollPort(const FWRect& rect, int32_t dh, int32_t dv, RgnHandle update)
{
    mStuff->SyncShapes();
    const Rect r = toPort(rect);
    ::ScrollRect(&r, clamp16(dh), clamp16(dv), update);
}

FWRect FWDrawContext::regionBounds(RgnHandle region) const
{
    if (EmptyRgn(region))
        return FWRect();
    Rect bounds{0, 0, 0, 0};
    GetRegionBounds(region, &bounds);
    return fromPort(bounds);
}

// ---- images

void FWDrawContext::copyToPort(const ImageBuffer& image, const Rect& src, const Rect& dst, int16_t mode)
{
    // A 1-bit source takes black for set pixels and white for clear ones.
    const RGBColor black{0, 0, 0};
    const RGBColor white{0xFFFF, 0xFFFF, 0xFFFF};
    RGBForeColor(&black);
    RGBBackColor(&white);
    const BitMap* source = GetPortBitMapForCopyBits(image.GetPDB());
    BitMap* target = GetPortBitMapForCopyBits(mStuff->Port());
    const ImageBuffer* mask = image.GetMask();
    if (mask != nullptr && mask->Valid()) {
        const BitMap* maskBits = GetPortBitMapForCopyBits(mask->GetPDB());
        CopyDeepMask(source, maskBits, target, &src, &src, &dst, mode, nullptr);
    } else {
        CopyBits(source, target, &src, &dst, mode, nullptr);
    }
}

void FWDrawContext::DrawImage(const ImageBuffer* image, const FWRect* src, const FWRect* dst, bool dither)
{
    if (mStuff == nullptr || image == nullptr || !image->Valid() || src == nullptr || dst == nullptr)
        return;
    mStuff->SyncImages();
    const int16_t portDepth = GetPixDepth(GetPortPixMap(mStuff->Port()));
    const bool dithered = dither && portDepth <= 8 && int32_t(image->Depth()) > portDepth;
    copyToPort(*image, asRect(*src), toPort(*dst), dithered ? int16_t(kModeDitherCopy) : int16_t(kModeCopy));
}

void FWDrawContext::DrawImage(const ImageBuffer* image, const FWRect* dst, bool dither)
{
    if (image == nullptr)
        return;
    DrawImage(image, &image->GetRect(), dst, dither);
}

void FWDrawContext::DrawTiles(const ImageBuffer& image, const FWRect& src, int h, int v, const FWRect& dst)
{
    const int32_t tileWidth = int32_t(src.right) - src.left;
    const int32_t tileHeight = int32_t(src.bottom) - src.top;
    // An empty tile covers nothing (and must not be divided by).
    if (tileWidth <= 0 || tileHeight <= 0 || dst.Empty())
        return;
    const int32_t startX = positiveMod(h, tileWidth);
    const int32_t startY = positiveMod(v, tileHeight);
    int32_t sourceTop = src.top + startY;
    int32_t rowLeft = tileHeight - startY;
    for (int32_t y = dst.top; y < dst.bottom;) {
        const int32_t rowHeight = std::min(rowLeft, dst.bottom - y);
        int32_t sourceLeft = src.left + startX;
        int32_t columnLeft = tileWidth - startX;
        for (int32_t x = dst.left; x < dst.right;) {
            const int32_t columnWidth = std::min(columnLeft, dst.right - x);
            const FWRect from(int16_t(sourceLeft), int16_t(sourceTop), int16_t(sourceLeft + columnWidth),
                              int16_t(sourceTop + rowHeight));
            const FWRect to(int16_t(x), int16_t(y), int16_t(x + columnWidth), int16_t(y + rowHeight));
            DrawImage(&image, &from, &to, false);
            x += columnWidth;
            sourceLeft = src.left;
            columnLeft = tileWidth;
        }
        y += rowHeight;
        sourceTop = src.top;
        rowLeft = tileHeight;
    }
}

void FWDrawContext::DrawTiles(const ImageBuffer& image, int h, int v, const FWRect& dst)
{
    DrawTiles(image, image.GetRect(), h, v, dst);
}

void FWDrawContext::DrawDraggingImage(const ImageBuffer* image, const FWRect* src, const FWRect* dst)
{
    if (mStuff == nullptr || image == nullptr || !image->Valid() || src == nullptr || dst == nullptr)
        return;
    mStuff->SyncImages();
    const RGBColor half{32767, 32767, 32767};
    OpColor(&half);
    copyToPort(*image, asRect(*src), toPort(*dst), kModeBlend);
}

void FWDrawContext::CaptureImage(ImageBuffer* into, const FWRect* src, const FWRect* dst)
{
    if (mStuff == nullptr || into == nullptr || !into->Valid() || src == nullptr)
        return;
    // The context's port is current while copying, so the image's own clip plays no part.
    CGWorldSaver saver(mStuff->Port(), mStuff->Device());
    const Rect from = toPort(*src);
    const Rect to = asRect(dst != nullptr ? *dst : *src);
    CopyBits(GetPortBitMapForCopyBits(mStuff->Port()), GetPortBitMapForCopyBits(into->GetPDB()), &from, &to,
             kModeCopy, nullptr);
}

void FWDrawContext::FadeRect(const FWRect* rect, double factor, FWArgb32 color, const FWArgb32* keep)
{
    if (mStuff == nullptr || rect == nullptr || rect->Empty())
        return;
    if (!check_op_buffer_size(rect))
        return;
    ImageBuffer& buffer = OpBuffer();
    const int32_t width = rect->Width();
    const int32_t height = rect->Height();
    const FWRect area(0, 0, int16_t(width), int16_t(height));
    CaptureImage(&buffer, rect, &area);
    const auto amount = int32_t(factor * 100);
    for (int32_t y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(buffer.BaseAddr() + int64_t(y) * buffer.RowBytes());
        for (int32_t x = 0; x < width; ++x) {
            FWArgb32 pixel(GetAlpha32(row[x]), GetRed32(row[x]), GetGreen32(row[x]), GetBlue32(row[x]));
            if (keep != nullptr && pixel.NearEquals(*keep, 10))
                continue;
            pixel.LerpTo(color, amount, 100);
            row[x] = MakeColor32(pixel.a, pixel.r, pixel.g, pixel.b);
        }
    }
    DrawImage(&buffer, &area, rect, false);
}

// ---- the shared op buffer

ImageBuffer& FWDrawContext::OpBuffer()
{
    static OpBufferHolder sOpBuffer;
    return sOpBuffer.buffer;
}

bool FWDrawContext::check_op_buffer_size(const FWRect* rect)
{
    ImageBuffer& buffer = OpBuffer();
    const int32_t width = rect != nullptr ? std::max(0, int32_t(rect->right) - rect->left) : 0;
    const int32_t height = rect != nullptr ? std::max(0, int32_t(rect->bottom) - rect->top) : 0;
    if (!buffer.Valid()) {
        buffer.SetRect(FWRect(0, 0, clamp16(std::max(width, 200)), clamp16(std::max(height, 60))));
        return buffer.Valid();
    }
    const FWRect& current = buffer.GetRect();
    if (current.Width() >= width && current.Height() >= height)
        return true;
    buffer.SetRect(FWRect(0, 0, clamp16(std::max<int32_t>(current.Width(), width)),
                          clamp16(std::max<int32_t>(current.Height(), height))));
    return buffer.Valid();
}

// ---- text

// The two text paths: UTF-8 in the system script's font while the international switch is
// set (and the bytes are UTF-8), else the bytes in the context's font.
void FWDrawContext::drawText(const char* text, int32_t length)
{
    if (SystemIsInternational) {
        std::vector<char16_t> units;
        if (decodeUtf8(text, length, units)) {
            std::vector<char> bytes;
            bytes.reserve(units.size());
            for (char16_t unit : units) {
                uint8_t byte = '?';
                if (unit < 0xD800 || unit > 0xDFFF)
                    HostUnicodeToMacRoman(unit, &byte);
                bytes.push_back(char(byte));
            }
            TextFont(int16_t(GetScriptVariable(smSystemScript, smScriptSysFond)));
            TextSize(9);
            TextFace(0);
            portDrawText(bytes.data(), int32_t(bytes.size()));
            return;
        }
    }
    portDrawText(text, length);
}

void FWDrawContext::DrawString(const FWString* text)
{
    if (mStuff == nullptr || text == nullptr)
        return;
    mStuff->SyncStrings();
    drawText(text->GetCurrData(), int32_t(text->GetCurrLength()));
    mStuff->TakePenLocation();
}

void FWDrawContext::DrawString(int32_t h, int32_t v, const FWString* text)
{
    MoveTo(h, v);
    DrawString(text);
}

void FWDrawContext::DrawString(int32_t h, int32_t v, const FWString* text, int16_t width, bool condense)
{
    MoveTo(h, v);
    DrawConstrainedString(text, width, condense);
}

// How a constrained string is drawn: its bytes whole, or cut with an ellipsis, in the font's face
// or condensed. Fitting measures the text; drawing a fitted text measures nothing.
struct FWDrawContext::FittedText {
    const char* data = nullptr;
    int32_t length = 0;
    bool condensed = false;
    std::vector<char> cut; // the bytes cut with an ellipsis, when the text did not fit
    bool isCut = false;
};

FWDrawContext::FittedText FWDrawContext::fitText(const FWString* text, int16_t width, bool condense)
{
    FittedText fitted;
    mStuff->SyncStrings();
    fitted.data = text->GetCurrData();
    fitted.length = int32_t(text->GetCurrLength());
    if (portTextWidth(fitted.data, fitted.length) <= width)
        return fitted;
    if (condense) {
        fitted.condensed = true;
        TextFace(int16_t(mStuff->mFontFace | kHostFaceCondense));
        if (portTextWidth(fitted.data, fitted.length) <= width)
            return fitted;
    }
    // Cut with an ellipsis; the port's counts are 16-bit, so longer texts are cut to that first.
    fitted.cut.assign(fitted.data, fitted.data + std::min(fitted.length, kTextChunk));
    int16_t cutLength = int16_t(fitted.cut.size());
    TruncText(width, fitted.cut.data(), &cutLength);
    fitted.cut.resize(size_t(cutLength));
    fitted.isCut = true;
    return fitted;
}

// Draws a fitted text at the pen; the port's strings are synchronised, and condensed when the
// text is, as fitting left them.
void FWDrawContext::drawFitted(const FittedText& fitted)
{
    if (fitted.isCut)
        portDrawText(fitted.cut.data(), int32_t(fitted.cut.size()));
    else
        drawText(fitted.data, fitted.length);
    mStuff->TakePenLocation();
}

void FWDrawContext::DrawConstrainedString(const FWString* text, int16_t width, bool condense)
{
    if (mStuff == nullptr || text == nullptr)
        return;
    drawFitted(fitText(text, width, condense));
}

// The shadow one pixel right and down, then the text; both passes draw one fitting of the text.
void FWDrawContext::DrawEmbossedStringColors(int32_t h, int32_t v, const FWString* text, const FWArgb32& textColor,
                                             const FWArgb32& embossColor, int16_t width, bool condense)
{
    FWForeColorSaver saver(*this, embossColor);
    if (mStuff == nullptr || text == nullptr)
        return;
    if (width == 0) {
        DrawString(h + 1, v + 1, text);
        SetForeColor(textColor);
        DrawString(h, v, text);
        return;
    }
    MoveTo(h + 1, v + 1);
    const FittedText fitted = fitText(text, width, condense);
    drawFitted(fitted);
    SetForeColor(textColor);
    MoveTo(h, v);
    mStuff->SyncStrings();
    if (fitted.condensed)
        TextFace(int16_t(mStuff->mFontFace | kHostFaceCondense));
    drawFitted(fitted);
}

void FWDrawContext::DrawEmbossedString(int32_t h, int32_t v, const FWString* text, bool dimmed, int16_t width,
                                       bool condense)
{
    const FWArgb32 textColor = dimmed ? FWGetAppColor(10) : FWArgb32::Black;
    DrawEmbossedStringColors(h, v, text, textColor, FWGetAppColor(1), width, condense);
}

void FWDrawContext::CenterTextInRect(const FWRect* rect, const FWString* text, bool embossed)
{
    if (rect == nullptr || text == nullptr)
        return;
    const FWFont font = GetFont();
    const int32_t textWidth = font.GetStringWidth(text);
    const int32_t h = rect->left + (rect->Width() - textWidth) / 2;
    const int32_t v = rect->bottom - (rect->Height() - font.Size()) / 2 - 2;
    if (embossed)
        DrawEmbossedString(h, v, text, false, 0, false);
    else
        DrawString(h, v, text);
}

int32_t FWDrawContext::WrapString(const FWRect* box, const FWString* text)
{
    if (mStuff == nullptr || box == nullptr || text == nullptr)
        return 0;
    // Clip to the box as well, for the length of the call.
    FWRect boxClip;
    if (!mStuff->mRequestedClip.IntersectRect(*box, &boxClip))
        boxClip = FWRect();
    FWClipSaver clip(*this, &boxClip);

    mStuff->SyncStrings();
    FontInfo info{0, 0, 0, 0};
    GetFontInfo(&info);
    const int32_t lineHeight = info.ascent + info.descent + info.leading;
    const char* data = text->GetCurrData();
    const int32_t length = int32_t(text->GetCurrLength());
    const bool rightToLeft = GetSysDirection() != 0;

    int32_t lines = 0;
    int32_t baseline = box->top + info.ascent;
    for (int32_t start = 0; start < length;) {
        const int32_t end = StyledLineBreak(data, length, start, box->Width());
        if (end <= start)
            break;
        const int32_t visible = VisibleLength(data + start, end - start);
        mStuff->SyncStrings();
        const int32_t lineWidth = portTextWidth(data + start, visible);
        MoveTo(rightToLeft ? box->right - lineWidth : box->left, baseline);
        mStuff->SyncStrings();
        drawText(data + start, visible);
        mStuff->TakePenLocation();
        if (baseline > box->bottom)
            break;
        ++lines;
        start = end;
        baseline += lineHeight;
    }
    return lines;
}
