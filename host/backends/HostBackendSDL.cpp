// The SDL2 back end: one window showing the virtual screen at 1:1. Mouse and keyboard input is
// translated into host input (virtual key codes, Mac Roman characters, modifier bits); closing
// the window asks the program to quit unless a modal dialog is up; the host's cursor is shown with
// SDL's system cursors; beeps ring the X display's bell.
#include "HostBackend.h"
#include "HostMonitors.h"

#include "HostClock.h"
#include "HostCursors.h"
#include "HostEvents.h"
#include "HostInput.h"
#include "HostMacRoman.h"
#include "HostPasteboard.h"
#include "HostScreen.h"
#include "HostSdlDisplay.h"
#include "HostSound.h"
#include "HostX11Clipboard.h"
#include "HostX11Errors.h"
#include "HostX11Probe.h"

#include <SDL.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <map>
#include <vector>

// From HostModalLoop.h, whose window headers name the monitors' types otherwise than HostMonitors.h.
void HostLogLine(const std::string& line);

namespace {

// A display that has not answered a connection by then is taken for one that cannot be reached.
constexpr std::chrono::seconds kDisplayAnswerLimit{2};

// Virtual key codes of the keys without one of their own in HostInput.h.
enum : uint8_t {
    kKeyReturn = 36,
    kKeyTab = 48,
    kKeyBackspace = 51,
    kKeyEscape = 53,
    kKeyEnter = 76,
    kKeyHome = 115,
    kKeyPageUp = 116,
    kKeyForwardDelete = 117,
    kKeyEnd = 119,
    kKeyPageDown = 121,
    kKeyLeft = 123,
    kKeyRight = 124,
    kKeyDown = 125,
    kKeyUp = 126,
    kKeyUnknown = 127,
};

// Letters 0-25, digits 26-35, the punctuation keys of the main block 37-47.
uint8_t keyCodeOf(SDL_Scancode scancode)
{
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z)
        return uint8_t(scancode - SDL_SCANCODE_A);
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_0)
        return uint8_t(26 + (scancode - SDL_SCANCODE_1));
    switch (scancode) {
    case SDL_SCANCODE_RETURN: return kKeyReturn;
    case SDL_SCANCODE_MINUS: return 37;
    case SDL_SCANCODE_EQUALS: return 38;
    case SDL_SCANCODE_LEFTBRACKET: return 39;
    case SDL_SCANCODE_RIGHTBRACKET: return 40;
    case SDL_SCANCODE_BACKSLASH: return 41;
    case SDL_SCANCODE_SEMICOLON: return 42;
    case SDL_SCANCODE_APOSTROPHE: return 43;
    case SDL_SCANCODE_GRAVE: return 44;
    case SDL_SCANCODE_COMMA: return 45;
    case SDL_SCANCODE_PERIOD: return 46;
    case SDL_SCANCODE_SLASH: return 47;
    case SDL_SCANCODE_TAB: return kKeyTab;
    case SDL_SCANCODE_SPACE: return kVK_Space;
    case SDL_SCANCODE_BACKSPACE: return kKeyBackspace;
    case SDL_SCANCODE_ESCAPE: return kKeyEscape;
    case SDL_SCANCODE_LCTRL:
    case SDL_SCANCODE_RCTRL: return kVK_Command;
    case SDL_SCANCODE_LSHIFT:
    case SDL_SCANCODE_RSHIFT: return kVK_Shift;
    case SDL_SCANCODE_CAPSLOCK: return kVK_CapsLock;
    case SDL_SCANCODE_LALT:
    case SDL_SCANCODE_RALT: return kVK_Option;
    case SDL_SCANCODE_LGUI:
    case SDL_SCANCODE_RGUI: return kVK_Control;
    case SDL_SCANCODE_KP_ENTER: return kKeyEnter;
    case SDL_SCANCODE_DELETE: return kKeyForwardDelete;
    case SDL_SCANCODE_HOME: return kKeyHome;
    case SDL_SCANCODE_END: return kKeyEnd;
    case SDL_SCANCODE_PAGEUP: return kKeyPageUp;
    case SDL_SCANCODE_PAGEDOWN: return kKeyPageDown;
    case SDL_SCANCODE_LEFT: return kKeyLeft;
    case SDL_SCANCODE_RIGHT: return kKeyRight;
    case SDL_SCANCODE_DOWN: return kKeyDown;
    case SDL_SCANCODE_UP: return kKeyUp;
    default: return kKeyUnknown;
    }
}

