// The shared layout in a running dialog: it loads, draws, takes clicks and Return, and saves
// back to the bytes it was loaded from.
#include "LayoutFixture.h"

#include "FWDialog.h"
#include "FWEventDispatcher.h"
#include "FWView.h"
#include "HostDesktopScope.h"
#include "HostHeadless.h"
#include "HostMemory.h"
#include "HostScreen.h"
#include "ShownMessages.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using namespace LayoutFixture;

class FixtureDialog : public FWModalDialog {
public:
    void AutoInit() override
    {
        if (GetPDW() != nullptr)
            return;
        Initialize(nullptr, FWRect(200, 150, 200 + kWidth + 6, 150 + kHeight + 28));
        const std::string& bytes = Bytes();
        ASSERT_TRUE(ViewMngr().InitializeFromData(bytes.data(), uint32_t(bytes.size())));
    }
    bool InterfaceEvent(FWView* view) override
    {
        mEvents.push_back(view->ID());
        return FWModalDialog::InterfaceEvent(view);
    }
    bool InterfaceAction(FWView* view, const ActionType& action) override
    {
        mEvents.push_back(view->ID() * 10 + action.mAction);
        return true;
    }
    Point Global(int16_t h, int16_t v)
    {
        FWPoint p(h, v);
        WindowToGlobal(&p);
        return Point{p.v, p.h};
    }
    std::vector<int32_t> mEvents;
};

class LayoutFixtureTest : public ShownMessagesTest {};

} // namespace

TEST_F(LayoutFixtureTest, LoadsAndSavesBackToItsBytes)
{
    FixtureDialog dialog;
    dialog.AutoInit();
    Handle h = dialog.ViewMngr().SerializeViewTree();
    ASSERT_NE(nullptr, h);
    EXPECT_EQ(Bytes(), std::string(*h, *h + GetHandleSize(h)));
    DisposeHandle(h);
    for (int32_t id : {kStaticText, kPushButton, kScroller, kPictureBox, kGroup, kPageCheckBox, kRadioSet, kPopup,
                       kCheckBox, kLinkedView, kOK, kCancel, kListBox, kOutlineView})
        EXPECT_NE(nullptr, dialog.ViewMngr().GetView(id)) << id;
    EXPECT_EQ(kOK, dialog.ViewMngr().DefaultAccept()->ID());
    EXPECT_EQ(kCancel, dialog.ViewMngr().DefaultCancel()->ID());
}

TEST_F(LayoutFixtureTest, DrawsItsControls)
{
    FixtureDialog dialog;
    dialog.AutoInit();
    dialog.Show();
    FWEventDispatcher::UpdateWindow(&dialog);
    HostComposeScreen();
    // The push button's top edge and the scroller's frame are black.
    EXPECT_EQ(0u, HostScreenPixel(dialog.Global(40, 40)) & 0xFFFFFF);
    EXPECT_EQ(0u, HostScreenPixel(dialog.Global(290, 100)) & 0xFFFFFF);
    dialog.Hide();
}

TEST_F(LayoutFixtureTest, TakesClicksAndReturn)
{
    using P = Places;
    struct Case {
        std::function<void(FixtureDialog&)> input;
        bool accepted;
        std::vector<int32_t> events;
    } cases[] = {
        {[](FixtureDialog& d) {
             HostInjectClick(d.Global(P::kButtonH, P::kButtonV));
             HostInjectKey(36, 13);
         },
         true, {kPushButton}},
        {[](FixtureDialog& d) { HostInjectClick(d.Global(P::kCancelH, P::kCancelV)); }, false, {kCancel}},
        // An empty list box with the key focus leaves Return to the default button.
        {[](FixtureDialog& d) {
             HostInjectClick(d.Global(P::kListBoxH, P::kListBoxV));
             HostInjectKey(36, 13);
         },
         true, {kListBox}},
        {[](FixtureDialog& d) { HostInjectClick(d.Global(P::kOKH, P::kOKV)); }, true, {kOK}},
        {[](FixtureDialog& d) {
             HostInjectClick(d.Global(P::kCheckBoxH, P::kCheckBoxV));
             HostInjectClick(d.Global(P::kRadioH, P::kRadioV));
             HostInjectKey(53, 27);
         },
         false, {kCheckBox, kRadioSet}},
        {[](FixtureDialog& d) {
             HostInjectMouseDown(d.Global(P::kScrollerH, P::kScrollerV));
             HostInjectMouseMove(d.Global(P::kScrollerH, P::kScrollerV + 40));
             HostInjectMouseUp(d.Global(P::kScrollerH, P::kScrollerV + 40));
             HostInjectKey(53, 27);
         },
         false, {kScroller * 10, kScroller * 10 + 1, kScroller * 10 + 2, kScroller}},
    };
    for (Case& c : cases) {
        HostDesktopScope desktop;
        FixtureDialog dialog;
        dialog.AutoInit();
        c.input(dialog);
        EXPECT_EQ(c.accepted, dialog.Execute());
        EXPECT_EQ(c.events, dialog.mEvents);
    }
}
