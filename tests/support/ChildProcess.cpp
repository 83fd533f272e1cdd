#include "ChildProcess.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

using Clock = std::chrono::steady_clock;

ChildProcess::ChildProcess(const std::vector<std::string>& args, const std::vector<std::string>& environment,
                           int keepFd)
{
    if (args.empty())
        return;
    // Built before the fork: the child only calls what is safe after forking a threaded process.
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
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
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(out[1]);
    if (mPid < 0) {
        close(out[0]);
        return;
    }
    mOut = out[0];
    fcntl(mOut, F_SETFL, O_NONBLOCK);
}

ChildProcess::~ChildProcess()
{
    if (mPid > 0 && !Ended(std::chrono::milliseconds(0))) {
        kill(mPid, SIGKILL);
        waitpid(mPid, nullptr, 0);
    }
    if (mOut >= 0)
        close(mOut);
}

std::string ChildProcess::WaitForLine(const std::string& text, std::chrono::milliseconds limit)
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

bool ChildProcess::Ended(std::chrono::milliseconds limit)
{
    if (mEnded)
        return true;
    if (mPid <= 0)
        return false;
    const auto deadline = Clock::now() + limit;
    do {
        int status = 0;
        if (waitpid(mPid, &status, WNOHANG) == mPid) {
            mEnded = true;
            mStatus = status;
            // Whatever it wrote before ending is still in the pipe.
            while (readSome(0)) {
            }
            return true;
        }
        // Reading also keeps a talkative child from blocking on a full pipe.
        if (!readSome(10))
            usleep(10000);
    } while (Clock::now() < deadline);
    return false;
}

void ChildProcess::Stop(std::chrono::milliseconds limit)
{
    if (mPid <= 0 || Ended(std::chrono::milliseconds(0)))
        return;
    kill(mPid, SIGTERM);
    if (Ended(limit))
        return;
    kill(mPid, SIGKILL);
    Ended(std::chrono::seconds(10));
}

std::string ChildProcess::Find(const char* name)
{
    const char* path = std::getenv("PATH");
    const std::string folders = path != nullptr ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= folders.size()) {
        size_t end = folders.find(':', start);
        if (end == std::string::npos)
            end = folders.size();
        const std::string candidate = folders.substr(start, end - start) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return "";
}

bool ChildProcess::readSome(int ms)
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
