#include "ClassicLayout.h"
#include "HostMenus.h"
#include "HostInput.h"
#include "HostMemory.h"
#include "HostDesktopScope.h"
#include "HostHeadless.h"
#include "HostScreen.h"
#include "HostResources.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr uint32_t kMENU = FOUR_CHAR_CODE("MENU");
constexpr uint32_t kMBAR = FOUR_CHAR_CODE("MBAR");

// A length-prefixed copy of a C string, for the calls that take one.
struct P {
    explicit P(const std::string& s)
    {
        bytes[0] = uint8_t(s.size());
        std::copy(s.begin(), s.end(), bytes + 1);
    }
    operator ConstStr255Param() const { return bytes; }
    Str255 bytes{};
};

std::string textOf(MenuRef menu, MenuItemIndex item)
{
    Str255 text;
    GetMenuItemText(menu, item, text);
    return std::string(reinterpret_cast<const char*>(text + 1), text[0]);
}

std::string titleOf(MenuRef menu)
{
    return std::string(menu->Title().begin(), menu->Title().end());
}

// A 'MENU' resource: id, width, height, definition, filler, enable flags, title, items.
struct ItemBytes {
    std::string text;
    uint8_t icon = 0, key = 0, mark = 0, style = 0;
};
std::vector<uint8_t> menuResource(int16_t id, uint32_t enableFlags, const std::string& title,
                                  const std::vector<ItemBytes>& items)
{
    std::vector<uint8_t> out;
    classic::add16(out, uint16_t(id));
    for (int i = 0; i < 4; ++i)
        classic::add16(out, 0);
    classic::add32(out, enableFlags);
    out.push_back(uint8_t(title.size()));
    out.insert(out.end(), title.begin(), title.end());
    for (const ItemBytes& item : items) {
        out.push_back(uint8_t(item.text.size()));
        out.insert(out.end(), item.text.begin(), item.text.end());
        out.insert(out.end(), {item.icon, item.key, item.mark, item.style});
    }
    out.push_back(0);
    return out;
}

std::vector<uint8_t> menuBarResource(const std::vector<int16_t>& ids)
{
    std::vector<uint8_t> out;
    classic::add16(out, uint16_t(ids.size()));
    for (int16_t id : ids)
        classic::add16(out, uint16_t(id));
    return out;
}

class HostMenus : public ::testing::Test {
protected:
    HostDesktopScope mDesktop;

    void TearDown() override
    {
        HostResetMenus();
        HostCloseAllResourceFiles();
    }

    // Opens a memory resource file holding the resources.
    void useResources(const std::vector<ClassicResource>& resources)
    {
        mFile = HandBuildClassic(resources);
        ASSERT_GT(HostOpenMemoryResFile(mFile.data(), mFile.size()), 0);
    }

    std::vector<uint8_t> mFile;
};

TEST_F(HostMenus, BarOrderInsertBeforeDeleteAndHierarchicalList)
{
    MenuRef file = NewMenu(131, P("File"));
    MenuRef edit = NewMenu(130, P("Edit"));
    MenuRef tools = NewMenu(132, P("Tools"));
    MenuRef sub = NewMenu(133, P("Sub"));
    InsertMenu(file, 0);
    InsertMenu(tools, 0);
    InsertMenu(edit, 132);  // before Tools
    InsertMenu(edit, 0);    // already there: nothing
    InsertMenu(sub, hierMenu);
    ASSERT_EQ(3u, HostMenuBarMenus().size());
    EXPECT_EQ(file, HostMenuBarMenus()[0]);
    EXPECT_EQ(edit, HostMenuBarMenus()[1]);
    EXPECT_EQ(tools, HostMenuBarMenus()[2]);
    EXPECT_EQ(sub, GetMenuHandle(133));
    EXPECT_EQ(sub, HostHierarchicalMenu(133));
    EXPECT_EQ(nullptr, HostHierarchicalMenu(130));
    EXPECT_EQ("Edit", titleOf(GetMenuHandle(130)));

    HiliteMenu(130);
    DeleteMenu(130);
    EXPECT_EQ(nullptr, GetMenuHandle(130));
    EXPECT_EQ(0, HostHilitedMenu()); // a title that left the bar is no longer highlighted
    EXPECT_TRUE(HostIsMenu(edit));   // deleting from the bar does not free
    DisposeMenu(tools);               // disposing takes it out of the bar
    EXPECT_FALSE(HostIsMenu(tools));
    EXPECT_EQ(1u, HostMenuBarMenus().size());
    DisposeMenu(tools);               // already gone: ignored

    ClearMenuBar();
    EXPECT_TRUE(HostMenuBarMenus().empty());
    EXPECT_EQ(nullptr, GetMenuHandle(133));
    EXPECT_TRUE(HostIsMenu(sub));
}

