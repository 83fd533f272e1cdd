#include "CDialogWINT.h"

#include "BaseDlg.h"
#include "CQF_Document.h"
#include "EditText.h"
#include "EditWindow.h"
#include "FWUserMsg.h"
#include "ListBox.h"
#include "MakeFWItemGhosted.h"
#include "QuillformApp.h"

#include <cstdio>
#include <vector>

namespace {

// Compact rows of names only: no icons, columns, twist-downs, horizontal scrolling, renaming in
// place or dragging.
constexpr uint32_t kListFlags = FWOutlineView::kCompact | FWOutlineView::kFlat | FWOutlineView::kNoActiveColumn |
                                FWOutlineView::kNoVisibilityColumn | FWOutlineView::kNoLockColumn |
                                FWOutlineView::kNoRowNumbers | FWOutlineView::kNoHScrollArea |
                                FWOutlineView::kNoRename | FWOutlineView::kNoDrag;
constexpr int32_t kLowestID = 1;
constexpr int32_t kHighestID = 32767;
constexpr int32_t kShaderLayoutID = 21000;

std::string format(const char* pattern, int32_t number)
{
    char text[128];
    std::snprintf(text, sizeof text, pattern, int(number));
    return text;
}

// The id proposed for a new layout: the map's next id when the dialog takes it, else the lowest
// id the dialog takes that no layout has (the map's next id may lie below 1, above a -1 layout).
int32_t proposedNewID(const CResMap& map)
{
    const int32_t next = map.NextID(kShaderLayoutID);
    if (next >= kLowestID && next <= kHighestID)
        return next;
    int32_t free = kLowestID;
    for (auto found = map.lower_bound(kLowestID); found != map.end() && found->first == free; ++found)
        ++free;
    return free <= kHighestID ? free : next;
}

// A layout's id and name; an id out of range or taken by another layout is refused with the
// dialog left open.
class AttributesDialog : public FWModalDialog {
public:
    AttributesDialog(CQF_Document* document, int32_t id) : mDocument(document), mID(id) {}

    bool DialogAccepted(FWView*) override
    {
        int32_t typed = 0;
        if (!BaseDlg::TypedNumber(this, CDialogWINT::kAttributesID, kLowestID, kHighestID, "The ID", typed))
            return false;
        if (typed != mID && mDocument->ResMap().Exists(typed)) {
            QuillformApp::WarningMessage(format("The ID %d is already taken. Please specify other ID", typed).c_str());
            return false;
        }
        return true;
    }

private:
    CQF_Document* mDocument;
    int32_t mID;
};

} // namespace

CDialogWINT::CDialogWINT(CQF_Document* document) : mDocument(document)
{
    FWStr<255> documentName;
    document->DocName(documentName);
    const FWStr<255> title(("WINT [" + std::string(documentName.GetCString()) + "]").c_str());
    SetName(&title, false);
    Initialize(document, kLayoutID);
    mList = dynamic_cast<ListBox*>(ViewMngr().GetView(kList));
    if (mList != nullptr) {
        mList->SetFlag(kListFlags);
        mList->AddVScroller();
    }
    InterfaceFillList();
}

CDialogWINT::~CDialogWINT() = default;

std::optional<int32_t> CDialogWINT::Exec(CQF_Document* document)
{
    CDialogWINT dialog(document);
    dialog.Execute();
    const std::optional<int32_t> chosen = dialog.mChosenID;
    dialog.SendMessage(Dependable::IsBeingDeleted);
    return chosen;
}

void CDialogWINT::InterfaceFillList()
{
    if (mList == nullptr)
        return;
    mList->KillAllItems();
    // The rows are counted once, when the first row is given back to the list at the end: every
    // row added while it has none costs the same.
    ListBoxItem* first = nullptr;
    for (const auto& [id, name] : mDocument->ResMap()) {
        char text[300];
        std::snprintf(text, sizeof text, "%d   %s", id, name.c_str());
        ListBoxItem* item = mList->AddLast(FWStr<255>(text), id, nullptr);
        if (first == nullptr) {
            first = item;
            mList->SetFirstRoot(nullptr);
        }
    }
    if (first != nullptr) {
        mList->SetFirstRoot(first);
        mList->ScrollToNode(first, false);
    }
    InterfaceButtons();
}

