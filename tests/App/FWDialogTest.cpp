// The modal dialog: keys, buttons, the modal stack, headless answers, and the assertion alert
// that presents programmer messages while an application runs.
#include "FWDialog.h"

#include "ControlTestWindow.h"
#include "FWApp.h"
#include "FWEventDispatcher.h"
#include "FWStr.h"
#include "FWUserMsg.h"
#include "HostClock.h"
#include "HostHeadless.h"
#include "HostModalLoop.h"
#include "HostSound.h"
#include "ProgrammerMessageRecorder.h"
#include "PushButton.h"
#include "ShownMessages.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// A dialog with an OK and a Cancel button as its default views.
class TestDialog : public FWModalDialog {
public:
    void AutoInit() override
    {
        if (GetPDW() != nullptr)
            return;
        Initialize(nullptr, FWRect(300, 200, 506, 328));
        mOK = new OKButton;
        mOK->Init(this, FWRect(120, 60, 0, 0), nullptr);
        mCancel = new CancelButton;
        mCancel->Init(this, FWRect(20, 60, 0, 0), nullptr);
        ViewMngr().GetViewTree()->AppendChild(mOK);
        ViewMngr().GetViewTree()->AppendChild(mCancel);
        mOK->MakeDefaultAccept();
        mCancel->MakeDefaultCancel();
    }
    bool DialogAccepted(FWView*) override
    {
        ++mAsked;
        return mAccept;
    }
    OKButton* mOK = nullptr;
    CancelButton* mCancel = nullptr;
    int mAsked = 0;
    bool mAccept = true;
};

FWEvent key(char c, uint16_t modifiers = 0)
{
    FWEvent event(kKeyDownEvent, nullptr, modifiers);
    event.mMessage = uint8_t(c);
    return event;
}

class FWDialogTest : public ShownMessagesTest {};

class TestApp : public FWApp {
public:
    void GetPreferencesDirectory(FileReference&) const override {}
    void DoFirstAction() override {}
    void InitMenus() override {}
};

} // namespace

TEST_F(FWDialogTest, KeysWorkTheDefaultViews)
{
    struct Case {
        FWEvent event;
        bool accepted;
        int asked;
    } cases[] = {
        {key(13), true, 1},
        {key(3), true, 1},
        {key(27), false, 0},
        {key('.', kFWCommandKey), false, 0},
    };
    for (const Case& c : cases) {
        TestDialog dialog;
        dialog.AutoInit();
        dialog.Show();
        const uint32_t before = TickCount();
        FWEvent event = c.event;
        EXPECT_TRUE(dialog.KeyDownEvent(event));
        EXPECT_TRUE(dialog.IsDone());
        EXPECT_EQ(c.accepted, dialog.IsAccepted());
        EXPECT_EQ(c.asked, dialog.mAsked);
        EXPECT_EQ(before + 6, TickCount()); // the button showed pressed for 6 ticks
        dialog.Hide();
    }
}

TEST_F(FWDialogTest, KeysWithoutUsableViews)
{
    TestDialog dialog;
    dialog.AutoInit();
    dialog.Show();
    // A ghosted default button lets Return go on down the handler chain.
    dialog.mOK->SetGhosted(true);
    FWEvent ret = key(13);
    EXPECT_FALSE(dialog.KeyDownEvent(ret));
    // Escape with no cancel view is swallowed; the dialog stays.
    dialog.mCancel->SetDefaultCancel(false);
    FWEvent escape = key(27);
    EXPECT_TRUE(dialog.KeyDownEvent(escape));
    EXPECT_FALSE(dialog.IsDone());
    // A refusing DialogAccepted keeps the dialog open.
    dialog.mOK->SetGhosted(false);
    dialog.mAccept = false;
    EXPECT_TRUE(dialog.KeyDownEvent(ret));
    EXPECT_FALSE(dialog.IsDone());
    dialog.Hide();
}

TEST_F(FWDialogTest, ExecuteRunsTheLoopAndHeadlessAnswersPressButtons)
{
    struct Case {
        std::function<void(TestDialog&)> input;
        bool accepted;
    } cases[] = {
        {[](TestDialog&) { HostInjectKey(36, 13); }, true},
        {[](TestDialog&) { HostInjectKey(53, 27); }, false},
        {[](TestDialog&) { HostModalPresetAnswer(HostModalAnswer::kCancel); }, false},
        {[](TestDialog&) { HostModalPresetAnswer(HostModalAnswer::kDefault); }, true},
        {[](TestDialog&) {}, true}, // nobody answers: accepted
        {[](TestDialog& d) {
             // A click on Cancel.
             d.AutoInit();
             FWPoint p(40, 70);
             d.WindowToGlobal(&p);
             HostInjectClick(Point{p.v, p.h});
         },
         false},
    };
    for (Case& c : cases) {
        TestDialog dialog;
        c.input(dialog);
        EXPECT_EQ(c.accepted, dialog.Execute());
        EXPECT_FALSE(dialog.IsDone()); // cleared for the next run
        EXPECT_EQ(0, FWWindow::ModalCount());
    }
}

