// The process's X error handlers. A protocol error on the clipboard reader's connection fails its
// read; one on SDL's connection (a request about a window another client has just destroyed, for
// instance) is reported and the program goes on, so an error noticed while closing the display at
// exit never turns a finished run into a failure. An I/O error means the display is gone.
#include "HostX11Errors.h"

#include "HostReplacementFile.h"

#include <X11/Xlib.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

// The clipboard reader runs on a thread of its own; errors come on the thread of the connection.
std::atomic<Display*> sReader{nullptr};
std::atomic<bool> sReaderFailed{false};

int onError(Display* display, XErrorEvent* error)
{
    if (display == sReader) {
        sReaderFailed = true;
        return 0;
    }
    char text[160] = "";
    XGetErrorText(display, error->error_code, text, sizeof text);
    std::fprintf(stderr, "%s: X error ignored: %s (request %d.%d)\n", program_invocation_short_name, text,
                 int(error->request_code), int(error->minor_code));
    return 0;
}

// Xlib ends the process when this returns; it never does.
int onIOError(Display*)
{
    HostEndForLostDisplay();
}

} // namespace

void HostX11HandleErrors()
{
    static bool sInstalled = false;
    if (sInstalled)
        return;
    sInstalled = true;
    // Connections are used from two threads: the program's and the clipboard reader's.
    XInitThreads();
    XSetErrorHandler(onError);
    XSetIOErrorHandler(onIOError);
}

void HostX11SetReaderConnection(_XDisplay* display)
{
    sReader = display;
    sReaderFailed = false;
}

bool HostX11ReaderFailed()
{
    return sReaderFailed;
}

void HostEndForLostDisplay()
{
    // Xlib's own way out would run the static destructors, which close the display through the
    // dead connection and wait there for ever. Both threads may find the display gone: one says so.
    static std::atomic<bool> sEnding{false};
    if (sEnding.exchange(true))
        for (;;)
            pause();
    // A save under way stays unfinished: its hidden file goes, the file saved over stays whole.
    HostRemoveUnfinishedSaves();
    const char* display = std::getenv("DISPLAY");
    std::fprintf(stderr, "%s: the connection to display %s was lost; ending.\n", program_invocation_short_name,
                 display != nullptr ? display : "");
    std::fflush(nullptr);
    _exit(1);
}
