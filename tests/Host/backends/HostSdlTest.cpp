// The SDL back end on a real X server (Xvfb started here): it shows the same screen as the
// headless back end, and clicks and keys sent to the server through XTest (xdotool) come out
// of the event wait.
#include "ChildProcess.h"
#include "ClipboardOwner.h"
#include "HostBackend.h"
#include "HostClock.h"
#include "HostDesktopScope.h"
#include "HostEvents.h"
#include "HostPasteboard.h"
#include "HostScreen.h"
#include "HostWindows.h"
#include "HostX11Clipboard.h"
#include "TIFFMaker.h"
#include "TempFolder.h"
#include "XvfbServer.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
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

// The flavours of the clipboard's one item, "?" marking one on its way; "-" for no item.
std::string flavorsOf(PasteboardRef pasteboard)
{
    uint32_t count = 0;
    PasteboardItemID item = 0;
    std::vector<std::string> flavors;
    if (PasteboardGetItemCount(pasteboard, &count) != noErr || count != 1 ||
        PasteboardGetItemIdentifier(pasteboard, 1, &item) != noErr ||
        PasteboardCopyItemFlavors(pasteboard, item, &flavors) != noErr)
        return "-";
    std::string listed;
    for (const std::string& flavor : flavors) {
        PasteboardFlavorFlags flags = 0;
        PasteboardGetItemFlavorFlags(pasteboard, item, flavor, &flags);
        listed += (listed.empty() ? "" : " ") + flavor + ((flags & kPasteboardFlavorPromised) != 0 ? "?" : "");
    }
    return listed;
}

// Waits in the event wait, as the program does, until the clipboard lists the flavours, of a new
// copy unless the parts of the last one are awaited; the limit only catches a hang. Answers what
// it listed last.
std::string awaitFlavors(PasteboardRef pasteboard, const std::string& expected, bool newCopy = true)
{
    static PasteboardItemID sLastCopy = 0;
    const PasteboardItemID last = sLastCopy;
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    std::string listed;
    while (((listed = flavorsOf(pasteboard)) != expected ||
            (newCopy && PasteboardGetItemIdentifier(pasteboard, 1, &sLastCopy) == noErr && sLastCopy == last)) &&
           std::chrono::steady_clock::now() < limit) {
        EventRecord event;
        WaitNextEvent(osMask, &event, 6, nullptr);
        PasteboardSynchronize(pasteboard);
    }
    return listed;
}

std::vector<uint8_t> bytesOf(PasteboardRef pasteboard, const char* flavor)
{
    PasteboardItemID item = 0;
    CFDataRef data;
    if (PasteboardGetItemIdentifier(pasteboard, 1, &item) != noErr ||
        PasteboardCopyItemFlavorData(pasteboard, item, flavor, &data) != noErr)
        return {};
    return *data;
}

