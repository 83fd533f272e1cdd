#include "BranchItem.h"
#include "FWDrawContext.h"
#include "FWView.h"
#include "FWViewMngr.h"
#include "FWWindow.h"
#include "ImageBuffer.h"
#include "TabControl.h"
#include "ViewTestClasses.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <vector>

namespace {

std::vector<std::string> sLog;

// A view that logs its drawing (with its ghosted state then) and its activations.
class LoggingView : public FWView {
public:
    explicit LoggingView(std::string name = "") : mName(std::move(name)) {}
    void Draw(FWDrawContext&) const override { sLog.push_back(mName + (IsGhosted() ? "~" : "")); }
    bool ActivateEvent(bool on) override
    {
        sLog.push_back(mName + (on ? "+" : "-"));
        return true;
    }
    bool CanCopy() override { return true; }
    bool CopyEvent(FWEvent&) override { return true; }
    std::string mName;
};

// A container that handles events but lets its children handle theirs (a group box).
class Box : public LoggingView {
public:
    using LoggingView::LoggingView;
    bool AllowsChildren() const override { return true; }
};

struct FocusWindow {
    FWWindow window;
    FWViewMngr& m() { return window.ViewMngr(); }
    FocusWindow()
    {
        RegisterTestViewClasses();
        window.SetSize(300, 200);
        m().Initialize(FWRect());
        window.Show();
        sLog.clear();
    }
    template <class V = LoggingView>
    V* add(FWView* parent, FWRect rect, const char* name = "")
    {
        V* v = nullptr;
        if constexpr (std::is_constructible_v<V, const char*>)
            v = new V(name);
        else
            v = new V;
        v->Init(&window);
        v->SetRect(rect);
        (parent != nullptr ? parent : m().GetViewTree())->AppendChild(v);
        return v;
    }
    LoggingView* field(FWRect rect, const char* name)
    {
        LoggingView* v = add(nullptr, rect, name);
        v->EnableKeyFocus();
        return v;
    }
    FWView* click(int h, int v, FWEventType type = kMouseDownEvent)
    {
        FWEvent e(type, &window, 0);
        e.mWhere = FWPoint(int16_t(h), int16_t(v));
        return m().GetEventHandler(e);
    }
    FWView* key(char c, uint16_t modifiers = 0, FWEventType type = kKeyDownEvent)
    {
        FWEvent e(type, &window, modifiers);
        e.mMessage = uint8_t(c);
        return m().GetEventHandler(e);
    }
};

} // namespace

TEST(FWViewMngrHitTest, EarlierSiblingWinsAndEdgesMiss)
{
    FocusWindow w;
    FWView* first = w.add(nullptr, FWRect(10, 10, 50, 50));
    FWView* second = w.add(nullptr, FWRect(30, 30, 70, 70));
    const FWPoint overlap(40, 40), onlySecond(60, 60), edge(10, 20), outside(5, 5);
    EXPECT_EQ(first, w.m().GetView(&overlap, false));
    EXPECT_EQ(second, w.m().GetView(&onlySecond, false));
    EXPECT_EQ(nullptr, w.m().GetView(&edge, false));
    EXPECT_EQ(nullptr, w.m().GetView(&outside, false));
}

TEST(FWViewMngrHitTest, GroupBoxesGhostsAndOffsets)
{
    FocusWindow w;
    Box* box = w.add<Box>(nullptr, FWRect(10, 10, 200, 150), "box");
    FWView* button = w.add(box, FWRect(20, 20, 60, 40), "button");
    const FWPoint onButton(30, 30), onBox(100, 100);
    EXPECT_EQ(button, w.m().GetView(&onButton, false));
    EXPECT_EQ(box, w.m().GetView(&onBox, false));

    button->SetGhosted(true);
    EXPECT_EQ(box, w.m().GetView(&onButton, false));
    EXPECT_EQ(button, w.m().GetView(&onButton, true));
    button->SetGhosted(false);

    box->SetOffset(FWPoint(100, 0)); // the button now sits at 120..160 across
    const FWPoint moved(130, 30);
    EXPECT_EQ(button, w.m().GetView(&moved, false));
    EXPECT_EQ(box, w.m().GetView(&onButton, false));

    box->SetVisibility(false);
    EXPECT_EQ(nullptr, w.m().GetView(&moved, false));
}

