#include "FWApp.h"
#include "FWMenuMgr.h"
#include "FWOpMenu.h"
#include "HostAppleEvents.h"
#include "HostGestalt.h"
#include "HostHeadless.h"
#include "HostInput.h"
#include "HostMenus.h"
#include "HostResourceFile.h"
#include "HostResources.h"
#include "FWWindow.h"
#include "HostWindows.h"
#include "HostScreen.h"

#include "ByteBuilder.h"
#include "HostDesktopScope.h"
#include "ProgrammerMessageRecorder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Presses the title'th menu of the bar and releases on the item'th row of its panel.
void chooseFromMenuBar(size_t title, size_t item)
{
    static std::vector<HostMenuInput> sScript;
    static size_t sNext;
    const Point at{5, int16_t(HostLayOutMenuBar()[title].left + 4)};
    HostMenuTracker probe(at);
    const Rect row = probe.Panels()[0].layout.items[item];
    probe.Abandon();
    sScript = {{HostMenuInput::Kind::Up, Point{int16_t(row.top + 2), int16_t(row.left + 4)}}};
    sNext = 0;
    HostSetMenuInputSource([](HostMenuInput* input) {
        if (sNext == sScript.size())
            return false;
        *input = sScript[sNext++];
        return true;
    });
    FWEvent press(kMouseDownEvent, nullptr, 0);
    press.mGlobalWhere = FWPoint(at.h, at.v);
    FWMenuMgr::Instance()->DoMouseDownInMenuBar(press);
}

// What the commands saw.
struct Seen {
    std::vector<std::string> actions;
    int cutAdjusts = 0;
    bool cutAllowed = false;
    std::string renameTo;
    int abouts = 0;
};
Seen gSeen;

void record(FWUserOp* op)
{
    gSeen.actions.push_back(op->Name().GetCString());
}

void adjustCut(FWUserOp* op)
{
    ++gSeen.cutAdjusts;
    if (gSeen.cutAllowed)
        op->ClearFlag(kUserOpDisabled);
    else
        op->SetFlag(kUserOpDisabled);
}

void adjustRename(FWUserOp* op)
{
    if (!gSeen.renameTo.empty())
        op->SetName(FWDynamicString(gSeen.renameTo.c_str()));
}

constexpr uint32_t kCmd = 0x100, kShift = 0x200, kOption = 0x800;

// The test's own command table: a submenu, separators, a disabled row, a checkable row and a
// shortcut with shift and option.
const FWOpData kRecent[] = {
    {"a.rsrc", 21, 0, 0, 0, nullptr, record, nullptr, 0, 0, nullptr, 0},
    {"b.rsrc", 22, 0, 0, 0, nullptr, record, nullptr, 0, 0, nullptr, 0},
};
const FWOpData kFile[] = {
    {"Open", 11, 0, 0, 0, nullptr, record, nullptr, 'O', kCmd, nullptr, 0},
    {"Recent", 12, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0, kRecent, 2},
    {"-", 0, kUserOpSeparator, 0, 0, nullptr, nullptr, nullptr, 0, 0, nullptr, 0},
    {"Export", 14, 0, 0, 0, nullptr, record, nullptr, 'E', kCmd | kShift | kOption, nullptr, 0},
    {"Grid", 15, kUserOpCheckable, 0, 0, nullptr, record, nullptr, 'G', kCmd, nullptr, 0},
    {"Broken", 16, kUserOpDisabled, 0, 0, nullptr, record, nullptr, 'B', kCmd, nullptr, 0},
};
void adjustEnable(FWUserOp* op)
{
    op->ClearFlag(kUserOpDisabled);
}

