// A layout of group box pages, check boxes linked to fields, a radio set and pop-ups, stored and
// loaded as a 'WINT' layout and then used through the event loop the way a user does: clicks
// reach the controls through the dispatcher, a pop-up item is chosen in the real menu, the
// ghosting shows in the window's pixels, and the changed layout saves back to stable bytes.
#include "BranchItem.h"
#include "CheckBox.h"
#include "EditText.h"
#include "FWAppColor.h"
#include "FWEventDispatcher.h"
#include "FWEventManager.h"
#include "FWFont.h"
#include "FWOpItem.h"
#include "FWOpMenu.h"
#include "FWStr.h"
#include "FWViewMngr.h"
#include "Group.h"
#include "HostEvents.h"
#include "HostHeadless.h"
#include "HostMemory.h"
#include "HostWindows.h"
#include "Popup.h"
#include "PreorderTraversal.h"
#include "RadioButtonSet.h"

#include "ControlTestWindow.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<char> saved(FWWindow& window)
{
    Handle h = window.ViewMngr().SerializeViewTree();
    if (h == nullptr)
        return {};
    std::vector<char> bytes(*h, *h + GetHandleSize(h));
    DisposeHandle(h);
    return bytes;
}

FWOpMenu* colours()
{
    auto* menu = new FWOpMenu("", 0, 128, 0, 0, nullptr, nullptr, nullptr, nullptr, 0);
    for (const char* name : {"Red", "Green", "Blue"})
        menu->AppendChild(new FWOpItem(name, 0, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0));
    return menu;
}

// The layout: a group box with two pages; on the first a field switched by a check box, a field
// switched by the radio set's third button, and a pop-up; on the second another check box.
std::vector<char> buildLayout()
{
    FWWindow window;
    window.SetSize(306, 228);
    window.ViewMngr().Initialize(FWRect());
    FWView* root = window.ViewMngr().GetViewTree();

    auto* group = new Group;
    root->AppendChild(group);
    FWStr<31> title("Settings");
    group->Init(&window, FWRect(5, 5, 295, 195), &title, Group::kTopLeft, Group::kEngraved);
    group->SetBranchTotal(2);
    FWView* page = group->FindBranch(0);

    auto* first = new EditText;
    first->Init(&window, FWRect(120, 25, 280, 45), nullptr);
    auto* second = new EditText;
    second->Init(&window, FWRect(120, 60, 280, 80), nullptr);
    auto* box = new CheckBox;
    FWStr<31> boxLabel("Name");
    box->Init(&window, FWPoint(15, 27), &boxLabel);
    box->SetLinkedItem(0, first->ID());
    auto* radio = new RadioButtonSet;
    FWStr<31> labels[3] = {"One", "Two", "Three"};
    radio->Init(&window, FWPoint(15, 60), 3, labels);
    radio->SetLinkedID(2, second->ID());
    auto* popup = new Popup;
    popup->Init(&window, colours(), true);
    FWStr<31> popupLabel("Colour:");
    popup->Init(&window, FWRect(15, 120, 200, 140), &popupLabel, 0, true);
    for (FWView* v : std::initializer_list<FWView*>{first, second, box, radio, popup})
        page->AppendChild(v);

    auto* other = new CheckBox;
    FWStr<31> otherLabel("Other page");
    other->Init(&window, FWPoint(15, 30), &otherLabel);
    group->FindBranch(1)->AppendChild(other);
    return saved(window);
}

template <class T>
T* find(FWWindow& window, int nth = 0)
{
    PreorderTraversal<FWView> walk(window.ViewMngr().GetViewTree(), false);
    for (FWView* v = walk.First(); v != nullptr; v = walk.Next())
        if (auto* found = dynamic_cast<T*>(v); found != nullptr && nth-- == 0)
            return found;
    return nullptr;
}

class ControlsLayoutTest : public ::testing::Test {
protected:
    ControlsLayoutTest() { FWSetColorScheme(); }

