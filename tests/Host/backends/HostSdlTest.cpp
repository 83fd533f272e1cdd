// The SDL back end on a real X server (Xvfb started here): it shows the same screen as the
// headless back end, and clicks and keys sent to the server through XTest (xdotool) come out
// of the event wait.
#include "ChildProcess.h"
#include "HostBackend.h"
#include "HostClock.h"
#include "HostDesktopScope.h"
#include "HostEvents.h"
#include "HostPasteboard.h"
#include "HostScreen.h"
#include "HostWindows.h"
#include "TIFFMaker.h"
#include "XvfbServer.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

// Waits (for real) until an event of the mask comes out of the event wait.
bool waitFor(EventMask mask, EventRecord& event)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < deadline) {
        if (WaitNextEvent(mask, &event, 1, nullptr))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

size_t differencesFrom(const HostPixelMap& expected, const HostPixelMap& shown)
{
    size_t differences = 0;
    for (int32_t y = 0; y < expected.Height(); ++y)
        for (int32_t x = 0; x < expected.Width(); ++x)
            differences += HostDesktopScope::Rgb(expected.Get(x, y)) != HostDesktopScope::Rgb(shown.Get(x, y));
    return differences;
}

void drawScene()
{
    HostDesktopScope::MakeWindow(Rect{60, 40, 460, 640}, 0xFFE0E0E0);
    WindowRef front = HostDesktopScope::MakeWindow(Rect{200, 300, 600, 900}, 0xFF3366CC);
    HostDesktopScope::MakeWindow(Rect{100, 1000, 700, 1200}, 0xFFCCAA00, kHostFloatingWindowClass);
    SetPortWindowPort(front);
    const RGBColor white{0xFFFF, 0xFFFF, 0xFFFF};
    RGBForeColor(&white);
    const Rect box{20, 20, 120, 220};
    FrameOval(&box);
    MoveTo(30, 200);
    const unsigned char text[] = "\x0FHello, screen!";
    DrawString(text);
}

// The clipboard's items as the pasteboard gives them: each flavour's type and bytes.
std::vector<std::vector<std::pair<std::string, std::vector<uint8_t>>>> clipboardItems()
{
    std::vector<std::vector<std::pair<std::string, std::vector<uint8_t>>>> items;
    PasteboardRef pasteboard = nullptr;
    if (PasteboardCreate(kPasteboardClipboard, &pasteboard) != noErr)
        return items;
    uint32_t count = 0;
    PasteboardGetItemCount(pasteboard, &count);
    for (uint32_t index = 1; index <= count; ++index) {
        PasteboardItemID item = 0;
        std::vector<std::string> flavors;
        PasteboardGetItemIdentifier(pasteboard, index, &item);
        PasteboardCopyItemFlavors(pasteboard, item, &flavors);
        items.emplace_back();
        for (const std::string& flavor : flavors) {
            CFDataRef data;
            if (PasteboardCopyItemFlavorData(pasteboard, item, flavor, &data) == noErr)
                items.back().emplace_back(flavor, *data);
        }
    }
    PasteboardRelease(pasteboard);
    return items;
}

// Another program owning the clipboard with a text, on a connection and a thread of its own; it
// counts how often the text is asked for. Take() takes the clipboard anew, as a new copy does.
struct CountingOwner {
    CountingOwner() { Take(); }
    ~CountingOwner() { stop = true, thread.join(); }
    void Take()
    {
        for (const int taken = ++takes; done < taken;)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    void serve()
    {
        Display* display = XOpenDisplay(nullptr);
        const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
        const Atom text = XInternAtom(display, "UTF8_STRING", False);
        for (XEvent event; !stop;) {
            if (done < takes) {
                XSetSelectionOwner(display, XInternAtom(display, "CLIPBOARD", False), window, CurrentTime);
                XSync(display, False);
                ++done;
            }
            const bool requested = XCheckTypedEvent(display, SelectionRequest, &event);
            requests += requested ? 1 : 0;
            if (!requested || silent) {
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
                continue;
            }
            // Only the text is given: a reader asks for it even when the list of targets is refused.
            const XSelectionRequestEvent& r = event.xselectionrequest;
            XSelectionEvent reply{SelectionNotify, 0, True, display, r.requestor, r.selection, r.target, None, r.time};
            if (r.target == text) {
                ++asked;
                reply.property = r.property;
                XChangeProperty(display, r.requestor, r.property, text, 8, PropModeReplace,
                                reinterpret_cast<const unsigned char*>("counted"), 7);
            }
            XSendEvent(display, r.requestor, False, 0, reinterpret_cast<XEvent*>(&reply));
            XSync(display, False);
        }
        XCloseDisplay(display);
    }
    std::atomic<bool> stop{false}, silent{false};
    std::atomic<int> takes{0}, done{0}, asked{0}, requests{0};
    std::thread thread{[this] { serve(); }};
};

} // namespace

TEST(HostSdl, ShowsTheHeadlessScreenAndDeliversRealInput)
{
    if (!XvfbServer::Installed())
        GTEST_SKIP() << "Xvfb is not installed: the SDL back end is not tried";
    XvfbServer server;
    ASSERT_TRUE(server.Running()) << "Xvfb did not start";

    HostDesktopScope desktop;
    HostUseSystemClock();
    ASSERT_TRUE(HostSelectBackend("headless"));
    drawScene();
    HostPixelMap expected;
    const HostPixelMap& headless = HostScreenPixels();
    ASSERT_EQ(noErr, expected.Allocate(headless.Bounds(), 32));
    for (int32_t y = 0; y < headless.Height(); ++y)
        for (int32_t x = 0; x < headless.Width(); ++x)
            expected.Set(x, y, headless.Get(x, y));

    setenv("DISPLAY", server.Display().c_str(), 1);
    std::string error;
    ASSERT_TRUE(HostSelectBackend("sdl", &error)) << error;
    EXPECT_STREQ("sdl", HostBackendName());

    // The window maps and is exposed; the screen follows within a moment.
    HostPixelMap shown;
    size_t differences = SIZE_MAX;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (differences != 0 && std::chrono::steady_clock::now() < deadline) {
        EventRecord ignored;
        WaitNextEvent(everyEvent, &ignored, 1, nullptr);
        if (HostCurrentBackend().ReadDisplay(shown) && shown.Width() == expected.Width() &&
            shown.Height() == expected.Height())
            differences = differencesFrom(expected, shown);
    }
    ASSERT_EQ(expected.Width(), shown.Width());
    ASSERT_EQ(expected.Height(), shown.Height());
    EXPECT_EQ(0u, differences) << "pixels the display shows differently from the headless screen";

    // Drawing later reaches the display too.
    WindowRef front = FrontNonFloatingWindow();
    SetPortWindowPort(front);
    const RGBColor red{0xFFFF, 0, 0};
    RGBForeColor(&red);
    const Rect patch{300, 300, 340, 340};
    PaintRect(&patch);
    QDFlushPortBuffer(GetWindowPort(front), nullptr);
    // The display is read through a connection of its own, so the patch may take a moment.
    uint32_t patchColour = 0;
    const auto patchDeadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    do {
        ASSERT_TRUE(HostCurrentBackend().ReadDisplay(shown));
        patchColour = HostDesktopScope::Rgb(shown.GetAt(620, 520));
    } while (patchColour != 0xFF0000u && std::chrono::steady_clock::now() < patchDeadline);
    EXPECT_EQ(0xFF0000u, patchColour);

    if (!ChildProcess::OnPath("xdotool")) {
        HostSelectBackend("headless");
        GTEST_SKIP() << "xdotool is not installed: real clicks and keys are not tried";
    }
    int32_t x = 0;
    int32_t y = 0;
    ASSERT_TRUE(HostCurrentBackend().DisplayOrigin(&x, &y));
    FlushEvents(everyEvent, 0);
    const std::string prefix = "DISPLAY=" + server.Display() + " xdotool ";
    const std::string click = prefix + "mousemove --sync " + std::to_string(x + 450) + " " + std::to_string(y + 250) +
                              " click 1";
    ASSERT_EQ(0, std::system(click.c_str()));
    EventRecord event;
    ASSERT_TRUE(waitFor(mDownMask, event)) << "no mouse-down arrived";
    EXPECT_EQ(250, event.where.v);
    EXPECT_EQ(450, event.where.h);
    EXPECT_EQ(0, event.modifiers & controlKey);
    WindowRef hit = nullptr;
    EXPECT_EQ(inContent, FindWindow(event.where, &hit));
    EXPECT_EQ(front, hit);
    ASSERT_TRUE(waitFor(mUpMask, event));

    // A right click is a click with the Control bit.
    ASSERT_EQ(0, std::system((prefix + "click 3").c_str()));
    ASSERT_TRUE(waitFor(mDownMask, event));
    EXPECT_EQ(controlKey, event.modifiers & controlKey);
    ASSERT_TRUE(waitFor(mUpMask, event));

    // Keys: typed text as Mac Roman, Ctrl as Command, the arrows and Return as their codes.
    ASSERT_EQ(0, std::system((prefix + "key a ctrl+s Left Return").c_str()));
    const struct {
        uint8_t character;
        EventModifiers modifiers;
    } keys[] = {{'a', 0}, {'s', cmdKey}, {28, 0}, {13, 0}};
    for (const auto& expectedKey : keys) {
        ASSERT_TRUE(waitFor(keyDownMask, event)) << "no key for " << int(expectedKey.character);
        EXPECT_EQ(expectedKey.character, event.message & charCodeMask);
        EXPECT_EQ(expectedKey.modifiers, event.modifiers & (cmdKey | shiftKey | optionKey | controlKey));
    }

    HostSelectBackend("headless");
    unsetenv("DISPLAY");
}

TEST(HostSdl, ThePasteboardHoldsTheTextAndTheTIFFOfTheDisplaysClipboard)
{
    if (!XvfbServer::Installed() || !XvfbServer::ClipboardToolInstalled())
        GTEST_SKIP() << "Xvfb or xclip is not installed";
    XvfbServer server;
    ASSERT_TRUE(server.Running()) << "Xvfb did not start";
    HostDesktopScope desktop;
    setenv("DISPLAY", server.Display().c_str(), 1);
    std::string error;
    ASSERT_TRUE(HostSelectBackend("sdl", &error)) << error;
    EXPECT_TRUE(clipboardItems().empty()) << "nobody owns the clipboard yet";

    const std::string accented = "hello \xC3\xA9";
    // More than a property holds at once: the owner sends it in pieces.
    std::vector<uint8_t> large(6 * 1024 * 1024);
    for (size_t i = 0; i < large.size(); ++i)
        large[i] = uint8_t('a' + i % 26);
    const struct {
        const char* target;
        std::vector<uint8_t> bytes;
        const char* flavor;
    } cases[] = {
        {"UTF8_STRING", std::vector<uint8_t>(accented.begin(), accented.end()), kUTTypeUTF8PlainText},
        {"text/plain;charset=utf-8", {'p', 'l', 'a', 'i', 'n'}, kUTTypeUTF8PlainText},
        {"UTF8_STRING", large, kUTTypeUTF8PlainText},
        {"image/tiff", MakeTIFF(3, 2, std::vector<uint32_t>(6, 0xFF2050A0)), kUTTypeTIFF},
        {"image/png", MakePatternPNG(3, 2), kUTTypePNG}, // also listed as a TIFF
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(server.PutOnClipboard(c.target, c.bytes)) << c.target;
        const auto items = clipboardItems();
        ASSERT_EQ(1u, items.size()) << c.target;
        ASSERT_EQ(c.flavor == kUTTypePNG ? 2u : 1u, items[0].size()) << c.target;
        EXPECT_EQ(c.flavor, items[0][0].first);
        EXPECT_TRUE(c.bytes == items[0][0].second) << c.target << ": " << items[0][0].second.size() << " bytes";
    }

    // The headless back end's clipboard is the tests' own again.
    ASSERT_TRUE(HostSelectBackend("headless"));
    EXPECT_TRUE(clipboardItems().empty());
}

TEST(HostSdl, TheDisplaysClipboardIsReadAgainOnlyAfterAnotherProgramTookIt)
{
    if (!XvfbServer::Installed())
        GTEST_SKIP() << "Xvfb is not installed";
    XvfbServer server;
    HostDesktopScope desktop;
    setenv("DISPLAY", server.Display().c_str(), 1);
    ASSERT_TRUE(server.Running() && HostSelectBackend("sdl"));
    {
        CountingOwner owner;
        PasteboardRef pasteboard = nullptr;
        ASSERT_EQ(noErr, PasteboardCreate(kPasteboardClipboard, &pasteboard));
        for (int i = 0; i < 5; ++i)
            PasteboardSynchronize(pasteboard); // focus returns with nothing copied meanwhile
        EXPECT_EQ(1, owner.asked);
        owner.Take();
        EXPECT_EQ(kPasteboardModified, PasteboardSynchronize(pasteboard)) << "a copy of the same text is new";
        EXPECT_EQ(0u, PasteboardSynchronize(pasteboard));
        EXPECT_EQ(2, owner.asked) << "a new copy is read once";
        // An owner that stops answering costs its second at the copy, not at every return.
        owner.silent = true;
        owner.Take();
        const int before = owner.requests;
        PasteboardSynchronize(pasteboard);
        const int unanswered = owner.requests;
        for (int i = 0; i < 3; ++i)
            PasteboardSynchronize(pasteboard);
        EXPECT_GT(unanswered, before);
        EXPECT_EQ(unanswered, owner.requests);
        PasteboardRelease(pasteboard);
    }
    ASSERT_TRUE(HostSelectBackend("headless"));
    unsetenv("DISPLAY");
}
