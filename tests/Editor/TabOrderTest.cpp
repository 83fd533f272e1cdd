// Tab-order mode: fields numbered by clicks (one on a hidden page reached through its tab),
// Escape numbering the rest in layout order, the window's title and menus meanwhile, the numbers
// stamped on the fields, and a quit that comes during the mode.
#include "EditLayout.h"
#include "EditorFixture.h"

#include "EditText.h"
#include "EditWindow.h"
#include "FWDrawContext.h"
#include "FWEvent.h"
#include "FWList.h"
#include "FWStr.h"
#include "HostHeadless.h"
#include "HostModalLoop.h"
#include "HostScreen.h"
#include "HostTimers.h"
#include "QuillformApp.h"
#include "ShownMessages.h"
#include "TabControl.h"
#include "BranchItem.h"

#include <algorithm>
#include <functional>

namespace {

constexpr uint8_t kEscapeKey = 53, kPeriodKey = 47, kAKey = 0;
constexpr uint32_t kBlack = 0x000000;

Point global(EditWindow& window, FWPoint local)
{
    window.WindowToGlobal(&local);
    return Point{local.v, local.h};
}

void clickAt(EditWindow& window, FWPoint local)
{
    HostInjectClick(global(window, local));
}

FWPoint centre(const FWRect& r)
{
    return FWPoint(int16_t((r.left + r.right) / 2), int16_t((r.top + r.bottom) / 2));
}

uint32_t screenRgb(EditWindow& window, FWPoint local)
{
    HostComposeScreen();
    return HostScreenPixel(global(window, local)) & 0xFFFFFFu;
}

// Takes every event still waiting, redrawing the windows that ask for it as an update does;
// answers whether a press of 'a' was among them.
bool drainEvents()
{
    bool a = false;
    EventRecord record;
    for (int i = 0; i < 256; ++i) {
        if (!WaitNextEvent(everyEvent, &record, 0, nullptr)) {
            if (HostPendingInjectedCount() == 0)
                break;
            continue;
        }
        a = a || (record.what == keyDown && (record.message & charCodeMask) == 'a');
        if (record.what != updateEvt)
            continue;
        auto* platform = reinterpret_cast<WindowRef>(record.message);
        BeginUpdate(platform);
        if (FWWindow* window = FWWindow::ReturnFWWindow(platform)) {
            FWDrawContext context(window);
            FWEvent update;
            window->UpdateEvent(update, context);
        }
        EndUpdate(platform);
    }
    return a;
}

// What the mode shows while it runs, recorded by a timer that fires inside its event wait.
struct Seen {
    std::string title;
    int32_t actMode = 0;
    std::vector<std::string> file, edit, utility;
    EditWindow* window = nullptr;
};

void recordSeen(EventLoopTimerRef, void* data)
{
    auto* seen = static_cast<Seen*>(data);
    seen->title = seen->window->Name().GetCString();
    seen->actMode = EditWindow::mActMode;
    seen->file = EditorFixture::MenuRows("File");
    seen->edit = EditorFixture::MenuRows("Edit");
    seen->utility = EditorFixture::MenuRows("Utility");
}

// The rows that are not separators and are not off.
std::vector<std::string> enabledRows(const std::vector<std::string>& rows)
{
    std::vector<std::string> on;
    for (const std::string& row : rows)
        if (row.find("[off]") == std::string::npos)
            on.push_back(row);
    return on;
}

} // namespace

class TabOrderTest : public EditorFixture {
public:
    void SetUp() override
    {
        StartApp();
        mWindow = NewEditWindow();
        for (int16_t top : {20, 60, 100})
            mFields.push_back(static_cast<EditText*>(AddView(*mWindow, ViewKind::kEditText, top, nullptr, FWRect(20, top, 200, top + 20))));
        // A fourth field on the second, hidden page of a tab control.
        mTabs = new TabControl;
        FWStr<31> labels[2] = {"One", "Two"};
        mTabs->Init(mWindow, FWRect(20, 140, 300, 260), 2, labels);
        mWindow->ViewMngr().GetViewTree()->AppendChild(mTabs);
        mTabs->SetActiveTab(0);
        mFields.push_back(static_cast<EditText*>(
            AddView(*mWindow, ViewKind::kEditText, 4, mTabs->FindBranch(1), FWRect(40, 200, 200, 220))));
        mTitle = mWindow->Name().GetCString();
        mWindow->MakeToFront();
        drainEvents();
    }
    FWPoint field(int i) { return centre(mFields[size_t(i)]->GetEditRect()); }
    std::vector<int32_t> positions()
    {
        std::vector<int32_t> p;
        for (EditText* f : mFields)
            p.push_back(f->GetTabPos());
        return p;
    }

    EditWindow* mWindow = nullptr;
    std::vector<EditText*> mFields;
    TabControl* mTabs = nullptr;
    std::string mTitle;
};

