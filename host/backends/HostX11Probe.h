// Inside the host only: whether the X display DISPLAY names answers at all, asked before SDL opens
// it, since Xlib waits for ever on a server that takes the connection and never replies (a stopped
// server, a hung VNC server, an ssh -X link whose network died).
#pragma once

#include <chrono>

// Whether an Xlib connection to the display ends, opened or refused, within the limit. A connection
// that opened is kept until HostX11EndDisplayProbe: an X server whose last client leaves resets, and
// refuses connections while it does, so the probe leaves only once SDL holds a connection of its own.
bool HostX11DisplayAnswers(std::chrono::milliseconds limit);
void HostX11EndDisplayProbe();
