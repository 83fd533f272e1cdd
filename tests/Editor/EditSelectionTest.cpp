// Editing a layout with the mouse and keys: selecting, handles, moving on the grid, re-homing,
// duplicating, resizing, nudging, and creating controls with the tools.
#include "EditorFixture.h"

#include "AddControls.h"
#include "CheckBox.h"
#include "CQF_Document.h"
#include "EditWindow.h"
#include "FWDrawContext.h"
#include "FWEvent.h"
#include "FWViewMngr.h"
#include "Group.h"
#include "HostEvents.h"
#include "HostHeadless.h"
#include "HostScreen.h"
#include "Popup.h"
#include "PreorderTraversal.h"
#include "ProgrammerMessageRecorder.h"
#include "PushButton.h"
#include "QuillformApp.h"
#include "StaticText.h"

#include <algorithm>
#include <filesystem>
#include <new>

namespace {

// Counts its property dialogs. Its storage is one fixed block, so a new one takes the address
// of the one deleted before it.
class CountingView : public FWView {
public:
    static void* operator new(size_t) { return sBlock; }
    static void operator delete(void*) {}
    bool DoInterface() override
    {
        ++sDialogs;
        return false;
    }
    static inline int sDialogs = 0;
    alignas(std::max_align_t) static inline unsigned char sBlock[4096];
};

std::string className(FWView* view)
{
    return view != nullptr ? view->FactoryGetClassName() : "none";
}

std::vector<uint32_t> screen()
{
    HostComposeScreen();
    const HostPixelMap& map = HostScreenPixels();
    std::vector<uint32_t> pixels;
    for (int32_t y = 0; y < map.Height(); ++y)
        for (int32_t x = 0; x < map.Width(); ++x)
            pixels.push_back(map.Get(x, y));
    return pixels;
}

// The views of a tree, pages aside.
std::vector<FWView*> views(FWView* root)
{
    std::vector<FWView*> all;
    PreorderTraversal<FWView> walk(root, false);
    for (FWView* v = walk.First(); v != nullptr; v = walk.Next())
        if (std::string(v->FactoryGetClassName()) != "BranchItem")
            all.push_back(v);
    return all;
}

} // namespace

class EditSelectionTest : public EditorFixture {
protected:
    void SetUp() override
    {
        StartApp();
        mPath = File("sample.rsrc");
        std::filesystem::copy_file(FW_SAMPLE_RSRC, mPath);
        auto* document = new CQF_Document;
        document->SetAssociatedFile(FileReference(mPath.c_str()));
        ASSERT_TRUE(document->ReadWINT());
        window = new EditWindow(document, 128);
        EditWindow::mCreatedInstance = nullptr;
        QuillformApp::Instance()->SetGridSize(1);
    }

    Point global(FWPoint p) const
    {
        window->WindowToGlobal(&p);
        return Point{p.v, p.h};
    }
    // A press at from (window-content coordinates), the pointer through path, released at its end.
    void drag(FWPoint from, std::vector<FWPoint> path, uint16_t modifiers = 0, bool doubleClick = false)
    {
        HostInjectMouseDown(global(from), modifiers);
        for (FWPoint p : path)
            HostInjectMouseMove(global(p));
        HostInjectMouseUp(global(path.empty() ? from : path.back()), modifiers);
        EventRecord record;
        while (WaitNextEvent(everyEvent, &record, 0, nullptr) && record.what != mouseDown) {
        }
        FWEvent event(kMouseDownEvent, window, modifiers);
        event.mWhere = from;
        event.mMessage = doubleClick ? 1 : 0;
        window->MouseDownEvent(event);
        HostDiscardInjected();
    }
    void click(FWPoint at, uint16_t modifiers = 0, bool doubleClick = false) { drag(at, {}, modifiers, doubleClick); }
    FWView* view(int32_t id) { return window->ViewMngr().GetView(id); }
    // The first view in tree order made by a drag, or null.
    FWView* madeBy(FWPoint from, FWPoint to, uint16_t modifiers = 0)
    {
        const std::vector<FWView*> before = views(window->ViewMngr().GetViewTree());
        drag(from, {to}, modifiers);
        for (FWView* v : views(window->ViewMngr().GetViewTree()))
            if (std::find(before.begin(), before.end(), v) == before.end())
                return v;
        return nullptr;
    }
    std::vector<int32_t> selectedIDs()
    {
        std::vector<int32_t> ids;
        for (FWView* v : window->SelectedViews())
            ids.push_back(v->ID());
        return ids;
    }

