// Window records, their stacking in layers, geometry, update regions and hit testing. What the
// screen shows of them is the compositor's (HostScreen.cpp), which this file tells of changes.
#include "HostWindowList.h"

#include "HostBackend.h"
#include "HostEvents.h"
#include "HostInput.h"
#include "HostScreen.h"

#include <algorithm>
#include <cstring>
#include <new>

struct HostWindowGroup {
    HostWindowLayer layer;
};

namespace {

HostWindowGroup sGroups[] = {
    {HostWindowLayer::Normal}, {HostWindowLayer::Floating}, {HostWindowLayer::Modal},
    {HostWindowLayer::Popup},  {HostWindowLayer::Overlay},
};

// Lives for the whole run: windows left open at exit stay reachable and their ports outlive
// nothing they depend on.
std::vector<HostWindow*>& order()
{
    static auto* sOrder = new std::vector<HostWindow*>;
    return *sOrder;
}

int16_t clamp16(int64_t value)
{
    return int16_t(std::clamp<int64_t>(value, INT16_MIN, INT16_MAX));
}

HostWindow* live(WindowRef window)
{
    if (window == nullptr)
        return nullptr;
    const auto& all = order();
    return std::find(all.begin(), all.end(), window) != all.end() ? window : nullptr;
}

HostWindowLayer layerOfClass(WindowClass windowClass)
{
    switch (windowClass) {
    case kHostModalWindowClass:
        return HostWindowLayer::Modal;
    case kHostFloatingWindowClass:
        return HostWindowLayer::Floating;
    case kHostPlainWindowClass:
        return HostWindowLayer::Popup;
    case kHostOverlayWindowClass:
        return HostWindowLayer::Overlay;
    default:
        return HostWindowLayer::Normal;
    }
}

bool isOverlay(const HostWindow* window)
{
    return window->layer == HostWindowLayer::Overlay;
}

// Windows that can be the active window: ordinary and modal windows, not floating, plain or
// overlay ones.
bool canBeActive(const HostWindow* window)
{
    if (window->layer != HostWindowLayer::Normal && window->layer != HostWindowLayer::Modal)
        return false;
    return window->windowClass != kHostFloatingWindowClass && window->windowClass != kHostPlainWindowClass &&
           window->windowClass != kHostOverlayWindowClass;
}

// Index of the front (or just past the back) of the window's layer, leaving the window out.
size_t frontOfLayer(HostWindowLayer layer)
{
    const auto& all = order();
    size_t i = 0;
    while (i < all.size() && all[i]->layer > layer)
        ++i;
    return i;
}

size_t backOfLayer(HostWindowLayer layer)
{
    const auto& all = order();
    size_t i = 0;
    while (i < all.size() && all[i]->layer >= layer)
        ++i;
    return i;
}

void unlink(HostWindow* window)
{
    auto& all = order();
    all.erase(std::find(all.begin(), all.end(), window));
}

void placeAtFront(HostWindow* window)
{
    unlink(window);
    order().insert(order().begin() + ptrdiff_t(frontOfLayer(window->layer)), window);
    HostWindowsChanged();
}

uint32_t fillOf(const HostWindow* window)
{
    return isOverlay(window) ? 0u : HostArgbOf(window->contentColor);
}

Rect storeRect(int32_t width, int32_t height)
{
    // A store holds at least one pixel; a window of no size draws nowhere (its visible region
    // is empty).
    return Rect{0, 0, int16_t(std::clamp<int32_t>(height, 1, INT16_MAX)),
                int16_t(std::clamp<int32_t>(width, 1, INT16_MAX))};
}

void fillPort(HostWindow* window)
{
    HostPixelMap& pixels = window->port->Pixels();
    const uint32_t value = pixels.StoredOf(fillOf(window));
    for (int32_t y = 0; y < pixels.Height(); ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(pixels.Row(y));
        std::fill(row, row + pixels.Width(), value);
    }
    window->port->NoteChanged(HostBox{0, 0, pixels.Width(), pixels.Height()});
}

void restoreVisible(HostWindow* window)
{
    window->port->SetVisible(HostRegion(window->LocalBounds()));
}

void setVisible(HostWindow* window, bool show)
{
    if (window->visible == show)
        return;
    window->visible = show;
    if (show)
        window->everShown = true;
    HostWindowsChanged();
}

HostRegion localRegion(const HostWindow* window, const Rect& rect)
{
    return HostRegion::Intersection(HostRegion(rect), HostRegion(window->LocalBounds()));
}

// Follows the button until it is released; answers whether the mouse was then inside.
bool trackInside(HostWindow* window)
{
    while (WaitMouseUp()) {
    }
    Point mouse;
    GetGlobalMouse(&mouse);
    return window != nullptr && HostRegion(window->Bounds()).Contains(mouse.h, mouse.v);
}

} // namespace