TEST_F(HostMenus, ItemsAndTheirStates)
{
    MenuRef menu = NewMenu(140, P("M"));
    AppendMenu(menu, P("One;(Two;-;^3Three/T;!xMarked<B\rLast"));
    ASSERT_EQ(6, CountMenuItems(menu));
    EXPECT_EQ("One", textOf(menu, 1));
    EXPECT_EQ("Two", textOf(menu, 2));
    EXPECT_FALSE(IsMenuItemEnabled(menu, 2));
    EXPECT_TRUE(menu->Item(3)->IsSeparator());
    EXPECT_EQ("Three", textOf(menu, 4));
    EXPECT_EQ(3, menu->Item(4)->iconID);
    EXPECT_EQ('T', menu->Item(4)->commandKey);
    EXPECT_EQ('x', menu->Item(5)->mark);
    EXPECT_EQ(1, menu->Item(5)->style);
    EXPECT_EQ("Last", textOf(menu, 6));

    InsertMenuItem(menu, P("Zero"), 0);
    InsertMenuItem(menu, P("After two"), 3);
    EXPECT_EQ("Zero", textOf(menu, 1));
    EXPECT_EQ("After two", textOf(menu, 4));
    DeleteMenuItem(menu, 1);
    DeleteMenuItem(menu, 99); // out of range: nothing
    EXPECT_EQ(7, CountMenuItems(menu));
    EXPECT_EQ("One", textOf(menu, 1));

    SetMenuItemText(menu, 1, P("-Uno; not split"));
    EXPECT_EQ("-Uno; not split", textOf(menu, 1)); // text set directly keeps its metacharacters
    EXPECT_FALSE(menu->Item(1)->IsSeparator());     // and never makes a separator line
    DisableMenuItem(menu, 1);
    EXPECT_FALSE(IsMenuItemEnabled(menu, 1));
    EnableMenuItem(menu, 1);
    EXPECT_TRUE(IsMenuItemEnabled(menu, 1));
    DisableMenuItem(menu, 0);
    EXPECT_FALSE(IsMenuItemEnabled(menu, 0));
    EXPECT_TRUE(IsMenuItemEnabled(menu, 1)); // the item keeps its own state

    CharParameter mark = -1;
    CheckMenuItem(menu, 1, true);
    GetItemMark(menu, 1, &mark);
    EXPECT_EQ(checkMark, mark);
    CheckMenuItem(menu, 1, false);
    GetItemMark(menu, 1, &mark);
    EXPECT_EQ(noMark, mark);

    EXPECT_EQ(noErr, SetMenuItemCommandKey(menu, 1, false, 'U'));
    EXPECT_EQ(noErr, SetMenuItemModifiers(menu, 1, kMenuShiftModifier | kMenuOptionModifier));
    EXPECT_EQ(noErr, SetMenuItemFontID(menu, 1, 4));
    EXPECT_EQ(noErr, SetMenuItemHierarchicalID(menu, 1, 150));
    SetItemIcon(menu, 1, 300);
    const HostMenuItem& item = *menu->Item(1);
    EXPECT_EQ('U', item.commandKey);
    EXPECT_EQ(kMenuShiftModifier | kMenuOptionModifier, item.modifiers);
    EXPECT_EQ(4, item.fontID);
    EXPECT_EQ(150, item.submenuID);
    EXPECT_EQ(300, item.iconID);
    EXPECT_EQ(paramErr, SetMenuItemModifiers(menu, 0, 0));
    EXPECT_EQ(paramErr, SetMenuItemCommandKey(menu, 8, false, 'x'));

    HostPixelMap icon;
    ASSERT_EQ(noErr, icon.Allocate(Rect{0, 0, 4, 6}, 32));
    icon.Set(5, 3, HostArgb(255, 1, 2, 3));
    HostSetMenuItemIconImage(menu, 1, &icon);
    ASSERT_TRUE(item.icon);
    EXPECT_EQ(6, item.icon->Width());
    EXPECT_EQ(HostArgb(255, 1, 2, 3), item.icon->Get(5, 3));
    HostSetMenuItemIconImage(menu, 1, nullptr);
    EXPECT_FALSE(item.icon);

    // Calls on a disposed menu do nothing.
    DisposeMenu(menu);
    AppendMenu(menu, P("x"));
    EXPECT_EQ(0, CountMenuItems(menu));
}

TEST_F(HostMenus, CommandsFindAndEnableItems)
{
    MenuRef app = NewMenu(128, P("App"));
    AppendMenu(app, P("About;Preferences...;Quit"));
    InsertMenu(app, 0);
    ASSERT_EQ(noErr, SetMenuItemCommandID(app, 2, FOUR_CHAR_CODE("pref")));
    ASSERT_EQ(noErr, SetMenuItemCommandID(app, 3, FOUR_CHAR_CODE("quit")));
    MenuRef found = nullptr;
    MenuItemIndex index = 0;
    ASSERT_EQ(noErr, GetIndMenuItemWithCommandID(nullptr, FOUR_CHAR_CODE("quit"), 1, &found, &index));
    EXPECT_EQ(app, found);
    EXPECT_EQ(3, index);
    EXPECT_EQ(paramErr, GetIndMenuItemWithCommandID(nullptr, FOUR_CHAR_CODE("quit"), 2, &found, &index));
    EXPECT_EQ(paramErr, GetIndMenuItemWithCommandID(app, FOUR_CHAR_CODE("none"), 1, &found, &index));
    DisableMenuCommand(nullptr, FOUR_CHAR_CODE("pref"));
    EXPECT_FALSE(IsMenuItemEnabled(app, 2));
    EnableMenuCommand(app, FOUR_CHAR_CODE("pref"));
    EXPECT_TRUE(IsMenuItemEnabled(app, 2));
}

