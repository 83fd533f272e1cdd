// Platform half of the pick-file dialog: runs the host's open dialog with the type lists in its
// type pop-up, a browser filter that shows the files of the current list, and a start location.
#pragma once

#include "FD_MultiTypesList.h"
#include "FS_Locator.h"
#include "FWDynamicString.h"
#include "HostNavDialogs.h"

#include <vector>

namespace Corvel {

class FD_ControlHandler;

class FD_PickFileDialogPAC {
public:
    void SetTypes(const FD_MultiTypesList& types) { mTypes = types; }
    void SetCustomItems(FD_ControlHandler* handler) { mCustomItems = handler; }
    void SetInitialDirectory(const FS_Locator& folder) { mInitialDirectory = folder; }
    void SetButtonTitles(const FWString& ok, const FWString& cancel)
    {
        mOKTitle = ok;
        mCancelTitle = cancel;
    }
    void SetCurrentTypeList(int index) { mCurrentTypeList = index; }
    int GetCurrentTypeList() const { return mCurrentTypeList; }

    // One file: true with out set to the first file chosen; false (out untouched) otherwise.
    bool AskUserForFile(const FWString& prompt, FS_Locator& out);
    // Runs the dialog; true when the user chose and every chosen item converted. Folders (not
    // applications) are left out of the list.
    bool DoAskForFiles(const FWString& prompt, bool allowMultiple, std::vector<FS_Locator>& out);

    // Whether the browser shows an item of this locator under the current list (a folder is
    // always shown). Public for the dialog's filter callback.
    bool ShowsFile(const FS_Locator& file) const;

private:
    static void eventCallback(NavEventCallbackMessage message, NavCBRecPtr params, void* userData);
    static Boolean objectFilter(AEDesc* item, void* info, void* userData, NavFilterModes mode);
    // The reply's files as locators typed by DeduceFileType, folders left out; 0 or the first
    // failure's code.
    static int selectionToLocators(const AEDescList& selection, std::vector<FS_Locator>& out);

    FD_MultiTypesList mTypes;
    int mCurrentTypeList = 0;
    FD_ControlHandler* mCustomItems = nullptr;
    FS_Locator mInitialDirectory;
    FWDynamicString mOKTitle;
    FWDynamicString mCancelTitle;
};

} // namespace Corvel
