#include "FD_NameFileDialog.h"

#include "Private/FD_NameFileDialogPAC.h"

namespace Corvel {

FD_NameFileDialog::FD_NameFileDialog() : mPlatform(std::make_unique<FD_NameFileDialogPAC>()) {}

FD_NameFileDialog::~FD_NameFileDialog() = default;

void FD_NameFileDialog::SetInitialName(const FWString& name)
{
    mPlatform->SetInitialName(name);
}

bool FD_NameFileDialog::AskUserForNewFile(const FWString& prompt, uint32_t fileType, FS_Locator& out)
{
    if (!mPlatform->AskUserForNewFile(prompt, fileType, out))
        return false;
    out.SetFileType(fileType);
    return true;
}

} // namespace Corvel
