// The drag service: drags as items of flavours, handler lists, and the tracking loop that feeds
// the handlers from the mouse and shows the drag's feedback in an overlay window.
#include "HostDrag.h"

#include "HostBackend.h"
#include "HostHeadless.h"
#include "HostInput.h"

#include <algorithm>
#include <cstring>
#include <vector>

struct HostDrag {
    struct Flavor {
        FlavorType type = 0;
        bool promised = false;
        std::vector<uint8_t> data;
    };
    struct Item {
        DragItemRef ref = 0;
        Rect bounds{0, 0, 0, 0};
        std::vector<Flavor> flavors;
    };

    std::vector<Item> items;
    DragSendDataUPP sendProc = nullptr;
    void* sendRefCon = nullptr;
    // The image, copied, and where its region lies (global) at the start.
    std::vector<uint32_t> image;
    Rect imageBounds{0, 0, 0, 0};
    bool hasImage = false;
    // Tracking state.
    DragAttributes attributes = kDragInsideSenderApplication;
    Point mouse{0, 0};
    WindowRef hiliteWindow = nullptr;
};

namespace {

template <class Handler>
struct Installed {
    Handler handler;
    WindowRef window;
    void* refCon;
};

std::vector<Installed<DragTrackingHandlerUPP>>& trackingHandlers()
{
    static std::vector<Installed<DragTrackingHandlerUPP>> theHandlers;
    return theHandlers;
}

std::vector<Installed<DragReceiveHandlerUPP>>& receiveHandlers()
{
    static std::vector<Installed<DragReceiveHandlerUPP>> theHandlers;
    return theHandlers;
}

std::vector<HostDrag*>& liveDrags()
{
    static std::vector<HostDrag*> theDrags;
    return theDrags;
}

struct Feedback {
    WindowRef hilite = nullptr;
    Rect hiliteBounds{0, 0, 0, 0};
    Rect shown{0, 0, 0, 0};
    bool image = false;
};

Feedback& feedback()
{
    static Feedback theFeedback;
    return theFeedback;
}

bool isLive(DragRef drag)
{
    const auto& drags = liveDrags();
    return drag != nullptr && std::find(drags.begin(), drags.end(), drag) != drags.end();
}

HostDrag::Item* findItem(DragRef drag, DragItemRef ref)
{
    for (HostDrag::Item& item : drag->items)
        if (item.ref == ref)
            return &item;
    return nullptr;
}

HostDrag::Flavor* findFlavor(HostDrag::Item& item, FlavorType type)
{
    for (HostDrag::Flavor& flavor : item.flavors)
        if (flavor.type == type)
            return &flavor;
    return nullptr;
}

template <class Handler>
OSErr install(std::vector<Installed<Handler>>& list, Handler handler, WindowRef window, void* refCon)
{
    if (handler == nullptr)
        return paramErr;
    for (const auto& entry : list)
        if (entry.handler == handler && entry.window == window)
            return duplicateHandlerErr;
    list.push_back({handler, window, refCon});
    return noErr;
}

template <class Handler>
OSErr remove(std::vector<Installed<Handler>>& list, Handler handler, WindowRef window)
{
    for (auto it = list.begin(); it != list.end(); ++it) {
        if (it->handler == handler && it->window == window) {
            list.erase(it);
            return noErr;
        }
    }
    return handlerNotFoundErr;
}

// Tells every tracking handler for the window (or for all windows) the message.
void track(DragRef drag, DragTrackingMessage message, WindowRef window)
{
    const auto handlers = trackingHandlers();
    for (const auto& entry : handlers)
        if (entry.window == nullptr || entry.window == window)
            entry.handler(message, window, entry.refCon, drag);
}

// The overlay that shows the image or outline, kept at the feedback's place.
class FeedbackWindow {
public:
    FeedbackWindow(const HostDrag& drag, const Rect& outline) : mDrag(drag)
    {
        mBounds = drag.hasImage ? drag.imageBounds : outline;
        if (mBounds.right <= mBounds.left || mBounds.bottom <= mBounds.top)
            return;
        if (CreateNewWindow(kHostOverlayWindowClass, 0, &mBounds, &mWindow) != noErr)
            return;
        paint();
        ShowWindow(mWindow);
        feedback().shown = mBounds;
        feedback().image = drag.hasImage;
    }
    ~FeedbackWindow() { DisposeWindow(mWindow); }

