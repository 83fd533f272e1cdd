// The editor run whole, as a person uses it: QZMain on the headless back end driven through the
// menu bar, shortcuts and the tool window (open, new, open recent, a tool, quit) with preset
// dialog answers, the files it leaves checked byte for byte; and the built program on an X server:
// ringing its bell, ended by SIGTERM, pasting what other programs copied, ending when the server
// goes away.
#include "EditorFixture.h"

#include "CDialogWINT.h"
#include "CQF_Document.h"
#include "CheckBox.h"
#include "EditText.h"
#include "FWStr.h"
#include "ShownMessages.h"
#include "ChildProcess.h"
#include "ClipboardOwner.h"
#include "EditWindow.h"
#include "FWApp.h"
#include "FWClipboard.h"
#include "FWMenuMgr.h"
#include "FWUserOp.h"
#include "FWView.h"
#include "FWWindow.h"
#include "PreorderTraversal.h"
#include "HostClock.h"
#include "HostHeadless.h"
#include "HostMenus.h"
#include "HostModalLoop.h"
#include "HostNavDialogs.h"
#include "QuillformApp.h"
#include "DiskImageDecoder.h"
#include "HostBackend.h"
#include "HostX11BellWatch.h"
#include "RunScript.h"
#include "ShaderDialog.h"
#include "TIFFMaker.h"
#include "XvfbServer.h"

#include "../Files/ResourceFileMaker.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <tuple>
#include <sys/stat.h>
#include <sys/wait.h>

namespace {

constexpr uint8_t kKeyN = 45, kKeyQ = 12;

std::string textOf(const std::vector<uint8_t>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

Point inside(const Rect& r)
{
    return Point{int16_t(r.top + 3), int16_t(r.left + 8)};
}

// The layouts of a menu of the bar: its title's left edge and its pull-down.
HostMenuPanelLayout pullDown(const std::string& title, int16_t* left)
{
    for (const HostMenuTitleLayout& layout : HostLayOutMenuBar()) {
        if (textOf(layout.menu->Title()) == title) {
            *left = layout.left;
            return HostLayOutPullDown(layout.menu, layout.left);
        }
    }
    ADD_FAILURE() << "no menu " << title;
    return HostMenuPanelLayout{};
}

// Presses on a menu's title, goes down to a row and releases there.
void chooseMenuRow(const std::string& title, int item)
{
    int16_t left = 0;
    const HostMenuPanelLayout panel = pullDown(title, &left);
    const Rect row = panel.items.at(size_t(item - 1));
    HostInjectMouseDown(Point{5, int16_t(left + 4)});
    HostInjectMouseMove(inside(row));
    HostInjectMouseUp(inside(row));
}

// Runs a row of the Open Recent menu as the menu bar does when it is chosen.
void chooseRecentRow(int row)
{
    FWUserOp* recent = FWMenuMgr::Instance()->GetRootMenu()->FindUserOpByID(QuillformApp::kRecentMenuID, nullptr);
    FWUserOp* op = recent != nullptr ? recent->FirstChild() : nullptr;
    for (int i = 1; i < row && op != nullptr; ++i)
        op = op->NextPeer();
    ASSERT_NE(nullptr, op);
    op->DoAdjust();
    ASSERT_FALSE(op->TestFlag(kUserOpDisabled));
    op->DoAction();
}

void presetFile(const std::string& path)
{
    HostNavAnswer answer;
    answer.cancel = false;
    answer.paths = {path};
    HostNavPresetAnswer(answer);
}

int documentCount()
{
    return FWApp::Exists() ? FWApp::Instance()->GetDocumentList().Size() : 0;
}

std::string activePath()
{
    FWDocument* document = FWApp::Exists() ? FWApp::Instance()->GetActiveDocument() : nullptr;
    return document != nullptr ? document->AssociatedFile().PathName().GetCString() : "";
}

// An empty resource file: a header of data offset 256, map offset 256, data length 0 and map
// length 30, the rest of the first 256 bytes zero, then a map with no types (type list at 28,
// name list at 30, count - 1 = -1).
std::string emptyResourceFile()
{
    std::string bytes(256, '\0');
    const unsigned char header[16] = {0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 30};
    bytes.replace(0, 16, reinterpret_cast<const char*>(header), 16);
    std::string map(30, '\0');
    map.replace(0, 16, reinterpret_cast<const char*>(header), 16);
    map[24] = 0, map[25] = 28, map[26] = 0, map[27] = 30, map[28] = char(0xFF), map[29] = char(0xFF);
    return bytes + map;
}

// The built program started as a user starts it on the server: a copy of its own in a folder of
// the test's own, no back end chosen for it (the test's own choice is taken out of its
// environment), its modal loops logged. xdotool drives it.
struct BuiltProgram {
    BuiltProgram(const XvfbServer& server, const std::string& file) : display("DISPLAY=" + server.Display())
    {
        std::filesystem::copy_file(QUILLFORM_PATH, folder.File("quillform"));
        std::filesystem::copy_file(FW_APP_RSRC, folder.File("quillform.rsrc"));
        const std::vector<std::string> environment{display, "FW_HOST_BACKEND", "FW_HOST_LOG=" + folder.File("log")};
        run = std::make_unique<ChildProcess>(std::vector<std::string>{folder.File("quillform"), file}, environment);
    }
    // Waits until done() holds; false when the program ends first or after a minute (a hang).
    bool Until(const std::function<bool()>& done)
    {
        for (int i = 0; i < 600; ++i) {
            if (done())
                return true;
            if (run->Ended(std::chrono::milliseconds(100)))
                return done();
        }
        return false;
    }
    // The log holds the text, at least that many times.
    bool Logged(const std::string& text, int times = 1)
    {
        return Until([&] {
            const std::string log = TempFolder::ReadFile(folder.File("log"));
            int found = 0;
            for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1))
                ++found;
            return found >= times;
        });
    }
    // Types keys that save the file and waits for the save to be done: the file replaced (a save
    // renames a new file over it) and no longer held by the program, so that it can be read.
    bool Saves(const std::string& path, const std::string& keys)
    {
        struct stat before {}, now {};
        ::stat(path.c_str(), &before);
        Xdotool(keys);
        return Until([&] {
            if (::stat(path.c_str(), &now) != 0 || now.st_ino == before.st_ino)
                return false;
            Corvel::FS_ResourceFileRA file(LocatorOfPath(path), false);
            return file.OpenedResourceFile() != 0;
        });
    }
    void Xdotool(const std::string& command) const
    {
        std::system((display + " timeout 20 xdotool " + command + " >/dev/null 2>&1").c_str());
    }
    void AskToClose() const // as a window manager does
    {
        FILE* found = popen((display + " xdotool search --sync --name quillform").c_str(), "r");
        unsigned long window = 0;
        EXPECT_TRUE(std::fscanf(found, "%lu", &window) == 1 && HostX11AskToClose(display.substr(8), window));
        pclose(found);
    }
    void Click(Point at, int times = 1) const
    {
        Xdotool("search --sync --name quillform mousemove --sync --window %1 " + std::to_string(at.h) + " " +
                std::to_string(at.v) + " click --repeat " + std::to_string(times) + " --delay 100 1");
    }
    // Opens the row's layout and waits until the list has done so and closed.
    void OpenLayout(const EditorFixture::LayoutListPlaces& list, int row)
    {
        Click(list.Row(row));
        Click(list.buttons.at(CDialogWINT::kOpen));
        EXPECT_TRUE(Logged("closed\tWINT [")) << run->Output();
    }
    bool EndsOnSigterm()
    {
        return kill(run->Pid(), SIGTERM) == 0 && run->Ended(std::chrono::seconds(10)) && run->Status() == 0;
    }