void CDialogWINT::InterfaceButtons()
{
    const bool one = mList != nullptr && mList->OneItemSelected();
    const bool any = mList != nullptr && mList->AnyItemSelected();
    MakeFWItemGhosted(this, kOpen, !one);
    MakeFWItemGhosted(this, kRename, !one);
    MakeFWItemGhosted(this, kDuplicate, !one);
    MakeFWItemGhosted(this, kDelete, !any);
}

void CDialogWINT::SelectItemWithID(int32_t id)
{
    if (mList == nullptr)
        return;
    for (ListBoxItem* item = mList->First(); item != nullptr; item = mList->Next()) {
        if (item->ID() == id) {
            item->Viewable_SetNodeSelected(true);
            break;
        }
    }
    mList->RefreshView();
}

std::optional<int32_t> CDialogWINT::firstSelectedID()
{
    ListBoxItem* item = mList != nullptr ? mList->Item(mList->FirstSelectedItem()) : nullptr;
    return item != nullptr ? std::optional<int32_t>(int32_t(item->ID())) : std::nullopt;
}

bool CDialogWINT::InterfaceEvent(FWView* view)
{
    switch (view != nullptr ? view->ID() : 0) {
    case kList:
        if (view != mList)
            break;
        if (mList->Event() == FWOutlineView::kEventSelectionChanged) {
            InterfaceButtons();
        } else if (mList->Event() == FWOutlineView::kEventDoubleClick) {
            if (auto* item = dynamic_cast<ListBoxItem*>(mList->EventNode())) {
                mChosenID = int32_t(item->ID());
                mDone = true;
            }
        }
        return true;
    case kOpen:
        if (const std::optional<int32_t> id = firstSelectedID()) {
            mChosenID = id;
            mDone = true;
        }
        return true;
    case kRename:
        DoRename();
        return true;
    case kDuplicate:
        DoDuplicate();
        return true;
    case kDelete:
        DoDelete();
        return true;
    case kClose:
        mDone = true;
        return true;
    case kNew:
        DoNew();
        return true;
    default:
        break;
    }
    return FWModalDialog::InterfaceEvent(view);
}

bool CDialogWINT::AskAttributes(int32_t& id, FWStr<255>& name, const char* title)
{
    AttributesDialog dialog(mDocument, id);
    const FWStr<255> dialogTitle(title);
    dialog.SetName(&dialogTitle, false);
    dialog.Initialize(mDocument, kAttributesLayoutID);
    EditText::GSetLong(&dialog, kAttributesID, id, nullptr);
    EditText::GSetString(&dialog, kAttributesName, &name, nullptr);
    const bool accepted = dialog.Execute();
    const int32_t newID = EditText::GGetLong(&dialog, kAttributesID);
    FWStr<255> newName;
    EditText::GGetString(&dialog, kAttributesName, &newName);
    dialog.SendMessage(Dependable::IsBeingDeleted);
    if (!accepted)
        return false;
    id = newID;
    name = newName;
    return true;
}

void CDialogWINT::DoNew()
{
    int32_t id = proposedNewID(mDocument->ResMap());
    FWStr<255> name("Interface");
    if (!AskAttributes(id, name, "New WINT Attributes"))
        return;
    // The new layout is what an empty edit window writes (the shader interface for its id).
    Handle layout = nullptr;
    try {
        EditWindow maker(mDocument, EditWindow::mDefaultRect);
        if (id == kShaderLayoutID)
            maker.DefaultShaderUI();
        layout = maker.ViewMngr().SerializeViewTree();
        maker.SendMessage(Dependable::IsBeingDeleted);
    } catch (...) {
        QuillformApp::ErrorMessage("Unknown error. Can't save window");
        return;
    }
    if (!mDocument->AddWINT(layout, id, name)) {
        QuillformApp::ShowResError();
        return;
    }
    mChosenID = id;
    mDone = true;
}