TEST_F(HostMenus, ShortcutsMatchCharacterAndExactModifiers)
{
    constexpr uint16_t cmd = 0x100, shift = 0x200, option = 0x800, control = 0x1000, caps = 0x400;
    MenuRef file = NewMenu(131, P("File"));
    AppendMenu(file, P("Save/S;Save All/S;Close/W;-;Plain"));
    SetMenuItemModifiers(file, 2, kMenuShiftModifier);
    MenuRef edit = NewMenu(132, P("Edit"));
    AppendMenu(edit, P("(Undo/Z;Both/B;Bare;Sub"));
    SetMenuItemModifiers(edit, 2, kMenuShiftModifier | kMenuOptionModifier);
    SetMenuItemCommandKey(edit, 3, false, 'N');
    SetMenuItemModifiers(edit, 3, kMenuNoCommandModifier | kMenuControlModifier);
    SetMenuItemHierarchicalID(edit, 4, 140);
    MenuRef sub = NewMenu(140, P("Sub"));
    AppendMenu(sub, P("Deep/D"));
    InsertMenu(file, 0);
    InsertMenu(edit, 0);
    InsertMenu(sub, hierMenu);

    const struct {
        uint8_t character;
        uint16_t modifiers;
        int32_t expected;
    } cases[] = {
        {'s', cmd, (131 << 16) | 1},
        {'S', cmd | caps, (131 << 16) | 1},         // case and caps lock do not matter
        {'S', cmd | shift, (131 << 16) | 2},        // shift picks the item that asks for it
        {'w', cmd | shift, 0},                      // an extra modifier does not match
        {'w', 0, 0},                                // neither does a missing command key
        {'z', cmd, 0},                              // a disabled item is never chosen
        {'b', cmd | shift | option, (132 << 16) | 2},
        {'b', cmd | shift, 0},
        {'n', control, (132 << 16) | 3},            // a shortcut without the command key
        {'d', cmd, (140 << 16) | 1},                // found in the hierarchical menu
        {0, cmd, 0},
    };
    for (const auto& c : cases) {
        HiliteMenu(0);
        EXPECT_EQ(c.expected, HostMenuMatchKey(c.character, 0, c.modifiers))
            << "character " << int(c.character) << " modifiers " << c.modifiers;
    }
    // The bar's menu that holds the choice is highlighted.
    HiliteMenu(0);
    HostMenuMatchKey('d', 0, cmd);
    EXPECT_EQ(132, HostHilitedMenu());
    EXPECT_EQ((131 << 16) | 3, MenuKey('w'));
    EXPECT_EQ(131, HostHilitedMenu());

    DisableMenuItem(edit, 4); // the submenu is reached only through an enabled item
    EXPECT_EQ(0, HostMenuMatchKey('d', 0, cmd));
    DisableMenuItem(file, 0); // nor is anything in a disabled menu
    EXPECT_EQ(0, MenuKey('w'));

    // A shortcut given as a virtual key code matches the key, not the character.
    SetMenuItemCommandKey(sub, 1, true, 0x7A);
    EnableMenuItem(edit, 4);
    EXPECT_EQ((140 << 16) | 1, HostMenuMatchKey(0x10, 0x7A, cmd));
    EXPECT_EQ(0, HostMenuMatchKey('d', 0, cmd));
}

TEST_F(HostMenus, KeyEventsMatchThroughTheirMessage)
{
    MenuRef file = NewMenu(131, P("File"));
    AppendMenu(file, P("Save/S"));
    InsertMenu(file, 0);
    EventRecord event;
    event.what = keyDown;
    event.message = (1 << 8) | 's';
    event.modifiers = cmdKey;
    EXPECT_EQ(uint32_t((131 << 16) | 1), MenuEvent(&event));
    event.what = autoKey;
    EXPECT_EQ(uint32_t((131 << 16) | 1), MenuEvent(&event));
    event.what = keyUp;
    EXPECT_EQ(0u, MenuEvent(&event));
    event.what = mouseDown;
    EXPECT_EQ(0u, MenuEvent(&event));
    EXPECT_EQ(0u, MenuEvent(nullptr));
}

TEST_F(HostMenus, SubmenusThatHoldThemselvesEndTheSearch)
{
    MenuRef menu = NewMenu(150, P("Loop"));
    AppendMenu(menu, P("Again"));
    SetMenuItemHierarchicalID(menu, 1, 151);
    MenuRef loop = NewMenu(151, P("Inner"));
    AppendMenu(loop, P("Again"));
    SetMenuItemHierarchicalID(loop, 1, 151);
    InsertMenu(menu, 0);
    InsertMenu(loop, hierMenu);
    EXPECT_EQ(0, MenuKey('q'));
}