    std::string mPath;
    EditWindow* window = nullptr;
};

TEST_F(EditSelectionTest, TheGridSnapsEachCoordinateToTheNearerMultipleTiesUpNegativesTowardZero)
{
    QuillformApp::Instance()->SetGridSize(10);
    const int16_t in[] = {14, 15, 16, -3, -7, -13, 0, 25};
    const int16_t out[] = {10, 20, 20, 0, 0, -10, 0, 30};
    for (size_t i = 0; i < std::size(in); ++i) {
        FWPoint p(in[i], in[i]);
        EditWindow::MouseToGrid(&p);
        EXPECT_EQ(FWPoint(out[i], out[i]), p) << in[i];
    }
    QuillformApp::Instance()->SetGridSize(0);
    FWPoint p(14, -3);
    EditWindow::MouseToGrid(&p);
    EXPECT_EQ(FWPoint(14, -3), p);
}

TEST_F(EditSelectionTest, HandlesAreFoundInOrderAndNarrowedByTheControl)
{
    // The push button 14 spans (16, 72) to (116, 94); the edit text 13 (100, 36) to (240, 54).
    struct Case {
        int32_t id;
        int16_t h, v;
        FWView::EditType region;
    };
    const Case cases[] = {
        {14, 60, 83, FWView::kEditMove},   {14, 115, 93, FWView::kEditBottomRight},
        {14, 115, 73, FWView::kEditTopRight}, {14, 17, 73, FWView::kEditTopLeft},
        {14, 17, 93, FWView::kEditBottomLeft}, {14, 17, 83, FWView::kEditLeft},
        {14, 115, 83, FWView::kEditRight}, {14, 60, 93, FWView::kEditBottom},
        {14, 60, 73, FWView::kEditTop},    {14, 21, 83, FWView::kEditNone}, // the seam between handle and inside
        {13, 239, 53, FWView::kEditRight}, {13, 101, 37, FWView::kEditLeft},
        {13, 150, 53, FWView::kEditMove},  {15, 293, 49, FWView::kEditMove}, // a picture only moves
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.region, window->WhichDragRegion(FWPoint(c.h, c.v), view(c.id))) << c.id << " " << c.h << "," << c.v;
    view(11)->SetSelected(true);
    view(12)->SetSelected(true);
    window->ViewMngr().SetSelectedTotal(2);
    EXPECT_EQ(FWView::kEditMove, window->WhichDragRegion(FWPoint(115, 93), view(14)));
}

TEST_F(EditSelectionTest, ClicksShiftAndTheBandSelect)
{
    click(FWPoint(60, 83));
    EXPECT_EQ((std::vector<int32_t>{14}), selectedIDs());
    click(FWPoint(150, 46), kFWShiftKey);
    EXPECT_EQ((std::vector<int32_t>{13, 14}), selectedIDs());
    click(FWPoint(60, 83), kFWShiftKey);
    EXPECT_EQ((std::vector<int32_t>{13}), selectedIDs());
    click(FWPoint(60, 83));
    EXPECT_EQ((std::vector<int32_t>{14}), selectedIDs());
    EXPECT_FALSE(window->IsDirty()) << "clicks change nothing";

    // A band on empty content from (250, 8) to (390, 30) touches only the picture (260, 16) to
    // (294, 50); one from (5, 60) that ends on the push button's left edge (h 16) touches nothing.
    drag(FWPoint(250, 8), {FWPoint(300, 20), FWPoint(390, 30)});
    EXPECT_EQ((std::vector<int32_t>{15}), selectedIDs());
    drag(FWPoint(5, 60), {FWPoint(16, 100)});
    EXPECT_EQ((std::vector<int32_t>{}), selectedIDs());
    // A band of no width across the group from below the push button selects nothing either.
    drag(FWPoint(60, 130), {FWPoint(60, 180)});
    EXPECT_EQ((std::vector<int32_t>{}), selectedIDs());
    EXPECT_EQ(0, window->ViewMngr().GetSelectedTotal());
}