// The character of a key that types no text of its own; 0 for the others.
uint8_t specialCharOf(SDL_Scancode scancode)
{
    switch (scancode) {
    case SDL_SCANCODE_HOME: return 1;
    case SDL_SCANCODE_KP_ENTER: return 3;
    case SDL_SCANCODE_END: return 4;
    case SDL_SCANCODE_PAGEUP: return 11;
    case SDL_SCANCODE_PAGEDOWN: return 12;
    case SDL_SCANCODE_BACKSPACE: return 8;
    case SDL_SCANCODE_TAB: return 9;
    case SDL_SCANCODE_RETURN: return 13;
    case SDL_SCANCODE_ESCAPE: return 27;
    case SDL_SCANCODE_LEFT: return 28;
    case SDL_SCANCODE_RIGHT: return 29;
    case SDL_SCANCODE_UP: return 30;
    case SDL_SCANCODE_DOWN: return 31;
    case SDL_SCANCODE_DELETE: return 127;
    default: return 0;
    }
}

// The display's clipboard, read in the background, and the SDL event by which its reader wakes the
// event wait when a copy changed.
HostX11ClipboardReader* sClipboardReader = nullptr;
uint32_t sClipboardEvent = 0;
uint64_t sClipboardSerial = 0; // the read last answered
// Written after every wake event is pushed, so that a wait that began just before wakes too.
int sWakeFd = -1;

void wakeForClipboard()
{
    SDL_Event event{};
    event.type = sClipboardEvent;
    SDL_PushEvent(&event);
    if (sWakeFd >= 0) {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = write(sWakeFd, &one, sizeof one);
    }
}

// The display's clipboard as one item: its text and its image (the bytes as read, TIFF or PNG,
// decoded only when asked for), each promised while it is on its way.
HostClipboardAnswer displayClipboard(std::vector<HostClipboardItem>& items)
{
    HostX11ClipboardCopy copy;
    if (sClipboardReader == nullptr || !sClipboardReader->Take(copy))
        return HostClipboardAnswer::kUnchanged;
    // A new owner is a new copy even when it offers the bytes read last time.
    if (copy.newCopy && copy.serial != sClipboardSerial)
        HostClipboardNoteNewCopy();
    sClipboardSerial = copy.serial;
    if (!copy.owned)
        return HostClipboardAnswer::kNone;
    using Part = HostX11ClipboardCopy::Part;
    auto add = [&item = items.emplace_back()](const char* type, Part part, const HostX11ClipboardCopy::Bytes& bytes) {
        if (part == Part::kComing)
            item.push_back(HostClipboardFlavor::Promised(type));
        else if (part == Part::kHere)
            item.push_back(HostClipboardFlavor::Sharing(type, bytes));
    };
    add(kUTTypeUTF8PlainText, copy.text, copy.utf8);
    add(copy.png ? kUTTypePNG : kUTTypeTIFF, copy.image, copy.imageBytes);
    // The run log says what the clipboard holds now, a flavour on its way marked "?".
    std::string line = "clipboard";
    for (const HostClipboardFlavor& flavor : items.back())
        line += "\t" + flavor.type + (flavor.promised ? "?" : "");
    HostLogLine(line);
    // Even an item of nothing readable: what another program copied replaces what came before.
    return HostClipboardAnswer::kRead;
}