TEST_F(TabOrderTest, ClicksNumberTheFieldsAndTheRestFollowInLayoutOrder)
{
    struct Case {
        const char* name;
        std::function<void(TabOrderTest&)> input;
        std::vector<int32_t> positions;
        bool inputLeft; // the mode ended before the last input, a press of 'a'
    };
    const Case cases[] = {
        {"third, first, Escape",
         [](TabOrderTest& t) {
             clickAt(*t.mWindow, t.field(2));
             clickAt(*t.mWindow, t.field(0));
             HostInjectKey(kEscapeKey, 27);
         },
         {1, 2, 0, 3}, false},
        {"Escape at once", [](TabOrderTest&) { HostInjectKey(kEscapeKey, 27); }, {0, 1, 2, 3}, false},
        {"a numbered field and the root clicked again, other keys, then Command-period",
         [](TabOrderTest& t) {
             clickAt(*t.mWindow, t.field(1));
             clickAt(*t.mWindow, t.field(1));
             clickAt(*t.mWindow, FWPoint(350, 20));
             HostInjectKey(kAKey, 'a');
             HostInjectKey(kPeriodKey, '.', cmdKey);
         },
         {1, 0, 2, 3}, false},
        {"every field, the hidden one through its tab, ends at the last click",
         [](TabOrderTest& t) {
             clickAt(*t.mWindow, t.field(3)); // hidden: no field there
             clickAt(*t.mWindow, centre(t.mTabs->GetTab(1).mRect));
             clickAt(*t.mWindow, t.field(3));
             for (int i : {0, 1, 2})
                 clickAt(*t.mWindow, t.field(i));
             HostInjectKey(kAKey, 'a');
         },
         {1, 2, 3, 0}, true},
    };
    for (const Case& c : cases) {
        mTabs->SetActiveTab(0);
        mWindow->SetDirty(false);
        c.input(*this);
        HostInjectKey(kEscapeKey, 27); // so that a mode that stayed on still ends
        QuillformApp::do_tab_reorder(nullptr);
        EXPECT_EQ(c.positions, positions()) << c.name;
        EXPECT_EQ(c.inputLeft, drainEvents()) << c.name;
        // The tab list follows the new order.
        std::vector<int32_t> listed;
        FWList<FWView>& list = mWindow->ViewMngr().GetTabList();
        ListTraversal<FWView> walk(&list); // the tab list is circular
        FWView* view = walk.First();
        for (int32_t i = 0; i < list.Size() && view != nullptr; ++i, view = walk.Next())
            listed.push_back(view->GetTabPos());
        EXPECT_EQ((std::vector<int32_t>{0, 1, 2, 3}), listed) << c.name;
        EXPECT_TRUE(mWindow->IsDirty()) << c.name;
        EXPECT_EQ(mTitle, mWindow->Name().GetCString()) << c.name;
        EXPECT_TRUE(EditWindow::NormalMode()) << c.name;
    }
}

TEST_F(TabOrderTest, TheModeTitlesTheWindowDisablesCommandsAndStampsNumbersUntilRedrawn)
{
    // Two views selected, so that the Align rows are on before the mode.
    mFields[0]->SetSelected(true);
    mFields[1]->SetSelected(true);
    const std::vector<std::string> before = enabledRows(MenuRows("Edit"));
    ASSERT_NE(before.end(), std::find(before.begin(), before.end(), "Align Left"));
    Seen seen;
    seen.window = mWindow;
    EventLoopTimerRef timer = nullptr;
    ASSERT_EQ(noErr, InstallEventLoopTimer(GetCurrentEventLoop(), 0.5, 0, NewEventLoopTimerUPP(recordSeen), &seen, &timer));
    clickAt(*mWindow, field(2));
    HostInjectClockAdvance(1000000000);
    HostInjectKey(kEscapeKey, 27);
    QuillformApp::do_tab_reorder(nullptr);
    RemoveEventLoopTimer(timer);

    EXPECT_EQ("Press Esc to finish", seen.title);
    EXPECT_EQ(1, seen.actMode);
    EXPECT_EQ(std::vector<std::string>{"Quit"}, enabledRows(seen.file));
    EXPECT_TRUE(enabledRows(seen.utility).empty());
    for (const std::string& row : enabledRows(seen.edit))
        EXPECT_EQ(std::string::npos, row.find("Align")) << row;

    // The stamp: the field black, its number white from 2 pixels in, until the window redraws.
    const FWRect r = mFields[2]->GlobalRect();
    EXPECT_EQ(kBlack, screenRgb(*mWindow, FWPoint(int16_t(r.right - 3), int16_t(r.bottom - 3))));
    bool light = false;
    for (int16_t h = r.left + 2; h < r.left + 12; ++h)
        for (int16_t v = r.top; v <= r.top + 10; ++v)
            light = light || (screenRgb(*mWindow, FWPoint(h, v)) & 0x808080) == 0x808080;
    EXPECT_TRUE(light);
    BeginUpdate(mWindow->GetPDW());
    {
        FWDrawContext context(mWindow);
        FWEvent update;
        mWindow->UpdateEvent(update, context);
    }
    EndUpdate(mWindow->GetPDW());
    EXPECT_NE(kBlack, screenRgb(*mWindow, FWPoint(int16_t(r.right - 3), int16_t(r.bottom - 3))));
}

TEST_F(TabOrderTest, WithoutFieldsItWarnsAndChangesNothing)
{
    EditWindow* empty = NewEditWindow();
    AddView(*empty, ViewKind::kCheckBox, 1);
    QuillformApp::do_tab_reorder(nullptr);
    EXPECT_EQ(std::vector<std::string>{"No edits to set tabs"}, ShownMessageTexts());
    EXPECT_FALSE(empty->IsDirty());
    EXPECT_TRUE(EditWindow::NormalMode());
}

TEST_F(TabOrderTest, AQuitDuringTheModeEndsItAsEscapeDoesAndIsThenHandled)
{
    clickAt(*mWindow, field(1));
    HostInjectQuit();
    HostModalPresetAnswer(HostModalAnswer::kAlternative); // Don't Save
    QuillformApp::do_tab_reorder(nullptr);
    EXPECT_EQ((std::vector<int32_t>{1, 0, 2, 3}), positions());
    EXPECT_EQ(mTitle, mWindow->Name().GetCString());
    EXPECT_TRUE(EditWindow::NormalMode());
    // The quit went on once the mode was over: the changed layout was asked about.
    EXPECT_EQ(std::vector<std::string>{"Save changes before quit ?"}, ShownMessageTexts());
    EXPECT_FALSE(EditWindow::TakeQuitRequest());
}
