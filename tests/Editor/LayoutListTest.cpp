// The list of a file's layouts, used as a person does: clicks on its rows and buttons, typing in
// the attributes dialog and answers to its messages, then the file, the list, the edit windows
// and the Window menu checked after each command.
#include "EditorFixture.h"

#include "CDialogWINT.h"
#include "CQF_Document.h"
#include "EditWindow.h"
#include "FWEvent.h"
#include "FWStr.h"
#include "FWView.h"
#include "Group.h"
#include "HostHeadless.h"
#include "HostModalLoop.h"
#include "ListBox.h"
#include "PushButton.h"
#include "QuillformApp.h"
#include "FWStreamException.h"
#include "ShownMessages.h"

#include "../Files/ResourceFileMaker.h"

#include <filesystem>
#include <map>

namespace {

constexpr uint8_t kKeyReturn = 36, kKeyTab = 48, kKeyBackspace = 51, kKeyEscape = 53;
const uint8_t kDigitKeys[10] = {29, 18, 19, 20, 21, 23, 22, 26, 28, 25};

struct Stored {
    std::string name;
    std::string bytes;
    bool operator==(const Stored&) const = default;
};

// The file's 'WINT' resources by id.
std::map<int, Stored> layoutsIn(const std::string& path)
{
    std::map<int, Stored> layouts;
    Corvel::FS_ResourceFileRA file(LocatorOfPath(path), false);
    const SInt16 count = Count1Resources(FOUR_CHAR_CODE("WINT"));
    for (SInt16 i = 1; i <= count; ++i) {
        Handle h = Get1IndResource(FOUR_CHAR_CODE("WINT"), i);
        SInt16 id = 0;
        Str255 name = {};
        GetResInfo(h, &id, nullptr, name);
        layouts[id] = Stored{std::string(reinterpret_cast<char*>(name + 1), name[0]),
                             std::string(*h, size_t(GetHandleSize(h)))};
    }
    return layouts;
}

// Replaces the focused field's text, and with a name the next field's too, then presses Return.
void typeAttributes(const std::string& id, const char* name = nullptr)
{
    for (int i = 0; i < 8; ++i)
        HostInjectKey(kKeyBackspace, 8);
    for (char c : id)
        HostInjectKey(kDigitKeys[c - '0'], uint8_t(c));
    if (name != nullptr) {
        HostInjectKey(kKeyTab, 9);
        for (int i = 0; i < 40; ++i)
            HostInjectKey(kKeyBackspace, 8);
        for (const char* c = name; *c != 0; ++c)
            HostInjectKey(0, uint8_t(*c));
    }
    HostInjectKey(kKeyReturn, 13);
}

// A view that cannot be written.
class UnwritableView : public FWView {
public:
    const char* FactoryGetClassName() const override { return "UnwritableView"; }
    void OldWrite(SerialStream&) override { throw FWWriteFailedException(); }
};

} // namespace

class LayoutListTest : public EditorFixture {
protected:
    void SetUp() override
    {
        mApp = StartApp();
        mPlaces = LocateLayoutList();
    }

    CQF_Document* open(const std::string& path)
    {
        auto* document = new CQF_Document;
        document->SetAssociatedFile(FileReference(path.c_str()));
        EXPECT_TRUE(document->ReadWINT());
        return document;
    }
    std::string makeFile(const std::vector<TestResource>& resources)
    {
        const std::string path = File("a.rsrc");
        EXPECT_TRUE(MakeResourceFile(path, resources));
        return path;
    }
    void press(int32_t button) { HostInjectClick(mPlaces.buttons.at(button)); }
    void clickRow(int row, EventModifiers modifiers = 0) { HostInjectClick(mPlaces.Row(row), modifiers); }
    std::vector<std::string> titles()
    {
        std::vector<std::string> all;
        for (const HostModalShown& shown : HostModalShownLog())
            all.push_back(shown.title);
        return all;
    }

    QuillformApp* mApp = nullptr;
    LayoutListPlaces mPlaces;
};

