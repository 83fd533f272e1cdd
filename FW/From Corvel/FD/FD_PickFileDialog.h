// Asks the user for one existing file. The dialog's type pop-up offers named type lists, the
// browser shows the files of the current list, and the list the user chose last is where the
// next run starts. The platform half (FD_PickFileDialogPAC) runs the dialog.
#pragma once

#include "FD_MultiTypesList.h"
#include "FS_Locator.h"
#include "FWDynamicString.h"

namespace Corvel {

class FD_ControlHandler;

class FD_PickFileDialog {
public:
    FD_PickFileDialog() = default;

    void SetTypes(const FD_MultiTypesList& types) { mTypes = types; }
    const FD_MultiTypesList& GetTypes() const { return mTypes; }
    void SetCurrentTypeList(int index) { mCurrentTypeList = index; }
    int GetCurrentTypeList() const { return mCurrentTypeList; }
    void SetInitialDirectory(const FS_Locator& folder) { mInitialDirectory = folder; }

    // Runs the dialog with prompt as its message. True when the user chose a file, which is then
    // in out; out is untouched otherwise. In every case the current list becomes the one the
    // user left the pop-up on.
    bool AskUserForFile(const FWString& prompt, FS_Locator& out);

private:
    FD_MultiTypesList mTypes;
    int mCurrentTypeList = 0;
    FD_ControlHandler* mCustomItems = nullptr; // nothing here supplies custom items
    FS_Locator mInitialDirectory;
    FWDynamicString mOKTitle;     // empty: the dialog's own title
    FWDynamicString mCancelTitle; // empty: the dialog's own title
};

} // namespace Corvel
