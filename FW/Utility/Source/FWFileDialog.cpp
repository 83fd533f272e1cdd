#include "FWFileDialog.h"

#include "FD_NameFileDialog.h"
#include "FD_PickFileDialog.h"
#include "FS_UtilPAC.h"
#include "FWEventDispatcher.h"

int FWFileDialog::sLastChosenFilter = -1;

namespace {

void setChosenFile(const Corvel::FS_Locator& locator, FileReference& out)
{
    FWDynamicString path;
    Corvel::FS_UtilPAC::LocatorToPathName(locator, path, false);
    out.SetPath(path.GetCString());
}

} // namespace

FWFileDialog::FWFileDialog(const FWStr<31>* title)
{
    FWEventDispatcher::Instance()->WindowListReset();
    if (title != nullptr)
        mTitle = *title;
}

bool FWFileDialog::SelectFileForOpen()
{
    Corvel::FD_MultiTypesList lists;
    for (const FWFileType& filter : mFilters) {
        const uint32_t type = filter.FileType();
        lists.AppendTypes(filter.Description().GetCString(), &type, 1);
    }
    const uint32_t anyType = Corvel::kFD_AnyType;
    lists.AppendTypes("All Files", &anyType, 1);

    Corvel::FD_PickFileDialog dialog;
    dialog.SetTypes(lists);
    if (sLastChosenFilter >= 0)
        dialog.SetCurrentTypeList(sLastChosenFilter);
    Corvel::FS_Locator chosen;
    if (!dialog.AskUserForFile(mTitle, chosen))
        return false;
    setChosenFile(chosen, mChosenFile);
    sLastChosenFilter = dialog.GetCurrentTypeList();
    return true;
}

bool FWFileDialog::SelectFileForSave()
{
    Corvel::FD_NameFileDialog dialog;
    dialog.SetInitialName(mDefaultFileName);
    Corvel::FS_Locator chosen;
    if (!dialog.AskUserForNewFile(mTitle, 0, chosen))
        return false;
    setChosenFile(chosen, mChosenFile);
    return true;
}