std::vector<uint8_t> bytes(const std::string& text)
{
    return std::vector<uint8_t>(text.begin(), text.end());
}

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

    // Keys: typed text as Mac Roman, Ctrl as Command (Ctrl+period once, though SDL also sends its
    // text), the arrows and Return as their codes.
    ASSERT_EQ(0, std::system((prefix + "key a ctrl+s ctrl+period Left Return").c_str()));
    const struct {
        uint8_t character;
        EventModifiers modifiers;
    } keys[] = {{'a', 0}, {'s', cmdKey}, {'.', cmdKey}, {28, 0}, {13, 0}};
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
    PasteboardRef pasteboard = nullptr;
    ASSERT_EQ(noErr, PasteboardCreate(kPasteboardClipboard, &pasteboard));
    EXPECT_EQ("-", flavorsOf(pasteboard)) << "nobody owns the clipboard yet";

    const std::string accented = "hello \xC3\xA9";
    // More than a property holds at once: the owner sends it in pieces.
    std::vector<uint8_t> large(6 * 1024 * 1024);
    for (size_t i = 0; i < large.size(); ++i)
        large[i] = uint8_t('a' + i % 26);
    const std::string text = kUTTypeUTF8PlainText;
    const struct {
        const char* target;
        std::vector<uint8_t> bytes;
        std::string flavors;
    } cases[] = {
        {"UTF8_STRING", bytes(accented), text},
        {"text/plain;charset=utf-8", {'p', 'l', 'a', 'i', 'n'}, text},
        {"UTF8_STRING", large, text},
        {"image/tiff", MakeTIFF(3, 2, std::vector<uint32_t>(6, 0xFF2050A0)), kUTTypeTIFF},
        {"image/png", MakePatternPNG(3, 2), std::string(kUTTypePNG) + " " + kUTTypeTIFF}, // also listed as a TIFF
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(server.PutOnClipboard(c.target, c.bytes)) << c.target;
        ASSERT_EQ(c.flavors, awaitFlavors(pasteboard, c.flavors)) << c.target;
        const std::vector<uint8_t> read = bytesOf(pasteboard, c.flavors.substr(0, c.flavors.find(' ')).c_str());
        EXPECT_TRUE(c.bytes == read) << c.target << ": " << read.size() << " bytes";
        // Lent to their reader, the bytes go with it; the clipboard keeps what tells them apart.
        EXPECT_TRUE(bytesOf(pasteboard, c.flavors.substr(0, c.flavors.find(' ')).c_str()).empty());
    }
    PasteboardRelease(pasteboard);

    // The headless back end's clipboard is the tests' own again.
    ASSERT_TRUE(HostSelectBackend("headless"));
    ASSERT_EQ(noErr, PasteboardCreate(kPasteboardClipboard, &pasteboard));
    EXPECT_EQ("-", flavorsOf(pasteboard));
    PasteboardRelease(pasteboard);
}

TEST(HostSdl, TheDisplaysClipboardArrivesInTheBackgroundPartByPart)
{
    if (!XvfbServer::Installed())
        GTEST_SKIP() << "Xvfb is not installed";
    XvfbServer server;
    HostDesktopScope desktop;
    setenv("DISPLAY", server.Display().c_str(), 1);
    ASSERT_TRUE(server.Running() && HostSelectBackend("sdl"));
    const std::string text = kUTTypeUTF8PlainText;
    const std::string png = std::string(kUTTypePNG) + " " + kUTTypeTIFF;
    PasteboardRef pasteboard = nullptr;
    ASSERT_EQ(noErr, PasteboardCreate(kPasteboardClipboard, &pasteboard));
    {
        ClipboardOwner owner(server.Display(), {{"UTF8_STRING", bytes("counted")}});
        ASSERT_EQ(text, awaitFlavors(pasteboard, text));
        EXPECT_EQ(bytes("counted"), bytesOf(pasteboard, kUTTypeUTF8PlainText));
        const int asked = owner.requests;
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(0u, PasteboardSynchronize(pasteboard)); // focus returns with nothing copied meanwhile
        EXPECT_EQ(asked, owner.requests);
        owner.Take();
        ASSERT_EQ(text, awaitFlavors(pasteboard, text));
        EXPECT_EQ(bytes("counted"), bytesOf(pasteboard, kUTTypeUTF8PlainText)) << "a copy of the same text is new";
        EXPECT_EQ(asked + 2, owner.requests) << "a new copy is read once: its targets and its text";
    }
    // Owners sending in pieces: the text arrives while the image is on its way. Pauses of seconds
    // are waited through, however many, and so is a toolkit making its image before it answers. A
    // busy owner that does not answer is asked again; an answer that comes twice is taken once.
    const std::vector<uint8_t> image = MakePatternPNG(3, 2);
    const std::string coming = text + " " + kUTTypePNG + "? " + kUTTypeTIFF + "?";
    const struct {
        ClipboardOwner::Pace pace;
        std::string flavors;
    } owners[] = {
        {{3, std::chrono::milliseconds(10)}, text + " " + png},                // text and image whole
        {{image.size() / 2 + 1, std::chrono::milliseconds(1500)}, text + " " + png}, // pauses
        {{0, std::chrono::milliseconds(0), SIZE_MAX, 1}, text + " " + png},   // busy at first
        {{0, std::chrono::milliseconds(0), SIZE_MAX, 0, true}, text + " " + png}, // a late answer comes
        {{.delay = std::chrono::milliseconds(1500)}, text + " " + png},        // slow to answer
    };
    for (const auto& o : owners) {
        ClipboardOwner owner(server.Display(), {{"UTF8_STRING", bytes("Pasted")}, {"image/png", image}}, o.pace);
        if (o.pace.gap.count() == 1500) {
            EXPECT_EQ(coming, awaitFlavors(pasteboard, coming)) << "the text before the image";
        }
        EXPECT_EQ(o.flavors, awaitFlavors(pasteboard, o.flavors, o.pace.gap.count() != 1500)) << o.pace.gap.count() << " ms";
        if (!o.flavors.empty()) {
            EXPECT_EQ(bytes("Pasted"), bytesOf(pasteboard, kUTTypeUTF8PlainText));
        }
        if (o.flavors.find(kUTTypePNG) != std::string::npos) {
            EXPECT_EQ(image, bytesOf(pasteboard, kUTTypeTIFF));
        }
    }
    // The display closes in the middle of a transfer: the reader stops there, leaving nothing.
    ClipboardOwner trickling(server.Display(), {{"UTF8_STRING", bytes("Pasted")}, {"image/png", image}},
                             {3, std::chrono::milliseconds(600)});
    EXPECT_EQ(coming, awaitFlavors(pasteboard, coming));
    PasteboardRelease(pasteboard);
    ASSERT_TRUE(HostSelectBackend("headless"));
    unsetenv("DISPLAY");
}

