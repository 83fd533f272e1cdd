// The editor's command tables: the menu bar and the tools of the tool window. Records hold, in
// order: name, id, flags, icon, alternate icon, adjust, action, alternate action, shortcut key,
// shortcut modifiers, children, child count.
#include "AddControls.h"
#include "EditWindow.h"
#include "FWApp.h"
#include "FWEventDispatcher.h"
#include "QuillformApp.h"

#include <iterator>

namespace {

constexpr uint32_t kSeparatorFlag = 0x08;
constexpr uint32_t kMenuFlag = 0x80;
constexpr uint32_t kModalUsable = 0x2000;
constexpr uint32_t kButtonTool = 0x01;
constexpr uint32_t kModalTool = 0x02;
constexpr uint32_t kCmd = 0x100;
constexpr uint32_t kCmdShift = 0x300;

#define SEPARATOR {"-----------", 0, kSeparatorFlag, 0, 0, nullptr, nullptr, nullptr, 0, 0, nullptr, 0}
#define ROW(name, flags, adjust, action, key, mods) {name, 0, flags, 0, 0, adjust, action, nullptr, key, mods, nullptr, 0}

// Its rows are made at run time.
const FWOpData kRecentRows[] = {SEPARATOR};
const FWOpData kWindowRows[] = {SEPARATOR};

const FWOpData kFileRows[] = {
    ROW("New...", 0, FWApp::AdjustFileNew, FWApp::FileNew, 'N', kCmd),
    ROW("Open..", 0, FWApp::AdjustFileOpen, FWApp::FileOpen, 'O', kCmd),
    {"Open Recent", QuillformApp::kRecentMenuID, kMenuFlag, 0, 0, FWApp::AdjustFileOpen, nullptr, nullptr, 0, 0,
     kRecentRows, 1},
    SEPARATOR,
    ROW("Save", 0, FWApp::AdjustFileSave, FWApp::FileSave, 'S', kCmd),
    ROW("Save All", 0, QuillformApp::AdjustFileSaveAll, QuillformApp::FileSaveAll, 'S', kCmdShift),
    SEPARATOR,
    ROW("Quit", 0, FWApp::AdjustFileQuit, FWApp::FileQuit, 'Q', kCmd),
};

const FWOpData kEditRows[] = {
    ROW("Undo", kModalUsable, FWEventDispatcher::AdjustUndo, nullptr, 'Z', kCmd),
    SEPARATOR,
    ROW("Cut", kModalUsable, FWEventDispatcher::AdjustCut, FWEventDispatcher::DispatchCut, 'X', kCmd),
    ROW("Copy", kModalUsable, FWEventDispatcher::AdjustCopy, FWEventDispatcher::DispatchCopy, 'C', kCmd),
    ROW("Paste", kModalUsable, FWEventDispatcher::AdjustPaste, FWEventDispatcher::DispatchPaste, 'V', kCmd),
    ROW("Clear", kModalUsable, FWEventDispatcher::AdjustClear, FWEventDispatcher::DispatchClear, 0, 0),
    SEPARATOR,
    ROW("Align Left", 0, QuillformApp::AdjustAlign, QuillformApp::align_left, 0, 0),
    ROW("Align Right", 0, QuillformApp::AdjustAlign, QuillformApp::align_right, 0, 0),
    ROW("Align Top", 0, QuillformApp::AdjustAlign, QuillformApp::align_top, 0, 0),
    ROW("Align Bottom", 0, QuillformApp::AdjustAlign, QuillformApp::align_bottom, 0, 0),
    ROW("Align Horizontal", 0, QuillformApp::AdjustAlign, QuillformApp::align_horiz, 0, 0),
    ROW("Align Vertical.", 0, QuillformApp::AdjustAlign, QuillformApp::align_vert, 0, 0),
    SEPARATOR,
    ROW("Align Edits", 0, QuillformApp::AdjustAlign, QuillformApp::align_edits, 0, 0),
    ROW("Align Distribution", 0, QuillformApp::AdjustAlign, QuillformApp::align_distrib, 0, 0),
};

const FWOpData kUtilityRows[] = {
    ROW("Set Tab Order", 0, QuillformApp::AdjustUtils, QuillformApp::do_tab_reorder, 'T', kCmd),
    SEPARATOR,
    ROW("Recompute IDs", 0, QuillformApp::AdjustUtils, QuillformApp::recompute_IDs, 0, 0),
    ROW("Write Control IDs", 0, QuillformApp::AdjustUtils, QuillformApp::write_source_file, 0, 0),
    SEPARATOR,
    ROW("Shader.. ", 0, QuillformApp::AdjustUtils, QuillformApp::do_shader, 'Y', kCmd),
    SEPARATOR,
    ROW("Adjust Grid", 0, QuillformApp::AdjustUtils, QuillformApp::adjust_grid, 0, 0),
    SEPARATOR,
    ROW("Resize Dialog", 0, QuillformApp::AdjustUtils, QuillformApp::ResizeDialog, 0, 0),
};

#define MENU(name, id, rows) {name, id, kMenuFlag, 0, 0, nullptr, nullptr, nullptr, 0, 0, rows, int32_t(std::size(rows))}

const FWOpData kMenus[] = {
    MENU("File", 130, kFileRows),
    MENU("Edit", 131, kEditRows),
    MENU("Utility", 132, kUtilityRows),
    MENU("Window", QuillformApp::kWindowMenuID, kWindowRows),
};

#define TOOL(name, flags, icon, action) {name, 0, flags, icon, 0, nullptr, action, nullptr, 0, 0, nullptr, 0}

const FWOpData kManipulationTools[] = {
    TOOL("Test", kModalTool, 1000, EditWindow::OnTestTool),
    TOOL("Edit", kModalTool, 1001, EditWindow::OnEditTool),
};

const FWOpData kAlignmentTools[] = {
    TOOL("Align left", kButtonTool, 3000, QuillformApp::align_left),
    TOOL("Align right", kButtonTool, 3001, QuillformApp::align_right),
    TOOL("Align top", kButtonTool, 3002, QuillformApp::align_top),
    TOOL("Align bottom", kButtonTool, 3003, QuillformApp::align_bottom),
    TOOL("Align horiz.", kButtonTool, 3004, QuillformApp::align_horiz),
    TOOL("Align vert.", kButtonTool, 3005, QuillformApp::align_vert),
    TOOL("Center horiz.", kButtonTool, 3006, QuillformApp::CenterInParentHoriz),
    TOOL("Center vert.", kButtonTool, 3007, QuillformApp::CenterInParentVert),
};

const FWOpData kInterfaceTools[] = {
    TOOL("OK Button", kModalTool, 1004, AddControls::OnOKButtonTool),
    TOOL("Cancel Button", kModalTool, 1005, AddControls::OnCancelButtonTool),
    TOOL("Static Text", kModalTool, 1011, AddControls::OnStaticTextTool),
    TOOL("Edit Text", kModalTool, 1007, AddControls::OnEditTextTool),
    TOOL("Check Box", kModalTool, 1008, AddControls::OnCheckBoxTool),
    TOOL("Color Button", kModalTool, 1013, AddControls::OnColorButtonTool),
    TOOL("Popup Menu", kModalTool, 1019, AddControls::OnPopupMenuTool),
    TOOL("Tab", kModalTool, 1003, AddControls::OnTabTool),
    TOOL("Group", kModalTool, 1002, AddControls::OnGroupTool),
    TOOL("Divider", kModalTool, 1009, AddControls::OnDividerTool),
    TOOL("Radiobutton Set", kModalTool, 1015, AddControls::OnRadiobuttonSetTool),
    TOOL("List Box", kModalTool, 1021, AddControls::OnListBoxTool),
    TOOL("Color Slider", kModalTool, 1018, AddControls::OnColorSliderTool),
    TOOL("Text Button", kModalTool, 1020, AddControls::OnTextButtonTool),
    TOOL("Picture Button", kModalTool, 1006, AddControls::OnPictureButtonTool),
    TOOL("Picture", kModalTool, 1012, AddControls::OnPictureTool),
    TOOL("Scrollbar", kModalTool, 1010, AddControls::OnScrollbarTool),
    TOOL("OpenGL", kModalTool, 1022, AddControls::OnOpenGLTool),
};

#define FOLDER(name, tools) {name, 0, kMenuFlag, 0, 0, nullptr, nullptr, nullptr, 0, 0, tools, int32_t(std::size(tools))}

const FWOpData kToolFolders[] = {
    FOLDER("Manipulation", kManipulationTools),
    FOLDER("Alignment", kAlignmentTools),
    FOLDER("Interface Items", kInterfaceTools),
};

} // namespace

const FWOpData QuillformApp::sMenuRoot = {"Menu Root", 0, kMenuFlag, 0, 0, nullptr, nullptr, nullptr, 0, 0,
                                          kMenus, int32_t(std::size(kMenus))};

const FWOpData QuillformApp::sToolbarRoot = {"Toolbar Root", 0, kMenuFlag, 0, 0, nullptr, nullptr, nullptr, 0, 0,
                                             kToolFolders, int32_t(std::size(kToolFolders))};
