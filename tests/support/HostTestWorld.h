// A scoped off-screen world made current for a test, with helpers to read its pixels back.
#pragma once

#include "HostPorts.h"

#include <vector>

class HostTestWorld {
public:
    HostTestWorld(const Rect& bounds, int16_t depth = 32)
    {
        GetGWorld(&mSavedPort, &mSavedDevice);
        mErr = NewGWorld(&mWorld, depth, &bounds, depth == 8 ? GetCTable(kGreyTableID) : nullptr, nullptr, 0);
        SetGWorld(mWorld, nullptr);
    }
    ~HostTestWorld()
    {
        SetGWorld(mSavedPort, mSavedDevice);
        DisposeGWorld(mWorld);
    }
    HostTestWorld(const HostTestWorld&) = delete;
    HostTestWorld& operator=(const HostTestWorld&) = delete;

    OSErr Error() const { return mErr; }
    GWorldPtr World() const { return mWorld; }
    HostPixelMap& Pixels() const { return *GetGWorldPixMap(mWorld); }
    // The colour at local (h, v).
    uint32_t At(int h, int v) const { return Pixels().GetAt(h, v); }
    // Every pixel, row by row, as colours.
    std::vector<uint32_t> Snapshot() const
    {
        std::vector<uint32_t> all;
        for (int32_t y = 0; y < Pixels().Height(); ++y) {
            for (int32_t x = 0; x < Pixels().Width(); ++x)
                all.push_back(Pixels().Get(x, y));
        }
        return all;
    }
    // Fills the whole world with a colour, whatever the port's state.
    void Fill(uint32_t argb) const
    {
        for (int32_t y = 0; y < Pixels().Height(); ++y) {
            for (int32_t x = 0; x < Pixels().Width(); ++x)
                Pixels().Set(x, y, argb);
        }
    }

private:
    GWorldPtr mWorld = nullptr;
    CGrafPtr mSavedPort = nullptr;
    GDHandle mSavedDevice = nullptr;
    OSErr mErr = noErr;
};

constexpr uint32_t kTestWhite = HostArgb(255, 255, 255, 255);
constexpr uint32_t kTestBlack = HostArgb(255, 0, 0, 0);
constexpr RGBColor kRGBWhite{0xFFFF, 0xFFFF, 0xFFFF};
constexpr RGBColor kRGBBlack{0, 0, 0};
