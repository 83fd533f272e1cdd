// Work that wants a slice of time whenever the application is idle. Idling processes are served
// in rotation, one turn each per pass, within a budget of ticks; a pass cut short by the budget
// resumes where it stopped.
#pragma once

#include <cstdint>

class FWIdleProcess {
public:
    // Makes sure the rotation outlives every process, static ones included.
    FWIdleProcess();
    FWIdleProcess(const FWIdleProcess&) = delete;
    FWIdleProcess& operator=(const FWIdleProcess&) = delete;
    // Stops idling.
    virtual ~FWIdleProcess();

    // One turn of idle time.
    virtual void UseIdleTime() = 0;
    // Ticks until UseIdleTime next has something to do, so that idle passes can wait until then:
    // 0 (the default) at every pass; kNoIdleWork when nothing until an event changes the process.
    virtual uint32_t TicksToIdleWork() const { return 0; }

    // Joins the end of the rotation; nothing when already idling.
    void StartIdling();
    // Leaves the rotation; nothing when not idling.
    void StopIdling();
    bool IsIdling() const { return mIdling; }

    // One pass: each process idling when its turn comes gets at most one UseIdleTime, going once
    // around from where the last pass stopped, until the budget is spent. A process may start or
    // stop idling (itself or another) during its turn.
    static void DispatchIdleTime();

    // The budget of one pass, in ticks.
    static constexpr uint32_t gIdleTimeOut = 30;

    static constexpr uint32_t kNoIdleWork = UINT32_MAX;
    // The least TicksToIdleWork of the idling processes; kNoIdleWork when none idles.
    static uint32_t TicksToNextIdleWork();
    // Called whenever a process starts idling (null: nothing), so that whoever paces the passes
    // gives the newcomer its first one soon.
    static void SetStartHook(void (*hook)());

private:
    bool mIdling = false;
    uint32_t mServedInPass = 0; // the pass in which the process last had its turn
};
