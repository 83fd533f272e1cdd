#include "FWApp.h"

#include "FWMonitor.h"
#include "FWRect.h"
#include "FWWindow.h"

bool FWApp::gInForeground = true;

FWList<FWWindow>& FWApp::GetWindowList()
{
    static FWList<FWWindow> sWindows;
    return sWindows;
}

void FWApp::AddWindow(FWWindow* window)
{
    if (window != nullptr)
        GetWindowList().Append(&window->mAppListNode, window);
}

void FWApp::RemoveWindow(FWWindow* window)
{
    if (window != nullptr)
        GetWindowList().Remove(&window->mAppListNode);
}

void FWApp::GetOneViewRect(FWRect* rect)
{
    if (rect == nullptr)
        return;
    if (FWMonitor* monitor = FWMonitor::FindMonitorByArea(*rect))
        *rect = monitor->UsableBounds();
}