// --- HostWindow ------------------------------------------------------------------------------

Rect HostWindow::Bounds() const
{
    return Rect{top, left, clamp16(int64_t(top) + height), clamp16(int64_t(left) + width)};
}

Rect HostWindow::LocalBounds() const
{
    return Rect{0, 0, clamp16(height), clamp16(width)};
}

const std::vector<HostWindow*>& HostWindowOrder()
{
    return order();
}

// --- Creation ------------------------------------------------------------------------------

OSStatus CreateNewWindow(WindowClass windowClass, WindowAttributes attributes, const Rect* bounds,
                         WindowRef* window)
{
    return CreateCustomWindow(nullptr, windowClass, attributes, bounds, window);
}

OSStatus CreateCustomWindow(const WindowDefSpec* def, WindowClass windowClass, WindowAttributes attributes,
                            const Rect* bounds, WindowRef* window)
{
    if (window == nullptr)
        return paramErr;
    *window = nullptr;
    if (bounds == nullptr)
        return paramErr;
    auto* record = new (std::nothrow) HostWindow;
    if (record == nullptr)
        return memFullErr;
    record->windowClass = windowClass;
    record->attributes = attributes;
    if (def != nullptr)
        record->definition = *def;
    record->layer = layerOfClass(windowClass);
    record->left = bounds->left;
    record->top = bounds->top;
    record->width = std::max<int32_t>(0, int32_t(bounds->right) - bounds->left);
    record->height = std::max<int32_t>(0, int32_t(bounds->bottom) - bounds->top);
    OSErr err = noErr;
    record->port = HostPort::Create(storeRect(record->width, record->height), 32, &err);
    if (record->port == nullptr) {
        delete record;
        return err != noErr ? err : OSErr(memFullErr);
    }
    fillPort(record);
    restoreVisible(record);
    order().insert(order().begin() + ptrdiff_t(frontOfLayer(record->layer)), record);
    HostWindowsChanged();
    *window = record;
    return noErr;
}

namespace {

std::vector<HostWindowGoneObserver>& goneObservers()
{
    static auto* observers = new std::vector<HostWindowGoneObserver>;
    return *observers;
}

} // namespace

void HostAddWindowGoneObserver(HostWindowGoneObserver observer)
{
    auto& observers = goneObservers();
    if (observer != nullptr && std::find(observers.begin(), observers.end(), observer) == observers.end())
        observers.push_back(observer);
}

void DisposeWindow(WindowRef window)
{
    HostWindow* w = live(window);
    if (w == nullptr)
        return;
    for (HostWindowGoneObserver observer : goneObservers())
        observer(w);
    unlink(w);
    HostScreenWindowGone(*w);
    HostEventsWindowGone(w);
    HostWindowsChanged();
    delete w->port;
    delete w;
}

void HostDisposeAllWindows()
{
    while (!order().empty())
        DisposeWindow(order().front());
}

// --- Visibility and stacking ---------------------------------------------------------------

void ShowWindow(WindowRef window)
{
    if (HostWindow* w = live(window))
        setVisible(w, true);
}

void HideWindow(WindowRef window)
{
    if (HostWindow* w = live(window))
        setVisible(w, false);
}

void ShowHide(WindowRef window, Boolean show)
{
    if (HostWindow* w = live(window))
        setVisible(w, show != 0);
}

