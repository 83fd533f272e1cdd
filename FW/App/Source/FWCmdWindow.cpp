#include "FWCmdWindow.h"

#include "FWCmdView.h"

FWCmdWindow* FWCmdWindow::sInstance = nullptr;
bool FWCmdWindow::sEnabled = true;

FWCmdWindow::FWCmdWindow()
{
    SetDebugName("FWCmdWindow");
    if (sInstance == nullptr)
        sInstance = this;
}

FWCmdWindow::~FWCmdWindow()
{
    if (sInstance == this)
        sInstance = nullptr;
}

void FWCmdWindow::StatusMessage(bool final, int32_t icon, const char* text, const char* detail, const char* input)
{
    FWCmdWindow* window = sInstance;
    if (!sEnabled || window == nullptr || window->mView == nullptr)
        return;
    if (window->mLastFinal)
        window->mView->AppendMessage(icon, text, detail, input);
    else
        window->mView->ReplaceMessage(icon, text, detail, input);
    window->mLastFinal = final;
    window->mLastInput = input != nullptr ? input : "";
}
