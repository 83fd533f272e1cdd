// The platform state of a drawing context: the graphics port it draws on (a window's port or
// an image's off-screen world) and the drawing state the context asked for. The state reaches
// the port lazily: each Sync call compares the port's values with the requested ones and sets
// only those that differ, so long runs of drawing with unchanged state make no port calls.
#pragma once

#include "FWFont.h"
#include "FWRect.h"
#include "HostPorts.h"

#include <cstdint>

class CMacDCStuff {
public:
    CMacDCStuff(CGrafPtr port, GDHandle device);
    ~CMacDCStuff();
    CMacDCStuff(const CMacDCStuff&) = delete;
    CMacDCStuff& operator=(const CMacDCStuff&) = delete;

    CGrafPtr Port() const { return mPort; }
    GDHandle Device() const { return mDevice; }

    // Synchronisation groups. Images: port and clip. Shapes: also colours and pen mode.
    // Lines: also the pen location. Strings: port, clip, colours, pen location and font.
    void SyncPort();
    void SyncClip();
    void SyncColors();
    void SyncPenMode();
    void SyncPenLocation();
    void SyncFont();
    void SyncImages();
    void SyncShapes();
    void SyncLines();
    void SyncStrings();
    // Takes the port's pen location as the requested one (text moves the pen).
    void TakePenLocation();

    // The requested state. Clip: the rectangle in the context's coordinates, and the effective
    // rectangle in port coordinates. Colours: 16 bits a channel. Pen mode: 0 copy, 2 xor.
    // Pen: port coordinates. Font: the framework font and what it means to the platform.
    static constexpr FWRect kWideOpen{-30000, -30000, 30000, 30000};
    FWRect mRequestedClip = kWideOpen;
    Rect mEffectiveClip{-30000, -30000, 30000, 30000};
    RGBColor mForeColor{0, 0, 0};
    RGBColor mBackColor{0xFFFF, 0xFFFF, 0xFFFF};
    int16_t mPenMode = kModeCopy;
    Point mPenLocation{0, 0};
    FWFont mFont;
    int16_t mFontNumber = 3;
    int16_t mFontSize = 9;
    int16_t mFontFace = 0;

private:
    CGrafPtr mPort;
    GDHandle mDevice;
    RgnHandle mScratch; // the port's clip, read for comparison
    RgnHandle mWanted;  // the effective clip as a region
};
