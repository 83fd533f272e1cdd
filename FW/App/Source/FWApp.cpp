#include "FWApp.h"

#include "FWDocument.h"
#include "FWMenuMgr.h"
#include "FWMonitor.h"
#include "FWRect.h"
#include "FWString.h"
#include "FWWindow.h"
#include "HostWindows.h"

#include <cstdlib>

FWApp* FWApp::mGlobalApp = nullptr;
bool FWApp::gInForeground = true;

FWApp::FWApp()
{
    mGlobalApp = this;
}

FWApp::~FWApp()
{
    // Each window leaves the list as it is deleted.
    while (FWWindow* window = mWindows.First())
        delete window;
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
    if (mActiveDocument != nullptr)
        mActiveDocument->ActivateEvent(false);
    mActiveDocument = document;
    if (document != nullptr)
        document->ActivateEvent(true);
}

void FWApp::AddDocument(FWDocument* document)
{
    if (document != nullptr)
        document->AddToList(&mDocuments);
}

void FWApp::RemoveDocument(FWDocument* document)
{
    if (document == nullptr)
        return;
    document->RemoveFromList(&mDocuments);
    if (document == mActiveDocument)
        mActiveDocument = mDocuments.First();
}

void FWApp::AddWindow(FWWindow* window)
{
    if (window != nullptr)
        window->AddToAppList(&mWindows);
}

void FWApp::RemoveWindow(FWWindow* window)
{
    if (window != nullptr)
        window->RemoveFromAppList(&mWindows);
}

FWWindow* FWApp::GetFrontWindow()
{
    // A platform window belongs to a framework window when its reference value is one of this
    // application's windows.
    for (WindowRef platform = ::GetWindowList(); platform != nullptr; platform = GetNextWindow(platform)) {
        if (!IsWindowVisible(platform))
            continue;
        void* refCon = GetWRefCon(platform);
        ListTraversal<FWWindow> walk(&mWindows);
        for (FWWindow* window = walk.First(); window != nullptr; window = walk.Next())
            if (window == refCon)
                return window;
    }
    return nullptr;
}

void FWApp::GetOneViewRect(FWRect* rect)
{
    if (rect == nullptr)
        return;
    if (FWMonitor* monitor = FWMonitor::FindMonitorByArea(*rect))
        *rect = monitor->UsableBounds();
}
