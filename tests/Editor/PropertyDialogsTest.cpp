// The controls' property dialogs over the program's own layouts: what each shows of its control,
// what OK writes back, the rectangle fields kept in step while typing, and DoInterface running
// each dialog as a modal dialog answered headless.
#include "EditorFixture.h"

#include "DialogTyping.h"

#include "CheckBox.h"
#include "ColorButton.h"
#include "ColorSlider.h"
#include "ControlDialogs.h"
#include "Divider.h"
#include "EditText.h"
#include "FWDynamicString.h"
#include "FWOpMenu.h"
#include "FWOpItem.h"
#include "FWPopupMenu.h"
#include "FWStr.h"
#include "DiskImage.h"
#include "FWViewMngr.h"
#include "FWWindow.h"
#include "Group.h"
#include "HostHeadless.h"
#include "HostModalLoop.h"
#include "HostNavDialogs.h"
#include "ListBox.h"
#include "MaterialIcon.h"
#include "PictureBox.h"
#include "Popup.h"
#include "PushButton.h"
#include "QZ_GLView.h"
#include "RadioButtonSet.h"
#include "Scroller.h"
#include "StaticText.h"
#include "TabControl.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr uint8_t kKeyReturn = 36;

void pressReturn()
{
    HostInjectKey(kKeyReturn, 13);
}

std::string text(const FWString& s)
{
    return std::string(s.GetCString(), s.GetCurrLength());
}

std::string field(FWWindow* dialog, int32_t id)
{
    FWDynamicString value;
    EditText::GGetString(dialog, id, &value);
    return text(value);
}

void setField(FWWindow* dialog, int32_t id, const char* value)
{
    const FWDynamicString s(value);
    EditText::GSetString(dialog, id, &s, nullptr);
}

std::vector<std::string> itemNames(const Popup& popup)
{
    std::vector<std::string> names;
    if (popup.GetPopupMenu() == nullptr)
        return names;
    for (FWUserOp* item = popup.GetPopupMenu()->Root()->FirstChild(); item != nullptr; item = item->NextPeer())
        names.push_back(text(item->Name()));
    return names;
}

FWOpMenu* menuOf(int count)
{
    auto* menu = new FWOpMenu("", 0, 128, 0, 0, nullptr, nullptr, nullptr, nullptr, 0);
    for (int i = 0; i < count; ++i)
        menu->AppendChild(new FWOpItem(FWDynamicString(("item " + std::to_string(i)).c_str()), i, 0, 0, 0, nullptr,
                                       nullptr, nullptr, 0, 0));
    return menu;
}

} // namespace

class PropertyDialogsTest : public EditorFixture {
protected:
    PropertyDialogsTest()
    {
        StartApp();
        mWindow.Initialize(nullptr, FWRect(40, 60, 640, 560));
    }

    // Adds the view to the window; Number gives it the id once its Init has taken the window's next.
    template <class View>
    View* Place(View* view, int32_t id)
    {
        mWindow.ViewMngr().GetViewTree()->AppendChild(view);
        mIDs.emplace_back(view, id);
        return view;
    }
    void Number()
    {
        for (auto [view, id] : mIDs)
            view->SetID(id);
    }

    FWWindow mWindow;
    std::vector<std::pair<FWView*, int32_t>> mIDs;
};

TEST_F(PropertyDialogsTest, TheTitleAndSharedFieldsShowTheViewAndTypingKeepsWidthAndEdgesInStep)
{
    auto* group = Place(new Group, 7);
    FWStr<255> label("Frame");
    group->Init(&mWindow, FWRect(10, 20, 70, 36), &label, Group::kTopLeft, Group::kSunken);
    group->SetStringID(FWStr<31>("box"));
    auto* check = Place(new CheckBox, 8);
    check->Init(&mWindow, FWPoint(10, 50), &label);
    Number();

    CheckBoxDlg checkDialog(nullptr, check);
    EXPECT_EQ("CheckBox (ID:8)", text(checkDialog.Name()));
    EXPECT_EQ("Frame", field(&checkDialog, CheckBoxDlg::kLabelItem));
    setField(&checkDialog, CheckBoxDlg::kLabelItem, "Label");
    checkDialog.DialogAccepted(nullptr);
    EXPECT_EQ("Label", text(check->GetText()));

    GroupDlg dialog(nullptr, group);
    EXPECT_EQ("Group (ID:7)", text(dialog.Name()));
    EXPECT_EQ((std::vector<int32_t>{10, 20, 70, 36, 60, 16}),
              (std::vector<int32_t>{EditText::GGetLong(&dialog, 3), EditText::GGetLong(&dialog, 4),
                                    EditText::GGetLong(&dialog, 5), EditText::GGetLong(&dialog, 6),
                                    EditText::GGetLong(&dialog, 7), EditText::GGetLong(&dialog, 8)}));
    EXPECT_EQ("box", field(&dialog, 9));

    // Each edited field and the one it moves: (field, typed, moved field, its new value).
    struct Step {
        int32_t edited, value, moved, expected;
    };
    // Sums past 32 bits are held there (and refused as edges at OK).
    const Step steps[] = {{7, INT32_MAX, 5, INT32_MAX}, {4, INT32_MIN, 8, INT32_MAX}, {4, 20, 8, 16}, {7, 50, 5, 60},
                          {5, 100, 7, 90}, {3, 30, 7, 70}, {8, 40, 6, 60}, {4, 50, 8, 10}};
    for (const Step& step : steps) {
        EditText::GSetLong(&dialog, step.edited, step.value, nullptr);
        dialog.InterfaceTextEvent(static_cast<EditText*>(dialog.ViewMngr().GetView(step.edited)));
        EXPECT_EQ(step.expected, EditText::GGetLong(&dialog, step.moved)) << "after editing field " << step.edited;
    }
    // OK reads only the edges: a width typed last without its text event moves nothing.
    EditText::GSetLong(&dialog, 7, 500, nullptr);
    setField(&dialog, 9, "renamed");
    EXPECT_TRUE(dialog.DialogAccepted(nullptr));
    EXPECT_EQ(FWRect(30, 50, 100, 60), group->GetRect());
    EXPECT_EQ("renamed", text(group->GetStringID()));
}

