#include "FWDocument.h"

#include "FWApp.h"
#include "FWDynamicString.h"
#include "FWWindow.h"
#include "HostCoreFoundation.h"

#include <string>

FWDocument::FWDocument() : mApp(FWApp::Instance())
{
    mApp->SetActiveDocument(this);
    mApp->AddDocument(this);
}

FWDocument::~FWDocument()
{
    mApp->RemoveDocument(this);
    // Each window leaves the list as it is deleted (the window's destructor sees to it).
    while (FWWindow* window = mWindows.First()) {
        if (Dependable* owner = window->GetMultiWindow())
            delete owner;
        else
            delete window;
    }
}

bool FWDocument::ReceiveMessage(Dependable* sender, Message m)
{
    Dependable::ReceiveMessage(sender, m);
    if (m != IsBeingDeleted || sender != this)
        return true;
    ListTraversal<FWWindow> walk(&mWindows);
    for (FWWindow* window = walk.First(); window != nullptr; window = walk.Next()) {
        if (Dependable* owner = window->GetMultiWindow())
            owner->SendMessage(IsBeingDeleted);
        else
            window->SendMessage(IsBeingDeleted);
    }
    return true;
}

FWEventHandler* FWDocument::GetParent(FWEvent&)
{
    return mApp;
}

// --- Windows -----------------------------------------------------------------------------------

void FWDocument::AddWindow(FWWindow* window)
{
    if (window == nullptr)
        return;
    window->AddToDocList(&mWindows);
    mApp->AddWindow(window);
}

void FWDocument::RemoveWindow(FWWindow* window)
{
    if (window == nullptr)
        return;
    window->RemoveFromDocList(&mWindows);
    mApp->RemoveWindow(window);
}

bool FWDocument::UpdateAllWindows(FWWindow* except)
{
    bool any = false;
    ListTraversal<FWWindow> walk(&mWindows);
    for (FWWindow* window = walk.First(); window != nullptr; window = walk.Next()) {
        if (window != except && window->DocumentUpdateEvent())
            any = true;
    }
    return any;
}

// --- State -------------------------------------------------------------------------------------

void FWDocument::DocName(FWString& name) const
{
    if (!HasAssociatedFile()) {
        name = "Untitled";
        return;
    }
    // The name is shown, so it becomes system text; the file keeps its own bytes.
    FWDynamicString fileName;
    mFile.GetFileName(fileName);
    const std::string shown = HostFileNameToMacRoman(fileName.GetCString());
    name.Set(uint32_t(shown.size()), shown.data());
}

void FWDocument::AddToList(FWList<FWDocument>* list)
{
    if (list != nullptr)
        list->Append(this, this);
}

void FWDocument::RemoveFromList(FWList<FWDocument>* list)
{
    if (list != nullptr)
        list->Remove(this);
}
