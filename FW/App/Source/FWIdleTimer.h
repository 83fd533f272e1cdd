// A timer whose TimerAction runs after a delay in milliseconds, once or repeatedly, started and
// stopped through FWIdleTimerManager. Timers fire while the main loop waits for events.
#pragma once

#include <cstdint>

class FWIdleTimer {
public:
    FWIdleTimer();
    FWIdleTimer(const FWIdleTimer&) = delete;
    FWIdleTimer& operator=(const FWIdleTimer&) = delete;
    // Stops the timer, so that it can never fire once it is gone.
    virtual ~FWIdleTimer();

    virtual void TimerAction() = 0;

    int32_t GetTimerID() const { return mID; }

    // Whether the object is a live timer.
    static bool IsValidTimer(FWIdleTimer* timer);

private:
    int32_t mID;
    static int32_t sNextID;
};