TEST_F(PropertyDialogsTest, DoInterfaceRunsTheDialogTypedIntoAndCancelChangesNothing)
{
    auto* group = Place(new Group, 12);
    FWStr<255> before("Before");
    group->Init(&mWindow, FWRect(10, 10, 110, 80), &before, Group::kTopLeft, Group::kEngraved);
    Number();

    HostModalPresetAnswer(HostModalAnswer::kCancel);
    EXPECT_FALSE(group->DoInterface());
    EXPECT_EQ("Before", text(group->GetLabel().mText));
    EXPECT_EQ(FWRect(10, 10, 110, 80), group->GetRect());

    // Width (position 4 of the tab order) becomes 50, then the label (position 7) "After".
    Typist typist;
    typist.Type(4, "50");
    typist.Type(7, "After");
    pressReturn();
    EXPECT_TRUE(group->DoInterface());
    EXPECT_EQ("After", text(group->GetLabel().mText));
    EXPECT_EQ(FWRect(10, 10, 60, 80), group->GetRect());
    ASSERT_EQ(2u, HostModalShownLog().size());
    EXPECT_EQ("Group (ID:12)", HostModalShownLog()[1].title);
}

TEST_F(PropertyDialogsTest, EveryControlOpensItsOwnDialog)
{
    FWStr<255> label("L");
    auto* text = Place(new StaticText, 21);
    text->Init(&mWindow, FWRect(0, 0, 50, 20), &label, StaticText::kSingleLine);
    auto* group = Place(new Group, 22);
    group->Init(&mWindow, FWRect(0, 30, 100, 100), &label, Group::kTopLeft, Group::kSunken);
    auto* tabs = Place(new TabControl, 23);
    tabs->Init(&mWindow, FWRect(0, 110, 200, 200), 2, nullptr);
    auto* gl = Place(new QZ_GLView, 24);
    gl->Init(&mWindow);
    gl->SetRect(FWRect(400, 0, 460, 60));
    auto* push = Place(new PushButton, 25);
    push->Init(&mWindow, FWRect(0, 210, 80, 230), &label, 0);
    auto* ok = Place(new OKButton, 26);
    ok->Init(&mWindow, FWRect(400, 70, 460, 90), nullptr);
    auto* cancel = Place(new CancelButton, 27);
    cancel->Init(&mWindow, FWRect(400, 100, 460, 120), nullptr);
    auto* edit = Place(new EditText, 28);
    edit->Init(&mWindow, FWRect(0, 240, 100, 258), nullptr);
    auto* check = Place(new CheckBox, 29);
    check->Init(&mWindow, FWPoint(0, 260), &label);
    auto* scroller = Place(new Scroller, 30);
    const FWRect bar(0, 280, 100, 296);
    scroller->Init(&mWindow, &bar);
    auto* divider = Place(new Divider, 31);
    divider->Init(&mWindow, FWRect(0, 300, 100, 304));
    auto* picture = Place(new PictureBox, 32);
    picture->Init(&mWindow, FWRect(200, 0, 300, 100), 17, FOUR_CHAR_CODE("argb"));
    auto* radios = Place(new RadioButtonSet, 33);
    FWStr<31> names[2] = {FWStr<31>("a"), FWStr<31>("b")};
    radios->Init(&mWindow, FWPoint(200, 120), 2, names);
    auto* slider = Place(new ColorSlider, 34);
    slider->Init(&mWindow, FWRect(200, 160, 300, 176), ColorSlider::kRed);
    auto* list = Place(new ListBox, 35);
    list->Init(&mWindow, FWRect(200, 200, 300, 300));
    auto* popup = Place(new Popup, 36);
    popup->Init(&mWindow, FWRect(300, 0, 400, 20), &label, -1, true);
    auto* icon = Place(new MaterialIcon, 37);
    icon->Init(&mWindow, FWPoint(300, 40));
    auto* color = Place(new ColorButton, 38);
    color->Init(&mWindow, FWRect(300, 120, 340, 140), FWArgb32{255, 10, 20, 30});
    Number();

    const std::vector<std::pair<FWView*, std::string>> cases = {
        {text, "StaticText (ID:21)"},   {group, "Group (ID:22)"},         {tabs, "TabControl (ID:23)"},
        {gl, "GLView (ID:24)"},         {push, "PushButton (ID:25)"},     {ok, "OKButton (ID:26)"},
        {cancel, "CancelButton (ID:27)"}, {edit, "EditText (ID:28)"},     {check, "CheckBox (ID:29)"},
        {scroller, "Scroller (ID:30)"}, {divider, "Divider (ID:31)"},     {picture, "PictureBox (ID:32)"},
        {radios, "RadioButtonSet (ID:33)"}, {slider, "ColorSlider (ID:34)"}, {list, "ListBox (ID:35)"},
        {popup, "Popup (ID:36)"},       {icon, "MaterialIcon (ID:37)"}, {color, "ColorButton (ID:38)"},
    };
    for (const auto& [view, title] : cases) {
        HostResetModalLoops();
        HostModalPresetAnswer(HostModalAnswer::kDefault);
        EXPECT_TRUE(view->DoInterface()) << title;
        ASSERT_EQ(1u, HostModalShownLog().size()) << title;
        EXPECT_EQ(title, HostModalShownLog()[0].title);
        // A left edge typed beyond the right one, or a list box 4 high (its frame and bar need
        // 15 x 5), is refused with a message, and the view stays.
        const FWRect before = view->GetRect();
        const size_t shown = HostModalShownLog().size();
        Typist typist;
        typist.Type(view == list ? 5 : 0, view == list ? "4" : "5000");
        pressReturn();
        EXPECT_FALSE(view->DoInterface()) << title;
        EXPECT_EQ(before, view->GetRect()) << title;
        ASSERT_GT(HostModalShownLog().size(), shown + 1) << title << ": the dialog, then the message";
        const std::string rule = view == list ? "15 to 32767 and a height (bottom - top) from 5 to"
                                 : dynamic_cast<PushButton*>(view) ? "7 to 32767 and a height (bottom - top) from 7 to" : "";
        const std::string name = title.substr(0, title.find(" ("));
        EXPECT_EQ(0u, HostModalShownLog().back().texts.at(0).find("The " + name + " needs a width (right - left) from " +
                                                                  rule)) << title;
    }
}

