// The application object: start-up and shut-down, the Apple-event handlers, the idle timer,
// the lists of windows and documents, and the file commands with their adjust rules.
#include "FWApp.h"

#include "AEUtils.h"
#include "FD_MacUtil.h"
#include "FWAppColor.h"
#include "FWClipboard.h"
#include "FWClipboardPAC.h"
#include "FWDocument.h"
#include "FWDragManager.h"
#include "FWDrawContext.h"
#include "FWEventDispatcher.h"
#include "FWEventManager.h"
#include "FWException.h"
#include "FWFileDialog.h"
#include "FWIdleProcess.h"
#include "FWIdleTimer.h"
#include "FWIdleTimerManager.h"
#include "FWMenuMgr.h"
#include "FWMonitor.h"
#include "FWPlatformUtils.h"
#include "FWPoint.h"
#include "FWProgrammerMessage.h"
#include "FWQTUtil.h"
#include "FWRect.h"
#include "FWStr.h"
#include "FWStreamException.h"
#include "FWString.h"
#include "FWUserOp.h"
#include "FWUserMsg.h"
#include "FWWindow.h"
#include "FileReference.h"
#include "HostCoreFoundation.h"
#include "HostCursors.h"
#include "HostEvents.h"
#include "HostInput.h"
#include "HostPorts.h"
#include "HostWindows.h"
#include "IdleDeleter.h"
#include "ImageBuffer.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

FWApp* FWApp::mGlobalApp = nullptr;
bool FWApp::gInForeground = true;

