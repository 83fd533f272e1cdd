// Pop-up menu tracking. Each open level of the cascade is a borderless window (FWPopupWindow)
// whose item area starts at (1, 1); the tracker keeps the levels as a stack, the deepest last,
// and runs its own loop over the dispatcher's events. Idle timers give the delays: the sticky
// click, the sticky menu's 10 s timeout, the submenu pause, the diagonal move toward an open
// submenu and the scrolling of menus taller than the screen.
#include "FWPopupMenu.h"

#include "FWAppColor.h"
#include "FWApplicationRegion.h"
#include "FWArgb32.h"
#include "FWDrawContext.h"
#include "FWEventDispatcher.h"
#include "FWFont.h"
#include "FWIdleTimer.h"
#include "FWIdleTimerManager.h"
#include "FWMonitor.h"
#include "FWOpMenu.h"
#include "FWPlatformUtils.h"
#include "FWStr.h"
#include "FWWindow.h"
#include "DiskImage.h"
#include "HostWindows.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <set>
#include <vector>

namespace {

// Index codes of a tracked position that holds no item.
enum : int32_t {
    kNoItem = -1,
    kBottomZone = -2,   // in the window's bottom arrow zone, the level can scroll up
    kBelowWindow = -3,  // below the window, level with its columns
    kTopZone = -4,      // in the window's top arrow zone, the level can scroll down
    kAboveWindow = -5,  // above the window, level with its columns
};

constexpr int16_t kArrowZone = 10;
constexpr int16_t kSeparatorHeight = 6;
constexpr int16_t kBoundsInset = 6;
constexpr int kStickyMs = 500;
constexpr int kMouseStoppedMs = 10000;
constexpr int kSubmenuMs = 350;
constexpr int kParentTrackingMs = 1500;
constexpr int kSlowScrollMs = 300;
constexpr int kFastScrollMs = 30;
constexpr int32_t kBlinkTicks = 4;
constexpr signed char kEscapeCharacter = 27;

// Colours and font shared by every pop-up menu; made by the first and freed by the last.
struct SharedState {
    FWArgb32 text = FWArgb32::Black;
    FWArgb32 back;
    FWArgb32 select;
    FWArgb32 emboss = FWArgb32::White;
    FWArgb32 edgeHighlight = FWArgb32::White;
    FWArgb32 edgeShadow;
    FWFont font;
    int16_t fontHeight = 0;
    int16_t fontAscent = 0;
};

SharedState* sShared = nullptr;
int sUseCount = 0;

void takeShared()
{
    if (sUseCount++ > 0)
        return;
    sShared = new SharedState;
    sShared->back = FWGetAppColor(0);
    sShared->select = FWGetAppColor(11);
    sShared->edgeShadow = sShared->back;
    sShared->edgeShadow.LerpTo(FWArgb32::Black, 1, 2);
    if (FWGetApplicationRegion() != 0)
        sShared->font = FWFont(-1, 12);
    FWFontMetrics metrics;
    sShared->font.GetFontMetrics(metrics);
    sShared->fontHeight = int16_t(metrics.ascent + metrics.descent + metrics.leading + 2);
    sShared->fontAscent = int16_t(metrics.ascent);
}

void releaseShared()
{
    if (--sUseCount > 0)
        return;
    delete sShared;
    sShared = nullptr;
}

SharedState& shared()
{
    return *sShared;
}

// --- Items ---------------------------------------------------------------------------------

bool isSeparator(const FWUserOp* op)
{
    return (op->Flags() & kUserOpSeparator) != 0;
}

bool isSubmenu(const FWUserOp* op)
{
    return op != nullptr && (op->Flags() & kUserOpHasChildren) != 0 && op->FirstChild() != nullptr;
}

bool hasShortcut(const FWUserOp* op)
{
    const char key = op->ShortcutKey();
    return key != 0 && key != char(-1);
}

FWStr<63> shortcutText(const FWUserOp* op)
{
    FWStr<63> text("Cmd-");
    if ((op->ShortcutMods() & 0x800) != 0)
        text += "Opt-";
    if ((op->ShortcutMods() & 0x200) != 0)
        text += "Shift-";
    const char key[2] = {op->ShortcutKey(), 0};
    text += key;
    return text;
}

int16_t itemHeight(const FWUserOp* op)
{
    if (isSeparator(op))
        return kSeparatorHeight;
    if (const DiskImage* icon = op->Icon())
        return std::max<int16_t>(int16_t(icon->GetRect().Height() + 2), shared().fontHeight);
    return shared().fontHeight;
}

int32_t itemWidth(const FWUserOp* op)
{
    if (isSeparator(op))
        return 0;
    const FWFont& font = shared().font;
    int32_t width = font.GetStringWidth(&op->Name()) + 19;
    if (isSubmenu(op))
        width += 8;
    if (const DiskImage* icon = op->Icon())
        width += icon->GetRect().Width() + 4;
    if (hasShortcut(op)) {
        const FWStr<63> shortcut = shortcutText(op);
        width += font.GetStringWidth(&shortcut) + 8;
    }
    return width;
}

int32_t menuWidth(const FWOpMenu* menu)
{
    int32_t width = 10;
    for (FWUserOp* op = menu->FirstChild(); op != nullptr; op = op->NextPeer())
        width = std::max(width, itemWidth(op));
    return width;
}

FWUserOp* lastItem(const FWOpMenu* menu)
{
    FWUserOp* op = menu->FirstChild();
    while (op != nullptr && op->NextPeer() != nullptr)
        op = op->NextPeer();
    return op;
}

// One item position: the op (null for none), its rectangle in window coordinates and its index
// among the menu's children, or one of the codes above.
struct ItemRec {
    FWUserOp* op = nullptr;
    FWRect rect;
    int32_t index = kNoItem;
};

bool sameItem(const ItemRec& a, const ItemRec& b)
{
    return a.op == b.op && (a.op != nullptr || a.index == b.index);
}

// The mouse stays on the current op, or on no op and no scroll zone: nothing changes. A scroll
// code always goes on, so that small moves inside a scroll zone keep the menu scrolling.
bool nothingNew(const ItemRec& item, const ItemRec& current)
{
    return item.op == current.op && (item.op != nullptr || item.index == kNoItem);
}

// Where the mouse moved lately, to tell a move toward a submenu from a move away.
struct MouseHistory {
    int count = 0;
    FWPoint last;
    FWPoint previous;