    TempFolder folder;
    std::string display;
    std::unique_ptr<ChildProcess> run;
};

} // namespace

class EditorRunTest : public EditorFixture {
protected:
    // The layout list's places, and whatever `find` takes from the layout's edit window, worked out
    // here: the display shows the program's screen at 1:1.
    LayoutListPlaces placesOf(const std::string& path, int32_t layout, const std::function<void(EditWindow&)>& find)
    {
        StartApp();
        const LayoutListPlaces places = LocateLayoutList();
        auto* document = new CQF_Document;
        document->SetAssociatedFile(FileReference(path.c_str()));
        EXPECT_TRUE(document->ReadWINT());
        find(*new EditWindow(document, layout));
        StopApp();
        return places;
    }
};

TEST_F(EditorRunTest, OpenNewOpenRecentAToolAndQuitAsAUserDoes)
{
    HostUseSystemClock();
    // A Latin-1 name from an older system: shown as Latin-1 (e acute, Mac Roman 0x8E) wherever
    // it is shown, opened by its own bytes.
    const std::string layouts = File("layouts\xE9.rsrc");
    std::filesystem::copy_file(FW_SAMPLE_RSRC, layouts);
    const std::string made = File("made.rsrc");

    RunScript script;
    script
        .Then("the menu bar", [] { return FWApp::Exists() && !HostLayOutMenuBar().empty(); },
              [&] {
                  presetFile(layouts);
                  chooseMenuRow("File", 2); // Open..
                  // The file's list of layouts: its first row opened.
                  const LayoutListPlaces list = LocateLayoutList();
                  HostInjectClick(list.Row(0));
                  HostInjectClick(list.buttons.at(CDialogWINT::kOpen));
              })
        .Then("the opened file", [] { return documentCount() == 1 && FWWindow::ModalCount() == 0; },
              [&] {
                  ASSERT_FALSE(HostModalShownLog().empty()); // the layout list's title
                  EXPECT_EQ("WINT [layouts\x8E.rsrc]", HostModalShownLog().back().title);
                  presetFile(made);
                  HostInjectKey(kKeyN, 'n', cmdKey);
                  // The new file's empty list is closed, and the document with it.
                  HostInjectClick(LocateLayoutList().buttons.at(CDialogWINT::kClose));
              })
        .Then("the new file",
              [&] { return std::filesystem::exists(made) && documentCount() == 1 && FWWindow::ModalCount() == 0; },
              // Open Recent lists the new file first, then the first one, which is open already.
              [] {
                  EXPECT_EQ((std::vector<std::string>{"made.rsrc", "layouts\x8E.rsrc"}), RecentRows());
                  EXPECT_EQ("layouts\x8E.rsrc", MenuRows("Window").at(0));
                  chooseRecentRow(2);
              })
        // Idle time comes inside modal loops too: the list must be gone.
        .Then("the first file in front again", [&] { return activePath() == layouts && FWWindow::ModalCount() == 0; },
              [] { HostInjectClick(ToolWidgetCentre("Test")); })
        .Then("the Test tool", [] { return EditWindow::mToolType == 0; },
              [] { HostInjectKey(kKeyQ, 'q', cmdKey); });
    script.Start();
    const char* argv[] = {"quillform"};
    QZMain(1, argv);
    script.StopIdling();

    EXPECT_EQ("", script.TimedOut());
    EXPECT_TRUE(script.Finished());
    EXPECT_FALSE(FWApp::Exists());
    const std::string folder = mFolder.Path().string();
    EXPECT_EQ(folder + "\n" + layouts + "\n" + made + "\n", TempFolder::ReadFile(PrefsPath()));
    EXPECT_EQ(emptyResourceFile(), TempFolder::ReadFile(made));
}