namespace {

constexpr int kIdleIntervalMs = 10;
// The longest an idle pass waits when nothing says it has work: a safety net for work that
// comes due with no event and no new idle process.
constexpr uint32_t kLongestIdleWaitTicks = 60;

// The 10-millisecond timer that drives idle work: hover help, idle processes and deferred
// deletions all hang off the dispatcher's idle entry point. While there is idle work it fires
// every 10 milliseconds; when the next is due later, it waits until then (so an idle program
// sleeps), and Hurry brings it back once something may have brought work sooner.
class FWIdleHackTimer : public FWIdleTimer {
public:
    void TimerAction() override
    {
        mDeferred = false;
        FWEvent event;
        FWEventDispatcher* dispatcher = FWEventDispatcher::Instance();
        dispatcher->HandleIdleEvent(event);
        GetKeys(mKeys);
        const uint32_t ticks = std::min(dispatcher->TicksToIdleWork(), kLongestIdleWaitTicks);
        const int ms = int((ticks * 1000 + 59) / 60);
        if (ms > kIdleIntervalMs) {
            FWIdleTimerManager::SetNextFire(this, ms);
            mDeferred = true;
        }
    }
    void Hurry()
    {
        if (!mDeferred)
            return;
        mDeferred = false;
        FWIdleTimerManager::SetNextFire(this, kIdleIntervalMs);
    }
    // Keys bring events, but the modifier keys alone do not, and views take them into their cursor.
    void HurryIfKeysChanged()
    {
        KeyMap keys;
        GetKeys(keys);
        if (mDeferred && std::memcmp(keys, mKeys, sizeof keys) != 0)
            Hurry();
    }

private:
    bool mDeferred = false;
    KeyMap mKeys{};
};

FWIdleHackTimer* sHackTimer = nullptr;

// Files of the open-documents event being delivered, and whether one has arrived (then the
// open-application event does not run the first action).
std::list<FileReference> sOpenedFiles;
bool sOpenDocumentsArrived = false;

constexpr int32_t kQuestionIcon = 142;
constexpr int32_t kModalDialogStyle = 1;
constexpr char kTab = 9;

OSErr handleOpenApplication()
{
    if (!FWApp::Exists())
        return errAEEventNotHandled;
    if (!sOpenDocumentsArrived)
        FWApp::Instance()->DoFirstAction();
    return noErr;
}

OSErr handleOpenDocuments(const FSSpec& spec, int32_t index, int32_t count)
{
    if (!FWApp::Exists())
        return errAEEventNotHandled;
    if (index == 0)
        sOpenedFiles.clear();
    FileReference file;
    // A file that cannot be named (its folder is gone too) is opened by its path all the same,
    // so that the user hears why it does not open.
    if (FSSpecToFileReference(spec, file) != 0) {
        const std::string name(reinterpret_cast<const char*>(spec.name + 1), spec.name[0]);
        const std::string folder(spec.parentPath, strnlen(spec.parentPath, sizeof spec.parentPath));
        file.SetPath((folder + "/" + name).c_str());
    }
    sOpenedFiles.push_back(file);
    sOpenDocumentsArrived = true;
    if (index == count - 1) {
        const std::list<FileReference> files = sOpenedFiles;
        FWApp::Instance()->OpenFile(files);
    }
    return noErr;
}

// The quit command; the sender hears "cancelled" when the application stays, because a modal
// dialog is in front or the user kept a document.
OSErr handleQuitApplication()
{
    if (!FWApp::Exists())
        return errAEEventNotHandled;
    FWApp* app = FWApp::Instance();
    if (!app->CanQuit())
        return userCanceledErr;
    app->DoFileQuit();
    return app->GetActiveDocument() != nullptr ? OSErr(userCanceledErr) : OSErr(noErr);
}

// Events that arrive while a file dialog is up: updates of framework windows are dispatched, so
// the windows behind the dialog redraw.
bool fileDialogEvent(EventRecord* record)
{
    if (record == nullptr || !FWApp::Exists())
        return false;
    if (record->what != nullEvent && record->what != updateEvt)
        return false;
    GrafPtr savedPort = nullptr;
    GetPort(&savedPort);
    FWEvent event;
    bool dispatched = FWEventManager::Instance()->FilterEvent(*record, true, event);
    if (dispatched)
        FWEventDispatcher::Instance()->Dispatch(event);
    SetPort(savedPort);
    return dispatched;
}

void enableIf(FWUserOp* op, bool enabled)
{
    if (op == nullptr)
        return;
    if (enabled)
        op->ClearFlag(kUserOpDisabled);
    else
        op->SetFlag(kUserOpDisabled);
}

// Sends the document its deletion notice and deletes it, working off what it queued.
void closeDocument(FWDocument* document)
{
    document->SendMessage(Dependable::IsBeingDeleted);
    FlushDeletes();
    delete document;
    FlushDeletes();
}

// Writes the document to file with the watch cursor; failures are shown to the user. True on
// success.
bool writeDocument(FWDocument* document, const FileReference& file)
{
    char action[300];
    const std::string shown = HostFileNameToMacRoman(file.PathName().GetCString());
    std::snprintf(action, sizeof action, "save the document \"%s\"", shown.c_str());
    bool written = false;
    FWSetCursor(kWatchCursor);
    try {
        document->WriteDocument(file);
        written = true;
    } catch (FWDiskFullException&) {
        FWUserMsg message("%s", "Could not save the file because the disk is full. Please free some disk space and try "
                                "again.");
        message.Execute();
        message.SendMessage(Dependable::IsBeingDeleted);
    } catch (FWException& e) {
        FWException::ReportException(e, action);
    } catch (...) {
        FWException::ReportException("an unexpected error occurred", action);
    }
    FWSetCursor(kArrowCursor);
    return written;
}

} // namespace

// --- Start and stop ------------------------------------------------------------------------------

bool FWApp::Init()
{
    InitCursor();
    SetEventMask(everyEvent);
    FWQTUtil::InitQuickTime();
    FWClipboard::Instance();
    FWString::InitStandardLexers();
    return true;
}

FWApp::FWApp()
{
    mGlobalApp = this;
    // A new application object has seen no open-documents event yet.
    sOpenedFiles.clear();
    sOpenDocumentsArrived = false;
    Initialize();
    FWDragManager::Init();
    FWSetColorScheme();
    if (sHackTimer == nullptr) {
        sHackTimer = new FWIdleHackTimer;
        FWIdleTimerManager::Start(sHackTimer, kIdleIntervalMs);
        FWIdleProcess::SetStartHook(&FWApp::HurryIdleTime);
    }
}

FWApp::~FWApp()
{
    // Objects waiting for deferred deletion still use the application and what it owns.
    FlushDeletes();
    if (sHackTimer != nullptr) {
        FWIdleProcess::SetStartHook(nullptr);
        FWIdleTimerManager::Stop(sHackTimer);
        delete sHackTimer;
        sHackTimer = nullptr;
    }
    // Each window leaves the list as it is deleted. Documents still open stay: quitting closes
    // them first.
    while (FWWindow* window = mWindows.First())
        delete window;
    FlushDeletes();
    FWMenuMgr::Destroy();
    FWEventDispatcher::Destroy();
    FWDragManager::CleanUp();
    Finish();
    FWDrawContext::OpBuffer().Deallocate();
    if (mGlobalApp == this)
        mGlobalApp = nullptr;
}