TEST_F(PropertyDialogsTest, ThePopupShowsAtMost75NamesAndANameTypedPastTheCountExtendsIt)
{
    auto* popup = Place(new Popup, 40);
    const FWStr<255> label("Kind:");
    popup->Init(&mWindow, FWRect(10, 10, 150, 30), &label, -1, true);
    popup->SetPopupMenu(menuOf(80), true);
    {
        PopupDlg dialog(nullptr, popup);
        EXPECT_EQ(80, EditText::GGetLong(&dialog, PopupDlg::kCountItem));
        EXPECT_EQ("item 0", field(&dialog, 13));
        EXPECT_EQ("item 74", field(&dialog, 87));
        EXPECT_EQ("Kind:", field(&dialog, PopupDlg::kLabelItem));
        // More names than the dialog shows are refused, not cut; 75 is taken.
        EXPECT_FALSE(dialog.DialogAccepted(nullptr));
        ASSERT_FALSE(HostModalShownLog().empty());
        EXPECT_EQ("The number of items must lie between 0 and 75.", HostModalShownLog().back().texts.at(0));
        EditText::GSetLong(&dialog, PopupDlg::kCountItem, 75, nullptr);
        EXPECT_TRUE(dialog.DialogAccepted(nullptr));
    }
    EXPECT_EQ(75, popup->CountItems());

    popup->SetPopupMenu(menuOf(5), true);
    PopupDlg dialog(nullptr, popup);
    setField(&dialog, 24, "twelfth");
    dialog.InterfaceTextEvent(static_cast<EditText*>(dialog.ViewMngr().GetView(24)));
    EXPECT_EQ(12, EditText::GGetLong(&dialog, PopupDlg::kCountItem));
    // An emptied field before the count does not shrink it.
    setField(&dialog, 14, "");
    dialog.InterfaceTextEvent(static_cast<EditText*>(dialog.ViewMngr().GetView(14)));
    EXPECT_EQ(12, EditText::GGetLong(&dialog, PopupDlg::kCountItem));
    CheckBox::GSetState(&dialog, PopupDlg::kNotifyItem, true, nullptr);
    setField(&dialog, PopupDlg::kLabelItem, "Sort:");
    dialog.DialogAccepted(nullptr);
    EXPECT_EQ((std::vector<std::string>{"item 0", "", "item 2", "item 3", "item 4", "", "", "", "", "", "",
                                        "twelfth"}),
              itemNames(*popup));
    EXPECT_TRUE(popup->GetNotifyOnEveryClick());
    EXPECT_EQ("Sort:", text(popup->GetLabel()));
}

