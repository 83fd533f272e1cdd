// Starts and stops idle timers; the platform half (FWIdleTimerManagerPAC) runs them on the
// platform's event-loop timers.
#pragma once

class FWIdleTimer;

class FWIdleTimerManager {
public:
    // Fires every milliseconds until stopped; a running timer is restarted, never doubled.
    static void Start(FWIdleTimer* timer, int milliseconds);
    // Fires once, milliseconds from now.
    static void StartOneShot(FWIdleTimer* timer, int milliseconds);
    // Nothing when the timer is not running.
    static void Stop(FWIdleTimer* timer);
    // A running timer next fires milliseconds from now, a repeating one at its interval after
    // that; nothing when the timer is not running.
    static void SetNextFire(FWIdleTimer* timer, int milliseconds);
};
