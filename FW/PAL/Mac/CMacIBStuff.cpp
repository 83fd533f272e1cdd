#include "CMacIBStuff.h"

#include "CGWorldSaver.h"
#include "FWRect.h"

#include <new>

namespace {

// Native-endian pixels in local memory.
constexpr uint32_t kNativeLocalFlags = 0x108;
constexpr uint32_t kLocalFlags = 0x8;

} // namespace

CMacIBStuff::CMacIBStuff(const FWRect& rect, int32_t depth)
{
    CGWorldSaver saver;
    const Rect bounds{rect.top, rect.left, rect.bottom, rect.right};
    OSErr err = paramErr;
    if (depth == 32 || depth == 1) {
        err = NewGWorld(&mWorld, int16_t(depth), &bounds, nullptr, nullptr, kNativeLocalFlags);
    } else if (depth == 8) {
        CTabHandle greys = GetCTable(kGreyTableID);
        err = NewGWorld(&mWorld, 8, &bounds, greys, nullptr, kLocalFlags);
        DisposeCTable(greys);
    }
    if (err != noErr || mWorld == nullptr)
        throw std::bad_alloc();
    mDevice = GetGWorldDevice(mWorld);
    LockPixels(GetGWorldPixMap(mWorld));
}

CMacIBStuff::~CMacIBStuff()
{
    UnlockPixels(GetGWorldPixMap(mWorld));
    DisposeGWorld(mWorld);
}

uint8_t* CMacIBStuff::BaseAddr() const
{
    return reinterpret_cast<uint8_t*>(GetPixBaseAddr(GetGWorldPixMap(mWorld)));
}

int32_t CMacIBStuff::RowBytes() const
{
    return GetPixRowBytes(GetGWorldPixMap(mWorld));
}

void CMacIBStuff::SetGWorld() const
{
    ::SetGWorld(mWorld, mDevice);
}

void CMacIBStuff::PrepareForStaticOwners()
{
    static const bool sPrepared = [] {
        const Rect bounds{0, 0, 1, 1};
        GWorldPtr world = nullptr;
        if (NewGWorld(&world, 1, &bounds, nullptr, nullptr, kNativeLocalFlags) == noErr)
            DisposeGWorld(world);
        return true;
    }();
    (void)sPrepared;
}
