// What the editor builds at start-up beyond its menus (the tools and the tool window), its own
// dialog layouts, and the grid and layout-size dialogs, answered by a user typing in them.
#include "EditorFixture.h"

#include "CQF_Document.h"
#include "CheckBox.h"
#include "EditText.h"
#include "EditWindow.h"
#include "FWStr.h"
#include "FWToolManagerImp.h"
#include "FWTool.h"
#include "FWToolFolder.h"
#include "FWToolWindow.h"
#include "FWToolWindowView.h"
#include "FWFolderView.h"
#include "FWView.h"
#include "FWWindow.h"
#include "HostHeadless.h"
#include "HostModalLoop.h"
#include "HostResources.h"
#include "Group.h"
#include "PictureBox.h"
#include "Popup.h"
#include "PushButton.h"
#include "QuillformApp.h"
#include "RadioButtonSet.h"
#include "Scroller.h"
#include "StaticText.h"

#include "../Files/ResourceFileMaker.h"

#include <filesystem>

namespace {

constexpr uint8_t kKeyBackspace = 51, kKeyReturn = 36;
const uint8_t kDigitKeys[10] = {29, 18, 19, 20, 21, 23, 22, 26, 28, 25};

// Replaces the focused field's text with the number and presses Return.
void typeNumber(const std::string& digits)
{
    for (int i = 0; i < 6; ++i)
        HostInjectKey(kKeyBackspace, 8);
    for (char c : digits)
        HostInjectKey(kDigitKeys[c - '0'], uint8_t(c));
    HostInjectKey(kKeyReturn, 13);
}

std::vector<std::string> titlesShown()
{
    std::vector<std::string> titles;
    for (const HostModalShown& shown : HostModalShownLog())
        titles.push_back(shown.title);
    return titles;
}

// Loads a layout of the program's own or the sample file into a window.
class LayoutWindow {
public:
    LayoutWindow(const char* file, int32_t id) : mFile(LocatorOfPath(file), false)
    {
        mLoaded = mFile.OpenedResourceFile() != 0 && mWindow.ViewMngr().Initialize(id);
    }
    bool Loaded() const { return mLoaded; }
    template <class View>
    View* Get(int32_t id)
    {
        return dynamic_cast<View*>(mWindow.ViewMngr().GetView(id));
    }
    FWViewMngr& Views() { return mWindow.ViewMngr(); }

private:
    Corvel::FS_ResourceFileRA mFile;
    FWWindow mWindow;
    bool mLoaded = false;
};

} // namespace

class EditorDialogsTest : public EditorFixture {};

TEST_F(EditorDialogsTest, StartUpShowsTheToolWindowWithItsFoldersOpenAndEditActive)
{
    StartApp();
    FWToolWindow* tools = FWToolWindow::Instance();
    EXPECT_TRUE(tools->Visible());
    EXPECT_STREQ("Tools", tools->Name().GetCString());
    EXPECT_FALSE(tools->IconVisible(-1)) << "the tool window cannot be closed";
    EXPECT_FALSE(tools->AcceptsKeyEvents());
    std::vector<std::string> open;
    for (const FWToolFolder* folder : tools->GetView()->FolderView()->Folders())
        if (!folder->Contracted())
            open.push_back(folder->Name().GetCString());
    EXPECT_EQ((std::vector<std::string>{"Manipulation", "Alignment", "Interface Items"}), open);
    FWTool* edit = FWToolManagerImp::Instance()->FindToolByName(FWStr<31>("Edit"));
    ASSERT_NE(nullptr, edit);
    EXPECT_TRUE(edit->Activated());
    EXPECT_EQ(1, EditWindow::mToolType);
}

TEST_F(EditorDialogsTest, TheProgramsLayoutsHoldTheItemsItsDialogsRead)
{
    LayoutWindow grid(FW_APP_RSRC, 23);
    ASSERT_TRUE(grid.Loaded());
    ASSERT_NE(nullptr, grid.Get<EditText>(1002));
    EXPECT_EQ(FWString::Type(0), grid.Get<EditText>(1002)->FilterType());
    EXPECT_NE(nullptr, dynamic_cast<OKButton*>(grid.Views().DefaultAccept()));
    EXPECT_NE(nullptr, dynamic_cast<CancelButton*>(grid.Views().DefaultCancel()));

    LayoutWindow size(FW_APP_RSRC, 50);
    ASSERT_TRUE(size.Loaded());
    EXPECT_NE(nullptr, size.Get<EditText>(3));
    EXPECT_NE(nullptr, size.Get<EditText>(6));

    LayoutWindow main(FW_SAMPLE_RSRC, 128);
    ASSERT_TRUE(main.Loaded());
    EXPECT_NE(nullptr, main.Get<StaticText>(11));
    EXPECT_NE(nullptr, main.Get<EditText>(13));
    EXPECT_NE(nullptr, main.Get<PushButton>(14));
    EXPECT_NE(nullptr, main.Get<PictureBox>(15));
    EXPECT_NE(nullptr, main.Get<Scroller>(16));
    EXPECT_NE(nullptr, main.Get<Group>(17));
    EXPECT_NE(nullptr, main.Get<Popup>(18));
    EXPECT_NE(nullptr, main.Get<CheckBox>(19));
    EXPECT_NE(nullptr, main.Get<RadioButtonSet>(20));
    EXPECT_TRUE(LayoutWindow(FW_SAMPLE_RSRC, 129).Loaded());
}

