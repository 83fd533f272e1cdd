// Closing a changed document in the running application: the question is a framework dialog
// over the document's window; other windows only beep while it is up.
#include "RunFixture.h"

#include "FWApp.h"
#include "FWWindow.h"
#include "HostHeadless.h"
#include "HostModalLoop.h"
#include "HostSound.h"

namespace {

constexpr uint8_t kKeyD = 2, kKeyEscape = 53, kKeyQ = 12;

size_t documentCount()
{
    return FWApp::Instance()->GetDocumentList().Size();
}

} // namespace

class RunCloseQuestionTest : public RunFixture {};

TEST_F(RunCloseQuestionTest, EscapeKeepsTheDocumentAndDontSaveClosesIt)
{
    ASSERT_TRUE(MakeRunLayoutFile(mLayoutPath));
    HostResetModalLoops();
    HostResetBeeps();
    size_t keptAfterEscape = 0;
    int modalAfterEscape = -1;
    RunScript script;
    script
        .Then("the document's window", [] { return RunApp::DocumentWindow() != nullptr; },
              [&] {
                  FWApp::Instance()->GetActiveDocument()->SetDirtyFlag(true);
                  // A click on the document's window under the question, then Escape.
                  HostInjectClick(ProbeCentre());
                  HostInjectKey(kKeyEscape, 27);
                  FWApp::Instance()->DoFileClose();
                  keptAfterEscape = documentCount();
                  modalAfterEscape = FWWindow::ModalCount();
                  HostInjectKey(kKeyD, 'd');
                  FWApp::Instance()->DoFileClose();
              })
        .Then("the document closed", [] { return documentCount() == 0; },
              [] { HostInjectKey(kKeyQ, 'q', cmdKey); });
    Run({mLayoutPath}, script);

    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(1u, keptAfterEscape);
    EXPECT_EQ(0, modalAfterEscape);
    EXPECT_EQ(1u, HostBeepCount()); // the click on the other window
    EXPECT_FALSE(LogHas("probe mouse down")) << LogText();
    int questions = 0;
    for (const HostModalShown& shown : HostModalShownLog())
        if (!shown.texts.empty() && shown.texts.front() == "Save changes to \"layout.rsrc\"?")
            ++questions;
    EXPECT_EQ(2, questions);
}
