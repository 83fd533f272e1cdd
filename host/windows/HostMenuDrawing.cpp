// Layout and drawing of the menu bar and of open menus: titles across the bar, panels of items
// with their marks, icons, shortcut labels and submenu arrows. Drawn straight into the screen's
// store with the host's rasterizer and fonts.
#include "HostMenus.h"

#include "HostFonts.h"
#include "HostPorts.h"
#include "HostRaster.h"
#include "HostScreen.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace {

// Metrics of the bar and panels, in pixels.
constexpr int16_t kTitleStart = 8;       // left of the first title
constexpr int16_t kTitlePadding = 9;     // either side of a title's text
constexpr int16_t kSymbolTitleWidth = 12; // a title that is one control byte shows a symbol
constexpr int16_t kItemHeight = 18;
constexpr int16_t kSeparatorHeight = 8;
constexpr int16_t kMarkColumn = 20;      // left of the text: the check mark's column
constexpr int16_t kIconGap = 4;
constexpr int16_t kShortcutGap = 24;     // between the text and the shortcut label
constexpr int16_t kArrowColumn = 14;     // right of the text for items with a submenu
constexpr int16_t kRightMargin = 12;
constexpr int16_t kMinPanelWidth = 60;
constexpr int16_t kSubmenuOverlap = 2;

const uint32_t kBarColor = HostArgb(255, 236, 236, 236);
const uint32_t kBarLineColor = HostArgb(255, 160, 160, 160);
const uint32_t kPanelColor = HostArgb(255, 255, 255, 255);
const uint32_t kBorderColor = HostArgb(255, 128, 128, 128);
const uint32_t kTextColor = HostArgb(255, 0, 0, 0);
const uint32_t kDisabledColor = HostArgb(255, 150, 150, 150);
const uint32_t kSelectionColor = HostArgb(255, 56, 117, 215);
const uint32_t kSelectedTextColor = HostArgb(255, 255, 255, 255);
const uint32_t kSeparatorColor = HostArgb(255, 200, 200, 200);

int16_t barHeight()
{
    const Rect bar = HostMenuBarBounds();
    return int16_t(bar.bottom - bar.top);
}

HostFontSpec menuFont(int16_t fontID = 0, uint8_t face = 0)
{
    return HostFontSpec{fontID, 12, face};
}

int32_t textWidth(const HostFontSpec& spec, const std::vector<uint8_t>& text)
{
    return HostFonts::Instance().Width(spec, text.data(), int32_t(text.size()));
}

bool isSymbolTitle(const std::vector<uint8_t>& title)
{
    return title.size() == 1 && title[0] < 0x20;
}

int16_t titleWidth(MenuRef menu)
{
    const std::vector<uint8_t>& title = menu->Title();
    int32_t text = isSymbolTitle(title) ? kSymbolTitleWidth : textWidth(menuFont(), title);
    return int16_t(std::min<int32_t>(text + 2 * kTitlePadding, 2000));
}

int16_t itemHeight(const HostMenuItem& item)
{
    if (item.IsSeparator())
        return kSeparatorHeight;
    if (item.icon)
        return int16_t(std::max<int32_t>(kItemHeight, item.icon->Height() + 2));
    return kItemHeight;
}

int32_t itemWidth(const HostMenuItem& item)
{
    if (item.IsSeparator())
        return 0;
    int32_t width = kMarkColumn + textWidth(menuFont(item.fontID, item.style), item.text) + kRightMargin;
    if (item.icon)
        width += item.icon->Width() + kIconGap;
    std::vector<uint8_t> label = HostMenuShortcutLabel(item);
    if (!label.empty())
        width += kShortcutGap + textWidth(menuFont(), label);
    if (item.submenuID != 0)
        width += kArrowColumn;
    return width;
}

