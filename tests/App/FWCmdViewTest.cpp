// The message log: message layout, replacing, scrolling to the end, the input boxes, drawing,
// hand panning and the scroll bar of a log loaded from a layout.
#include "EditText.h"
#include "FWCmdView.h"
#include "FWCmdWindow.h"
#include "FWDrawContext.h"
#include "FWEvent.h"
#include "FWViewMngr.h"
#include "FWWindow.h"
#include "HostCursors.h"
#include "HostDesktopScope.h"
#include "HostHeadless.h"
#include "HostMemory.h"
#include "HostScreen.h"
#include "PreorderTraversal.h"
#include "Scroller.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class LogWindow : public FWWindow {
public:
    bool InterfaceEvent(FWView*) override
    {
        ++events;
        return true;
    }
    int events = 0;
};

class FWCmdViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.Initialize(nullptr, FWRect(100, 100, 500, 300));
        window.Show();
        log->Init(&window);
        log->SetRect(FWRect(10, 10, 390, 110));
        window.ViewMngr().GetViewTree()->AppendChild(log);
    }
    std::string text(size_t i) const { return log->Messages()[i].Text().GetCString(); }
    void draw()
    {
        {
            FWDrawContext context(&window);
            window.ViewMngr().Draw(context);
        }
        HostComposeScreen();
    }
    FWPoint global(int h, int v)
    {
        FWPoint p{int16_t(h), int16_t(v)};
        window.WindowToGlobal(&p);
        return p;
    }

    HostDesktopScope desk;
    LogWindow window;
    FWCmdView* log = new FWCmdView;
};

TEST_F(FWCmdViewTest, MessagesStackByTheirLineCounts)
{
    log->AppendMessage(0, "one", nullptr, nullptr);
    log->AppendMessage(0, "a\nb", "c", nullptr);
    log->AppendMessage(0, "a\r\nb", nullptr, nullptr);
    struct Want {
        int32_t top, lines, height;
    };
    const Want want[] = {{1, 1, 16}, {18, 3, 37}, {56, 2, 25}};
    ASSERT_EQ(3u, log->Messages().size());
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(want[i].top, log->Messages()[i].Top()) << i;
        EXPECT_EQ(want[i].lines, log->Messages()[i].Lines()) << i;
        EXPECT_EQ(want[i].height, log->Messages()[i].Height()) << i;
    }
    EXPECT_EQ(56 + 25 + 3, log->DataHeight());
    // A detail alone adds a line to the last message.
    log->AppendMessage(0, nullptr, "d", nullptr);
    EXPECT_EQ("a\r\nb\nd", text(2));
}

TEST_F(FWCmdViewTest, ReplaceChangesTheLastMessage)
{
    log->ReplaceMessage(0, "first", nullptr, nullptr);
    ASSERT_EQ(1u, log->Messages().size());
    log->ReplaceMessage(0, nullptr, "detail", nullptr);
    EXPECT_EQ("first\ndetail", text(0));
    log->ReplaceMessage(0, nullptr, "other", nullptr);
    EXPECT_EQ("first\nother", text(0));
    log->ReplaceMessage(0, "new", nullptr, nullptr);
    EXPECT_EQ("new", text(0));
}

TEST_F(FWCmdViewTest, ANewMessageScrollsBackToTheEnd)
{
    for (int i = 0; i < 12; ++i)
        log->AppendMessage(0, "line", nullptr, nullptr);
    Scroller* bar = log->GetScroller();
    ASSERT_GT(bar->ScrollMax(), 0);
    EXPECT_EQ(bar->ScrollMax(), bar->ScrollVal());
    bar->SetScrollVal(0);
    log->AppendMessage(0, "more", nullptr, nullptr);
    EXPECT_EQ(bar->ScrollMax(), bar->ScrollVal());
    EXPECT_EQ(log->DataHeight() - log->ContentRect().Height(), bar->ScrollMax());
}

