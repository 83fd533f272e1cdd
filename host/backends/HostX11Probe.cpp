// The display's answer, tried on a thread of its own with Xlib's own connection code, so that the
// display is looked for exactly where and as SDL will look for it (DISPLAY's forms, authorisation).
#include "HostX11Probe.h"

#include <X11/Xlib.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace {

// The probe's open connection, kept by HostX11DisplayAnswers for HostX11EndDisplayProbe.
Display* sProbeDisplay = nullptr;

} // namespace

bool HostX11DisplayAnswers(std::chrono::milliseconds limit)
{
    struct Probe {
        std::mutex mutex;
        std::condition_variable done;
        bool answered = false;
        Display* display = nullptr;
    };
    // Shared with the thread, which a silent server keeps blocked: the program then ends without it.
    auto probe = std::make_shared<Probe>();
    std::thread([probe] {
        // The thread makes no Xlib call after its answer: Xlib is never used by two threads at once.
        Display* display = XOpenDisplay(nullptr);
        const std::lock_guard lock(probe->mutex);
        probe->display = display;
        probe->answered = true;
        probe->done.notify_one();
    }).detach();
    std::unique_lock lock(probe->mutex);
    if (!probe->done.wait_for(lock, limit, [&probe] { return probe->answered; }))
        return false;
    HostX11EndDisplayProbe();
    sProbeDisplay = probe->display;
    return true;
}

void HostX11EndDisplayProbe()
{
    if (sProbeDisplay != nullptr)
        XCloseDisplay(sProbeDisplay);
    sProbeDisplay = nullptr;
}
