// A program run as a child of the test, with extra environment entries and its standard output
// read through a pipe. Every wait is bounded; a child still running at the end is killed and
// reaped, so no test leaves a process behind.
#pragma once

#include <chrono>
#include <string>
#include <sys/types.h>
#include <vector>

class ChildProcess {
public:
    // Starts args[0] (looked up on PATH) with the rest as its arguments; environment holds
    // "NAME=value" entries added to the test's own. keepFd stays open in the child; every other
    // descriptor above standard error is closed.
    explicit ChildProcess(const std::vector<std::string>& args, const std::vector<std::string>& environment = {},
                          int keepFd = -1);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // The child's process id, or -1 when it could not be started.
    pid_t Pid() const { return mPid; }
    // The standard output read so far.
    const std::string& Output() const { return mOutput; }

    // Reads output until a line holds the text or the time is up; the whole line, or empty.
    std::string WaitForLine(const std::string& text, std::chrono::milliseconds limit);

    // Whether the child ended within the limit; its wait status is then in Status().
    bool Ended(std::chrono::milliseconds limit);
    int Status() const { return mStatus; }

    // Sends SIGTERM and waits up to the limit for the end; then, if needed, kills it outright.
    void Stop(std::chrono::milliseconds limit);

    // Whether an executable of that name is on PATH.
    static bool OnPath(const char* name) { return !Find(name).empty(); }
    // Its path, or empty.
    static std::string Find(const char* name);

private:
    // Waits up to ms for output and appends it; false at the end of the output or on timeout.
    bool readSome(int ms);

    pid_t mPid = -1;
    int mOut = -1;
    std::string mOutput;
    bool mEnded = false;
    int mStatus = 0;
};
