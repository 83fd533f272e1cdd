// Inside the host only: whether the X display DISPLAY names answers at all, asked before SDL opens
// it, since Xlib waits for ever on a server that takes the connection and never replies (a stopped
// server, a hung VNC server, an ssh -X link whose network died).
#pragma once

#include <chrono>

// Whether an Xlib connection to the display ends, opened or refused, within the limit.
bool HostX11DisplayAnswers(std::chrono::milliseconds limit);