TEST(FWViewMngrHitTest, PagesPassClicksToTheirViews)
{
    FocusWindow w;
    auto* paged = w.add<TestBranching>(nullptr, FWRect(10, 10, 200, 150));
    paged->SetBranchTotal(2);
    FWView* onPage = w.add(paged->FindBranch(0), FWRect(20, 20, 60, 40));
    const FWPoint p(30, 30), empty(150, 100);
    EXPECT_EQ(onPage, w.m().GetView(&p, false));
    EXPECT_EQ(paged, w.m().GetView(&empty, false)); // the page itself handles no events
}

TEST(FWViewMngrRouting, ClicksMoveTheFocus)
{
    FocusWindow w;
    LoggingView* a = w.field(FWRect(10, 10, 50, 30), "a");
    LoggingView* b = w.field(FWRect(10, 40, 50, 60), "b");
    FWView* plain = w.add(nullptr, FWRect(100, 10, 150, 30), "plain");
    EXPECT_EQ(a, w.click(20, 20));
    EXPECT_EQ(a, w.m().GetKeyFocus());
    EXPECT_EQ(b, w.click(20, 50, kMouseUpEvent));
    EXPECT_EQ(a, w.m().GetKeyFocus()); // only a press moves the focus
    EXPECT_EQ(plain, w.click(120, 20));
    EXPECT_EQ(a, w.m().GetKeyFocus());
    EXPECT_EQ(nullptr, w.click(250, 150));
    EXPECT_EQ(nullptr, w.m().GetKeyFocus());
    EXPECT_EQ((std::vector<std::string>{"a+", "a-"}), sLog);
    (void)b;
}

TEST(FWViewMngrRouting, TabWalksUsableFieldsInBothDirections)
{
    FocusWindow w;
    LoggingView* a = w.field(FWRect(10, 10, 50, 30), "a");
    LoggingView* b = w.field(FWRect(10, 40, 50, 60), "b");
    LoggingView* c = w.field(FWRect(10, 70, 50, 90), "c");
    LoggingView* d = w.field(FWRect(10, 100, 50, 120), "d");
    EXPECT_EQ(a, w.key(9)); // no focus: the first usable field
    EXPECT_EQ(b, w.key(9));
    EXPECT_EQ(a, w.key(9, kFWShiftKey));
    EXPECT_EQ(d, w.key(9, kFWShiftKey)); // from the first to the last
    EXPECT_EQ(d, w.key(9, kFWCommandKey)); // Cmd-Tab does not move
    EXPECT_EQ(d, w.key('x'));

    b->SetGhosted(true);
    c->SetVisibility(false);
    EXPECT_EQ(a, w.key(9));
    EXPECT_EQ(d, w.key(9)); // skips ghosted and hidden fields
    (void)c;
}

TEST(FWViewMngrRouting, TabSkipsFieldsUnderHiddenParents)
{
    FocusWindow w;
    LoggingView* a = w.field(FWRect(10, 10, 50, 30), "a");
    Box* box = w.add<Box>(nullptr, FWRect(100, 0, 300, 200), "box");
    auto* inside = new LoggingView("in");
    inside->Init(&w.window);
    inside->SetRect(FWRect(110, 10, 150, 30));
    box->AppendChild(inside);
    inside->EnableKeyFocus();
    LoggingView* c = w.field(FWRect(10, 70, 50, 90), "c");
    box->SetVisibility(false);
    w.m().SetKeyFocus(a);
    EXPECT_EQ(c, w.key(9));
}

