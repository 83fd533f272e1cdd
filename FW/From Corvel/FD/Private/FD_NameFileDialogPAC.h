// Platform half of the name-file dialog: runs the host's save dialog with a proposed name and
// turns the chosen folder and typed name into a locator.
#pragma once

#include "FS_Locator.h"
#include "FWDynamicString.h"

#include <cstdint>

namespace Corvel {

class FD_NameFileDialogPAC {
public:
    FD_NameFileDialogPAC() = default;
    ~FD_NameFileDialogPAC() = default;
    FD_NameFileDialogPAC(const FD_NameFileDialogPAC&) = delete;
    FD_NameFileDialogPAC& operator=(const FD_NameFileDialogPAC&) = delete;

    void SetInitialName(const FWString& name) { mInitialName = name; }
    FS_Locator GetInitialDirectory() const { return mInitialDirectory; }

    // True with out set to the chosen folder plus the typed name (UTF-8), type fileType; false
    // (out untouched) when the user cancelled or anything failed.
    bool AskUserForNewFile(const FWString& prompt, uint32_t fileType, FS_Locator& out);

    // The creator given to every save dialog.
    static constexpr uint32_t kCreator = 0x515A414D; // 'QZAM'

private:
    FS_Locator mInitialDirectory; // nothing sets it
    FWDynamicString mInitialName;
};

} // namespace Corvel
