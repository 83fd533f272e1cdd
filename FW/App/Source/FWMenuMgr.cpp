#include "FWMenuMgr.h"

#include "FWOpItem.h"
#include "FWOpMenu.h"

namespace {

FWMenuMgr* sGlobalMenuMgr = nullptr;

// Deletes the manager at program exit when it is still alive.
struct MenuMgrExitDeleter {
    ~MenuMgrExitDeleter() { FWMenuMgr::Destroy(); }
};

} // namespace

FWMenuMgr::FWMenuMgr() : mRoot(new FWOpMenu("Root", 0, kUserOpHasChildren, 0, 0, nullptr, nullptr, nullptr, nullptr, 0))
{
}

FWMenuMgr::~FWMenuMgr()
{
    delete_platform_menus();
    remove_menu_bar();
    delete mRoot;
}

FWMenuMgr* FWMenuMgr::Instance()
{
    static MenuMgrExitDeleter sExitDeleter;
    if (sGlobalMenuMgr == nullptr)
        sGlobalMenuMgr = new FWMenuMgr;
    return sGlobalMenuMgr;
}

void FWMenuMgr::Destroy()
{
    delete sGlobalMenuMgr;
    sGlobalMenuMgr = nullptr;
}

// --- The tree ----------------------------------------------------------------------------------

void FWMenuMgr::SetRootMenu(FWUserOp* root)
{
    if (root == mRoot)
        return;
    delete mRoot;
    mRoot = root;
    RebuildMenus();
}

FWUserOp* FWMenuMgr::AppendItemToMenu(const FWString& menuName, const FWOpData& data)
{
    auto* item = new FWOpItem(data);
    for (FWUserOp* menu = mRoot != nullptr ? mRoot->FirstChild() : nullptr; menu != nullptr;
         menu = menu->NextPeer()) {
        if (!(menu->Name() == menuName))
            continue;
        FWUserOp* last = menu->FirstChild();
        while (last != nullptr && last->NextPeer() != nullptr)
            last = last->NextPeer();
        if (last != nullptr)
            item->InsertAfter(last);
        else if (auto* asMenu = dynamic_cast<FWOpMenu*>(menu))
            asMenu->AppendChild(item);
        else
            break;
        RebuildMenus();
        return item;
    }
    delete item;
    return nullptr;
}

bool FWMenuMgr::RemoveItemWithID(int32_t id)
{
    // The search starts below the root: the root has an id too (0), and removing it would take
    // the whole tree.
    FWUserOp* found = nullptr;
    for (FWUserOp* child = mRoot != nullptr ? mRoot->FirstChild() : nullptr; child != nullptr && found == nullptr;
         child = child->NextPeer())
        found = child->FindUserOpByID(id, nullptr);
    if (found == nullptr)
        return false;
    found->Remove();
    RebuildMenus();
    delete found;
    return true;
}

void FWMenuMgr::maybe_toggle_check_mark(FWUserOp* op)
{
    if (op == nullptr || !op->TestFlag(kUserOpCheckable) || op->TestFlag(kUserOpDisabled))
        return;
    if (op->TestFlag(kUserOpChecked))
        op->ClearFlag(kUserOpChecked);
    else
        op->SetFlag(kUserOpChecked);
}
