#include "FWDragManagerPAC.h"

#include "FWDragData.h"
#include "FWDragManager.h"
#include "FWDragReceiver.h"
#include "FWDragReceiverRegistry.h"
#include "FWEvent.h"
#include "FWWindow.h"
#include "ImageBuffer.h"

#include <memory>
#include <vector>

DragTrackingHandlerUPP FWDragManagerPAC::sTrackingHandler = nullptr;
DragReceiveHandlerUPP FWDragManagerPAC::sReceiveHandler = nullptr;
DragSendDataUPP FWDragManagerPAC::sSendData = nullptr;
FWDragData* FWDragManagerPAC::sProxy = nullptr;
FWDragReceiver* FWDragManagerPAC::sReceiver = nullptr;
bool FWDragManagerPAC::sHiliteShown = false;

namespace {

// A flavour of the drag in progress; its bytes are read from the drag on first use.
class ProxyScrap : public FWDragScrap {
public:
    ProxyScrap(DragRef drag, DragItemRef item, FlavorType type) : mDrag(drag), mItem(item), mType(type) {}
    uint32_t Type() const override { return mType; }
    void RetrieveData(const void*& data, int& size) const override
    {
        if (!mFetched) {
            mFetched = true;
            Size length = 0;
            if (GetFlavorDataSize(mDrag, mItem, mType, &length) == noErr && length > 0) {
                mBytes.resize(size_t(length));
                if (GetFlavorData(mDrag, mItem, mType, mBytes.data(), &length, 0) == noErr)
                    mBytes.resize(size_t(length));
                else
                    mBytes.clear();
            }
        }
        data = mBytes.empty() ? nullptr : mBytes.data();
        size = int(mBytes.size());
    }

private:
    DragRef mDrag;
    DragItemRef mItem;
    FlavorType mType;
    mutable bool mFetched = false;
    mutable std::vector<uint8_t> mBytes;
};

struct RegionCloser {
    void operator()(HostRegion* rgn) const { DisposeRgn(rgn); }
};
using RegionPtr = std::unique_ptr<HostRegion, RegionCloser>;

// The mouse of the drag in the window's content coordinates.
bool contentMouse(DragRef drag, const FWWindow& window, FWPoint& where)
{
    Point mouse{0, 0};
    if (GetDragMouse(drag, &mouse, nullptr) != noErr)
        return false;
    where = FWPoint(mouse.h, mouse.v);
    window.GlobalToWindow(&where);
    return true;
}

} // namespace

void FWDragManagerPAC::Init()
{
    sTrackingHandler = NewDragTrackingHandlerUPP(trackingHandler);
    sReceiveHandler = NewDragReceiveHandlerUPP(receiveHandler);
    sSendData = NewDragSendDataUPP(sendData);
    InstallTrackingHandler(sTrackingHandler, nullptr, nullptr);
    InstallReceiveHandler(sReceiveHandler, nullptr, nullptr);
}

void FWDragManagerPAC::CleanUp()
{
    RemoveTrackingHandler(sTrackingHandler, nullptr);
    RemoveReceiveHandler(sReceiveHandler, nullptr);
    DisposeDragTrackingHandlerUPP(sTrackingHandler);
    DisposeDragReceiveHandlerUPP(sReceiveHandler);
    DisposeDragSendDataUPP(sSendData);
    sTrackingHandler = nullptr;
    sReceiveHandler = nullptr;
    sSendData = nullptr;
}

int FWDragManagerPAC::TrackDrag(const FWEvent& event, const FWWindow* window, const FWDragData& data)
{
    if (window == nullptr || window->GetPDW() == nullptr)
        return 0;
    SetPortWindowPort(window->GetPDW());
    Point origin{int16_t(event.mWhere.v + window->TitleWidth()), int16_t(event.mWhere.h + window->FrameWidth())};
    LocalToGlobal(&origin);

    DragRef drag = nullptr;
    if (NewDrag(&drag) != noErr)
        return 0;
    std::unique_ptr<HostDrag, OSErr (*)(DragRef)> owned(drag, DisposeDrag);
    // The data are promised: receivers fetch them through sendData.
    for (auto it = data.Begin(); it != data.End(); ++it) {
        if (AddDragItemFlavor(drag, 1, FlavorType((*it)->Type()), nullptr, 0, 0) != noErr)
            return 0;
    }

    RegionPtr dragRgn(NewRgn());
    Rect bounds;
    GWorldPtr world = nullptr;
    if (const ImageBuffer* image = data.Image(); image != nullptr && image->Valid()) {
        const int16_t width = image->GetRect().Width();
        const int16_t height = image->GetRect().Height();
        bounds = {int16_t(origin.v - height / 2), int16_t(origin.h - width / 2),
                  int16_t(origin.v - height / 2 + height), int16_t(origin.h - width / 2 + width)};
        if (NewGWorld(&world, 32, &bounds, nullptr, nullptr, 0) != noErr)
            return 0;
        // A 32-bit copy: the store gives every depth's pixels as 32-bit colours (grey table
        // for 8 bits, black and white for 1).
        HostPixelMap& pixels = *GetGWorldPixMap(world);
        const HostPixelMap& source = *GetGWorldPixMap(image->GetPDB());
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x)
                pixels.Set(x, y, source.Get(x, y));
        RectRgn(dragRgn.get(), &bounds);
        RegionPtr imageRgn(NewRgn());
        RectRgn(imageRgn.get(), &bounds);
        const OSErr err = SetDragImage(drag, GetGWorldPixMap(world), imageRgn.get(), Point{0, 0}, kDragRegionAndImage);
        if (err != noErr) {
            DisposeGWorld(world);
            return 0;
        }
    } else {
        bounds = {int16_t(origin.v - 16), int16_t(origin.h - 16), int16_t(origin.v + 16), int16_t(origin.h + 16)};
        RectRgn(dragRgn.get(), &bounds);
        RegionPtr inside(NewRgn());
        SetRectRgn(inside.get(), int16_t(bounds.left + 1), int16_t(bounds.top + 1), int16_t(bounds.right - 1),
                   int16_t(bounds.bottom - 1));
        DiffRgn(dragRgn.get(), inside.get(), dragRgn.get());
    }
    SetDragItemBounds(drag, 1, &bounds);
    SetDragSendProc(drag, sSendData, const_cast<FWDragData*>(&data));

    EventRecord start;
    start.what = mouseDown;
    start.when = event.mWhen;
    start.where = origin;
    start.modifiers = event.mModifiers;
    const OSErr err = ::TrackDrag(drag, &start, dragRgn.get());
    DisposeGWorld(world);
    return err == noErr || err == userCanceledErr ? 2 : 0;
}