TEST_F(PropertyDialogsTest, ThePopupLoadsItemsFromATextFileAtOnceAndRefusesEmptyOrUnreadableFiles)
{
    auto* popup = Place(new Popup, 41);
    const FWStr<255> label("Kind:");
    popup->Init(&mWindow, FWRect(10, 10, 150, 30), &label, -1, true);
    popup->SetPopupMenu(menuOf(3), true);
    const std::string longLine(300, 'x');
    struct Case {
        std::string name, content;
        std::vector<std::string> items; // empty: refused
        std::string message;
    };
    std::string many;
    for (int i = 0; i < 80; ++i)
        many += std::to_string(i) + "\n";
    const std::vector<Case> cases = {
        {"two.txt", "a\nb", {"a", "b"}, ""},
        {"ended.txt", "a\nb\n", {"a", "b", ""}, ""},
        {"long.txt", longLine + "\nz", {std::string(255, 'x'), "z"}, ""},
        {"empty.txt", "", {}, "No one line was read"},
        {"pipe", "", {}, "Error reading file"},
    };
    for (const Case& c : cases) {
        const std::string path = File(c.name);
        if (c.name == "pipe")
            ASSERT_EQ(0, mkfifo(path.c_str(), 0600));
        else
            TempFolder::WriteFile(path, c.content);
        HostResetModalLoops();
        HostNavAnswer answer;
        answer.cancel = false;
        answer.paths = {path};
        HostNavPresetAnswer(answer);
        const std::vector<std::string> before = itemNames(*popup);
        {
            PopupDlg dialog(nullptr, popup);
            dialog.InterfaceEvent(dialog.ViewMngr().GetView(PopupDlg::kLoadButton));
            if (!c.items.empty()) {
                EXPECT_EQ(int32_t(c.items.size()), EditText::GGetLong(&dialog, PopupDlg::kCountItem)) << c.name;
                EXPECT_EQ(c.items[0], field(&dialog, 13)) << c.name;
                EXPECT_EQ("", field(&dialog, int32_t(13 + c.items.size()))) << c.name;
            }
        } // not accepted
        if (c.items.empty()) {
            EXPECT_EQ(before, itemNames(*popup)) << c.name;
            ASSERT_FALSE(HostModalShownLog().empty()) << c.name;
            const std::vector<std::string>& shown = HostModalShownLog().back().texts;
            EXPECT_NE(shown.end(), std::find(shown.begin(), shown.end(), c.message)) << c.name;
        } else {
            EXPECT_EQ(c.items, itemNames(*popup)) << c.name;
        }
    }
    HostNavAnswer answer;
    answer.cancel = false;
    answer.paths = {File("many.txt")};
    TempFolder::WriteFile(File("many.txt"), many);
    HostNavPresetAnswer(answer);
    PopupDlg dialog(nullptr, popup);
    dialog.InterfaceEvent(dialog.ViewMngr().GetView(PopupDlg::kLoadButton));
    EXPECT_EQ(75, popup->CountItems());
    EXPECT_EQ("Kind:", text(popup->GetLabel())) << "the label waits for OK";
}