    void MoveBy(int32_t dh, int32_t dv)
    {
        if (mWindow == nullptr)
            return;
        Rect moved{int16_t(mBounds.top + dv), int16_t(mBounds.left + dh), int16_t(mBounds.bottom + dv),
                   int16_t(mBounds.right + dh)};
        MoveWindow(mWindow, moved.left, moved.top, false);
        feedback().shown = moved;
    }

private:
    void paint()
    {
        HostPixelMap& pixels = GetWindowPort(mWindow)->Pixels();
        const int32_t width = mBounds.right - mBounds.left;
        const int32_t height = mBounds.bottom - mBounds.top;
        for (int32_t y = 0; y < height && y < pixels.Height(); ++y) {
            for (int32_t x = 0; x < width && x < pixels.Width(); ++x) {
                uint32_t argb = 0;
                if (mDrag.hasImage)
                    argb = mDrag.image[size_t(y) * size_t(width) + size_t(x)];
                else if (x == 0 || y == 0 || x == width - 1 || y == height - 1)
                    argb = 0xFF000000;
                pixels.Set(x, y, argb);
            }
        }
    }

    const HostDrag& mDrag;
    Rect mBounds{0, 0, 0, 0};
    WindowRef mWindow = nullptr;
};

WindowRef windowUnder(Point where)
{
    WindowRef window = nullptr;
    return FindWindow(where, &window) == inContent ? window : nullptr;
}

bool noMoreInputCanCome()
{
    return std::strcmp(HostBackendName(), "headless") == 0 && HostPendingInjectedCount() == 0;
}

} // namespace

DragTrackingHandlerUPP NewDragTrackingHandlerUPP(DragTrackingHandlerUPP handler)
{
    return handler;
}

DragReceiveHandlerUPP NewDragReceiveHandlerUPP(DragReceiveHandlerUPP handler)
{
    return handler;
}

DragSendDataUPP NewDragSendDataUPP(DragSendDataUPP proc)
{
    return proc;
}

void DisposeDragTrackingHandlerUPP(DragTrackingHandlerUPP) {}
void DisposeDragReceiveHandlerUPP(DragReceiveHandlerUPP) {}
void DisposeDragSendDataUPP(DragSendDataUPP) {}

OSErr InstallTrackingHandler(DragTrackingHandlerUPP handler, WindowRef window, void* refCon)
{
    return install(trackingHandlers(), handler, window, refCon);
}

OSErr InstallReceiveHandler(DragReceiveHandlerUPP handler, WindowRef window, void* refCon)
{
    return install(receiveHandlers(), handler, window, refCon);
}

OSErr RemoveTrackingHandler(DragTrackingHandlerUPP handler, WindowRef window)
{
    return remove(trackingHandlers(), handler, window);
}

OSErr RemoveReceiveHandler(DragReceiveHandlerUPP handler, WindowRef window)
{
    return remove(receiveHandlers(), handler, window);
}

OSErr NewDrag(DragRef* drag)
{
    if (drag == nullptr)
        return paramErr;
    *drag = new HostDrag;
    liveDrags().push_back(*drag);
    return noErr;
}

OSErr DisposeDrag(DragRef drag)
{
    if (!isLive(drag))
        return badDragRefErr;
    auto& drags = liveDrags();
    drags.erase(std::find(drags.begin(), drags.end(), drag));
    if (feedback().hilite != nullptr && drag->hiliteWindow == feedback().hilite)
        feedback().hilite = nullptr;
    delete drag;
    return noErr;
}

