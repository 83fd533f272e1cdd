// Ports, off-screen worlds, the current port and device, and the state calls (clip, pen,
// colours, text settings). The drawing calls are in HostPortDrawing.cpp.
#include "HostPorts.h"

#include <algorithm>
#include <new>
#include <unordered_set>

struct HostColorTable {
    int16_t id;
};

namespace {

const HostColorTable kGreyTable{kGreyTableID};

HostDevice sMainDevice{{0, 0, 800, 1280}, 32};
HostPort* sCurrentPort = nullptr;
HostDevice* sCurrentDevice = &sMainDevice;
uint8_t sHiliteMode = kHiliteModeNormal;

std::unordered_set<const HostPort*>& livePorts()
{
    static std::unordered_set<const HostPort*> ports;
    return ports;
}

int16_t clamp16(int64_t value)
{
    return int16_t(std::clamp<int64_t>(value, INT16_MIN, INT16_MAX));
}

HostPort* current()
{
    return sCurrentPort;
}

} // namespace

// --- HostPort -------------------------------------------------------------------------------

HostPort* HostPort::Create(const Rect& bounds, int16_t depth, OSErr* err)
{
    HostPort* port = new (std::nothrow) HostPort();
    OSErr result = port ? port->mPixels.Allocate(bounds, depth) : OSErr(memFullErr);
    if (err)
        *err = result;
    if (result != noErr) {
        delete port;
        return nullptr;
    }
    port->mDevice = HostDevice{bounds, depth};
    port->mClip.SetRect(Rect{-32767, -32767, 32767, 32767});
    port->mVisible.SetRect(bounds);
    livePorts().insert(port);
    return port;
}

HostPort::~HostPort()
{
    livePorts().erase(this);
    if (sCurrentPort == this) {
        sCurrentPort = nullptr;
        sCurrentDevice = &sMainDevice;
    }
    if (sCurrentDevice == &mDevice)
        sCurrentDevice = &sMainDevice;
    for (const HostPort* other : livePorts()) {
        HostPort* p = const_cast<HostPort*>(other);
        if (p->mState.backTexture == this)
            p->mState.backTexture = nullptr;
    }
}

OSErr HostPort::Resize(const Rect& bounds, uint32_t fill)
{
    HostPixelMap fresh;
    OSErr err = fresh.Allocate(bounds, mPixels.Depth());
    if (err != noErr)
        return err;
    const Rect& old = mPixels.Bounds();
    const uint32_t stored = fresh.StoredOf(fill);
    const bool words = fresh.Depth() == 32;
    for (int32_t v = bounds.top; v < bounds.bottom; ++v) {
        const bool rowShared = mPixels.Valid() && v >= old.top && v < old.bottom;
        if (words) {
            // Whole 32-bit rows: fill, then copy the shared span in one go.
            uint32_t* row = reinterpret_cast<uint32_t*>(fresh.Row(v - bounds.top));
            std::fill(row, row + fresh.Width(), stored);
            const int32_t left = std::max<int32_t>(bounds.left, old.left);
            const int32_t right = std::min<int32_t>(bounds.right, old.right);
            if (rowShared && left < right) {
                const uint32_t* from = reinterpret_cast<const uint32_t*>(mPixels.Row(v - old.top));
                std::copy(from + (left - old.left), from + (right - old.left), row + (left - bounds.left));
            }
            continue;
        }
        for (int32_t h = bounds.left; h < bounds.right; ++h) {
            const bool shared = rowShared && h >= old.left && h < old.right;
            fresh.SetAt(h, v, shared ? mPixels.GetAt(h, v) : fill);
        }
    }
    mPixels = std::move(fresh);
    mDevice.bounds = bounds;
    mVisible.SetRect(bounds);
    clipChanged();
    mChanged = HostBox{0, 0, mPixels.Width(), mPixels.Height()};
    return noErr;
}

bool HostPort::IsLive(const HostPort* port)
{
    return port && livePorts().count(port) != 0;
}

HostPort* HostPort::OwnerOf(const HostPixelMap* pixels)
{
    for (const HostPort* port : livePorts()) {
        if (&port->mPixels == pixels)
            return const_cast<HostPort*>(port);
    }
    return nullptr;
}

void HostPort::SetClip(const HostRegion& clip)
{
    mClip = clip;
    clipChanged();
}

void HostPort::SetVisible(const HostRegion& visible)
{
    mVisible = visible;
    clipChanged();
}

void HostPort::clipChanged()
{
    mEffectiveValid = false;
}

const HostRegion& HostPort::EffectiveClip()
{
    if (mEffectiveValid)
        return mEffective;
    mEffective = HostRegion::Intersection(HostRegion::Intersection(mClip, mVisible), HostRegion(PortRect()));
    mClipBoxes.clear();
    for (const Rect& r : mEffective.Rects())
        mClipBoxes.push_back(StoreBox(r));
    mEffectiveValid = true;
    return mEffective;
}

