// The event queue, delivery of input into it, the event wait with its priorities, the pending
// Apple events that the display's close button posts, and the end of the program on SIGTERM,
// SIGINT and SIGHUP.
#include "HostEvents.h"

#include "HostAppleEvents.h"
#include "HostBackend.h"
#include "HostClock.h"
#include "HostHeadless.h"
#include "HostInput.h"
#include "HostPathNames.h"
#include "HostReplacementFile.h"
#include "HostSound.h"
#include "HostTimers.h"
#include "HostWindowList.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <deque>
#include <unistd.h>
#include <utility>

namespace {

struct PendingAppleEvent {
    AEEventID eventID;
    std::vector<std::string> paths;
};

struct EventState {
    std::deque<EventRecord> queue;
    std::deque<PendingAppleEvent> appleEvents;
    EventMask systemMask = everyEvent;
    HostWindow* active = nullptr; // the active window as last reported by an activate event
    uint32_t dropped = 0;
    bool endWait = false; // a timer fired in the wait asked it to end
};

EventState& state()
{
    static auto* sState = new EventState;
    return *sState;
}

// The display's close button and tests ask for a 'quit' Apple event; SIGTERM, SIGINT and SIGHUP ask for
// the end of the program, which the next wait carries out.
volatile std::sig_atomic_t sQuitRequested = 0;
volatile std::sig_atomic_t sEndRequested = 0;
// Armed by the first end signal, it sends SIGTERM once the grace is over: a program that
// reached no wait meanwhile (held in a call to a display that stopped answering) ends then.
timer_t sEndTimer{};
bool sEndTimerMade = false;
constexpr long kEndGraceNanoseconds = 400000000;
// A window manager's close comes from the back end as two events taken in one pump (the window's
// close and the display's quit): they are one request, answered once.
bool sCloseAsked = false;

extern "C" void onEndSignal(int)
{
    // A signal while an earlier one is not yet taken, the timer's or the user's, ends the program
    // here, as the wait would have, without the hidden file of a save it interrupts.
    if (sEndRequested != 0) {
        HostRemoveUnfinishedSaves();
        _exit(0);
    }
    sEndRequested = 1;
    if (sEndTimerMade) {
        itimerspec grace{};
        grace.it_value.tv_nsec = kEndGraceNanoseconds;
        timer_settime(sEndTimer, 0, &grace, nullptr);
    }
}

bool modalWindowUp()
{
    const auto& windows = HostWindowOrder();
    return std::any_of(windows.begin(), windows.end(),
                       [](const HostWindow* w) { return w->visible && w->layer == HostWindowLayer::Modal; });
}

void takeQuitRequest()
{
    if (std::exchange(sCloseAsked, false)) {
        if (modalWindowUp())
            SysBeep(1);
        else
            sQuitRequested = 1;
    }
    if (sQuitRequested == 0)
        return;
    sQuitRequested = 0;
    HostPostAppleEvent(kAEQuitApplication);
}

EventMask maskOf(EventKind what)
{
    if (what == kHighLevelEvent)
        return highLevelEventMask;
    return what < 16 ? EventMask(1u << what) : EventMask(0);
}

bool matches(const EventRecord& event, EventMask mask)
{
    return (maskOf(event.what) & mask) != 0;
}

EventModifiers currentModifiers()
{
    KeyMap keys;
    GetKeys(keys);
    auto down = [&keys](uint16_t code) { return (keys[code / 8] >> (code % 8)) & 1; };
    EventModifiers modifiers = 0;
    if (down(kVK_Command))
        modifiers |= cmdKey;
    if (down(kVK_Shift))
        modifiers |= shiftKey;
    if (down(kVK_CapsLock))
        modifiers |= alphaLock;
    if (down(kVK_Option))
        modifiers |= optionKey;
    if (down(kVK_Control))
        modifiers |= controlKey;
    return modifiers;
}

void holdModifiers(EventModifiers modifiers)
{
    HostSetKeyDown(kVK_Command, (modifiers & cmdKey) != 0);
    HostSetKeyDown(kVK_Shift, (modifiers & shiftKey) != 0);
    HostSetKeyDown(kVK_CapsLock, (modifiers & alphaLock) != 0);
    HostSetKeyDown(kVK_Option, (modifiers & optionKey) != 0);
    HostSetKeyDown(kVK_Control, (modifiers & controlKey) != 0);
}

// An event made now, at the mouse, with the modifiers held now.
EventRecord eventNow(EventKind what, uintptr_t message)
{
    EventRecord event;
    event.what = what;
    event.message = message;
    event.when = TickCount();
    GetGlobalMouse(&event.where);
    event.modifiers = currentModifiers();
    return event;
}

void enqueue(const EventRecord& event)
{
    EventState& s = state();
    if (event.what != kHighLevelEvent && (maskOf(event.what) & s.systemMask) == 0)
        return;
    if (s.queue.size() >= kHostEventQueueLimit) {
        // The oldest input goes; high-level events stay, each matching a pending Apple event.
        auto oldest = std::find_if(s.queue.begin(), s.queue.end(),
                                   [](const EventRecord& e) { return e.what != kHighLevelEvent; });
        if (oldest == s.queue.end())
            return;
        s.queue.erase(oldest);
        ++s.dropped;
    }
    s.queue.push_back(event);
}

bool queuedOf(EventMask mask)
{
    const auto& queue = state().queue;
    return std::any_of(queue.begin(), queue.end(), [mask](const EventRecord& e) { return matches(e, mask); });
}

bool takeActivate(EventRecord& out)
{
    EventState& s = state();
    HostWindow* front = FrontNonFloatingWindow();
    if (front == s.active)
        return false;
    if (s.active != nullptr) {
        HiliteWindow(s.active, false);
        out = eventNow(activateEvt, reinterpret_cast<uintptr_t>(s.active));
        s.active = nullptr;
        return true;
    }
    s.active = front;
    HiliteWindow(front, true);
    out = eventNow(activateEvt, reinterpret_cast<uintptr_t>(front));
    out.modifiers |= activeFlag;
    return true;
}

bool takeQueued(EventMask mask, EventRecord& out)
{
    auto& queue = state().queue;
    auto it = std::find_if(queue.begin(), queue.end(), [mask](const EventRecord& e) { return matches(e, mask); });
    if (it == queue.end())
        return false;
    out = *it;
    queue.erase(it);
    return true;
}

bool takeUpdate(EventRecord& out)
{
    HostRefreshVisibility();
    for (HostWindow* w : HostWindowOrder()) {
        if (!w->visible || w->updateRegion.Empty())
            continue;
        out = eventNow(updateEvt, reinterpret_cast<uintptr_t>(w));
        return true;
    }
    return false;
}

bool takeMouseMoved(RgnHandle mouseRgn, EventRecord& out)
{
    if (mouseRgn == nullptr)
        return false;
    Point mouse;
    GetGlobalMouse(&mouse);
    if (mouseRgn->Contains(mouse.h, mouse.v))
        return false;
    out = eventNow(osEvt, uintptr_t(mouseMovedMessage) << 24);
    return true;
}

bool nextEvent(EventMask mask, RgnHandle mouseRgn, EventRecord& out)
{
    if ((mask & activMask) && takeActivate(out))
        return true;
    if (takeQueued(mask, out))
        return true;
    if ((mask & updateMask) && takeUpdate(out))
        return true;
    if ((mask & osMask) && takeMouseMoved(mouseRgn, out))
        return true;
    return false;
}

// Input for the wait: one injected input unless an event of the mask already waits, or a move
// of the mouse out of the region is still to be reported (a later input must not overtake it);
// whatever the display gathered.
void pumpForWait(EventMask mask, RgnHandle mouseRgn)
{
    Point mouse;
    GetGlobalMouse(&mouse);
    const bool movePending = (mask & osMask) != 0 && mouseRgn != nullptr && !mouseRgn->Contains(mouse.h, mouse.v);
    if (!queuedOf(mask) && !movePending && HostTakeInjectedInput())
        return;
    HostCurrentBackend().Poll();
}

constexpr uint64_t kNanosecondsPerTick = 1000000000ull / 60;
// Longest single sleep without a display (a sleep ends early for input and for the next due
// timer): a signal that came meanwhile is taken at the latest then.
constexpr uint64_t kSleepSlice = 100000000ull;
// Longest wait of a loop that follows a held press for the next input, a tick: such loops that
// animate (auto-scroll, button repeat) run at least this often.
constexpr uint64_t kHeldPressWait = kNanosecondsPerTick;

} // namespace