TEST_F(EditSelectionTest, ADoubleClickOpensTheDialogOfTheViewPressedBeforeOnly)
{
    auto* first = new CountingView;
    first->Init(window);
    first->SetRect(FWRect(300, 200, 340, 220));
    window->ViewMngr().GetViewTree()->AppendChild(first);
    CountingView::sDialogs = 0;
    click(FWPoint(60, 83));
    click(FWPoint(320, 210), 0, true);
    EXPECT_EQ(0, CountingView::sDialogs) << "the first press hit another view";
    click(FWPoint(320, 210), 0, true);
    EXPECT_EQ(1, CountingView::sDialogs);

    // Deleted and replaced by a view at the same address: its first click is no double click.
    click(FWPoint(320, 210));
    FWDrawContext context(window);
    window->DeleteSelectionList(context);
    auto* second = new CountingView;
    ASSERT_EQ(static_cast<void*>(first), static_cast<void*>(second));
    second->Init(window);
    second->SetRect(FWRect(300, 200, 340, 220));
    window->ViewMngr().GetViewTree()->AppendChild(second);
    click(FWPoint(320, 210), 0, true);
    EXPECT_EQ(1, CountingView::sDialogs);
}

TEST_F(EditSelectionTest, MovesSnapStopInsideKeepToAnAxisAndChangeOnlyOnRelease)
{
    QuillformApp::Instance()->SetGridSize(10);
    const FWRect button = view(14)->GetRect(); // (16, 72, 116, 94)
    click(FWPoint(60, 83));
    // Back to the start: nothing changes, and no outline is left on the screen.
    const std::vector<uint32_t> before = screen();
    drag(FWPoint(60, 83), {FWPoint(90, 120), FWPoint(150, 140), FWPoint(58, 81)});
    EXPECT_EQ(button, view(14)->GetRect());
    EXPECT_FALSE(window->IsDirty());
    EXPECT_TRUE(before == screen());

    struct Case {
        FWPoint press, to;
        uint16_t modifiers;
        FWRect expected;
    };
    // Both points snap: (60, 83) to (60, 80), (74, 96) to (70, 100). The content is 400 x 260.
    const Case cases[] = {
        {FWPoint(60, 83), FWPoint(74, 96), 0, FWRect(26, 92, 126, 114)},
        {FWPoint(60, 100), FWPoint(84, 130), kFWCommandKey, FWRect(46, 92, 146, 114)},
        {FWPoint(60, 100), FWPoint(84, 126), kFWControlKey, FWRect(46, 122, 146, 144)},
        {FWPoint(60, 130), FWPoint(-300, 130), 0, FWRect(2, 122, 102, 144)},
        {FWPoint(50, 130), FWPoint(50, 500), 0, FWRect(2, 236, 102, 258)},
    };
    for (const Case& c : cases) {
        drag(c.press, {c.to}, c.modifiers);
        EXPECT_EQ(c.expected, view(14)->GetRect()) << c.to.h << "," << c.to.v;
    }
    EXPECT_TRUE(window->IsDirty());
    EXPECT_TRUE(screen() != before);
}

TEST_F(EditSelectionTest, MovedViewsFindTheirContainerButNeverTheirOwnSubtree)
{
    // Group 17 spans (16, 140) to (240, 204) and holds the check box and radio set drawn on it,
    // where in Test mode a click on the check box reaches it, and where the editor's re-homing
    // (after every move and property dialog) leaves every byte of the layout as it was.
    FWView* group = view(17);
    EXPECT_EQ(group, view(19)->Parent());
    EXPECT_EQ(group, view(20)->Parent());
    EditWindow::OnTestTool(nullptr);
    const FWRect box = view(19)->GlobalRect();
    click(FWPoint(int16_t((box.left + box.right) / 2), int16_t((box.top + box.bottom) / 2)));
    EXPECT_TRUE(CheckBox::GGetState(window, 19));
    EditWindow::OnEditTool(nullptr);
    const std::string shown = SerializedTree(window->ViewMngr());
    {
        FWDrawContext context(window);
        window->TranslateSelection(context, FWPoint(0, 0));
    }
    EXPECT_TRUE(shown == SerializedTree(window->ViewMngr())) << "re-homing moved a view";

    click(FWPoint(60, 83));
    drag(FWPoint(60, 83), {FWPoint(70, 153)}); // the button's corner to (26, 142)
    EXPECT_EQ(group, view(14)->Parent());
    EXPECT_EQ(group, view(19)->Parent()) << "every view is re-homed";
    drag(FWPoint(70, 153), {FWPoint(60, 83)});
    EXPECT_EQ(window->ViewMngr().GetViewTree(), view(14)->Parent());

    // An inner group dragged over its container's top-left corner stays inside it.
    auto* inner = new Group;
    inner->Init(window, FWRect(40, 150, 120, 200), nullptr, Group::kTopLeft, Group::kRaised);
    window->ViewMngr().FallIntoTree(inner);
    ASSERT_EQ(group, inner->Parent());
    FWDrawContext context(window);
    window->ClearAllSelection(context);
    window->ViewMngr().SelectView(context, inner);
    window->TranslateSelection(context, FWPoint(-30, -20)); // (10, 130): covers (16, 140)
    // The inner group leaves; the old container's corner now lies in it, so it holds that one.
    EXPECT_EQ(window->ViewMngr().GetViewTree(), inner->Parent());
    EXPECT_EQ(inner, group->Parent());
    for (FWView* v : {static_cast<FWView*>(inner), group})
        for (FWView* up = v->Parent(); up != nullptr; up = up->Parent())
            ASSERT_NE(v, up) << "a view inside itself";
}