OSErr AddDragItemFlavor(DragRef drag, DragItemRef item, FlavorType type, const void* data, Size size,
                        FlavorFlags /*flags*/)
{
    if (!isLive(drag))
        return badDragRefErr;
    if (size < 0 || (data == nullptr && size != 0))
        return paramErr;
    HostDrag::Item* found = findItem(drag, item);
    if (found == nullptr) {
        drag->items.push_back({item, {0, 0, 0, 0}, {}});
        found = &drag->items.back();
    }
    if (findFlavor(*found, type) != nullptr)
        return duplicateFlavorErr;
    HostDrag::Flavor flavor;
    flavor.type = type;
    flavor.promised = data == nullptr;
    if (data != nullptr)
        flavor.data.assign(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size);
    found->flavors.push_back(std::move(flavor));
    return noErr;
}

OSErr SetDragItemFlavorData(DragRef drag, DragItemRef item, FlavorType type, const void* data, Size size,
                            uint32_t dataOffset)
{
    if (!isLive(drag))
        return badDragRefErr;
    if (size < 0 || (data == nullptr && size != 0) || dataOffset > 0x7FFFFFFF)
        return paramErr;
    HostDrag::Item* found = findItem(drag, item);
    if (found == nullptr)
        return badDragItemErr;
    HostDrag::Flavor* flavor = findFlavor(*found, type);
    if (flavor == nullptr)
        return badDragFlavorErr;
    if (flavor->data.size() < size_t(dataOffset) + size_t(size))
        flavor->data.resize(size_t(dataOffset) + size_t(size));
    if (size > 0)
        std::memcpy(flavor->data.data() + dataOffset, data, size_t(size));
    flavor->promised = false;
    return noErr;
}

OSErr SetDragItemBounds(DragRef drag, DragItemRef item, const Rect* bounds)
{
    if (!isLive(drag))
        return badDragRefErr;
    HostDrag::Item* found = findItem(drag, item);
    if (found == nullptr)
        return badDragItemErr;
    if (bounds == nullptr)
        return paramErr;
    found->bounds = *bounds;
    return noErr;
}

OSErr SetDragSendProc(DragRef drag, DragSendDataUPP proc, void* refCon)
{
    if (!isLive(drag))
        return badDragRefErr;
    drag->sendProc = proc;
    drag->sendRefCon = refCon;
    return noErr;
}

OSErr SetDragImage(DragRef drag, PixMapHandle image, RgnHandle imageRgn, Point offset, DragImageFlags /*flags*/)
{
    if (!isLive(drag))
        return badDragRefErr;
    if (image == nullptr || imageRgn == nullptr || image->Depth() != 32)
        return paramErr;
    Rect bounds;
    GetRegionBounds(imageRgn, &bounds);
    const int32_t width = bounds.right - bounds.left;
    const int32_t height = bounds.bottom - bounds.top;
    if (width <= 0 || height <= 0)
        return paramErr;
    drag->image.assign(size_t(width) * size_t(height), 0);
    for (int32_t y = 0; y < height && y < image->Height(); ++y)
        for (int32_t x = 0; x < width && x < image->Width(); ++x)
            drag->image[size_t(y) * size_t(width) + size_t(x)] = image->Get(x, y);
    drag->imageBounds = {int16_t(bounds.top + offset.v), int16_t(bounds.left + offset.h),
                         int16_t(bounds.bottom + offset.v), int16_t(bounds.right + offset.h)};
    drag->hasImage = true;
    return noErr;
}

