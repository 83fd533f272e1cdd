#include "FD_PickFileDialog.h"

#include "Private/FD_PickFileDialogPAC.h"

namespace Corvel {

bool FD_PickFileDialog::AskUserForFile(const FWString& prompt, FS_Locator& out)
{
    FD_PickFileDialogPAC platform;
    platform.SetTypes(mTypes);
    platform.SetCustomItems(mCustomItems);
    platform.SetInitialDirectory(mInitialDirectory);
    platform.SetButtonTitles(mOKTitle, mCancelTitle);
    platform.SetCurrentTypeList(mCurrentTypeList);
    const bool chosen = platform.AskUserForFile(prompt, out);
    mCurrentTypeList = platform.GetCurrentTypeList();
    return chosen;
}

} // namespace Corvel
