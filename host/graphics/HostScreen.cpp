// The compositor: keeps what shows of each window (its shown region: its bounds less what lies
// above it and the menu bar), turns changes of those regions into update regions and screen
// areas to composite, and copies ports into the screen store where something changed.
#include "HostScreen.h"

#include "HostPNG.h"
#include "HostWindowList.h"

#include <algorithm>

namespace {

struct Screen {
    HostPixelMap pixels;
    HostRegion dirty;            // global, still to composite
    HostRegion desktop;          // global, what no window covers
    bool layoutChanged = true;
    HostPort* menuBar = nullptr; // owned; its local coordinates are global ones
    bool menuBarInvalid = true;
    HostMenuBarDrawer drawer = nullptr;
};

// Lives for the whole run (never destroyed, so no port outlives the port registry).
Screen& screen()
{
    static Screen* sScreen = new Screen;
    return *sScreen;
}

void drawDefaultMenuBar(CGrafPtr port, const Rect& bounds)
{
    HostPixelMap& pixels = port->Pixels();
    for (int32_t y = 0; y < pixels.Height(); ++y) {
        const uint32_t colour = y == pixels.Height() - 1 ? 0xFF000000u : 0xFFFFFFFFu;
        uint32_t* row = reinterpret_cast<uint32_t*>(pixels.Row(y));
        std::fill(row, row + pixels.Width(), colour);
    }
    port->NoteChanged(HostBox{0, 0, pixels.Width(), pixels.Height()});
}

Rect menuBarRectOf(const Rect& screenBounds)
{
    const int16_t height = std::min<int16_t>(HostScreenMenuBarHeight(), int16_t(screenBounds.bottom - screenBounds.top));
    return Rect{screenBounds.top, screenBounds.left, int16_t(screenBounds.top + height), screenBounds.right};
}

// Follows the main monitor's configuration: a new size gives a new store, wholly dirty.
Screen& current()
{
    Screen& s = screen();
    const Rect bounds = HostScreenMonitorBounds();
    const Rect& had = s.pixels.Bounds();
    const bool same = s.pixels.Valid() && had.top == bounds.top && had.left == bounds.left &&
                      had.bottom == bounds.bottom && had.right == bounds.right;
    if (same)
        return s;
    if (s.pixels.Allocate(bounds, 32) != noErr)
        s.pixels.Allocate(Rect{0, 0, 1, 1}, 32);
    delete s.menuBar;
    s.menuBar = nullptr;
    const Rect menu = menuBarRectOf(s.pixels.Bounds());
    if (menu.bottom > menu.top)
        s.menuBar = HostPort::Create(menu, 32, nullptr);
    s.menuBarInvalid = true;
    s.layoutChanged = true;
    s.dirty = HostRegion(s.pixels.Bounds());
    return s;
}

HostRegion offsetRegion(HostRegion region, int32_t dh, int32_t dv)
{
    region.Offset(dh, dv);
    return region;
}

void refresh(Screen& s)
{
    if (!s.layoutChanged)
        return;
    s.layoutChanged = false;
    const HostRegion whole(s.pixels.Bounds());
    HostRegion covered(menuBarRectOf(s.pixels.Bounds()));
    for (HostWindow* w : HostWindowOrder()) {
        if (w->layer == HostWindowLayer::Overlay) {
            const Rect now = w->visible ? HostRegion::Intersection(HostRegion(w->Bounds()), whole).Bounds()
                                        : Rect{0, 0, 0, 0};
            const Rect& was = w->shownBounds;
            if (now.top != was.top || now.left != was.left || now.bottom != was.bottom || now.right != was.right) {
                s.dirty = HostRegion::Union(s.dirty, HostRegion::Union(HostRegion(was), HostRegion(now)));
                w->shownBounds = now;
            }
            continue;
        }
        HostRegion shown;
        if (w->visible) {
            const HostRegion bounds(w->Bounds());
            shown = HostRegion::Difference(HostRegion::Intersection(bounds, whole), covered);
            covered = HostRegion::Union(covered, bounds);
        }
        const bool moved = w->left != w->shownLeft || w->top != w->shownTop;
        if (shown == w->shownRegion && (!moved || shown.Empty()))
            continue;
        s.dirty = HostRegion::Union(s.dirty, HostRegion::Union(w->shownRegion, shown));
        // The port moves with the window, so only what was not shown before needs drawing.
        const HostRegion nowLocal = offsetRegion(shown, -w->left, -w->top);
        const HostRegion wasLocal = offsetRegion(w->shownRegion, -w->shownLeft, -w->shownTop);
        w->updateRegion = HostRegion::Union(w->updateRegion, HostRegion::Difference(nowLocal, wasLocal));
        w->shownRegion = shown;
        w->shownLeft = w->left;
        w->shownTop = w->top;
    }
    s.desktop = HostRegion::Difference(whole, covered);
}

// Takes over what was drawn in the ports since the last composite.
void gatherDrawing(Screen& s)
{
    const HostRegion whole(s.pixels.Bounds());
    for (HostWindow* w : HostWindowOrder()) {
        const Rect changed = w->port->ChangedBounds();
        w->port->ClearChanged();
        if (changed.right <= changed.left || !w->visible)
            continue;
        const HostRegion area = offsetRegion(HostRegion(changed), w->left, w->top);
        const HostRegion& limit = w->layer == HostWindowLayer::Overlay ? whole : w->shownRegion;
        s.dirty = HostRegion::Union(s.dirty, HostRegion::Intersection(area, limit));
    }
    if (s.menuBar == nullptr)
        return;
    if (s.menuBarInvalid) {
        s.menuBarInvalid = false;
        CGrafPtr savedPort = nullptr;
        GDHandle savedDevice = nullptr;
        GetGWorld(&savedPort, &savedDevice);
        SetGWorld(s.menuBar, nullptr);
        (s.drawer != nullptr ? s.drawer : drawDefaultMenuBar)(s.menuBar, s.menuBar->PortRect());
        SetGWorld(savedPort, savedDevice);
    }
    const Rect changed = s.menuBar->ChangedBounds();
    s.menuBar->ClearChanged();
    if (changed.right > changed.left)
        s.dirty = HostRegion::Union(s.dirty, HostRegion(changed));
}

void fill(HostPixelMap& into, const Rect& r, uint32_t colour)
{
    const Rect& b = into.Bounds();
    for (int32_t v = r.top; v < r.bottom; ++v) {
        uint32_t* row = reinterpret_cast<uint32_t*>(into.Row(v - b.top));
        std::fill(row + (r.left - b.left), row + (r.right - b.left), colour);
    }
}

// Copies the port's pixels for the global rectangle r; the port's top-left lies at (left, top).
// Window ports are opaque; overlays mix in by their alpha.
void copyPort(HostPixelMap& into, HostPort& port, int32_t left, int32_t top, const Rect& r, bool blend)
{
    HostPixelMap& from = port.Pixels();
    const Rect& b = into.Bounds();
    const int32_t x0 = std::max<int32_t>(r.left, left);
    const int32_t x1 = std::min<int32_t>(r.right, left + from.Width());
    const int32_t y0 = std::max<int32_t>(r.top, top);
    const int32_t y1 = std::min<int32_t>(r.bottom, top + from.Height());
    if (x0 >= x1 || y0 >= y1)
        return;
    const bool words = from.Depth() == 32;
    for (int32_t v = y0; v < y1; ++v) {
        uint32_t* dst = reinterpret_cast<uint32_t*>(into.Row(v - b.top)) + (x0 - b.left);
        const uint32_t* src = words ? reinterpret_cast<const uint32_t*>(from.Row(v - top)) + (x0 - left) : nullptr;
        for (int32_t x = 0; x < x1 - x0; ++x) {
            const uint32_t p = words ? src[x] : from.Get(x0 - left + x, v - top);
            if (!blend) {
                dst[x] = p | 0xFF000000u;
                continue;
            }
            const uint32_t a = HostAlphaOf(p);
            if (a == 0)
                continue;
            if (a == 255) {
                dst[x] = p;
                continue;
            }
            const uint32_t q = dst[x];
            auto mix = [a](uint32_t over, uint32_t under) { return (over * a + under * (255 - a) + 127) / 255; };
            dst[x] = HostArgb(255, uint8_t(mix(HostRedOf(p), HostRedOf(q))), uint8_t(mix(HostGreenOf(p), HostGreenOf(q))),
                              uint8_t(mix(HostBlueOf(p), HostBlueOf(q))));
        }
    }
}

void composite(Screen& s, const HostRegion& dirty)
{
    const HostRegion desktop = HostRegion::Intersection(s.desktop, dirty);
    for (const Rect& r : desktop.Rects())
        fill(s.pixels, r, kHostDesktopColor);
    const auto& windows = HostWindowOrder();
    for (HostWindow* w : windows) {
        if (w->layer == HostWindowLayer::Overlay || w->shownRegion.Empty())
            continue;
        const HostRegion area = HostRegion::Intersection(w->shownRegion, dirty);
        for (const Rect& r : area.Rects())
            copyPort(s.pixels, *w->port, w->left, w->top, r, false);
    }
    if (s.menuBar != nullptr) {
        const HostRegion area = HostRegion::Intersection(HostRegion(s.menuBar->PortRect()), dirty);
        for (const Rect& r : area.Rects())
            copyPort(s.pixels, *s.menuBar, s.menuBar->PortRect().left, s.menuBar->PortRect().top, r, false);
    }
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        HostWindow* w = *it;
        if (w->layer != HostWindowLayer::Overlay || !w->visible)
            continue;
        const HostRegion area = HostRegion::Intersection(HostRegion(w->shownBounds), dirty);
        for (const Rect& r : area.Rects())
            copyPort(s.pixels, *w->port, w->left, w->top, r, true);
    }
}

} // namespace

