// The display's answer, tried on a thread of its own with Xlib's own connection code, so that the
// display is looked for exactly where and as SDL will look for it (DISPLAY's forms, authorisation).
#include "HostX11Probe.h"

#include <X11/Xlib.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

bool HostX11DisplayAnswers(std::chrono::milliseconds limit)
{
    struct Probe {
        std::mutex mutex;
        std::condition_variable done;
        bool answered = false;
    };
    // Shared with the thread, which a silent server keeps blocked: the program then ends without it.
    auto probe = std::make_shared<Probe>();
    std::thread([probe] {
        // Closed before the answer is told: Xlib is then never used by two threads at once.
        if (Display* display = XOpenDisplay(nullptr))
            XCloseDisplay(display);
        const std::lock_guard lock(probe->mutex);
        probe->answered = true;
        probe->done.notify_one();
    }).detach();
    std::unique_lock lock(probe->mutex);
    return probe->done.wait_for(lock, limit, [&probe] { return probe->answered; });
}
