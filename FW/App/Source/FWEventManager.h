// The main event loop. It waits for the next platform event, turns it into an FWEvent, deals at
// once with what needs no handler (menu-bar clicks, suspend and resume, Apple events, updates of
// windows the framework does not own) and hands everything else to the event dispatcher. Nested
// loops take their events from the same source (FWEventDispatcher::GetEvent).
#pragma once

#include "FWEvent.h"
#include "FWRect.h"

#include <cstdint>

struct EventRecord;
class FWWindow;

class FWEventManager {
public:
    // The singleton, made on first use.
    static FWEventManager* Instance();
    static void Destroy();
    virtual ~FWEventManager() = default;

    // Fetches and dispatches events until Quit. A failure of one event is reported and the loop
    // goes on.
    void Execute();
    void Quit() { mQuit = true; }
    // The current or next wait returns a null event at once.
    static void Unblock();

    // Waits for the next event that needs dispatching.
    void GetSystemEvent(FWEvent& out, bool tracking);
    // Turns a platform event into out; true when out is to be dispatched. tracking: inside a
    // nested loop (no menu bar, no part handling, no coordinate conversion of releases).
    bool FilterEvent(const EventRecord& record, bool tracking, FWEvent& out);
    // Lets the user drag the window's grow outline from the press; true when the size changed.
    bool DoGrowWindow(FWWindow* window, FWPoint* globalPress);

private:
    FWEventManager() = default;
    // A press outside a nested loop: menu bar, foreign window, or the window part it hit.
    bool filterMouseDown(const EventRecord& record, FWEvent& out);
    // The band above the content where a press counts as a title-bar press (content coordinates).
    static FWRect titleRect(FWWindow& window);
    // The double-click rule: sets out.mMessage and remembers or forgets the press.
    void countPress(FWEvent& out);
    void rememberPress(const FWEvent& out);

    bool mQuit = false;
    uint32_t mLastClickTime = 0;
    FWWindow* mLastClickWindow = nullptr;
};
