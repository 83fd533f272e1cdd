// The modal dialog's loop, its keys and buttons, the modal stack and the headless answers.
#include "FWDialog.h"

#include "FWEventDispatcher.h"
#include "FWEventManager.h"
#include "FWException.h"
#include "FWPlatformUtils.h"
#include "FWPopupInfo.h"
#include "FWProgrammerMessage.h"
#include "HostEvents.h"
#include "HostHeadless.h"
#include "HostModalLoop.h"
#include "PreorderTraversal.h"
#include "PushButton.h"
#include "StaticText.h"

namespace {

constexpr int32_t kModalStyle = 1;
constexpr char kEnter = 3;
constexpr char kReturn = 13;
constexpr char kEscape = 27;

// Presses that reach the dispatcher as mouse-downs, so that its modal rule refuses them.
bool isPress(FWEventType type)
{
    return type == kMouseDownEvent || type == kTitleBarEvent || type == kResizeEvent || type == kCloseEvent ||
           type == kZoomEvent;
}

} // namespace

FWModalDialog::FWModalDialog() : FWWindow(kModalStyle)
{
    SetDebugName("FWModalDialog");
}

FWModalDialog::~FWModalDialog()
{
    if (!Visible())
        return;
    if (--sModalCount < 0)
        fw_programmer_message("", kSourcePath, 71);
    if (sModalWindow == this)
        sModalWindow = IsValidWindow(mPreviousModal) ? mPreviousModal : nullptr;
}

// --- The modal stack ---------------------------------------------------------------------------

void FWModalDialog::Show()
{
    if (!Visible()) {
        if (sModalCount < 0)
            fw_programmer_message("", kSourcePath, 83);
        ++sModalCount;
        mPreviousModal = sModalWindow;
        sModalWindow = this;
    }
    FWWindow::Show();
}

void FWModalDialog::Hide()
{
    if (Visible()) {
        if (sModalWindow != this)
            fw_programmer_message("", kSourcePath, 96);
        if (--sModalCount < 0)
            fw_programmer_message("", kSourcePath, 100);
        sModalWindow = IsValidWindow(mPreviousModal) ? mPreviousModal : nullptr;
    }
    FWWindow::Hide();
}

FWRect& FWModalDialog::calc_dlog_rect_on_screen(FWRect& rect, int32_t width, int32_t height)
{
    FWRect app;
    FWGetAppRect(&app);
    rect.Set(0, 0, int16_t(width), int16_t(height));
    rect.CenterInsideOf(app);
    const int16_t sixth = int16_t(app.Height() / 6);
    if (rect.top - app.top > sixth)
        rect.Offset(0, int16_t(-sixth));
    return rect;
}

// --- Buttons and keys --------------------------------------------------------------------------

bool FWModalDialog::IsUsable(const FWView* view)
{
    if (view == nullptr || !view->Visible() || !view->AllParentsVisible())
        return false;
    for (const FWView* up = view; up != nullptr; up = up->Parent())
        if (up->IsGhosted())
            return false;
    return true;
}

FWView* FWModalDialog::usableDefaultAccept()
{
    FWView* view = ViewMngr().DefaultAccept();
    return IsUsable(view) ? view : nullptr;
}

FWView* FWModalDialog::usableDefaultCancel()
{
    FWView* view = ViewMngr().DefaultCancel();
    return IsUsable(view) ? view : nullptr;
}

PushButton* FWModalDialog::firstOtherButton()
{
    PreorderTraversal<FWView> walk(ViewMngr().GetViewTree(), false);
    for (FWView* view = walk.First(); view != nullptr; view = walk.Next()) {
        auto* button = dynamic_cast<PushButton*>(view);
        if (button != nullptr && !button->DefaultAccept() && !button->DefaultCancel() && IsUsable(button))
            return button;
    }
    return nullptr;
}

void FWModalDialog::acceptThrough(FWView* view)
{
    mDone = mAccepted = DialogAccepted(view);
    view->SimulateMouseClick();
}

void FWModalDialog::cancelThrough(FWView* view)
{
    mDone = true;
    view->SimulateMouseClick();
}

bool FWModalDialog::KeyDownEvent(FWEvent& event)
{
    const char key = event.EventCharacter();
    if (key == kReturn || key == kEnter) {
        FWView* view = usableDefaultAccept();
        if (view == nullptr)
            return false;
        acceptThrough(view);
        return true;
    }
    if (key == kEscape || (key == '.' && (event.mModifiers & kFWCommandKey) != 0)) {
        if (FWView* view = usableDefaultCancel())
            cancelThrough(view);
        return true;
    }
    return false;
}

bool FWModalDialog::InterfaceEvent(FWView* view)
{
    if (!IsUsable(view))
        return false;
    if (dynamic_cast<OKButton*>(view) != nullptr) {
        mDone = mAccepted = DialogAccepted(view);
        return true;
    }
    if (dynamic_cast<CancelButton*>(view) != nullptr) {
        mDone = true;
        return true;
    }
    return false;
}

// --- The loop ----------------------------------------------------------------------------------

void FWModalDialog::giveFirstFocus()
{
    if (!mAutoFocus || ViewMngr().GetKeyFocus() != nullptr)
        return;
    PreorderTraversal<FWView> walk(ViewMngr().GetViewTree(), false);
    for (FWView* view = walk.First(); view != nullptr; view = walk.Next()) {
        if (view->CanHaveFocus()) {
            ViewMngr().SetKeyFocus(view);
            return;
        }
    }
}

std::vector<std::string> FWModalDialog::shownTexts()
{
    std::vector<std::string> texts;
    PreorderTraversal<FWView> walk(ViewMngr().GetViewTree(), false);
    for (FWView* view = walk.First(); view != nullptr; view = walk.Next())
        if (auto* text = dynamic_cast<StaticText*>(view))
            texts.emplace_back(text->GetText().GetCString(), text->GetText().GetCurrLength());
    return texts;
}