Boolean IsWindowVisible(WindowRef window)
{
    HostWindow* w = live(window);
    return w != nullptr && w->visible;
}

void SelectWindow(WindowRef window)
{
    if (HostWindow* w = live(window))
        placeAtFront(w);
}

void BringToFront(WindowRef window)
{
    if (HostWindow* w = live(window))
        placeAtFront(w);
}

void SendBehind(WindowRef window, WindowRef behindWindow)
{
    HostWindow* w = live(window);
    if (w == nullptr || w == behindWindow)
        return;
    HostWindow* behind = live(behindWindow);
    unlink(w);
    size_t at;
    if (behind == nullptr || behind->layer < w->layer)
        at = backOfLayer(w->layer);
    else if (behind->layer > w->layer)
        at = frontOfLayer(w->layer);
    else
        at = size_t(std::find(order().begin(), order().end(), behind) - order().begin()) + 1;
    order().insert(order().begin() + ptrdiff_t(at), w);
    HostWindowsChanged();
}

WindowGroupRef GetWindowGroupOfClass(WindowClass windowClass)
{
    return &sGroups[size_t(layerOfClass(windowClass))];
}

OSStatus SetWindowGroup(WindowRef window, WindowGroupRef group)
{
    HostWindow* w = live(window);
    if (w == nullptr)
        return errInvalidWindowRef;
    if (group == nullptr || group < sGroups || group >= sGroups + std::size(sGroups))
        return paramErr;
    w->layer = group->layer;
    placeAtFront(w);
    return noErr;
}

WindowGroupRef GetWindowGroup(WindowRef window)
{
    HostWindow* w = live(window);
    return w != nullptr ? &sGroups[size_t(w->layer)] : nullptr;
}

WindowRef FrontWindow()
{
    for (HostWindow* w : order())
        if (!isOverlay(w) && w->visible)
            return w;
    return nullptr;
}

WindowRef FrontNonFloatingWindow()
{
    for (HostWindow* w : order())
        if (w->visible && canBeActive(w))
            return w;
    return nullptr;
}

WindowRef GetWindowList()
{
    for (HostWindow* w : order())
        if (!isOverlay(w))
            return w;
    return nullptr;
}

WindowRef GetNextWindow(WindowRef window)
{
    HostWindow* w = live(window);
    if (w == nullptr)
        return nullptr;
    const auto& all = order();
    auto it = std::find(all.begin(), all.end(), w);
    for (++it; it != all.end(); ++it)
        if (!isOverlay(*it))
            return *it;
    return nullptr;
}

WindowPartCode FindWindow(Point where, WindowRef* window)
{
    if (window != nullptr)
        *window = nullptr;
    if (HostRegion(HostMenuBarBounds()).Contains(where.h, where.v))
        return inMenuBar;
    for (HostWindow* w : order()) {
        if (isOverlay(w) || !w->visible)
            continue;
        if (HostRegion(w->Bounds()).Contains(where.h, where.v)) {
            if (window != nullptr)
                *window = w;
            return inContent;
        }
    }
    return inDesk;
}

// --- Geometry ------------------------------------------------------------------------------

void MoveWindow(WindowRef window, int16_t h, int16_t v, Boolean front)
{
    HostWindow* w = live(window);
    if (w == nullptr)
        return;
    if (w->left != h || w->top != v) {
        w->left = h;
        w->top = v;
        HostWindowsChanged();
    }
    if (front)
        SelectWindow(w);
}

void SizeWindow(WindowRef window, int16_t width, int16_t height, Boolean update)
{
    HostWindow* w = live(window);
    if (w == nullptr)
        return;
    const int32_t newWidth = std::max<int16_t>(width, 0);
    const int32_t newHeight = std::max<int16_t>(height, 0);
    if (newWidth == w->width && newHeight == w->height)
        return;
    if (w->port->Resize(storeRect(newWidth, newHeight), fillOf(w)) != noErr)
        return;
    const Rect oldLocal = w->LocalBounds();
    w->width = newWidth;
    w->height = newHeight;
    restoreVisible(w);
    w->updateRegion = HostRegion::Intersection(w->updateRegion, HostRegion(w->LocalBounds()));
    if (update) {
        HostRegion grown = HostRegion::Difference(HostRegion(w->LocalBounds()), HostRegion(oldLocal));
        w->updateRegion = HostRegion::Union(w->updateRegion, grown);
    }
    HostWindowsChanged();
}

