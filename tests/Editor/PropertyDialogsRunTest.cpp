// The property dialogs in the running editor: a layout holding one control of each class, opened
// from its file's list; each control double-clicked in Edit mode, its dialog's fields typed into
// and its radio buttons and check boxes clicked, the pop-up's items loaded from a text file.
// Cancelled, before the changes and after them, no dialog changes a byte of the layout; accepted
// and saved, the stored layout holds the bytes the framework writes for the controls built here
// with the new values.
#include "EditorFixture.h"

#include "DialogTyping.h"

#include "CDialogWINT.h"
#include "CheckBox.h"
#include "ColorButton.h"
#include "ColorSlider.h"
#include "ControlDialogs.h"
#include "Divider.h"
#include "EditText.h"
#include "EditWindow.h"
#include "FWApp.h"
#include "FWOpItem.h"
#include "FWOpMenu.h"
#include "FWStr.h"
#include "FWView.h"
#include "FWWindow.h"
#include "Group.h"
#include "HostClock.h"
#include "HostHeadless.h"
#include "HostMemory.h"
#include "HostModalLoop.h"
#include "HostNavDialogs.h"
#include "ListBox.h"
#include "MaterialIcon.h"
#include "PictureBox.h"
#include "Popup.h"
#include "PushButton.h"
#include "QZ_GLView.h"
#include "QuillformApp.h"
#include "RadioButtonSet.h"
#include "RunScript.h"
#include "Scroller.h"
#include "ShownMessages.h"
#include "StaticText.h"
#include "TabControl.h"

#include "../Files/ResourceFileMaker.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr uint8_t kKeyReturn = 36, kKeyEscape = 53, kKeyS = 1, kKeyQ = 12;
constexpr int16_t kFixtureID = 130; // the layout of all the controls
constexpr int16_t kWidth = 400, kHeight = 340;

FWStr<255> str(const char* text)
{
    return FWStr<255>(text);
}

// One control of the layout: how it is made before and after its dialog's OK (the new string ID
// aside), and what the user does in the dialog: text typed into fields (by their place in the
// tab order, ascending), then clicks on check boxes (button -1) and radio buttons (by index), by
// item id.
struct Row {
    const char* title;
    int32_t layout; // the dialog's layout, for the places of what is clicked (0: built in code)
    const char* stringID; // typed into the string-ID field as well
    FWView* (*make)(FWWindow& w, bool after);
    std::vector<std::pair<int, const char*>> typed;
    std::vector<std::pair<int32_t, int32_t>> clicks;
};

