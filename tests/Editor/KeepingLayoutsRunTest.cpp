// Layouts that survive what a user does to them in the running editor: pages dropped from a
// container's property dialog while they hold a shader parameter, a selected view or the key
// focus; a file another program holds open for writing; the menu shortcuts after a tool palette
// is made.
#include "DialogTyping.h"
#include "EditorFixture.h"

#include "BranchItem.h"
#include "CDialogWINT.h"
#include "CheckBox.h"
#include "EditText.h"
#include "EditWindow.h"
#include "FWApp.h"
#include "FWDocument.h"
#include "FWPlatformUtils.h"
#include "FWStr.h"
#include "FWToolPalette.h"
#include "FWViewMngr.h"
#include "Group.h"
#include "HostClock.h"
#include "HostHeadless.h"
#include "PushButton.h"
#include "QuillformApp.h"
#include "RunScript.h"
#include "ShownMessages.h"
#include "TabControl.h"
#include "TempFolder.h"

#include "../Files/ResourceFileMaker.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

constexpr uint8_t kKeyReturn = 36, kKeyEscape = 53, kKeyTab = 48, kKeyS = 1, kKeyQ = 12, kKeyX = 7,
                  kKeyRight = 124;
constexpr int16_t kWidth = 360, kHeight = 240;
constexpr int32_t kShaderID = 21000;
enum : int32_t { kRoot = 1000, kOK = 1, kPaged = 5, kInside = 6, kField = 7, kCancel = 8 };

// The classes of a paged container: the one whose layers field is the dialog's ninth, or the
// tab control, whose page count is its eighth.
enum class Paged { kGroup, kTabs };

// A layout of a two-page container showing its second page, which fill() gives its views (the
// first of them numbered kInside); an edit text and the OK button beside the container.
std::string pagedLayout(Paged kind, void (*fill)(FWWindow&, FWView& page))
{
    FWWindow w;
    FWView* root = EditorFixture::StartLayout(w, kWidth, kHeight, kRoot);
    FWBranchingControl* paged = nullptr;
    if (kind == Paged::kTabs) {
        auto* tabs = new TabControl;
        const FWStr<31> labels[2] = {FWStr<31>("A"), FWStr<31>("B")};
        tabs->Init(&w, FWRect(20, 20, 220, 160), 2, labels);
        paged = tabs;
    } else {
        auto* group = new Group;
        FWStr<255> label("Frame");
        group->Init(&w, FWRect(20, 20, 220, 160), &label, Group::kTopLeft, Group::kSunken);
        group->SetBranchTotal(2);
        paged = group;
    }
    paged->SetID(kPaged);
    root->AppendChild(paged);
    paged->SetActiveBranch(1);
    fill(w, *paged->FindBranch(1));
    auto* field = new EditText;
    FWStr<63> title("Amount");
    field->Init(&w, FWRect(240, 20, 340, 38), &title);
    field->SetID(kField);
    root->AppendChild(field);
    auto* ok = new OKButton;
    ok->Init(&w, FWRect(260, 200, 340, 222), nullptr);
    ok->SetID(kOK);
    ok->MakeDefaultAccept();
    root->AppendChild(ok);
    return EditorFixture::SerializedTree(w.ViewMngr());
}

void checkBox(FWWindow& w, FWView& page)
{
    auto* box = new CheckBox;
    FWStr<255> label("Shiny");
    box->Init(&w, FWPoint(120, 60), &label);
    box->SetID(kInside);
    page.AppendChild(box);
}

// An edit text and the default cancel button.
void fieldAndCancel(FWWindow& w, FWView& page)
{
    auto* field = new EditText;
    FWStr<63> title("Name");
    field->Init(&w, FWRect(100, 60, 200, 78), &title);
    field->SetID(kInside);
    page.AppendChild(field);
    auto* cancel = new CancelButton;
    cancel->Init(&w, FWRect(100, 100, 180, 122), nullptr);
    cancel->SetID(kCancel);
    cancel->MakeDefaultCancel();
    page.AppendChild(cancel);
}

EditWindow* editWindow()
{
    return FWApp::Exists() ? QuillformApp::Instance()->GetFrontEditWindow() : nullptr;
}

FWView* viewOf(int32_t id)
{
    return editWindow()->ViewMngr().GetView(id);
}

