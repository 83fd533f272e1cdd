// Arranging a layout in the running program, as a person does it: a layout of three edit texts,
// a check box, a static text and the OK and Cancel buttons opened from its file's list; the tab
// order set by clicks, the fields lined up from the Edit menu, centred from the "Alignment" tools,
// renumbered, one field given an auto-value name in its property dialog, "Output.c" written and
// the layout saved. The saved bytes are those the framework writes for the expected tree; the
// expected "Output.c" is written out here line by line.
#include "DialogTyping.h"
#include "EditorFixture.h"

#include "CDialogWINT.h"
#include "CheckBox.h"
#include "EditText.h"
#include "EditWindow.h"
#include "FWApp.h"
#include "FWPlatformUtils.h"
#include "FWViewMngr.h"
#include "HostClock.h"
#include "HostHeadless.h"
#include "HostMemory.h"
#include "PreorderTraversal.h"
#include "PushButton.h"
#include "QuillformApp.h"
#include "RunScript.h"
#include "StaticText.h"
#include "TempFolder.h"

#include "../Files/ResourceFileMaker.h"

#include <filesystem>

namespace {

constexpr uint8_t kKeyT = 17, kKeyS = 1, kKeyQ = 12, kKeyEscape = 53, kKeyReturn = 36;
constexpr int16_t kWidth = 300, kHeight = 200;

// The layout's views by their ids in the file, out of the canonical order.
enum : int32_t { kRoot = 1000, kOK = 3, kCancel = 4, kTitle = 5, kShow = 6, kHeightField = 7, kWidthField = 8, kDepthField = 9 };

// Layout 128 as the framework writes it.
std::string fixtureLayout()
{
    FWWindow w;
    FWView* root = EditorFixture::StartLayout(w, kWidth, kHeight, kRoot);
    auto add = [root](FWView* view, int32_t id, const char* stringID = nullptr) {
        view->SetID(id);
        if (stringID != nullptr)
            view->SetStringID(FWStr<63>(stringID));
        root->AppendChild(view);
    };
    auto* title = new StaticText;
    FWStr<255> titleText("Sizes");
    title->Init(&w, FWRect(10, 10, 150, 23), &titleText, StaticText::kSingleLine);
    add(title, kTitle);
    const struct {
        int32_t id;
        FWRect rect;
        const char* label;
        FWString::Type type;
        const char* stringID;
    } fields[] = {
        {kWidthField, FWRect(10, 40, 150, 58), "Width:", FWString::kUnsignedReal, "kWidthID"},
        {kHeightField, FWRect(30, 75, 170, 93), "Height:", FWString::kSignedInteger, "kHeightID"},
        {kDepthField, FWRect(20, 130, 160, 148), "Depth:", FWString::kOnOff, "kDepthID"},
    };
    for (const auto& f : fields) {
        auto* edit = new EditText;
        FWStr<63> label(f.label);
        edit->Init(&w, f.rect, &label);
        edit->Set(true, f.type, false);
        add(edit, f.id, f.stringID);
    }
    auto* show = new CheckBox;
    FWStr<255> showText("Show");
    show->Init(&w, FWPoint(230, 100), &showText);
    add(show, kShow, "kShowID");
    auto* cancel = new CancelButton;
    cancel->Init(&w, FWRect(130, 160, 200, 182), nullptr);
    cancel->MakeDefaultCancel();
    add(cancel, kCancel);
    auto* ok = new OKButton;
    ok->Init(&w, FWRect(220, 160, 290, 182), nullptr);
    ok->MakeDefaultAccept();
    add(ok, kOK);
    return EditorFixture::SerializedTree(w.ViewMngr());
}

// The original layout after the run's edits: the fields (18 high) lined up at left 10, spaced by
// ((148 - 40) - 3 * 18) / 2 = 27 (tops 40, 58 + 27 = 85, 103 + 27 = 130), then moved right by
// 150 - 80 = 70 to centre their span 10-150 in the root's 0-300; tab positions Depth 0, Width 1, Height 2; ids in canonical
// order (root 0, OK 1, Cancel 2, then the value controls by old id, then the static text) and
// the id counter at the number of views less one.
std::string expectedLayout(const std::string& original)
{
    FWWindow w;
    w.SetSize(kWidth + 2 * w.FrameWidth(), kHeight + w.TitleWidth() + w.FrameWidth());
    FWViewMngr& m = w.ViewMngr();
    if (!m.InitializeFromData(original.data(), uint32_t(original.size())))
        return "unreadable";
    const struct {
        int32_t id;
        FWRect rect;
        int32_t tab;
    } fields[] = {
        {kWidthField, FWRect(80, 40, 220, 58), 1},
        {kHeightField, FWRect(80, 85, 220, 103), 2},
        {kDepthField, FWRect(80, 130, 220, 148), 0},
    };
    for (const auto& f : fields) {
        m.GetView(f.id)->SetRect(f.rect);
        m.GetView(f.id)->SetTabPos(f.tab);
    }
    const std::pair<int32_t, int32_t> renumbered[] = {{kRoot, 0},        {kOK, 1},         {kCancel, 2},      {kShow, 3},
                                                      {kHeightField, 4}, {kWidthField, 5}, {kDepthField, 6}, {kTitle, 7}};
    std::vector<std::pair<FWView*, int32_t>> views;
    for (const auto& [from, to] : renumbered)
        views.emplace_back(m.GetView(from), to);
    for (const auto& [view, to] : views)
        view->SetID(to);
    m.SetCounterID(7);
    // The edit window was shown: its root is stored visible.
    m.WindowBecameVisible();
    return EditorFixture::SerializedTree(m);
}

const std::string kRule(72, '-');

// What Write Control IDs writes for the renumbered layout with the width field named mWidth:
// the width field (unsigned real) is the only named view; the string ids in tree order.
const std::string kExpectedOutput = "// Member variable declarations\n"
                                    "EditText::Float\t\tmWidth;\n"
                                    "\n"
                                    "enum {\n"
                                    "\tkWidthID = 5,\n"
                                    "\tkHeightID = 4,\n"
                                    "\tkDepthID = 6,\n"
                                    "\tkShowID = 3\n"
                                    "};\n"
                                    "\n"
                                    "/* " + kRule + "\n"
                                    "\tUpdateInterface\n" + kRule + " */\n"
                                    "void YourClass::UpdateInterface(FWWindow* window)\n"
                                    "{\n"
                                    "\tmWidth.Connect(window, kWidthID);\n"
                                    "}\t// UpdateInterface\n";

} // namespace