TEST_F(EditorDialogsTest, AdjustGridAsksOnlyWithADocumentAndTakesTheTypedSize)
{
    QuillformApp* app = StartApp();
    QuillformApp::adjust_grid(nullptr);
    EXPECT_TRUE(titlesShown().empty());

    new CQF_Document;
    HostModalPresetAnswer(HostModalAnswer::kDefault);
    QuillformApp::adjust_grid(nullptr);
    EXPECT_EQ((std::vector<std::string>{"Set Grid"}), titlesShown());
    EXPECT_EQ(1, app->GetGridSize()) << "the field shows the grid size";

    typeNumber("10");
    QuillformApp::adjust_grid(nullptr);
    EXPECT_EQ(10, app->GetGridSize());
    for (const char* typed : {"8193", ""}) { // larger than the largest window, or no number
        typeNumber(typed);
        const size_t before = HostModalShownLog().size();
        QuillformApp::adjust_grid(nullptr);
        ASSERT_GT(HostModalShownLog().size(), before + 1) << "the dialog, then the message";
        EXPECT_EQ("The grid (0 for none) must lie between 0 and 8192.", HostModalShownLog().back().texts.at(0));
    }
    HostModalPresetAnswer(HostModalAnswer::kCancel);
    QuillformApp::adjust_grid(nullptr);
    EXPECT_EQ(10, app->GetGridSize());
}

TEST_F(EditorDialogsTest, ResizeDialogChangesOnlyADifferentSizeAndSaveWritesTheLayoutBack)
{
    QuillformApp* app = StartApp();
    const std::string path = File("sample.rsrc");
    std::filesystem::copy_file(FW_SAMPLE_RSRC, path);
    auto* document = new CQF_Document;
    document->SetAssociatedFile(FileReference(path.c_str()));
    ASSERT_TRUE(document->ReadWINT());
    auto* window = new EditWindow(document, 128);
    EditWindow::mCreatedInstance = nullptr;
    ASSERT_EQ(window, app->GetFrontEditWindow());
    EXPECT_STREQ("128 Main [sample.rsrc]", window->Name().GetCString());
    const FWRect before = window->Size();

    HostModalPresetAnswer(HostModalAnswer::kDefault);
    QuillformApp::ResizeDialog(nullptr);
    EXPECT_FALSE(window->IsDirty());
    EXPECT_EQ(before.right, window->Size().right);

    typeNumber("500");
    QuillformApp::ResizeDialog(nullptr);
    EXPECT_EQ(500, window->Size().right - window->Size().left);
    EXPECT_EQ(before.bottom - before.top, window->Size().bottom - window->Size().top);
    EXPECT_TRUE(window->IsDirty());
    EXPECT_EQ((std::vector<std::string>{"Set Dialog size", "Set Dialog size"}), titlesShown());
    // Narrower than dragging an edge allows (80 x 75), or wider than a window's 8192, is refused
    // with a message, and refused again by the dialog still open when the absent user accepts
    // once more; 80 and 8192 are taken.
    for (const auto& [typed, width] :
         {std::pair{"79", 500}, {"80", 80}, {"40000", 80}, {"99999", 80}, {"8193", 80}, {"8192", 8192}}) {
        typeNumber(typed);
        QuillformApp::ResizeDialog(nullptr);
        EXPECT_EQ(width, window->Size().right - window->Size().left) << typed;
    }
    ASSERT_EQ(16u, HostModalShownLog().size());
    for (size_t shown : {3, 4, 7, 10, 13, 14})
        EXPECT_EQ("The width must lie between 80 and 8192.", HostModalShownLog()[shown].texts.at(0));

    const std::string stored = TempFolder::ReadFile(path);
    FWApp::FileSave(nullptr);
    EXPECT_FALSE(window->IsDirty());
    EXPECT_NE(stored, TempFolder::ReadFile(path));
    EXPECT_EQ("Main", document->ResMap().Name(128));
}