TEST(FWViewMngrRouting, ReturnEnterAndKeyUpGoToTheFocus)
{
    FocusWindow w;
    EXPECT_EQ(nullptr, w.key(13));
    EXPECT_EQ(nullptr, w.key(3));
    LoggingView* a = w.field(FWRect(10, 10, 50, 30), "a");
    w.m().SetKeyFocus(a);
    EXPECT_EQ(a, w.key(13));
    EXPECT_EQ(a, w.key(3, 0, kAutoKeyEvent));
    EXPECT_EQ(a, w.key('q', 0, kKeyUpEvent));
    FWEvent moved(kMouseMovedEvent, &w.window, 0);
    EXPECT_EQ(nullptr, w.m().GetEventHandler(moved));
}

TEST(FWViewMngrRouting, TabWithNothingUsableLeavesTheFocusAndAnswersNull)
{
    FocusWindow w;
    LoggingView* a = w.field(FWRect(10, 10, 50, 30), "a");
    LoggingView* b = w.field(FWRect(10, 40, 50, 60), "b");
    a->SetGhosted(true);
    b->SetGhosted(true);
    EXPECT_EQ(nullptr, w.key(9));
    EXPECT_EQ(nullptr, w.m().GetKeyFocus());
    w.m().SetKeyFocus(a);
    EXPECT_EQ(nullptr, w.key(9, kFWShiftKey));
    EXPECT_EQ(a, w.m().GetKeyFocus());
}

TEST(FWViewMngrRouting, TabFromAFocusOutsideTheListEnds)
{
    FocusWindow w;
    LoggingView* a = w.field(FWRect(10, 10, 50, 30), "a");
    FWView* stray = w.add(nullptr, FWRect(100, 10, 150, 30), "stray"); // not in the tab list
    w.m().SetKeyFocus(stray);
    EXPECT_EQ(a, w.key(9));
}

TEST(FWViewMngrFocus, ValidateKeyFocusDropsAHiddenFocus)
{
    FocusWindow w;
    LoggingView* a = w.field(FWRect(10, 10, 50, 30), "a");
    w.m().SetKeyFocus(a);
    w.m().ValidateKeyFocus();
    EXPECT_EQ(a, w.m().GetKeyFocus());
    a->SetVisibility(false);
    w.m().ValidateKeyFocus();
    EXPECT_EQ(nullptr, w.m().GetKeyFocus());
}

TEST(FWViewMngrFocus, DefaultButtonsAndEditCommands)
{
    FocusWindow w;
    EXPECT_EQ(nullptr, w.m().DefaultAccept());
    LoggingView* ok = w.add(nullptr, FWRect(10, 10, 50, 30), "ok");
    LoggingView* cancel = w.add(nullptr, FWRect(60, 10, 100, 30), "cancel");
    ok->MakeDefaultAccept();
    cancel->MakeDefaultCancel();
    EXPECT_EQ(ok, w.m().DefaultAccept());
    EXPECT_EQ(cancel, w.m().DefaultCancel());

    FWEvent e(kCopyEvent, &w.window, 0);
    EXPECT_FALSE(w.m().CanCopy());
    EXPECT_FALSE(w.m().CopyEvent(e));
    w.m().SetKeyFocus(ok);
    EXPECT_TRUE(w.m().CanCopy());
    EXPECT_TRUE(w.m().CopyEvent(e));
    EXPECT_FALSE(w.m().CanPaste());
    EXPECT_FALSE(w.m().PasteEvent(e));
}