const FWOpData kEdit[] = {
    {"Cut", 31, 0, 0, 0, adjustCut, record, nullptr, 'X', kCmd, nullptr, 0},
    {"Label", 32, 0, 0, 0, adjustRename, record, nullptr, 0, 0, nullptr, 0},
    {"Copy", 33, kUserOpModalEnabled, 0, 0, adjustEnable, record, nullptr, 'C', kCmd, nullptr, 0},
};
const FWOpData kTools[] = {
    {"Bare", 41, 0, 0, 0, nullptr, record, nullptr, 'K', 0, nullptr, 0},
    {"Script", 42, 0, 0, 0, nullptr, record, nullptr, -1, 0, nullptr, 0},
};
const FWOpData kMenus[] = {
    {"File", 1, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0, kFile, 6},
    {"Edit", 2, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0, kEdit, 3},
    {"Tools", 3, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0, kTools, 2},
};
const FWOpData kRoot = {"Menu Root", 0, kUserOpHasChildren, 0, 0, nullptr, nullptr, nullptr, 0, 0, kMenus, 3};

class TestApp : public FWApp {
public:
    void DoAboutApp() override { ++gSeen.abouts; }
    void GetAppShortName(FWString& name) const override { name = "Tester"; }
    void GetPreferencesDirectory(FileReference&) const override {}
};

std::string itemText(MenuRef menu, MenuItemIndex item)
{
    Str255 text;
    GetMenuItemText(menu, item, text);
    return std::string(reinterpret_cast<const char*>(text + 1), text[0]);
}

std::string titleOf(int16_t id)
{
    MenuRef menu = GetMenuHandle(id);
    return menu != nullptr ? std::string(menu->Title().begin(), menu->Title().end()) : std::string("(none)");
}

// A memory resource file with the application's menu bar: 'MBAR' 128 naming 'MENU' 128, whose
// item 1 is About.
class AppResources {
public:
    AppResources()
    {
        ByteBuilder bar;
        bar.Short(1).Short(128);
        ByteBuilder menu;
        menu.Short(128).Short(0).Short(0).Short(0).Short(0).Long(0xFFFFFFFF).Byte(1).Byte(0x14);
        menu.Byte(5).Bytes({'A', 'b', 'o', 'u', 't'}).Bytes({0, 0, 0, 0}).Byte(0);
        std::vector<HostResourceToWrite> resources = {
            {FOUR_CHAR_CODE("MBAR"), 128, 0, nullptr, nullptr, 0},
            {FOUR_CHAR_CODE("MENU"), 128, 0, nullptr, nullptr, 0},
        };
        mBar = bar.Data();
        mMenu = menu.Data();
        resources[0].data = mBar.data();
        resources[0].dataLength = uint32_t(mBar.size());
        resources[1].data = mMenu.data();
        resources[1].dataLength = uint32_t(mMenu.size());
        std::vector<HostResourceRecord> written;
        HostResourceFile::Build(resources, 0, nullptr, mFile, written);
        mRef = HostOpenMemoryResFile(mFile.data(), mFile.size());
    }
    ~AppResources() { CloseResFile(mRef); }
    SInt16 Ref() const { return mRef; }

private:
    std::vector<uint8_t> mBar, mMenu, mFile;
    SInt16 mRef = -1;
};

class FWMenuMgrTest : public ::testing::Test {
protected:
    HostDesktopScope mDesktop;

    void SetUp() override
    {
        gSeen = Seen{};
        mApp = new TestApp;
    }
    void TearDown() override
    {
        delete mApp; // destroys the menu manager
        HostSetMenuInputSource(nullptr);
        HostResetInput();
        HostResetMenus();
        HostResetGestaltAnswers();
    }
    void install() { FWMenuMgr::Instance()->SetRootMenu(new FWOpMenu(kRoot)); }
    FWUserOp* op(int32_t id) { return FWMenuMgr::Instance()->GetRootMenu()->FindUserOpByID(id, nullptr); }
    bool shortcut(char key, uint16_t modifiers)
    {
        return FWMenuMgr::Instance()->DoMenuShortcutKey(uint8_t(key), modifiers);
    }

    TestApp* mApp = nullptr;
};