Point global(FWPoint p)
{
    editWindow()->WindowToGlobal(&p);
    return Point{p.v, p.h};
}

Point centreOf(int32_t id)
{
    const FWRect r = viewOf(id)->GlobalRect();
    return global(FWPoint(int16_t((r.left + r.right) / 2), int16_t((r.top + r.bottom) / 2)));
}

// A container is pressed near its bottom-left corner, clear of its handles and its pages' views.
Point containerPoint()
{
    const FWRect r = viewOf(kPaged)->GlobalRect();
    return global(FWPoint(int16_t(r.left + 10), int16_t(r.bottom - 10)));
}

// Double-clicks the container (shift held on the first press keeps the selection) and asks its
// dialog for one page.
void dropToOnePage(Paged kind, EventModifiers firstPress)
{
    HostInjectClick(containerPoint(), firstPress);
    HostInjectClick(containerPoint());
    Typist().Type(kind == Paged::kTabs ? 7 : 8, "1");
    HostInjectKey(kKeyReturn, 13);
}


int32_t pages()
{
    return static_cast<FWBranchingControl*>(viewOf(kPaged))->GetBranchTotal();
}

// The record count of a stored 'PTKC': the long after the tag and the header value.
int32_t recordCount(const std::string& ptkc)
{
    if (ptkc.size() < 12)
        return -1;
    return int32_t(uint8_t(ptkc[8])) << 24 | int32_t(uint8_t(ptkc[9])) << 16 | int32_t(uint8_t(ptkc[10])) << 8 |
           int32_t(uint8_t(ptkc[11]));
}

void openFirstLayout()
{
    const EditorFixture::LayoutListPlaces list = EditorFixture::LocateLayoutList();
    HostInjectClick(list.Row(0));
    HostInjectClick(list.buttons.at(CDialogWINT::kOpen));
}

bool listShown()
{
    return FWApp::Exists() && FWWindow::ModalCount() > 0;
}

} // namespace

class KeepingLayoutsRunTest : public EditorFixture {
protected:
    void SetUp() override { HostUseSystemClock(); }

    // Runs the program on the file through the script's steps; false when a step never came.
    static bool Run(RunScript& script, const std::string& path)
    {
        script.Start();
        const char* argv[] = {"quillform", path.c_str()};
        QZMain(2, argv);
        script.StopIdling();
        EXPECT_EQ("", script.TimedOut());
        return script.Finished();
    }

    static bool Idle() { return HostPendingInjectedCount() == 0 && FWWindow::ModalCount() == 0; }
    // Idle, and a double-click interval after the last press, so that the next one stands alone.
    bool Calm() const { return Idle() && TickCount() > mLastInput + FWDoubleTime() + 2; }
    void Stamp() { mLastInput = TickCount(); }

    uint32_t mLastInput = 0;
};

TEST_F(KeepingLayoutsRunTest, APageDroppedInItsDialogTakesItsShaderParameterAndSelectionWithIt)
{
    for (const Paged kind : {Paged::kGroup, Paged::kTabs}) {
        SCOPED_TRACE(kind == Paged::kTabs ? "tab control" : "group");
        const std::string path = File(kind == Paged::kTabs ? "tabs.rsrc" : "group.rsrc");
        ASSERT_TRUE(MakeResourceFile(path, {{FOUR_CHAR_CODE("WINT"), kShaderID, "Interface",
                                             pagedLayout(kind, checkBox)}}));
        FWRect resized;
        std::string ptkc;
        RunScript script(std::chrono::seconds(60));
        script.Then("the list of layouts", listShown, openFirstLayout)
            .Then("the edit window", [] { return Idle() && editWindow() != nullptr; },
                  [&] {
                      HostInjectClick(centreOf(kInside));
                      Stamp();
                  })
            .Then("the check box selected", [&] { return Calm(); },
                  [&] {
                      // The container selected too, then its dialog.
                      dropToOnePage(kind, shiftKey);
                      Stamp();
                  })
            .Then("the question", [] { return FWWindow::ModalCount() == 2; }, ClickFrontOK)
            .Then("one page", [&] { return Calm() && pages() == 1; },
                  [&] {
                      // The container alone is selected: its corner handle resizes it.
                      const FWRect r = viewOf(kPaged)->GlobalRect();
                      const Point corner = global(FWPoint(int16_t(r.right - 2), int16_t(r.bottom - 2)));
                      HostInjectMouseDown(corner);
                      HostInjectMouseMove(Point{int16_t(corner.v + 10), int16_t(corner.h + 20)});
                      HostInjectMouseUp(Point{int16_t(corner.v + 10), int16_t(corner.h + 20)});
                      Stamp();
                  })
            .Then("the drag", Idle,
                  [&] {
                      resized = viewOf(kPaged)->GetRect();
                      HostInjectKey(kKeyS, 's', cmdKey);
                  })
            .Then("the save", [] { return Idle() && !editWindow()->IsDirty(); },
                  [&] {
                      ptkc = StoredResource(path, FOUR_CHAR_CODE("PTKC"), 128);
                      HostInjectKey(kKeyQ, 'q', cmdKey);
                  });
        ASSERT_TRUE(Run(script, path));
        EXPECT_EQ(FWRect(20, 20, 240, 170), resized);
        // The edit text's record alone: the check box's went with its page, and a container is
        // no parameter until the user makes it one.
        EXPECT_EQ(1, recordCount(ptkc));
    }
}