const Row kRows[] = {
    {"StaticText (ID:2)", 101, "label",
     [](FWWindow& w, bool after) -> FWView* {
         auto* v = new StaticText;
         FWStr<255> text = str(after ? "After" : "Before");
         v->Init(&w, FWRect(10, 10, 110, 26), &text, after ? StaticText::kBoldWrapped : StaticText::kPlainWrapped);
         return v;
     },
     {{7, "After"}},
     {{13, 1}}},
    {"Group (ID:3)", 102, "frame",
     [](FWWindow& w, bool after) -> FWView* {
         auto* v = new Group;
         FWStr<255> label = str(after ? "Box" : "Frame");
         v->Init(&w, FWRect(10, 40, 150, 120), &label, after ? Group::kTopCenter : Group::kTopLeft,
                 after ? Group::kEngraved : Group::kSunken);
         return v;
     },
     {{7, "Box"}, {9, "2"}},
     {{17, 2}, {18, 1}}},
    {"TabControl (ID:4)", 103, "tabs",
     [](FWWindow& w, bool after) -> FWView* {
         auto* v = new TabControl;
         FWStr<31> labels[2] = {FWStr<31>(after ? "One" : "A"), FWStr<31>("B")};
         v->Init(&w, FWRect(160, 40, 300, 120), 2, labels);
         v->SetSingleRow(!after);
         return v;
     },
     {{8, "One"}},
     {{11, -1}}},
    {"GLView (ID:5)", 104, "gl",
     [](FWWindow& w, bool after) -> FWView* {
         auto* v = new QZ_GLView;
         v->FWView::Init(&w);
         v->SetRect(FWRect(310, 40, after ? 390 : 370, 100));
         return v;
     },
     {{4, "80"}},
     {}},
    {"PushButton (ID:6)", 110, "go",
     [](FWWindow& w, bool after) -> FWView* {
         auto* v = new PushButton;
         FWStr<255> text = str(after ? "Press" : "Push");
         v->Init(&w, FWRect(10, 130, 90, 150), &text, 0);
         if (after) {
             v->SetBoldText(true);
             v->SetBehaviour(1);
             v->SetBorder(2);
         }
         return v;
     },
     {{7, "Press"}},
     {{12, -1}, {19, 1}, {20, 2}}},
    {"EditText (ID:7)", 111, "field",
     [](FWWindow& w, bool after) -> FWView* {
         auto* v = new EditText;
         FWStr<255> title = str(after ? "Name" : "Field");
         v->Init(&w, FWRect(100, 130, 200, 148), &title);
         if (after) {
             v->Set(true, FWString::kSignedInteger, false);
             v->SetAutoValueString(str("val"));
         }
         return v;
     },
     {{7, "Name"}, {8, "val"}},
     {{11, -1}, {20, 1}}},
    {"CheckBox (ID:8)", 112, "tick",
     [](FWWindow& w, bool after) -> FWView* {
         auto* v = new CheckBox;
         FWStr<255> label = str(after ? "Tick" : "Check");
         v->Init(&w, FWPoint(210, 130), &label);
         return v;
     },
     {{7, "Tick"}},
     {}},
    {"Scroller (ID:9)", 114, "bar",
     [](FWWindow& w, bool after) -> FWView* {
         auto* v = new Scroller;
         const FWRect r(10, 160, 150, after ? 180 : 176);
         v->Init(&w, &r);
         return v;
     },
     {{3, "180"}},
     {}},
    {"Divider (ID:10)", 115, "line",
     [](FWWindow& w, bool after) -> FWView* {
         auto* v = new Divider;
         v->Init(&w, FWRect(after ? 170 : 160, 160, 300, 170));
         return v;
     },
     {{0, "170"}},
     {}},
    {"PictureBox (ID:11)", 116, "pic",
     [](FWWindow& w, bool after) -> FWView* {
         auto* v = new PictureBox;
         v->Init(&w, FWRect(310, 130, 350, 170), after ? 18 : 17, FOUR_CHAR_CODE("argb"));
         return v;
     },
     {{7, "18"}},
     {}},
    {"ColorButton (ID:12)", 117, "tint",
     [](FWWindow& w, bool after) -> FWView* {
         auto* v = new ColorButton;
         v->Init(&w, FWRect(360, 130, 390, 150), FWArgb32(255, 200, 0, 0));
         if (after) {
             v->SetText(str("Tint"));
             v->SetEditAlpha(!v->GetEditAlpha());
             v->SetPromptString(str("Pick"));
         }
         return v;
     },
     {{7, "Tint"}, {8, "Pick"}},
     {{11, -1}}},
    {"RadioButtonSet (ID:13)", 118, "mode",
     [](FWWindow& w, bool after) -> FWView* {
         auto* v = new RadioButtonSet;
         FWStr<31> labels[3] = {FWStr<31>("One"), FWStr<31>("Two"), FWStr<31>("Three")};
         v->Init(&w, FWPoint(10, 190), after ? 3 : 2, labels);
         return v;
     },
     {{7, "3"}, {12, "Three"}},
     {}},
    {"ColorSlider (ID:14)", 120, "red",
     [](FWWindow& w, bool after) -> FWView* {
         auto* v = new ColorSlider;
         v->Init(&w, FWRect(160, 190, 300, 200), after ? ColorSlider::kRed : ColorSlider::kGray);
         return v;
     },
     {},
     {{13, 1}}},
    {"ListBox (ID:15)", 122, "list",
     [](FWWindow& w, bool after) -> FWView* {
         auto* v = new ListBox;
         v->Init(&w, FWRect(310, 190, 390, after ? 260 : 250));
         return v;
     },
     {{5, "70"}},
     {}},
    {"Popup (ID:16)", 200, "choice",
     [](FWWindow& w, bool after) -> FWView* {
         auto* v = new Popup;
         auto* menu = new FWOpMenu("", 0, 128, 0, 0, nullptr, nullptr, nullptr, nullptr, 0);
         // After: the lines of the text file loaded, the last one empty after the final line break.
         const std::vector<const char*> names = after ? std::vector<const char*>{"one", "two", "three", ""}
                                                      : std::vector<const char*>{"a", "b"};
         int32_t index = 0;
         for (const char* name : names)
             menu->AppendChild(new FWOpItem(name, index++, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0));
         v->Init(&w, menu, true);
         const FWStr<31> label(after ? "Pick" : "Menu");
         v->Init(&w, FWRect(10, 260, 150, 276), &label, 0, true);
         v->SetNotifyOnEveryClick(after);
         return v;
     },
     {{6, "Pick"}},
     {{11, -1}, {91, -1}}},
    {"MaterialIcon (ID:17)", 0, "icon",
     [](FWWindow& w, bool after) -> FWView* {
         auto* v = new MaterialIcon;
         v->Init(&w, FWPoint(after ? 170 : 160, 260));
         return v;
     },
     {{0, "170"}},
     {}},
};