TEST_F(FWMenuMgrTest, TheTreeBecomesTheMenuBarWithPlatformNumbering)
{
    install();
    // "Edit" is always 130; the others count from 131 in build order, submenus included.
    EXPECT_EQ("File", titleOf(131));
    EXPECT_EQ("Recent", titleOf(132));
    EXPECT_EQ("Edit", titleOf(130));
    EXPECT_EQ("Tools", titleOf(133));
    ASSERT_EQ(3u, HostMenuBarMenus().size());
    EXPECT_EQ(131, HostMenuBarMenus()[0]->ID());
    EXPECT_EQ(130, HostMenuBarMenus()[1]->ID());
    EXPECT_EQ(nullptr, HostHierarchicalMenu(131));
    ASSERT_NE(nullptr, HostHierarchicalMenu(132));

    MenuRef file = GetMenuHandle(131);
    ASSERT_EQ(6, CountMenuItems(file));
    EXPECT_EQ("Open", itemText(file, 1));
    EXPECT_EQ('O', file->Item(1)->commandKey);
    EXPECT_EQ(kMenuNoModifiers, file->Item(1)->modifiers);
    EXPECT_EQ(132, file->Item(2)->submenuID);
    EXPECT_TRUE(file->Item(3)->IsSeparator());
    EXPECT_EQ(kMenuShiftModifier | kMenuOptionModifier, file->Item(4)->modifiers);
    EXPECT_FALSE(IsMenuItemEnabled(file, 6)); // the disabled row
    EXPECT_EQ(2, CountMenuItems(GetMenuHandle(132)));
    MenuRef tools = GetMenuHandle(133);
    EXPECT_EQ(kMenuNoCommandModifier, tools->Item(1)->modifiers); // a shortcut without command
    EXPECT_EQ(0, tools->Item(2)->commandKey); // -1: no shortcut, the script's font

    // The titles are drawn on the screen.
    HostComposeScreen();
    const uint32_t bar = HostScreenPixel(Point{2, 2});
    for (const HostMenuTitleLayout& title : HostLayOutMenuBar()) {
        int ink = 0;
        for (int16_t v = 0; v < 19; ++v)
            for (int16_t h = title.left; h < title.right; ++h)
                ink += HostScreenPixel(Point{v, h}) != bar;
        EXPECT_GT(ink, 20);
    }
}

TEST_F(FWMenuMgrTest, EditIsFoundWhateverItsCaseAndAccents)
{
    const FWOpData items[] = {{"x", 1, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0, nullptr, 0}};
    const FWOpData menus[] = {
        {"Tools", 1, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0, items, 1},
        {"\x83" "DIT", 2, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0, items, 1}, // E acute, Mac Roman
        {"Empty", 3, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0, nullptr, 0},
        {"More", 4, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0, items, 1},
    };
    const FWOpData root = {"R", 0, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0, menus, 4};
    FWMenuMgr::Instance()->SetRootMenu(new FWOpMenu(root));
    // Compared without case and accents, the title is Edit.
    EXPECT_EQ("Tools", titleOf(131));
    EXPECT_EQ(130, HostMenuBarMenus()[1]->ID());
    // A top-level menu without items is not shown, yet takes its number.
    EXPECT_EQ("More", titleOf(133));
    EXPECT_EQ(3u, HostMenuBarMenus().size());

    const FWOpData plain[] = {{"eDiT", 2, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0, items, 1}};
    const FWOpData root2 = {"R", 0, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0, plain, 1};
    FWMenuMgr::Instance()->SetRootMenu(new FWOpMenu(root2));
    EXPECT_EQ("eDiT", titleOf(130));
    EXPECT_EQ(1u, HostMenuBarMenus().size()); // the old menus are gone
}

TEST_F(FWMenuMgrTest, AdjustCallbacksSetStatesBeforeEveryShortcut)
{
    install();
    MenuRef edit = GetMenuHandle(130);
    gSeen.cutAllowed = false;
    EXPECT_FALSE(shortcut('x', kCmd)); // adjusted to disabled: not chosen
    EXPECT_FALSE(IsMenuItemEnabled(edit, 1));
    EXPECT_EQ(1, gSeen.cutAdjusts);
    gSeen.cutAllowed = true;
    EXPECT_TRUE(shortcut('X', kCmd));
    EXPECT_TRUE(IsMenuItemEnabled(edit, 1));
    EXPECT_EQ(std::vector<std::string>{"Cut"}, gSeen.actions);
    EXPECT_EQ(0, HostHilitedMenu());

    // A name changed by an adjust callback reaches the item.
    gSeen.renameTo = "Relabelled";
    FWMenuMgr::Instance()->adjust_menus(0);
    EXPECT_EQ("Relabelled", itemText(edit, 2));
    EXPECT_FALSE(op(32)->TestFlag(kUserOpNameChanged));
}