Boolean WaitNextEvent(EventMask mask, EventRecord* event, uint32_t sleep, RgnHandle mouseRgn)
{
    using Clock = std::chrono::steady_clock;
    HostBackend& backend = HostCurrentBackend();
    HostInstallEndSignals();
    EventRecord scratch;
    EventRecord& out = event != nullptr ? *event : scratch;
    const Clock::time_point deadline = Clock::now() + std::chrono::nanoseconds(uint64_t(sleep) * kNanosecondsPerTick);
    HostPresentScreen(true);
    state().endWait = false;
    for (;;) {
        HostEndIfSignalled();
        pumpForWait(mask, mouseRgn);
        takeQuitRequest();
        if (nextEvent(mask, mouseRgn, out))
            return true;
        // Timers fire only while there is nothing to hand out; they may post or draw.
        if (HostFireDueTimers() > 0) {
            pumpForWait(mask, mouseRgn);
            takeQuitRequest();
            if (nextEvent(mask, mouseRgn, out))
                return true;
        }
        const Clock::time_point now = Clock::now();
        HostPresentScreen(true);
        if (HostClockIsManual() || now >= deadline || std::exchange(state().endWait, false)) {
            out = eventNow(nullEvent, 0);
            return false;
        }
        const auto left = uint64_t(std::chrono::duration_cast<std::chrono::nanoseconds>(deadline - now).count());
        // A display's wait lets the end signals through only inside itself, so it wakes for them
        // and needs no slice: an idle program sleeps until its next timer.
        const uint64_t slice = backend.ShowsScreen() ? UINT64_MAX : kSleepSlice;
        backend.Wait(std::min({left, HostNanosecondsToNextTimer(), slice}));
    }
}