TEST_F(HostMenus, MenuBarAndMenusAreReadFromResources)
{
    useResources({
        {kMBAR, 128, 0, false, "", menuBarResource({128, 129})},
        {kMENU, 128, 0, false, "",
         menuResource(128, 0xFFFFFFFD, "\x14", {{"About\xC9"}, {"-", 0, 0, 0, 0}, {"Sub", 0, 0x1B, 200, 0}})},
        {kMENU, 129, 0, false, "",
         menuResource(129, 0x3, "File", {{"New", 2, 'N', 0, 0}, {"Open", 0, 'O', 0x12, 1}})},
    });
    Handle list = GetNewMBar(128);
    ASSERT_NE(nullptr, list);
    EXPECT_TRUE(HostMenuBarMenus().empty()); // reading a bar does not install it
    SetMenuBar(list);
    ASSERT_EQ(2u, HostMenuBarMenus().size());
    MenuRef app = GetMenuHandle(128);
    MenuRef file = GetMenuHandle(129);
    ASSERT_NE(nullptr, app);
    ASSERT_NE(nullptr, file);
    EXPECT_EQ("\x14", titleOf(app));
    EXPECT_TRUE(app->Enabled());
    EXPECT_EQ("About\xC9", textOf(app, 1));
    EXPECT_FALSE(IsMenuItemEnabled(app, 1)); // bit 1 of the enable flags is clear
    EXPECT_TRUE(IsMenuItemEnabled(app, 2));
    EXPECT_EQ(200, app->Item(3)->submenuID);
    EXPECT_EQ(0, app->Item(3)->commandKey);
    EXPECT_EQ(noMark, app->Item(3)->mark);
    EXPECT_EQ("File", titleOf(file));
    EXPECT_TRUE(IsMenuItemEnabled(file, 1));
    EXPECT_FALSE(IsMenuItemEnabled(file, 2));
    EXPECT_EQ(2, file->Item(1)->iconID);
    EXPECT_EQ('N', file->Item(1)->commandKey);
    EXPECT_EQ(checkMark, file->Item(2)->mark);
    EXPECT_EQ(1, file->Item(2)->style);

    // Menus inserted later come after the bar's own.
    MenuRef extra = NewMenu(131, P("Extra"));
    InsertMenu(extra, 0);
    EXPECT_EQ(extra, HostMenuBarMenus().back());

    SetMenuBar(nullptr); // not a list: nothing changes
    Handle plain = NewHandle(8);
    SetMenuBar(plain);
    EXPECT_EQ(3u, HostMenuBarMenus().size());
    DisposeHandle(plain);
    DisposeHandle(list);
}

TEST_F(HostMenus, DamagedOrMissingResourcesGiveNoMenu)
{
    std::vector<uint8_t> good = menuResource(129, 0xFFFFFFFF, "File", {{"New", 0, 'N', 0, 0}});
    std::vector<std::vector<uint8_t>> cuts;
    for (size_t n : {size_t(0), size_t(5), size_t(13), size_t(15), size_t(19), size_t(22), good.size() - 1})
        cuts.emplace_back(good.begin(), good.begin() + std::ptrdiff_t(n));
    std::vector<ClassicResource> resources;
    for (size_t i = 0; i < cuts.size(); ++i)
        resources.push_back({kMENU, int16_t(200 + i), 0, false, "", cuts[i]});
    resources.push_back({kMENU, 129, 0, false, "", good});
    resources.push_back({kMBAR, 1, 0, false, "", {0, 3, 0, 129}});        // count past the data
    resources.push_back({kMBAR, 2, 0, false, "", menuBarResource({129, 999})}); // a missing menu
    resources.push_back({kMBAR, 3, 0, false, "", {0}});                   // no count
    useResources(resources);

    for (size_t i = 0; i < cuts.size(); ++i)
        EXPECT_EQ(nullptr, GetMenu(int16_t(200 + i))) << "cut at " << cuts[i].size();
    MenuRef whole = GetMenu(129);
    ASSERT_NE(nullptr, whole);
    EXPECT_EQ(1, CountMenuItems(whole));
    EXPECT_EQ(nullptr, GetMenu(999));
    EXPECT_EQ(resNotFound, ResError());
    for (int16_t id : {1, 2, 3, 4})
        EXPECT_EQ(nullptr, GetNewMBar(id)) << "MBAR " << id;
}

} // namespace

