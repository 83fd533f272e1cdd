#include "XvfbServer.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <poll.h>
#include <unistd.h>
#include <vector>

namespace {
const int kAttempts = 6;
const int kStartMilliseconds = 20000;

// Waits for the pipe to become readable. A signal to the test program (its timers, a child's end)
// interrupts poll; closing the pipe then would make the server fail to report its display.
bool waitReadable(int fd, int milliseconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now()).count();
        if (left <= 0)
            return false;
        pollfd p{fd, POLLIN, 0};
        const int n = poll(&p, 1, static_cast<int>(left));
        if (n > 0)
            return true;
        if (n == 0 || errno != EINTR)
            return false;
    }
}
} // namespace

XvfbServer::XvfbServer(int width, int height) : mScreen(std::to_string(width) + "x" + std::to_string(height) + "x24")
{
    // Servers started side by side by parallel test programs have failed to report their display,
    // so the test programs take turns, on a lock on the server's program: every test run on the
    // machine sees it, and it leaves no file behind.
    mLock = open(ChildProcess::Find("Xvfb").c_str(), O_RDONLY | O_CLOEXEC);
    if (mLock >= 0)
        flock(mLock, LOCK_EX);
    // A server has also, rarely, failed to report its display several times within a second, so
    // the attempts are spread over a few seconds.
    for (int attempt = 0; attempt < kAttempts && mDisplay.empty(); ++attempt) {
        if (attempt > 0)
            usleep(useconds_t(250000 * attempt));
        start();
    }
}

XvfbServer::~XvfbServer()
{
    stop();
    if (mLock >= 0)
        close(mLock);
}

void XvfbServer::start()
{
    // The server writes the display number it chose to this pipe once it accepts connections.
    int fds[2];
    if (pipe(fds) != 0)
        return;
    mServer = std::make_unique<ChildProcess>(std::vector<std::string>{"Xvfb", "-displayfd", std::to_string(fds[1]),
                                                                      "-screen", "0", mScreen, "-nolisten",
                                                                      "tcp"},
                                             std::vector<std::string>{}, fds[1]);
    close(fds[1]);
    char buffer[32] = {};
    std::string display;
    if (mServer->Pid() > 0 && waitReadable(fds[0], kStartMilliseconds) && read(fds[0], buffer, sizeof buffer - 1) > 0 &&
        buffer[0] >= '0' && buffer[0] <= '9')
        display = ":" + std::to_string(std::atoi(buffer));
    close(fds[0]);
    // A server that ends at once lost its display to another one.
    if (display.empty() || mServer->Ended(std::chrono::milliseconds(300))) {
        stop();
        return;
    }
    mDisplay = display;
}

void XvfbServer::stop()
{
    if (mServer != nullptr)
        mServer->Stop(std::chrono::seconds(10));
    mServer.reset();
    mDisplay.clear();
}

bool XvfbServer::PutOnClipboard(const std::string& target, const std::vector<uint8_t>& bytes) const
{
    if (!Running())
        return false;
    char name[] = "/tmp/fw-clipboard-XXXXXX";
    const int fd = mkstemp(name);
    if (fd < 0)
        return false;
    bool written = true;
    for (size_t done = 0; written && done < bytes.size();) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        written = n > 0;
        done += written ? size_t(n) : 0;
    }
    close(fd);
    // xclip takes the clipboard, then serves it from a process of its own while this one ends.
    const std::string command = "DISPLAY=" + mDisplay + " timeout 20 xclip -selection clipboard -t '" + target +
                                "' -i " + name + " >/dev/null 2>&1";
    bool ok = written && std::system(command.c_str()) == 0;
    // xclip's serving process takes the clipboard a moment after the command ends: wait until the
    // clipboard gives these bytes.
    const std::string check = "DISPLAY=" + mDisplay + " timeout 20 xclip -o -selection clipboard -t '" + target +
                              "' 2>/dev/null | cmp -s - " + name;
    bool served = false;
    for (int attempt = 0; ok && !served && attempt < 100; ++attempt) {
        served = std::system(check.c_str()) == 0;
        if (!served)
            usleep(100000);
    }
    unlink(name);
    return ok && served;
}
