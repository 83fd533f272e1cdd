// Editing a layout in the running program, as a person does it: QZMain on the headless back end,
// the sample's layout 128 opened from the file's list of layouts, views selected by click, Shift and band, moved on the grid,
// resized, Option-duplicated, nudged and deleted, one control made with each creation tool, and
// the layout saved; the saved bytes are those the framework writes for the expected tree, built
// here from the same view classes.
#include "EditorFixture.h"

#include "CDialogWINT.h"
#include "CQF_Document.h"
#include "CheckBox.h"
#include "ColorButton.h"
#include "ColorSlider.h"
#include "Divider.h"
#include "EditText.h"
#include "EditWindow.h"
#include "FS_ResourceFileRA.h"
#include "FWApp.h"
#include "FWViewMngr.h"
#include "Group.h"
#include "FWPlatformUtils.h"
#include "HostClock.h"
#include "HostHeadless.h"
#include "HostMemory.h"
#include "HostMenus.h"
#include "HostNavDialogs.h"
#include "HostResources.h"
#include "ListBox.h"
#include "PictureBox.h"
#include "Popup.h"
#include "PreorderTraversal.h"
#include "PushButton.h"
#include "QZ_GLView.h"
#include "QuillformApp.h"
#include "RadioButtonSet.h"
#include "RunScript.h"
#include "Scroller.h"
#include "StaticText.h"
#include "TabControl.h"

#include "../Files/ResourceFileMaker.h"

#include <filesystem>
#include <functional>