// The owner of the display's clipboard asked again for the copy it holds, where the program let
// its bytes go; the reader answers in the background, as the same copy.
void readClipboardAgain()
{
    if (sClipboardReader != nullptr)
        sClipboardReader->ReadAgain();
}

bool isModifierKey(SDL_Scancode scancode)
{
    switch (keyCodeOf(scancode)) {
    case kVK_Command:
    case kVK_Shift:
    case kVK_CapsLock:
    case kVK_Option:
    case kVK_Control:
        return true;
    default:
        return false;
    }
}

// Ctrl is Command, Shift Shift, Alt Option, Super Control.
EventModifiers modifiersOf(uint16_t mod)
{
    EventModifiers modifiers = 0;
    if (mod & KMOD_CTRL)
        modifiers |= cmdKey;
    if (mod & KMOD_SHIFT)
        modifiers |= shiftKey;
    if (mod & KMOD_CAPS)
        modifiers |= alphaLock;
    if (mod & KMOD_ALT)
        modifiers |= optionKey;
    if (mod & KMOD_GUI)
        modifiers |= controlKey;
    return modifiers;
}

int16_t coordinate(int32_t value)
{
    return int16_t(std::clamp<int32_t>(value, INT16_MIN, INT16_MAX));
}

// One UTF-8 character from text at *at (advanced past it); U+FFFD for a malformed one.
char32_t nextCharacter(const char* text, size_t* at)
{
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    size_t i = *at;
    const unsigned char lead = s[i++];
    int extra = lead < 0x80 ? 0 : (lead >> 5) == 6 ? 1 : (lead >> 4) == 14 ? 2 : (lead >> 3) == 30 ? 3 : -1;
    char32_t c = extra == 0 ? lead : extra == 1 ? lead & 0x1F : extra == 2 ? lead & 0x0F : lead & 0x07;
    if (extra < 0) {
        *at = i;
        return 0xFFFD;
    }
    for (int k = 0; k < extra; ++k) {
        if ((s[i] & 0xC0) != 0x80) {
            *at = i;
            return 0xFFFD;
        }
        c = (c << 6) | (s[i++] & 0x3F);
    }
    *at = i;
    return c;
}

// Without a session bus, SDL's video start-up would have the bus library try to launch one (and
// leak what it read on the way); an address that names no transport makes it give up at once.
void keepAwayFromMissingSessionBus()
{
    const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    if (address == nullptr || *address == '\0')
        setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
}

class SdlBackend : public HostBackend {
public:
    SdlBackend() = default;
    ~SdlBackend() override;

    bool Open(std::string* error);

    const char* Name() const override { return "sdl"; }
    bool Poll() override;
    void Wait(uint64_t nanoseconds) override;
    bool ShowsScreen() const override { return true; }
    void Present(const HostPixelMap& screen, const HostRegion& area) override;
    void MoveMouse(Point where) override;
    bool ReadDisplay(HostPixelMap& into) override { return HostSdlReadWindow(mWindow, into); }
    bool DisplayOrigin(int32_t* x, int32_t* y) override;
    uint64_t WaitCount() const override { return mWaits; }

private:
    void fitFrameToDisplay(const SDL_Rect& usable);
    void handle(const SDL_Event& event);
    // A suspend when the window loses the input focus, a resume when it gets it back.
    void focusChanged(bool gained);
    // Vertical turns only, at the mouse as last reported.
    void handleWheel(const SDL_MouseWheelEvent& wheel);
    void handleKey(const SDL_KeyboardEvent& key);
    void handleText(const char* text);
    void deliver(HostInputEvent input);
    void showCursor();
    SDL_Cursor* systemCursor(SDL_SystemCursor id);