TEST_F(EditorRunTest, TheBuiltProgramShowsTheSamplesListBeepsOnAClickOutsideItAndEndsOnSigtermOnceItIsClosed)
{
    if (!XvfbServer::Installed() || !ChildProcess::OnPath("xdotool"))
        GTEST_SKIP() << "Xvfb or xdotool is not installed";
    // The display shows the program's screen at 1:1, so its list lies where it lies here.
    StartApp();
    const Point close = LocateLayoutList().buttons.at(CDialogWINT::kClose);
    StopApp();
    XvfbServer server;
    ASSERT_TRUE(server.Running()) << "Xvfb did not start";
    HostX11BellWatch bell(server.Display());
    ASSERT_TRUE(bell.Watching());
    BuiltProgram program(server, FW_SAMPLE_RSRC);
    // The sample's list of layouts comes up, and the sample has become a recent file; a click
    // outside the modal list is refused with the display's bell; a quit is refused while the list
    // is up, so it is closed with its Close button, and then the program ends on SIGTERM.
    ASSERT_TRUE(program.Logged("WINT [Sample.rsrc]")) << program.run->Output();
    EXPECT_EQ(std::filesystem::path(FW_SAMPLE_RSRC).parent_path().string() + "\n" + FW_SAMPLE_RSRC + "\n",
              TempFolder::ReadFile(program.folder.File("Preferences/path.txt")));
    EXPECT_EQ(0, bell.Rings(std::chrono::milliseconds(0)));
    program.Click(Point{790, 5});
    EXPECT_EQ(1, bell.Rings(std::chrono::seconds(10)));
    program.AskToClose();
    EXPECT_EQ(2, bell.Rings(std::chrono::seconds(10), 2));
    EXPECT_EQ(2, bell.Rings(std::chrono::milliseconds(500), 3)) << "one refused close, one beep";
    program.Click(close);
    EXPECT_TRUE(program.EndsOnSigterm());
}

namespace {

constexpr uint8_t kKeyS = 1, kKeyReturn = 36, kKeyEscape = 53, kKeyBackspace = 51, kKeyTab = 48;
const uint8_t kDigitKeys[10] = {29, 18, 19, 20, 21, 23, 22, 26, 28, 25};

void typeDigits(const std::string& digits)
{
    for (int i = 0; i < 8; ++i)
        HostInjectKey(kKeyBackspace, 8);
    for (char c : digits)
        HostInjectKey(kDigitKeys[c - '0'], uint8_t(c));
}

void typeText(const std::string& text)
{
    for (int i = 0; i < 40; ++i)
        HostInjectKey(kKeyBackspace, 8);
    for (char c : text)
        HostInjectKey(0, uint8_t(c));
}

EditWindow* frontEdit()
{
    return FWApp::Exists() && FWWindow::ModalCount() == 0 ? QuillformApp::Instance()->GetFrontEditWindow() : nullptr;
}

bool frontIs(const char* title)
{
    EditWindow* window = frontEdit();
    return window != nullptr && window->Name() == FWStr<255>(title);
}

// The centre of a view of the window, on the screen.
Point centreOf(FWWindow& window, int32_t id)
{
    const FWRect r = window.ViewMngr().GetView(id)->GlobalRect();
    FWPoint p(int16_t((r.left + r.right) / 2), int16_t((r.top + r.bottom) / 2));
    window.WindowToGlobal(&p);
    return Point{p.v, p.h};
}

// The centre of the window's close box, on the screen.
Point closeBoxOf(FWWindow& window)
{
    const FWRect box = window.GetIconRect(0);
    int32_t h = 0, v = 0;
    window.GetLocation(&h, &v);
    return Point{int16_t(v + (box.top + box.bottom) / 2), int16_t(h + (box.left + box.right) / 2)};
}

// The file's 'WINT' layouts: id to name and bytes.
std::map<int, std::pair<std::string, std::string>> layoutsIn(const std::string& path)
{
    std::map<int, std::pair<std::string, std::string>> layouts;
    Corvel::FS_ResourceFileRA file(LocatorOfPath(path), false);
    for (SInt16 i = 1; file.OpenedResourceFile() != 0 && i <= Count1Resources(FOUR_CHAR_CODE("WINT")); ++i) {
        Handle h = Get1IndResource(FOUR_CHAR_CODE("WINT"), i);
        SInt16 id = 0;
        Str255 name = {};
        GetResInfo(h, &id, nullptr, name);
        layouts[id] = {std::string(reinterpret_cast<char*>(name + 1), name[0]), std::string(*h, size_t(GetHandleSize(h)))};
    }
    return layouts;
}

std::vector<int> idsIn(const std::string& path)
{
    std::vector<int> ids;
    for (const auto& [id, layout] : layoutsIn(path))
        ids.push_back(id);
    return ids;
}

} // namespace

