// The host's event loops over WaitNextEvent, their headless answers and their record.
#include "HostModalLoop.h"

#include "HostAppleEvents.h"
#include "HostBackend.h"
#include "HostControls.h"
#include "HostHeadless.h"
#include "HostMacRoman.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>

namespace {

struct ModalFrame {
    WindowRef window;
    bool quit = false;
};

struct LoopState {
    std::vector<ModalFrame*> frames; // innermost last
    std::map<WindowRef, HostModalHooks> hooks;
    std::deque<HostModalAnswer> presets;
    bool environmentRead = false;
    bool quitRequested = false;
    bool applicationLoopQuit = false;
    std::vector<HostModalShown> shown;
};

LoopState& state()
{
    static auto* s = new LoopState;
    return *s;
}

void forgetHooks(WindowRef window)
{
    state().hooks.erase(window);
}

const HostModalHooks* hooksOf(WindowRef window)
{
    auto found = state().hooks.find(window);
    return found != state().hooks.end() ? &found->second : nullptr;
}

// The answers the environment presets, read once, after those a test queued before.
void readEnvironmentPresets()
{
    if (state().environmentRead)
        return;
    state().environmentRead = true;
    const char* answers = std::getenv("FW_HOST_MODAL_ANSWERS");
    if (answers == nullptr)
        return;
    std::string list = answers;
    for (size_t start = 0; start <= list.size();) {
        size_t comma = list.find(',', start);
        std::string word = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (word == "ok")
            state().presets.push_back(HostModalAnswer::kDefault);
        else if (word == "cancel")
            state().presets.push_back(HostModalAnswer::kCancel);
        else if (word == "alternative")
            state().presets.push_back(HostModalAnswer::kAlternative);
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
}

bool pressDefault(WindowRef window)
{
    ControlRef button = nullptr;
    GetWindowDefaultButton(window, &button);
    return button != nullptr && HostPressButton(button) != errInvalidControlRef;
}

bool pressCancel(WindowRef window)
{
    ControlRef button = nullptr;
    GetWindowCancelButton(window, &button);
    return button != nullptr && HostPressButton(button) != errInvalidControlRef;
}

// The first top-level control carrying a command that is neither the default nor the cancel
// button.
bool pressAlternative(WindowRef window)
{
    ControlRef root = nullptr;
    ControlRef ok = nullptr;
    ControlRef cancel = nullptr;
    UInt16 count = 0;
    if (GetRootControl(window, &root) != noErr || CountSubControls(root, &count) != noErr)
        return false;
    GetWindowDefaultButton(window, &ok);
    GetWindowCancelButton(window, &cancel);
    for (UInt16 i = 1; i <= count; ++i) {
        ControlRef control = nullptr;
        UInt32 command = 0;
        if (GetIndexedSubControl(root, i, &control) != noErr || control == ok || control == cancel)
            continue;
        if (GetControlCommandID(control, &command) == noErr && command != 0)
            return HostPressButton(control) != errInvalidControlRef;
    }
    return false;
}

bool pressAnswer(WindowRef window, HostModalAnswer answer)
{
    switch (answer) {
    case HostModalAnswer::kDefault:
        return pressDefault(window);
    case HostModalAnswer::kCancel:
        return pressCancel(window);
    case HostModalAnswer::kAlternative:
        return pressAlternative(window);
    }
    return false;
}

ModalFrame* frameOf(WindowRef window)
{
    for (auto it = state().frames.rbegin(); it != state().frames.rend(); ++it)
        if ((*it)->window == window)
            return *it;
    return nullptr;
}

// Ends the window's loop as a cancel: its cancel button, else the loop just ends.
void cancelLoop(ModalFrame& frame)
{
    if (!frame.quit && HostIsLiveWindow(frame.window))
        pressCancel(frame.window);
    frame.quit = true;
}

// System text (Mac Roman) in UTF-8, as it is converted for drawing.
std::string utf8OfSystemText(const std::string& text)
{
    std::string utf8;
    for (unsigned char byte : text)
        HostAppendUtf8(utf8, HostMacRomanToUnicode(byte));
    return utf8;
}

void recordShown(HostModalShown shown)
{
    std::string line = "window\t" + utf8OfSystemText(shown.title);
    for (const std::string& text : shown.texts)
        line += "\t" + utf8OfSystemText(text);
    HostLogLine(line);
    // Without a display nobody sees the window: its title and text go to standard error.
    if (!HostCurrentBackend().ShowsScreen()) {
        std::string said = shown.title;
        const char* separator = said.empty() ? "" : ": ";
        for (const std::string& text : shown.texts) {
            said += separator + text;
            separator = " ";
        }
        std::fprintf(stderr, "%s\n", said.c_str());
    }
    state().shown.push_back(std::move(shown));
}

// Records what the window shows; answers its title.
std::string record(WindowRef window)
{
    HostModalShown shown;
    Str255 title;
    GetWTitle(window, title);
    shown.title.assign(reinterpret_cast<const char*>(title + 1), title[0]);
    const std::string titled = shown.title;
    const HostModalHooks* hooks = hooksOf(window);
    shown.texts = hooks != nullptr && hooks->shownTexts != nullptr ? hooks->shownTexts(window, hooks->context)
                                                                   : HostStaticTexts(window);
    recordShown(std::move(shown));
    return titled;
}

// The id of a high-level event: its high half in where.v, its low half in where.h.
uint32_t highLevelEventID(const EventRecord& event)
{
    return (uint32_t(uint16_t(event.where.v)) << 16) | uint16_t(event.where.h);
}

void handleAppleEvent(const EventRecord& event)
{
    OSErr err = AEProcessAppleEvent(&event);
    if (err != errAEEventNotHandled || event.message != kCoreEventClass || highLevelEventID(event) != kAEQuitApplication)
        return;
    state().quitRequested = true;
    state().applicationLoopQuit = true;
    for (ModalFrame* frame : std::vector<ModalFrame*>(state().frames))
        cancelLoop(*frame);
}

// An update of a window no loop draws: its controls are drawn, else the update is taken as done
// (its port keeps what its owner drew last).
void handleUpdate(const EventRecord& event)
{
    WindowRef window = reinterpret_cast<WindowRef>(event.message);
    const HostModalHooks* hooks = hooksOf(window);
    if (hooks != nullptr && hooks->handleEvent != nullptr && hooks->handleEvent(window, event, hooks->context))
        return;
    if (HostHandleControlEvent(window, event))
        return;
    BeginUpdate(window);
    EndUpdate(window);
}

void dispatchToWindow(WindowRef window, const EventRecord& event)
{
    const HostModalHooks* hooks = hooksOf(window);
    if (hooks != nullptr && hooks->handleEvent != nullptr && hooks->handleEvent(window, event, hooks->context))
        return;
    HostHandleControlEvent(window, event);
}

void dispatchModal(WindowRef window, const EventRecord& event)
{
    switch (event.what) {
    case kHighLevelEvent:
        handleAppleEvent(event);
        break;
    case updateEvt:
        handleUpdate(event);
        break;
    case mouseDown: {
        // Only the modal window takes clicks.
        WindowRef hit = nullptr;
        if (FindWindow(event.where, &hit) == inContent && hit == window)
            dispatchToWindow(window, event);
        break;
    }
    case mouseUp:
    case keyDown:
    case keyUp:
    case autoKey:
    case activateEvt:
    case nullEvent:
    case osEvt: // the wheel, among others
        dispatchToWindow(window, event);
        break;
    default:
        break;
    }
}

// Draws what waits to be drawn before answering for an absent user. Only once no input waits: a
// wait for updates takes injected input in too, and would move the mouse ahead of presses still
// queued for the windows behind (a dialog answered by a preset ends before that input comes).
void drawPending(WindowRef window)
{
    if (HostPendingInjectedCount() != 0)
        return;
    EventRecord event;
    for (int guard = 0; guard < 64 && WaitNextEvent(updateMask, &event, 0, nullptr); ++guard)
        dispatchModal(window, event);
}

void applyPreset(ModalFrame& frame)
{
    const HostModalHooks* hooks = hooksOf(frame.window);
    if (hooks != nullptr && hooks->applyPreset != nullptr) {
        if (hooks->applyPreset(frame.window, hooks->context))
            return;
    } else {
        readEnvironmentPresets();
        if (state().presets.empty())
            return;
        HostModalAnswer answer = state().presets.front();
        state().presets.pop_front();
        if (pressAnswer(frame.window, answer))
            return;
        frame.quit = true;
    }
}

void answerUnattended(ModalFrame& frame)
{
    const HostModalHooks* hooks = hooksOf(frame.window);
    if (hooks != nullptr && hooks->unattended != nullptr)
        hooks->unattended(frame.window, hooks->context);
    else if (!pressDefault(frame.window))
        pressCancel(frame.window);
    // However the window answered, nobody is left to end the loop.
    frame.quit = true;
}

} // namespace

OSStatus RunAppModalLoopForWindow(WindowRef window)
{
    if (!HostIsLiveWindow(window))
        return errInvalidWindowRef;
    ModalFrame frame{window};
    state().frames.push_back(&frame);
    const std::string title = record(window);
    bool headless = HostIsHeadless();
    if (state().quitRequested) {
        cancelLoop(frame);
    } else if (headless) {
        drawPending(window);
        applyPreset(frame);
    }
    while (!frame.quit && HostIsLiveWindow(window)) {
        EventRecord event;
        if (WaitNextEvent(everyEvent, &event, headless ? 0 : 6, nullptr)) {
            dispatchModal(window, event);
            continue;
        }
        if (headless && HostPendingInjectedCount() == 0)
            answerUnattended(frame);
    }
    state().frames.pop_back();
    HostModalRecordClosed(title);
    return noErr;
}

OSStatus QuitAppModalLoopForWindow(WindowRef window)
{
    ModalFrame* frame = frameOf(window);
    if (frame == nullptr)
        return HostIsLiveWindow(window) ? OSStatus(noErr) : OSStatus(errInvalidWindowRef);
    frame->quit = true;
    return noErr;
}

void RunApplicationEventLoop()
{
    state().applicationLoopQuit = false;
    bool headless = HostIsHeadless();
    while (!state().applicationLoopQuit) {
        EventRecord event;
        if (!WaitNextEvent(everyEvent, &event, headless ? 0 : 6, nullptr)) {
            if (headless && HostPendingInjectedCount() == 0)
                break;
            continue;
        }
        switch (event.what) {
        case kHighLevelEvent:
            handleAppleEvent(event);
            break;
        case updateEvt:
            handleUpdate(event);
            break;
        case mouseDown: {
            WindowRef hit = nullptr;
            if (FindWindow(event.where, &hit) == inContent && hit != nullptr)
                dispatchToWindow(hit, event);
            break;
        }
        case keyDown:
        case autoKey:
            if (FrontNonFloatingWindow() != nullptr)
                dispatchToWindow(FrontNonFloatingWindow(), event);
            break;
        default:
            break;
        }
    }
    state().applicationLoopQuit = false;
}

void QuitApplicationEventLoop()
{
    state().applicationLoopQuit = true;
}

void HostSetModalHooks(WindowRef window, const HostModalHooks& hooks)
{
    if (!HostIsLiveWindow(window))
        return;
    HostAddWindowGoneObserver(forgetHooks);
    state().hooks[window] = hooks;
}

void HostModalPresetAnswer(HostModalAnswer answer)
{
    state().presets.push_back(answer);
}

void HostModalClearPresetAnswers()
{
    state().presets.clear();
}

void HostModalRecord(const std::string& title, const std::vector<std::string>& texts)
{
    recordShown(HostModalShown{title, texts});
}

void HostModalRecordClosed(const std::string& title)
{
    HostLogLine("closed\t" + utf8OfSystemText(title));
}

bool HostModalTakePresetAnswer(HostModalAnswer* answer)
{
    readEnvironmentPresets();
    if (state().presets.empty())
        return false;
    if (answer != nullptr)
        *answer = state().presets.front();
    state().presets.pop_front();
    return true;
}

bool HostModalQuitRequested()
{
    return state().quitRequested;
}

bool HostIsHeadless()
{
    return std::strcmp(HostBackendName(), "headless") == 0;
}

void HostLogLine(const std::string& line)
{
    const char* path = std::getenv("FW_HOST_LOG");
    if (path == nullptr || path[0] == 0)
        return;
    FILE* log = std::fopen(path, "a");
    if (log == nullptr)
        return;
    std::fprintf(log, "%s\n", line.c_str());
    std::fclose(log);
}

const std::vector<HostModalShown>& HostModalShownLog()
{
    return state().shown;
}

void HostResetModalLoops()
{
    state().shown.clear();
    state().presets.clear();
    state().environmentRead = false;
    state().quitRequested = false;
    state().applicationLoopQuit = false;
}
