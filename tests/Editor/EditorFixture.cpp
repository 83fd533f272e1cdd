#include "EditorFixture.h"

#include "CDialogWINT.h"
#include "CQF_Document.h"
#include "EditWindow.h"
#include "FS_ResourceFileRA.h"
#include "FWApp.h"
#include "FWDocument.h"
#include "FWMenuMgr.h"
#include "FWToolWidget.h"
#include "FWToolWindow.h"
#include "FWViewMngr.h"
#include "FWWindow.h"
#include "HostHeadless.h"
#include "HostMemory.h"
#include "HostMenus.h"
#include "HostModalLoop.h"
#include "HostNavDialogs.h"
#include "HostProcess.h"
#include "HostResources.h"
#include "HostSound.h"
#include "ListBox.h"
#include "PreorderTraversal.h"
#include "QZ_GLView.h"
#include "QuillformApp.h"
#include "RecomputeIDs.h"
#include "ShaderDialog.h"

#include "../Files/ResourceFileMaker.h"

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

Point EditorFixture::ToolWidgetCentre(const std::string& name)
{
    PreorderTraversal<FWView> walk(FWToolWindow::Instance()->ViewMngr().GetViewTree(), false);
    for (FWView* view = walk.First(); view != nullptr; view = walk.Next()) {
        auto* widget = dynamic_cast<FWToolWidget*>(view);
        if (widget == nullptr || widget->ToolName() != name.c_str())
            continue;
        const FWRect r = widget->GlobalRect();
        FWPoint centre(int16_t((r.left + r.right) / 2), int16_t((r.top + r.bottom) / 2));
        FWToolWindow::Instance()->WindowToGlobal(&centre);
        return Point{centre.v, centre.h};
    }
    ADD_FAILURE() << "no widget of " << name;
    return Point{0, 0};
}

void EditorFixture::ChooseMenuRow(const std::string& title, const std::string& row)
{
    for (const HostMenuTitleLayout& layout : HostLayOutMenuBar()) {
        if (textOf(layout.menu->Title()) != title)
            continue;
        const HostMenuPanelLayout panel = HostLayOutPullDown(layout.menu, layout.left);
        const std::vector<HostMenuItem>& items = layout.menu->Items();
        for (size_t i = 0; i < items.size() && i < panel.items.size(); ++i) {
            if (textOf(items[i].text) != row)
                continue;
            const Point inside{int16_t(panel.items[i].top + 3), int16_t(panel.items[i].left + 8)};
            HostInjectMouseDown(Point{5, int16_t(layout.left + 4)});
            HostInjectMouseMove(inside);
            HostInjectMouseUp(inside);
            return;
        }
    }
    ADD_FAILURE() << "no row " << row << " in " << title;
}

std::string EditorFixture::StoredResource(const std::string& path, uint32_t type, int16_t id)
{
    Corvel::FS_ResourceFileRA file(LocatorOfPath(path), false);
    Handle h = file.OpenedResourceFile() != 0 ? Get1Resource(type, id) : nullptr;
    if (h == nullptr)
        return {};
    std::string bytes(*h, size_t(GetHandleSize(h)));
    ReleaseResource(h);
    return bytes;
}

std::string EditorFixture::SerializedTree(FWViewMngr& manager)
{
    Handle h = manager.SerializeViewTree();
    if (h == nullptr)
        return {};
    std::string bytes(*h, size_t(GetHandleSize(h)));
    DisposeHandle(h);
    return bytes;
}

FWView* EditorFixture::StartLayout(FWWindow& window, int16_t width, int16_t height, int32_t rootID)
{
    window.SetSize(width + 2 * window.FrameWidth(), height + window.TitleWidth() + window.FrameWidth());
    FWViewMngr& manager = window.ViewMngr();
    manager.Initialize(FWRect());
    FWView* root = manager.GetViewTree();
    root->SetRect(FWRect(0, 0, width, height));
    root->SetID(rootID);
    return root;
}

void EditorFixture::WriteSmallViewsFile(const std::string& path)
{
    FWWindow maker;
    FWView* root = StartLayout(maker, 400, 300, 1);
    auto* gl = new QZ_GLView;
    gl->FWView::Init(&maker);
    gl->SetRect(FWRect(260, 20, 200, 80));
    auto* list = new ListBox;
    list->Init(&maker, FWRect(20, 100, 120, 104));
    auto* beyond = new QZ_GLView;
    beyond->FWView::Init(&maker);
    beyond->SetRect(FWRect(5001, 125, 608, 215));
    beyond->SetID(1004);
    root->AppendChild(gl);
    root->AppendChild(list);
    root->AppendChild(beyond);
    ASSERT_TRUE(MakeResourceFile(path, {{FOUR_CHAR_CODE("WINT"), 130, "Small", SerializedTree(maker.ViewMngr())}}));
}

std::string EditorFixture::DescribeLayout(const std::string& bytes)
{
    FWWindow w;
    if (!w.ViewMngr().InitializeFromData(bytes.data(), uint32_t(bytes.size())))
        return "unreadable\n";
    std::string out = "counter " + std::to_string(w.ViewMngr().GetCurrID()) + "\n";
    PreorderTraversal<FWView> walk(w.ViewMngr().GetViewTree(), false);
    for (FWView* v = walk.First(); v != nullptr; v = walk.Next()) {
        const FWRect r = v->GetRect();
        char line[200];
        std::snprintf(line, sizeof line, "%s %d (%d %d %d %d) in %d tab %d visible %d%s%s\n", v->FactoryGetClassName(),
                      int(v->ID()), r.left, r.top, r.right, r.bottom, v->Parent() != nullptr ? int(v->Parent()->ID()) : -1,
                      int(v->GetTabPos()), int(v->Visible()), v->DefaultAccept() ? " accept" : "",
                      v->DefaultCancel() ? " cancel" : "");
        out += line;
    }
    return out;
}

Point EditorFixture::ShaderNewImageButton(EditWindow* window)
{
    std::vector<RECOMPUTE_IDS::CItemInfo> records;
    const FWView* special[3] = {};
    RECOMPUTE_IDS::NeedRecomputeIDs(window, records, special);
    ShaderDialog probe(window, records);
    const FWRect r = probe.ViewMngr().GetView(ShaderDialog::kNewImage)->GlobalRect();
    FWPoint centre(int16_t((r.left + r.right) / 2), int16_t((r.top + r.bottom) / 2));
    probe.WindowToGlobal(&centre);
    probe.SendMessage(Dependable::IsBeingDeleted);
    return Point{centre.v, centre.h};
}