TEST(FWViewMngrPlacement, DroppedGroupTakesTheButtonsItCovers)
{
    FocusWindow w;
    FWView* one = w.add(nullptr, FWRect(20, 20, 40, 30));
    FWView* two = w.add(nullptr, FWRect(50, 20, 70, 30));
    FWView* away = w.add(nullptr, FWRect(200, 150, 220, 160));
    auto* group = new TestGroup;
    group->Init(&w.window);
    group->SetRect(FWRect(10, 10, 100, 60));
    w.m().FallIntoTree(group);
    EXPECT_EQ(w.m().GetViewTree(), group->Parent());
    EXPECT_EQ(group, one->Parent());
    EXPECT_EQ(group, two->Parent());
    EXPECT_EQ(w.m().GetViewTree(), away->Parent());

    // A view dropped inside the group lands in it, its rectangle made relative to the group.
    group->SetOffset(FWPoint(10, 10));
    auto* inner = new FWView;
    inner->Init(&w.window);
    inner->SetRect(FWRect(80, 40, 90, 50));
    w.m().FallIntoTree(inner);
    EXPECT_EQ(group, inner->Parent());
    EXPECT_EQ(FWRect(70, 30, 80, 40), inner->GetRect());
}

TEST(FWViewMngrPlacement, TabControlsTakeViewsOntoTheActivePage)
{
    FocusWindow w;
    FWView* button = w.add(nullptr, FWRect(20, 20, 40, 30));
    auto* tabs = new TabControl;
    tabs->Init(&w.window);
    tabs->SetRect(FWRect(10, 10, 100, 60));
    tabs->SetBranchTotal(2);
    tabs->SetActiveBranch(1);
    w.m().FallIntoTree(tabs);
    EXPECT_EQ(static_cast<FWView*>(tabs->FindBranch(1)), button->Parent());
}

TEST(FWViewMngrDrawing, DrawSkipsHiddenGhostsSubtreesAndActivatesTheFocusOnce)
{
    FocusWindow w;
    Box* box = w.add<Box>(nullptr, FWRect(10, 10, 200, 150), "box");
    LoggingView* inner = w.add(box, FWRect(20, 20, 60, 40), "inner");
    LoggingView* hidden = w.add(nullptr, FWRect(10, 160, 50, 190), "hidden");
    LoggingView* field = w.field(FWRect(100, 160, 150, 190), "field");
    hidden->SetVisibility(false);
    box->SetGhosted(true);
    w.m().SetKeyFocus(field);
    sLog.clear();

    FWRect area(0, 0, 300, 200);
    ImageBuffer image(&area, kImageBufferDepth32);
    FWDrawContext context(&image);
    w.m().Draw(context);
    EXPECT_EQ((std::vector<std::string>{"box~", "inner~", "field", "field+"}), sLog);
    EXPECT_FALSE(inner->IsGhosted()); // drawn ghosted, its own state kept
    sLog.clear();
    w.m().Draw(context);
    EXPECT_EQ((std::vector<std::string>{"box~", "inner~", "field"}), sLog);
}

TEST(FWViewMngrDrawing, HandlesAreFiveSquareOrTheViewsSize)
{
    FocusWindow w;
    FWRect area(0, 0, 40, 40);
    ImageBuffer image(&area, kImageBufferDepth32);
    FWDrawContext context(&image);
    context.SetForeColor(FWArgb32::White);
    context.PaintRect(&area);
    FWView* thin = w.add(nullptr, FWRect(10, 10, 13, 20)); // 3 wide, 10 high
    w.m().SelectView(context, thin);
    EXPECT_EQ(1, w.m().GetSelectedTotal());
    EXPECT_TRUE(thin->IsSelected());
    auto black = [&](int h, int v) {
        const uint32_t pixel = reinterpret_cast<const uint32_t*>(image.BaseAddr() + v * image.RowBytes())[h];
        return (pixel & 0xFFFFFF) == 0;
    };
    EXPECT_TRUE(black(10, 10));
    EXPECT_TRUE(black(12, 14));  // the top-left handle: 3 wide, 5 high
    EXPECT_TRUE(black(12, 15));  // the bottom handles start 5 above the bottom
    EXPECT_FALSE(black(13, 10)); // nothing right of the view

    w.m().SelectView(context, w.m().GetViewTree()); // the root is never selected
    EXPECT_EQ(1, w.m().GetSelectedTotal());
    w.m().UnSelectAllViews(context);
    EXPECT_EQ(0, w.m().GetSelectedTotal());
    EXPECT_FALSE(thin->IsSelected());
}
