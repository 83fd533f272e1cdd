// The run application as a separate program on the SDL back end, shown on an X server started
// here: it opens the named layout, answers a real mouse click sent to that server, is suspended
// and resumed as its window loses and regains the input focus, and ends on SIGTERM. Every wait is bounded; the server and the program are always taken down.
#include "RunApplication.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

bool onPath(const char* name)
{
    const std::string command = std::string("command -v ") + name + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

// A child process with its standard output read through a pipe; killed and reaped at the end.
class Child {
public:
    Child(const std::vector<std::string>& args, const std::vector<std::string>& environment, int keepFd = -1)
    {
        int out[2];
        if (pipe(out) != 0)
            return;
        mPid = fork();
        if (mPid == 0) {
            dup2(out[1], STDOUT_FILENO);
            for (int fd = 3; fd < 1024; ++fd)
                if (fd != keepFd)
                    close(fd);
            for (const std::string& e : environment)
                putenv(const_cast<char*>(e.c_str()));
            std::vector<char*> argv;
            for (const std::string& a : args)
                argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execvp(argv[0], argv.data());
            _exit(127);
        }
        close(out[1]);
        mOut = out[0];
        fcntl(mOut, F_SETFL, O_NONBLOCK);
    }
    ~Child()
    {
        if (mPid > 0 && !Ended(std::chrono::milliseconds(0))) {
            kill(mPid, SIGKILL);
            waitpid(mPid, nullptr, 0);
        }
        if (mOut >= 0)
            close(mOut);
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    pid_t Pid() const { return mPid; }
    const std::string& Output() const { return mOutput; }

    // Reads output until a line holds the text or the time is up; the whole line, or empty.
    std::string WaitForLine(const std::string& text, std::chrono::milliseconds limit)
    {
        const auto deadline = Clock::now() + limit;
        for (;;) {
            std::istringstream lines(mOutput);
            for (std::string line; std::getline(lines, line);)
                if (line.find(text) != std::string::npos)
                    return line;
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0 || !readSome(int(left.count())))
                return "";
        }
    }

    // Whether the child ended within the limit; its exit status then in Status().
    bool Ended(std::chrono::milliseconds limit)
    {
        if (mEnded)
            return true;
        const auto deadline = Clock::now() + limit;
        do {
            int status = 0;
            if (waitpid(mPid, &status, WNOHANG) == mPid) {
                mEnded = true;
                mStatus = status;
                while (readSome(0)) {
                }
                return true;
            }
            readSome(10);
        } while (Clock::now() < deadline);
        return false;
    }
    int Status() const { return mStatus; }

private:
    // Waits up to ms for output and appends it; false at the end of the output or on timeout.
    bool readSome(int ms)
    {
        if (mOut < 0)
            return false;
        pollfd fd{mOut, POLLIN, 0};
        if (poll(&fd, 1, ms) <= 0)
            return false;
        char buffer[4096];
        const ssize_t n = read(mOut, buffer, sizeof buffer);
        if (n <= 0)
            return false;
        mOutput.append(buffer, size_t(n));
        return true;
    }

    pid_t mPid = -1;
    int mOut = -1;
    std::string mOutput;
    bool mEnded = false;
    int mStatus = 0;
};

// An Xvfb server on a free display: the server picks the number and writes it to a pipe. Servers
// of other tests may start at the same time and take the number first; then the server ends,
// and another is started.
class XServer {
public:
    XServer()
    {
        for (int attempt = 0; attempt < 4 && mDisplay.empty(); ++attempt)
            start();
    }
    ~XServer() { stop(); }

    bool Running() const { return !mDisplay.empty(); }
    const std::string& Display() const { return mDisplay; }

private:
    void start()
    {
        int fds[2];
        if (pipe(fds) != 0)
            return;
        mServer = std::make_unique<Child>(std::vector<std::string>{"Xvfb", "-displayfd", std::to_string(fds[1]),
                                                                   "-screen", "0", "1400x900x24", "-nolisten", "tcp"},
                                          std::vector<std::string>{}, fds[1]);
        close(fds[1]);
        pollfd fd{fds[0], POLLIN, 0};
        char buffer[32] = {};
        std::string display;
        if (poll(&fd, 1, 20000) > 0 && read(fds[0], buffer, sizeof buffer - 1) > 0 && buffer[0] >= '0' &&
            buffer[0] <= '9')
            display = ":" + std::to_string(std::atoi(buffer));
        close(fds[0]);
        // A server that ends at once lost its display to another one.
        if (display.empty() || mServer->Ended(std::chrono::milliseconds(300))) {
            stop();
            return;
        }
        mDisplay = display;
    }

    void stop()
    {
        if (mServer != nullptr && mServer->Pid() > 0 && !mServer->Ended(std::chrono::milliseconds(0))) {
            kill(mServer->Pid(), SIGTERM);
            mServer->Ended(std::chrono::seconds(10));
        }
        mServer.reset();
    }

    std::unique_ptr<Child> mServer;
    std::string mDisplay;
};

} // namespace

