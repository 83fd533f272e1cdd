#include "FWApp.h"

#include "FWDocument.h"
#include "FWEventDispatcher.h"
#include "FileReference.h"
#include "FWMenuMgr.h"
#include "FWMonitor.h"
#include "FWPoint.h"
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

// --- To be built: start and stop, file commands, window queries -----------------------------------

bool FWApp::Init() { return true; }
void FWApp::Execute(FWApp*) {}
void FWApp::Uninit() {}
void FWApp::ProcessSuspend() {}
void FWApp::ProcessResume() {}
bool FWApp::KeyDownEvent(FWEvent&) { return false; }
FWDocument* FWApp::NewDocument() { return nullptr; }
void FWApp::OpenFile(FileReference&) {}
void FWApp::OpenFile(const std::list<FileReference>&) {}
void FWApp::GetFourViewRect(int, FWRect*) {}
void FWApp::DoAdjustFileNew(FWUserOp*) {}
void FWApp::DoFileNew() {}
void FWApp::DoAdjustFileOpen(FWUserOp*) {}
void FWApp::DoFileOpen() {}
void FWApp::DoAdjustFileClose(FWUserOp*) {}
void FWApp::DoFileClose() {}
void FWApp::DoAdjustFileSave(FWUserOp*) {}
void FWApp::DoFileSave() {}
void FWApp::DoAdjustFileSaveAs(FWUserOp*) {}
void FWApp::DoFileSaveAs() {}
void FWApp::DoAdjustFileSaveACopy(FWUserOp*) {}
void FWApp::DoFileSaveACopy() {}
void FWApp::DoAdjustFileQuit(FWUserOp*) {}
void FWApp::DoFileQuit() {}
bool FWApp::CanQuit() { return true; }
void FWApp::FileNew(FWUserOp*) {}
void FWApp::FileOpen(FWUserOp*) {}
void FWApp::FileSave(FWUserOp*) {}
void FWApp::FileSaveAs(FWUserOp*) {}
void FWApp::FileQuit(FWUserOp*) {}
void FWApp::AdjustFileNew(FWUserOp*) {}
void FWApp::AdjustFileOpen(FWUserOp*) {}
void FWApp::AdjustFileSave(FWUserOp*) {}
void FWApp::AdjustFileSaveAs(FWUserOp*) {}
void FWApp::AdjustFileQuit(FWUserOp*) {}

FWWindow* FWApp::GetFrontWindowOfStyle(int32_t style)
{
    for (FWWindow* window = GetFrontWindow(); window != nullptr; window = window->NextWindowUnder())
        if (window->GetStyle() == style)
            return window;
    return nullptr;
}

FWWindow* FWApp::GetBackWindowOfStyle(int32_t style)
{
    // Windows of one style lie together in their layer: the run below the front one ends where
    // another style starts.
    FWWindow* back = GetFrontWindowOfStyle(style);
    if (back == nullptr)
        return nullptr;
    for (FWWindow* window = back->NextWindowUnder(); window != nullptr && window->GetStyle() == style;
         window = window->NextWindowUnder())
        back = window;
    return back;
}

FWWindow* FWApp::FindWindow(const FWPoint& global)
{
    WindowRef platform = nullptr;
    ::FindWindow(Point{global.v, global.h}, &platform);
    return FWWindow::ReturnFWWindow(platform);
}

bool FWApp::ForeignWindowOpen()
{
    // The front window in the platform's order, shown or not.
    WindowRef front = ::GetWindowList();
    return front != nullptr && FWWindow::ReturnFWWindow(front) == nullptr;
}

void FWApp::GetOneViewRect(FWRect* rect)
{
    if (rect == nullptr)
        return;
    if (FWMonitor* monitor = FWMonitor::FindMonitorByArea(*rect))
        *rect = monitor->UsableBounds();
}
