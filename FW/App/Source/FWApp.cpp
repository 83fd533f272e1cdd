#include "FWApp.h"

#include "FWMenuMgr.h"
#include "FWString.h"

#include <cstdlib>

FWApp* FWApp::mGlobalApp = nullptr;
bool FWApp::gInForeground = true;

FWApp::FWApp()
{
    mGlobalApp = this;
}

FWApp::~FWApp()
{
    FWMenuMgr::Destroy();
    if (mGlobalApp == this)
        mGlobalApp = nullptr;
}

FWApp* FWApp::Instance()
{
    if (mGlobalApp == nullptr)
        std::abort();
    return mGlobalApp;
}

// --- Hooks -------------------------------------------------------------------------------------

void FWApp::DoAboutApp()
{
}

void FWApp::GetAppShortName(FWString& name) const
{
    name = "QZ Framework App";
}

void FWApp::GetAppLongName(FWString& name) const
{
    name = "Orlenta Framework Application";
}

// --- Documents and windows ---------------------------------------------------------------------

void FWApp::SetActiveDocument(FWDocument* document)
{
    mActiveDocument = document;
}

FWWindow* FWApp::GetFrontWindow() const
{
    return nullptr;
}