TEST_F(PropertyDialogsTest, RadioSetsTabsAndGroupsKeepTheirLimits)
{
    auto* radios = Place(new RadioButtonSet, 50);
    std::vector<FWStr<31>> labels;
    for (int i = 0; i < 13; ++i)
        labels.emplace_back(("r" + std::to_string(i)).c_str());
    radios->Init(&mWindow, FWPoint(10, 10), 13, labels.data());
    radios->SetLinkedID(0, 77);
    {
        RadioButtonDlg dialog(nullptr, radios);
        EXPECT_EQ(13, EditText::GGetLong(&dialog, RadioButtonDlg::kCountItem));
        EXPECT_EQ("r0", field(&dialog, 11));
        EXPECT_EQ("r10", field(&dialog, 31));
        EXPECT_EQ(77, EditText::GGetLong(&dialog, 12));
        EditText::GSetLong(&dialog, 32, 9, nullptr);  // button 9's ghost
        EditText::GSetLong(&dialog, 28, 11, nullptr); // button 11's ghost
        // More buttons than label fields are refused, not cut; 11 is taken.
        EXPECT_FALSE(dialog.DialogAccepted(nullptr));
        ASSERT_FALSE(HostModalShownLog().empty());
        EXPECT_EQ("The number of buttons must lie between 1 and 11.", HostModalShownLog().back().texts.at(0));
        EXPECT_EQ(13, radios->GetCount());
        EditText::GSetLong(&dialog, RadioButtonDlg::kCountItem, 11, nullptr);
        EXPECT_TRUE(dialog.DialogAccepted(nullptr));
    }
    ASSERT_EQ(11, radios->GetCount());
    EXPECT_EQ(77, radios->GetButton(0).mLinkedID);
    EXPECT_EQ(9, radios->GetButton(8).mLinkedID);
    EXPECT_EQ(11, radios->GetButton(10).mLinkedID);
    EXPECT_EQ("r10", text(radios->GetLabel(10).mText));
    EXPECT_EQ(11 * 14, radios->GetRect().bottom - radios->GetRect().top);
    // (count, button 1's ghost typed, taken or -1): no buttons, ghosts past 32 bits or below 0 refused.
    const std::string ghostRule = "The ID of the view a button ghosts (empty for none) must lie between 0 and 2147483647.";
    for (auto [count, ghost, taken] : {std::tuple{0, "77", -1}, {11, "99999999999", -1}, {11, "-5", -1}, {11, "", 0},
                                       {11, "2147483647", INT32_MAX}}) {
        RadioButtonDlg dialog(nullptr, radios);
        EditText::GSetLong(&dialog, RadioButtonDlg::kCountItem, count, nullptr);
        setField(&dialog, 12, ghost);
        const size_t before = HostModalShownLog().size();
        EXPECT_EQ(taken >= 0, dialog.DialogAccepted(nullptr)) << ghost;
        EXPECT_EQ(taken >= 0 ? taken : 77, radios->GetButton(0).mLinkedID) << ghost;
        ASSERT_EQ(before + (taken < 0 ? 1 : 0), HostModalShownLog().size()) << ghost;
        if (taken < 0)
            EXPECT_EQ(count == 0 ? "The number of buttons must lie between 1 and 11." : ghostRule,
                      HostModalShownLog().back().texts.at(0));
    }
    EXPECT_EQ(11, radios->GetCount());

    auto* tabs = Place(new TabControl, 51);
    const FWStr<31> tabLabels[3] = {FWStr<31>("one"), FWStr<31>("two"), FWStr<31>("three")};
    tabs->Init(&mWindow, FWRect(10, 200, 300, 300), 3, tabLabels);
    tabs->SetActiveTab(2);
    {
        TabControlDlg dialog(nullptr, tabs);
        EXPECT_EQ("three", field(&dialog, 15));
        setField(&dialog, 13, "uno");
        dialog.DialogAccepted(nullptr);
    }
    EXPECT_EQ(3, tabs->GetTabCount());
    EXPECT_EQ(2, tabs->GetActiveTab()) << "an unchanged count keeps the pages";
    EXPECT_EQ("uno", text(tabs->GetLabel(0)));
    // (count typed, tabs after): more than ten or fewer than none refused; none leaves no active tab.
    const size_t beforeTabs = HostModalShownLog().size();
    for (auto [typed, made] : {std::pair{"10", 10}, {"12", 10}, {"-4", 10}, {"", 10}, {"0", 0}}) {
        TabControlDlg dialog(nullptr, tabs);
        setField(&dialog, TabControlDlg::kCountItem, typed);
        EXPECT_EQ(typed == std::to_string(made), dialog.DialogAccepted(nullptr)) << typed;
        EXPECT_EQ(made, tabs->GetTabCount()) << typed;
        EXPECT_EQ(made, tabs->GetBranchTotal()) << typed;
        EXPECT_EQ(made > 0 ? 0 : -1, tabs->GetActiveTab()) << typed;
    }
    ASSERT_GT(HostModalShownLog().size(), beforeTabs);
    EXPECT_EQ("The number of tabs must lie between 0 and 10.", HostModalShownLog().back().texts.at(0));
    {   // A count that deletes a control placed on a tab asks first; Cancel keeps the dialog open.
        tabs->SetBranchTotal(2);
        tabs->FirstChild()->NextPeer()->AppendChild(new StaticText);
        TabControlDlg dialog(nullptr, tabs);
        setField(&dialog, TabControlDlg::kCountItem, "1");
        HostModalPresetAnswer(HostModalAnswer::kCancel);
        EXPECT_FALSE(dialog.DialogAccepted(nullptr));
        ASSERT_FALSE(HostModalShownLog().empty());
        EXPECT_EQ("Setting the number of tabs to 1 deletes 1 control placed in the tab control.",
                  HostModalShownLog().back().texts.at(0));
    }

    auto* group = Place(new Group, 52);
    FWStr<255> groupLabel("G");
    group->Init(&mWindow, FWRect(10, 320, 200, 400), &groupLabel, Group::kTopLeft, Group::kSunken);
    group->SetBranchTotal(3);
    group->SetActiveLayer(1);
    // (layers, layer typed, layers and active index after): a missing layer keeps the active one;
    // more layers than a pop-up has items to pick them, or fewer than none, are refused.
    struct GroupCase {
        int32_t layers, layer, total, active;
    };
    const size_t beforeGroups = HostModalShownLog().size();
    for (const GroupCase& c : {GroupCase{3, 5, 3, 1}, GroupCase{3, 0, 3, 1}, GroupCase{3, 3, 3, 2},
                               GroupCase{100000, 1, 3, 2}, GroupCase{-2, 1, 3, 2}, GroupCase{75, 75, 75, 74}}) {
        GroupDlg dialog(nullptr, group);
        EditText::GSetLong(&dialog, GroupDlg::kLayersItem, c.layers, nullptr);
        EditText::GSetLong(&dialog, GroupDlg::kActiveLayerItem, c.layer, nullptr);
        EXPECT_EQ(c.layers == c.total, dialog.DialogAccepted(nullptr)) << c.layers;
        EXPECT_EQ(c.total, group->GetBranchTotal()) << c.layers;
        EXPECT_EQ(c.active, group->GetActiveBranchIndex()) << c.layers << " " << c.layer;
    }
    ASSERT_GT(HostModalShownLog().size(), beforeGroups);
    EXPECT_EQ("The number of layers must lie between 0 and 75.", HostModalShownLog().back().texts.at(0));
    GroupDlg dialog(nullptr, group);
    RadioButtonSet::GSetButton(&dialog, GroupDlg::kStyleItem, Group::kEmbossed, nullptr);
    RadioButtonSet::GSetButton(&dialog, GroupDlg::kLabelPositionItem, Group::kBottomRight, nullptr);
    setField(&dialog, GroupDlg::kLabelItem, "Box");
    dialog.DialogAccepted(nullptr);
    EXPECT_EQ(Group::kEmbossed, group->GetStyle());
    EXPECT_EQ(Group::kBottomRight, group->GetLabelPosition());
    EXPECT_EQ("Box", text(group->GetLabel().mText));
}

