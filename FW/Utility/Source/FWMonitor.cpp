// The monitor list over the host's display devices, and the searches over it.
#include "FWMonitor.h"

#include "HostMonitors.h"

namespace {

FWMonitor* sFirst = nullptr;

FWRect toFWRect(const Rect& r)
{
    return FWRect(r.left, r.top, r.right, r.bottom);
}

int32_t overlapArea(const FWRect& a, const FWRect& b)
{
    FWRect overlap;
    if (!a.IntersectRect(b, &overlap))
        return 0;
    return int32_t(overlap.Width()) * int32_t(overlap.Height());
}

} // namespace

FWMonitor* FWMonitor::GetMonitors()
{
    FWMonitor** link = &sFirst;
    for (GDHandle device = GetDeviceList(); device != nullptr; device = GetNextDevice(device)) {
        if (!TestDeviceAttribute(device, screenDevice) || !TestDeviceAttribute(device, screenActive))
            continue;
        if (*link == nullptr)
            *link = new FWMonitor;
        FWMonitor* monitor = *link;
        monitor->mBounds = toFWRect(GetDeviceRect(device));
        Rect usable = GetDeviceRect(device);
        GetAvailableWindowPositioningBounds(device, &usable);
        monitor->mUsableBounds = toFWRect(usable);
        monitor->mDepth = GetDevicePixelSize(device);
        monitor->mMain = TestDeviceAttribute(device, mainScreen);
        link = &monitor->mNext;
    }
    // Free the records no device needs any more.
    FWMonitor* surplus = *link;
    *link = nullptr;
    while (surplus != nullptr) {
        FWMonitor* next = surplus->mNext;
        delete surplus;
        surplus = next;
    }
    return sFirst;
}

FWMonitor* FWMonitor::GetMainMonitor()
{
    for (FWMonitor* monitor = GetMonitors(); monitor != nullptr; monitor = monitor->mNext)
        if (monitor->mMain)
            return monitor;
    return nullptr;
}

FWMonitor* FWMonitor::FindMonitorByArea(const FWRect& rect)
{
    FWMonitor* best = nullptr;
    int32_t bestArea = -1;
    for (FWMonitor* monitor = GetMonitors(); monitor != nullptr; monitor = monitor->mNext) {
        int32_t area = overlapArea(monitor->mUsableBounds, rect);
        if (area > bestArea) {
            bestArea = area;
            best = monitor;
        }
    }
    return best;
}

FWMonitor* FWMonitor::FindClosestMonitorByPoint(const FWPoint& p)
{
    // Distances are measured from the top (or left) edge of the usable bounds, also for a
    // point beyond the bottom (or right): that is how screens are ranked.
    const int32_t kFar = 99999999;
    FWMonitor* bestVertical = nullptr;
    FWMonitor* bestHorizontal = nullptr;
    int32_t verticalDistance = kFar;
    int32_t horizontalDistance = kFar;

    for (FWMonitor* monitor = GetMonitors(); monitor != nullptr; monitor = monitor->mNext) {
        const FWRect& u = monitor->mUsableBounds;
        if (u.PtInRect(p))
            return monitor;
        if (u.left <= p.h && p.h < u.right) {
            int32_t distance = -1;
            if (p.v < u.top)
                distance = int32_t(u.top) - p.v;
            else if (p.v >= u.bottom)
                distance = int32_t(p.v) - u.top;
            if (distance >= 0 && distance < verticalDistance) {
                verticalDistance = distance;
                bestVertical = monitor;
            }
            continue;
        }
        int32_t distance = -1;
        if (p.h < u.left)
            distance = int32_t(u.left) - p.h;
        else if (p.h >= u.right)
            distance = int32_t(p.h) - u.left;
        if (distance >= 0 && distance < horizontalDistance) {
            horizontalDistance = distance;
            bestHorizontal = monitor;
        }
    }
    if (bestVertical != nullptr)
        return bestVertical;
    if (bestHorizontal != nullptr)
        return bestHorizontal;
    return GetMainMonitor();
}

void FWMonitor::GetMonitorSpaceBounds(FWRect& out)
{
    out = FWRect();
    FWMonitor* monitor = GetMonitors();
    if (monitor == nullptr)
        return;
    out = monitor->mUsableBounds;
    for (monitor = monitor->mNext; monitor != nullptr; monitor = monitor->mNext)
        out.UnionRect(monitor->mUsableBounds, &out);
}