    SDL_Window* mWindow = nullptr;
    uint8_t mMouseButton = 0;          // the SDL button of the press being followed, 0 for none
    EventModifiers mModifiers = 0;
    bool mSuspended = false; // the window lost the input focus and has not had it back yet
    // The key whose text input is awaited, and whether it repeats.
    uint8_t mTextKey = kKeyUnknown;
    bool mTextRepeat = false;
    // The last key press was delivered with its own character (Command or Control held): the text
    // input SDL may still send for that press (Ctrl+period gives ".") is the same key again.
    bool mPressDelivered = false;
    std::map<SDL_Scancode, uint8_t> mCharOfKey; // characters given by keys now down
    uint32_t mCursorChanges = UINT32_MAX;
    std::map<SDL_SystemCursor, SDL_Cursor*> mCursors;
    std::unique_ptr<HostX11ClipboardReader> mClipboardReader;
    int mDisplaySocket = -1; // of SDL's own X connection, watched by the wait
    uint64_t mWaits = 0;
};

SdlBackend::~SdlBackend()
{
    HostSetClipboardSource(nullptr);
    sClipboardReader = nullptr;
    mClipboardReader.reset();
    if (sWakeFd >= 0)
        close(sWakeFd);
    sWakeFd = -1;
    HostSetBellRinger(nullptr);
    for (auto& [id, cursor] : mCursors)
        SDL_FreeCursor(cursor);
    if (mWindow != nullptr)
        SDL_DestroyWindow(mWindow);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    SDL_Quit();
}

bool SdlBackend::Open(std::string* error)
{
    // The host ends the program on SIGINT, SIGTERM and SIGHUP itself.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // The screen is copied, never scaled: the display's own framebuffer serves, with no OpenGL.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    keepAwayFromMissingSessionBus();
    HostX11HandleErrors();
    // X11 or nothing: the clipboard and the bell speak to the X display, and SDL's other drivers
    // would fall back, where no X server answers, to one that shows nobody anything.
    SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "x11", SDL_HINT_OVERRIDE);
    const char* display = std::getenv("DISPLAY");
    const std::string named = display != nullptr ? display : "";
    if (!HostX11DisplayAnswers(kDisplayAnswerLimit)) {
        if (error != nullptr)
            *error = "cannot open display " + named + ": it takes the connection but does not answer";
        return false;
    }
    const bool opened = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    HostX11EndDisplayProbe();
    if (!opened) {
        if (error != nullptr)
            *error = "cannot open display " + named;
        return false;
    }
    // The window shows the screen at 1:1, so the screen must fit the display.
    SDL_Rect usable{0, 0, 0, 0};
    if (SDL_GetDisplayUsableBounds(0, &usable) == 0)
        HostFitScreenToDisplay(usable.w, usable.h);
    const Rect screen = HostScreenBounds();
    const char* title = program_invocation_short_name;
    mWindow = SDL_CreateWindow(title, usable.x, usable.y, screen.right - screen.left, screen.bottom - screen.top,
                               SDL_WINDOW_SHOWN);
    if (mWindow == nullptr) {
        if (error != nullptr)
            *error = "cannot open a window on display " + named + ": " + SDL_GetError();
        return false;
    }
    fitFrameToDisplay(usable);
    SDL_StartTextInput();
    sClipboardEvent = SDL_RegisterEvents(1);
    mDisplaySocket = HostSdlDisplaySocket(mWindow);
    sWakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    mClipboardReader = std::make_unique<HostX11ClipboardReader>(wakeForClipboard);
    sClipboardReader = mClipboardReader.get();
    HostSetClipboardSource(displayClipboard, readClipboardAgain);
    HostSetBellRinger([window = mWindow] { HostSdlRingBell(window); });
    return true;
}

