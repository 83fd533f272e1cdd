#include "EditWindow.h"

#include "CDataPTKC.h"
#include "CQF_Document.h"
#include "EditText.h"
#include "FS_ResourceFileRA.h"
#include "FWDrawContext.h"
#include "FWEvent.h"
#include "FWEventDispatcher.h"
#include "FWView.h"
#include "PreorderTraversal.h"
#include "FWStr.h"
#include "FWUserMsg.h"
#include "QuillformApp.h"
#include "TabControl.h"

#include <cstdio>
#include <stdexcept>
#include <vector>

int32_t EditWindow::mToolType = 0;
FWView* (*EditWindow::mCreateProc)(FWWindow*, const FWRect&) = nullptr;
int32_t EditWindow::mActMode = 0;
EditWindow* EditWindow::mCreatedInstance = nullptr;
FWRect EditWindow::mDefaultRect(200, 200, 840, 680);

namespace {

constexpr uint32_t kAllEdges = 255;
constexpr int32_t kShaderLayoutID = 21000;
constexpr int kEnter = 3, kBackspace = 8, kReturn = 13, kEscape = 27, kLeftArrow = 28, kDownArrow = 31, kDelete = 127;

} // namespace

EditWindow::EditWindow(CQF_Document* document, int32_t id)
{
    mCreatedInstance = this;
    SetResizing(true, nullptr, kAllEdges);
    if (!Initialize(document, id))
        throw std::runtime_error("the layout could not be read");
    EraseOnUpdate();
    updateShaderData();
    SetNameWINT();
    ViewMngr().SetInterfaceEvent(false);
    mToolType = 1;
    Show();
}

EditWindow::EditWindow(CQF_Document* document, const FWRect& frame)
{
    EraseOnUpdate();
    SetResizing(true, nullptr, kAllEdges);
    FWWindow::Initialize(document, frame);
    ViewMngr().SetInterfaceEvent(false);
}

EditWindow::~EditWindow()
{
    delete mShaderData;
}

bool EditWindow::Initialize(FWDocument* document, int32_t resID)
{
    auto* resourceDocument = dynamic_cast<CQF_Document*>(document);
    if (resourceDocument == nullptr)
        return false;
    // The layout is read from the document's file, open for the length of the load. Were the
    // search to go on down the chain, a file that failed to open would show the program's own
    // layout of that id, and a save would write it over the user's.
    Corvel::FS_ResourceFileRA file(resourceDocument->Path2Locator(), false);
    if (file.OpenedResourceFile() == 0) {
        CResMap::ChkError();
        throw FileNotOpened();
    }
    ViewMngr().SetCurrentFileOnly(true);
    return FWWindow::Initialize(document, resID);
}

void EditWindow::SetDirty(bool dirty)
{
    mDirty = dirty;
    if (dirty && GetDocument() != nullptr)
        GetDocument()->SetDirtyFlag(true);
}

void EditWindow::SetLayoutID(int32_t id)
{
    ViewMngr().SetResID(id);
    updateShaderData();
    SetNameWINT();
}

void EditWindow::updateShaderData()
{
    const bool shader = ViewMngr().GetResID() == kShaderLayoutID;
    if (shader && mShaderData == nullptr) {
        mShaderData = new CDataPTKC(this);
    } else if (!shader) {
        delete mShaderData;
        mShaderData = nullptr;
    }
}

void EditWindow::SetNameWINT()
{
    const int32_t id = ViewMngr().GetResID();
    auto* document = dynamic_cast<CQF_Document*>(GetDocument());
    const std::string layout = document != nullptr ? document->ResMap().Name(id) : std::string();
    FWStr<255> documentName;
    if (document != nullptr)
        document->DocName(documentName);
    char title[600];
    std::snprintf(title, sizeof title, "%d %s [%s]", int(id), layout.c_str(), documentName.GetCString());
    const FWStr<255> name(title);
    SetName(&name, false);
}

void EditWindow::MakeToFront()
{
    BringToFront();
    FWEventDispatcher::Instance()->SetKeyWindow(this);
}

bool EditWindow::MouseDownEvent(FWEvent& event)
{
    if (mToolType == 0) {
        if (FWEventHandler* handler = ViewMngr().GetEventHandler(event))
            handler->MouseDownEvent(event);
    } else if (mToolType == 1) {
        editPress(event);
    } else if (mToolType == 2) {
        FWDrawContext context(this);
        CreateNewItem(context, event.mWhere);
    }
    return true;
}