TEST_F(EditorRunTest, AWholeSessionOnTheSampleFile)
{
    HostUseSystemClock();
    const std::string path = File("a.rsrc");
    std::filesystem::copy_file(FW_SAMPLE_RSRC, path);
    const auto sample = layoutsIn(path);
    std::string saved;
    std::vector<std::string> steps;
    auto check = [&](bool ok, const std::string& what) {
        if (!ok)
            steps.push_back(what);
    };
    auto list = [] { return LocateLayoutList(); };
    auto layoutList = [](const std::function<void(const LayoutListPlaces&)>& act) {
        chooseMenuRow("Window", 1); // the document's row shows its list again
        act(LocateLayoutList());
    };

    RunScript script(std::chrono::seconds(60));
    script
        .Then("the menu bar", [] { return FWApp::Exists() && !HostLayOutMenuBar().empty(); },
              [&] {
                  presetFile(path);
                  chooseMenuRow("File", 2); // Open..
                  HostInjectClick(list().Row(0));
                  HostInjectClick(list().buttons.at(CDialogWINT::kOpen));
              })
        .Then("layout 128 open", [] { return frontIs("128 Main [a.rsrc]"); },
              [] { HostInjectClick(ToolWidgetCentre("Test")); })
        .Then("Test mode", [] { return EditWindow::mToolType == 0; },
              [] {
                  EditWindow& window = *frontEdit();
                  HostInjectClick(centreOf(window, 19)); // the check box
                  HostInjectClick(centreOf(window, 13)); // the edit text
                  typeDigits("42");
                  HostInjectKey(kKeyEscape, 27);
              })
        .Then("the check box and the field used",
              [] { return frontEdit() != nullptr && CheckBox::GGetState(frontEdit(), 19); },
              [&] {
                  EditWindow& window = *frontEdit();
                  check(EditText::GGetLong(&window, 13) == 42, "the typed number");
                  check(!window.IsDirty(), "test mode changes nothing");
                  HostInjectClick(ToolWidgetCentre("Edit"));
                  chooseMenuRow("Utility", 10); // Resize Dialog
                  typeDigits("500");
                  HostInjectKey(kKeyReturn, 13);
              })
        .Then("resized", [] { return frontEdit() != nullptr && frontEdit()->Size().Width() == 500; },
              [&] {
                  check(frontEdit()->IsDirty(), "a resize marks the layout changed");
                  HostInjectKey(kKeyS, 's', cmdKey);
              })
        .Then("saved", [] { return frontEdit() != nullptr && !frontEdit()->IsDirty(); },
              [&] {
                  Handle h = frontEdit()->ViewMngr().SerializeViewTree();
                  saved.assign(*h, size_t(GetHandleSize(h)));
                  DisposeHandle(h);
                  check(layoutsIn(path).at(128).second == saved, "Save writes the layout shown");
                  check(layoutsIn(path).at(129) == sample.at(129), "the other layout stays");
                  layoutList([](const LayoutListPlaces& at) {
                      HostInjectClick(at.buttons.at(CDialogWINT::kNew));
                      typeDigits("300");
                      HostInjectKey(kKeyTab, 9);
                      typeText("Extra");
                      HostInjectKey(kKeyReturn, 13);
                  });
              })
        .Then("the new layout open", [] { return frontIs("300 Extra [a.rsrc]"); },
              [&] {
                  check(idsIn(path) == std::vector<int>{128, 129, 300, 21000}, "New adds one layout");
                  layoutList([](const LayoutListPlaces& at) {
                      HostInjectClick(at.Row(0));
                      HostInjectClick(at.buttons.at(CDialogWINT::kDuplicate));
                      HostInjectKey(kKeyReturn, 13); // 130 "Main copy"
                      HostInjectClick(at.buttons.at(CDialogWINT::kClose));
                  });
              })
        .Then("duplicated", [&] { return FWWindow::ModalCount() == 0 && layoutsIn(path).count(130) != 0; },
              [&] {
                  check(layoutsIn(path).at(130) == std::make_pair(std::string("Main copy"), saved), "the copy's bytes");
                  layoutList([](const LayoutListPlaces& at) {
                      HostInjectClick(at.Row(2)); // 130
                      HostInjectClick(at.buttons.at(CDialogWINT::kRename));
                      typeDigits("131");
                      HostInjectKey(kKeyTab, 9);
                      typeText("Renamed");
                      HostInjectKey(kKeyReturn, 13);
                      HostInjectClick(at.buttons.at(CDialogWINT::kClose));
                  });
              })
        .Then("renamed", [&] { return FWWindow::ModalCount() == 0 && layoutsIn(path).count(131) != 0; },
              [&] {
                  check(idsIn(path) == std::vector<int>{128, 129, 131, 300, 21000}, "rename keeps the count");
                  check(layoutsIn(path).at(131).first == "Renamed", "the new name");
                  layoutList([](const LayoutListPlaces& at) {
                      HostInjectClick(at.Row(2)); // 131
                      HostInjectClick(at.Row(3), shiftKey); // 300, open in a window
                      HostInjectClick(at.buttons.at(CDialogWINT::kDelete));
                      HostInjectKey(kKeyReturn, 13); // "2 resource(s) will be deleted"
                      HostInjectClick(at.buttons.at(CDialogWINT::kClose));
                  });
              })
        .Then("deleted", [&] { return FWWindow::ModalCount() == 0 && idsIn(path).size() == 3; },
              [&] {
                  check(idsIn(path) == std::vector<int>{128, 129, 21000}, "both layouts gone");
                  check(MenuRows("Window") == std::vector<std::string>{"a.rsrc", "  128 Main"},
                        "the Window menu without the deleted layout's window");
                  chooseMenuRow("Utility", 10); // Resize Dialog
                  typeDigits("480");
                  HostInjectKey(kKeyReturn, 13);
              })
        .Then("changed again", [] { return frontEdit() != nullptr && frontEdit()->Size().Width() == 480; },
              [&] {
                  HostInjectClick(closeBoxOf(*frontEdit()));
                  HostInjectKey(kKeyEscape, 27); // "Save changes before close ?": Cancel
              })
        .Then("still open after Cancel",
              [] {
                  return frontIs("128 Main [a.rsrc]") && frontEdit()->IsDirty() && !ShownMessageTexts().empty() &&
                         ShownMessageTexts().back() == "Save changes before close ?";
              },
              [&] {
                  HostInjectKey(kKeyQ, 'q', cmdKey);
                  HostInjectKey(kKeyReturn, 13); // "Save changes before quit ?": Yes
              });
    script.Start();
    const char* argv[] = {"quillform"};
    QZMain(1, argv);
    script.StopIdling();

    EXPECT_EQ("", script.TimedOut());
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ((std::vector<std::string>{}), steps);
    EXPECT_FALSE(FWApp::Exists()) << "Yes saved and quit";
    ASSERT_FALSE(ShownMessageTexts().empty());
    EXPECT_EQ("Save changes before quit ?", ShownMessageTexts().back());
    EXPECT_NE(saved, layoutsIn(path).at(128).second) << "the quit saved the last change";
}