// The layout's bytes before or after the dialogs' OK: the controls at the root in row order, ids
// from 2; the group has two layers, the second active after.
std::string layoutBytes(bool after)
{
    FWWindow maker;
    maker.SetSize(kWidth + 2 * maker.FrameWidth(), kHeight + maker.TitleWidth() + maker.FrameWidth());
    maker.ViewMngr().Initialize(FWRect());
    FWView* root = maker.ViewMngr().GetViewTree();
    root->SetRect(FWRect(0, 0, kWidth, kHeight));
    int32_t id = 2;
    for (const Row& row : kRows) {
        FWView* view = row.make(maker, after);
        view->SetID(id);
        root->AppendChild(view);
        if (auto* group = dynamic_cast<Group*>(view)) {
            group->SetBranchTotal(2);
            if (after)
                group->SetActiveLayer(1);
        }
        // OK writes the string ID and then the rectangle, which lays the control out anew.
        if (after) {
            view->SetStringID(FWStr<31>(row.stringID));
            view->SetRect(view->GetRect());
        }
        ++id;
    }
    std::string bytes = EditorFixture::SerializedTree(maker.ViewMngr());
    if (!after)
        return bytes;
    // As the program holds them: read back, in a window that was shown.
    FWWindow reader;
    reader.SetSize(kWidth + 2 * reader.FrameWidth(), kHeight + reader.TitleWidth() + reader.FrameWidth());
    if (!reader.ViewMngr().InitializeFromData(bytes.data(), uint32_t(bytes.size())))
        return "unreadable";
    reader.ViewMngr().WindowBecameVisible();
    return EditorFixture::SerializedTree(reader.ViewMngr());
}

EditWindow* editWindow()
{
    return FWApp::Exists() ? QuillformApp::Instance()->GetFrontEditWindow() : nullptr;
}

Point global(FWWindow& window, FWPoint p)
{
    window.WindowToGlobal(&p);
    return Point{p.v, p.h};
}

// Two clicks on the control: at its centre, or for a container near its bottom-left corner,
// clear of its resize handles.
void doubleClick(int32_t id)
{
    FWView* view = editWindow()->ViewMngr().GetView(id);
    ASSERT_NE(nullptr, view) << id;
    const FWRect r = view->GlobalRect();
    FWPoint where(int16_t((r.left + r.right) / 2), int16_t((r.top + r.bottom) / 2));
    if (view->AllowsChildren())
        where = FWPoint(int16_t(r.left + 10), int16_t(r.bottom - 10));
    const Point at = global(*editWindow(), where);
    HostInjectClick(at);
    HostInjectClick(at);
}