// Lays the items out from (left, top) with the given width; items that would pass the screen's
// bottom get empty rectangles.
HostMenuPanelLayout layOut(MenuRef menu, int16_t left, int16_t top, int16_t width, int16_t height)
{
    HostMenuPanelLayout panel;
    panel.menu = menu;
    panel.frame = Rect{top, left, int16_t(top + height), int16_t(left + width)};
    int32_t y = top + 1;
    for (const HostMenuItem& item : menu->Items()) {
        int32_t h = itemHeight(item);
        if (y + h > panel.frame.bottom - 1) {
            panel.items.push_back(Rect{0, 0, 0, 0});
            continue;
        }
        panel.items.push_back(Rect{int16_t(y), int16_t(left + 1), int16_t(y + h), int16_t(left + width - 1)});
        y += h;
    }
    return panel;
}

// The panel's size: the widest item, at least minWidth, and every item's height, cut to the
// screen below the bar.
void panelSize(MenuRef menu, int32_t minWidth, int16_t* width, int16_t* height)
{
    const Rect screen = HostScreenBounds();
    int32_t w = std::max<int32_t>(minWidth, kMinPanelWidth);
    int32_t h = 2;
    for (const HostMenuItem& item : menu->Items()) {
        w = std::max(w, itemWidth(item));
        h += itemHeight(item);
    }
    w = std::min<int32_t>(w + 2, screen.right - screen.left);
    h = std::min<int32_t>(h, screen.bottom - screen.top - barHeight());
    *width = int16_t(std::max<int32_t>(w, 0));
    *height = int16_t(std::max<int32_t>(h, 0));
}

// Painting helpers over a port's store: boxes and text in global coordinates. origin is the
// global point at the port's local (0, 0); changes are noted for the compositor.
class Painter {
public:
    Painter(HostPort& port, Point origin)
        : mPort(port),
          mDx(origin.h + port.PortRect().left),
          mDy(origin.v + port.PortRect().top),
          mRaster(port.Pixels(), port.ClipBoxes())
    {
    }
    ~Painter() { mPort.NoteChanged(mRaster.Touched()); }

    HostBox Box(const Rect& r) const { return HostBox{r.left - mDx, r.top - mDy, r.right - mDx, r.bottom - mDy}; }
    void Fill(const Rect& r, uint32_t color) { mRaster.FillBox(Box(r), HostPaint::Solid(color)); }
    void Frame(const Rect& r, uint32_t color) { mRaster.FrameBox(Box(r), 1, 1, HostPaint::Solid(color)); }
    void Line(int32_t h0, int32_t v0, int32_t h1, int32_t v1, uint32_t color)
    {
        mRaster.Line(h0 - mDx, v0 - mDy, h1 - mDx, v1 - mDy, 1, 1, HostPaint::Solid(color));
    }
    // Text with its baseline at v; returns its width.
    int32_t Text(const HostFontSpec& spec, int32_t h, int32_t v, const std::vector<uint8_t>& text, uint32_t color)
    {
        return HostFonts::Instance().Draw(mRaster, spec, h - mDx, v - mDy, text.data(), int32_t(text.size()),
                                          HostPaint::Solid(color));
    }
    // An image mixed in by its alpha, one pixel at a time.
    void Image(const HostPixelMap& image, int32_t h, int32_t v)
    {
        HostPixelMap& store = mPort.Pixels();
        for (int32_t y = 0; y < image.Height(); ++y) {
            for (int32_t x = 0; x < image.Width(); ++x) {
                const uint32_t src = image.Get(x, y);
                const uint32_t a = HostAlphaOf(src);
                const int32_t sx = h + x - mDx, sy = v + y - mDy;
                if (a == 0 || sx < 0 || sy < 0 || sx >= store.Width() || sy >= store.Height())
                    continue;
                const uint32_t dst = store.Get(sx, sy);
                auto mix = [a](uint8_t s, uint8_t d) { return uint8_t((s * a + d * (255 - a) + 127) / 255); };
                store.Set(sx, sy, HostArgb(255, mix(HostRedOf(src), HostRedOf(dst)), mix(HostGreenOf(src), HostGreenOf(dst)),
                                           mix(HostBlueOf(src), HostBlueOf(dst))));
                mPort.NoteChanged(HostBox{sx, sy, sx + 1, sy + 1});
            }
        }
    }

private:
    HostPort& mPort;
    int32_t mDx;
    int32_t mDy;
    HostRaster mRaster;
};