TEST_F(EditorRunTest, OnAnXServerTheDisplaysClipboardIsPastedIntoAFieldAndTakenAsTheShaderPreview)
{
    if (!XvfbServer::Installed() || !XvfbServer::ClipboardToolInstalled())
        GTEST_SKIP() << "Xvfb or xclip is not installed";
    XvfbServer server;
    ASSERT_TRUE(server.Running()) << "Xvfb did not start";
    setenv("DISPLAY", server.Display().c_str(), 1);
    // Another program owns the clipboard, with text, before the editor starts.
    ASSERT_TRUE(server.PutOnClipboard("UTF8_STRING", {'P', 'a', 's', 't', 'e', 'd'}));
    std::string error;
    ASSERT_TRUE(HostSelectBackend("sdl", &error)) << error;
    HostUseSystemClock();
    ShaderDialog::notifyItalic = false;
    const std::string path = File("a.rsrc");
    std::filesystem::copy_file(FW_SAMPLE_RSRC, path);
    const std::vector<uint8_t> tiff = MakeTIFF(254, 254, std::vector<uint32_t>(254 * 254, 0xFF2050A0));
    constexpr uint8_t kKeyV = 9, kKeyY = 16;

    LayoutListPlaces list;
    Point button{};
    RunScript script(std::chrono::seconds(90));
    script
        .Then("the file's list of layouts",
              [] { return !HostModalShownLog().empty() && HostModalShownLog().back().title == "WINT [a.rsrc]"; },
              [&] {
                  HostInjectClick(LocateLayoutList().buttons.at(CDialogWINT::kNew));
                  typeDigits("300");
                  HostInjectKey(kKeyTab, 9);
                  typeText("");
                  HostInjectKey(kKeyV, 'v', cmdKey);
                  HostInjectKey(kKeyReturn, 13);
              })
        .Then("the new layout named by the paste", [] { return frontIs("300 Pasted [a.rsrc]"); },
              [&] {
                  // Now an image: the shader dialog of layout 21000 takes it as its preview.
                  server.PutOnClipboard("image/tiff", tiff);
                  chooseMenuRow("Window", 1);
                  list = LocateLayoutList();
                  HostInjectClick(list.Row(3)); // 21000
                  HostInjectClick(list.buttons.at(CDialogWINT::kOpen));
              })
        .Then("layout 21000 open",
              [] { return frontEdit() != nullptr && frontEdit()->ViewMngr().GetResID() == 21000; },
              [&] {
                  button = ShaderNewImageButton(frontEdit());
                  HostInjectKey(kKeyY, 'y', cmdKey); // Shader..
                  HostInjectClick(button);
                  HostInjectKey(kKeyReturn, 13);
              })
        .Then("the preview taken", [] { return frontEdit() != nullptr && frontEdit()->IsDirty(); },
              [] { HostInjectKey(kKeyS, 's', cmdKey); })
        .Then("saved", [] { return frontEdit() != nullptr && !frontEdit()->IsDirty(); },
              [] { HostInjectKey(kKeyQ, 'q', cmdKey); });
    script.Start();
    const char* argv[] = {"quillform", path.c_str()};
    QZMain(2, argv);
    script.StopIdling();
    HostSelectBackend("headless");
    // The clipboard outlives the test: what it took goes with it.
    FWClipboard::Instance()->ClearClipboard();

    EXPECT_EQ("", script.TimedOut());
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ("Pasted", layoutsIn(path).at(300).first);
    for (const std::string& text : ShownMessageTexts())
        EXPECT_EQ(std::string::npos, text.find("Please place image")) << text;
    const std::string picture = StoredResource(path, FOUR_CHAR_CODE("PICT"), 21000);
    const DiskImageDecoder::Pixels pixels = DiskImageDecoder::Decode(
        FOUR_CHAR_CODE("PICT"), reinterpret_cast<const uint8_t*>(picture.data()), picture.size(), nullptr);
    ASSERT_EQ(127, pixels.width);
    EXPECT_EQ(0xFF2050A0u, pixels.At(0, 0));

    // The built program takes PNG images, which other programs on X offer, as it takes TIFF ones:
    // one copied before its start, one copied while it runs in the place of the last, then one
    // that does not decode, which leaves no image.
    auto copyElsewhere = [&](const std::string& colour) {
        std::system(("ppmmake " + colour + " 254 254 | pnmtopng >" + File("copied.png") + " 2>/dev/null").c_str());
        const std::string png = TempFolder::ReadFile(File("copied.png"));
        return server.PutOnClipboard("image/png", std::vector<uint8_t>(png.begin(), png.end()));
    };
    ASSERT_TRUE(copyElsewhere("rgb:a0/50/20"));
    const std::string built = File("b.rsrc");
    std::filesystem::copy_file(FW_SAMPLE_RSRC, built);
    BuiltProgram program(server, built);
    ASSERT_TRUE(program.Logged("WINT [b.rsrc]")) << program.run->Output();
    program.OpenLayout(list, 2); // 21000, without the layout 300 made above
    // Shader.., New Image, OK, Save: the stored preview's first pixel.
    const uint32_t pict = FOUR_CHAR_CODE("PICT");
    auto log = [&] { return TempFolder::ReadFile(program.folder.File("log")); };
    auto storedPreview = [&]() -> uint32_t {
        EXPECT_TRUE(program.Saves(built, "key ctrl+s"));
        const std::string stored = StoredResource(built, pict, 21000);
        const auto* bytes = reinterpret_cast<const uint8_t*>(stored.data());
        return stored.empty() ? 0 : DiskImageDecoder::Decode(pict, bytes, stored.size(), nullptr).At(0, 0);
    };
    auto preview = [&](bool decodes = true) -> uint32_t {
        std::ofstream(program.folder.File("log")).flush();
        program.Xdotool("key ctrl+y");
        EXPECT_TRUE(program.Logged("\tShader"));
        program.Click(button);
        if (!decodes)
            return 0;
        program.Xdotool("key Return");
        EXPECT_TRUE(program.Logged("closed\tShader"));
        return storedPreview();
    };
    EXPECT_EQ(0xFFA05020u, preview());
    const uint32_t ptkc = FOUR_CHAR_CODE("PTKC"), wint = FOUR_CHAR_CODE("WINT");
    EXPECT_EQ(StoredResource(FW_SAMPLE_RSRC, ptkc, 128), StoredResource(built, ptkc, 128)) << "no parameter was edited";
    const std::string layout = StoredResource(built, wint, 21000); // OK renumbered: the id counter at 9 may differ
    EXPECT_TRUE(layout.size() > 13 && StoredResource(FW_SAMPLE_RSRC, wint, 21000).substr(13) == layout.substr(13));
    ASSERT_TRUE(copyElsewhere("rgb:20/a0/50"));
    program.Xdotool("search --maxdepth 0 --name '' windowfocus --sync %1"); // away and back
    program.Xdotool("search --sync --name quillform windowfocus --sync %1");
    EXPECT_EQ(0xFF20A050u, preview()) << log();
    ASSERT_TRUE(server.PutOnClipboard("image/png", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0}));
    preview(false);
    EXPECT_TRUE(program.Logged("Please place image to clipboard.\rThe recommended size is 127 x 127"));
    program.Xdotool("key Return Return"); // the message, then the dialog
    EXPECT_TRUE(program.Logged("closed\tShader"));
    // An image still on its way is waited for, with a wait that Escape cancels; once it has come,
    // it is taken.
    const std::vector<uint8_t> coming = MakePatternPNG(64, 64);
    std::ofstream(program.folder.File("log")).flush();
    ClipboardOwner slow(server.Display(), {{"image/png", coming}}, {coming.size() / 100, std::chrono::milliseconds(600)});
    ASSERT_TRUE(program.Logged("clipboard\tpublic.png?")) << "the program knows of the copy";
    preview(false);
    EXPECT_TRUE(program.Logged("Waiting for the image from the clipboard..."));
    // Ctrl-. closes the wait alone: the Shader dialog under it stays, and takes New Image again.
    program.Xdotool("key ctrl+period");
    EXPECT_TRUE(program.Logged("closed\tClipboard"));
    program.Click(button);
    EXPECT_TRUE(program.Logged("Waiting for the image from the clipboard...", 2));
    program.Xdotool("key Escape");
    EXPECT_TRUE(program.Logged("closed\tClipboard", 2));
    program.Xdotool("key Return");
    EXPECT_TRUE(program.Logged("closed\tShader"));
    slow.hurry = true;
    EXPECT_TRUE(program.Logged("clipboard\tpublic.png\n"));
    EXPECT_EQ(PatternPixel(0, 0), preview());

    // An image that comes in pieces closes its wait by itself once it is in: no key, no move
    // (its owner sends the last pieces at once when the wait is up).
    std::system(("ppmmake rgb:50/20/a0 254 254 | pnmtopng >" + File("pieces.png") + " 2>/dev/null").c_str());
    const std::string pieces = TempFolder::ReadFile(File("pieces.png"));
    std::ofstream(program.folder.File("log")).flush();
    ClipboardOwner trickle(server.Display(), {{"image/png", std::vector<uint8_t>(pieces.begin(), pieces.end())}},
                           {pieces.size() / 100 + 1, std::chrono::milliseconds(600)});
    ASSERT_TRUE(program.Logged("clipboard\tpublic.png?"));
    program.Xdotool("key ctrl+y");
    EXPECT_TRUE(program.Logged("\tShader"));
    program.Click(button);
    EXPECT_TRUE(program.Logged("Waiting for the image from the clipboard...")) << log();
    trickle.hurry = true;
    EXPECT_TRUE(program.Logged("closed\tClipboard")) << log();
    program.Xdotool("key Return");
    EXPECT_TRUE(program.Logged("closed\tShader"));
    EXPECT_EQ(0xFF5020A0u, storedPreview());

    // After a copy inside the program (a field's text), New Image still takes the image the other
    // program holds, asking it again for the bytes the program let go: no message asks for one.
    std::system(("ppmmake rgb:30/90/c0 8 8 | pnmtopng >" + File("again.png") + " 2>/dev/null").c_str());
    const std::string againPng = TempFolder::ReadFile(File("again.png"));
    std::ofstream(program.folder.File("log")).flush();
    ClipboardOwner again(server.Display(), {{"image/png", std::vector<uint8_t>(againPng.begin(), againPng.end())}});
    ASSERT_TRUE(program.Logged("clipboard\tpublic.png\n"));
    const int asked = again.requests;
    std::ofstream(program.folder.File("log")).flush();
    program.Xdotool("key ctrl+y");
    EXPECT_TRUE(program.Logged("\tShader"));
    program.Xdotool("key Tab Tab type 7"); // the header's field
    program.Xdotool("key shift+Left ctrl+c");
    program.Click(button);
    program.Xdotool("key Return");
    EXPECT_TRUE(program.Logged("closed\tShader")) << log();
    EXPECT_EQ(std::string::npos, log().find("Please place image")) << log();
    EXPECT_EQ(0xFF3090C0u, storedPreview());
    EXPECT_LT(asked, again.requests) << "the owner was asked again";
    EXPECT_TRUE(program.EndsOnSigterm());
}