TEST_F(EditSelectionTest, OptionDuplicatesHandlesResizeAndArrowsNudge)
{
    const int32_t counter = window->ViewMngr().GetCurrID();
    click(FWPoint(60, 83));
    drag(FWPoint(60, 83), {FWPoint(60, 243)}, kFWOptionKey);
    EXPECT_EQ(FWRect(16, 72, 116, 94), view(14)->GetRect());
    EXPECT_FALSE(view(14)->IsSelected());
    ASSERT_EQ(1u, window->SelectedViews().size());
    FWView* copy = window->SelectedViews().front();
    EXPECT_EQ("PushButton", className(copy));
    EXPECT_EQ(FWRect(16, 232, 116, 254), copy->GetRect());
    EXPECT_EQ(counter + 1, copy->ID());

    // The bottom-right handle, past the content without clamping; then the left handle.
    drag(FWPoint(115, 253), {FWPoint(500, 273)});
    EXPECT_EQ(FWRect(16, 232, 501, 274), copy->GetRect());
    drag(FWPoint(17, 240), {FWPoint(37, 260)});
    EXPECT_EQ(FWRect(36, 232, 501, 274), copy->GetRect());

    // Arrows: 1 pixel, 10 with Shift, reported as not handled.
    auto key = [&](int c, uint16_t modifiers) {
        FWEvent event(kKeyDownEvent, window, modifiers);
        event.mMessage = c;
        return window->KeyDownEvent(event);
    };
    EXPECT_FALSE(key(28, 0));
    EXPECT_FALSE(key(31, kFWShiftKey));
    EXPECT_FALSE(key(29, kFWShiftKey));
    EXPECT_EQ(FWRect(45, 242, 510, 284), copy->GetRect());
    // Held where 16-bit coordinates end, never wrapped round: 10 asked, 7 and 8 moved.
    copy->SetRect(FWRect(32700, -32760, 32760, -32740));
    key(29, kFWShiftKey);
    key(30, kFWShiftKey);
    EXPECT_EQ(FWRect(32707, -32768, 32767, -32748), copy->GetRect());
}