int32_t baselineIn(int32_t top, int32_t height, const HostFontSpec& spec)
{
    HostFontMetrics m = HostFonts::Instance().Metrics(spec);
    return top + (height - (m.ascent + m.descent)) / 2 + m.ascent;
}

void drawCheckMark(Painter& paint, const Rect& item, uint32_t color)
{
    int32_t h = item.left + 6, v = (item.top + item.bottom) / 2;
    for (int32_t thick = 0; thick < 2; ++thick) {
        paint.Line(h, v + thick, h + 3, v + 3 + thick, color);
        paint.Line(h + 3, v + 3 + thick, h + 9, v - 3 + thick, color);
    }
}

void drawSubmenuArrow(Painter& paint, const Rect& item, uint32_t color)
{
    int32_t h = item.right - 10, v = (item.top + item.bottom) / 2;
    for (int32_t i = 0; i < 5; ++i)
        paint.Line(h + i, v - 4 + i, h + i, v + 4 - i, color);
}

void drawItem(Painter& paint, const HostMenuItem& item, const Rect& r, bool enabled, bool hilited)
{
    if (r.bottom <= r.top)
        return;
    if (item.IsSeparator()) {
        int32_t v = (r.top + r.bottom) / 2;
        paint.Line(r.left + 1, v, r.right - 2, v, kSeparatorColor);
        return;
    }
    uint32_t color = !enabled ? kDisabledColor : hilited ? kSelectedTextColor : kTextColor;
    if (hilited)
        paint.Fill(r, kSelectionColor);
    if (item.mark == checkMark)
        drawCheckMark(paint, r, color);
    else if (item.mark != noMark)
        paint.Text(menuFont(), r.left + 5, baselineIn(r.top, r.bottom - r.top, menuFont()), {item.mark}, color);

    int32_t h = r.left + kMarkColumn;
    if (item.icon) {
        paint.Image(*item.icon, h, r.top + (r.bottom - r.top - item.icon->Height()) / 2);
        h += item.icon->Width() + kIconGap;
    }
    HostFontSpec spec = menuFont(item.fontID, item.style);
    paint.Text(spec, h, baselineIn(r.top, r.bottom - r.top, spec), item.text, color);

    std::vector<uint8_t> label = HostMenuShortcutLabel(item);
    if (!label.empty()) {
        int32_t right = r.right - kRightMargin - (item.submenuID != 0 ? kArrowColumn : 0);
        paint.Text(menuFont(), right - textWidth(menuFont(), label),
                   baselineIn(r.top, r.bottom - r.top, menuFont()), label, color);
    }
    if (item.submenuID != 0)
        drawSubmenuArrow(paint, r, color);
}

void append(std::vector<uint8_t>& out, const char* text)
{
    out.insert(out.end(), text, text + std::char_traits<char>::length(text));
}

} // namespace

std::vector<HostMenuTitleLayout> HostLayOutMenuBar()
{
    std::vector<HostMenuTitleLayout> titles;
    int32_t h = HostScreenBounds().left + kTitleStart;
    for (MenuRef menu : HostMenuBarMenus()) {
        int32_t right = std::min<int32_t>(h + titleWidth(menu), INT16_MAX);
        titles.push_back(HostMenuTitleLayout{menu, int16_t(h), int16_t(right)});
        h = right;
    }
    return titles;
}

HostMenuPanelLayout HostLayOutPullDown(MenuRef menu, int16_t left)
{
    const Rect screen = HostScreenBounds();
    int16_t width, height;
    panelSize(menu, 0, &width, &height);
    int32_t l = std::max<int32_t>(screen.left, std::min<int32_t>(left, screen.right - width));
    return layOut(menu, int16_t(l), int16_t(screen.top + barHeight()), width, height);
}