// The reader alone, most owners given a third of a second of silence: what it makes of each.
TEST(HostSdl, TheClipboardReaderTakesWhatEachOwnerSends)
{
    XvfbServer server;
    if (!XvfbServer::Installed() || !server.Running())
        GTEST_SKIP() << "Xvfb is not installed or did not start";
    setenv("DISPLAY", server.Display().c_str(), 1);
    using Clock = std::chrono::steady_clock;
    using Part = HostX11ClipboardCopy::Part;
    using Answer = ClipboardOwner::Answer;
    using ms = std::chrono::milliseconds;
    auto wake = [] {};
    // Takes the reader's copies until the one awaited; the limit only catches a hang.
    auto settled = [](HostX11ClipboardReader& reader, auto awaited) {
        HostX11ClipboardCopy copy;
        for (const auto limit = Clock::now() + std::chrono::seconds(90); Clock::now() < limit;) {
            if (reader.Take(copy) && awaited(copy))
                break;
            std::this_thread::sleep_for(ms(5));
        }
        return copy;
    };
    auto textOf = [](const HostX11ClipboardCopy& c) {
        return c.text == Part::kHere ? std::string(c.utf8->begin(), c.utf8->end()) : "-";
    };
    auto imageOf = [](const HostX11ClipboardCopy& c) { return c.image != Part::kHere ? "-" : c.png ? "png" : "tiff"; };
    const std::vector<uint8_t> png = MakePatternPNG(3, 2);
    const std::vector<uint8_t> tiff = MakeTIFF(3, 2, std::vector<uint32_t>(6, 0xFF2050A0));
    const std::string large(size_t(64 << 20) + 1000, 'x');
    const ClipboardOwner::Offer text{"UTF8_STRING", bytes("Pasted")};
    const struct {
        std::vector<ClipboardOwner::Offer> offers;
        ClipboardOwner::Pace pace;
        std::string text;
        const char* image;
    } owners[] = {
        {{text, {"image/png", png}}, {3, ms(10), 20}, "Pasted", "-"}, // falls silent after 20 pieces
        {{text, {"image/png", png}}, {3, ms(10), 0}, "-", "-"},       // silent after its targets
        {{{"UTF8_STRING", bytes("x"), Answer::kIgnore}, {"image/png", png}}, {}, "-", "png"}, // its text silent
        {{text, {"image/png", png}, {"image/tiff", tiff}}, {}, "Pasted", "png"}, // PNG listed first
        {{text, {"image/tiff", tiff, Answer::kRefuse}, {"image/png", png}}, {}, "Pasted", "png"}, // TIFF refused
        {{text, {"image/tiff", tiff}}, {.stray = true}, "Pasted", "tiff"}, // a notice nobody asked for
        {{text, {"image/tiff", tiff}}, {.cut = true}, "Pasted", "tiff"},   // the reader's connection broken
        {{text, {"image/png", png}}, {.delay = ms(700)}, "-", "-"}, // its targets once patience grew
        {{{"UTF8_STRING", bytes(large)}}, {1 << 20}, large.substr(0, 64 << 20), "-"}, // cut at the bound
    };
    for (const auto& o : owners) {
        ClipboardOwner owner(server.Display(), o.offers, o.pace);
        const auto start = Clock::now();
        HostX11ClipboardReader reader(wake, ms(300));
        const HostX11ClipboardCopy copy = settled(reader, [](const HostX11ClipboardCopy& c) {
            return c.owned && c.text != Part::kComing && c.image != Part::kComing;
        });
        EXPECT_TRUE(copy.owned && textOf(copy) == o.text) << o.offers.size() << " offers, " << textOf(copy).size() << " bytes";
        EXPECT_STREQ(o.image, imageOf(copy)) << o.offers.size() << " offers";
        if (o.pace.stopAfter == 20) {
            EXPECT_LT(Clock::now() - start, std::chrono::seconds(4)) << "a silence after many pieces is one silence";
        }
    }

    // With the programs' silence: a new copy during a read restarts it, the last of a burst is the
    // one held, and the program's end stops a read at once. The reader takes no end signal.
    auto blockingSignals = [] { // threads that block SIGHUP, SIGINT and SIGTERM
        int threads = 0;
        for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
            const std::string status = TempFolder::ReadFile(task.path() / "status");
            threads += (std::stoull(status.substr(status.find("SigBlk:") + 7), nullptr, 16) & 0x4003) == 0x4003;
        }
        return threads;
    };
    ClipboardOwner stalled(server.Display(), {text, {"image/png", png}}, {3, ms(10), 4});
    const int blocking = blockingSignals();
    auto reader = std::make_unique<HostX11ClipboardReader>(wake);
    EXPECT_EQ(blocking + 1, blockingSignals());
    auto stalling = [&](const HostX11ClipboardCopy& c) { return textOf(c) == "Pasted" && c.image == Part::kComing; };
    settled(*reader, stalling);
    auto start = Clock::now();
    ClipboardOwner first(server.Display(), {{"UTF8_STRING", bytes("first")}});
    ClipboardOwner last(server.Display(), {{"UTF8_STRING", bytes("last")}});
    EXPECT_EQ("last", textOf(settled(*reader, [&](const HostX11ClipboardCopy& c) { return textOf(c) == "last"; })));
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(15)) << "the stalled read was left for the new copy";
    stalled.Take();
    EXPECT_TRUE(stalling(settled(*reader, stalling)));
    start = Clock::now();
    reader.reset();
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(15)) << "the end waited for the stalled read";
    unsetenv("DISPLAY");
}

TEST(HostSdl, AnIdleWaitSleepsUntilItsEnd)
{
    XvfbServer server;
    if (!XvfbServer::Installed() || !server.Running())
        GTEST_SKIP() << "Xvfb is not installed or did not start";
    HostDesktopScope desktop;
    HostUseSystemClock();
    setenv("DISPLAY", server.Display().c_str(), 1);
    ASSERT_TRUE(HostSelectBackend("sdl"));
    EventRecord event;
    while (WaitNextEvent(everyEvent, &event, 30, nullptr)) { // the window maps and draws
    }
    // A second with nothing to do: a sleep or two, where a polling wait has hundreds.
    const uint64_t before = HostCurrentBackend().WaitCount();
    EXPECT_FALSE(WaitNextEvent(everyEvent, &event, 60, nullptr));
    EXPECT_LE(HostCurrentBackend().WaitCount() - before, 15u);
    HostSelectBackend("headless");
    unsetenv("DISPLAY");
}