OSErr FWDragManagerPAC::sendData(FlavorType type, void* refCon, DragItemRef item, DragRef drag)
{
    const auto* data = static_cast<const FWDragData*>(refCon);
    const FWDragScrap* scrap = data != nullptr ? data->FindScrap(type) : nullptr;
    if (scrap == nullptr)
        return noErr;
    const void* bytes = nullptr;
    int size = 0;
    scrap->RetrieveData(bytes, size);
    return SetDragItemFlavorData(drag, item, type, bytes, size > 0 ? size : 0, 0);
}

void FWDragManagerPAC::buildProxy(DragRef drag)
{
    uint16_t items = 0;
    if (CountDragItems(drag, &items) != noErr || items != 1)
        return;
    sProxy = new FWDragData;
    DragItemRef item = 0;
    uint16_t flavors = 0;
    if (GetDragItemReferenceNumber(drag, 1, &item) != noErr || CountDragItemFlavors(drag, item, &flavors) != noErr)
        return;
    for (uint16_t index = 1; index <= flavors; ++index) {
        FlavorType type = 0;
        if (GetFlavorType(drag, item, index, &type) != noErr)
            return;
        sProxy->AddScrap(new ProxyScrap(drag, item, type));
    }
}

OSErr FWDragManagerPAC::trackingHandler(DragTrackingMessage message, WindowRef window, void*, DragRef drag)
{
    switch (message) {
    case kDragTrackingEnterHandler: {
        if (sProxy != nullptr)
            return noErr;
        uint16_t items = 0;
        if (CountDragItems(drag, &items) != noErr || items != 1)
            return paramErr;
        buildProxy(drag);
        return noErr;
    }
    case kDragTrackingLeaveHandler:
        delete sProxy;
        sProxy = nullptr;
        sReceiver = nullptr;
        return noErr;
    case kDragTrackingEnterWindow:
    case kDragTrackingInWindow:
    case kDragTrackingLeaveWindow:
        break;
    default:
        return noErr;
    }
    FWWindow* fwWindow = FWWindow::ReturnFWWindow(window);
    if (fwWindow == nullptr || sProxy == nullptr)
        return noErr;
    if (message == kDragTrackingEnterWindow && FWDragReceiverRegistry::WindowHasReceivers(fwWindow)) {
        DragAttributes attributes = 0;
        if (GetDragAttributes(drag, &attributes) == noErr && (attributes & kDragHasLeftSenderWindow) != 0) {
            SetPortWindowPort(window);
            FWRect content;
            fwWindow->GetContentRect(&content);
            RegionPtr hilite(NewRgn());
            SetRectRgn(hilite.get(), fwWindow->FrameWidth(), fwWindow->TitleWidth(),
                       int16_t(fwWindow->FrameWidth() + content.Width()),
                       int16_t(fwWindow->TitleWidth() + content.Height()));
            ShowDragHilite(drag, hilite.get(), true);
            sHiliteShown = true;
        }
    }
    if (message == kDragTrackingLeaveWindow && sHiliteShown) {
        HideDragHilite(drag);
        sHiliteShown = false;
    }
    FWPoint where;
    if (!contentMouse(drag, *fwWindow, where))
        return noErr;
    FWDragReceiver* receiver =
        message == kDragTrackingLeaveWindow ? nullptr : FWDragReceiverRegistry::FindReceiver(where, fwWindow);
    FWDragManager::NewReceiver(receiver, where);
    return noErr;
}

OSErr FWDragManagerPAC::receiveHandler(WindowRef window, void*, DragRef drag)
{
    FWWindow* fwWindow = FWWindow::ReturnFWWindow(window);
    if (sProxy == nullptr || fwWindow == nullptr)
        return userCanceledErr;
    Point mouse{0, 0};
    const OSErr err = GetDragMouse(drag, &mouse, nullptr);
    if (err != noErr)
        return err;
    FWPoint where(mouse.h, mouse.v);
    fwWindow->GlobalToWindow(&where);
    FWDragReceiver* receiver = FWDragReceiverRegistry::FindReceiver(where, fwWindow);
    if (receiver == nullptr)
        return userCanceledErr;
    receiver->Accept(*sProxy);
    return noErr;
}