namespace {

// Pixels of a box of the screen's store that are not the given colour, and the darkest of them.
struct Ink {
    int count = 0;
    uint8_t darkest = 255;
};
Ink inkIn(const HostPixelMap& screen, const Rect& r, uint32_t background)
{
    Ink ink;
    for (int v = r.top; v < r.bottom; ++v)
        for (int h = r.left; h < r.right; ++h) {
            uint32_t pixel = screen.GetAt(h, v);
            if (pixel == background)
                continue;
            ++ink.count;
            ink.darkest = std::min(ink.darkest, HostGreyLevel(pixel));
        }
    return ink;
}

constexpr int16_t kBarHeight = 20;

// Draws into a port as large as the screen whose local coordinates are global ones.
class HostMenuDrawing : public HostMenus {
protected:
    void SetUp() override
    {
        OSErr err = noErr;
        mPort = HostPort::Create(HostScreenBounds(), 32, &err);
        ASSERT_NE(nullptr, mPort);
    }
    void TearDown() override
    {
        delete mPort;
        HostMenus::TearDown();
    }
    HostPort* mPort = nullptr;
};

TEST_F(HostMenuDrawing, BarShowsTitlesAndTheHighlightedOne)
{
    MenuRef file = NewMenu(131, P("File"));
    MenuRef edit = NewMenu(130, P("Edit"));
    InsertMenu(file, 0);
    InsertMenu(edit, 0);
    std::vector<HostMenuTitleLayout> titles = HostLayOutMenuBar();
    ASSERT_EQ(2u, titles.size());
    EXPECT_LT(titles[0].left, titles[0].right);
    EXPECT_EQ(titles[0].right, titles[1].left);

    HostDrawMenuBar(mPort);
    const uint32_t bar = mPort->Pixels().GetAt(2, 2);
    for (const HostMenuTitleLayout& t : titles) {
        Ink ink = inkIn(mPort->Pixels(), Rect{0, t.left, kBarHeight - 1, t.right}, bar);
        EXPECT_GT(ink.count, 20);
        EXPECT_LT(ink.darkest, 60); // black text
    }
    // Nothing right of the last title.
    EXPECT_EQ(0, inkIn(mPort->Pixels(), Rect{0, titles[1].right, kBarHeight - 1, 1280}, bar).count);

    HiliteMenu(130);
    HostDrawMenuBar(mPort);
    const uint32_t selection = mPort->Pixels().GetAt(titles[1].left + 1, 2);
    EXPECT_NE(bar, selection);
    EXPECT_EQ(bar, mPort->Pixels().GetAt(titles[0].left + 1, 2));
    DisableMenuItem(file, 0);
    HiliteMenu(0);
    HostDrawMenuBar(mPort);
    EXPECT_GT(inkIn(mPort->Pixels(), Rect{0, titles[0].left, kBarHeight - 1, titles[0].right}, bar).darkest, 100);
}

TEST_F(HostMenuDrawing, PanelShowsItemsDisabledOnesGreyAndTheHighlight)
{
    MenuRef menu = NewMenu(131, P("File"));
    AppendMenu(menu, P("Open;(Closed;-;Checked;Sub"));
    CheckMenuItem(menu, 4, true);
    SetItemCmd(menu, 1, 'o');
    SetMenuItemModifiers(menu, 1, kMenuShiftModifier | kMenuOptionModifier);
    SetMenuItemHierarchicalID(menu, 5, 140);
    InsertMenu(menu, 0);
    HostMenuPanelLayout panel = HostLayOutPullDown(menu, 30);
    EXPECT_EQ(kBarHeight, panel.frame.top);
    EXPECT_EQ(30, panel.frame.left);
    ASSERT_EQ(5u, panel.items.size());
    EXPECT_LT(panel.items[2].bottom - panel.items[2].top, panel.items[1].bottom - panel.items[1].top);

    HostDrawMenuPanel(mPort, Point{0, 0}, panel, 0);
    const uint32_t white = HostArgb(255, 255, 255, 255);
    Ink open = inkIn(mPort->Pixels(), panel.items[0], white);
    Ink closed = inkIn(mPort->Pixels(), panel.items[1], white);
    EXPECT_GT(open.count, 20);
    EXPECT_LT(open.darkest, 60);
    EXPECT_GT(closed.count, 20);
    EXPECT_GT(closed.darkest, 100); // drawn in grey
    // The check mark sits in the mark column; unchecked items have none.
    auto markColumn = [](const Rect& r) { return Rect{r.top, r.left, r.bottom, int16_t(r.left + 18)}; };
    EXPECT_GT(inkIn(mPort->Pixels(), markColumn(panel.items[3]), white).count, 5);
    EXPECT_EQ(0, inkIn(mPort->Pixels(), markColumn(panel.items[0]), white).count);

    // The highlighted item is filled; a disabled item is never highlighted.
    HostDrawMenuPanel(mPort, Point{0, 0}, panel, 1);
    EXPECT_NE(white, mPort->Pixels().GetAt(panel.items[0].left + 2, panel.items[0].top + 1));
    HostDrawMenuPanel(mPort, Point{0, 0}, panel, 2);
    EXPECT_EQ(white, mPort->Pixels().GetAt(panel.items[1].left + 2, panel.items[1].top + 1));
    EXPECT_EQ(white, mPort->Pixels().GetAt(panel.items[0].left + 2, panel.items[0].top + 1));
}

TEST_F(HostMenuDrawing, ShortcutLabelsNameTheHostKeys)
{
    HostMenuItem item;
    EXPECT_TRUE(HostMenuShortcutLabel(item).empty());
    item.commandKey = 's';
    auto text = [&] {
        std::vector<uint8_t> label = HostMenuShortcutLabel(item);
        return std::string(label.begin(), label.end());
    };
    EXPECT_EQ("Ctrl+S", text());
    item.modifiers = kMenuShiftModifier | kMenuOptionModifier;
    EXPECT_EQ("Ctrl+Shift+Alt+S", text());
    item.modifiers = kMenuNoCommandModifier | kMenuControlModifier;
    EXPECT_EQ("Super+S", text());
}

TEST_F(HostMenuDrawing, PanelsStayOnTheScreen)
{
    MenuRef menu = NewMenu(131, P("Long"));
    for (int i = 0; i < 60; ++i)
        AppendMenu(menu, P("A rather long item text " + std::to_string(i)));
    MenuRef sub = NewMenu(140, P("Sub"));
    AppendMenu(sub, P("Inner item"));
    InsertMenu(menu, 0);
    InsertMenu(sub, hierMenu);
    HostMenuPanelLayout panel = HostLayOutPullDown(menu, 1270);
    EXPECT_LE(panel.frame.right, 1280);
    EXPECT_LE(panel.frame.bottom, 800);
    EXPECT_EQ(0, panel.items.back().bottom - panel.items.back().top); // cut at the screen's bottom
    HostMenuPanelLayout submenu = HostLayOutSubmenu(sub, panel, 3);
    EXPECT_LE(submenu.frame.right, panel.frame.left + 2); // no room on the right: opens to the left
    EXPECT_EQ(panel.items[2].top - 1, submenu.frame.top);
    HostMenuPanelLayout left = HostLayOutPullDown(menu, 0);
    HostMenuPanelLayout right = HostLayOutSubmenu(sub, left, 1);
    EXPECT_EQ(left.frame.right - 2, right.frame.left);
    HostDrawMenuPanel(mPort, Point{0, 0}, panel, 60); // every item drawn or skipped, nothing outside the store
}

} // namespace