OSStatus GetWindowBounds(WindowRef window, WindowRegionCode region, Rect* bounds)
{
    HostWindow* w = live(window);
    if (w == nullptr)
        return errInvalidWindowRef;
    if (bounds == nullptr)
        return paramErr;
    *bounds = w->Bounds();
    return noErr;
}

OSStatus SetWindowBounds(WindowRef window, WindowRegionCode region, const Rect* bounds)
{
    HostWindow* w = live(window);
    if (w == nullptr)
        return errInvalidWindowRef;
    if (bounds == nullptr)
        return paramErr;
    MoveWindow(w, bounds->left, bounds->top, false);
    SizeWindow(w, clamp16(int32_t(bounds->right) - bounds->left), clamp16(int32_t(bounds->bottom) - bounds->top),
               true);
    return noErr;
}

void GlobalToLocal(Point* point)
{
    GrafPtr port = nullptr;
    GetPort(&port);
    HostWindow* w = GetWindowFromPort(port);
    if (point == nullptr || w == nullptr)
        return;
    point->h = clamp16(int32_t(point->h) - w->left);
    point->v = clamp16(int32_t(point->v) - w->top);
}

void LocalToGlobal(Point* point)
{
    GrafPtr port = nullptr;
    GetPort(&port);
    HostWindow* w = GetWindowFromPort(port);
    if (point == nullptr || w == nullptr)
        return;
    point->h = clamp16(int32_t(point->h) + w->left);
    point->v = clamp16(int32_t(point->v) + w->top);
}

// --- Ports, drawing and updates ------------------------------------------------------------

CGrafPtr GetWindowPort(WindowRef window)
{
    HostWindow* w = live(window);
    return w != nullptr ? w->port : nullptr;
}

WindowRef GetWindowFromPort(CGrafPtr port)
{
    if (port == nullptr)
        return nullptr;
    for (HostWindow* w : order())
        if (w->port == port)
            return w;
    return nullptr;
}

void SetPortWindowPort(WindowRef window)
{
    if (HostWindow* w = live(window))
        SetPort(w->port);
}

OSStatus InvalWindowRect(WindowRef window, const Rect* bounds)
{
    HostWindow* w = live(window);
    if (w == nullptr)
        return errInvalidWindowRef;
    if (bounds == nullptr)
        return paramErr;
    w->updateRegion = HostRegion::Union(w->updateRegion, localRegion(w, *bounds));
    return noErr;
}

OSStatus InvalWindowRgn(WindowRef window, RgnHandle region)
{
    HostWindow* w = live(window);
    if (w == nullptr)
        return errInvalidWindowRef;
    if (region == nullptr)
        return paramErr;
    HostRegion inside = HostRegion::Intersection(*region, HostRegion(w->LocalBounds()));
    w->updateRegion = HostRegion::Union(w->updateRegion, inside);
    return noErr;
}

OSStatus ValidWindowRect(WindowRef window, const Rect* bounds)
{
    HostWindow* w = live(window);
    if (w == nullptr)
        return errInvalidWindowRef;
    if (bounds == nullptr)
        return paramErr;
    w->updateRegion = HostRegion::Difference(w->updateRegion, HostRegion(*bounds));
    return noErr;
}

OSStatus ValidWindowRgn(WindowRef window, RgnHandle region)
{
    HostWindow* w = live(window);
    if (w == nullptr)
        return errInvalidWindowRef;
    if (region == nullptr)
        return paramErr;
    w->updateRegion = HostRegion::Difference(w->updateRegion, *region);
    return noErr;
}

void BeginUpdate(WindowRef window)
{
    HostWindow* w = live(window);
    if (w == nullptr)
        return;
    // What became visible since the last look belongs to this update too.
    HostRefreshVisibility();
    w->port->SetVisible(HostRegion::Intersection(w->updateRegion, HostRegion(w->LocalBounds())));
    w->updateRegion.SetEmpty();
    w->inUpdate = true;
}