bool EditWindow::KeyDownEvent(FWEvent& event)
{
    const int c = uint8_t(event.EventCharacter());
    if (mToolType == 0) {
        if (c == kReturn || c == kEnter) {
            FWView* accept = ViewMngr().DefaultAccept();
            if (accept == nullptr)
                return false;
            accept->SimulateMouseClick();
            return true;
        }
        if (c == kEscape || (c == '.' && (event.mModifiers & kFWCommandKey) != 0)) {
            if (FWView* cancel = ViewMngr().DefaultCancel())
                cancel->SimulateMouseClick();
            return true;
        }
        return false;
    }
    if (mToolType != 1)
        return false;
    if (c == kBackspace || c == kDelete) {
        FWDrawContext context(this);
        DeleteSelectionList(context);
    } else if (c >= kLeftArrow && c <= kDownArrow) {
        const int16_t step = (event.mModifiers & kFWShiftKey) != 0 ? 10 : 1;
        static constexpr int8_t kDh[] = {-1, 1, 0, 0}, kDv[] = {0, 0, -1, 1};
        FWDrawContext context(this);
        TranslateSelection(context, FWPoint(int16_t(kDh[c - kLeftArrow] * step), int16_t(kDv[c - kLeftArrow] * step)));
        SetDirty(true);
    }
    return false;
}

void EditWindow::DeleteSelectionList(FWDrawContext&)
{
    FWEventDispatcher::Instance()->WindowListReset();
    mLastPressed = nullptr;
    FWView* root = ViewMngr().GetViewTree();
    std::vector<FWView*> doomed;
    PreorderTraversal<FWView> walk(root, false);
    for (FWView* view = walk.First(); view != nullptr; view = walk.Next()) {
        if (view == root || !view->IsSelected())
            continue;
        // What a selected container holds goes with it.
        walk.SkipToNextPeer();
        doomed.push_back(view);
    }
    for (FWView* view : doomed) {
        // Every item of what goes is dropped, the contents' too.
        if (mShaderData != nullptr)
            mShaderData->RemoveItems(view);
        if (view->AllowsChildren())
            view->DeleteChildren();
        view->Unlink();
        delete view;
        SetDirty(true);
    }
    ViewMngr().SetSelectedTotal(0);
    Inval(nullptr);
}

bool EditWindow::ActivateEvent(bool active)
{
    FWWindow::ActivateEvent(active);
    return true;
}

void EditWindow::ViewDeleted(FWView* view)
{
    if (mShaderData != nullptr)
        mShaderData->RemoveItem(view);
    if (view == mLastPressed)
        mLastPressed = nullptr;
}

bool EditWindow::ResizeEvent()
{
    Inval(nullptr);
    SetDirty(true);
    return true;
}

bool EditWindow::InterfaceTextEvent(EditText* edit)
{
    if (mShaderData != nullptr && mShaderData->IsActivePTKC(static_cast<FWView*>(edit)))
        SetDirty(true);
    return FWWindow::InterfaceTextEvent(edit);
}

bool EditWindow::InterfaceEvent(FWView* view)
{
    if (!mDirty && view != nullptr) {
        if (dynamic_cast<TabControl*>(view) != nullptr)
            SetDirty(true);
        else if (mShaderData != nullptr && mShaderData->IsActivePTKC(view))
            SetDirty(true);
    }
    return FWWindow::InterfaceEvent(view);
}

bool EditWindow::CloseEvent()
{
    if (!mDirty)
        return true;
    switch (QuillformApp::Instance()->AskSaveBeforeClose("Save changes before close ?")) {
    case FWUserMsg::kResultOK:
        return QuillformApp::Instance()->SaveEditWindow(*this);
    case FWUserMsg::kResultAlternative:
        return true;
    default:
        return false;
    }
}

void EditWindow::SetWindowEvents(bool on)
{
    ListTraversal<FWWindow> walk(&QuillformApp::Instance()->GetWindowList());
    for (FWWindow* window = walk.First(); window != nullptr; window = walk.Next())
        if (dynamic_cast<EditWindow*>(window) != nullptr)
            window->ViewMngr().SetInterfaceEvent(on);
}

void EditWindow::OnTestTool(FWUserOp*)
{
    mToolType = 0;
    if (EditWindow* front = QuillformApp::Instance()->GetFrontEditWindow()) {
        FWDrawContext context(front);
        front->ViewMngr().UnSelectAllViews(context);
        SetWindowEvents(true);
    }
    QuillformApp::Instance()->InvalAll();
}

void EditWindow::OnEditTool(FWUserOp*)
{
    SetWindowEvents(false);
    mToolType = 1;
    QuillformApp::Instance()->InvalAll();
}