namespace {

class HostMenuTracking : public HostMenus {
protected:
    void SetUp() override
    {
        mFile = NewMenu(131, P("File"));
        AppendMenu(mFile, P("Open;(Closed;-;Recent"));
        SetMenuItemHierarchicalID(mFile, 4, 140);
        mEdit = NewMenu(132, P("Edit"));
        AppendMenu(mEdit, P("Cut;Copy"));
        mRecent = NewMenu(140, P("Recent"));
        AppendMenu(mRecent, P("a.rsrc;b.rsrc"));
        InsertMenu(mFile, 0);
        InsertMenu(mEdit, 0);
        InsertMenu(mRecent, hierMenu);
        std::vector<HostMenuTitleLayout> titles = HostLayOutMenuBar();
        mFileTitle = Point{5, int16_t(titles[0].left + 3)};
        mEditTitle = Point{5, int16_t(titles[1].left + 3)};
    }
    void TearDown() override
    {
        HostSetMenuInputSource(nullptr);
        HostResetInput();
        HostMenus::TearDown();
    }

    // The middle of an item of an open panel.
    static Point itemPoint(const HostMenuTracker& tracker, size_t panel, MenuItemIndex item)
    {
        const Rect& r = tracker.Panels().at(panel).layout.items.at(item - 1);
        return Point{int16_t((r.top + r.bottom) / 2), int16_t((r.left + r.right) / 2)};
    }
    static HostMenuInput move(Point p) { return {HostMenuInput::Kind::Move, p}; }
    static HostMenuInput down(Point p) { return {HostMenuInput::Kind::Down, p}; }
    static HostMenuInput up(Point p) { return {HostMenuInput::Kind::Up, p}; }