void HostEndWait()
{
    state().endWait = true;
}

void FlushEvents(EventMask whichMask, EventMask stopMask)
{
    auto& queue = state().queue;
    for (auto it = queue.begin(); it != queue.end();) {
        if (matches(*it, stopMask))
            break;
        // High-level events stay: each belongs to a pending Apple event.
        if (matches(*it, whichMask) && it->what != kHighLevelEvent)
            it = queue.erase(it);
        else
            ++it;
    }
}

void SetEventMask(EventMask mask)
{
    state().systemMask = mask;
}

Boolean StillDown()
{
    HostPumpHeldInput();
    return HostButtonState() && !queuedOf(mDownMask | mUpMask);
}

void GetMouse(Point* mouse)
{
    if (mouse == nullptr)
        return;
    GetGlobalMouse(mouse);
    GlobalToLocal(mouse);
}

OSErr AEProcessAppleEvent(const EventRecord* event)
{
    EventState& s = state();
    if (event == nullptr || event->what != kHighLevelEvent || s.appleEvents.empty())
        return errAEEventNotHandled;
    PendingAppleEvent pending = std::move(s.appleEvents.front());
    s.appleEvents.pop_front();
    switch (pending.eventID) {
    case kAEQuitApplication:
        return HostDeliverQuitApplication();
    case kAEOpenApplication:
        return HostDeliverOpenApplication();
    case kAEOpenDocuments:
        return HostDeliverOpenDocuments(pending.paths);
    default:
        return errAEEventNotHandled;
    }
}

OSErr YieldToAnyThread()
{
    return noErr;
}

// --- Host interface ----------------------------------------------------------------------------

void HostDeliverInput(const HostInputEvent& input)
{
    if (input.kind == HostInputEvent::Kind::Suspend || input.kind == HostInputEvent::Kind::Resume) {
        // An operating-system event of the suspend-resume kind; bit 0 marks a resume. The keys
        // held stay as they are.
        const bool resume = input.kind == HostInputEvent::Kind::Resume;
        EventRecord event = eventNow(osEvt, (uintptr_t(suspendResumeMessage) << 24) | (resume ? uintptr_t(resumeFlag) : uintptr_t(0)));
        event.when = input.when;
        enqueue(event);
        return;
    }
    if (input.kind == HostInputEvent::Kind::Clipboard) {
        EventRecord event = eventNow(osEvt, uintptr_t(kHostClipboardMessage) << 24);
        event.when = input.when;
        enqueue(event);
        return;
    }
    holdModifiers(input.modifiers);
    EventRecord event;
    event.when = input.when;
    event.modifiers = input.modifiers;
    switch (input.kind) {
    case HostInputEvent::Kind::MouseMove:
        HostSetGlobalMouse(input.where);
        return;
    case HostInputEvent::Kind::Modifiers:
    case HostInputEvent::Kind::Suspend:
    case HostInputEvent::Kind::Resume:
    case HostInputEvent::Kind::Clipboard:
        return;
    case HostInputEvent::Kind::MouseDown:
    case HostInputEvent::Kind::MouseUp: {
        const bool down = input.kind == HostInputEvent::Kind::MouseDown;
        HostSetGlobalMouse(input.where);
        HostSetMouseButton(down);
        event.what = down ? mouseDown : mouseUp;
        event.where = input.where;
        break;
    }
    case HostInputEvent::Kind::Wheel:
        HostSetGlobalMouse(input.where);
        event.what = osEvt;
        event.message = (uintptr_t(kHostMouseWheelMessage) << 24) | uint16_t(input.wheelNotches);
        event.where = input.where;
        break;
    case HostInputEvent::Kind::KeyDown:
    case HostInputEvent::Kind::AutoKey:
    case HostInputEvent::Kind::KeyUp:
        HostSetKeyDown(input.keyCode, input.kind != HostInputEvent::Kind::KeyUp);
        event.what = input.kind == HostInputEvent::Kind::KeyDown ? keyDown
                   : input.kind == HostInputEvent::Kind::AutoKey ? autoKey
                                                             : keyUp;
        event.message = (uintptr_t(input.keyCode & 0x7F) << 8) | input.charCode;
        GetGlobalMouse(&event.where);
        break;
    }
    enqueue(event);
}