TEST_F(FWMenuMgrTest, AModalWindowInFrontDisablesAdjustedCommands)
{
    install();
    auto* dialog = new FWWindow(1);
    mApp->AddWindow(dialog); // deleted with the application
    WindowRef platform = HostDesktopScope::MakeWindow(Rect{100, 100, 200, 300}, 0xFFFFFFFF, kHostModalWindowClass);
    SetWRefCon(platform, dialog);
    ASSERT_EQ(dialog, mApp->GetFrontWindow());

    gSeen.cutAllowed = true;
    FWMenuMgr::Instance()->adjust_menus(0);
    MenuRef edit = GetMenuHandle(130);
    EXPECT_FALSE(IsMenuItemEnabled(edit, 1)); // enabled by its callback, yet modal
    EXPECT_TRUE(IsMenuItemEnabled(edit, 3));  // allowed while modal
    EXPECT_TRUE(IsMenuItemEnabled(GetMenuHandle(131), 1)); // no callback: its own flag
    EXPECT_FALSE(shortcut('x', kCmd));
    EXPECT_TRUE(shortcut('c', kCmd));
    EXPECT_EQ(std::vector<std::string>{"Copy"}, gSeen.actions);

    HideWindow(platform);
    FWMenuMgr::Instance()->adjust_menus(0);
    EXPECT_TRUE(IsMenuItemEnabled(edit, 1));
}

TEST_F(FWMenuMgrTest, ShortcutsWithModifiersRunTheirAction)
{
    install();
    EXPECT_FALSE(shortcut('e', kCmd | kShift));
    EXPECT_TRUE(shortcut('e', kCmd | kShift | kOption));
    EXPECT_EQ(std::vector<std::string>{"Export"}, gSeen.actions);
    EXPECT_TRUE(shortcut('k', 0));
    EXPECT_FALSE(shortcut('k', kCmd));
    EXPECT_FALSE(shortcut('b', kCmd)); // the disabled row
    EXPECT_FALSE(shortcut('q', kCmd));
    EXPECT_EQ((std::vector<std::string>{"Export", "Bare"}), gSeen.actions);
}

TEST_F(FWMenuMgrTest, CheckableCommandsToggleUnlessDisabled)
{
    install();
    MenuRef file = GetMenuHandle(131);
    EXPECT_TRUE(shortcut('g', kCmd));
    EXPECT_TRUE(op(15)->TestFlag(kUserOpChecked));
    FWMenuMgr::Instance()->adjust_menus(0);
    CharParameter mark = 0;
    GetItemMark(file, 5, &mark);
    EXPECT_EQ(checkMark, mark);
    EXPECT_TRUE(shortcut('g', kCmd));
    EXPECT_FALSE(op(15)->TestFlag(kUserOpChecked));
    FWMenuMgr::Instance()->adjust_menus(0);
    GetItemMark(file, 5, &mark);
    EXPECT_EQ(noMark, mark);

    // A disabled checkable command never toggles, whichever way it is chosen.
    op(15)->SetFlag(kUserOpDisabled);
    EXPECT_FALSE(shortcut('g', kCmd));
    FWMenuMgr::Instance()->maybe_toggle_check_mark(op(15));
    EXPECT_FALSE(op(15)->TestFlag(kUserOpChecked));
}