    MenuRef mFile = nullptr;
    MenuRef mEdit = nullptr;
    MenuRef mRecent = nullptr;
    Point mFileTitle{};
    Point mEditTitle{};
};

TEST_F(HostMenuTracking, DragToAnItemAndReleaseChoosesIt)
{
    HostMenuTracker tracker(mFileTitle);
    EXPECT_EQ(mFile, tracker.OpenTitle());
    EXPECT_EQ(131, HostHilitedMenu());
    ASSERT_EQ(1u, tracker.Panels().size());
    Point open = itemPoint(tracker, 0, 1);
    tracker.Feed(move(open));
    EXPECT_EQ(1, tracker.Panels()[0].hilited);
    tracker.Feed(move(itemPoint(tracker, 0, 2))); // disabled: no highlight
    EXPECT_EQ(0, tracker.Panels()[0].hilited);
    tracker.Feed(up(open));
    ASSERT_TRUE(tracker.Done());
    EXPECT_EQ((131 << 16) | 1, tracker.Result());
    EXPECT_EQ(131, HostHilitedMenu()); // the caller removes the highlight
}

TEST_F(HostMenuTracking, DraggingAcrossTitlesSwitchesMenus)
{
    HostMenuTracker tracker(mFileTitle);
    tracker.Feed(move(mEditTitle));
    EXPECT_EQ(mEdit, tracker.OpenTitle());
    EXPECT_EQ(132, HostHilitedMenu());
    tracker.Feed(move(itemPoint(tracker, 0, 2)));
    tracker.Feed(up(itemPoint(tracker, 0, 2)));
    EXPECT_EQ((132 << 16) | 2, tracker.Result());
}

TEST_F(HostMenuTracking, ReleasingOnTheTitleKeepsTheMenuOpenUntilTheNextClick)
{
    HostMenuTracker tracker(mFileTitle);
    tracker.Feed(up(mFileTitle));
    EXPECT_FALSE(tracker.Done());
    tracker.Feed(move(itemPoint(tracker, 0, 1)));
    EXPECT_EQ(1, tracker.Panels()[0].hilited);
    tracker.Feed(down(itemPoint(tracker, 0, 3))); // on the separator: stays open
    tracker.Feed(up(itemPoint(tracker, 0, 3)));
    EXPECT_FALSE(tracker.Done());
    tracker.Feed(down(Point{400, 600})); // a click away closes with nothing chosen
    ASSERT_TRUE(tracker.Done());
    EXPECT_EQ(0, tracker.Result());
    EXPECT_EQ(0, HostHilitedMenu());
}

TEST_F(HostMenuTracking, HierarchicalMenusOpenFromTheirItem)
{
    HostMenuTracker tracker(mFileTitle);
    tracker.Feed(move(itemPoint(tracker, 0, 4)));
    ASSERT_EQ(2u, tracker.Panels().size());
    EXPECT_EQ(mRecent, tracker.Panels()[1].layout.menu);
    tracker.Feed(move(itemPoint(tracker, 1, 2)));
    EXPECT_EQ(2, tracker.Panels()[1].hilited);
    EXPECT_EQ(4, tracker.Panels()[0].hilited);
    tracker.Feed(move(itemPoint(tracker, 0, 1))); // back on another item: the submenu closes
    EXPECT_EQ(1u, tracker.Panels().size());
    tracker.Feed(move(itemPoint(tracker, 0, 4)));
    tracker.Feed(up(itemPoint(tracker, 1, 1)));
    EXPECT_EQ((140 << 16) | 1, tracker.Result());
    EXPECT_EQ(131, HostHilitedMenu());
}

TEST_F(HostMenuTracking, ReleasingAwayFromAnEnabledItemChoosesNothing)
{
    HostMenuTracker onDisabled(mFileTitle);
    Point closed = itemPoint(onDisabled, 0, 2);
    onDisabled.Feed(up(closed));
    EXPECT_TRUE(onDisabled.Done());
    EXPECT_EQ(0, onDisabled.Result());

    HostMenuTracker outside(mFileTitle);
    outside.Feed(up(Point{300, 900}));
    EXPECT_EQ(0, outside.Result());
    EXPECT_EQ(0, HostHilitedMenu());

    DisableMenuItem(mEdit, 0); // a disabled menu opens, but nothing in it is chosen
    HostMenuTracker disabled(mEditTitle);
    ASSERT_EQ(1u, disabled.Panels().size());
    disabled.Feed(up(itemPoint(disabled, 0, 1)));
    EXPECT_EQ(0, disabled.Result());
}

TEST_F(HostMenuTracking, MenuSelectTracksInjectedInput)
{
    HostMenuTracker probe(mFileTitle);
    const Point recent = itemPoint(probe, 0, 4);
    probe.Feed(move(recent));
    const Point second = itemPoint(probe, 1, 2);
    probe.Abandon();
    HostInjectMouseMove(recent);
    HostInjectMouseMove(second);
    HostInjectMouseUp(second);
    EXPECT_EQ((140 << 16) | 2, MenuSelect(mFileTitle));
    EXPECT_EQ(0u, HostPendingInjectedCount());
    // Released on the title, then no more input: nothing is chosen.
    HostInjectMouseUp(mFileTitle);
    EXPECT_EQ(0, MenuSelect(mFileTitle));
    EXPECT_EQ(0, HostHilitedMenu());
    // A click on the title, a click on an item.
    HostInjectClick(mEditTitle);
    HostInjectClick(Point{int16_t(kBarHeight + 5), int16_t(mEditTitle.h + 4)});
    EXPECT_EQ((132 << 16) | 1, MenuSelect(mFileTitle));
}

TEST_F(HostMenuTracking, EscapeOrCommandPeriodClosesTheMenusWhichTakeTheKeysTypedMeanwhile)
{
    const std::pair<uint8_t, EventModifiers> cancels[] = {{27, 0}, {'.', cmdKey}};
    for (const auto& [character, modifiers] : cancels) {
        SCOPED_TRACE(character);
        HostInjectMouseUp(mFileTitle); // the menu stays open
        HostInjectKey(124, 29);        // right arrow
        HostInjectKey(7, 'x');
        HostInjectKey(47, character, modifiers);
        HostInjectKey(6, 'z'); // typed after the menu closed
        EXPECT_EQ(0, MenuSelect(mFileTitle));
        EXPECT_EQ(0, HostHilitedMenu());
        // Each wait takes in at most one injected input: what is left of it comes within eight.
        std::string typed;
        EventRecord event;
        for (int i = 0; i < 8; ++i)
            if (WaitNextEvent(keyDownMask, &event, 0, nullptr))
                typed += char(event.message & charCodeMask);
        EXPECT_EQ("z", typed);
        FlushEvents(everyEvent, 0);
    }
}

TEST_F(HostMenuTracking, MenuSelectTakesAGivenSource)
{
    static std::vector<HostMenuInput> sScript;
    static size_t sNext;
    HostMenuTracker probe(mFileTitle);
    sScript = {move(itemPoint(probe, 0, 4))};
    probe.Feed(sScript[0]);
    sScript.push_back(move(itemPoint(probe, 1, 2)));
    sScript.push_back(up(itemPoint(probe, 1, 2)));
    probe.Abandon();
    sNext = 0;
    HostSetMenuInputSource([](HostMenuInput* input) {
        if (sNext == sScript.size())
            return false;
        *input = sScript[sNext++];
        return true;
    });
    EXPECT_EQ((140 << 16) | 2, MenuSelect(mFileTitle));
}

} // namespace