// A window manager's frame is known once the window is shown: the screen is fitted again to what
// the usable area leaves inside the frame, and the frame put at the area's top-left.
void SdlBackend::fitFrameToDisplay(const SDL_Rect& usable)
{
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;
    // SDL learns the frame's extents, set by the window manager as it takes the window in, from
    // the events that follow the showing.
    SDL_PumpEvents();
    if (usable.w <= 0 || SDL_GetWindowBordersSize(mWindow, &top, &left, &bottom, &right) != 0)
        return;
    HostFitScreenToDisplay(usable.w - left - right, usable.h - top - bottom);
    const Rect screen = HostScreenBounds();
    SDL_SetWindowSize(mWindow, screen.right - screen.left, screen.bottom - screen.top);
    SDL_SetWindowPosition(mWindow, usable.x + left, usable.y + top);
}

void SdlBackend::deliver(HostInputEvent input)
{
    input.when = TickCount();
    input.modifiers = mModifiers;
    HostDeliverInput(input);
}

bool SdlBackend::Poll()
{
    bool any = false;
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        handle(event);
        any = true;
    }
    showCursor();
    return any;
}

// Sleeps in one poll of the display's socket and the clipboard's wake, with the end signals let
// through only inside it, so that an end asked for just before the sleep is never slept over.
// (SDL's own timed wait polls every millisecond or so.)
void SdlBackend::Wait(uint64_t nanoseconds)
{
    ++mWaits;
    if (mDisplaySocket < 0 || sWakeFd < 0) {
        SDL_WaitEventTimeout(nullptr, int(std::clamp<uint64_t>(nanoseconds / 1000000, 1, 1000)));
        return;
    }
    sigset_t ends;
    sigset_t before;
    sigemptyset(&ends);
    sigaddset(&ends, SIGTERM);
    sigaddset(&ends, SIGINT);
    sigaddset(&ends, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &ends, &before);
    HostEndIfSignalled();
    SDL_PumpEvents();
    if (SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT) == SDL_FALSE && !HostSdlDisplayEventsWaiting(mWindow)) {
        pollfd watched[2] = {{mDisplaySocket, POLLIN, 0}, {sWakeFd, POLLIN, 0}};
        const uint64_t capped = std::min<uint64_t>(nanoseconds, 1000000000ull);
        const timespec timeout{time_t(capped / 1000000000ull), long(capped % 1000000000ull)};
        ppoll(watched, 2, &timeout, &before);
    }
    uint64_t drained = 0;
    [[maybe_unused]] const ssize_t read = ::read(sWakeFd, &drained, sizeof drained);
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
}

void SdlBackend::handle(const SDL_Event& event)
{
    if (event.type == sClipboardEvent) {
        HostInputEvent input;
        input.kind = HostInputEvent::Kind::Clipboard;
        deliver(input);
        return;
    }
    switch (event.type) {
    case SDL_QUIT:
        HostDisplayCloseAsked();
        break;
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_CLOSE)
            HostDisplayCloseAsked();
        else if (event.window.event == SDL_WINDOWEVENT_EXPOSED || event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
            HostInvalScreen(HostScreenBounds());
        else if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST || event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED)
            focusChanged(event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED);
        break;
    case SDL_MOUSEMOTION: {
        HostInputEvent input;
        input.kind = HostInputEvent::Kind::MouseMove;
        input.where = Point{coordinate(event.motion.y), coordinate(event.motion.x)};
        deliver(input);
        break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        const bool down = event.type == SDL_MOUSEBUTTONDOWN;
        const uint8_t button = event.button.button;
        if (button != SDL_BUTTON_LEFT && button != SDL_BUTTON_RIGHT)
            break;
        // One press at a time: another button meanwhile is ignored.
        if (down ? mMouseButton != 0 : mMouseButton != button)
            break;
        mMouseButton = down ? button : 0;
        HostInputEvent input;
        input.kind = down ? HostInputEvent::Kind::MouseDown : HostInputEvent::Kind::MouseUp;
        input.where = Point{coordinate(event.button.y), coordinate(event.button.x)};
        input.when = TickCount();
        // A right click is a click with the Control bit.
        input.modifiers = EventModifiers(mModifiers | (button == SDL_BUTTON_RIGHT ? controlKey : 0));
        HostDeliverInput(input);
        break;
    }
    case SDL_MOUSEWHEEL:
        handleWheel(event.wheel);
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        handleKey(event.key);
        break;
    case SDL_TEXTINPUT:
        handleText(event.text.text);
        break;
    default:
        break;
    }
}