TEST_F(PropertyDialogsTest, FieldsButtonsPicturesAndSlidersTakeWhatTheDialogSays)
{
    auto* edit = Place(new EditText, 60);
    edit->Init(&mWindow, FWRect(10, 10, 200, 28), nullptr);
    // (validate, type): the lexer then accepts "-5" only for signed numbers, and anything unvalidated.
    struct EditCase {
        bool validate;
        FWString::Type type;
        bool acceptsMinusFive;
    };
    for (const EditCase& c : {EditCase{true, FWString::kSignedInteger, true},
                              EditCase{true, FWString::kUnsignedInteger, false}, EditCase{false, FWString::kOnOff, true}}) {
        EditTextDlg dialog(nullptr, edit);
        CheckBox::GSetState(&dialog, EditTextDlg::kValidateItem, c.validate, nullptr);
        RadioButtonSet::GSetButton(&dialog, EditTextDlg::kTypeItem, c.type, nullptr);
        setField(&dialog, EditTextDlg::kTitleItem, "Size:");
        setField(&dialog, EditTextDlg::kAutoValueItem, "mSize");
        dialog.DialogAccepted(nullptr);
        EXPECT_EQ(c.type, edit->FilterType());
        EXPECT_EQ(c.validate, edit->Lexer() != nullptr);
        EXPECT_EQ(c.acceptsMinusFive, EditText::CheckText(FWStr<31>("-5"), edit->Lexer(), edit->MultiToken(), nullptr));
    }
    EXPECT_EQ("Size:", text(edit->GetTitle()));
    EXPECT_EQ("mSize", text(edit->AutoValueString()));

    auto* push = Place(new PushButton, 61);
    const FWStr<255> pushText("Go");
    push->Init(&mWindow, FWRect(10, 40, 90, 62), &pushText, 131);
    const ImageBuffer* image = push->GetImage();
    {
        PushButtonDlg dialog(nullptr, push);
        EXPECT_EQ(1, RadioButtonSet::GGetButton(&dialog, PushButtonDlg::kIconPositionItem));
        RadioButtonSet::GSetButton(&dialog, PushButtonDlg::kIconPositionItem, 0, nullptr);
        RadioButtonSet::GSetButton(&dialog, PushButtonDlg::kBorderItem, 2, nullptr);
        RadioButtonSet::GSetButton(&dialog, PushButtonDlg::kPlacementItem, 4, nullptr);
        CheckBox::GSetState(&dialog, PushButtonDlg::kBoldItem, true, nullptr);
        setField(&dialog, PushButtonDlg::kTextItem, "Stop");
        dialog.DialogAccepted(nullptr);
    }
    EXPECT_EQ(-1, push->GetIconPosition());
    EXPECT_EQ(2, push->GetBorder());
    EXPECT_EQ(4, push->GetPlacement());
    EXPECT_TRUE(push->GetBoldText());
    EXPECT_EQ("Stop", text(push->GetText()));
    EXPECT_EQ(image, push->GetImage()) << "an unchanged icon id keeps the image";
    {
        PushButtonDlg dialog(nullptr, push);
        EditText::GSetLong(&dialog, PushButtonDlg::kIconItem, -32769, nullptr);
        EXPECT_FALSE(dialog.DialogAccepted(nullptr)) << "resource ids are 16-bit";
        EditText::GSetLong(&dialog, PushButtonDlg::kIconItem, 130, nullptr);
        EditText::GSetLong(&dialog, 5, 17, nullptr); // right: the least width, 7, is kept
        dialog.DialogAccepted(nullptr);
    }
    EXPECT_EQ(7, push->GetRect().Width());
    EXPECT_EQ(130, push->GetIconID());
    EXPECT_NE(image, push->GetImage());

    auto* picture = Place(new PictureBox, 62);
    picture->Init(&mWindow, FWRect(10, 80, 100, 170), 17, FOUR_CHAR_CODE("argb"));
    // (id typed, shows the default picture); an id beyond 16 bits is refused.
    for (auto [id, isDefault] : {std::pair{131, false}, {17, true}, {4242, true}, {99999, true}}) {
        PictureBoxDlg dialog(nullptr, picture);
        EditText::GSetLong(&dialog, PictureBoxDlg::kPictureItem, id, nullptr);
        EXPECT_EQ(id != 99999, dialog.DialogAccepted(nullptr));
        EXPECT_EQ(id != 99999 ? id : 4242, picture->GetPictureID());
        EXPECT_EQ(isDefault, picture->GetImage() == static_cast<const ImageBuffer*>(FWViewMngr::defaultPicture)) << id;
    }

    auto* slider = Place(new ColorSlider, 63);
    slider->Init(&mWindow, FWRect(10, 200, 200, 216), ColorSlider::kRed);
    auto* staticText = Place(new StaticText, 64);
    const FWStr<255> was("was");
    staticText->Init(&mWindow, FWRect(10, 230, 200, 250), &was, StaticText::kSingleLine);
    {
        ColorSliderDlg sliderDialog(nullptr, slider);
        EXPECT_EQ(ColorSlider::kRed, RadioButtonSet::GGetButton(&sliderDialog, ColorSliderDlg::kTypeItem));
        RadioButtonSet::GSetButton(&sliderDialog, ColorSliderDlg::kTypeItem, ColorSlider::kBlackness, nullptr);
        sliderDialog.DialogAccepted(nullptr);
        StaticTextDlg textDialog(nullptr, staticText);
        RadioButtonSet::GSetButton(&textDialog, StaticTextDlg::kStyleItem, StaticText::kPlainWrapped, nullptr);
        textDialog.DialogAccepted(nullptr);
    }
    EXPECT_EQ(ColorSlider::kBlackness, slider->GetStyle());

    auto* color = Place(new ColorButton, 65);
    color->Init(&mWindow, FWRect(10, 260, 50, 280), FWArgb32{255, 10, 20, 30});
    color->SetEditAlpha(true);
    {
        ColorButtonDlg dialog(nullptr, color);
        EXPECT_TRUE(CheckBox::GGetState(&dialog, ColorButtonDlg::kEditAlphaItem));
        CheckBox::GSetState(&dialog, ColorButtonDlg::kEditAlphaItem, false, nullptr);
        setField(&dialog, ColorButtonDlg::kPromptItem, "Pick a colour");
        setField(&dialog, ColorButtonDlg::kTextItem, "Fill");
        dialog.DialogAccepted(nullptr);
    }
    EXPECT_FALSE(color->GetEditAlpha());
    EXPECT_EQ("Pick a colour", text(color->GetPromptString()));
    EXPECT_EQ("Fill", text(color->GetText()));
    EXPECT_EQ(StaticText::kPlainWrapped, staticText->GetStyle());
}

