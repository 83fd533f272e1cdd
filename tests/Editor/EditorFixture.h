// The editor in a test: the program placed in a scratch folder (so the test owns its
// "Preferences/path.txt"), the built quillform.rsrc beside it, and the application object made and
// taken down on the headless back end.
#pragma once

#include "Env_InitCleanUpRA.h"
#include "FD_Package.h"
#include "FWRect.h"
#include "HostDesktopScope.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

class EditWindow;
class FWView;
class FWViewMngr;
class FWWindow;
class QuillformApp;

class EditorFixture : public ::testing::Test {
protected:
    EditorFixture();
    ~EditorFixture() override;

    // Starts the file services and makes the application; StopApp takes it down (the destructor
    // does so too).
    QuillformApp* StartApp();
    void StopApp();

    std::string PrefsPath() const { return mFolder.File("Preferences/path.txt"); }
    std::string File(const std::string& name) const { return mFolder.File(name); }

public:
    // The rows of a menu of the bar after the menus were adjusted: the text, then " [off]" for a
    // disabled row.
    static std::vector<std::string> MenuRows(const std::string& title);
    // The shortcuts of a menu's rows: "cmd", "shift" when needed, and the key; "" for none.
    static std::vector<std::string> MenuShortcuts(const std::string& title);
    // The rows of the Open Recent submenu, the same way.
    static std::vector<std::string> RecentRows();

    // Where the list of a file's layouts shows its buttons (by view id) and its rows on the
    // screen, as found on a list made and never shown (the shown one lies at the same place).
    struct LayoutListPlaces {
        std::map<int32_t, Point> buttons;
        FWRect list;
        // On the text of a row (rows of 15 pixels from 3 below the list's top).
        Point Row(int row) const { return Point{int16_t(list.top + 9 + 15 * row), int16_t(list.left + 24)}; }
    };
    // Needs the application.
    static LayoutListPlaces LocateLayoutList();

    // Where the Shader dialog of the window will show its "New Image" button, on the screen.
    static Point ShaderNewImageButton(EditWindow* window);
    // The centre of the tool window's widget of the named tool, in global coordinates.
    static Point ToolWidgetCentre(const std::string& name);
    // Injects a press on the menu's title, a move down to the row of that text and the release
    // there, as a person chooses a row.
    static void ChooseMenuRow(const std::string& title, const std::string& row);

    // The bytes of a resource stored in the file; empty when the file or the resource is missing.
    static std::string StoredResource(const std::string& path, uint32_t type, int16_t id);
    // Sizes the window to hold content of width x height, starts its view manager with an empty
    // tree and gives the root that rectangle and id; returns the root.
    static FWView* StartLayout(FWWindow& window, int16_t width, int16_t height, int32_t rootID);
    // The view tree's bytes as the view manager writes them.
    static std::string SerializedTree(FWViewMngr& manager);
    // Writes a file holding layout 130 "Small", 400 x 300: a GL view (id 1002) stored with its left
    // beyond its right, (260, 20, 200, 80), a list box (id 1003) 4 high, (20, 100, 120, 104), and
    // a GL view (id 1004) stored inverted wholly right of the window, (5001, 125, 608, 215).
    static void WriteSmallViewsFile(const std::string& path);
    // One line per view of a stored layout, for failure messages: class, id, rectangle, parent id,
    // tab position, visibility, default accept and cancel.
    static std::string DescribeLayout(const std::string& bytes);

protected:
    HostDesktopScope mDesktop;
    TempFolder mFolder;
    std::unique_ptr<Corvel::Env_InitCleanUpRA<Corvel::FD_Package>> mFileServices;
    int16_t mAppResources = 0;
};
