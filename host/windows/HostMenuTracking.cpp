// Tracking of a press in the menu bar: the state machine that follows the mouse over titles,
// pull-downs and hierarchical menus, and MenuSelect's loop over the host's events, which shows
// the open menus as pop-up windows.
#include "HostMenus.h"

#include "HostBackend.h"
#include "HostEvents.h"
#include "HostHeadless.h"
#include "HostInput.h"
#include "HostScreen.h"
#include "HostWindows.h"

#include <cstring>

namespace {

bool contains(const Rect& r, Point p)
{
    return p.h >= r.left && p.h < r.right && p.v >= r.top && p.v < r.bottom;
}

bool selectable(MenuRef menu, MenuItemIndex index)
{
    const HostMenuItem* item = menu->Item(index);
    return item != nullptr && item->enabled && menu->Enabled() && !item->IsSeparator();
}

// The hierarchical menu an enabled item opens, or null.
MenuRef submenuOf(MenuRef menu, MenuItemIndex index)
{
    if (!selectable(menu, index))
        return nullptr;
    MenuRef sub = HostHierarchicalMenu(menu->Item(index)->submenuID);
    return sub != nullptr && sub != menu ? sub : nullptr;
}

// The event source of tracking: mouse presses and releases from the event queue, and moves of
// the mouse seen after each wait. While a menu is open, the keys typed meanwhile are its own:
// Escape and Command-period cancel, the others are dropped. Headless, tracking ends when no input
// is left to come.
constexpr uint32_t kTrackingSleep = 1;
constexpr uint8_t kEscapeCharacter = 27;
Point sLastMouse{0, 0};
bool sMenuOpen = false;

bool isCancelKey(const EventRecord& event)
{
    const uint8_t character = uint8_t(event.message & charCodeMask);
    return event.what == keyDown &&
           (character == kEscapeCharacter || (character == '.' && (event.modifiers & cmdKey) != 0));
}

bool takeHostEvent(HostMenuInput* input)
{
    const bool headless = std::strcmp(HostBackendName(), "headless") == 0;
    for (;;) {
        EventRecord event;
        const EventMask keys = sMenuOpen ? EventMask(keyDownMask | keyUpMask | autoKeyMask) : EventMask(0);
        if (WaitNextEvent(mDownMask | mUpMask | keys, &event, kTrackingSleep, nullptr)) {
            if (event.what != mouseDown && event.what != mouseUp) {
                if (!isCancelKey(event))
                    continue;
                input->kind = HostMenuInput::Kind::Cancel;
                input->where = sLastMouse;
                return true;
            }
            input->kind = event.what == mouseDown ? HostMenuInput::Kind::Down : HostMenuInput::Kind::Up;
            input->where = event.where;
            sLastMouse = event.where;
            return true;
        }
        Point mouse;
        GetGlobalMouse(&mouse);
        if (mouse.h != sLastMouse.h || mouse.v != sLastMouse.v) {
            input->kind = HostMenuInput::Kind::Move;
            input->where = mouse;
            sLastMouse = mouse;
            return true;
        }
        if (headless && HostPendingInjectedCount() == 0 && !HostMouseEventQueued())
            return false;
    }
}

// The open menus on the screen: one pop-up window per panel, drawn again when its highlight
// changes.
class PanelWindows {
public:
    PanelWindows() = default;
    PanelWindows(const PanelWindows&) = delete;
    PanelWindows& operator=(const PanelWindows&) = delete;
    ~PanelWindows() { closeFrom(0); }

    void Show(const std::vector<HostMenuTracker::Panel>& panels)
    {
        size_t keep = 0;
        while (keep < mShown.size() && keep < panels.size() && sameFrame(mShown[keep], panels[keep]))
            ++keep;
        closeFrom(keep);
        for (size_t i = 0; i < panels.size(); ++i) {
            if (i < keep) {
                if (mShown[i].hilited != panels[i].hilited)
                    draw(mShown[i], panels[i]);
                continue;
            }
            Shown shown{nullptr, panels[i].layout.menu, panels[i].layout.frame, 0};
            if (CreateNewWindow(kHostPlainWindowClass, 0, &shown.frame, &shown.window) != noErr)
                continue;
            draw(shown, panels[i]);
            ShowWindow(shown.window);
            mShown.push_back(shown);
        }
    }

private:
    struct Shown {
        WindowRef window;
        MenuRef menu;
        Rect frame;
        MenuItemIndex hilited;
    };

    static bool sameFrame(const Shown& shown, const HostMenuTracker::Panel& panel)
    {
        const Rect& f = panel.layout.frame;
        return shown.menu == panel.layout.menu && shown.frame.top == f.top && shown.frame.left == f.left &&
               shown.frame.bottom == f.bottom && shown.frame.right == f.right;
    }
    static void draw(Shown& shown, const HostMenuTracker::Panel& panel)
    {
        shown.hilited = panel.hilited;
        HostDrawMenuPanel(GetWindowPort(shown.window), Point{shown.frame.top, shown.frame.left}, panel.layout,
                          panel.hilited);
    }
    void closeFrom(size_t first)
    {
        while (mShown.size() > first) {
            DisposeWindow(mShown.back().window);
            mShown.pop_back();
        }
    }

    std::vector<Shown> mShown;
};

HostMenuInputSource sSource = nullptr;

} // namespace