TEST_F(EditSelectionTest, EachToolCreatesItsControlWithinItsLeastSize)
{
    using Tool = void (*)(FWUserOp*);
    struct Case {
        Tool tool;
        FWRect drag;
        std::string made; // "none" when too small
        FWRect rect;      // when not empty, the control's rectangle
    };
    const Case cases[] = {
        {AddControls::OnTextButtonTool, FWRect(20, 230, 30, 240), "PushButton", FWRect(20, 230, 30, 240)},
        {AddControls::OnTextButtonTool, FWRect(20, 230, 29, 250), "none", {}},
        {AddControls::OnDividerTool, FWRect(300, 230, 302, 232), "Divider", {}},
        {AddControls::OnDividerTool, FWRect(300, 230, 301, 235), "none", {}},
        {AddControls::OnTabTool, FWRect(130, 30, 150, 40), "TabControl", {}},
        {AddControls::OnTabTool, FWRect(130, 30, 140, 50), "none", {}},
        {AddControls::OnGroupTool, FWRect(130, 30, 140, 50), "none", {}},
        {AddControls::OnPopupMenuTool, FWRect(250, 180, 350, 215), "Popup", FWRect(250, 180, 350, 196)},
        {AddControls::OnPictureTool, FWRect(300, 30, 340, 70), "PictureBox", {}},
        {AddControls::OnOpenGLTool, FWRect(300, 30, 340, 70), "QZ_GLView", FWRect(300, 30, 340, 70)},
        {AddControls::OnColorButtonTool, FWRect(300, 80, 330, 100), "ColorButton", FWRect(300, 80, 330, 100)},
    };
    for (const Case& c : cases) {
        c.tool(nullptr);
        EXPECT_EQ(2, EditWindow::mToolType);
        FWView* made = madeBy(FWPoint(c.drag.left, c.drag.top), FWPoint(c.drag.right, c.drag.bottom));
        EXPECT_EQ(c.made, className(made)) << c.drag.Width() << "x" << c.drag.Height();
        if (made != nullptr && !c.rect.Empty()) {
            EXPECT_EQ(c.rect, made->GlobalRect());
        }
        if (made != nullptr) {
            EXPECT_FALSE(made->IsSelected());
        }
    }
    EXPECT_EQ(0, window->ViewMngr().GetSelectedTotal());

    // A click makes nothing; a static text drawn on the group goes into it.
    AddControls::OnStaticTextTool(nullptr);
    EXPECT_EQ(nullptr, madeBy(FWPoint(100, 180), FWPoint(100, 180)));
    FWView* text = madeBy(FWPoint(100, 180), FWPoint(150, 195));
    ASSERT_EQ("StaticText", className(text));
    EXPECT_EQ(view(17), text->Parent());
    EXPECT_STREQ("StaticText", static_cast<StaticText*>(text)->GetText().GetCString());

    // The group's style follows the keys held when the drag ends.
    struct Style {
        EventModifiers keys;
        Group::Style style;
    };
    for (const Style& s : {Style{0, Group::kEngraved}, Style{cmdKey, Group::kRaised}, Style{optionKey, Group::kSunken}}) {
        AddControls::OnGroupTool(nullptr);
        auto* made = dynamic_cast<Group*>(madeBy(FWPoint(250, 40), FWPoint(290, 70), s.keys));
        ASSERT_NE(nullptr, made);
        EXPECT_EQ(s.style, made->GetStyle());
    }

    // A new OK button takes the default-accept flag from the old one.
    FWView* oldOK = window->ViewMngr().DefaultAccept();
    AddControls::OnOKButtonTool(nullptr);
    drag(FWPoint(300, 90), {FWPoint(380, 115)});
    EXPECT_NE(oldOK, window->ViewMngr().DefaultAccept());
    EXPECT_FALSE(oldOK->DefaultAccept());
    EXPECT_EQ("OKButton", className(window->ViewMngr().DefaultAccept()));
    EXPECT_EQ(2, EditWindow::mToolType) << "the mode stays";
}

TEST_F(EditSelectionTest, AViewStoredInvertedAndAListTooLowOpenWithoutAlertAndAreFoundAndMended)
{
    const std::string path = File("small.rsrc");
    WriteSmallViewsFile(path);
    ProgrammerMessageRecorder programmer;
    auto* document = new CQF_Document;
    document->SetAssociatedFile(FileReference(path.c_str()));
    ASSERT_TRUE(document->ReadWINT());
    window = new EditWindow(document, 130);
    screen();
    // Found where it spans, by a click and by a band, its stored rectangle kept; a handle dragged
    // mends the list, stopping at its least height (2 + 1 + 2).
    click(FWPoint(230, 50));
    EXPECT_EQ((std::vector<int32_t>{1002}), selectedIDs());
    drag(FWPoint(10, 90), {FWPoint(130, 110)});
    EXPECT_EQ((std::vector<int32_t>{1003}), selectedIDs());
    EXPECT_EQ(FWRect(260, 20, 200, 80), view(1002)->GetRect());
    drag(FWPoint(118, 102), {FWPoint(118, 101)});
    EXPECT_EQ(FWRect(20, 100, 120, 105), view(1003)->GetRect());

    // The view stored beyond the window, taken by a band past its right edge and dragged with the
    // list, moves by exactly the distance moved. An Option-drag copies a button stored inverted
    // whole, where it spans, and leaves it be.
    drag(FWPoint(300, 110), {FWPoint(450, 140)});
    click(FWPoint(70, 102), kFWShiftKey);
    drag(FWPoint(70, 102), {FWPoint(50, 102)});
    EXPECT_EQ(FWRect(588, 125, 4981, 215), view(1004)->GetRect());
    auto* button = new PushButton;
    button->Init(window, FWRect(16, 200, 116, 222), nullptr, 0);
    button->SetRect(FWRect(116, 200, 16, 222));
    window->ViewMngr().GetViewTree()->AppendChild(button);
    drag(FWPoint(66, 211), {FWPoint(66, 241)}, kFWOptionKey);
    EXPECT_EQ(FWRect(116, 200, 16, 222), button->GetRect());
    EXPECT_EQ(FWRect(16, 230, 116, 252), window->SelectedViews().at(0)->GetRect());
    EXPECT_EQ(std::vector<std::string>{}, programmer.Texts());
}
