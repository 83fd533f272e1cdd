// Inside the host only: what an X error or the loss of the display does to the process. Xlib keeps
// one error handler and one I/O error handler per process, so they are decided here for every
// connection: the clipboard reader's and SDL's.
#pragma once

#include <atomic>

struct _XDisplay;

// Installs the handlers, once. Called before SDL's video starts, so that SDL's own handler passes
// what it does not take on to these, and after SDL has quit these are in place again.
void HostX11HandleErrors();

// A connection of the clipboard reader (its watch, its read), which may fail while the display
// stays: an X error on it marks it failed, and its break marks it broken and ends nothing, so the
// reader closes it and opens another later. Only the program's own connection ends the program.
struct HostX11ReaderLink {
    std::atomic<bool> failed{false};
    std::atomic<bool> broken{false};
};
// Adopts the connection for the link, which must outlive it until forgotten; forgotten before it
// closes. At most two connections at once.
void HostX11AdoptReaderConnection(_XDisplay* display, HostX11ReaderLink& link);
void HostX11ForgetReaderConnection(_XDisplay* display);

// The display is gone (the X server ended or the connection broke): ends the program at once, with
// a line on standard error and no further call into the display. Nothing can be saved or asked
// without it; saves replace files whole, so every file stays as it was or as last saved.
[[noreturn]] void HostEndForLostDisplay();
