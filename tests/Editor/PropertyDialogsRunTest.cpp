// The property dialogs in the running editor: a sample layout opened from its file's list, each
// control double-clicked in Edit mode opens its dialog; cancelled, it changes no byte of the file,
// accepted, it marks the layout changed.
#include "EditorFixture.h"

#include "CDialogWINT.h"
#include "EditWindow.h"
#include "FWApp.h"
#include "FWView.h"
#include "FWWindow.h"
#include "HostClock.h"
#include "HostHeadless.h"
#include "HostModalLoop.h"
#include "HostNavDialogs.h"
#include "QuillformApp.h"
#include "RunScript.h"

#include <filesystem>
#include <string>

namespace {

constexpr uint8_t kKeyReturn = 36, kKeyEscape = 53, kKeyS = 1, kKeyQ = 12;

// The sample layout's controls (its ids).
constexpr int32_t kStaticText = 11, kGroup = 17, kPopup = 18, kCheckBox = 19;

EditWindow* editWindow()
{
    return FWApp::Exists() ? QuillformApp::Instance()->GetFrontEditWindow() : nullptr;
}

FWView* control(int32_t id)
{
    EditWindow* window = editWindow();
    return window != nullptr ? window->ViewMngr().GetView(id) : nullptr;
}

// Two clicks on the control, on the screen: at its centre, or for a container near its bottom-left
// corner, clear of what it holds and of its resize handles.
void doubleClick(int32_t id)
{
    FWView* view = control(id);
    ASSERT_NE(nullptr, view) << id;
    const FWRect r = view->GetRect();
    FWPoint where(int16_t((r.left + r.right) / 2), int16_t((r.top + r.bottom) / 2));
    if (view->AllowsChildren())
        where = FWPoint(int16_t(r.left + 10), int16_t(r.bottom - 10));
    editWindow()->WindowToGlobal(&where);
    HostInjectClick(Point{where.v, where.h});
    HostInjectClick(Point{where.v, where.h});
}

} // namespace

class PropertyDialogsRunTest : public EditorFixture {};

TEST_F(PropertyDialogsRunTest, DoubleClickedControlsOpenTheirDialogsWhereCancelChangesNothingAndOKMarksTheLayout)
{
    HostUseSystemClock();
    const std::string path = File("layouts.rsrc");
    std::filesystem::copy_file(FW_SAMPLE_RSRC, path);
    const std::string original = TempFolder::ReadFile(path);
    bool cleanAfterCancel = false;

    RunScript script(std::chrono::seconds(60));
    script
        .Then("the list of layouts", [] { return FWApp::Exists() && FWWindow::ModalCount() > 0; },
              [] {
                  const LayoutListPlaces list = LocateLayoutList();
                  HostInjectClick(list.Row(0));
                  HostInjectClick(list.buttons.at(CDialogWINT::kOpen));
              })
        .Then("the edit window", [] { return editWindow() != nullptr && FWWindow::ModalCount() == 0; },
              [] {
                  HostResetModalLoops();
                  for (int32_t id : {kStaticText, kCheckBox, kGroup, kPopup}) {
                      doubleClick(id);
                      HostInjectKey(kKeyEscape, 27);
                  }
              })
        .Then("the cancelled dialogs", [] { return HostPendingInjectedCount() == 0 && FWWindow::ModalCount() == 0; },
              [&] {
                  cleanAfterCancel = !editWindow()->IsDirty();
                  HostInjectKey(kKeyS, 's', cmdKey);
                  doubleClick(kStaticText);
                  HostInjectKey(kKeyReturn, 13);
              })
        .Then("the accepted dialog", [] { return editWindow()->IsDirty(); },
              [] {
                  // Quit without the question whether to save: the file is to stay as it was.
                  editWindow()->SetDirty(false);
                  HostInjectKey(kKeyQ, 'q', cmdKey);
              });
    script.Start();
    const char* argv[] = {"quillform", path.c_str()};
    QZMain(2, argv);
    script.StopIdling();

    EXPECT_EQ("", script.TimedOut());
    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(cleanAfterCancel);
    std::vector<std::string> titles;
    for (const HostModalShown& shown : HostModalShownLog())
        titles.push_back(shown.title);
    EXPECT_EQ((std::vector<std::string>{"StaticText (ID:11)", "CheckBox (ID:19)", "Group (ID:17)", "Popup (ID:18)",
                                        "StaticText (ID:11)"}),
              titles);
    EXPECT_EQ(original, TempFolder::ReadFile(path)) << "cancelled dialogs change no byte";
}