class ArrangeRunTest : public EditorFixture {};

TEST_F(ArrangeRunTest, TabOrderAlignDistributeCentreRenumberWriteIDsAndSave)
{
    HostUseSystemClock();
    const std::string path = File("arrange.rsrc");
    const std::string original = fixtureLayout();
    ASSERT_TRUE(MakeResourceFile(path, {{FOUR_CHAR_CODE("WINT"), 128, "Arrange", original}}));
    std::string saved, expected;

    EditWindow* window = nullptr;
    FWView* width = nullptr;
    FWView* height = nullptr;
    FWView* depth = nullptr;
    uint32_t lastPress = 0;
    auto click = [&](FWView* view, EventModifiers modifiers = 0) {
        const FWRect r = view->GlobalRect();
        FWPoint p(int16_t((r.left + r.right) / 2), int16_t((r.top + r.bottom) / 2));
        window->WindowToGlobal(&p);
        lastPress = TickCount();
        HostInjectClick(Point{p.v, p.h}, modifiers);
    };
    auto idle = [] { return HostPendingInjectedCount() == 0 && FWWindow::ModalCount() == 0; };
    // A double-click interval has passed since the last press, so that the next press is one of
    // its own.
    auto calm = [&] { return idle() && TickCount() > lastPress + FWDoubleTime() + 2; };
    auto lefts = [&] { return std::vector<int16_t>{width->GetRect().left, height->GetRect().left, depth->GetRect().left}; };
    auto tops = [&] { return std::vector<int16_t>{width->GetRect().top, height->GetRect().top, depth->GetRect().top}; };
    using Lines = std::vector<int16_t>;

    RunScript script(std::chrono::seconds(60));
    script
        .Then("the list of layouts", [] { return FWApp::Exists() && FWWindow::ModalCount() > 0; },
              [] {
                  const LayoutListPlaces list = LocateLayoutList();
                  HostInjectClick(list.Row(0));
                  HostInjectClick(list.buttons.at(CDialogWINT::kOpen));
              })
        .Then("the edit window",
              [] { return FWWindow::ModalCount() == 0 && QuillformApp::Instance()->GetFrontEditWindow() != nullptr; },
              [&] {
                  window = QuillformApp::Instance()->GetFrontEditWindow();
                  width = window->ViewMngr().GetView(kWidthField);
                  height = window->ViewMngr().GetView(kHeightField);
                  depth = window->ViewMngr().GetView(kDepthField);
                  // The mode runs its own loop: the clicks and Escape are queued with the command.
                  HostInjectKey(kKeyT, 't', cmdKey);
                  click(depth);
                  click(width);
                  HostInjectKey(kKeyEscape, 27);
              })
        .Then("the tab order",
              [&] {
                  return calm() && EditWindow::NormalMode() && width->GetTabPos() == 1 && height->GetTabPos() == 2 &&
                         depth->GetTabPos() == 0;
              },
              [&] {
                  click(width);
                  click(height, shiftKey);
                  click(depth, shiftKey);
              })
        .Then("the three fields selected",
              [&] { return calm() && window->SelectedViews() == std::vector<FWView*>{width, height, depth}; },
              [] { ChooseMenuRow("Edit", "Align Left"); })
        .Then("aligned left", [&] { return idle() && lefts() == Lines{10, 10, 10}; },
              [] { ChooseMenuRow("Edit", "Align Distribution"); })
        .Then("distributed", [&] { return idle() && tops() == Lines{40, 85, 130}; },
              [] { HostInjectClick(ToolWidgetCentre("Center horiz.")); })
        .Then("centred", [&] { return idle() && lefts() == Lines{80, 80, 80}; },
              [] { ChooseMenuRow("Utility", "Recompute IDs"); })
        .Then("renumbered", [&] { return idle() && width->ID() == 5; },
              [&] {
                  // The width field's dialog: its auto-value name is the ninth field.
                  click(width);
                  click(width);
                  Typist().Type(8, "mWidth");
                  HostInjectKey(kKeyReturn, 13);
              })
        .Then("the auto-value name",
              [&] { return idle() && std::string(width->AutoValueString().GetCString()) == "mWidth"; },
              [] { ChooseMenuRow("Utility", "Write Control IDs"); })
        .Then("Output.c", [&] { return idle() && std::filesystem::exists(File("Output.c")); },
              [] { HostInjectKey(kKeyS, 's', cmdKey); })
        .Then("the save", [&] { return idle() && !window->IsDirty(); },
              [&] {
                  saved = EditorFixture::StoredResource(path, FOUR_CHAR_CODE("WINT"), 128);
                  expected = expectedLayout(original);
                  HostInjectKey(kKeyQ, 'q', cmdKey);
              });
    script.Start();
    const char* argv[] = {"quillform", path.c_str()};
    QZMain(2, argv);
    script.StopIdling();

    EXPECT_EQ("", script.TimedOut());
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(kExpectedOutput, TempFolder::ReadFile(File("Output.c")));
    EXPECT_EQ(expected.size(), saved.size());
    EXPECT_TRUE(expected == saved) << "the saved layout differs from the expected tree";
    if (expected != saved) {
        EXPECT_EQ(EditorFixture::DescribeLayout(expected), EditorFixture::DescribeLayout(saved));
    }
}