TEST_F(KeepingLayoutsRunTest, KeysAfterTheFocusedFieldsPageWasDroppedGoNowhereHarmful)
{
    const std::string path = File("focus.rsrc");
    ASSERT_TRUE(MakeResourceFile(path, {{FOUR_CHAR_CODE("WINT"), 128, "Form",
                                         pagedLayout(Paged::kTabs, fieldAndCancel)}}));
    FWView* focusBefore = nullptr;
    FWView* focusAfter = nullptr;
    int32_t tabsAfter = -1;
    RunScript script(std::chrono::seconds(60));
    script.Then("the list of layouts", listShown, openFirstLayout)
        .Then("the edit window", [] { return Idle() && editWindow() != nullptr; },
              [&] {
                  // In test mode the page's field takes the focus and some typing.
                  HostInjectClick(ToolWidgetCentre("Test"));
                  HostInjectClick(centreOf(kInside));
                  HostInjectKey(kKeyX, 'x');
              })
        .Then("the focus", [] { return Idle() && editWindow()->ViewMngr().GetKeyFocus() != nullptr; },
              [&] {
                  focusBefore = editWindow()->ViewMngr().GetKeyFocus();
                  HostInjectClick(ToolWidgetCentre("Edit"));
                  dropToOnePage(Paged::kTabs, 0);
                  Stamp();
              })
        .Then("the question", [] { return FWWindow::ModalCount() == 2; }, ClickFrontOK)
        .Then("one page", [&] { return Calm() && pages() == 1; },
              [&] {
                  focusAfter = editWindow()->ViewMngr().GetKeyFocus();
                  tabsAfter = editWindow()->ViewMngr().GetTabList().Size();
                  // The next keys of test mode: typing, Tab, Escape (no cancel button left) and
                  // Return (the OK button).
                  HostInjectClick(ToolWidgetCentre("Test"));
                  HostInjectKey(kKeyX, 'x');
                  HostInjectKey(kKeyTab, 9);
                  HostInjectKey(kKeyEscape, 27);
                  HostInjectKey(kKeyReturn, 13);
              })
        .Then("the keys", Idle,
              [] {
                  HostInjectClick(ToolWidgetCentre("Edit"));
                  HostInjectKey(kKeyS, 's', cmdKey);
                  HostInjectKey(kKeyQ, 'q', cmdKey);
              });
    ASSERT_TRUE(Run(script, path));
    EXPECT_NE(nullptr, focusBefore);
    EXPECT_TRUE(focusAfter != focusBefore) << "the focus stayed on the dropped field";
    EXPECT_EQ(1, tabsAfter) << "the tab list holds the edit text beside the container alone";
}