TEST_F(PropertyDialogsTest, TheMaterialIconDialogIsBuiltInCodeWithEdgesAndStringIDOnly)
{
    auto* icon = Place(new MaterialIcon, 70);
    icon->Init(&mWindow, FWPoint(20, 30));
    Number();
    MaterialIconDlg dialog(nullptr, icon);
    EXPECT_EQ("MaterialIcon (ID:70)", text(dialog.Name()));
    const FWRect size = dialog.Size();
    EXPECT_EQ(206, size.right - size.left);
    EXPECT_EQ(196, size.bottom - size.top);
    struct Item {
        int32_t id;
        const char* caption;
        FWRect rect;
        int32_t value;
    };
    for (const Item& item : {Item{4, "Left:", FWRect(13, 17, 89, 35), 20}, Item{5, "Top:", FWRect(96, 17, 170, 35), 30},
                             Item{6, "Right:", FWRect(8, 37, 89, 55), 86}, Item{7, "Bott:", FWRect(93, 37, 170, 55), 96},
                             Item{9, "ID:", FWRect(9, 89, 180, 107), 0}}) {
        auto* field = dynamic_cast<EditText*>(dialog.ViewMngr().GetView(item.id));
        ASSERT_NE(nullptr, field) << item.id;
        EXPECT_EQ(item.caption, text(field->GetTitle()));
        EXPECT_EQ(item.rect.left, field->GetRect().left) << item.id;
        EXPECT_EQ(item.rect.top, field->GetRect().top) << item.id;
        EXPECT_EQ(item.rect.right, field->GetRect().right) << item.id;
        if (item.id != 9) {
            EXPECT_EQ(item.value, EditText::GGetLong(&dialog, item.id)) << item.id;
        }
    }
    EXPECT_EQ(nullptr, dialog.ViewMngr().GetView(8)) << "no width or height fields";
    // Wholly beyond the largest content of a window (8192 x 8192 less a frame of 3 and a title of
    // 25), or wholly left of or above it: (left, top, right, bottom). An edge emptied is no number.
    for (const std::vector<const char*>& edges : {std::vector{"8186", "30", "9000", "96"}, {"-66", "30", "0", "96"},
                                                 {"20", "-66", "86", "0"}, {"20", "", "86", "96"}}) {
        for (int32_t i = 0; i < 4; ++i)
            setField(&dialog, 4 + i, edges[size_t(i)]);
        EXPECT_FALSE(dialog.DialogAccepted(nullptr));
        ASSERT_FALSE(HostModalShownLog().empty());
        EXPECT_EQ(*edges[1] != '\0' ? "The MaterialIcon must lie at least in part between 0 and 8186 across and 0 and "
                                      "8164 down, the largest area its window can show."
                                    : "Each edge must lie between -32768 and 32767.",
                  HostModalShownLog().back().texts.at(0)) << edges[0] << " " << edges[1];
    }
    EditText::GSetLong(&dialog, 6, 9000, nullptr);
    EditText::GSetLong(&dialog, 4, 40, nullptr);
    EditText::GSetLong(&dialog, 5, 50, nullptr);
    setField(&dialog, 9, "swatch");
    dialog.DialogAccepted(nullptr);
    EXPECT_EQ(FWPoint(40, 50), FWPoint(icon->GetRect().left, icon->GetRect().top));
    EXPECT_EQ("swatch", text(icon->GetStringID()));
}