TEST_F(EditorRunTest, TheBuiltProgramPastesWhatOtherProgramsCopiedAndDoesNotWaitForASilentOwner)
{
    if (!XvfbServer::Installed() || !XvfbServer::ClipboardToolInstalled() || !ChildProcess::OnPath("xdotool"))
        GTEST_SKIP() << "Xvfb, xclip or xdotool is not installed";
    StartApp();
    const Point newButton = LocateLayoutList().buttons.at(CDialogWINT::kNew);
    StopApp();
    XvfbServer server;
    ASSERT_TRUE(server.Running() && server.PutOnClipboard("UTF8_STRING", {'P', 'a', 's', 't', 'e', 'd'}));
    const std::string path = File("a.rsrc");
    std::filesystem::copy_file(FW_SAMPLE_RSRC, path);
    auto program = std::make_unique<BuiltProgram>(server, path);
    ASSERT_TRUE(program->Logged("WINT [a.rsrc]")) << program->run->Output();
    // A new layout named by what was copied before the start, then by what was copied while the
    // program was in the background (the input focus on the root window, then back), saved.
    program->Click(newButton);
    program->Xdotool("key --delay 20 --repeat 8 BackSpace type 300");
    program->Xdotool("key Tab key --delay 20 --repeat 12 BackSpace key ctrl+v");
    ASSERT_TRUE(server.PutOnClipboard("UTF8_STRING", {'A', 'g', 'a', 'i', 'n'}));
    program->Xdotool("search --maxdepth 0 --name '' windowfocus --sync %1");
    ASSERT_TRUE(program->Saves(path, "search --sync --name quillform windowfocus --sync %1 key ctrl+v Return ctrl+s"));
    EXPECT_EQ("PastedAgain", layoutsIn(path)[300].first);
    EXPECT_TRUE(program->EndsOnSigterm());

    // Another program that sends its copy 3 bytes every 0.6 s holds nobody: the list comes, its
    // text is pasted as soon as it has come, and the save goes on while the image trickles.
    std::vector<uint8_t> noise(200000);
    for (size_t i = 0; i < noise.size(); ++i)
        noise[i] = uint8_t(i * 2654435761u >> 13);
    ClipboardOwner slow(server.Display(), {{"UTF8_STRING", {'S', 'l', 'o', 'w'}}, {"image/png", noise}},
                        {3, std::chrono::milliseconds(600)});
    program = std::make_unique<BuiltProgram>(server, path);
    ASSERT_TRUE(program->Logged("WINT [a.rsrc]")) << program->run->Output();
    program->Click(newButton);
    program->Xdotool("key --delay 20 --repeat 8 BackSpace type 301");
    program->Xdotool("key Tab key --delay 20 --repeat 12 BackSpace");
    // The text arrives 3 bytes at a time, and is pasted once it has come.
    ASSERT_TRUE(program->Logged("clipboard\tpublic.utf8-plain-text\tpublic.png?"));
    ASSERT_TRUE(program->Saves(path, "key ctrl+v Return ctrl+s"));
    EXPECT_EQ("Slow", layoutsIn(path)[301].first);
    EXPECT_EQ(1, slow.served) << "the image is still on its way";
    EXPECT_TRUE(program->EndsOnSigterm());
}