const std::vector<HostBox>& HostPort::ClipBoxes()
{
    EffectiveClip();
    return mClipBoxes;
}

HostBox HostPort::StoreBox(const Rect& rect) const
{
    const Rect& b = mPixels.Bounds();
    return HostBox{int32_t(rect.left) - b.left, int32_t(rect.top) - b.top, int32_t(rect.right) - b.left,
                   int32_t(rect.bottom) - b.top};
}

Rect HostPort::ChangedBounds() const
{
    if (mChanged.Empty())
        return Rect{0, 0, 0, 0};
    const Rect& b = mPixels.Bounds();
    return Rect{clamp16(int64_t(mChanged.top) + b.top), clamp16(int64_t(mChanged.left) + b.left),
                clamp16(int64_t(mChanged.bottom) + b.top), clamp16(int64_t(mChanged.right) + b.left)};
}

void HostPort::ClearChanged()
{
    mChanged = HostBox{};
}

void HostPort::NoteChanged(const HostBox& storeBox)
{
    if (storeBox.Empty())
        return;
    if (mChanged.Empty()) {
        mChanged = storeBox;
        return;
    }
    mChanged = HostBox{std::min(mChanged.left, storeBox.left), std::min(mChanged.top, storeBox.top),
                       std::max(mChanged.right, storeBox.right), std::max(mChanged.bottom, storeBox.bottom)};
}

// --- Current port and device -------------------------------------------------------------

void SetPort(GrafPtr port)
{
    sCurrentPort = HostPort::IsLive(port) ? port : nullptr;
}

void GetPort(GrafPtr* port)
{
    if (port)
        *port = sCurrentPort;
}

void GetGWorld(CGrafPtr* port, GDHandle* device)
{
    if (port)
        *port = sCurrentPort;
    if (device)
        *device = sCurrentDevice;
}

void SetGWorld(CGrafPtr port, GDHandle device)
{
    SetPort(port);
    if (sCurrentPort && sCurrentPort->IsWorld())
        sCurrentDevice = sCurrentPort->Device();
    else
        sCurrentDevice = device ? device : &sMainDevice;
}

GDHandle GetMainDevice()
{
    return &sMainDevice;
}

GDHandle GetGDevice()
{
    return sCurrentDevice;
}

void SetGDevice(GDHandle device)
{
    sCurrentDevice = device ? device : &sMainDevice;
}

Boolean IsValidPort(CGrafPtr port)
{
    return HostPort::IsLive(port);
}

// --- Off-screen worlds and their pixels ---------------------------------------------------

OSErr NewGWorld(GWorldPtr* world, int16_t depth, const Rect* bounds, CTabHandle table, GDHandle device,
                uint32_t flags)
{
    if (world == nullptr || bounds == nullptr)
        return paramErr;
    *world = nullptr;
    OSErr err = noErr;
    HostPort* port = HostPort::Create(*bounds, depth, &err);
    if (!port)
        return err;
    port->SetIsWorld(true);
    *world = port;
    return noErr;
}

void DisposeGWorld(GWorldPtr world)
{
    if (HostPort::IsLive(world))
        delete world;
}

GDHandle GetGWorldDevice(GWorldPtr world)
{
    return HostPort::IsLive(world) ? world->Device() : nullptr;
}

PixMapHandle GetGWorldPixMap(GWorldPtr world)
{
    return GetPortPixMap(world);
}

PixMapHandle GetPortPixMap(CGrafPtr port)
{
    return HostPort::IsLive(port) ? &port->Pixels() : nullptr;
}

Boolean LockPixels(PixMapHandle pixels)
{
    return pixels != nullptr && pixels->Valid();
}

void UnlockPixels(PixMapHandle)
{
}

Ptr GetPixBaseAddr(PixMapHandle pixels)
{
    return pixels ? reinterpret_cast<Ptr>(pixels->BaseAddr()) : nullptr;
}

int32_t GetPixRowBytes(PixMapHandle pixels)
{
    return pixels ? pixels->RowBytes() : 0;
}

int16_t GetPixDepth(PixMapHandle pixels)
{
    return pixels ? pixels->Depth() : 0;
}

Rect* GetPixBounds(PixMapHandle pixels, Rect* bounds)
{
    if (bounds)
        *bounds = pixels ? pixels->Bounds() : Rect{0, 0, 0, 0};
    return bounds;
}

BitMap* GetPortBitMapForCopyBits(CGrafPtr port)
{
    return GetPortPixMap(port);
}

Rect* GetPortBounds(CGrafPtr port, Rect* bounds)
{
    if (bounds)
        *bounds = HostPort::IsLive(port) ? port->PortRect() : Rect{0, 0, 0, 0};
    return bounds;
}