TEST_F(LayoutListTest, RowsAndGhostingFollowTheSelection)
{
    const std::string path = makeFile({{FOUR_CHAR_CODE("WINT"), 21000, "Interface", "x"},
                                       {FOUR_CHAR_CODE("WINT"), 100, "Main", "x"},
                                       {FOUR_CHAR_CODE("WINT"), 101, "Second", "x"}});
    CQF_Document* document = open(path);
    CDialogWINT dialog(document);
    EXPECT_STREQ("WINT [a.rsrc]", dialog.Name().GetCString());
    std::vector<std::string> rows;
    for (ListBoxItem* item = dialog.List()->First(); item != nullptr; item = dialog.List()->Next())
        rows.push_back(item->Viewable_Name().GetCString() + std::string("|") + std::to_string(item->ID()));
    EXPECT_EQ((std::vector<std::string>{"100   Main|100", "101   Second|101", "21000   Interface|21000"}), rows);

    auto ghosted = [&] {
        std::string flags;
        for (int32_t id = CDialogWINT::kOpen; id <= CDialogWINT::kNew; ++id)
            flags += dialog.ViewMngr().GetView(id)->IsGhosted() ? 'g' : '-';
        return flags;
    };
    // Views 2..7: open, rename, duplicate, delete, close, new.
    EXPECT_EQ("gggg--", ghosted());
    FWEvent all(kSelectAllEvent, &dialog, 0);
    dialog.List()->SelectAllEvent(all);
    EXPECT_EQ("ggg---", ghosted()) << "several rows: only delete";
    FWEvent none(kSelectNoneEvent, &dialog, 0);
    dialog.List()->SelectNoneEvent(none);
    EXPECT_EQ("gggg--", ghosted());
    dialog.SelectItemWithID(101);
    dialog.InterfaceButtons();
    EXPECT_EQ("------", ghosted());
    dialog.SendMessage(Dependable::IsBeingDeleted);
}