namespace {

// The menus as they show on the virtual screen.
class HostMenuScreen : public HostMenuTracking {
protected:
    static HostPixelMap Snapshot()
    {
        HostComposeScreen();
        const HostPixelMap& screen = HostScreenPixels();
        HostPixelMap copy;
        copy.Allocate(screen.Bounds(), 32);
        for (int32_t y = 0; y < screen.Height(); ++y)
            for (int32_t x = 0; x < screen.Width(); ++x)
                copy.Set(x, y, screen.Get(x, y));
        return copy;
    }
};

TEST_F(HostMenuScreen, TheBarShowsTheTitlesAcrossTheTop)
{
    DrawMenuBar();
    HostPixelMap screen = Snapshot();
    const uint32_t bar = screen.GetAt(2, 2);
    std::vector<HostMenuTitleLayout> titles = HostLayOutMenuBar();
    for (const HostMenuTitleLayout& t : titles) {
        Ink ink = inkIn(screen, Rect{0, t.left, kBarHeight - 1, t.right}, bar);
        EXPECT_GT(ink.count, 20);
        EXPECT_LT(ink.darkest, 60);
    }
    EXPECT_EQ(0, inkIn(screen, Rect{2, titles.back().right, kBarHeight - 2, 1280}, bar).count);

    HiliteMenu(132);
    HostPixelMap hilited = Snapshot();
    EXPECT_NE(bar, hilited.GetAt(titles[1].left + 1, 2));
    EXPECT_EQ(bar, hilited.GetAt(titles[0].left + 1, 2));
}

TEST_F(HostMenuScreen, APulledDownMenuShowsItsItemsAndClosesAfterwards)
{
    DrawMenuBar();
    const uint32_t desktop = Snapshot().GetAt(600, 400);
    static std::vector<HostPixelMap> sShots;
    static std::vector<HostMenuInput> sScript;
    static size_t sNext;
    sShots.clear();
    HostMenuTracker probe(mFileTitle);
    const HostMenuPanelLayout panel = probe.Panels()[0].layout;
    probe.Abandon();
    sScript = {move(Point{int16_t((panel.items[0].top + panel.items[0].bottom) / 2), int16_t(panel.items[0].left + 40)}),
               up(Point{500, 600})};
    sNext = 0;
    HostSetMenuInputSource([](HostMenuInput* input) {
        sShots.push_back(Snapshot());
        if (sNext == sScript.size())
            return false;
        *input = sScript[sNext++];
        return true;
    });
    EXPECT_EQ(0, MenuSelect(mFileTitle));
    ASSERT_EQ(2u, sShots.size());

    // Pulled down: the panel is white with the items' text; the disabled item is grey.
    const HostPixelMap& open = sShots[0];
    const uint32_t white = HostArgb(255, 255, 255, 255);
    EXPECT_EQ(white, open.GetAt(panel.frame.right - 3, panel.items[0].top + 1));
    Ink enabled = inkIn(open, panel.items[0], white);
    Ink disabled = inkIn(open, panel.items[1], white);
    EXPECT_GT(enabled.count, 20);
    EXPECT_LT(enabled.darkest, 60);
    EXPECT_GT(disabled.count, 20);
    EXPECT_GT(disabled.darkest, 100);
    EXPECT_GT(inkIn(open, panel.items[3], white).count, 20); // the item with a submenu, its arrow
    // The mouse over the first item highlights it.
    const HostPixelMap& over = sShots[1];
    EXPECT_NE(white, over.GetAt(panel.items[0].left + 2, panel.items[0].top + 1));
    EXPECT_EQ(white, over.GetAt(panel.items[3].left + 2, panel.items[3].top + 1));

    // Afterwards the menu is gone and the title is no longer highlighted.
    HostPixelMap after = Snapshot();
    EXPECT_EQ(desktop, after.GetAt(panel.frame.left + 5, panel.items[0].top + 2));
    EXPECT_EQ(after.GetAt(2, 2), after.GetAt(mFileTitle.h, 2));
}

} // namespace
