// Tracking of a press in the menu bar: the state machine that follows the mouse over titles,
// pull-downs and hierarchical menus, and MenuSelect's loop over the host's mouse input.
#include "HostMenus.h"

#include "HostInput.h"
#include "HostMonitors.h"

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

// The host's mouse state as last sampled: tracking starts with the button down at the press.
struct MouseSample {
    bool down = true;
    Point where{0, 0};
};
MouseSample sSample;

// Samples the host's mouse state; a sample that shows no change means no more input.
bool pollHostMouse(HostMenuInput* input)
{
    MouseSample now;
    GetGlobalMouse(&now.where);
    now.down = Button();
    if (now.down == sSample.down && now.where.h == sSample.where.h && now.where.v == sSample.where.v)
        return false;
    using Kind = HostMenuInput::Kind;
    input->kind = now.down == sSample.down ? Kind::Move : now.down ? Kind::Down : Kind::Up;
    input->where = now.where;
    sSample = now;
    return true;
}

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
        if (where.v >= 0 && where.v < kHostMenuBarHeight && where.h >= title.left && where.h < title.right) {
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
    sSample = MouseSample{true, startPt};
    HostMenuInput input;
    HostMenuInputSource source = sSource != nullptr ? sSource : pollHostMouse;
    while (!tracker.Done()) {
        if (!source(&input)) {
            tracker.Abandon();
            break;
        }
        tracker.Feed(input);
    }
    return tracker.Result();
}

void HostSetMenuInputSource(HostMenuInputSource source)
{
    sSource = source;
}