void FWApp::HurryIdleTime()
{
    if (sHackTimer != nullptr)
        sHackTimer->Hurry();
}

void FWApp::HurryIdleTimeIfKeysChanged()
{
    if (sHackTimer != nullptr)
        sHackTimer->HurryIfKeysChanged();
}

void FWApp::Initialize()
{
    AE_InitAEUtils(handleOpenApplication, handleOpenDocuments, nullptr, handleQuitApplication, nullptr);
    Corvel::FD_MacUtil::SetEventFunction(fileDialogEvent);
}

void FWApp::Finish()
{
    FWEventManager::Destroy();
}

void FWApp::Execute(FWApp* app)
{
    mGlobalApp = app;
    if (app == nullptr)
        return;
    app->InitMenus();
    FWEventManager::Instance()->Execute();
}

void FWApp::Uninit()
{
    if (mGlobalApp != nullptr) {
        delete mGlobalApp;
        mGlobalApp = nullptr;
    }
    FWQTUtil::CloseQuickTime();
    FWClipboard::Destroy();
}

FWApp* FWApp::Instance()
{
    if (mGlobalApp == nullptr)
        std::abort();
    return mGlobalApp;
}

// --- Hooks -------------------------------------------------------------------------------------

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
    if (window == nullptr)
        return;
    window->AddToAppList(&mWindows);
    FWEventDispatcher::Instance()->WindowListReset();
}