struct HostMenuTracker::Hit {
    enum class Kind { Outside, Title, Item, Blank } kind = Kind::Outside;
    MenuRef menu = nullptr;    // Title: the title's menu
    int16_t left = 0;          // Title: where its pull-down goes
    size_t panel = 0;          // Item, Blank: the panel
    MenuItemIndex item = 0;    // Item: a selectable item
};

HostMenuTracker::HostMenuTracker(Point start)
{
    moveTo(start);
}

HostMenuTracker::Hit HostMenuTracker::hitTest(Point where) const
{
    Hit hit;
    // Open menus lie over the bar and each other: the deepest first.
    for (size_t p = mPanels.size(); p-- > 0;) {
        const HostMenuPanelLayout& layout = mPanels[p].layout;
        if (!contains(layout.frame, where))
            continue;
        hit.panel = p;
        hit.kind = Hit::Kind::Blank;
        for (size_t i = 0; i < layout.items.size(); ++i) {
            if (contains(layout.items[i], where) && selectable(layout.menu, MenuItemIndex(i + 1))) {
                hit.kind = Hit::Kind::Item;
                hit.item = MenuItemIndex(i + 1);
            }
        }
        return hit;
    }
    for (const HostMenuTitleLayout& title : HostLayOutMenuBar()) {
        if (contains(HostMenuBarBounds(), where) && where.h >= title.left && where.h < title.right) {
            hit.kind = Hit::Kind::Title;
            hit.menu = title.menu;
            hit.left = title.left;
        }
    }
    return hit;
}

void HostMenuTracker::closeAbove(size_t panel)
{
    if (mPanels.size() > panel + 1)
        mPanels.resize(panel + 1);
}

void HostMenuTracker::openTitle(MenuRef menu, int16_t left)
{
    mPanels.clear();
    mTitle = menu;
    HiliteMenu(menu->ID());
    if (menu->Count() > 0)
        mPanels.push_back(Panel{HostLayOutPullDown(menu, left), 0});
}

void HostMenuTracker::moveTo(Point where)
{
    Hit hit = hitTest(where);
    switch (hit.kind) {
    case Hit::Kind::Title:
        if (hit.menu != mTitle) {
            openTitle(hit.menu, hit.left);
        } else if (!mPanels.empty()) {
            closeAbove(0);
            mPanels[0].hilited = 0;
        }
        return;
    case Hit::Kind::Item: {
        Panel& panel = mPanels[hit.panel];
        panel.hilited = hit.item;
        MenuRef sub = submenuOf(panel.layout.menu, hit.item);
        if (sub == nullptr) {
            closeAbove(hit.panel);
            return;
        }
        if (mPanels.size() > hit.panel + 1 && mPanels[hit.panel + 1].layout.menu == sub) {
            closeAbove(hit.panel + 1);
            return;
        }
        closeAbove(hit.panel);
        HostMenuPanelLayout layout = HostLayOutSubmenu(sub, panel.layout, hit.item);
        mPanels.push_back(Panel{std::move(layout), 0});
        return;
    }
    case Hit::Kind::Blank:
        mPanels[hit.panel].hilited = 0;
        closeAbove(hit.panel);
        return;
    case Hit::Kind::Outside:
        // Open menus stay; the deepest one loses its highlight.
        if (!mPanels.empty())
            mPanels.back().hilited = 0;
        return;
    }
}

void HostMenuTracker::Feed(const HostMenuInput& input)
{
    if (mDone)
        return;
    Hit hit = hitTest(input.where);
    switch (input.kind) {
    case HostMenuInput::Kind::Cancel:
        finish(0);
        return;
    case HostMenuInput::Kind::Move:
        moveTo(input.where);
        return;
    case HostMenuInput::Kind::Down:
        // A click away from the menus while they stay open ends tracking.
        if (mSticky && hit.kind == Hit::Kind::Outside) {
            finish(0);
            return;
        }
        moveTo(input.where);
        return;
    case HostMenuInput::Kind::Up:
        moveTo(input.where);
        if (hit.kind == Hit::Kind::Item && submenuOf(mPanels[hit.panel].layout.menu, hit.item) == nullptr) {
            finish((int32_t(mPanels[hit.panel].layout.menu->ID()) << 16) | hit.item);
            return;
        }
        // Released on a title or on an item that opens a menu, the menus stay open; so do
        // sticky menus released on a separator or a disabled item.
        if (hit.kind == Hit::Kind::Title || hit.kind == Hit::Kind::Item ||
            (mSticky && hit.kind == Hit::Kind::Blank)) {
            mSticky = true;
            return;
        }
        finish(0);
        return;
    }
}

void HostMenuTracker::Abandon()
{
    if (!mDone)
        finish(0);
}

void HostMenuTracker::finish(int32_t result)
{
    mDone = true;
    mResult = result;
    mPanels.clear();
    if (result == 0) {
        mTitle = nullptr;
        HiliteMenu(0);
    }
}

int32_t MenuSelect(Point startPt)
{
    HostMenuTracker tracker(startPt);
    PanelWindows shown;
    shown.Show(tracker.Panels());
    sLastMouse = startPt;
    HostMenuInputSource source = sSource != nullptr ? sSource : takeHostEvent;
    HostMenuInput input;
    while (!tracker.Done()) {
        sMenuOpen = tracker.OpenTitle() != nullptr;
        if (!source(&input)) {
            tracker.Abandon();
            break;
        }
        tracker.Feed(input);
        shown.Show(tracker.Panels());
    }
    return tracker.Result();
}

void HostSetMenuInputSource(HostMenuInputSource source)
{
    sSource = source;
}