CTabHandle GetCTable(int16_t id)
{
    return id == kGreyTableID ? &kGreyTable : nullptr;
}

void DisposeCTable(CTabHandle)
{
}

// --- Clipping and visible region ------------------------------------------------------------

void ClipRect(const Rect* rect)
{
    if (current() && rect)
        current()->SetClip(HostRegion(*rect));
}

void SetClip(RgnHandle rgn)
{
    if (current() && rgn)
        current()->SetClip(*rgn);
}

void GetClip(RgnHandle rgn)
{
    if (current() && rgn)
        *rgn = current()->Clip();
}

RgnHandle GetPortVisibleRegion(CGrafPtr port, RgnHandle rgn)
{
    if (HostPort::IsLive(port) && rgn)
        *rgn = port->Visible();
    return rgn;
}

void SetPortVisibleRegion(CGrafPtr port, RgnHandle rgn)
{
    if (HostPort::IsLive(port) && rgn)
        port->SetVisible(*rgn);
}

// --- Pen and colours -----------------------------------------------------------------------

void MoveTo(int16_t h, int16_t v)
{
    if (current())
        current()->GetState().pen = Point{v, h};
}

void GetPen(Point* pt)
{
    if (pt)
        *pt = current() ? current()->GetState().pen : Point{0, 0};
}

void PenSize(int16_t width, int16_t height)
{
    if (current())
        current()->GetState().penSize = Point{height, width};
}

void PenMode(int16_t mode)
{
    if (current())
        current()->GetState().penMode = mode;
}

void PenNormal()
{
    if (!current())
        return;
    current()->GetState().penSize = Point{1, 1};
    current()->GetState().penMode = kModePatCopy;
}

Point* GetPortPenLocation(CGrafPtr port, Point* pt)
{
    if (pt)
        *pt = HostPort::IsLive(port) ? port->GetState().pen : Point{0, 0};
    return pt;
}

Point* GetPortPenSize(CGrafPtr port, Point* size)
{
    if (size)
        *size = HostPort::IsLive(port) ? port->GetState().penSize : Point{0, 0};
    return size;
}

int16_t GetPortPenMode(CGrafPtr port)
{
    return HostPort::IsLive(port) ? port->GetState().penMode : int16_t(kModePatCopy);
}

void RGBForeColor(const RGBColor* color)
{
    if (current() && color)
        current()->GetState().fore = *color;
}

void RGBBackColor(const RGBColor* color)
{
    if (current() && color)
        current()->GetState().back = *color;
}

void GetForeColor(RGBColor* color)
{
    if (color)
        *color = current() ? current()->GetState().fore : RGBColor{0, 0, 0};
}

void GetBackColor(RGBColor* color)
{
    if (color)
        *color = current() ? current()->GetState().back : RGBColor{0xFFFF, 0xFFFF, 0xFFFF};
}

void HiliteColor(const RGBColor* color)
{
    if (current() && color)
        current()->GetState().hilite = *color;
}

void GetPortHiliteColor(CGrafPtr port, RGBColor* color)
{
    if (color && HostPort::IsLive(port))
        *color = port->GetState().hilite;
}

void OpColor(const RGBColor* color)
{
    if (current() && color)
        current()->GetState().opColor = *color;
}

uint8_t LMGetHiliteMode()
{
    return sHiliteMode;
}

void LMSetHiliteMode(uint8_t mode)
{
    sHiliteMode = mode;
}

void SetPortBackTexture(CGrafPtr port, GWorldPtr texture)
{
    if (HostPort::IsLive(port))
        port->GetState().backTexture = HostPort::IsLive(texture) && texture != port ? texture : nullptr;
}

// --- Text settings ----------------------------------------------------------------------------

void TextFont(int16_t font)
{
    if (current())
        current()->GetState().textFont = font;
}

void TextSize(int16_t size)
{
    if (current())
        current()->GetState().textSize = size;
}

void TextFace(int16_t face)
{
    if (current())
        current()->GetState().textFace = uint8_t(face);
}

void TextMode(int16_t mode)
{
    if (current())
        current()->GetState().textMode = mode;
}

int16_t GetPortTextFont(CGrafPtr port)
{
    return HostPort::IsLive(port) ? port->GetState().textFont : 0;
}

int16_t GetPortTextSize(CGrafPtr port)
{
    return HostPort::IsLive(port) ? port->GetState().textSize : 0;
}

int16_t GetPortTextFace(CGrafPtr port)
{
    return HostPort::IsLive(port) ? port->GetState().textFace : 0;
}

int16_t GetPortTextMode(CGrafPtr port)
{
    return HostPort::IsLive(port) ? port->GetState().textMode : int16_t(kModeOr);
}