void HostPostAppleEvent(AEEventID eventID, const std::vector<std::string>& paths)
{
    state().appleEvents.push_back(PendingAppleEvent{eventID, paths});
    EventRecord event = eventNow(kHighLevelEvent, kCoreEventClass);
    event.where = Point{int16_t(eventID >> 16), int16_t(eventID & 0xFFFF)};
    enqueue(event);
}

void HostPostLaunchEvents(int argc, const char* const* argv)
{
    HostInstallEndSignals();
    std::vector<std::string> paths;
    for (int i = 1; i < argc && argv != nullptr; ++i)
        if (argv[i] != nullptr && argv[i][0] != '\0')
            paths.push_back(HostAbsolutePath(argv[i]));
    if (paths.empty())
        HostPostAppleEvent(kAEOpenApplication);
    else
        HostPostAppleEvent(kAEOpenDocuments, paths);
}

void HostPostQuit()
{
    sQuitRequested = 1;
}

void HostDisplayCloseAsked()
{
    sCloseAsked = true;
}

void HostInstallEndSignals()
{
    static bool sInstalled = false;
    if (sInstalled)
        return;
    sInstalled = true;
    // A write to a display connection that died answers EPIPE, which Xlib hands to its I/O error
    // handler (the line saying the display was lost, status 1), instead of ending the program
    // silently. No one here counts on SIGPIPE: pipes and sockets it writes report their errors.
    signal(SIGPIPE, SIG_IGN);
    sigevent expiry{};
    expiry.sigev_notify = SIGEV_SIGNAL;
    expiry.sigev_signo = SIGTERM;
    sEndTimerMade = timer_create(CLOCK_MONOTONIC, &expiry, &sEndTimer) == 0;
    struct sigaction action {};
    action.sa_handler = onEndSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    // A program started with SIGINT or SIGHUP ignored (in the background, under nohup) was meant
    // to outlive a Ctrl-C typed for whatever runs in front, or the terminal's close, and keeps
    // ignoring it.
    for (int signo : {SIGINT, SIGHUP}) {
        struct sigaction before {};
        if (sigaction(signo, nullptr, &before) == 0 && before.sa_handler == SIG_IGN)
            continue;
        sigaction(signo, &action, nullptr);
    }
}

void HostEndIfSignalled()
{
    if (sEndRequested == 0)
        return;
    // Waits run between whole operations: no file is being written, and saves replace files
    // whole, so ending here leaves every file as it was or as last saved. Nothing more is run
    // (no quit handler, no destructors): nobody is there to answer a question.
    // Where no wait comes, the end timer ends the program instead: the first end signal
    // arms it to send SIGTERM 0.4 s later, and a signal that finds the first not yet taken here
    // (the timer's, or the user's second) ends the program in the handler with status 0, at
    // whatever it was doing and without flushing its output. Should that fall inside a save, the
    // file saved stays as it was (it is replaced only by the final rename) and the hidden new file
    // goes (HostRemoveUnfinishedSaves).
    std::fflush(nullptr);
    HostRemoveUnfinishedSaves();
    _exit(0);
}

bool HostPumpInput()
{
    HostEndIfSignalled();
    const bool came = HostTakeInjectedInput() || HostCurrentBackend().Poll();
    HostPresentScreen(false);
    return came;
}

void HostPumpHeldInput()
{
    if (HostPumpInput() || !HostButtonState() || queuedOf(mDownMask | mUpMask) || HostClockIsManual())
        return;
    // Only a display brings input from outside; headless, the injected input is all there is.
    HostBackend& backend = HostCurrentBackend();
    if (!backend.ShowsScreen())
        return;
    backend.Wait(kHeldPressWait);
    HostPumpInput();
}

bool HostMouseEventQueued()
{
    return queuedOf(mDownMask | mUpMask);
}

bool HostTakeQueuedMouseUp()
{
    EventRecord ignored;
    return takeQueued(mUpMask, ignored);
}

size_t HostQueuedEventCount()
{
    return state().queue.size();
}

uint32_t HostDroppedEventCount()
{
    return state().dropped;
}

void HostResetEvents()
{
    EventState& s = state();
    s.queue.clear();
    s.appleEvents.clear();
    s.systemMask = everyEvent;
    s.active = nullptr;
    s.dropped = 0;
    sQuitRequested = 0;
    sCloseAsked = false;
}

void HostEventsWindowGone(const HostWindow* window)
{
    if (state().active == window)
        state().active = nullptr;
}