void HostWindowsChanged()
{
    screen().layoutChanged = true;
}

void HostRefreshVisibility()
{
    refresh(current());
}

void HostScreenWindowGone(const HostWindow& window)
{
    Screen& s = screen();
    s.dirty = HostRegion::Union(s.dirty, HostRegion::Union(window.shownRegion, HostRegion(window.shownBounds)));
    s.layoutChanged = true;
}

HostRegion HostComposeScreen()
{
    Screen& s = current();
    refresh(s);
    gatherDrawing(s);
    HostRegion area = HostRegion::Intersection(s.dirty, HostRegion(s.pixels.Bounds()));
    s.dirty.SetEmpty();
    if (!area.Empty())
        composite(s, area);
    return area;
}

const HostPixelMap& HostScreenPixels()
{
    HostComposeScreen();
    return screen().pixels;
}

uint32_t HostScreenPixel(Point where)
{
    const HostPixelMap& pixels = HostScreenPixels();
    if (!HostRegion(pixels.Bounds()).Contains(where.h, where.v))
        return 0;
    return pixels.GetAt(where.h, where.v);
}

OSErr HostWriteScreenPNG(const char* path)
{
    return HostWritePNG(HostScreenPixels(), path);
}

Rect HostScreenBounds()
{
    return current().pixels.Bounds();
}

HostMenuBarDrawer HostSetMenuBarDrawer(HostMenuBarDrawer drawer)
{
    Screen& s = screen();
    HostMenuBarDrawer previous = s.drawer;
    s.drawer = drawer;
    s.menuBarInvalid = true;
    return previous;
}

void HostInvalMenuBar()
{
    screen().menuBarInvalid = true;
}

Rect HostMenuBarBounds()
{
    return menuBarRectOf(current().pixels.Bounds());
}

void HostInvalScreen(const Rect& area)
{
    Screen& s = current();
    s.dirty = HostRegion::Union(s.dirty, HostRegion(area));
}