TEST_F(LayoutListTest, OpenAndDoubleClickOpenTheLayoutAndCloseDeletesAWindowlessDocument)
{
    const std::string path = File("sample.rsrc");
    std::filesystem::copy_file(FW_SAMPLE_RSRC, path);
    CQF_Document* document = open(path);

    EditWindow::OnTestTool(nullptr);
    clickRow(0);
    press(CDialogWINT::kOpen);
    mApp->DialogWINT(document);
    EditWindow* main = mApp->GetFrontEditWindow();
    ASSERT_NE(nullptr, main);
    EXPECT_STREQ("128 Main [sample.rsrc]", main->Name().GetCString());
    EXPECT_EQ(1, EditWindow::mToolType);

    clickRow(1);
    clickRow(1);
    mApp->DialogWINT(document);
    ASSERT_NE(nullptr, mApp->GetFrontEditWindow());
    EXPECT_STREQ("129 Second [sample.rsrc]", mApp->GetFrontEditWindow()->Name().GetCString());
    EXPECT_EQ((std::vector<std::string>{"sample.rsrc", "  128 Main", "  129 Second"}), MenuRows("Window"));

    // Choosing an open layout again brings its window forward instead of opening a second one.
    HostInjectClockAdvance(2'000'000'000);
    clickRow(0);
    press(CDialogWINT::kOpen);
    mApp->DialogWINT(document);
    EXPECT_EQ(main, mApp->GetFrontEditWindow());
    EXPECT_EQ(2, document->GetWindowList().Size());

    const std::string other = File("other.rsrc");
    std::filesystem::copy_file(FW_SAMPLE_RSRC, other);
    CQF_Document* unopened = open(other);
    press(CDialogWINT::kClose);
    mApp->DialogWINT(unopened);
    EXPECT_EQ(1, mApp->GetDocumentList().Size()) << "closed without a window: the document goes";
    EXPECT_EQ((std::vector<std::string>{"WINT [sample.rsrc]", "WINT [sample.rsrc]", "WINT [sample.rsrc]",
                                        "WINT [other.rsrc]"}),
              titles());
    // Any stored id opens, by Open and by a double click, -1 included. A row takes clicks on its
    // text, which is the id alone for an empty name and runs on with a long one.
    const std::string bytes = layoutsIn(path).at(128).bytes;
    const std::string longName = "A name long enough to run past the middle of the list";
    const std::string minusPath = makeFile({{FOUR_CHAR_CODE("WINT"), -1, "Minus", bytes},
                                            {FOUR_CHAR_CODE("WINT"), 7, "", bytes},
                                            {FOUR_CHAR_CODE("WINT"), 8, longName, bytes}});
    CQF_Document* minus = open(minusPath);
    clickRow(0);
    press(CDialogWINT::kOpen);
    mApp->DialogWINT(minus);
    ASSERT_STREQ("-1 Minus [a.rsrc]", mApp->GetFrontEditWindow()->Name().GetCString());
    EditWindow* minusWindow = mApp->GetFrontEditWindow();
    minusWindow->SendMessage(Dependable::IsBeingDeleted); // closed, so that the next choice opens it again
    delete minusWindow;
    clickRow(0);
    clickRow(0);
    mApp->DialogWINT(minus);
    ASSERT_STREQ("-1 Minus [a.rsrc]", mApp->GetFrontEditWindow()->Name().GetCString());
    minusWindow = mApp->GetFrontEditWindow();
    clickRow(1);
    clickRow(1);
    mApp->DialogWINT(minus);
    ASSERT_STREQ("7  [a.rsrc]", mApp->GetFrontEditWindow()->Name().GetCString());
    const Point farAlong{mPlaces.Row(2).v, int16_t(mPlaces.list.left + 200)};
    HostInjectClick(farAlong);
    HostInjectClick(farAlong);
    mApp->DialogWINT(minus);
    EXPECT_EQ("8 " + longName + " [a.rsrc]", mApp->GetFrontEditWindow()->Name().GetCString());
    // And saves under its id, with its name.
    EXPECT_TRUE(mApp->SaveEditWindow(*minusWindow));
    const std::map<int, Stored> saved = layoutsIn(minusPath);
    ASSERT_EQ(3u, saved.size());
    EXPECT_EQ("Minus", saved.at(-1).name);
}

TEST_F(LayoutListTest, NewMakesTheShaderInterfaceOrAnEmptyLayoutAndRefusesBadIDs)
{
    const std::string path = makeFile({});
    CQF_Document* document = open(path);
    press(CDialogWINT::kNew);
    HostInjectKey(kKeyReturn, 13); // the proposed id and name
    mApp->DialogWINT(document);
    EXPECT_EQ((std::vector<std::string>{"WINT [a.rsrc]", "New WINT Attributes"}), titles());

    // The expected layout: the tree built here by hand and written by the view manager.
    FWWindow expected;
    expected.ViewMngr().Initialize(FWRect());
    expected.SetSize(387, 224);
    FWView* root = expected.ViewMngr().GetViewTree();
    root->SetID(1000);
    auto* ok = new OKButton;
    ok->Init(&expected, FWRect(301, 163, 365, 189), nullptr);
    auto* cancel = new CancelButton;
    cancel->Init(&expected, FWRect(222, 166, 286, 186), nullptr);
    auto* group = new Group;
    group->Init(&expected, FWRect(217, 9, 368, 148), nullptr, Group::LabelPosition(0), Group::kCustom);
    int32_t id = 1;
    for (FWView* view : std::initializer_list<FWView*>{ok, cancel, group}) {
        root->AppendChild(view);
        view->SetID(id++);
    }
    ok->SetDefaultAccept(true);
    cancel->SetDefaultCancel(true);
    expected.ViewMngr().SetCounterID(3);
    Handle h = expected.ViewMngr().SerializeViewTree();
    const std::string shader(*h, size_t(GetHandleSize(h)));
    DisposeHandle(h);
    size_t at = 0;
    for (const char* name : {"ParentWindow", "OKButton", "CancelButton", "Group"}) {
        at = shader.find(name, at);
        EXPECT_NE(std::string::npos, at) << name;
    }

    const std::map<int, Stored> made = layoutsIn(path);
    ASSERT_EQ(1u, made.size());
    EXPECT_EQ("Interface", made.at(21000).name);
    EXPECT_EQ(shader, made.at(21000).bytes);
    ASSERT_NE(nullptr, mApp->GetFrontEditWindow());
    EXPECT_STREQ("21000 Interface [a.rsrc]", mApp->GetFrontEditWindow()->Name().GetCString());

    // With {100, 101, 21000} the proposal is 102; refused ids change nothing and keep the dialog open.
    const std::string path2 = File("b.rsrc");
    ASSERT_TRUE(MakeResourceFile(path2, {{FOUR_CHAR_CODE("WINT"), 100, "Main", "x"},
                                         {FOUR_CHAR_CODE("WINT"), 101, "Second", "x"},
                                         {FOUR_CHAR_CODE("WINT"), 21000, "Interface", "x"}}));
    document = open(path2);
    const std::map<int, Stored> before = layoutsIn(path2);
    press(CDialogWINT::kNew);
    for (const char* refused : {"0", "40000", "101"}) {
        typeAttributes(refused);
        HostInjectKey(kKeyReturn, 13); // the message
    }
    typeAttributes("102");
    mApp->DialogWINT(document);
    EXPECT_EQ((std::vector<std::string>{"The ID must lie between 1 and 32767.", "The ID must lie between 1 and 32767.",
                                        "The ID 101 is already taken. Please specify other ID"}),
              ShownMessageTexts());
    std::map<int, Stored> after = layoutsIn(path2);
    ASSERT_EQ(1u, after.count(102));
    EXPECT_EQ("Interface", after.at(102).name);
    after.erase(102);
    EXPECT_EQ(before, after) << "the refused ids added nothing";
    EXPECT_STREQ("102 Interface [b.rsrc]", mApp->GetFrontEditWindow()->Name().GetCString());

    // Above a -1 layout the run's next id would be 0, which the dialog refuses: the proposal is
    // the lowest free id it takes.
    const std::string path3 = File("c.rsrc");
    ASSERT_TRUE(MakeResourceFile(path3, {{FOUR_CHAR_CODE("WINT"), -1, "Minus", "x"},
                                         {FOUR_CHAR_CODE("WINT"), 1, "One", "x"},
                                         {FOUR_CHAR_CODE("WINT"), 2, "Two", "x"},
                                         {FOUR_CHAR_CODE("WINT"), 128, "Main", "x"}}));
    document = open(path3);
    const size_t shown = ShownMessageTexts().size();
    press(CDialogWINT::kNew);
    HostInjectKey(kKeyReturn, 13);
    mApp->DialogWINT(document);
    EXPECT_EQ(shown, ShownMessageTexts().size());
    EXPECT_EQ(1u, layoutsIn(path3).count(3));
    EXPECT_STREQ("3 Interface [c.rsrc]", mApp->GetFrontEditWindow()->Name().GetCString());
}

TEST_F(LayoutListTest, DuplicateRenameAndDeleteKeepTheFileTheListAndTheWindowsInStep)
{
    // Layout 9 is a real one, so that it can be open in a window.
    const std::string second = layoutsIn(FW_SAMPLE_RSRC).at(129).bytes;
    const std::string path = makeFile({{FOUR_CHAR_CODE("WINT"), 5, "Five", "five"},
                                       {FOUR_CHAR_CODE("WINT"), 6, "Six", "six"},
                                       {FOUR_CHAR_CODE("WINT"), 9, "Nine", second}});
    CQF_Document* document = open(path);
    auto* nine = new EditWindow(document, 9);
    EditWindow::mCreatedInstance = nullptr;

    clickRow(0);
    press(CDialogWINT::kDuplicate);
    HostInjectKey(kKeyReturn, 13);
    // Renaming the copy's row (selected after the copy) to its own id with a new name.
    press(CDialogWINT::kRename);
    typeAttributes("7", "Seven");
    press(CDialogWINT::kClose);
    mApp->DialogWINT(document);
    std::map<int, Stored> layouts = layoutsIn(path);
    EXPECT_EQ((std::vector<std::string>{"WINT [a.rsrc]", "Duplicate WINT 5", "WINT 7 Attributes"}), titles());
    ASSERT_EQ(1u, layouts.count(7));
    EXPECT_EQ((Stored{"Seven", "five"}), layouts.at(7));
    EXPECT_EQ("Seven", document->ResMap().Name(7));

    // The open layout renamed: its window follows, and the Window menu with it; a taken id is refused.
    HostInjectClockAdvance(2'000'000'000);
    clickRow(3);
    press(CDialogWINT::kRename);
    typeAttributes("6");
    HostInjectKey(kKeyReturn, 13); // the message
    typeAttributes("12", "Twelve");
    press(CDialogWINT::kClose);
    mApp->DialogWINT(document);
    ASSERT_FALSE(ShownMessageTexts().empty());
    EXPECT_EQ("The ID 6 is already taken. Please specify other ID", ShownMessageTexts().back());
    EXPECT_STREQ("12 Twelve [a.rsrc]", nine->Name().GetCString());
    EXPECT_EQ(12, nine->ViewMngr().GetResID());
    EXPECT_EQ((std::vector<std::string>{"a.rsrc", "  12 Twelve"}), MenuRows("Window"));
    layouts = layoutsIn(path);
    EXPECT_EQ(0u, layouts.count(9));
    EXPECT_EQ("Twelve", layouts.at(12).name);

    // Renamed to 21000 the window takes the shader data, Shader.. answers; renamed away it drops it.
    for (const char* id : {"21000", "12"}) {
        HostInjectClockAdvance(2'000'000'000);
        clickRow(3);
        press(CDialogWINT::kRename);
        typeAttributes(id);
        press(CDialogWINT::kClose);
        mApp->DialogWINT(document);
        mApp->InterfaceShader();
        EXPECT_EQ(std::string(id) == "21000", nine->GetShaderData() != nullptr) << id;
    }
    EXPECT_EQ(0u, ShownMessageTexts().end()[-2].rfind("Shader interface requires Preview", 0));

    // Delete: Escape keeps everything; OK removes both layouts and closes the changed window
    // without a question.
    nine->SetDirty(true);
    HostInjectClockAdvance(2'000'000'000);
    clickRow(2);
    clickRow(3, shiftKey);
    press(CDialogWINT::kDelete);
    HostInjectKey(kKeyEscape, 27);
    press(CDialogWINT::kDelete);
    HostInjectKey(kKeyReturn, 13);
    press(CDialogWINT::kClose);
    mApp->DialogWINT(document);
    const std::vector<std::string> shown = ShownMessageTexts();
    EXPECT_EQ((std::vector<std::string>(2, "2 resource(s) will be deleted")),
              std::vector<std::string>(shown.end() - 2, shown.end()));
    layouts = layoutsIn(path);
    EXPECT_EQ(2u, layouts.size());
    EXPECT_EQ((Stored{"Five", "five"}), layouts.at(5));
    EXPECT_EQ((Stored{"Six", "six"}), layouts.at(6));
    EXPECT_EQ(0, mApp->GetDocumentList().Size()) << "its last window went, and the list closed without one";
}

TEST_F(LayoutListTest, ALayoutThatCannotBeLoadedIsReportedAndLeavesNoDocument)
{
    for (const bool damaged : {true, false}) {
        const std::string path = File(damaged ? "damaged.rsrc" : "missing.rsrc");
        ASSERT_TRUE(MakeResourceFile(path, {{FOUR_CHAR_CODE("WINT"), 300, "Broken", std::string(40, '\x7f')}}));
        CQF_Document* document = open(path);
        if (!damaged) {
            // Removed from the file after the list was read.
            ASSERT_TRUE(MakeResourceFile(path + ".tmp", {}));
            std::filesystem::rename(path + ".tmp", path);
        }
        clickRow(0);
        press(CDialogWINT::kOpen);
        const int windows = mApp->GetWindowList().Size();
        mApp->DialogWINT(document);
        ASSERT_FALSE(ShownMessageTexts().empty());
        EXPECT_EQ("The resource is invalid or corrupted, delete it", ShownMessageTexts().back());
        EXPECT_EQ(windows, mApp->GetWindowList().Size());
        EXPECT_EQ(0, mApp->GetDocumentList().Size());
        EXPECT_EQ(nullptr, EditWindow::mCreatedInstance);
        EXPECT_EQ((std::vector<std::string>{"- [off]"}), MenuRows("Window"));
    }
}

TEST_F(LayoutListTest, ATreeThatCannotBeWrittenFailsTheSaveAndKeepsTheChange)
{
    const std::string path = File("sample.rsrc");
    std::filesystem::copy_file(FW_SAMPLE_RSRC, path);
    CQF_Document* document = open(path);
    auto* window = new EditWindow(document, 128);
    EditWindow::mCreatedInstance = nullptr;
    auto* unwritable = new UnwritableView;
    unwritable->Init(window);
    window->ViewMngr().GetViewTree()->AppendChild(unwritable);
    window->SetDirty(true);
    const std::string before = TempFolder::ReadFile(path);
    EXPECT_FALSE(mApp->SaveEditWindow(*window));
    EXPECT_TRUE(window->IsDirty());
    EXPECT_EQ(before, TempFolder::ReadFile(path));
    EXPECT_EQ((std::vector<std::string>{"Unknown error. Can't save window"}), ShownMessageTexts());
}