TEST_F(FWDialogTest, DialogsNestAndUnbalancedShowsAndHidesAreReported)
{
    ProgrammerMessageRecorder messages;
    {
        TestDialog outer, inner;
        outer.AutoInit();
        inner.AutoInit();
        outer.Show();
        inner.Show();
        EXPECT_EQ(&inner, FWWindow::ModalWindow());
        EXPECT_EQ(2, FWWindow::ModalCount());
        outer.Hide(); // not the innermost: line 96
        inner.Hide(); // the stack is broken now: 96 again
        EXPECT_EQ(0, FWWindow::ModalCount());

        FWWindow::sModalCount = -1;
        outer.Show(); // line 83
        FWWindow::sModalCount = 0;
        outer.Hide(); // line 100
        FWWindow::sModalCount = 0;
        outer.Show();
        FWWindow::sModalCount = 0;
    } // outer deleted while shown: line 71
    std::vector<int> lines;
    for (const RecordedProgrammerMessage& m : messages.Messages()) {
        EXPECT_EQ("FW/App/Source/FWDialog", m.sourcePath);
        lines.push_back(m.line);
    }
    EXPECT_EQ((std::vector<int>{96, 96, 83, 100, 71}), lines);
    FWWindow::sModalCount = 0;
    FWWindow::sModalWindow = nullptr;
}

TEST_F(FWDialogTest, OtherWindowsAreLeftAloneWhileADialogIsUp)
{
    ControlTestWindow other;
    other.Window().SetResizing(true, nullptr, 255);
    FWWindow* key = &other.Window();
    FWEventDispatcher::Instance()->SetKeyWindow(key);

    auto* doomed = new FWWindow(0);
    doomed->Initialize(nullptr, FWRect(500, 500, 600, 600));
    FWEventDispatcher::Instance()->SetKeyWindow(doomed);
    TestDialog dialog;
    dialog.AutoInit();
    dialog.Show();
    FWEventDispatcher::Instance()->SetKeyWindow(&dialog);
    // Resizing another window is refused under the dialog.
    FWEvent press(kMouseDownEvent, key, 0);
    press.mGlobalWhere = FWPoint(405, 327);
    EXPECT_FALSE(other.Window().DragResizeWindow(press));
    dialog.Hide();
    FWEventDispatcher::Instance()->SetKeyWindow(doomed);

    // The window that was key before the dialog is deleted while it is up: it is not restored.
    struct Deleting : TestDialog {
        FWWindow* victim = nullptr;
        bool DialogAccepted(FWView* v) override
        {
            victim->SendMessage(Dependable::IsBeingDeleted);
            delete victim;
            return TestDialog::DialogAccepted(v);
        }
    } deleting;
    deleting.victim = doomed;
    EXPECT_TRUE(deleting.Execute());
    EXPECT_EQ(nullptr, FWEventDispatcher::Instance()->KeyWindow());
}

TEST_F(FWDialogTest, TheAssertionAlertShowsTheFailureAndCanAbort)
{
    // Without an application the text goes to stderr.
    testing::internal::CaptureStderr();
    EXPECT_EQ(1, fw_programmer_message("early", "FW/App/Source/FWDialog", 83));
    EXPECT_NE(std::string::npos, testing::internal::GetCapturedStderr().find("on line 83."));
    EXPECT_TRUE(ShownMessageTexts().empty());

    auto* app = new TestApp;
    testing::internal::CaptureStderr();
    EXPECT_EQ(1, fw_programmer_message("the count went wrong", "FW/App/Source/FWDialog", 83));
    EXPECT_NE(std::string::npos, testing::internal::GetCapturedStderr().find("the count went wrong"));
    fw_programmer_message("", "FW/App/Source/FWDialog", 96);
    EXPECT_EQ((std::vector<std::string>{"An assertion failed in FW/App/Source/FWDialog on line 83.\r\rthe count went wrong",
                                        "An assertion failed in FW/App/Source/FWDialog on line 96."}),
              ShownMessageTexts());
    EXPECT_EQ(2u, HostBeepCount());

    EXPECT_DEATH(
        {
            HostModalPresetAnswer(HostModalAnswer::kDefault);
            fw_programmer_message("fatal", "FW/App/Source/FWDialog", 1);
        },
        "");
    delete app;
}
