#include "EditorFixture.h"

#include "CDialogWINT.h"
#include "CQF_Document.h"
#include "FWApp.h"
#include "FWDocument.h"
#include "FWMenuMgr.h"
#include "HostMenus.h"
#include "HostModalLoop.h"
#include "HostNavDialogs.h"
#include "HostProcess.h"
#include "HostResources.h"
#include "HostSound.h"
#include "ListBox.h"
#include "QuillformApp.h"

#include <filesystem>

namespace {

std::string textOf(const std::vector<uint8_t>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

std::vector<std::string> rowsOf(MenuRef menu)
{
    std::vector<std::string> rows;
    if (menu == nullptr)
        return rows;
    for (const HostMenuItem& item : menu->Items())
        rows.push_back(textOf(item.text) + (item.enabled ? "" : " [off]"));
    return rows;
}

} // namespace

EditorFixture::EditorFixture()
{
    const std::string program = mFolder.Create("quillform");
    std::filesystem::copy_file(FW_APP_RSRC, program + ".rsrc");
    std::filesystem::create_directory(mFolder.Path() / "Preferences");
    HostSetProgramPathForTests(program);
    HostOpenApplicationResourceFile((program + ".rsrc").c_str(), &mAppResources);
    HostResetModalLoops();
    HostNavClearPresetAnswers();
    HostResetBeeps();
}

EditorFixture::~EditorFixture()
{
    StopApp();
    if (mAppResources != 0)
        CloseResFile(mAppResources);
    HostSetProgramPathForTests("");
    HostResetModalLoops();
    HostNavClearPresetAnswers();
    HostResetMenus();
}

QuillformApp* EditorFixture::StartApp()
{
    mFileServices = std::make_unique<Corvel::Env_InitCleanUpRA<Corvel::FD_Package>>();
    EXPECT_TRUE(FWApp::Init());
    return new QuillformApp;
}

void EditorFixture::StopApp()
{
    if (FWApp::Exists()) {
        // Documents go as quitting closes them.
        while (FWDocument* document = FWApp::Instance()->GetDocumentList().First()) {
            document->SendMessage(Dependable::IsBeingDeleted);
            delete document;
        }
        FWApp::Uninit();
    }
    mFileServices.reset();
}

std::vector<std::string> EditorFixture::MenuRows(const std::string& title)
{
    FWMenuMgr::Instance()->adjust_menus(0);
    for (MenuRef menu : HostMenuBarMenus())
        if (HostIsMenu(menu) && textOf(menu->Title()) == title)
            return rowsOf(menu);
    return {};
}

std::vector<std::string> EditorFixture::MenuShortcuts(const std::string& title)
{
    std::vector<std::string> keys;
    for (MenuRef menu : HostMenuBarMenus()) {
        if (!HostIsMenu(menu) || textOf(menu->Title()) != title)
            continue;
        for (const HostMenuItem& item : menu->Items()) {
            std::string key;
            if (item.commandKey != 0) {
                key = (item.modifiers & kMenuNoCommandModifier) ? "" : "cmd ";
                key += (item.modifiers & kMenuShiftModifier) ? "shift " : "";
                key += char(item.commandKey);
            }
            keys.push_back(key);
        }
    }
    return keys;
}

std::vector<std::string> EditorFixture::RecentRows()
{
    for (MenuRef menu : HostMenuBarMenus()) {
        if (!HostIsMenu(menu) || textOf(menu->Title()) != "File")
            continue;
        for (const HostMenuItem& item : menu->Items())
            if (textOf(item.text) == "Open Recent")
                return rowsOf(HostHierarchicalMenu(item.submenuID));
    }
    return {};
}

EditorFixture::LayoutListPlaces EditorFixture::LocateLayoutList()
{
    LayoutListPlaces places;
    auto* document = new CQF_Document;
    {
        CDialogWINT probe(document);
        auto global = [&](FWPoint p) {
            probe.WindowToGlobal(&p);
            return Point{p.v, p.h};
        };
        for (int32_t id = CDialogWINT::kOpen; id <= CDialogWINT::kNew; ++id) {
            const FWRect r = probe.ViewMngr().GetView(id)->GlobalRect();
            places.buttons[id] = global(FWPoint(int16_t((r.left + r.right) / 2), int16_t((r.top + r.bottom) / 2)));
        }
        const FWRect list = probe.List()->GlobalRect();
        const Point corner = global(FWPoint(list.left, list.top));
        places.list = FWRect(corner.h, corner.v, int16_t(corner.h + list.Width()), int16_t(corner.v + list.Height()));
        probe.SendMessage(Dependable::IsBeingDeleted);
    }
    document->SendMessage(Dependable::IsBeingDeleted);
    delete document;
    return places;
}