bool FWModalDialog::Execute()
{
    mDone = false;
    FWPopupInfo::Hide();
    AutoInit();
    Show();
    BringToFront();
    giveFirstFocus();

    FWEventDispatcher* dispatcher = FWEventDispatcher::Instance();
    FWEventHandler* previousCapture = dispatcher->CaptureEventControl(this);
    FWWindow* previousKey = dispatcher->SetKeyWindow(this);
    HostModalRecord(std::string(Name().GetCString(), Name().GetCurrLength()), shownTexts());
    runLoop();
    HostModalRecordClosed(std::string(Name().GetCString(), Name().GetCurrLength()));
    // The previous key window may have been deleted while the dialog was up.
    dispatcher->SetKeyWindow(IsValidWindow(previousKey) ? previousKey : nullptr);
    dispatcher->ReleaseEventControl(previousCapture);
    Hide();

    const bool accepted = mAccepted;
    mDone = mAccepted = false;
    return accepted;
}

void FWModalDialog::runLoop()
{
    const bool headless = HostIsHeadless();
    mSawPress = false;
    if (headless) {
        drawPending();
        applyPreset();
    }
    // Headless, the idle timers may still bring input (a script driving the program runs in idle
    // time), and the first of them may not be due yet when the dialog comes up: the absent user
    // answers only after a wait in which every idle timer fired with nothing coming.
    constexpr uint32_t kTimersWait = 2; // ticks, longer than the application's idle period
    bool timersWaited = false;
    while (!mDone) {
        if (HostModalQuitRequested()) {
            // A quit nobody handled ends every modal loop as a cancel.
            if (FWView* view = usableDefaultCancel())
                cancelThrough(view);
            mDone = true;
            break;
        }
        FWEvent event;
        if (nextEvent(event, headless, timersWaited ? 0 : kTimersWait)) {
            handle(event);
            continue;
        }
        if (headless && HostPendingInjectedCount() == 0) {
            if (!timersWaited) {
                timersWaited = true;
                continue;
            }
            drawPending();
            answerUnattended();
        }
    }
}

// Headless waits do not block: false when the wait had nothing at all to hand out. An event
// that needs no dispatching leaves the event null.
bool FWModalDialog::nextEvent(FWEvent& event, bool headless, uint32_t sleep)
{
    if (!headless) {
        FWEventDispatcher::Instance()->GetEvent(event, false);
        return true;
    }
    EventRecord record;
    if (!WaitNextEvent(everyEvent, &record, sleep, nullptr))
        return false;
    if (!FWEventManager::Instance()->FilterEvent(record, false, event))
        event.mType = kNullEvent;
    return true;
}

void FWModalDialog::handle(FWEvent& event)
{
    // A failure of one event is reported and the dialog stays up.
    try {
        route(event);
    } catch (FWException& e) {
        FWException::ReportException(e);
    } catch (...) {
        FWException unexpected("an unexpected error occurred");
        FWException::ReportException(unexpected);
    }
}

void FWModalDialog::route(FWEvent& event)
{
    FWEventDispatcher* dispatcher = FWEventDispatcher::Instance();
    // The release of the press that opened the dialog (a double click, a button) belongs to
    // that press: the dialog would take it for a click on no view and drop its key focus.
    if (event.mType == kMouseDownEvent && event.mWindow == this)
        mSawPress = true;
    if (event.mType == kMouseUpEvent && !mSawPress)
        return;
    if (event.mWindow == this || event.mType == kUpdateEvent) {
        dispatcher->Dispatch(event);
        return;
    }
    // A press on another window goes to the dispatcher, which beeps.
    if (event.mWindow != nullptr && isPress(event.mType)) {
        event.mType = kMouseDownEvent;
        dispatcher->Dispatch(event);
    }
}

// Only once no input waits: a wait for updates takes injected input in too, and would let the
// mouse run ahead of presses still queued.
void FWModalDialog::drawPending()
{
    if (HostPendingInjectedCount() != 0)
        return;
    for (int guard = 0; guard < 64; ++guard) {
        EventRecord record;
        if (!WaitNextEvent(updateMask, &record, 0, nullptr))
            return;
        FWEvent event;
        if (FWEventManager::Instance()->FilterEvent(record, false, event))
            handle(event);
    }
}

void FWModalDialog::applyPreset()
{
    HostModalAnswer answer;
    if (!HostModalTakePresetAnswer(&answer))
        return;
    FWView* view = nullptr;
    switch (answer) {
    case HostModalAnswer::kDefault:
        if ((view = usableDefaultAccept()) != nullptr)
            acceptThrough(view);
        break;
    case HostModalAnswer::kCancel:
        if ((view = usableDefaultCancel()) != nullptr)
            cancelThrough(view);
        break;
    case HostModalAnswer::kAlternative:
        if (PushButton* button = firstOtherButton()) {
            view = button;
            button->SimulateMouseClick();
            InterfaceEvent(button);
        }
        break;
    }
    // An answer the dialog has no button for ends it unaccepted.
    if (view == nullptr)
        mDone = true;
}

void FWModalDialog::answerUnattended()
{
    FWView* accept = usableDefaultAccept();
    FWView* cancel = usableDefaultCancel();
    if (mUnattended == Unattended::kCancel && cancel != nullptr)
        cancelThrough(cancel);
    else if (accept != nullptr)
        acceptThrough(accept);
    else if (cancel != nullptr)
        cancelThrough(cancel);
    // However the dialog answered, nobody is left to end the loop.
    mDone = true;
}