void SdlBackend::focusChanged(bool gained)
{
    // The program starts in front: the first focus the window gets is no resume.
    if (gained == !mSuspended)
        return;
    mSuspended = !gained;
    HostInputEvent input;
    input.kind = gained ? HostInputEvent::Kind::Resume : HostInputEvent::Kind::Suspend;
    deliver(input);
}

void SdlBackend::handleWheel(const SDL_MouseWheelEvent& wheel)
{
    const int32_t notches = wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -wheel.y : wheel.y;
    if (notches == 0)
        return;
    HostInputEvent input;
    input.kind = HostInputEvent::Kind::Wheel;
    input.wheelNotches = int16_t(std::clamp<int32_t>(notches, INT16_MIN, INT16_MAX));
    GetGlobalMouse(&input.where);
    deliver(input);
}

void SdlBackend::handleKey(const SDL_KeyboardEvent& key)
{
    const SDL_Scancode scancode = key.keysym.scancode;
    const bool down = key.type == SDL_KEYDOWN;
    if (isModifierKey(scancode)) {
        mModifiers = modifiersOf(key.keysym.mod);
        // The event's state may or may not count the key itself yet: it is down now, or not.
        const EventModifiers own = keyCodeOf(scancode) == kVK_Command ? cmdKey
                                 : keyCodeOf(scancode) == kVK_Shift   ? shiftKey
                                 : keyCodeOf(scancode) == kVK_Option  ? optionKey
                                 : keyCodeOf(scancode) == kVK_Control ? controlKey
                                                                      : 0;
        mModifiers = down ? EventModifiers(mModifiers | own) : EventModifiers(mModifiers & ~own);
        HostInputEvent input;
        input.kind = HostInputEvent::Kind::Modifiers;
        deliver(input);
        return;
    }
    mModifiers = modifiersOf(key.keysym.mod);
    HostInputEvent input;
    input.keyCode = keyCodeOf(scancode);
    if (!down) {
        // A release only for a key whose press typed something.
        auto found = mCharOfKey.find(scancode);
        if (found == mCharOfKey.end())
            return;
        const uint8_t character = found->second;
        mCharOfKey.erase(found);
        if (character == 0)
            return;
        input.kind = HostInputEvent::Kind::KeyUp;
        input.charCode = character;
        deliver(input);
        return;
    }
    input.kind = key.repeat != 0 ? HostInputEvent::Kind::AutoKey : HostInputEvent::Kind::KeyDown;
    mPressDelivered = false;
    uint8_t character = specialCharOf(scancode);
    // With Command or Control held no text arrives: the key's own character stands in.
    if (character == 0 && (mModifiers & (cmdKey | controlKey)) != 0) {
        const SDL_Keycode sym = key.keysym.sym;
        if (sym >= 32 && sym < 127) {
            character = uint8_t(sym);
            if ((mModifiers & shiftKey) != 0 && character >= 'a' && character <= 'z')
                character = uint8_t(character - 'a' + 'A');
            mPressDelivered = true;
        }
    }
    if (character == 0) {
        // The text input that follows gives the character.
        mTextKey = input.keyCode;
        mTextRepeat = key.repeat != 0;
        mCharOfKey[scancode] = 0;
        return;
    }
    input.charCode = character;
    mCharOfKey[scancode] = character;
    deliver(input);
}