namespace {

constexpr uint8_t kKeyS = 1, kKeyBackspace = 51, kKeyRight = 124, kKeyDown = 125;

// One creation: the tool, the rectangle dragged (multiples of the grid of 10), the id of the
// container that holds its top-left corner (0: the root; the picture 15 takes views too), and
// the id of a view whose corner the new view covers, which it takes over (0: none).
struct Creation {
    const char* tool;
    FWRect rect;
    int32_t parent;
    int32_t takes;
};

const Creation kCreations[] = {
    {"OK Button", FWRect(250, 180, 320, 200), 0, 0},       {"Cancel Button", FWRect(320, 180, 390, 200), 0, 0},
    {"Static Text", FWRect(10, 10, 100, 20), 0, 0},        {"Edit Text", FWRect(120, 10, 200, 30), 0, 0},
    {"Check Box", FWRect(280, 20, 300, 40), 15, 0},        {"Color Button", FWRect(330, 20, 360, 40), 0, 0},
    {"Popup Menu", FWRect(260, 50, 380, 90), 0, 0},        {"Divider", FWRect(10, 130, 250, 140), 0, 0},
    {"Radiobutton Set", FWRect(300, 100, 320, 120), 0, 0}, {"List Box", FWRect(260, 210, 300, 250), 0, 0},
    {"Color Slider", FWRect(320, 210, 390, 220), 0, 0},    {"Text Button", FWRect(320, 230, 390, 250), 0, 0},
    {"Picture Button", FWRect(160, 210, 190, 240), 0, 0},  {"Picture", FWRect(200, 210, 240, 250), 0, 2},
    {"Scrollbar", FWRect(10, 240, 150, 250), 0, 0},        {"OpenGL", FWRect(340, 130, 390, 170), 0, 0},
    {"Tab", FWRect(110, 60, 240, 100), 0, 0},              {"Group", FWRect(270, 130, 330, 170), 0, 0},
};

// Puts a made view under parent as a new view lands: a parent without an id takes the next one.
void place(FWViewMngr& m, FWView* parent, FWView* view)
{
    if (parent->ID() == 0)
        parent->SetID(m.GetNextID());
    parent->AppendChild(view);
}

// The layer a view placed on a group lands in: its page when it has one.
FWView* inside(FWView* container)
{
    FWView* page = container->FirstChild();
    return page != nullptr && std::string(page->FactoryGetClassName()) == "BranchItem" ? page : container;
}

// The sample's layout 128 after the edits below, in the bytes the framework writes.
std::string expectedLayout(const std::string& original)
{
    FWWindow w;
    w.SetSize(400 + 2 * w.FrameWidth(), 260 + w.TitleWidth() + w.FrameWidth());
    if (!w.ViewMngr().InitializeFromData(original.data(), uint32_t(original.size())))
        return "unreadable";
    FWViewMngr& m = w.ViewMngr();
    FWView* root = m.GetViewTree();
    FWView* group = m.GetView(17);
    auto moveTo = [](FWView* v, FWRect r) { v->SetRect(r); };
    auto rehome = [](FWView* v, FWView* parent) {
        v->Unlink();
        parent->AppendChild(v);
    };
    // The edit text and the push button moved by (10, 20); the first move puts the check box
    // and radio set drawn on the group into it.
    FWRect text = m.GetView(13)->GetRect();
    text.Offset(10, 20);
    moveTo(m.GetView(13), text);
    rehome(m.GetView(19), inside(group));
    rehome(m.GetView(20), inside(group));
    // The push button: moved, then its bottom-right handle dragged by (30, 20).
    moveTo(m.GetView(14), FWRect(26, 92, 156, 134));
    // Its Option copy, 100 lower on the group, nudged right by 1 and down by 10.
    FWView* copy = m.GetView(14)->Duplicate(FWPoint(0, 100));
    place(m, inside(group), copy);
    copy->SetRect(FWRect(27, 202, 157, 244));
    // The title label deleted.
    FWView* title = m.GetView(11);
    title->Unlink();
    delete title;

    const FWStr<31> tabs[3] = {FWStr<31>("Tab 1"), FWStr<31>("Tab 2"), FWStr<31>("Tab 3")};
    FWStr<31> radios[5] = {FWStr<31>("Button 1"), FWStr<31>("Button 2"), FWStr<31>("Button 3"),
                           FWStr<31>("Button 4"), FWStr<31>("Button 5")};
    for (const Creation& c : kCreations) {
        const std::string tool = c.tool;
        const FWRect& r = c.rect;
        FWStr<31> caption;
        FWView* made = nullptr;
        if (tool == "OK Button") {
            auto* v = new OKButton;
            v->Init(&w, r, nullptr);
            v->MakeDefaultAccept();
            made = v;
        } else if (tool == "Cancel Button") {
            auto* v = new CancelButton;
            v->Init(&w, r, nullptr);
            v->MakeDefaultCancel();
            made = v;
        } else if (tool == "Static Text") {
            caption = "StaticText";
            auto* v = new StaticText;
            v->Init(&w, r, &caption, StaticText::kSingleLine);
            made = v;
        } else if (tool == "Edit Text") {
            caption = "EditText";
            auto* v = new EditText;
            v->Init(&w, r, &caption);
            v->Set(true, FWString::Type(3), false);
            made = v;
        } else if (tool == "Check Box") {
            caption = "CheckBox";
            auto* v = new CheckBox;
            v->Init(&w, FWPoint(r.left, r.top), &caption);
            made = v;
        } else if (tool == "Color Button") {
            auto* v = new ColorButton;
            v->Init(&w, r, FWArgb32(255, 0, 0, 255));
            made = v;
        } else if (tool == "Popup Menu") {
            caption = "Popup";
            auto* v = new Popup;
            v->Init(&w, FWRect(r.left, r.top, r.right, int16_t(r.top + 16)), &caption, 0, true);
            made = v;
        } else if (tool == "Divider") {
            auto* v = new Divider;
            v->Init(&w, r);
            made = v;
        } else if (tool == "Radiobutton Set") {
            auto* v = new RadioButtonSet;
            v->Init(&w, FWPoint(r.left, r.top), 5, radios);
            made = v;
        } else if (tool == "List Box") {
            auto* v = new ListBox;
            v->Init(&w, r);
            made = v;
        } else if (tool == "Color Slider") {
            auto* v = new ColorSlider;
            v->Init(&w, r, ColorSlider::kGray);
            made = v;
        } else if (tool == "Text Button") {
            caption = "Button";
            auto* v = new PushButton;
            v->Init(&w, r, &caption, 0);
            made = v;
        } else if (tool == "Picture Button") {
            auto* v = new PushButton;
            v->Init(&w, r, nullptr, 17);
            made = v;
        } else if (tool == "Picture") {
            auto* v = new PictureBox;
            v->Init(&w, r, 17, FOUR_CHAR_CODE("argb"));
            made = v;
        } else if (tool == "Scrollbar") {
            auto* v = new Scroller;
            v->Init(&w, &r);
            made = v;
        } else if (tool == "OpenGL") {
            auto* v = new QZ_GLView;
            v->FWView::Init(&w);
            v->SetRect(r);
            made = v;
        } else if (tool == "Tab") {
            auto* v = new TabControl;
            v->Init(&w, r, 3, tabs);
            made = v;
        } else if (tool == "Group") {
            caption = "Group";
            auto* v = new Group;
            v->Init(&w, r, &caption, Group::kTopLeft, Group::kEngraved);
            made = v;
        }
        FWView* parent = c.parent != 0 ? m.GetView(c.parent) : root;
        if (parent->ID() == 0)
            parent->SetID(m.GetNextID());
        if (c.takes != 0) {
            FWView* taken = m.GetView(c.takes);
            taken->Unlink();
            made->AppendChild(taken);
        }
        parent->AppendChild(made);
    }
    // The edit window was shown: its root is stored visible.
    m.WindowBecameVisible();
    return EditorFixture::SerializedTree(m);
}

} // namespace