TEST_F(FWMenuMgrTest, MenuClicksRunTheChosenItem)
{
    install();
    std::vector<HostMenuTitleLayout> titles = HostLayOutMenuBar();
    const Point fileTitle{5, int16_t(titles[0].left + 4)};
    HostMenuTracker probe(fileTitle);
    const Rect recent = probe.Panels()[0].layout.items[1];
    const Point onRecent{int16_t(recent.top + 2), int16_t(recent.left + 5)};
    probe.Feed({HostMenuInput::Kind::Move, onRecent});
    const Rect second = probe.Panels()[1].layout.items[1];
    const Point target{int16_t(second.top + 2), int16_t(second.left + 5)};
    probe.Abandon();

    // The user drags down to the submenu and releases on its second item.
    HostInjectMouseMove(onRecent);
    HostInjectMouseMove(target);
    HostInjectMouseUp(target, kShift);
    FWEvent press(kMouseDownEvent, nullptr, kShift);
    press.mGlobalWhere = FWPoint(fileTitle.h, fileTitle.v);
    FWMenuMgr::Instance()->DoMouseDownInMenuBar(press);
    EXPECT_EQ(std::vector<std::string>{"b.rsrc"}, gSeen.actions);
    EXPECT_EQ(1, gSeen.cutAdjusts); // adjusted before the click
    EXPECT_EQ(0, HostHilitedMenu());

    // A disabled row chosen by the mouse runs nothing; neither does a release elsewhere.
    HostMenuTracker again(fileTitle);
    const Rect broken = again.Panels()[0].layout.items[5];
    again.Abandon();
    HostInjectMouseUp(Point{int16_t(broken.top + 2), int16_t(broken.left + 5)});
    FWMenuMgr::Instance()->DoMouseDownInMenuBar(press);
    HostInjectMouseUp(Point{500, 500});
    FWMenuMgr::Instance()->DoMouseDownInMenuBar(press);
    EXPECT_EQ(1u, gSeen.actions.size());
}

TEST_F(FWMenuMgrTest, TheApplicationMenuCarriesTheAboutItem)
{
    AppResources resources;
    ASSERT_GT(resources.Ref(), 0);
    install();
    MenuRef app = GetMenuHandle(128);
    ASSERT_NE(nullptr, app);
    EXPECT_EQ(app, HostMenuBarMenus()[0]); // the bar's own menu comes first
    EXPECT_EQ("About Tester...", itemText(app, 1));
    EXPECT_EQ(4u, HostMenuBarMenus().size());

    // Rebuilding keeps the application menu and replaces the others.
    FWMenuMgr::Instance()->RebuildMenus();
    EXPECT_EQ(4u, HostMenuBarMenus().size());
    EXPECT_EQ(app, GetMenuHandle(128));

    chooseFromMenuBar(0, 0);
    EXPECT_EQ(1, gSeen.abouts);
    EXPECT_TRUE(gSeen.actions.empty());
}

TEST_F(FWMenuMgrTest, RemovingByIdNeverTakesTheRoot)
{
    install();
    FWMenuMgr* manager = FWMenuMgr::Instance();
    FWUserOp* root = manager->GetRootMenu();
    // Id 0 is the root's and the separator's: the separator goes, the root stays.
    EXPECT_TRUE(manager->RemoveItemWithID(0));
    EXPECT_EQ(root, manager->GetRootMenu());
    EXPECT_EQ(3, root->CountChildren());
    EXPECT_EQ(5, CountMenuItems(GetMenuHandle(131)));
    EXPECT_FALSE(manager->RemoveItemWithID(0));
    EXPECT_EQ(3, root->CountChildren());
    EXPECT_TRUE(manager->RemoveItemWithID(22));
    EXPECT_EQ(1, CountMenuItems(GetMenuHandle(132)));
    EXPECT_FALSE(manager->RemoveItemWithID(999));
    // A whole menu goes with its items.
    EXPECT_TRUE(manager->RemoveItemWithID(2));
    EXPECT_EQ(nullptr, GetMenuHandle(130));
    EXPECT_EQ(2u, HostMenuBarMenus().size());
}