void SdlBackend::handleText(const char* text)
{
    if (mPressDelivered) {
        mPressDelivered = false;
        return;
    }
    size_t at = 0;
    while (text[at] != '\0') {
        const char32_t c = nextCharacter(text, &at);
        uint8_t byte = 0;
        if (!HostUnicodeToMacRoman(c, &byte))
            continue;
        HostInputEvent input;
        input.kind = mTextRepeat ? HostInputEvent::Kind::AutoKey : HostInputEvent::Kind::KeyDown;
        input.keyCode = mTextKey;
        input.charCode = byte;
        for (auto& [scancode, character] : mCharOfKey)
            if (keyCodeOf(scancode) == mTextKey)
                character = byte;
        deliver(input);
    }
}

void SdlBackend::Present(const HostPixelMap& screen, const HostRegion& area)
{
    const int width = screen.Width();
    const int height = screen.Height();
    int windowWidth = 0;
    int windowHeight = 0;
    SDL_GetWindowSize(mWindow, &windowWidth, &windowHeight);
    if (windowWidth != width || windowHeight != height)
        SDL_SetWindowSize(mWindow, width, height);
    SDL_Surface* surface = SDL_GetWindowSurface(mWindow);
    if (surface == nullptr)
        return;
    SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(screen.BaseAddr(), width, height, 32, screen.RowBytes(),
                                                             SDL_PIXELFORMAT_ARGB8888);
    if (source == nullptr)
        return;
    SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_NONE);
    // Many small pieces are shown as their bounding box.
    std::vector<Rect> pieces = area.Rects();
    if (pieces.size() > 64)
        pieces.assign(1, area.Bounds());
    std::vector<SDL_Rect> shown;
    const Rect& b = screen.Bounds();
    for (const Rect& r : pieces) {
        SDL_Rect piece{r.left - b.left, r.top - b.top, r.right - r.left, r.bottom - r.top};
        SDL_Rect to = piece;
        SDL_BlitSurface(source, &piece, surface, &to);
        shown.push_back(piece);
    }
    SDL_FreeSurface(source);
    SDL_UpdateWindowSurfaceRects(mWindow, shown.data(), int(shown.size()));
    showCursor();
}

void SdlBackend::MoveMouse(Point where)
{
    SDL_WarpMouseInWindow(mWindow, where.h, where.v);
}

bool SdlBackend::DisplayOrigin(int32_t* x, int32_t* y)
{
    int left = 0;
    int top = 0;
    SDL_GetWindowPosition(mWindow, &left, &top);
    if (x != nullptr)
        *x = left;
    if (y != nullptr)
        *y = top;
    return true;
}

SDL_Cursor* SdlBackend::systemCursor(SDL_SystemCursor id)
{
    SDL_Cursor*& cursor = mCursors[id];
    if (cursor == nullptr)
        cursor = SDL_CreateSystemCursor(id);
    return cursor;
}

// Colour cursors are shown as the arrow: the host does not draw cursor resources.
void SdlBackend::showCursor()
{
    const uint32_t changes = HostCursorChangeCount();
    if (changes == mCursorChanges)
        return;
    mCursorChanges = changes;
    const HostCursorState state = HostCurrentCursor();
    SDL_SystemCursor id = SDL_SYSTEM_CURSOR_ARROW;
    if (state.kind == HostCursorKind::System) {
        switch (state.id) {
        case iBeamCursor: id = SDL_SYSTEM_CURSOR_IBEAM; break;
        case crossCursor:
        case plusCursor: id = SDL_SYSTEM_CURSOR_CROSSHAIR; break;
        case watchCursor: id = SDL_SYSTEM_CURSOR_WAIT; break;
        default: break;
        }
    }
    if (SDL_Cursor* cursor = systemCursor(id))
        SDL_SetCursor(cursor);
}

} // namespace

std::unique_ptr<HostBackend> HostMakeSdlBackend(std::string* error)
{
    auto backend = std::make_unique<SdlBackend>();
    if (!backend->Open(error))
        return nullptr;
    return backend;
}