class EditingRunTest : public EditorFixture {};

TEST_F(EditingRunTest, SelectMoveResizeDuplicateNudgeDeleteCreateAndSave)
{
    HostUseSystemClock();
    const std::string path = File("sample.rsrc");
    std::filesystem::copy_file(FW_SAMPLE_RSRC, path);
    std::string original, saved, expected;

    EditWindow* window = nullptr;
    auto global = [&](int16_t h, int16_t v) {
        FWPoint p(h, v);
        window->WindowToGlobal(&p);
        return Point{p.v, p.h};
    };
    // A press, the pointer moved to the end and released there.
    uint32_t lastPress = 0;
    auto gesture = [&](FWPoint from, FWPoint to, EventModifiers modifiers = 0) {
        lastPress = TickCount();
        HostInjectMouseDown(global(from.h, from.v), modifiers);
        HostInjectMouseMove(global(int16_t((from.h + to.h) / 2), int16_t((from.v + to.v) / 2)));
        HostInjectMouseMove(global(to.h, to.v));
        HostInjectMouseUp(global(to.h, to.v), modifiers);
    };
    auto click = [&](FWPoint at, EventModifiers modifiers = 0) { gesture(at, at, modifiers); };
    auto selected = [&]() {
        std::vector<int32_t> ids;
        for (FWView* v : window->SelectedViews())
            ids.push_back(v->ID());
        return ids;
    };
    using Ids = std::vector<int32_t>;
    auto idle = [] { return HostPendingInjectedCount() == 0; };
    // The input is taken and a double-click interval has passed since the last press, so that
    // the next press on the same view is a press of its own.
    auto calm = [&] { return idle() && TickCount() > lastPress + FWDoubleTime() + 2; };
    auto rectOf = [&](int32_t id) { return window->ViewMngr().GetView(id)->GetRect(); };
    FWView* copy = nullptr;

    RunScript script(std::chrono::seconds(60));
    script
        .Then("the menu bar", [] { return FWApp::Exists() && !HostLayOutMenuBar().empty(); },
              [&] {
                  original = EditorFixture::StoredResource(path, FOUR_CHAR_CODE("WINT"), 128);
                  HostNavAnswer answer;
                  answer.cancel = false;
                  answer.paths = {path};
                  HostNavPresetAnswer(answer);
                  HostInjectKey(31, 'o', cmdKey);
                  // The file's list of layouts: its first row, 128, opened.
                  const LayoutListPlaces list = LocateLayoutList();
                  HostInjectClick(list.Row(0));
                  HostInjectClick(list.buttons.at(CDialogWINT::kOpen));
              })
        .Then("the opened layout",
              [] {
                  EditWindow* front = QuillformApp::Exists() ? QuillformApp::Instance()->GetFrontEditWindow() : nullptr;
                  return FWWindow::ModalCount() == 0 && front != nullptr && front->ViewMngr().GetResID() == 128;
              },
              [&] {
                  window = QuillformApp::Instance()->GetFrontEditWindow();
                  QuillformApp::Instance()->SetGridSize(10);
                  gesture(FWPoint(250, 8), FWPoint(390, 30)); // a band over the picture
              })
        .Then("the band", [&] { return calm() && selected() == Ids{15}; },
              [&] {
                  click(FWPoint(60, 83));
                  click(FWPoint(150, 46), shiftKey);
              })
        .Then("click and Shift-click", [&] { return calm() && selected() == Ids{13, 14}; },
              [&] { gesture(FWPoint(60, 83), FWPoint(74, 96)); })
        .Then("the move", [&] { return calm() && rectOf(14) == FWRect(26, 92, 126, 114); },
              [&] { click(FWPoint(5, 250)); }) // empty content: nothing selected
        .Then("nothing selected", [&] { return calm() && selected().empty(); }, [&] { click(FWPoint(60, 103)); })
        .Then("the button alone", [&] { return calm() && selected() == Ids{14}; },
              [&] { gesture(FWPoint(125, 113), FWPoint(164, 126)); })
        .Then("the resize", [&] { return calm() && rectOf(14) == FWRect(26, 92, 156, 134); },
              [&] { gesture(FWPoint(60, 100), FWPoint(60, 200), optionKey); })
        .Then("the copy", [&] { return calm() && selected().size() == 1 && selected()[0] != 14; },
              [&] {
                  copy = window->SelectedViews().front();
                  HostInjectKey(kKeyRight, 29);
                  HostInjectKey(kKeyDown, 31, shiftKey);
              })
        .Then("the nudges", [&] { return idle() && copy->GetRect() == FWRect(27, 202, 157, 244); },
              [&] { click(FWPoint(100, 22)); })
        .Then("the title selected", [&] { return calm() && selected() == Ids{11}; },
              [&] { HostInjectKey(kKeyBackspace, 8); })
        .Then("the deletion", [&] { return idle() && window->ViewMngr().GetView(11) == nullptr; }, [&] {});
    for (const Creation& c : kCreations) {
        const std::string name = c.tool;
        script
            .Then("before " + name, idle, [name] { HostInjectClick(ToolWidgetCentre(name)); })
            .Then("the tool " + name, [&] { return idle() && EditWindow::mToolType == 2; },
                  [&, c] { gesture(FWPoint(c.rect.left, c.rect.top), FWPoint(c.rect.right, c.rect.bottom)); });
    }
    script
        .Then("the creations", idle, [] { HostInjectKey(kKeyS, 's', cmdKey); })
        .Then("the save", [&] { return idle() && !window->IsDirty(); },
              [&] {
                  saved = EditorFixture::StoredResource(path, FOUR_CHAR_CODE("WINT"), 128);
                  expected = expectedLayout(original);
                  HostInjectQuit();
              });
    script.Start();
    const char* argv[] = {"quillform"};
    QZMain(1, argv);
    script.StopIdling();

    EXPECT_EQ("", script.TimedOut());
    EXPECT_TRUE(script.Finished());
    ASSERT_FALSE(original.empty());
    EXPECT_EQ(expected.size(), saved.size());
    EXPECT_TRUE(expected == saved) << "the saved layout differs from the expected tree";
    if (expected != saved) {
        EXPECT_EQ(EditorFixture::DescribeLayout(expected), EditorFixture::DescribeLayout(saved));
    }
}