    void Reset() { count = 0; }
    void Add(FWPoint p)
    {
        previous = last;
        last = p;
        ++count;
    }
    bool MovingRight() const { return count < 2 || last.h >= previous.h; }
    bool MovingLeft() const { return count < 2 || last.h <= previous.h; }
};

struct Level;

} // namespace

// A borderless window showing one level; its updates redraw the level.
class FWPopupWindow : public FWWindow {
public:
    explicit FWPopupWindow(std::function<void(FWDrawContext&)> draw) : FWWindow(4), mDraw(std::move(draw))
    {
        SetDraging(false);
        SetTitleWidth(0);
        SetFrameWidth(0);
    }

    bool UpdateEvent(FWEvent&, FWDrawContext& context) override
    {
        mDraw(context);
        return true;
    }

private:
    std::function<void(FWDrawContext&)> mDraw;
};

namespace {

// One open level of the cascade.
struct Level {
    FWOpMenu* menu = nullptr;
    std::unique_ptr<FWPopupWindow> window;
    std::unique_ptr<FWDrawContext> context;
    FWRect frame;       // the item area with the arrow zones, window coordinates, top-left (1, 1)
    FWRect itemArea;    // the frame less the arrow zones
    FWRect globalRect;  // the window, global
    int direction = 0;  // 0 cascades to the right, 1 to the left
    int mode = 0;       // 0 normal; 1 every item above the item area; 2 every item below it
    FWUserOp* top = nullptr;
    int32_t topIndex = 0;
    FWUserOp* bottom = nullptr;
    int16_t offset = 0; // from the frame's top to the top item's top
    ItemRec current;
    ItemRec newItem;
    Level* parent = nullptr;

    ~Level()
    {
        context.reset();
        window.reset();
    }

    bool CanScrollUp() const
    {
        if (mode == 1)
            return false;
        if (mode == 2)
            return true;
        return bottom != nullptr && bottom->NextPeer() != nullptr;
    }
    bool CanScrollDown() const
    {
        if (mode == 1)
            return true;
        if (mode == 2)
            return false;
        return top != nullptr && top->PrevPeer() != nullptr;
    }
    FWPoint ToWindow(FWPoint global) const
    {
        return FWPoint(int16_t(global.h - globalRect.left), int16_t(global.v - globalRect.top));
    }
};

class CallbackTimer : public FWIdleTimer {
public:
    explicit CallbackTimer(std::function<void()> action) : mAction(std::move(action)) {}
    void TimerAction() override
    {
        mFired = true;
        mAction();
    }
    void StartOneShot(int ms)
    {
        mFired = false;
        FWIdleTimerManager::StartOneShot(this, ms);
    }
    void Start(int ms) { FWIdleTimerManager::Start(this, ms); }
    void Stop() { FWIdleTimerManager::Stop(this); }
    bool Fired() const { return mFired; }

private:
    std::function<void()> mAction;
    bool mFired = false;
};

// The state of one Track call.
class Tracker {
public:
    Tracker(FWOpMenu* menu, int alignment) : mMenu(menu), mAlignment(alignment) {}
    ~Tracker();
    int32_t Run(FWPoint point, int32_t currentIndex, FWUserOp** chosen);

private:
    // Levels
    Level* pushLevel();
    void openLevel(Level& level, FWOpMenu* menu, FWPoint point, int32_t currentIndex, int alignment, int direction);
    void placeItems(Level& level, FWPoint windowPoint, FWUserOp* current, int32_t index);
    void findBottom(Level& level);
    void closeAbove(Level* level);
    bool isOpen(const Level* level) const;
    Level* levelAbove(const Level* level) const;
    void openSubmenu(Level& level);

    // Tracking
    bool nextPosition(FWPoint& where);
    void putOffUpdate(FWWindow* window);
    Level* findPopup(FWPoint global, ItemRec& item);
    void setHighlight(Level& level, const ItemRec& item, bool on);
    void startScrolling(Level* level, int32_t code);
    void stopScrolling();
    void scrollTick();
    void scrollDown(Level& level);
    void scrollUp(Level& level);
    void endParentTracking();
    void blink(Level& level, const ItemRec& item);

    // Drawing
    void drawLevel(Level& level, FWDrawContext& context);
    void drawItem(Level& level, FWDrawContext& context, FWUserOp* op, const FWRect& rect);
    void drawItemsFrom(Level& level, FWUserOp* first, FWUserOp* stop, int16_t top);
    void drawArrow(Level& level, FWDrawContext& context, bool up);
    void eraseRect(Level& level, const FWRect& rect);