TEST_F(FWCmdViewTest, InputBoxSitsUnderTheLastMessageAndItsTextJoinsIt)
{
    // With no message the box sits at the content's top, and closing it adds nothing.
    log->AppendMessage(0, nullptr, nullptr, "early");
    EditText* box = log->InputBox(0);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(log->ContentRect().top, box->GetEditRect().top);
    log->hide_edit_boxes();
    EXPECT_TRUE(log->Messages().empty());

    log->AppendMessage(0, "Size:", nullptr, "12");
    box = log->InputBox(0);
    ASSERT_NE(nullptr, box);
    const FWRect content = log->ContentRect();
    const FWRect r = box->GetEditRect();
    EXPECT_EQ(250, r.Width());
    EXPECT_EQ(content.right - 4, r.right);
    EXPECT_EQ(content.top + 1 + 16 - 18, r.top);
    EXPECT_EQ(-100, box->ID());
    log->AppendMessage(0, nullptr, nullptr, nullptr);
    EXPECT_EQ(nullptr, log->InputBox(0));
    EXPECT_FALSE(box->Visible());
    EXPECT_EQ("Size:12", text(0));
}

TEST_F(FWCmdViewTest, FirstLineIsBold)
{
    log->AppendMessage(0, "MMMM", "MMMM", nullptr);
    draw();
    const FWRect content = log->ContentRect();
    auto ink = [&](int top) {
        int count = 0;
        for (int v = top; v < top + 11; ++v)
            for (int h = content.left + 23; h < content.left + 80; ++h) {
                const FWPoint p = global(h, v);
                if (HostDesktopScope::Rgb(HostScreenPixel(Point{p.v, p.h})) == 0x404040u)
                    ++count;
            }
        return count;
    };
    const int first = ink(content.top + 1);
    const int second = ink(content.top + 13);
    EXPECT_GT(second, 0);
    EXPECT_GT(first, second);
}

TEST_F(FWCmdViewTest, CommandClickReportsAndSpaceDragPans)
{
    for (int i = 0; i < 12; ++i)
        log->AppendMessage(0, "line", nullptr, nullptr);
    FWEvent click(kMouseDownEvent, &window, kFWCommandKey);
    click.mWhere = FWPoint(200, 50);
    EXPECT_TRUE(log->MouseDownEvent(click));
    EXPECT_EQ(1, window.events);

    Scroller* bar = log->GetScroller();
    const int32_t end = bar->ScrollVal();
    HostInjectKeyDown(49, ' ');
    HostTakeInjectedInput();
    const FWPoint from = global(200, 50);
    const FWPoint to = global(200, 80);
    HostInjectMouseDown(Point{from.v, from.h});
    HostInjectMouseMove(Point{to.v, to.h});
    HostInjectMouseUp(Point{to.v, to.h});
    // The event loop takes the press before the view sees it.
    EventRecord record;
    while (WaitNextEvent(everyEvent, &record, 0, nullptr) && record.what != mouseDown) {
    }
    FWEvent press(kMouseDownEvent, &window, 0);
    press.mWhere = FWPoint(200, 50);
    log->MouseDownEvent(press);
    EXPECT_EQ(end - 30, bar->ScrollVal());
    EXPECT_EQ(10002, HostCurrentCursor().id);
}

TEST_F(FWCmdViewTest, ALoadedLogTracksItsScrollBarInItsWindow)
{
    Handle saved = window.ViewMngr().SerializeViewTree();
    ASSERT_NE(nullptr, saved);
    const std::string bytes(*saved, size_t(GetHandleSize(saved)));
    DisposeHandle(saved);
    FWWindow loaded;
    loaded.Initialize(nullptr, FWRect(100, 350, 500, 550));
    ASSERT_TRUE(loaded.ViewMngr().InitializeFromData(bytes.data(), uint32_t(bytes.size())));
    FWCmdView* copy = nullptr;
    PreorderTraversal<FWView> walk(loaded.ViewMngr().GetViewTree(), false);
    for (FWView* v = walk.First(); v != nullptr && copy == nullptr; v = walk.Next())
        copy = dynamic_cast<FWCmdView*>(v);
    ASSERT_NE(nullptr, copy);
    EXPECT_EQ(&loaded, copy->GetScroller()->GetWindow());
    EXPECT_EQ(copy->ScrollBarRect(), copy->GetScroller()->GetRect());
}

TEST(FWCmdWindow, StatusMessagesGoNowhereWithoutACommandWindow)
{
    EXPECT_EQ(nullptr, FWCmdWindow::Instance());
    FWCmdWindow::StatusMessage(true, 0, "tool", nullptr, nullptr);
    EXPECT_EQ(nullptr, FWCmdWindow::Instance());
}

} // namespace
