#include "FWUserMsg.h"

#include "FWEventDispatcher.h"
#include "FWFont.h"
#include "HostDesktopScope.h"
#include "HostHeadless.h"
#include "HostModalLoop.h"
#include "HostResourceFile.h"
#include "HostResources.h"
#include "HostScreen.h"
#include "HostSound.h"
#include "PreorderTraversal.h"
#include "PushButton.h"
#include "SampleImages.h"
#include "ShownMessages.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

class FWUserMsgTest : public ShownMessagesTest {};

// Runs a three-button question answered as the input gives; returns Execute's answer and the
// result.
std::pair<bool, int32_t> ask(const std::function<void()>& input)
{
    FWUserMsg message("Save changes to \"%s\"?", "a.rsrc");
    message.SetOKTitle("Save");
    message.SetCancelTitle("Cancel");
    message.SetAltTitle("Don't Save");
    EXPECT_EQ(-1, message.Result());
    input();
    bool accepted = message.Execute();
    message.SendMessage(Dependable::IsBeingDeleted);
    return {accepted, message.Result()};
}

// An 'argb' 140 of the width, as the program's resource.
class IconResource {
public:
    static constexpr uint32_t kColor = 0xFF20A040;
    explicit IconResource(int width, int16_t id = 140)
    {
        const ByteBuilder icon = SampleArgb(width, 24, kColor);
        std::vector<HostResourceToWrite> resources{
            {FOUR_CHAR_CODE("argb"), id, 0, nullptr, icon.Data().data(), uint32_t(icon.Size())}};
        std::vector<HostResourceRecord> written;
        HostResourceFile::Build(resources, 0, nullptr, mFile, written);
        mRef = HostOpenMemoryResFile(mFile.data(), mFile.size());
    }
    ~IconResource() { CloseResFile(mRef); }

private:
    std::vector<uint8_t> mFile;
    SInt16 mRef = -1;
};

} // namespace

TEST_F(FWUserMsgTest, EachAnswerGivesItsResult)
{
    using P = std::pair<bool, int32_t>;
    EXPECT_EQ(P(true, 2), ask([] { HostModalPresetAnswer(HostModalAnswer::kDefault); }));
    EXPECT_EQ(P(false, 3), ask([] { HostModalPresetAnswer(HostModalAnswer::kCancel); }));
    EXPECT_EQ(P(true, 4), ask([] { HostModalPresetAnswer(HostModalAnswer::kAlternative); }));
    EXPECT_EQ(P(true, 4), ask([] { HostInjectKey(2, 'd'); }));
    EXPECT_EQ(P(true, 4), ask([] { HostInjectKey(2, 'D', shiftKey); }));
    EXPECT_EQ(P(true, 2), ask([] { HostInjectKey(36, 13); }));
    // Escape presses no button: taken as Cancel.
    EXPECT_EQ(P(false, 3), ask([] { HostInjectKey(53, 27); }));
    EXPECT_EQ(P(true, 2), ask([] {})); // nobody answers: the default button
    EXPECT_EQ(std::vector<std::string>(8, "Save changes to \"a.rsrc\"?"), ShownMessageTexts());
}

TEST_F(FWUserMsgTest, TheViewsAndTheirLayout)
{
    HostDesktopScope desktop;
    IconResource icon(32);
    FWUserMsg message("%s", "Hello");
    message.SetOKTitle("Save");
    message.SetCancelTitle("Cancel");
    message.SetAltTitle("Don't Save");
    EXPECT_EQ(32 + 340, message.calc_item_info().contentWidth);
    message.AutoInit();
    FWRect content;
    message.GetContentRect(&content);
    EXPECT_EQ(32 + 340, content.Width());

    std::vector<std::string> views;
    PreorderTraversal<FWView> walk(message.ViewMngr().GetViewTree(), false);
    walk.First(); // the root
    for (FWView* view = walk.Next(); view != nullptr; view = walk.Next())
        views.push_back(view->FactoryGetClassName());
    EXPECT_EQ((std::vector<std::string>{"StaticText", "PictureBox", "OKButton", "CancelButton", "PushButton"}), views);
    auto* alternative = dynamic_cast<PushButton*>(message.ViewMngr().GetView(2));
    ASSERT_NE(nullptr, alternative);
    EXPECT_STREQ("Don't Save", alternative->GetText().GetCString());
    EXPECT_TRUE(alternative->GetBoldText());

    FWUserMsg plain("Only OK");
    plain.SetIcon(0);
    EXPECT_EQ(330, plain.calc_item_info().contentWidth);
    plain.SetCancelTitle("");
    plain.AutoInit();
    int buttons = 0;
    PreorderTraversal<FWView> plainWalk(plain.ViewMngr().GetViewTree(), false);
    for (FWView* view = plainWalk.First(); view != nullptr; view = plainWalk.Next())
        if (auto* button = dynamic_cast<PushButton*>(view)) {
            ++buttons;
            EXPECT_STREQ("OK", button->GetText().GetCString());
        }
    EXPECT_EQ(1, buttons);
}

TEST_F(FWUserMsgTest, TheQuestionShowsItsIconAndButtonTitles)
{
    HostDesktopScope desktop;
    IconResource icon(32, 142);
    FWUserMsg question("Save changes to \"%s\"?", "a.rsrc");
    question.SetIcon(142);
    question.SetOKTitle("Save");
    question.SetCancelTitle("Cancel");
    question.SetAltTitle("Don't Save");
    question.AutoInit();
    question.Show();
    FWEventDispatcher::UpdateWindow(&question);
    HostComposeScreen();
    auto screen = [&question](int h, int v) {
        FWPoint p{int16_t(h), int16_t(v)};
        question.WindowToGlobal(&p);
        return HostScreenPixel(Point{p.v, p.h}) & 0xFFFFFF;
    };
    // The icon's picture box lies at content (10, 10); the picture inside its 1-pixel margin.
    EXPECT_EQ(IconResource::kColor & 0xFFFFFF, screen(11, 11));
    EXPECT_EQ(IconResource::kColor & 0xFFFFFF, screen(10 + 32, 10 + 24));
    // Each button shows its title: dark text pixels along its baseline.
    std::vector<std::string> titles;
    PreorderTraversal<FWView> walk(question.ViewMngr().GetViewTree(), false);
    for (FWView* view = walk.First(); view != nullptr; view = walk.Next()) {
        auto* button = dynamic_cast<PushButton*>(view);
        if (button == nullptr)
            continue;
        titles.push_back(button->GetText().GetCString());
        int dark = 0;
        const FWPoint pen = button->GetTextPosition();
        for (int h = pen.h; h < button->GetTextLimit(); ++h)
            for (int v = pen.v - 6; v < pen.v; ++v)
                dark += screen(h, v) == 0 ? 1 : 0;
        EXPECT_GT(dark, 5) << titles.back();
    }
    EXPECT_EQ((std::vector<std::string>{"Save", "Cancel", "Don't Save"}), titles);
    question.Hide();
}

TEST_F(FWUserMsgTest, ARunOfBreaksCountsOneLine)
{
    FWFont font;
    font.SetBold(true);
    FWFontMetrics metrics;
    font.GetFontMetrics(metrics);
    const int lineHeight = metrics.ascent + 2 * metrics.descent;
    auto height = [](const char* text) {
        FWUserMsg message("%s", text);
        message.SetIcon(0);
        return message.calc_item_info().text.Height();
    };
    EXPECT_EQ(height("one two") + lineHeight, height("one\r\r\rtwo"));
    EXPECT_EQ(height("one\rtwo"), height("one\n\r \ntwo"));
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
