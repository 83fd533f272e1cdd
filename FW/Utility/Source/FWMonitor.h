// The screens attached, as a list of records owned by this class and rebuilt from the host's
// display devices on every query. Records are reused in place, so a monitor pointer stays
// valid while the number of screens does not shrink.
#pragma once

#include "FWPoint.h"
#include "FWRect.h"

#include <cstdint>

class FWMonitor {
public:
    // Rebuilds the list; the first monitor, or null when no active screen exists.
    static FWMonitor* GetMonitors();
    // The first monitor flagged main, or null.
    static FWMonitor* GetMainMonitor();
    // The monitor whose usable bounds share the largest area with rect (the earliest on ties;
    // the first when none overlaps); null only without monitors.
    static FWMonitor* FindMonitorByArea(const FWRect& rect);
    // The monitor whose usable bounds hold p, else the nearest by the rules in the source.
    static FWMonitor* FindClosestMonitorByPoint(const FWPoint& p);
    // The union of all usable bounds; all zero without monitors.
    static void GetMonitorSpaceBounds(FWRect& out);

    FWMonitor* NextMonitor() const { return mNext; }
    // Global coordinates.
    const FWRect& Bounds() const { return mBounds; }
    // The area for windows: without the menu bar.
    const FWRect& UsableBounds() const { return mUsableBounds; }
    int16_t Depth() const { return mDepth; }
    bool IsMainMonitor() const { return mMain; }

private:
    FWMonitor() = default;

    FWMonitor* mNext = nullptr;
    FWRect mBounds;
    FWRect mUsableBounds;
    int16_t mDepth = 0;
    bool mMain = false;
};