OSErr TrackDrag(DragRef drag, const EventRecord* startEvent, RgnHandle dragRgn)
{
    if (!isLive(drag) || startEvent == nullptr)
        return badDragRefErr;
    Rect outline{0, 0, 0, 0};
    if (dragRgn != nullptr)
        GetRegionBounds(dragRgn, &outline);
    const Point start = startEvent->where;
    const WindowRef senderWindow = windowUnder(start);
    drag->mouse = start;
    drag->attributes = kDragInsideSenderApplication | (senderWindow != nullptr ? DragAttributes(kDragInsideSenderWindow) : 0u);
    FeedbackWindow shown(*drag, outline);

    WindowRef current = nullptr;
    track(drag, kDragTrackingEnterHandler, nullptr);
    auto follow = [&](Point where) {
        shown.MoveBy(where.h - start.h, where.v - start.v);
        drag->mouse = where;
        const WindowRef window = windowUnder(where);
        if (window != senderWindow)
            drag->attributes = (drag->attributes & ~kDragInsideSenderWindow) | kDragHasLeftSenderWindow;
        else
            drag->attributes |= kDragInsideSenderWindow;
        if (window != current) {
            if (current != nullptr)
                track(drag, kDragTrackingLeaveWindow, current);
            current = window;
            if (current != nullptr)
                track(drag, kDragTrackingEnterWindow, current);
        }
        if (current != nullptr)
            track(drag, kDragTrackingInWindow, current);
    };
    follow(start);

    OSErr result = noErr;
    bool dropped = false;
    for (;;) {
        EventRecord event;
        const bool got = WaitNextEvent(mUpMask | keyDownMask, &event, 1, nullptr);
        Point mouse;
        GetGlobalMouse(&mouse);
        if (got && event.what == mouseUp)
            mouse = event.where;
        if (mouse.h != drag->mouse.h || mouse.v != drag->mouse.v)
            follow(mouse);
        if (got && event.what == mouseUp) {
            dropped = true;
            break;
        }
        if (got && event.what == keyDown && (event.message & charCodeMask) == 27) {
            result = userCanceledErr;
            break;
        }
        if (got || HostMouseEventQueued())
            continue;
        // A release that reached the state without an event still drops.
        if (!HostButtonState()) {
            dropped = true;
            break;
        }
        if (noMoreInputCanCome()) {
            result = userCanceledErr;
            break;
        }
    }

    const WindowRef target = current;
    if (current != nullptr)
        track(drag, kDragTrackingLeaveWindow, current);
    if (dropped && target != nullptr) {
        const auto handlers = receiveHandlers();
        for (const auto& entry : handlers) {
            if (entry.window != nullptr && entry.window != target)
                continue;
            const OSErr answer = entry.handler(target, entry.refCon, drag);
            if (answer != noErr) {
                result = answer;
                break;
            }
        }
    }
    track(drag, kDragTrackingLeaveHandler, nullptr);
    return result;
}

OSErr CountDragItems(DragRef drag, uint16_t* count)
{
    if (!isLive(drag))
        return badDragRefErr;
    if (count == nullptr)
        return paramErr;
    *count = uint16_t(std::min<size_t>(drag->items.size(), 0xFFFF));
    return noErr;
}

OSErr GetDragItemReferenceNumber(DragRef drag, uint16_t index, DragItemRef* item)
{
    if (!isLive(drag))
        return badDragRefErr;
    if (item == nullptr)
        return paramErr;
    if (index == 0 || index > drag->items.size())
        return badDragItemErr;
    *item = drag->items[index - 1].ref;
    return noErr;
}

OSErr CountDragItemFlavors(DragRef drag, DragItemRef item, uint16_t* count)
{
    if (!isLive(drag))
        return badDragRefErr;
    HostDrag::Item* found = findItem(drag, item);
    if (found == nullptr)
        return badDragItemErr;
    if (count == nullptr)
        return paramErr;
    *count = uint16_t(std::min<size_t>(found->flavors.size(), 0xFFFF));
    return noErr;
}

OSErr GetFlavorType(DragRef drag, DragItemRef item, uint16_t index, FlavorType* type)
{
    if (!isLive(drag))
        return badDragRefErr;
    HostDrag::Item* found = findItem(drag, item);
    if (found == nullptr)
        return badDragItemErr;
    if (type == nullptr)
        return paramErr;
    if (index == 0 || index > found->flavors.size())
        return badDragFlavorErr;
    *type = found->flavors[index - 1].type;
    return noErr;
}

