// Asks the user for the folder and name of a new file (save as). The platform half
// (FD_NameFileDialogPAC) runs the dialog; the file itself is made by the caller.
#pragma once

#include "FS_Locator.h"

#include <cstdint>
#include <memory>

namespace Corvel {

class FD_NameFileDialogPAC;

class FD_NameFileDialog {
public:
    FD_NameFileDialog();
    ~FD_NameFileDialog();
    FD_NameFileDialog(const FD_NameFileDialog&) = delete;
    FD_NameFileDialog& operator=(const FD_NameFileDialog&) = delete;

    // The name proposed in the dialog's name field.
    void SetInitialName(const FWString& name);
    // True when the user chose a folder and a name: out is then the new file's locator with
    // type fileType. out is untouched otherwise.
    bool AskUserForNewFile(const FWString& prompt, uint32_t fileType, FS_Locator& out);

private:
    std::unique_ptr<FD_NameFileDialogPAC> mPlatform;
};

} // namespace Corvel