// The row's dialog: double-clicked open, typed into, its buttons clicked, then ended by the key.
// Where the buttons lie is read from the dialog's layout loaded into a window never shown, which
// the program places as it places the dialog. The file dialog of the pop-up's load button is
// answered with the text file, or cancelled when there is none.
void runDialog(int32_t id, const Row& row, uint8_t key, uint8_t character, const std::string& textFile)
{
    HostNavAnswer answer;
    answer.cancel = textFile.empty();
    if (!textFile.empty())
        answer.paths = {textFile};
    if (row.layout == PopupDlg::kLayoutID)
        HostNavPresetAnswer(answer);
    std::vector<Point> clicks;
    if (!row.clicks.empty()) {
        FWWindow probe;
        probe.Initialize(nullptr, row.layout);
        for (auto [item, button] : row.clicks) {
            FWView* view = probe.ViewMngr().GetView(item);
            ASSERT_NE(nullptr, view) << row.title << " item " << item;
            FWRect r = view->GlobalRect();
            if (button >= 0) {
                r = static_cast<RadioButtonSet*>(view)->GetButton(button).mImageRect;
                view->ViewToWindow(r);
            }
            clicks.push_back(global(probe, FWPoint(int16_t((r.left + r.right) / 2), int16_t((r.top + r.bottom) / 2))));
        }
    }
    // The string ID's place in the tab order: 7 in the pop-up's dialog (after its label), 4 in
    // the material icon's (no width and height fields), else 6.
    std::vector<std::pair<int, const char*>> typed = row.typed;
    typed.emplace_back(row.layout == PopupDlg::kLayoutID ? 7 : row.layout == 0 ? 4 : 6, row.stringID);
    std::sort(typed.begin(), typed.end());
    doubleClick(id);
    Typist typist;
    for (auto [position, text] : typed)
        typist.Type(position, text);
    for (const Point& at : clicks)
        HostInjectClick(at);
    HostInjectKey(key, character);
}

} // namespace

class PropertyDialogsRunTest : public EditorFixture {};

TEST_F(PropertyDialogsRunTest, EachControlsDialogCancelledChangesNothingAndAcceptedStoresTheNewValues)
{
    HostUseSystemClock();
    const std::string path = File("layouts.rsrc");
    const std::string textFile = File("items.txt");
    TempFolder::WriteFile(textFile, "one\ntwo\nthree\n");
    const std::string before = layoutBytes(false);
    const std::string expected = layoutBytes(true);
    ASSERT_TRUE(MakeResourceFile(path, {{FOUR_CHAR_CODE("WINT"), kFixtureID, "All controls", before}}));
    auto calm = [] { return HostPendingInjectedCount() == 0 && FWWindow::ModalCount() == 0; };
    auto shownBytes = [] {
        Handle h = editWindow()->ViewMngr().SerializeViewTree();
        std::string bytes(*h, size_t(GetHandleSize(h)));
        DisposeHandle(h);
        return bytes;
    };
    std::string opened, saved;
    // The layout after each pass of cancelled dialogs, and whether it was marked changed.
    std::vector<std::pair<std::string, bool>> afterCancel;

    RunScript script(std::chrono::seconds(120));
    script.Then("the list of layouts", [] { return FWApp::Exists() && FWWindow::ModalCount() > 0; },
                [] {
                    const LayoutListPlaces list = LocateLayoutList();
                    HostInjectClick(list.Row(0));
                    HostInjectClick(list.buttons.at(CDialogWINT::kOpen));
                });
    script.Then("the edit window", [&] { return calm() && editWindow() != nullptr; },
                [&] {
                    HostResetModalLoops();
                    opened = shownBytes();
                });
    // Every dialog cancelled, then accepted and the layout saved, then cancelled again.
    for (const bool accept : {false, true, false}) {
        int32_t id = 2;
        for (const Row& row : kRows) {
            script.Then(std::string(accept ? "before accepting " : "before cancelling ") + row.title, calm,
                        [&row, id, accept, textFile] {
                            runDialog(id, row, accept ? kKeyReturn : kKeyEscape, accept ? 13 : 27,
                                      accept ? textFile : std::string());
                        });
            ++id;
        }
        if (accept)
            script.Then("the accepted dialogs", calm, [] { HostInjectKey(kKeyS, 's', cmdKey); })
                .Then("the save", [&] { return calm() && !editWindow()->IsDirty(); },
                      [&] { saved = StoredResource(path, FOUR_CHAR_CODE("WINT"), kFixtureID); });
        else
            script.Then("the cancelled dialogs", calm,
                        [&] { afterCancel.emplace_back(shownBytes(), editWindow()->IsDirty()); });
    }
    script.Then("the end", calm, [] { HostInjectKey(kKeyQ, 'q', cmdKey); });
    script.Start();
    const char* argv[] = {"quillform", path.c_str()};
    QZMain(2, argv);
    script.StopIdling();

    EXPECT_EQ("", script.TimedOut());
    EXPECT_TRUE(script.Finished());
    std::vector<std::string> titles, expectedTitles;
    for (const HostModalShown& shown : HostModalShownLog())
        if (shown.title.find("(ID:") != std::string::npos)
            titles.push_back(shown.title);
    for (int pass = 0; pass < 3; ++pass)
        for (const Row& row : kRows)
            expectedTitles.push_back(row.title);
    EXPECT_EQ(expectedTitles, titles);

    ASSERT_EQ(2u, afterCancel.size());
    EXPECT_FALSE(opened.empty());
    EXPECT_TRUE(opened == afterCancel[0].first) << "a cancelled dialog changed the layout as opened";
    EXPECT_TRUE(saved == afterCancel[1].first) << "a cancelled dialog changed the layout as saved";
    EXPECT_FALSE(afterCancel[0].second || afterCancel[1].second) << "cancelled dialogs mark the layout changed";
    EXPECT_EQ(expected.size(), saved.size());
    EXPECT_TRUE(expected == saved) << "the saved layout differs from the controls made with the new values";
}

