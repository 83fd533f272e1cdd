#include "XvfbServer.h"

#include <cstdlib>
#include <poll.h>
#include <unistd.h>
#include <vector>

namespace {
const int kAttempts = 4;
const int kStartMilliseconds = 20000;
} // namespace

XvfbServer::XvfbServer(int width, int height) : mScreen(std::to_string(width) + "x" + std::to_string(height) + "x24")
{
    for (int attempt = 0; attempt < kAttempts && mDisplay.empty(); ++attempt)
        start();
}

XvfbServer::~XvfbServer()
{
    stop();
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
    pollfd fd{fds[0], POLLIN, 0};
    char buffer[32] = {};
    std::string display;
    if (mServer->Pid() > 0 && poll(&fd, 1, kStartMilliseconds) > 0 && read(fds[0], buffer, sizeof buffer - 1) > 0 &&
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