TEST_F(EditorRunTest, TheBuiltProgramEndsAtOnceWhenItsDisplayGoesAway)
{
    if (!XvfbServer::Installed() || !ChildProcess::OnPath("xdotool"))
        GTEST_SKIP() << "Xvfb or xdotool is not installed";
    StartApp();
    int16_t left = 0;
    pullDown("File", &left);
    const Point close = LocateLayoutList().buttons.at(CDialogWINT::kClose);
    StopApp();
    // The server ends with the Open dialog up, then with the File menu open.
    for (bool menu : {false, true}) {
        XvfbServer server;
        BuiltProgram program(server, FW_SAMPLE_RSRC);
        ASSERT_TRUE(program.Logged("WINT [Sample.rsrc]")) << program.run->Output();
        program.Click(close);
        program.Xdotool("key ctrl+o");
        ASSERT_TRUE(program.Logged("nav-folder")) << program.run->Output();
        if (menu) {
            program.Xdotool("key Escape");
            program.Click(Point{5, int16_t(left + 4)});
            program.run->Ended(std::chrono::seconds(1));
        }
        server.End();
        ASSERT_TRUE(program.run->Ended(std::chrono::seconds(10))) << (menu ? "menu open" : "Open dialog up");
        EXPECT_TRUE(WIFEXITED(program.run->Status()) && WEXITSTATUS(program.run->Status()) == 1);
    }
}