TEST_F(PropertyDialogsRunTest, FewerLayersAskBeforeDeletingTheControlsPlacedInTheGroup)
{
    HostUseSystemClock();
    const std::string path = File("sample.rsrc");
    std::filesystem::copy_file(FW_SAMPLE_RSRC, path);
    // Layout 128's group (17) holds a check box (19) and a radio set (20). Its layers are typed,
    // then the keys that answer the dialog and the question.
    auto placed = [] { return editWindow()->ViewMngr().GetView(19) && editWindow()->ViewMngr().GetView(20); };
    auto layers = [](const char* typed, std::vector<std::pair<uint8_t, uint8_t>> keys) {
        doubleClick(17);
        Typist().Type(8, typed);
        for (auto [key, character] : keys)
            HostInjectKey(key, character);
    };
    auto idle = [](int modal) { return HostPendingInjectedCount() == 0 && FWWindow::ModalCount() == modal; };
    bool keptAfterCancel = false;
    auto asked = [](size_t times) { return ShownMessageTexts().size() == times; };
    RunScript script(std::chrono::seconds(60));
    script.Then("the list", [&] { return FWApp::Exists() && idle(1); },
                [] {
                    HostInjectClick(LocateLayoutList().Row(0));
                    HostInjectClick(LocateLayoutList().buttons.at(CDialogWINT::kOpen));
                })
        .Then("layout 128", [&] { return idle(0) && editWindow() && placed(); }, [&] { layers("1", {{kKeyReturn, 13}}); })
        .Then("one layer", [&] { return idle(0) && editWindow()->IsDirty(); },
              [&] { layers("0", {{kKeyReturn, 13}, {kKeyEscape, 27}}); })
        .Then("the question cancelled", [&] { return idle(1) && asked(1); },
              [&] {
                  keptAfterCancel = placed() && ShownMessageTexts().back() ==
                                                    "Setting the number of layers to 0 deletes 2 controls placed in the group.";
                  // The dialog's OK, 0 still typed; the question's default, Cancel; the dialog's OK.
                  HostInjectKey(kKeyReturn, 13);
                  HostInjectKey(kKeyReturn, 13);
                  HostInjectKey(kKeyReturn, 13);
              })
        .Then("the question's OK", [&] { return idle(2) && asked(3); }, ClickFrontOK)
        .Then("the deletion", [&] { return idle(0) && !placed(); },
              [] {
                  HostInjectKey(kKeyQ, 'q', cmdKey);
                  HostInjectKey(kKeyReturn, 13); // "Save changes before quit ?": Yes
              });
    script.Start();
    const char* argv[] = {"quillform", path.c_str()};
    QZMain(2, argv);
    script.StopIdling();
    EXPECT_EQ("", script.TimedOut());
    EXPECT_TRUE(keptAfterCancel) << "Cancel keeps the dialog open and the controls, after the question";
    EXPECT_EQ(std::string::npos, DescribeLayout(StoredResource(path, FOUR_CHAR_CODE("WINT"), 128)).find("CheckBox"));
}