TEST_F(FWMenuMgrTest, ItemsAppendedByMenuName)
{
    const FWOpData menus[] = {{"File", 1, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0, kFile, 6}};
    const FWOpData root = {"R", 0, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0, menus, 1};
    FWMenuMgr* manager = FWMenuMgr::Instance();
    auto* tree = new FWOpMenu(root);
    tree->AppendChild(new FWOpMenu("Window", 5, 0, 0, 0, nullptr, nullptr, nullptr, nullptr, 0));
    manager->SetRootMenu(tree);
    EXPECT_EQ(1u, HostMenuBarMenus().size()); // the empty Window menu is not shown

    const FWOpData hide = {"Hide Tools", 51, 0, 0, 0, nullptr, record, nullptr, 'H', kCmd, nullptr, 0};
    FWUserOp* added = manager->AppendItemToMenu(FWDynamicString("Window"), hide);
    ASSERT_NE(nullptr, added);
    EXPECT_EQ(manager->GetRootMenu()->FirstChild()->NextPeer(), added->Parent());
    ASSERT_EQ(2u, HostMenuBarMenus().size());
    EXPECT_EQ("Hide Tools", itemText(HostMenuBarMenus()[1], 1));

    FWUserOp* last = manager->AppendItemToMenu(FWDynamicString("File"), hide);
    ASSERT_NE(nullptr, last);
    EXPECT_EQ(nullptr, last->NextPeer());
    EXPECT_EQ(7, CountMenuItems(GetMenuHandle(131)));
    EXPECT_EQ(nullptr, manager->AppendItemToMenu(FWDynamicString("Nowhere"), hide));
}

TEST_F(FWMenuMgrTest, TooManyMenusIsReportedAndBuildingGoesOn)
{
    static const FWOpData items[] = {{"x", 1, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0, nullptr, 0}};
    static std::vector<FWOpData> menus;
    menus.assign(106, FWOpData{"M", 1, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0, items, 1});
    const FWOpData root = {"R", 0, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0, menus.data(), int32_t(menus.size())};
    ProgrammerMessageRecorder recorder;
    FWMenuMgr::Instance()->SetRootMenu(new FWOpMenu(root));
    ASSERT_EQ(1u, recorder.Messages().size());
    EXPECT_EQ("Too many menus created.", recorder.Messages()[0].message);
    EXPECT_EQ("FW/PAL/Mac/Mac_FWMenuMgr", recorder.Messages()[0].sourcePath);
    EXPECT_EQ(354, recorder.Messages()[0].line);
    EXPECT_EQ(106u, HostMenuBarMenus().size());
}

TEST_F(FWMenuMgrTest, NamesThatAreNotUTF8ShowEachByteAsLatin1)
{
    const FWOpData items[] = {
        {"Caf\xC3\xA9", 1, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0, nullptr, 0},
        {"Caf\xE9 \xD7 2", 2, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0, nullptr, 0},
        {"\xC3\xA9\xE9\xC3", 3, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0, nullptr, 0},
    };
    const FWOpData menus[] = {{"M", 1, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0, items, 3}};
    const FWOpData root = {"R", 0, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0, menus, 1};
    FWMenuMgr::Instance()->SetRootMenu(new FWOpMenu(root));
    MenuRef menu = GetMenuHandle(131);
    EXPECT_EQ("Caf\x8E", itemText(menu, 1)); // e acute in the system encoding
    EXPECT_EQ("Caf\x8E ? 2", itemText(menu, 2)); // Mac Roman has no multiplication sign
    EXPECT_EQ("\x8E\x8E\xCC", itemText(menu, 3)); // a whole character, then a Latin-1 byte and a cut one
}

// The layout that moves Preferences and Quit into the application menu.
class FWMenuMgrAquaTest : public FWMenuMgrTest {
protected:
    void SetUp() override
    {
        FWMenuMgrTest::SetUp();
        HostSetGestaltAnswer(FOUR_CHAR_CODE("menu"), 0x3);
        // The application menu with its Preferences and Quit commands.
        MenuRef app = NewMenu(128, reinterpret_cast<const unsigned char*>("\x01\x14"));
        AppendMenu(app, reinterpret_cast<const unsigned char*>("\x1c" "About;Preferences...;(-;Quit"));
        SetMenuItemCommandID(app, 2, FOUR_CHAR_CODE("pref"));
        SetMenuItemCommandID(app, 4, FOUR_CHAR_CODE("quit"));
        InsertMenu(app, 0);
        mApp = app;
    }
    MenuRef mApp = nullptr;
};

void adjustDisable(FWUserOp* op)
{
    op->SetFlag(kUserOpDisabled);
}

