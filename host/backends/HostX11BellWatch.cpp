// Test interface: the XKB bell notifications of a display, counted; a window manager's close.
#include "HostX11BellWatch.h"

#include <X11/XKBlib.h>
#include <poll.h>

HostX11BellWatch::HostX11BellWatch(const std::string& display)
{
    mDisplay = XOpenDisplay(display.c_str());
    if (mDisplay == nullptr)
        return;
    int opcode = 0;
    int error = 0;
    int major = XkbMajorVersion;
    int minor = XkbMinorVersion;
    if (!XkbQueryExtension(mDisplay, &opcode, &mEventBase, &error, &major, &minor) ||
        !XkbSelectEvents(mDisplay, XkbUseCoreKbd, XkbBellNotifyMask, XkbBellNotifyMask)) {
        XCloseDisplay(mDisplay);
        mDisplay = nullptr;
        return;
    }
    // The selection is in place before the watch is said to have begun.
    XSync(mDisplay, False);
}

HostX11BellWatch::~HostX11BellWatch()
{
    if (mDisplay != nullptr)
        XCloseDisplay(mDisplay);
}

int HostX11BellWatch::Rings(std::chrono::milliseconds limit, int awaited)
{
    if (mDisplay == nullptr)
        return 0;
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        while (XPending(mDisplay) > 0) {
            XEvent event;
            XNextEvent(mDisplay, &event);
            const auto* xkb = reinterpret_cast<const XkbAnyEvent*>(&event);
            if (event.type == mEventBase && xkb->xkb_type == XkbBellNotify)
                ++mRings;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (mRings >= awaited || left.count() <= 0)
            return mRings;
        pollfd wait{ConnectionNumber(mDisplay), POLLIN, 0};
        poll(&wait, 1, int(left.count()));
    }
}

bool HostX11AskToClose(const std::string& display, unsigned long window)
{
    Display* x = XOpenDisplay(display.c_str());
    if (x == nullptr)
        return false;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(x, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(x, "WM_DELETE_WINDOW", False));
    const bool sent = XSendEvent(x, window, False, NoEventMask, &event) != 0;
    XCloseDisplay(x);
    return sent;
}
