// The process's X error handlers. A protocol error on a connection of the clipboard reader fails
// what it was doing, and its break is the reader's alone; one on SDL's connection (a request about a window another client has just destroyed, for
// instance) is reported and the program goes on, so an error noticed while closing the display at
// exit never turns a finished run into a failure. An I/O error on SDL's connection means the
// display is gone.
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
struct ReaderSlot {
    std::atomic<Display*> display{nullptr};
    std::atomic<HostX11ReaderLink*> link{nullptr};
};
ReaderSlot sReaders[2];

HostX11ReaderLink* readerLink(Display* display)
{
    for (ReaderSlot& slot : sReaders)
        if (slot.display == display)
            return slot.link;
    return nullptr;
}

int onError(Display* display, XErrorEvent* error)
{
    if (HostX11ReaderLink* link = readerLink(display)) {
        link->failed = true;
        return 0;
    }
    char text[160] = "";
    XGetErrorText(display, error->error_code, text, sizeof text);
    std::fprintf(stderr, "%s: X error ignored: %s (request %d.%d)\n", program_invocation_short_name, text,
                 int(error->request_code), int(error->minor_code));
    return 0;
}

// Xlib then calls the connection's exit handler, which ends the process unless it is a reader's.
int onIOError(Display* display)
{
    if (readerLink(display) == nullptr)
        HostEndForLostDisplay();
    return 0;
}

// A reader's connection broke: Xlib makes every later call on it return at once.
void onReaderBreak(Display*, void* link)
{
    static_cast<HostX11ReaderLink*>(link)->broken = true;
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

void HostX11AdoptReaderConnection(_XDisplay* display, HostX11ReaderLink& link)
{
    XSetIOErrorExitHandler(display, onReaderBreak, &link);
    // Only the reader's thread adopts and forgets; the link is in place before the display names it.
    for (ReaderSlot& slot : sReaders)
        if (slot.display == nullptr) {
            slot.link = &link;
            slot.display = display;
            return;
        }
}

void HostX11ForgetReaderConnection(_XDisplay* display)
{
    for (ReaderSlot& slot : sReaders)
        if (slot.display == display)
            slot.display = nullptr;
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
