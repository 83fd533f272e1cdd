#include "FWUserMsg.h"

#include "HostDesktopScope.h"
#include "ShownMessages.h"
#include "HostModalLoop.h"
#include "HostSound.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class FWUserMsgTest : public ShownMessagesTest {};

// Runs a three-button question answered as given; returns Execute's answer and the result.
std::pair<bool, int32_t> ask(HostModalAnswer answer)
{
    FWUserMsg message("Save changes to \"%s\"?", "a.rsrc");
    message.SetOKTitle("Save");
    message.SetCancelTitle("Cancel");
    message.SetAltTitle("Don't Save");
    HostModalPresetAnswer(answer);
    bool accepted = message.Execute();
    message.SendMessage(Dependable::IsBeingDeleted);
    return {accepted, message.Result()};
}

} // namespace

TEST_F(FWUserMsgTest, EachButtonGivesItsResult)
{
    FWUserMsg plain("Hello %d", 7);
    EXPECT_EQ(-1, plain.Result());
    EXPECT_EQ(140, plain.IconID());
    EXPECT_TRUE(plain.Execute()); // nobody answers: the default button
    EXPECT_EQ(FWUserMsg::kResultOK, plain.Result());
    EXPECT_EQ(0u, HostBeepCount());

    EXPECT_EQ(std::make_pair(true, int32_t(2)), ask(HostModalAnswer::kDefault));
    EXPECT_EQ(std::make_pair(false, int32_t(3)), ask(HostModalAnswer::kCancel));
    EXPECT_EQ(std::make_pair(false, int32_t(4)), ask(HostModalAnswer::kAlternative));
    EXPECT_EQ((std::vector<std::string>{"Hello 7", "Save changes to \"a.rsrc\"?", "Save changes to \"a.rsrc\"?",
                                        "Save changes to \"a.rsrc\"?"}),
              ShownMessageTexts());
}

TEST_F(FWUserMsgTest, EmptyTitlesLeaveTheirButtonsOut)
{
    // No Cancel and no alternative button: those answers cannot be given, so the loop ends
    // without a result.
    FWUserMsg message("Only OK");
    message.SetCancelTitle("");
    HostModalPresetAnswer(HostModalAnswer::kAlternative);
    EXPECT_FALSE(message.Execute());
    EXPECT_EQ(-1, message.Result());
    HostModalPresetAnswer(HostModalAnswer::kCancel);
    EXPECT_FALSE(message.Execute());
    EXPECT_EQ(-1, message.Result());
}

TEST_F(FWUserMsgTest, LongTextsAreCutAt1023Characters)
{
    const std::string longText(1500, 'x');
    FWUserMsg message("%s", longText.c_str());
    EXPECT_EQ(std::string(1023, 'x'), message.Text());
}

TEST_F(FWUserMsgTest, DisplayShowsTheTextOnceAndBeepsOnlyWhenAsked)
{
    EXPECT_EQ(0, FWUserMsg::Display(nullptr));
    EXPECT_TRUE(ShownMessageTexts().empty());
    // The formatted text is not formatted a second time.
    EXPECT_EQ(1, FWUserMsg::Display("%s", "100%d sure"));
    EXPECT_EQ((std::vector<std::string>{"100%d sure"}), ShownMessageTexts());
    EXPECT_EQ(0u, HostBeepCount());

    FWUserMsg beeping("Careful");
    beeping.SetPlayBeep(true);
    beeping.Execute();
    EXPECT_EQ(1u, HostBeepCount());
    EXPECT_EQ(1, HostLastBeepDuration());
}