TEST_F(EditorRunTest, TheBuiltProgramGoesOnAfterReturnOnADamagedLayout)
{
    if (!XvfbServer::Installed() || !ChildProcess::OnPath("xdotool"))
        GTEST_SKIP() << "Xvfb or xdotool is not installed";
    StartApp();
    const LayoutListPlaces list = LocateLayoutList();
    const Point first = list.Row(0), open = list.buttons.at(CDialogWINT::kOpen);
    StopApp();
    // One flipped bit inside 'WINT' 128 that once reached the assertion alert, whose default
    // answer, Abort, ended the program.
    const std::string path = File("a.rsrc");
    std::filesystem::copy_file(FW_SAMPLE_RSRC, path);
    std::string bytes = TempFolder::ReadFile(path);
    bytes.at(1276) ^= 0x40;
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    XvfbServer server;
    BuiltProgram program(server, path);
    ASSERT_TRUE(program.Logged("WINT [a.rsrc]")) << program.run->Output();
    program.Click(first);
    program.Click(open);
    ASSERT_TRUE(program.Logged("The resource is invalid or corrupted, delete it")) << program.run->Output();
    program.Xdotool("key Return");
    EXPECT_FALSE(program.run->Ended(std::chrono::seconds(1)));
    EXPECT_EQ(std::string::npos, TempFolder::ReadFile(program.folder.File("log")).find("An assertion failed"));
    EXPECT_EQ(bytes, TempFolder::ReadFile(path));
    EXPECT_TRUE(program.EndsOnSigterm());
}

TEST_F(EditorRunTest, TheBuiltProgramOpensViewsStoredTooSmallAndItsDialogsRefuseSuchRectanglesStayingOpen)
{
    if (!XvfbServer::Installed() || !ChildProcess::OnPath("xdotool"))
        GTEST_SKIP() << "Xvfb or xdotool is not installed";
    const std::string path = File("small.rsrc");
    WriteSmallViewsFile(path);
    Point glCentre, listCentre;
    const LayoutListPlaces places = placesOf(path, 130, [&](EditWindow& window) {
        glCentre = centreOf(window, 1002);
        listCentre = centreOf(window, 1003);
    });
    XvfbServer server;
    BuiltProgram program(server, path);
    ASSERT_TRUE(program.Logged("WINT [small.rsrc]")) << program.run->Output();
    program.OpenLayout(places, 0);
    // Each dialog double-clicked open, a field typed (going round to the first one first): OK is
    // refused with the message, and once it is answered refused again, the fields still as typed.
    // A stored list box has no scroll bars of its own: only its frame takes room.
    for (auto [at, keys, message] :
         {std::tuple{glCentre, "type 5000", "The GLView needs a width (right - left) from 2 to 32767 and a height"},
          {listCentre, "Tab Tab Tab Tab Tab type 4", "The ListBox needs a width (right - left) from 5 to 32767 and a "
                                                     "height (bottom - top) from 5 to 32767."}}) {
        program.Xdotool("search --sync --name quillform mousemove --sync --window %1 " + std::to_string(at.h) + " " +
                        std::to_string(at.v) + " click --repeat 2 --delay 100 1");
        ASSERT_TRUE(program.Logged(at.h == glCentre.h ? "(ID:1002)" : "(ID:1003)")) << program.run->Output();
        program.Xdotool(std::string("key shift+Tab Tab ") + keys);
        for (const char* key : {"Return", "Return", "Return", "Return", "Escape"})
            program.Xdotool(std::string("key ") + key);
        EXPECT_TRUE(program.Logged(message, 2)) << TempFolder::ReadFile(program.folder.File("log"));
    }
    // The GL view, (200, 20)-(260, 80) as it spans, dragged 20 to the left and moved one to the
    // right by an arrow, is saved whole and in order.
    auto to = [](Point at) {
        return " mousemove --sync --window %1 " + std::to_string(at.h) + " " + std::to_string(at.v);
    };
    ASSERT_TRUE(program.Saves(path, "search --sync --name quillform" + to(glCentre) + " mousedown 1" +
                                        to(Point{glCentre.v, int16_t(glCentre.h - 20)}) + " mouseup 1 key Right ctrl+s"));
    const std::string stored = DescribeLayout(StoredResource(path, FOUR_CHAR_CODE("WINT"), 130));
    EXPECT_NE(std::string::npos, stored.find(" 1002 (181 20 241 80)")) << stored;
    EXPECT_EQ(std::string::npos, TempFolder::ReadFile(program.folder.File("log")).find("An assertion failed"));
    EXPECT_TRUE(program.EndsOnSigterm());
}

TEST_F(EditorRunTest, TheBuiltProgramRefusesAGroupOfTooManyLayersAtOnceItsDialogStayingOpen)
{
    if (!XvfbServer::Installed() || !ChildProcess::OnPath("xdotool"))
        GTEST_SKIP() << "Xvfb or xdotool is not installed";
    Point corner;
    const LayoutListPlaces places = placesOf(FW_SAMPLE_RSRC, 128, [&](EditWindow& window) {
        // Inside the sample's group near its bottom-left corner, clear of its handles and its views.
        const FWRect group = window.ViewMngr().GetView(17)->GlobalRect();
        FWPoint at(int16_t(group.left + 6), int16_t(group.bottom - 6));
        window.WindowToGlobal(&at);
        corner = Point{at.v, at.h};
    });
    XvfbServer server;
    BuiltProgram program(server, FW_SAMPLE_RSRC);
    ASSERT_TRUE(program.Logged("WINT [Sample.rsrc]")) << program.run->Output();
    program.OpenLayout(places, 0);
    program.Click(corner, 2);
    ASSERT_TRUE(program.Logged("Group (ID:17)")) << program.run->Output();
    // Round to the first field, then past the edges, width, height, string ID and label.
    program.Xdotool("key shift+Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab type 100000");
    const char* message = "The number of layers must lie between 0 and 75.";
    program.Xdotool("key Return");
    ASSERT_TRUE(program.Logged(message)) << TempFolder::ReadFile(program.folder.File("log"));
    // Answered, the dialog is still there with the number as typed: OK refuses it again.
    for (const char* key : {"Return", "Return"})
        program.Xdotool(std::string("key ") + key);
    EXPECT_TRUE(program.Logged(message, 2)) << TempFolder::ReadFile(program.folder.File("log"));
    EXPECT_TRUE(program.EndsOnSigterm());
}
