// An Xvfb server (1400 x 900 unless told otherwise, 24 bits, no TCP) on a free display, for
// tests of the SDL back end.
// The server picks the display number itself. Servers of other tests may start at the same time
// and take that number first; such a server ends at once, and another one is started. Starting
// is bounded in time, and the server is always taken down with this object.
#pragma once

#include "ChildProcess.h"

#include <csignal>
#include <memory>
#include <cstdint>
#include <string>
#include <vector>

class XvfbServer {
public:
    explicit XvfbServer(int width = 1400, int height = 900);
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // Whether Xvfb is on PATH; tests skip when it is not.
    static bool Installed() { return ChildProcess::OnPath("Xvfb"); }

    bool Running() const { return !mDisplay.empty(); }
    // Ends the server now, as when a user logs out.
    void End() { stop(); }
    // Stops the server (SIGSTOP), as one that hung: it still takes connections but answers none;
    // or lets it go on (SIGCONT).
    void Freeze(bool frozen) const { if (Running()) kill(mServer->Pid(), frozen ? SIGSTOP : SIGCONT); }
    // The display name, such as ":3"; empty when the server did not start.
    const std::string& Display() const { return mDisplay; }

    // Whether xclip is on PATH; clipboard tests skip when it is not.
    static bool ClipboardToolInstalled() { return ChildProcess::OnPath("xclip"); }
    // Has xclip own the server's clipboard, offering the bytes under the target (such as
    // "UTF8_STRING" or "image/tiff") until another owner takes it or the server ends.
    bool PutOnClipboard(const std::string& target, const std::vector<uint8_t>& bytes) const;

private:
    void start();
    void stop();

    std::string mScreen; // "WIDTHxHEIGHTx24"
    std::unique_ptr<ChildProcess> mServer;
    std::string mDisplay;
    int mLock = -1; // held while the server runs: one test server at a time across test programs
};