void CDialogWINT::DoDuplicate()
{
    const std::optional<int32_t> selected = firstSelectedID();
    if (!selected)
        return;
    const int32_t source = *selected;
    int32_t id = mDocument->ResMap().NextID(source);
    FWStr<255> name((mDocument->ResMap().Name(source) + " copy").c_str());
    if (!AskAttributes(id, name, format("Duplicate WINT %d", source).c_str()))
        return;
    if (!mDocument->CopyWINT(source, id, name))
        QuillformApp::ShowResError();
    InterfaceFillList();
    SelectItemWithID(id);
    InterfaceButtons();
}

void CDialogWINT::DoRename()
{
    const std::optional<int32_t> selected = firstSelectedID();
    if (!selected)
        return;
    const int32_t oldID = *selected;
    int32_t id = oldID;
    FWStr<255> name(mDocument->ResMap().Name(oldID).c_str());
    if (!AskAttributes(id, name, format("WINT %d Attributes", oldID).c_str()))
        return;
    if (mDocument->RenameWINT(oldID, id, name)) {
        // An open window of the layout follows it.
        if (EditWindow* window = mDocument->FindWindow(oldID))
            window->SetLayoutID(id);
    } else {
        QuillformApp::ShowResError();
        id = oldID;
    }
    InterfaceFillList();
    SelectItemWithID(id);
    InterfaceButtons();
}

void CDialogWINT::DoDelete()
{
    std::vector<int32_t> ids;
    if (mList != nullptr)
        for (ListBoxItem* item = mList->First(); item != nullptr; item = mList->Next())
            if (item->Viewable_NodeSelected())
                ids.push_back(int32_t(item->ID()));
    if (ids.empty())
        return;
    FWUserMsg question("%d resource(s) will be deleted", int(ids.size()));
    question.SetCancelTitle("Cancel");
    question.Execute();
    const bool accepted = question.Result() == FWUserMsg::kResultOK;
    question.SendMessage(Dependable::IsBeingDeleted);
    if (!accepted)
        return;
    if (!mDocument->RemoveWINT(ids))
        QuillformApp::ShowResError();
    // The windows of the layouts that went go with them, without a question; a layout that could
    // not be removed keeps its window and its unsaved changes.
    for (int32_t id : ids) {
        while (EditWindow* window = mDocument->ResMap().Exists(id) ? nullptr : mDocument->FindWindow(id)) {
            window->SendMessage(Dependable::IsBeingDeleted);
            delete window;
        }
    }
    InterfaceFillList();
    InterfaceButtons();
}

// ---- The application's side ----------------------------------------------------------------

void QuillformApp::DialogWINT(CQF_Document* document)
{
    if (document == nullptr)
        return;
    const std::optional<int32_t> chosen = CDialogWINT::Exec(document);
    if (chosen) {
        const int32_t id = *chosen;
        if (EditWindow* open = document->FindWindow(id)) {
            open->MakeToFront();
        } else {
            EditWindow::mCreatedInstance = nullptr;
            EditWindow* window = nullptr;
            try {
                window = new EditWindow(document, id);
            } catch (const EditWindow::FileNotOpened&) {
                // Nothing was read: the document stays open for another try, and the user
                // learns why.
                EditWindow::mCreatedInstance = nullptr;
                ShowResError();
                UpdateWindowMenu();
                return;
            } catch (...) {
                RemoveBadWindow(document);
                return;
            }
            EditWindow::mCreatedInstance = nullptr;
            window->MakeToFront();
        }
    } else if (document->GetWindowList().First() == nullptr) {
        document->SendMessage(Dependable::IsBeingDeleted);
        delete document;
    }
    UpdateWindowMenu();
}