    // Runs the event loop until every injected input has been handled.
    void pump()
    {
        FWEventManager* manager = FWEventManager::Instance();
        while (HostPendingInjectedCount() > 0 || HostQueuedEventCount() > 0) {
            FWEvent event;
            manager->GetSystemEvent(event, false);
            FWEventDispatcher::Instance()->Dispatch(event);
        }
        FWEventDispatcher::UpdateWindow(&mDesk.Window());
    }
    Point global(FWPoint local)
    {
        const FWPoint g = ControlTestWindow::ToGlobal(mDesk.Window(), local);
        return Point{g.v, g.h};
    }
    void click(FWPoint local)
    {
        HostInjectClick(global(local));
        pump();
    }
    // The window's pixels over a view's rectangle.
    std::vector<uint32_t> pixels(const FWView& view)
    {
        FWWindow& w = mDesk.Window();
        const HostPixelMap& port = GetWindowPort(w.GetPDW())->Pixels();
        const FWRect r = view.GetRect();
        std::vector<uint32_t> out;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                out.push_back(port.Get(x + w.FrameWidth(), y + w.TitleWidth()) & 0xFFFFFF);
        return out;
    }

    ControlTestWindow mDesk;
};

} // namespace

TEST_F(ControlsLayoutTest, ClickedChosenGhostedAndSavedBack)
{
    const std::vector<char> stored = buildLayout();
    ASSERT_FALSE(stored.empty());
    FWWindow& window = mDesk.Window();
    ASSERT_TRUE(window.ViewMngr().InitializeFromData(stored.data(), uint32_t(stored.size())));
    EXPECT_EQ(stored, saved(window));
    window.ViewMngr().WindowBecameVisible(); // as showing the window after loading does

    auto* box = find<CheckBox>(window);
    auto* radio = find<RadioButtonSet>(window);
    auto* popup = find<Popup>(window);
    auto* first = find<EditText>(window, 0);
    auto* second = find<EditText>(window, 1);
    auto* group = find<Group>(window);
    ASSERT_TRUE(box && radio && popup && first && second && group);
    EXPECT_EQ(2, group->GetBranchTotal());
    EXPECT_FALSE(find<CheckBox>(window, 1)->AllParentsVisible()); // on the hidden page
    FWEventDispatcher::UpdateWindow(&window);
    const std::vector<uint32_t> usable = pixels(*first);

    // The check box: unchecked, its field is ghosted and looks it; checked again, it is back.
    click(FWPoint(20, 35));
    EXPECT_FALSE(box->GetState());
    EXPECT_TRUE(first->IsGhosted());
    EXPECT_NE(usable, pixels(*first));
    click(FWPoint(20, 35));
    EXPECT_TRUE(box->GetState());
    EXPECT_FALSE(first->IsGhosted());
    EXPECT_EQ(usable, pixels(*first));

    // The radio set's third button ghosts the second field.
    const std::vector<uint32_t> secondUsable = pixels(*second);
    click(FWPoint(20, 60 + 2 * 14 + 5));
    EXPECT_EQ(2, radio->GetActiveButton());
    EXPECT_TRUE(second->IsGhosted());
    EXPECT_NE(secondUsable, pixels(*second));

    // The pop-up: pressed, held past the sticky time, released on "Blue" in its menu.
    FWFontMetrics m;
    FWFont().GetFontMetrics(m);
    const int row = m.ascent + m.descent + m.leading + 2;
    const FWRect r = popup->GetRect();
    const FWPoint menuAt(int16_t(r.left + popup->GetLabelWidth() + 1), int16_t(r.top + 1));
    HostInjectMouseDown(global(FWPoint(int16_t(menuAt.h + 10), int16_t(r.top + 5))));
    HostInjectClockAdvance(600'000'000);
    const Point blue = global(FWPoint(int16_t(menuAt.h + 20), int16_t(menuAt.v + 2 * row + row / 2)));
    HostInjectMouseMove(blue);
    HostInjectMouseUp(blue);
    pump();
    EXPECT_EQ(2, popup->ItemSelected());
    EXPECT_EQ(FWStr<31>("Blue"), popup->GetItemText());

    // The changed layout saves, loads and saves back to the same bytes.
    const std::vector<char> changed = saved(window);
    ASSERT_FALSE(changed.empty());
    EXPECT_NE(stored, changed);
    FWWindow copy;
    copy.SetSize(306, 228);
    ASSERT_TRUE(copy.ViewMngr().InitializeFromData(changed.data(), uint32_t(changed.size())));
    copy.ViewMngr().WindowBecameVisible();
    EXPECT_EQ(changed, saved(copy));
    EXPECT_EQ(2, find<Popup>(copy)->ItemSelected());
    EXPECT_EQ(2, find<RadioButtonSet>(copy)->GetActiveButton());
}