TEST_F(FWMenuMgrAquaTest, PreferencesAndQuitLeaveTheirMenus)
{
    const FWOpData file[] = {
        {"Open", 1, 0, 0, 0, nullptr, record, nullptr, 0, 0, nullptr, 0},
        {"-", 0, kUserOpSeparator, 0, 0, nullptr, nullptr, nullptr, 0, 0, nullptr, 0},
        {"Preferences...", 2, 0, 0, 0, adjustDisable, record, nullptr, ',', kCmd, nullptr, 0},
        {"Save", 3, 0, 0, 0, nullptr, record, nullptr, 0, 0, nullptr, 0},
    };
    const FWOpData settings[] = {
        {"-", 0, kUserOpSeparator, 0, 0, nullptr, nullptr, nullptr, 0, 0, nullptr, 0},
        {"Quit", 4, 0, 0, 0, nullptr, record, nullptr, 'Q', kCmd, nullptr, 0},
    };
    const FWOpData menus[] = {
        {"File", 1, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0, file, 4},
        {"Settings", 2, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0, settings, 2},
    };
    const FWOpData root = {"R", 0, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0, menus, 2};
    FWMenuMgr::Instance()->SetRootMenu(new FWOpMenu(root));

    // File keeps Open, the separator and Save. The separator before Quit goes with it, and the
    // menu left with nothing is not shown.
    MenuRef fileMenu = GetMenuHandle(131);
    ASSERT_EQ(3, CountMenuItems(fileMenu));
    EXPECT_EQ("Open", itemText(fileMenu, 1));
    EXPECT_TRUE(fileMenu->Item(2)->IsSeparator());
    EXPECT_EQ("Save", itemText(fileMenu, 3));
    EXPECT_EQ(nullptr, GetMenuHandle(132));
    EXPECT_EQ(',', mApp->Item(2)->commandKey); // the shortcut went to the application menu

    // Adjusting walks past the left-out nodes: Prefs is disabled through its command.
    FWMenuMgr::Instance()->adjust_menus(0);
    EXPECT_FALSE(IsMenuItemEnabled(mApp, 2));
    EXPECT_TRUE(IsMenuItemEnabled(fileMenu, 3));

    // Choosing the item after Preferences finds Save.
    chooseFromMenuBar(1, 2);
    EXPECT_EQ(std::vector<std::string>{"Save"}, gSeen.actions);

    // The application's Preferences command runs the node through its Apple event.
    AppleEvent event;
    ASSERT_EQ(noErr, AECreateAppleEvent(kCoreEventClass, FOUR_CHAR_CODE("pref"), &event));
    EXPECT_EQ(noErr, HostDeliverAppleEvent(event));
    AEDisposeDesc(&event);
    EXPECT_EQ((std::vector<std::string>{"Save", "Preferences..."}), gSeen.actions);
}

TEST_F(FWMenuMgrAquaTest, PreferencesLastAfterASeparatorTakesItWithIt)
{
    const FWOpData file[] = {
        {"Open", 1, 0, 0, 0, nullptr, record, nullptr, 0, 0, nullptr, 0},
        {"Close", 2, 0, 0, 0, nullptr, record, nullptr, 0, 0, nullptr, 0},
        {"-", 0, kUserOpSeparator, 0, 0, nullptr, nullptr, nullptr, 0, 0, nullptr, 0},
        {"Preferences...", 3, 0, 0, 0, nullptr, record, nullptr, 0, 0, nullptr, 0},
    };
    const FWOpData menus[] = {{"File", 1, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0, file, 4}};
    const FWOpData root = {"R", 0, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0, menus, 1};
    FWMenuMgr::Instance()->SetRootMenu(new FWOpMenu(root));
    MenuRef fileMenu = GetMenuHandle(131);
    ASSERT_EQ(2, CountMenuItems(fileMenu));
    EXPECT_EQ("Close", itemText(fileMenu, 2));
    FWMenuMgr::Instance()->adjust_menus(0);
    EXPECT_TRUE(IsMenuItemEnabled(fileMenu, 1));
    EXPECT_TRUE(IsMenuItemEnabled(fileMenu, 2));
}

} // namespace
