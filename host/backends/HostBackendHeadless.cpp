// The headless back end: no display. Input comes only through HostHeadless.h; the screen is
// composited when it is read.
#include "HostBackend.h"

#include <chrono>
#include <thread>

namespace {

class HeadlessBackend : public HostBackend {
public:
    const char* Name() const override { return "headless"; }
    bool Poll() override { return false; }
    void Wait(uint64_t nanoseconds) override { std::this_thread::sleep_for(std::chrono::nanoseconds(nanoseconds)); }
    bool ShowsScreen() const override { return false; }
};

} // namespace

std::unique_ptr<HostBackend> HostMakeHeadlessBackend()
{
    return std::make_unique<HeadlessBackend>();
}
