// Inside the host only: what an X error or the loss of the display does to the process. Xlib keeps
// one error handler and one I/O error handler per process, so they are decided here for every
// connection: the clipboard reader's and SDL's.
#pragma once

struct _XDisplay;

// Installs the handlers, once. Called before SDL's video starts, so that SDL's own handler passes
// what it does not take on to these, and after SDL has quit these are in place again.
void HostX11HandleErrors();

// The clipboard reader's connection while it reads (null when none): an X error on it fails that
// read instead of ending anything. HostX11ReaderFailed: an error came on it since it was set.
void HostX11SetReaderConnection(_XDisplay* display);
bool HostX11ReaderFailed();

// The display is gone (the X server ended or the connection broke): ends the program at once, with
// a line on standard error and no further call into the display. Nothing can be saved or asked
// without it; saves replace files whole, so every file stays as it was or as last saved.
[[noreturn]] void HostEndForLostDisplay();