TEST_F(PropertyDialogsTest, EachDialogLayoutHoldsTheItemsItsDialogReads)
{
    // Kinds: s signed field, u unsigned field, t text field, c check box, r radio set of n buttons,
    // b push button.
    struct Item {
        int32_t id;
        char kind;
        int32_t buttons = 0;
    };
    auto range = [](int32_t first, int32_t last, char kind) {
        std::vector<Item> items;
        for (int32_t id = first; id <= last; ++id)
            items.push_back({id, kind});
        return items;
    };
    auto join = [](std::vector<Item> a, const std::vector<Item>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    std::vector<Item> labelsAndGhosts;
    for (int32_t id : {11, 13, 15, 17, 19, 21, 23, 25, 27, 29, 31})
        labelsAndGhosts.push_back({id, 't'});
    for (int32_t id : {12, 14, 16, 18, 20, 22, 24, 26, 28, 30, 32})
        labelsAndGhosts.push_back({id, 'u'});
    const std::vector<std::pair<int32_t, std::vector<Item>>> layouts = {
        {101, {{10, 't'}, {13, 'r', 3}}},
        {102, {{10, 't'}, {11, 'u'}, {12, 'u'}, {17, 'r', 6}, {18, 'r', 6}}},
        {103, join({{11, 'c'}, {12, 'u'}}, range(13, 22, 't'))},
        {104, {}},
        {110, {{10, 't'}, {11, 's'}, {12, 'c'}, {19, 'r', 2}, {20, 'r', 3}, {21, 'r', 5}, {22, 'r', 5}}},
        {111, {{10, 't'}, {11, 'c'}, {12, 'c'}, {15, 't'}, {20, 'r', 6}}},
        {112, {{10, 't'}}},
        {114, {}},
        {115, {}},
        {116, {{10, 's'}}},
        {117, {{10, 't'}, {11, 'c'}, {12, 't'}}},
        {118, join({{10, 'u'}}, labelsAndGhosts)},
        {120, {{13, 'r', 13}}},
        {122, {}},
        {200, join({{9, 't'}, {10, 't'}, {11, 'c'}, {12, 'u'}, {91, 'b'}}, range(13, 87, 't'))},
    };
    for (const auto& [id, own] : layouts) {
        FWWindow window;
        ASSERT_TRUE(window.Initialize(nullptr, id)) << id;
        std::vector<Item> items = join(range(3, 8, 's'), id == 200 ? std::vector<Item>{} : range(9, 9, 't'));
        items = join(items, own);
        for (const Item& item : items) {
            FWView* view = window.ViewMngr().GetView(item.id);
            ASSERT_NE(nullptr, view) << id << ": item " << item.id;
            auto* edit = dynamic_cast<EditText*>(view);
            switch (item.kind) {
            case 's':
            case 'u':
                ASSERT_NE(nullptr, edit) << id << ": item " << item.id;
                EXPECT_TRUE(edit->Validates()) << id << ": item " << item.id;
                EXPECT_EQ(item.kind == 's' ? FWString::kSignedInteger : FWString::kUnsignedInteger, edit->FilterType())
                    << id << ": item " << item.id;
                break;
            case 't':
                ASSERT_NE(nullptr, edit) << id << ": item " << item.id;
                EXPECT_FALSE(edit->Validates()) << id << ": item " << item.id;
                break;
            case 'c':
                EXPECT_NE(nullptr, dynamic_cast<CheckBox*>(view)) << id << ": item " << item.id;
                break;
            case 'r': {
                auto* set = dynamic_cast<RadioButtonSet*>(view);
                ASSERT_NE(nullptr, set) << id << ": item " << item.id;
                EXPECT_EQ(item.buttons, set->GetCount()) << id << ": item " << item.id;
                break;
            }
            case 'b':
                EXPECT_NE(nullptr, dynamic_cast<PushButton*>(view)) << id << ": item " << item.id;
                break;
            }
        }
        EXPECT_NE(nullptr, dynamic_cast<OKButton*>(window.ViewMngr().DefaultAccept())) << id;
        EXPECT_NE(nullptr, dynamic_cast<CancelButton*>(window.ViewMngr().DefaultCancel())) << id;
    }
}