void FWApp::RemoveWindow(FWWindow* window)
{
    if (window == nullptr)
        return;
    window->RemoveFromAppList(&mWindows);
    FWEventDispatcher::Instance()->WindowListReset();
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

// --- Suspend and resume ---------------------------------------------------------------------------

void FWApp::ProcessSuspend()
{
    if (Exists())
        Instance()->Suspend();
    gInForeground = false;
}

void FWApp::ProcessResume()
{
    gInForeground = true;
    // Back in front: what was copied in another program meanwhile is there to paste.
    FWClipboardPAC::ImportIfChanged();
    if (Exists())
        Instance()->Resume();
}

// --- Keys ---------------------------------------------------------------------------------------

bool FWApp::KeyDownEvent(FWEvent& event)
{
    if ((event.mModifiers & kFWCommandKey) == 0)
        return false;
    if (event.EventCharacter() == kTab && GetFrontWindowOfStyle(kModalDialogStyle) == nullptr) {
        cycleKeyWindow(event.ShiftKeyDown());
        return true;
    }
    return FWMenuMgr::Instance()->DoMenuShortcutKey(event.mMessage, event.mModifiers);
}

void FWApp::cycleKeyWindow(bool backward)
{
    std::vector<FWWindow*> order;
    for (FWWindow* window = GetFrontWindow(); window != nullptr; window = window->NextWindowUnder())
        order.push_back(window);
    if (order.empty())
        return;
    // Without a key window (or with one that is not shown) the walk starts at the front window.
    FWEventDispatcher* dispatcher = FWEventDispatcher::Instance();
    size_t start = 0;
    for (size_t i = 0; i < order.size(); ++i)
        if (order[i] == dispatcher->KeyWindow())
            start = i;
    const size_t count = order.size();
    for (size_t i = backward ? (start + count - 1) % count : (start + 1) % count; i != start;
         i = backward ? (i + count - 1) % count : (i + 1) % count) {
        if (order[i]->AcceptsKeyEvents()) {
            dispatcher->SetKeyWindow(order[i]);
            return;
        }
    }
}

// --- Hooks --------------------------------------------------------------------------------------

FWDocument* FWApp::NewDocument()
{
    return new FWDocument;
}

void FWApp::OpenFile(FileReference& file)
{
    if (!mAllowMultipleDocuments) {
        DoFileClose();
        if (mActiveDocument != nullptr)
            return;
    }
    FWDocument* document = NewDocument();
    if (document == nullptr)
        return;
    FWSetCursor(kWatchCursor);
    FWStr<255> name;
    file.GetFileName(name);
    char action[300];
    const std::string shown = HostFileNameToMacRoman(name.GetCString());
    std::snprintf(action, sizeof action, "open the document \"%s\"", shown.c_str());
    try {
        document->InitOpenDoc();
        document->SetAssociatedFile(file);
        document->ReadDocument(file);
        document->SetDirtyFlag(false);
        FWSetCursor(kArrowCursor);
        return;
    } catch (FWException& e) {
        FWSetCursor(kArrowCursor);
        FWException::ReportException(e, action);
    } catch (...) {
        FWSetCursor(kArrowCursor);
        FWException::ReportException("an unexpected error occurred", action);
    }
    // The half-made document goes.
    document->SendMessage(Dependable::IsBeingDeleted);
    delete document;
}

void FWApp::OpenFile(const std::list<FileReference>& files)
{
    for (FileReference file : files)
        OpenFile(file);
}

void FWApp::GetFourViewRect(int quadrant, FWRect* rect)
{
    if (rect == nullptr)
        return;
    FWRect bounds;
    FWGetAppRect(&bounds);
    const int16_t halfWidth = int16_t((bounds.right - bounds.left) / 2);
    const int16_t halfHeight = int16_t((bounds.bottom - bounds.top) / 2);
    const int16_t middleH = int16_t(bounds.left + halfWidth);
    const int16_t middleV = int16_t(bounds.top + halfHeight);
    switch (quadrant) {
    case 0:
        *rect = FWRect(bounds.left, bounds.top, int16_t(middleH - 1), int16_t(middleV - 1));
        break;
    case 1:
        *rect = FWRect(middleH, bounds.top, bounds.right, int16_t(middleV - 1));
        break;
    case 2:
        *rect = FWRect(middleH, middleV, bounds.right, bounds.bottom);
        break;
    case 3:
        *rect = FWRect(bounds.left, middleV, int16_t(middleH - 1), bounds.bottom);
        break;
    default:
        break;
    }
}

void FWApp::DoAboutApp()
{
    FWStr<255> name;
    GetAppLongName(name);
    FWUserMsg message("%s\r\rMade by the FW team.", name.GetCString());
    message.SetIcon(kQuestionIcon);
    message.Execute();
    message.SendMessage(Dependable::IsBeingDeleted);
}

// --- File commands ------------------------------------------------------------------------------

void FWApp::DoAdjustFileNew(FWUserOp* op)
{
    enableIf(op, true);
}

void FWApp::DoFileNew()
{
    FWDocument* document = NewDocument();
    if (document == nullptr) {
        fw_programmer_message("", "FW/App/Source/FWApp", 810);
        return;
    }
    document->InitNewDoc();
    document->InitWindows();
    document->SetDirtyFlag(false);
}

void FWApp::DoAdjustFileOpen(FWUserOp* op)
{
    enableIf(op, true);
}

void FWApp::DoFileOpen()
{
    const FWStr<31> prompt("Open project:");
    FWFileDialog dialog(&prompt);
    SetupFileDialog(dialog, FileOpen);
    if (!dialog.SelectFileForOpen())
        return;
    FileReference file;
    dialog.GetChosenFile(file);
    if (!mAllowMultipleDocuments) {
        DoFileClose();
        if (mActiveDocument != nullptr)
            return;
    }
    OpenFile(file);
}

void FWApp::DoAdjustFileClose(FWUserOp* op)
{
    enableIf(op, mActiveDocument != nullptr);
}

void FWApp::DoFileClose()
{
    FWDocument* document = mActiveDocument;
    if (document == nullptr)
        return;
    if (document->IsDirty()) {
        FWStr<31> name;
        document->DocName(name);
        FWUserMsg question("Save changes to \"%s\"?", name.GetCString());
        question.SetIcon(kQuestionIcon);
        question.SetOKTitle("Save");
        question.SetCancelTitle("Cancel");
        question.SetAltTitle("Don't Save");
        question.Execute();
        const int32_t answer = question.Result();
        question.SendMessage(Dependable::IsBeingDeleted);
        if (answer == FWUserMsg::kResultOK) {
            DoFileSave();
            // A save that failed or was cancelled keeps the document, as Cancel does: its
            // changes would be lost otherwise.
            if (document->IsDirty())
                return;
        } else if (answer != FWUserMsg::kResultAlternative) {
            return;
        }
    }
    closeDocument(document);
}

void FWApp::DoAdjustFileSave(FWUserOp* op)
{
    enableIf(op, mActiveDocument != nullptr && (!mActiveDocument->HasAssociatedFile() || mActiveDocument->IsDirty()));
}

void FWApp::DoFileSave()
{
    FWDocument* document = mActiveDocument;
    if (document == nullptr)
        return;
    if (!document->HasAssociatedFile()) {
        DoFileSaveAs();
        return;
    }
    const FileReference file = document->AssociatedFile();
    if (writeDocument(document, file))
        document->SetDirtyFlag(false);
}

void FWApp::DoAdjustFileSaveAs(FWUserOp* op)
{
    enableIf(op, mActiveDocument != nullptr);
}

void FWApp::DoFileSaveAs()
{
    FWDocument* document = mActiveDocument;
    if (document == nullptr)
        return;
    const FWStr<31> prompt("Save project as:");
    FWFileDialog dialog(&prompt);
    if (document->HasAssociatedFile()) {
        FWStr<255> name;
        document->AssociatedFile().GetFileName(name);
        dialog.SetDefaultFileName(name);
    }
    SetupFileDialog(dialog, FileSaveAs);
    if (!dialog.SelectFileForSave())
        return;
    FileReference chosen;
    dialog.GetChosenFile(chosen);
    if (!writeDocument(document, chosen))
        return;
    document->SetAssociatedFile(chosen);
    document->SetDirtyFlag(false);
}

void FWApp::DoAdjustFileSaveACopy(FWUserOp* op)
{
    DoAdjustFileSaveAs(op);
}

void FWApp::DoFileSaveACopy()
{
    FWDocument* document = mActiveDocument;
    if (document == nullptr)
        return;
    const FWStr<31> prompt("Save a copy of project as:");
    FWFileDialog dialog(&prompt);
    if (!dialog.SelectFileForSave())
        return;
    FileReference chosen;
    dialog.GetChosenFile(chosen);
    // The document keeps its own file and its dirty state.
    writeDocument(document, chosen);
}

void FWApp::DoAdjustFileQuit(FWUserOp* op)
{
    enableIf(op, CanQuit());
}

void FWApp::DoFileQuit()
{
    while (FWDocument* document = mActiveDocument) {
        DoFileClose();
        // Still the same document: the user kept it, so the quit stops.
        if (mActiveDocument == document)
            return;
    }
    FWEventDispatcher::Instance()->Quit();
}

bool FWApp::CanQuit()
{
    // A modal dialog in front, or a message still up (a quit Apple event can arrive inside its
    // loop, while a close question is being asked).
    FWWindow* front = GetFrontWindow();
    if (FWWindow::ModalCount() != 0 || (front != nullptr && front->GetStyle() == kModalDialogStyle)) {
        FWSystemBeep(10);
        return false;
    }
    return true;
}

// --- Command entry points -----------------------------------------------------------------------

void FWApp::FileNew(FWUserOp*)
{
    Instance()->DoFileNew();
}

void FWApp::FileOpen(FWUserOp*)
{
    Instance()->DoFileOpen();
}

void FWApp::FileSave(FWUserOp*)
{
    Instance()->DoFileSave();
}

void FWApp::FileSaveAs(FWUserOp*)
{
    Instance()->DoFileSaveAs();
}

void FWApp::FileQuit(FWUserOp*)
{
    if (Instance()->CanQuit())
        Instance()->DoFileQuit();
}

void FWApp::AdjustFileNew(FWUserOp* op)
{
    Instance()->DoAdjustFileNew(op);
}

void FWApp::AdjustFileOpen(FWUserOp* op)
{
    Instance()->DoAdjustFileOpen(op);
}

void FWApp::AdjustFileSave(FWUserOp* op)
{
    Instance()->DoAdjustFileSave(op);
}

void FWApp::AdjustFileSaveAs(FWUserOp* op)
{
    Instance()->DoAdjustFileSaveAs(op);
}

void FWApp::AdjustFileQuit(FWUserOp* op)
{
    Instance()->DoAdjustFileQuit(op);
}

// --- Window queries --------------------------------------------------------------------------

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