TEST_F(KeepingLayoutsRunTest, ALayoutOfAFileHeldForWritingIsNeitherShownNorSaved)
{
    const std::string path = File("held.rsrc");
    ASSERT_TRUE(MakeResourceFile(path, {{FOUR_CHAR_CODE("WINT"), kShaderID, "Interface",
                                         pagedLayout(Paged::kGroup, checkBox)}}));
    const std::string before = TempFolder::ReadFile(path);
    int holder = -1;
    bool windowMade = true;
    int documents = 0;
    RunScript script(std::chrono::seconds(60));
    script
        .Then("the list of layouts", listShown,
              [&] {
                  // Another program takes the file for writing while the list is up.
                  holder = ::open(path.c_str(), O_RDWR);
                  ASSERT_EQ(0, flock(holder, LOCK_EX));
                  openFirstLayout();
                  HostInjectKey(kKeyReturn, 13); // the message
              })
        .Then("the message", [] { return Idle() && !ShownMessageTexts().empty(); },
              [&] {
                  windowMade = editWindow() != nullptr;
                  documents = FWApp::Instance()->GetDocumentList().Size();
                  HostInjectKey(kKeyS, 's', cmdKey);
                  HostInjectKey(kKeyQ, 'q', cmdKey);
              });
    const bool finished = Run(script, path);
    if (holder >= 0)
        ::close(holder);
    ASSERT_TRUE(finished);
    EXPECT_EQ((std::vector<std::string>{
                  "Resource error -54. Be sure the file is not opened by other application for writing"}),
              ShownMessageTexts());
    EXPECT_FALSE(windowMade);
    EXPECT_EQ(1, documents) << "the document stays open";
    EXPECT_EQ(before, TempFolder::ReadFile(path));
}

TEST_F(KeepingLayoutsRunTest, ShortcutsKeepTheirCommandKeyAfterMenusAreUsedAndAPaletteIsMade)
{
    const std::string path = File("shortcuts.rsrc");
    ASSERT_TRUE(MakeResourceFile(path, {{FOUR_CHAR_CODE("WINT"), 128, "Form",
                                         pagedLayout(Paged::kGroup, checkBox)}}));
    const std::vector<std::string> fileKeys = {"cmd N", "cmd O", "", "", "cmd S", "cmd shift S", "", "cmd Q"};
    std::vector<std::string> afterPalette;
    bool savedByKey = false;
    auto palettes = [] {
        int count = 0;
        FWList<FWWindow>& windows = FWApp::Instance()->GetWindowList();
        FWWindow* window = windows.First();
        for (int i = 0; i < windows.Size() && window != nullptr; ++i, window = windows.Next())
            count += dynamic_cast<FWToolPalette*>(window) != nullptr ? 1 : 0;
        return count;
    };
    auto nudge = [this] {
        HostInjectClick(centreOf(kField));
        HostInjectKey(kKeyRight, 29);
        Stamp();
    };
    RunScript script(std::chrono::seconds(60));
    script.Then("the list of layouts", listShown, openFirstLayout)
        .Then("the edit window", [] { return Idle() && editWindow() != nullptr; },
              [&] {
                  // A shortcut and a menu opened and left without a choice, with the layout changed.
                  nudge();
                  HostInjectKey(kKeyS, 's', cmdKey);
                  ChooseMenuRow("Edit", "Undo");
              })
        .Then("the menus used", [&] { return Calm() && !editWindow()->IsDirty(); },
              [&] {
                  // The "Test" tool dragged out of the tool window onto the empty screen.
                  const Point from = ToolWidgetCentre("Test");
                  const Point to{760, 1200};
                  HostInjectMouseDown(from, shiftKey);
                  HostInjectMouseMove(Point{int16_t((from.v + to.v) / 2), int16_t((from.h + to.h) / 2)});
                  HostInjectMouseMove(to);
                  HostInjectMouseUp(to, shiftKey);
              })
        .Then("the palette", [&] { return Idle() && palettes() == 1; },
              [&] {
                  afterPalette = MenuShortcuts("File");
                  nudge();
              })
        .Then("changed", [&] { return Calm() && editWindow()->IsDirty(); },
              [&] { HostInjectKey(kKeyS, 's', cmdKey); })
        .Then("saved", Idle,
              [&] {
                  savedByKey = !editWindow()->IsDirty();
                  HostInjectKey(kKeyQ, 'q', cmdKey);
              });
    ASSERT_TRUE(Run(script, path));
    EXPECT_EQ(fileKeys, afterPalette);
    EXPECT_TRUE(savedByKey);
    EXPECT_FALSE(FWApp::Exists()) << "Command-Q quits";
}