namespace {

// The flavour with its data present: a promise is kept by calling the send-data procedure.
OSErr deliveredFlavor(DragRef drag, DragItemRef item, FlavorType type, HostDrag::Flavor** out)
{
    if (!isLive(drag))
        return badDragRefErr;
    HostDrag::Item* found = findItem(drag, item);
    if (found == nullptr)
        return badDragItemErr;
    HostDrag::Flavor* flavor = findFlavor(*found, type);
    if (flavor == nullptr)
        return badDragFlavorErr;
    if (flavor->promised) {
        if (drag->sendProc == nullptr)
            return cantGetFlavorErr;
        const OSErr err = drag->sendProc(type, drag->sendRefCon, item, drag);
        // The procedure may have done anything to the drag; look the flavour up again.
        found = findItem(drag, item);
        flavor = found != nullptr ? findFlavor(*found, type) : nullptr;
        if (err != noErr || flavor == nullptr || flavor->promised)
            return err != noErr ? err : OSErr(cantGetFlavorErr);
    }
    *out = flavor;
    return noErr;
}

} // namespace

OSErr GetFlavorDataSize(DragRef drag, DragItemRef item, FlavorType type, Size* size)
{
    if (size == nullptr)
        return paramErr;
    HostDrag::Flavor* flavor = nullptr;
    const OSErr err = deliveredFlavor(drag, item, type, &flavor);
    if (err != noErr)
        return err;
    *size = Size(std::min<size_t>(flavor->data.size(), 0x7FFFFFFF));
    return noErr;
}

OSErr GetFlavorData(DragRef drag, DragItemRef item, FlavorType type, void* data, Size* size, uint32_t dataOffset)
{
    if (size == nullptr || *size < 0 || (data == nullptr && *size != 0))
        return paramErr;
    HostDrag::Flavor* flavor = nullptr;
    const OSErr err = deliveredFlavor(drag, item, type, &flavor);
    if (err != noErr)
        return err;
    const size_t available = dataOffset < flavor->data.size() ? flavor->data.size() - dataOffset : 0;
    const size_t count = std::min(available, size_t(*size));
    if (count > 0)
        std::memcpy(data, flavor->data.data() + dataOffset, count);
    *size = Size(count);
    return noErr;
}

OSErr GetDragAttributes(DragRef drag, DragAttributes* attributes)
{
    if (!isLive(drag))
        return badDragRefErr;
    if (attributes == nullptr)
        return paramErr;
    *attributes = drag->attributes;
    return noErr;
}

OSErr GetDragMouse(DragRef drag, Point* mouse, Point* globalPinnedMouse)
{
    if (!isLive(drag))
        return badDragRefErr;
    if (mouse != nullptr)
        *mouse = drag->mouse;
    if (globalPinnedMouse != nullptr)
        *globalPinnedMouse = drag->mouse;
    return noErr;
}

OSErr ShowDragHilite(DragRef drag, RgnHandle hiliteFrame, Boolean /*inside*/)
{
    if (!isLive(drag))
        return badDragRefErr;
    if (hiliteFrame == nullptr)
        return paramErr;
    // The highlight belongs to the window whose port is current.
    GrafPtr port = nullptr;
    GetPort(&port);
    drag->hiliteWindow = GetWindowFromPort(port);
    feedback().hilite = drag->hiliteWindow;
    GetRegionBounds(hiliteFrame, &feedback().hiliteBounds);
    return noErr;
}

OSErr HideDragHilite(DragRef drag)
{
    if (!isLive(drag))
        return badDragRefErr;
    if (feedback().hilite == drag->hiliteWindow)
        feedback().hilite = nullptr;
    drag->hiliteWindow = nullptr;
    return noErr;
}

WindowRef HostDragHiliteWindow(Rect* bounds)
{
    if (bounds != nullptr)
        *bounds = feedback().hiliteBounds;
    return feedback().hilite;
}

Rect HostDragLastFeedback(bool* image)
{
    if (image != nullptr)
        *image = feedback().image;
    return feedback().shown;
}