    FWOpMenu* mMenu;
    int mAlignment;
    std::vector<std::unique_ptr<Level>> mLevels; // the first level first
    FWRect mBounds;
    Level* mParentLevel = nullptr;
    Level* mSubmenuLevel = nullptr;
    ItemRec mParentItem;
    MouseHistory mHistory;
    FWPoint mPress;
    int mClickCount = 1;
    bool mSticky = false;
    bool mAbort = false;
    std::set<FWWindow*> mPutOff;
    Level* mScrollLevel = nullptr;
    int32_t mScrollCode = kNoItem;
    Level* mSubmenuTimerLevel = nullptr;

    CallbackTimer mStickyTimer{[] {}};
    CallbackTimer mMouseStoppedTimer{[this] {
        mAbort = true;
        FWEventDispatcher::Unblock();
    }};
    CallbackTimer mSubmenuTimer{[this] {
        if (mSubmenuTimerLevel != nullptr && isOpen(mSubmenuTimerLevel))
            openSubmenu(*mSubmenuTimerLevel);
    }};
    CallbackTimer mParentTrackingTimer{[this] {
        endParentTracking();
        FWEventDispatcher::Unblock();
    }};
    CallbackTimer mScrollTimer{[this] { scrollTick(); }};
};

Tracker::~Tracker()
{
    mStickyTimer.Stop();
    mMouseStoppedTimer.Stop();
    mSubmenuTimer.Stop();
    mParentTrackingTimer.Stop();
    mScrollTimer.Stop();
}

// --- Levels ----------------------------------------------------------------------------------

Level* Tracker::pushLevel()
{
    auto level = std::make_unique<Level>();
    level->parent = mLevels.empty() ? nullptr : mLevels.back().get();
    mLevels.push_back(std::move(level));
    return mLevels.back().get();
}

bool Tracker::isOpen(const Level* level) const
{
    return std::any_of(mLevels.begin(), mLevels.end(), [level](const auto& l) { return l.get() == level; });
}

Level* Tracker::levelAbove(const Level* level) const
{
    for (size_t i = 0; i + 1 < mLevels.size(); ++i)
        if (mLevels[i].get() == level)
            return mLevels[i + 1].get();
    return nullptr;
}

// Closes every level deeper than level (all of them for null); timers and parent tracking
// that refer to a closed level end with it.
void Tracker::closeAbove(Level* level)
{
    while (!mLevels.empty() && mLevels.back().get() != level) {
        Level* closing = mLevels.back().get();
        if (mScrollLevel == closing)
            stopScrolling();
        if (mSubmenuTimerLevel == closing) {
            mSubmenuTimer.Stop();
            mSubmenuTimerLevel = nullptr;
        }
        if (mParentLevel == closing || mSubmenuLevel == closing) {
            endParentTracking();
            mParentTrackingTimer.Stop();
        }
        mLevels.pop_back();
    }
}

void Tracker::openLevel(Level& level, FWOpMenu* menu, FWPoint point, int32_t currentIndex, int alignment, int direction)
{
    level.menu = menu;
    level.direction = direction;
    Level* self = &level;
    level.window = std::make_unique<FWPopupWindow>([this, self](FWDrawContext& context) { drawLevel(*self, context); });
    level.window->Initialize(nullptr, FWRect(0, 0, 20, 20));
    level.window->ViewMngr().SetInterfaceEvent(false);
    level.window->SetContentColor(shared().back);

    for (FWUserOp* op = menu->FirstChild(); op != nullptr; op = op->NextPeer())
        op->ClearFlag(kUserOpHilited);

    // The current item: -1 gives none; an index past the end gives the first item.
    FWUserOp* current = nullptr;
    int32_t index = kNoItem;
    if (currentIndex >= 0) {
        current = menu->MenuItem(currentIndex);
        index = currentIndex;
        if (current == nullptr) {
            current = menu->FirstChild();
            index = current != nullptr ? 0 : kNoItem;
        }
    }

    // The ideal rectangle.
    const int32_t width = menuWidth(menu);
    int32_t height = 0;
    int32_t offset = 0;
    int32_t i = 0;
    for (FWUserOp* op = menu->FirstChild(); op != nullptr; op = op->NextPeer(), ++i) {
        if (i < index)
            offset += itemHeight(op);
        height += itemHeight(op);
    }
    height = std::max<int32_t>(height, 4);
    int32_t left = point.h;
    int32_t top = point.v - offset;
    if (alignment == 1) {
        left = point.h - width / 2;
        top = point.v - height / 2;
    } else if (alignment == 2) {
        left = point.h - width;
    }
    int32_t w = width;
    int32_t h = height;

    // Kept within the bounds: cut to their size (whole rows in height), then moved inside.
    const int32_t boundsWidth = mBounds.Width();
    const int32_t boundsHeight = mBounds.Height();
    if (w > boundsWidth)
        w = boundsWidth;
    if (left < mBounds.left)
        left = mBounds.left;
    else if (left + w > mBounds.right)
        left = mBounds.right - w;
    const int32_t fontHeight = std::max<int32_t>(shared().fontHeight, 1);
    if (h > boundsHeight)
        h = fontHeight * (boundsHeight / fontHeight);
    if (top < mBounds.top)
        top = mBounds.top;
    else if (top + h > mBounds.bottom)
        top = mBounds.bottom - h;

    level.frame = FWRect(1, 1, int16_t(1 + w), int16_t(1 + h));
    level.itemArea = level.frame;
    level.itemArea.top = int16_t(level.itemArea.top + kArrowZone);
    level.itemArea.bottom = int16_t(level.itemArea.bottom - kArrowZone);
    level.globalRect = FWRect(int16_t(left - 1), int16_t(top - 1), int16_t(left + w + 1), int16_t(top + h + 1));
    level.window->SetLocation(level.globalRect.left, level.globalRect.top);
    level.window->SetSize(w + 2, h + 2);
    level.window->Show();
    level.context = std::make_unique<FWDrawContext>(level.window.get());
    level.context->SetFont(&shared().font);
    level.context->SetClipRect(nullptr);

    placeItems(level, level.ToWindow(point), current, index);
    drawLevel(level, *level.context);
}

// Chooses the top item and the scroll mode so that the current item's top is at the point.
void Tracker::placeItems(Level& level, FWPoint windowPoint, FWUserOp* current, int32_t index)
{
    const FWRect& frame = level.frame;
    const FWRect& area = level.itemArea;
    if (current == nullptr) {
        level.mode = 0;
        level.top = level.menu->FirstChild();
        level.topIndex = 0;
        level.offset = 0;
        findBottom(level);
        return;
    }
    int32_t y = windowPoint.v;
    FWUserOp* op = current;
    if (y >= frame.top) {
        while (op->PrevPeer() != nullptr && y - itemHeight(op->PrevPeer()) >= frame.top) {
            op = op->PrevPeer();
            y -= itemHeight(op);
            --index;
        }
    } else {
        while (op->NextPeer() != nullptr && y < frame.top) {
            y += itemHeight(op);
            op = op->NextPeer();
            ++index;
        }
    }
    if (op->PrevPeer() != nullptr) {
        while (op->NextPeer() != nullptr && y < area.top) {
            y += itemHeight(op);
            op = op->NextPeer();
            ++index;
        }
    }
    const int32_t y2 = y + itemHeight(op);
    if (y < frame.top || (y < area.top && op->PrevPeer() != nullptr)) {
        level.mode = 1;
        level.top = lastItem(level.menu);
        level.topIndex = level.menu->CountChildren() - 1;
        level.offset = kArrowZone;
        level.bottom = nullptr;
    } else if (y2 > frame.bottom || (y2 > area.bottom && op->NextPeer() != nullptr)) {
        level.mode = 2;
        level.top = level.menu->FirstChild();
        level.topIndex = 0;
        level.offset = int16_t(area.bottom - frame.top - (y2 - y));
        level.bottom = nullptr;
    } else {
        level.mode = 0;
        level.top = op;
        level.topIndex = index;
        level.offset = int16_t(y - frame.top);
        findBottom(level);
    }
}

// The last item from the top item that fits in the frame; with items after it, stepped back
// so that the bottom arrow zone stays free.
void Tracker::findBottom(Level& level)
{
    int32_t y = level.frame.top + level.offset;
    FWUserOp* bottom = nullptr;
    for (FWUserOp* op = level.top; op != nullptr && y + itemHeight(op) <= level.frame.bottom; op = op->NextPeer()) {
        y += itemHeight(op);
        bottom = op;
    }
    if (bottom == nullptr) {
        level.bottom = level.top;
        return;
    }
    if (bottom->NextPeer() != nullptr) {
        while (y > level.itemArea.bottom && bottom != level.top) {
            y -= itemHeight(bottom);
            bottom = bottom->PrevPeer();
        }
    }
    level.bottom = bottom;
}

void Tracker::openSubmenu(Level& level)
{
    FWUserOp* item = level.newItem.op;
    if (!isSubmenu(item) || levelAbove(&level) != nullptr)
        return;
    auto* submenu = static_cast<FWOpMenu*>(item);
    const FWRect& rect = level.newItem.rect;
    const FWPoint a(int16_t(level.globalRect.left + rect.left + 2), int16_t(level.globalRect.top + rect.top));
    const FWPoint b(int16_t(level.globalRect.left + rect.right - 2), a.v);
    const int32_t w = menuWidth(submenu);
    int direction = level.direction;
    if (direction == 1 && a.h - w < mBounds.left && b.h + w <= mBounds.right)
        direction = 0;
    else if (direction == 0 && b.h + w > mBounds.right && a.h - w >= mBounds.left)
        direction = 1;

    Level* sub = pushLevel();
    openLevel(*sub, submenu, direction == 1 ? a : b, kNoItem, direction == 1 ? 2 : 0, direction);

    mParentLevel = &level;
    mSubmenuLevel = sub;
    mParentItem = level.newItem;
    mParentTrackingTimer.StartOneShot(kParentTrackingMs);
}

void Tracker::endParentTracking()
{
    mParentLevel = nullptr;
    mSubmenuLevel = nullptr;
    mParentItem = ItemRec();
}

// --- Tracking --------------------------------------------------------------------------------

int32_t Tracker::Run(FWPoint point, int32_t currentIndex, FWUserOp** chosen)
{
    const FWMonitor* monitor = FWMonitor::FindClosestMonitorByPoint(point);
    mBounds = monitor != nullptr ? monitor->UsableBounds() : FWRect(0, 0, 1280, 800);
    mBounds.Inset(kBoundsInset, kBoundsInset);

    Level* first = pushLevel();
    openLevel(*first, mMenu, point, currentIndex, mAlignment, 0);
    endParentTracking();
    mHistory.Reset();
    mStickyTimer.StartOneShot(kStickyMs);
    mClickCount = 1;
    mSticky = false;
    mAbort = false;
    FWGetMousePosition(mPress);

    Level* previous = nullptr;
    bool aborted = false;
    FWPoint where;
    for (;;) {
        if (!nextPosition(where)) {
            aborted = mAbort;
            break;
        }
        ItemRec item;
        Level* level = findPopup(where, item);
        if (level == previous) {
            if (level == nullptr) {
                stopScrolling();
                previous = level;
                continue;
            }
            if (nothingNew(item, level->current)) {
                stopScrolling();
                continue;
            }
        }
        if (level != nullptr) {
            Level* above = levelAbove(level);
            if (isSubmenu(item.op) && above != nullptr && above->menu == item.op) {
                closeAbove(above);
                setHighlight(*above, above->current, false);
                above->current = ItemRec();
            } else {
                closeAbove(level);
            }
            level->newItem = item;
            if (!sameItem(item, level->current)) {
                setHighlight(*level, level->current, false);
                setHighlight(*level, item, true);
                if (isSubmenu(item.op) && levelAbove(level) == nullptr) {
                    mSubmenuTimerLevel = level;
                    mSubmenuTimer.StartOneShot(kSubmenuMs);
                } else {
                    mSubmenuTimer.Stop();
                    mSubmenuTimerLevel = nullptr;
                }
            }
            startScrolling(level, item.index);
            level->current = item;
        } else if (previous != nullptr && isOpen(previous)) {
            closeAbove(previous);
            setHighlight(*previous, previous->current, false);
            previous->current = ItemRec();
            previous->newItem = ItemRec();
            mSubmenuTimer.Stop();
            mSubmenuTimerLevel = nullptr;
            stopScrolling();
        }
        previous = level;
    }

    mSubmenuTimer.Stop();
    mMouseStoppedTimer.Stop();
    mParentTrackingTimer.Stop();
    stopScrolling();

    int32_t result = kNoItem;
    FWUserOp* op = nullptr;
    if (!aborted && previous != nullptr && isOpen(previous)) {
        op = previous->current.op;
        if (op != nullptr) {
            if (!isSubmenu(op))
                blink(*previous, previous->current);
            result = previous->current.index;
        }
    }
    if (chosen != nullptr)
        *chosen = op;

    closeAbove(nullptr);
    for (FWWindow* window : mPutOff)
        if (FWWindow::IsValidWindow(window))
            window->Inval(nullptr);
    mPutOff.clear();
    return result;
}

// Waits for the next position to evaluate; false when tracking ends.
bool Tracker::nextPosition(FWPoint& where)
{
    for (;;) {
        FWEvent event;
        FWEventDispatcher::Instance()->GetEvent(event, true);
        switch (event.mType) {
        case kNullEvent:
            if (mAbort)
                return false;
            if (mHistory.count == 0)
                FWGetMousePosition(where);
            else
                where = mHistory.last;
            return true;
        case kUpdateEvent:
            if (dynamic_cast<FWPopupWindow*>(event.mWindow) != nullptr)
                FWEventDispatcher::Instance()->Dispatch(event);
            else
                putOffUpdate(event.mWindow);
            continue;
        case kMouseDownEvent:
            ++mClickCount;
            where = event.mGlobalWhere;
            mHistory.Add(where);
            return true;
        case kMouseUpEvent:
            if (mClickCount == 1 && !mStickyTimer.Fired() && std::abs(event.mGlobalWhere.h - mPress.h) <= 1 &&
                std::abs(event.mGlobalWhere.v - mPress.v) <= 1) {
                mSticky = true;
                mMouseStoppedTimer.StartOneShot(kMouseStoppedMs);
                mStickyTimer.Stop();
                continue;
            }
            mHistory.Add(event.mGlobalWhere);
            return false;
        case kKeyDownEvent:
            // The menu takes the keys typed while it is open: Escape and Command-period close it
            // with no choice.
            if (event.EventCharacter() == kEscapeCharacter ||
                (event.EventCharacter() == '.' && (event.mModifiers & kFWCommandKey) != 0)) {
                mAbort = true;
                return false;
            }
            continue;
        case kMouseMovedEvent:
            if (mSticky)
                mMouseStoppedTimer.StartOneShot(kMouseStoppedMs);
            where = event.mGlobalWhere;
            mHistory.Add(where);
            return true;
        default:
            continue;
        }
    }
}

// Other windows are not redrawn while the menu is up: their update is ended at once and the
// window redrawn whole after tracking.
void Tracker::putOffUpdate(FWWindow* window)
{
    if (window == nullptr)
        return;
    mPutOff.insert(window);
    HostWindow* platform = window->GetPDW();
    if (platform == nullptr)
        return;
    BeginUpdate(platform);
    {
        FWDrawContext context(window);
        context.EraseRect(nullptr);
    }
    EndUpdate(platform);
}

Level* Tracker::findPopup(FWPoint global, ItemRec& item)
{
    item = ItemRec();
    Level* hit = nullptr;
    Level* column = nullptr;
    for (auto it = mLevels.rbegin(); it != mLevels.rend(); ++it) {
        Level* level = it->get();
        const FWRect& r = level->globalRect;
        const bool inColumns = r.left <= global.h && global.h < r.right;
        if (inColumns && r.top <= global.v && global.v < r.bottom) {
            hit = level;
            break;
        }
        if (inColumns && column == nullptr)
            column = level;
    }
    if (hit == nullptr) {
        if (column == nullptr)
            return nullptr;
        const FWPoint p = column->ToWindow(global);
        if (p.v >= column->itemArea.bottom && column->CanScrollUp()) {
            item.index = kBelowWindow;
            return column;
        }
        if (p.v < column->itemArea.top && column->CanScrollDown()) {
            item.index = kAboveWindow;
            return column;
        }
        return nullptr;
    }

    const FWPoint p = hit->ToWindow(global);
    if (p.v >= hit->itemArea.bottom && hit->CanScrollUp()) {
        item.index = kBottomZone;
    } else if (p.v < hit->itemArea.top && hit->CanScrollDown()) {
        item.index = kTopZone;
    } else if (hit->mode == 0 && hit->bottom != nullptr) {
        int32_t y = hit->frame.top + hit->offset;
        int32_t index = hit->topIndex;
        for (FWUserOp* op = hit->top; op != nullptr; op = op->NextPeer(), ++index) {
            const int32_t bottom = y + itemHeight(op);
            if (bottom > p.v) {
                const bool inside = y >= hit->frame.top && bottom <= hit->frame.bottom;
                if (inside && (op->Flags() & (kUserOpSeparator | kUserOpDisabled)) == 0) {
                    item.op = op;
                    item.rect = FWRect(hit->frame.left, int16_t(y), hit->frame.right, int16_t(bottom));
                    item.index = index;
                }
                break;
            }
            if (op == hit->bottom)
                break;
            y = bottom;
        }
    }

    // A move across other items toward an open submenu keeps its parent item.
    if (mParentLevel != nullptr && hit == mParentLevel && mSubmenuLevel != nullptr) {
        const FWRect& sub = mSubmenuLevel->globalRect;
        if (global.v >= sub.top && global.v <= sub.bottom && item.op != mParentItem.op) {
            const bool toward = mParentLevel->direction == 1 ? mHistory.MovingLeft() : mHistory.MovingRight();
            if (toward) {
                item = mParentItem;
            } else {
                endParentTracking();
                mParentTrackingTimer.Stop();
            }
        }
    }
    return hit;
}

void Tracker::setHighlight(Level& level, const ItemRec& item, bool on)
{
    if (item.op == nullptr || isSeparator(item.op))
        return;
    if (on)
        item.op->SetFlag(kUserOpHilited);
    else
        item.op->ClearFlag(kUserOpHilited);
    drawItem(level, *level.context, item.op, item.rect);
}

void Tracker::blink(Level& level, const ItemRec& item)
{
    for (int i = 0; i < 3; ++i) {
        setHighlight(level, item, false);
        level.context->Flush();
        FWDelayTicks(kBlinkTicks);
        setHighlight(level, item, true);
        level.context->Flush();
        FWDelayTicks(kBlinkTicks);
    }
    setHighlight(level, item, false);
}

// --- Scrolling -------------------------------------------------------------------------------

void Tracker::startScrolling(Level* level, int32_t code)
{
    if (level == mScrollLevel && code == mScrollCode)
        return;
    mScrollLevel = level;
    mScrollCode = code;
    if (code == kBottomZone || code == kTopZone)
        mScrollTimer.Start(kSlowScrollMs);
    else if (code == kBelowWindow || code == kAboveWindow)
        mScrollTimer.Start(kFastScrollMs);
    else
        stopScrolling();
}

void Tracker::stopScrolling()
{
    mScrollTimer.Stop();
    mScrollLevel = nullptr;
    mScrollCode = kNoItem;
}

void Tracker::scrollTick()
{
    Level* level = mScrollLevel;
    if (level == nullptr || !isOpen(level)) {
        stopScrolling();
        return;
    }
    if (mScrollCode == kTopZone || mScrollCode == kAboveWindow) {
        if (level->CanScrollDown())
            scrollDown(*level);
        else
            stopScrolling();
    } else if (mScrollCode == kBottomZone || mScrollCode == kBelowWindow) {
        if (level->CanScrollUp())
            scrollUp(*level);
        else
            stopScrolling();
    }
}

// Reveals the item above the top one: the items move down.
void Tracker::scrollDown(Level& level)
{
    const FWRect& frame = level.frame;
    const FWRect& area = level.itemArea;
    const int oldMode = level.mode;
    FWUserOp* oldTop = level.top;
    const bool hadLater = level.mode == 0 && level.bottom != nullptr && level.bottom->NextPeer() != nullptr;
    int32_t shift = 0;
    // The new top item's place before the pixels move.
    int32_t position = level.offset;
    if (level.mode == 0) {
        level.top = level.top->PrevPeer();
        --level.topIndex;
        shift = itemHeight(level.top);
        position = level.offset - shift;
    } else {
        level.mode = 0;
    }
    // When the items above cannot fill the space opened above, the first item goes to the top.
    FWUserOp* walk = level.top;
    int32_t o = position;
    bool ranOut = false;
    while (shift + o >= 1) {
        if (walk->PrevPeer() == nullptr) {
            ranOut = true;
            break;
        }
        walk = walk->PrevPeer();
        o -= itemHeight(walk);
    }
    if (ranOut) {
        level.top = level.menu->FirstChild();
        level.topIndex = 0;
        level.offset = 0;
        shift = -o;
    } else {
        level.offset = int16_t(position + shift);
    }
    findBottom(level);
    const bool showDownArrow = !hadLater && level.bottom != nullptr && level.bottom->NextPeer() != nullptr;

    FWDrawContext& context = *level.context;
    if (shift != 0) {
        int32_t bottomLine = frame.top + level.offset;
        for (FWUserOp* op = level.top; op != nullptr; op = op->NextPeer()) {
            bottomLine += itemHeight(op);
            if (op == level.bottom)
                break;
        }
        FWRect moved;
        if (level.bottom != nullptr && level.bottom->NextPeer() != nullptr) {
            eraseRect(level, FWRect(frame.left, int16_t(bottomLine), frame.right, area.bottom));
            moved = FWRect(frame.left, area.top, frame.right, int16_t(bottomLine));
        } else {
            moved = FWRect(frame.left, area.top, frame.right, frame.bottom);
        }
        FWRect exposed;
        context.ScrollRect(&moved, exposed, 0, shift);
    }
    drawItemsFrom(level, level.top, oldMode == 1 ? nullptr : oldTop, int16_t(frame.top + level.offset));
    if (showDownArrow) {
        eraseRect(level, FWRect(frame.left, area.bottom, frame.right, frame.bottom));
        drawArrow(level, context, false);
    }
}

// Reveals the item below the bottom one: the items move up.
void Tracker::scrollUp(Level& level)
{
    const FWRect& frame = level.frame;
    const FWRect& area = level.itemArea;
    FWUserOp* firstNew = nullptr;
    int32_t shift = 0;
    if (level.mode == 0) {
        level.bottom = level.bottom->NextPeer();
        firstNew = level.bottom;
        shift = itemHeight(level.bottom);
    } else {
        level.mode = 0;
        level.bottom = level.top;
        firstNew = level.top;
    }
    // Lay the items out after the move; when all the rest fit, the last is the bottom item and
    // the move stops where it reaches the frame's bottom.
    int32_t y = frame.top + level.offset - shift;
    FWUserOp* op = level.top;
    FWUserOp* lastFit = nullptr;
    while (op != nullptr && y + itemHeight(op) <= frame.bottom) {
        y += itemHeight(op);
        lastFit = op;
        op = op->NextPeer();
    }
    if (op == nullptr && lastFit != nullptr) {
        level.bottom = lastFit;
        shift -= frame.bottom - y;
    }
    level.offset = int16_t(level.offset - shift);

    FWDrawContext& context = *level.context;
    if (level.top->PrevPeer() == nullptr && level.offset < 0) {
        eraseRect(level, FWRect(frame.left, frame.top, frame.right, area.top));
        drawArrow(level, context, true);
    }
    if ((level.top->PrevPeer() != nullptr || level.offset < 0) && level.offset < kArrowZone) {
        while (level.offset <= kArrowZone - 1 && level.top->NextPeer() != nullptr && level.top != level.bottom) {
            level.offset = int16_t(level.offset + itemHeight(level.top));
            level.top = level.top->NextPeer();
            ++level.topIndex;
        }
    }
    if (shift != 0) {
        FWRect moved;
        if (level.top->PrevPeer() != nullptr) {
            const int16_t line = int16_t(frame.top + level.offset);
            eraseRect(level, FWRect(frame.left, area.top, frame.right, line));
            moved = FWRect(frame.left, line, frame.right, area.bottom);
        } else {
            moved = FWRect(frame.left, frame.top, frame.right, area.bottom);
        }
        FWRect exposed;
        context.ScrollRect(&moved, exposed, 0, -shift);
    }
    // The newly revealed items down to the bottom item.
    int32_t top = frame.top + level.offset;
    for (FWUserOp* it = level.top; it != nullptr && it != firstNew; it = it->NextPeer())
        top += itemHeight(it);
    FWUserOp* stop = level.bottom != nullptr ? level.bottom->NextPeer() : nullptr;
    drawItemsFrom(level, firstNew, stop, int16_t(top));
}

// --- Drawing ---------------------------------------------------------------------------------

void Tracker::eraseRect(Level& level, const FWRect& rect)
{
    if (!rect.Empty())
        level.context->PaintRect(&rect, shared().back);
}

// Draws the items from first up to (not including) stop, the first with its top at top.
void Tracker::drawItemsFrom(Level& level, FWUserOp* first, FWUserOp* stop, int16_t top)
{
    int32_t y = top;
    for (FWUserOp* op = first; op != nullptr && op != stop; op = op->NextPeer()) {
        const int32_t bottom = y + itemHeight(op);
        drawItem(level, *level.context, op, FWRect(level.frame.left, int16_t(y), level.frame.right, int16_t(bottom)));
        y = bottom;
    }
}

void Tracker::drawLevel(Level& level, FWDrawContext& context)
{
    const SharedState& s = shared();
    const FWRect& frame = level.frame;
    context.SetFont(&s.font);
    context.PaintRect(&frame, s.back);
    context.SetForeColor(s.edgeHighlight);
    context.MoveTo(frame.left - 1, frame.bottom - 1);
    context.LineTo(frame.left - 1, frame.top - 1);
    context.LineTo(frame.right - 1, frame.top - 1);
    context.SetForeColor(s.edgeShadow);
    context.MoveTo(frame.left, frame.bottom);
    context.LineTo(frame.right, frame.bottom);
    context.LineTo(frame.right, frame.top);

    if (level.mode == 1) {
        drawArrow(level, context, true);
        return;
    }
    if (level.mode == 2) {
        drawArrow(level, context, false);
        return;
    }
    if (level.top == nullptr)
        return;
    if (level.top->PrevPeer() != nullptr)
        drawArrow(level, context, true);
    int32_t y = frame.top + level.offset;
    for (FWUserOp* op = level.top; op != nullptr; op = op->NextPeer()) {
        const int32_t bottom = y + itemHeight(op);
        drawItem(level, context, op, FWRect(frame.left, int16_t(y), frame.right, int16_t(bottom)));
        y = bottom;
        if (op == level.bottom)
            break;
    }
    if (level.bottom != nullptr && level.bottom->NextPeer() != nullptr)
        drawArrow(level, context, false);
}

// Four lines of lengths 6, 4, 2 and 0, each one pixel further right and one row further from
// the base row.
void Tracker::drawArrow(Level& level, FWDrawContext& context, bool up)
{
    context.SetForeColor(shared().text);
    const int32_t h = level.frame.left + 15;
    const int32_t v = up ? level.frame.top + 6 : level.frame.bottom - 7;
    for (int32_t i = 0; i < 4; ++i) {
        const int32_t row = up ? v - i : v + i;
        context.MoveTo(h + i, row);
        context.LineTo(h + i + 6 - 2 * i, row);
    }
}

void Tracker::drawItem(Level& level, FWDrawContext& context, FWUserOp* op, const FWRect& r)
{
    const SharedState& s = shared();
    const int32_t l = r.left;
    const int32_t t = r.top;
    const int32_t rr = r.right;
    const int32_t b = r.bottom;
    FWArgb32 foreColor = s.text;
    FWArgb32 backColor = s.back;
    FWArgb32 edgeHighlight = s.edgeHighlight;
    FWArgb32 edgeShadow = s.edgeShadow;

    if (isSeparator(op)) {
        context.PaintRect(&r, s.back);
        const int32_t m = (t + b) / 2 - 1;
        context.SetForeColor(s.edgeShadow);
        context.MoveTo(l, m);
        context.LineTo(rr - 1, m);
        context.SetForeColor(s.edgeHighlight);
        context.MoveTo(l, m + 1);
        context.LineTo(rr - 1, m + 1);
        return;
    }
    if ((op->Flags() & kUserOpDisabled) != 0) {
        foreColor = s.back;
        foreColor.LerpTo(op->Color(), 1, 2);
    } else {
        foreColor = op->Color();
        if ((op->Flags() & kUserOpHilited) != 0) {
            backColor = s.select;
            edgeHighlight.LerpTo(s.select, 1, 2);
            edgeShadow.LerpTo(s.select, 1, 2);
        }
    }

    context.PaintRect(&r, backColor);
    context.SetForeColor(edgeHighlight);
    context.MoveTo(l - 1, t);
    context.LineTo(l - 1, b - 1);
    if (op->PrevPeer() == nullptr && t == level.frame.top) {
        context.MoveTo(l - 1, t - 1);
        context.LineTo(rr - 1, t - 1);
    }
    context.SetForeColor(edgeShadow);
    context.MoveTo(rr, t);
    context.LineTo(rr, b - 1);
    if (op->NextPeer() == nullptr && b == level.frame.bottom) {
        context.MoveTo(l, b);
        context.LineTo(rr, b);
    }

    if ((op->Flags() & kUserOpChecked) != 0) {
        static constexpr int8_t kCheck[10][2] = {{0, 3}, {1, 4}, {1, 5}, {2, 6}, {3, 5},
                                                 {3, 4}, {4, 3}, {4, 2}, {5, 1}, {5, 0}};
        context.SetForeColor(s.emboss);
        for (const auto& p : kCheck)
            context.PaintPixel(l + 5 + p[0], t + 4 + p[1]);
        context.SetForeColor(foreColor);
        for (const auto& p : kCheck)
            context.PaintPixel(l + 4 + p[0], t + 3 + p[1]);
    }

    int32_t textLeft = l + 15;
    int32_t baseline = t + s.fontAscent;
    if (const DiskImage* icon = op->Icon()) {
        const FWRect& bounds = icon->GetRect();
        const int32_t centring = (bounds.Height() - s.fontAscent) / 2 + 1;
        const int32_t iconTop = t + 1 + (centring < 0 ? -centring : 0);
        const FWRect dst(int16_t(textLeft), int16_t(iconTop), int16_t(textLeft + bounds.Width()),
                         int16_t(iconTop + bounds.Height()));
        context.DrawImage(icon, &dst, false);
        textLeft += bounds.Width() + 4;
        if (centring >= 0)
            baseline += centring;
    }

    FWStr<63> shortcut;
    int32_t limit = rr - 4;
    if (isSubmenu(op)) {
        limit = rr - 12;
    } else if (hasShortcut(op)) {
        shortcut = shortcutText(op);
        limit = rr - s.font.GetStringWidth(&shortcut) - 12;
    }
    const int32_t width = std::max<int32_t>(limit - textLeft, 0);
    context.DrawEmbossedStringColors(textLeft, baseline, &op->Name(), foreColor, s.emboss, int16_t(width), true);

    if (isSubmenu(op)) {
        const int32_t m = (t + b) / 2;
        context.SetForeColor(foreColor);
        for (int32_t i = 0; i < 4; ++i) {
            context.MoveTo(rr - 5 - i, m - i);
            context.LineTo(rr - 5 - i, m + i);
        }
    } else if (hasShortcut(op)) {
        context.DrawEmbossedStringColors(limit + 8, baseline, &shortcut, foreColor, s.emboss, 0, false);
    }
}

} // namespace

// --- FWPopupMenu -----------------------------------------------------------------------------

FWPopupMenu::FWPopupMenu(FWOpMenu* menu, bool owns) : mMenu(menu), mOwns(owns)
{
    takeShared();
}

FWPopupMenu::~FWPopupMenu()
{
    if (mOwns)
        delete mMenu;
    releaseShared();
}

int32_t FWPopupMenu::Track(const FWPoint& globalPoint, int32_t currentIndex, FWUserOp** chosen)
{
    if (chosen != nullptr)
        *chosen = nullptr;
    if (mMenu == nullptr || mMenu->FirstChild() == nullptr)
        return -1;
    Tracker tracker(mMenu, mAlignment);
    return tracker.Run(globalPoint, currentIndex, chosen);
}
