// The off-screen pixel store behind an ImageBuffer: a graphics world whose pixels stay locked
// for the store's whole life. Depth 32 and 1 keep native-endian pixels; depth 8 uses the grey
// table.
#pragma once

#include "HostPorts.h"

#include <cstdint>

class FWRect;

class CMacIBStuff {
public:
    // Throws std::bad_alloc when the world cannot be made (out of memory, or a depth other
    // than 1, 8 or 32). The current world is the same afterwards.
    CMacIBStuff(const FWRect& rect, int32_t depth);
    ~CMacIBStuff();
    CMacIBStuff(const CMacIBStuff&) = delete;
    CMacIBStuff& operator=(const CMacIBStuff&) = delete;

    uint8_t* BaseAddr() const;
    int32_t RowBytes() const;
    GWorldPtr GWorld() const { return mWorld; }
    GDHandle GDevice() const { return mDevice; }
    // Makes the world current.
    void SetGWorld() const;

    // Objects that own stores and live until program exit (static caches) call this before
    // they exist: the platform's bookkeeping of worlds is then made first and so outlives them.
    static void PrepareForStaticOwners();

private:
    GWorldPtr mWorld = nullptr;
    GDHandle mDevice = nullptr;
};