HostMenuPanelLayout HostLayOutSubmenu(MenuRef menu, const HostMenuPanelLayout& parent, MenuItemIndex item)
{
    const Rect screen = HostScreenBounds();
    int16_t width, height;
    panelSize(menu, 0, &width, &height);
    Rect anchor = item >= 1 && item <= parent.items.size() ? parent.items[item - 1] : parent.frame;
    int32_t left = parent.frame.right - kSubmenuOverlap;
    if (left + width > screen.right)
        left = std::max<int32_t>(screen.left, parent.frame.left - width + kSubmenuOverlap);
    int32_t top = anchor.top - 1;
    top = std::max<int32_t>(screen.top + barHeight(), std::min<int32_t>(top, screen.bottom - height));
    return layOut(menu, int16_t(left), int16_t(top), width, height);
}

void HostDrawMenuBar(CGrafPtr port)
{
    if (port == nullptr)
        return;
    Painter paint(*port, Point{0, 0});
    const Rect bar = HostMenuBarBounds();
    paint.Fill(bar, kBarColor);
    paint.Line(bar.left, bar.bottom - 1, bar.right - 1, bar.bottom - 1, kBarLineColor);
    const HostFontSpec spec = menuFont();
    const int32_t baseline = baselineIn(bar.top, barHeight() - 1, spec);
    for (const HostMenuTitleLayout& title : HostLayOutMenuBar()) {
        bool hilited = title.menu->ID() == HostHilitedMenu();
        uint32_t color = hilited ? kSelectedTextColor : title.menu->Enabled() ? kTextColor : kDisabledColor;
        Rect box{bar.top, title.left, int16_t(bar.bottom - 1), title.right};
        if (hilited)
            paint.Fill(box, kSelectionColor);
        if (isSymbolTitle(title.menu->Title())) {
            // The application menu's title: a small filled mark in place of its symbol.
            int32_t h = title.left + kTitlePadding, v = bar.top + 4;
            paint.Fill(Rect{int16_t(v + 2), int16_t(h), int16_t(v + 12), int16_t(h + kSymbolTitleWidth)}, color);
            paint.Fill(Rect{int16_t(v), int16_t(h + 5), int16_t(v + 2), int16_t(h + 8)}, color);
            continue;
        }
        paint.Text(spec, title.left + kTitlePadding, baseline, title.menu->Title(), color);
    }
}

void HostDrawMenuPanel(CGrafPtr port, Point origin, const HostMenuPanelLayout& panel, MenuItemIndex hilited)
{
    if (port == nullptr || !HostIsMenu(panel.menu))
        return;
    Painter paint(*port, origin);
    paint.Fill(panel.frame, kPanelColor);
    paint.Frame(panel.frame, kBorderColor);
    const std::vector<HostMenuItem>& items = panel.menu->Items();
    for (size_t i = 0; i < items.size() && i < panel.items.size(); ++i) {
        const HostMenuItem& item = items[i];
        bool enabled = item.enabled && panel.menu->Enabled();
        drawItem(paint, item, panel.items[i], enabled, enabled && !item.IsSeparator() && hilited == i + 1);
    }
}

std::vector<uint8_t> HostMenuShortcutLabel(const HostMenuItem& item)
{
    std::vector<uint8_t> label;
    if (item.commandKey == 0 || item.commandKeyIsVirtual || item.commandKey < 0x20 || item.commandKey == 0x7F)
        return label;
    if (item.modifiers & kMenuControlModifier)
        append(label, "Super+");
    if (!(item.modifiers & kMenuNoCommandModifier))
        append(label, "Ctrl+");
    if (item.modifiers & kMenuShiftModifier)
        append(label, "Shift+");
    if (item.modifiers & kMenuOptionModifier)
        append(label, "Alt+");
    uint8_t key = uint8_t(item.commandKey);
    label.push_back(key < 0x80 ? uint8_t(std::toupper(key)) : key);
    return label;
}

void DrawMenuBar()
{
    // Installing the drawer has the strip painted again at the next composite.
    HostSetMenuBarDrawer([](CGrafPtr port, const Rect&) { HostDrawMenuBar(port); });
}