void EndUpdate(WindowRef window)
{
    HostWindow* w = live(window);
    if (w == nullptr || !w->inUpdate)
        return;
    w->inUpdate = false;
    restoreVisible(w);
}

void QDFlushPortBuffer(CGrafPtr port, RgnHandle region)
{
    if (!HostPort::IsLive(port))
        return;
    if (HostWindow* w = GetWindowFromPort(port)) {
        const Rect area = region != nullptr ? region->Bounds() : w->LocalBounds();
        port->NoteChanged(port->StoreBox(area).Intersect(HostBox{0, 0, port->Pixels().Width(),
                                                                 port->Pixels().Height()}));
    }
    HostPresentScreen(true);
}

// --- Window data -------------------------------------------------------------------------------

void SetWRefCon(WindowRef window, SRefCon data)
{
    if (HostWindow* w = live(window))
        w->refCon = data;
}

SRefCon GetWRefCon(WindowRef window)
{
    HostWindow* w = live(window);
    return w != nullptr ? w->refCon : nullptr;
}

void SetWTitle(WindowRef window, ConstStr255Param title)
{
    HostWindow* w = live(window);
    if (w == nullptr)
        return;
    if (title == nullptr)
        w->title.clear();
    else
        w->title.assign(reinterpret_cast<const char*>(title + 1), title[0]);
}

void GetWTitle(WindowRef window, Str255 title)
{
    if (title == nullptr)
        return;
    HostWindow* w = live(window);
    const size_t length = w != nullptr ? std::min<size_t>(w->title.size(), 255) : 0;
    title[0] = uint8_t(length);
    if (length > 0)
        std::memcpy(title + 1, w->title.data(), length);
}

OSStatus SetWindowContentColor(WindowRef window, const RGBColor* color)
{
    HostWindow* w = live(window);
    if (w == nullptr)
        return errInvalidWindowRef;
    if (color == nullptr)
        return paramErr;
    w->contentColor = *color;
    if (!w->everShown)
        fillPort(w);
    return noErr;
}

OSStatus GetWindowContentColor(WindowRef window, RGBColor* color)
{
    HostWindow* w = live(window);
    if (w == nullptr)
        return errInvalidWindowRef;
    if (color == nullptr)
        return paramErr;
    *color = w->contentColor;
    return noErr;
}

OSStatus ChangeWindowAttributes(WindowRef window, WindowAttributes setThese, WindowAttributes clearThese)
{
    HostWindow* w = live(window);
    if (w == nullptr)
        return errInvalidWindowRef;
    w->attributes = (w->attributes | setThese) & ~clearThese;
    return noErr;
}

OSStatus GetWindowAttributes(WindowRef window, WindowAttributes* attributes)
{
    HostWindow* w = live(window);
    if (w == nullptr)
        return errInvalidWindowRef;
    if (attributes == nullptr)
        return paramErr;
    *attributes = w->attributes;
    return noErr;
}

void HiliteWindow(WindowRef window, Boolean hilite)
{
    if (HostWindow* w = live(window))
        w->hilited = hilite != 0;
}

Boolean IsWindowHilited(WindowRef window)
{
    HostWindow* w = live(window);
    return w != nullptr && w->hilited;
}

// --- Tracking --------------------------------------------------------------------------------

Boolean TrackGoAway(WindowRef window, Point start)
{
    return trackInside(live(window));
}

Boolean TrackBox(WindowRef window, Point start, WindowPartCode part)
{
    return trackInside(live(window));
}

int32_t GrowWindow(WindowRef window, Point start, const Rect* sizeLimits)
{
    trackInside(live(window));
    return 0;
}

// --- Host interface ----------------------------------------------------------------------------

bool HostIsLiveWindow(WindowRef window)
{
    return live(window) != nullptr;
}

HostRegion HostWindowUpdateRegion(WindowRef window)
{
    HostWindow* w = live(window);
    if (w == nullptr)
        return HostRegion();
    HostRefreshVisibility();
    return w->updateRegion;
}