TEST(RunProgram, AnswersARealClickAndFocusChangesOnTheDisplayAndEndsOnSigterm)
{
    if (!onPath("Xvfb") || !onPath("xdotool"))
        GTEST_SKIP() << "Xvfb or xdotool is not installed";
    TempFolder folder;
    const std::string layout = folder.File("layout.rsrc");
    ASSERT_TRUE(MakeRunLayoutFile(layout));

    XServer server;
    ASSERT_TRUE(server.Running()) << "Xvfb did not start";
    Child program({RUNAPP_PATH, layout}, {"DISPLAY=" + server.Display(), "FW_HOST_BACKEND=sdl"});
    ASSERT_GT(program.Pid(), 0);

    const std::string backend = program.WaitForLine("backend ", std::chrono::seconds(60));
    ASSERT_NE("", backend) << program.Output();
    char name[32] = {};
    int originX = 0, originY = 0;
    ASSERT_EQ(3, std::sscanf(backend.c_str(), "backend %31s origin %d %d", name, &originX, &originY));
    EXPECT_STREQ("sdl", name);
    const std::string probe = program.WaitForLine("probe at ", std::chrono::seconds(60));
    ASSERT_NE("", probe) << program.Output();
    int h = 0, v = 0;
    ASSERT_EQ(2, std::sscanf(probe.c_str(), "probe at %d %d", &h, &v));

    // A real click on the probe, through the X server.
    const std::string click = "DISPLAY=" + server.Display() + " timeout 20 xdotool mousemove --sync " +
                              std::to_string(originX + h) + " " + std::to_string(originY + v) + " click 1";
    ASSERT_EQ(0, std::system(click.c_str()));
    EXPECT_NE("", program.WaitForLine("probe mouse down", std::chrono::seconds(60))) << program.Output();
    EXPECT_NE("", program.WaitForLine("application mouse down", std::chrono::seconds(10))) << program.Output();

    // The display window losing the input focus suspends the program; getting it back resumes it.
    const std::string xdo = "DISPLAY=" + server.Display() + " timeout 20 xdotool ";
    std::string window;
    if (FILE* search = popen((xdo + "search --name runapp").c_str(), "r")) {
        char line[64] = {};
        if (std::fgets(line, sizeof line, search) != nullptr)
            window = std::to_string(std::atol(line));
        pclose(search);
    }
    ASSERT_NE("", window);
    ASSERT_EQ(0, std::system((xdo + "windowfocus --sync " + window).c_str()));
    ASSERT_EQ(0, std::system((xdo + "windowunmap --sync " + window).c_str()));
    EXPECT_NE("", program.WaitForLine("suspend", std::chrono::seconds(60))) << program.Output();
    ASSERT_EQ(0, std::system((xdo + "windowmap --sync " + window).c_str()));
    ASSERT_EQ(0, std::system((xdo + "windowfocus --sync " + window).c_str()));
    EXPECT_NE("", program.WaitForLine("resume", std::chrono::seconds(60))) << program.Output();

    ASSERT_EQ(0, kill(program.Pid(), SIGTERM));
    ASSERT_TRUE(program.Ended(std::chrono::seconds(60))) << program.Output();
    EXPECT_TRUE(WIFEXITED(program.Status())) << program.Output();
    EXPECT_EQ(0, WEXITSTATUS(program.Status())) << program.Output();
    EXPECT_NE("", program.WaitForLine("quit", std::chrono::milliseconds(0))) << program.Output();
}
