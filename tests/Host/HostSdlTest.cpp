// The SDL back end on a real X server (Xvfb started here): it shows the same screen as the
// headless back end, and clicks and keys sent to the server through XTest (xdotool) come out
// of the event wait.
#include "HostBackend.h"
#include "HostClock.h"
#include "HostDesktopScope.h"
#include "HostEvents.h"
#include "HostScreen.h"
#include "HostWindows.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

bool executableOnPath(const char* name)
{
    const char* path = std::getenv("PATH");
    std::string folders = path != nullptr ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= folders.size()) {
        size_t end = folders.find(':', start);
        if (end == std::string::npos)
            end = folders.size();
        const std::string candidate = folders.substr(start, end - start) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0)
            return true;
        start = end + 1;
    }
    return false;
}

// An Xvfb server of this test, on display :97 or, when that one is taken, any free one.
class XServer {
public:
    XServer()
    {
        if (!start({"Xvfb", ":97", "-screen", "0", "1400x900x24", "-nolisten", "tcp"}, 97))
            startAnywhere();
    }
    ~XServer()
    {
        if (mPid > 0) {
            kill(mPid, SIGTERM);
            waitpid(mPid, nullptr, 0);
        }
    }
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    bool Running() const { return mPid > 0; }
    const std::string& Display() const { return mDisplay; }

private:
    bool start(std::vector<std::string> args, int number)
    {
        const pid_t pid = spawn(args, -1);
        if (pid <= 0)
            return false;
        const std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
        for (int i = 0; i < 200; ++i) {
            if (waitpid(pid, nullptr, WNOHANG) == pid)
                return false; // it ended: the display is taken
            struct stat info;
            if (i > 2 && stat(socket.c_str(), &info) == 0) {
                mPid = pid;
                mDisplay = ":" + std::to_string(number);
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        return false;
    }

    void startAnywhere()
    {
        int fds[2];
        if (pipe(fds) != 0)
            return;
        const pid_t pid = spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1400x900x24",
                                 "-nolisten", "tcp"},
                                fds[1]);
        close(fds[1]);
        char buffer[32] = {};
        ssize_t n = pid > 0 ? read(fds[0], buffer, sizeof(buffer) - 1) : -1;
        close(fds[0]);
        if (n <= 0) {
            if (pid > 0) {
                kill(pid, SIGTERM);
                waitpid(pid, nullptr, 0);
            }
            return;
        }
        mPid = pid;
        mDisplay = ":" + std::to_string(std::atoi(buffer));
    }

    static pid_t spawn(const std::vector<std::string>& args, int keepFd)
    {
        const pid_t pid = fork();
        if (pid != 0)
            return pid;
        for (int fd = 3; fd < 256; ++fd)
            if (fd != keepFd)
                close(fd);
        std::vector<char*> argv;
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }

    pid_t mPid = -1;
    std::string mDisplay;
};

// Waits (for real) until an event of the mask comes out of the event wait.
bool waitFor(EventMask mask, EventRecord& event)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
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

} // namespace

TEST(HostSdl, ShowsTheHeadlessScreenAndDeliversRealInput)
{
    if (!executableOnPath("Xvfb"))
        GTEST_SKIP() << "Xvfb is not installed: the SDL back end is not tried";
    XServer server;
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
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
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
    ASSERT_TRUE(HostCurrentBackend().ReadDisplay(shown));
    EXPECT_EQ(0xFF0000u, HostDesktopScope::Rgb(shown.GetAt(620, 520)));

    if (!executableOnPath("xdotool")) {
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
