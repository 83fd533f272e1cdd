#include "CMacDCStuff.h"

namespace {

bool sameColor(const RGBColor& a, const RGBColor& b)
{
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

} // namespace

CMacDCStuff::CMacDCStuff(CGrafPtr port, GDHandle device)
    : mPort(port), mDevice(device), mScratch(NewRgn()), mWanted(NewRgn())
{
}

CMacDCStuff::~CMacDCStuff()
{
    DisposeRgn(mScratch);
    DisposeRgn(mWanted);
}

void CMacDCStuff::SyncPort()
{
    CGrafPtr port = nullptr;
    GDHandle device = nullptr;
    GetGWorld(&port, &device);
    if (port != mPort || device != mDevice)
        SetGWorld(mPort, mDevice);
}

void CMacDCStuff::SyncClip()
{
    RectRgn(mWanted, &mEffectiveClip);
    GetClip(mScratch);
    if (!EqualRgn(mScratch, mWanted))
        SetClip(mWanted);
}

void CMacDCStuff::SyncColors()
{
    RGBColor current;
    GetForeColor(&current);
    if (!sameColor(current, mForeColor))
        RGBForeColor(&mForeColor);
    GetBackColor(&current);
    if (!sameColor(current, mBackColor))
        RGBBackColor(&mBackColor);
}

void CMacDCStuff::SyncPenMode()
{
    const int16_t current = GetPortPenMode(mPort);
    if (mPenMode == kModeCopy) {
        if (current != kModeCopy && current != kModePatCopy)
            PenNormal();
    } else if (current != kModeXor && current != kModePatXor) {
        PenMode(kModePatXor);
    }
}

void CMacDCStuff::SyncPenLocation()
{
    Point current{0, 0};
    GetPortPenLocation(mPort, &current);
    if (current.h != mPenLocation.h || current.v != mPenLocation.v)
        MoveTo(mPenLocation.h, mPenLocation.v);
}

void CMacDCStuff::SyncFont()
{
    if (GetPortTextFont(mPort) != mFontNumber)
        TextFont(mFontNumber);
    if (GetPortTextFace(mPort) != mFontFace)
        TextFace(mFontFace);
    if (GetPortTextSize(mPort) != mFontSize)
        TextSize(mFontSize);
}

void CMacDCStuff::SyncImages()
{
    SyncPort();
    SyncClip();
}

void CMacDCStuff::SyncShapes()
{
    SyncImages();
    SyncColors();
    SyncPenMode();
}

void CMacDCStuff::SyncLines()
{
    SyncShapes();
    SyncPenLocation();
}

void CMacDCStuff::SyncStrings()
{
    SyncImages();
    SyncColors();
    SyncPenLocation();
    SyncFont();
}

void CMacDCStuff::TakePenLocation()
{
    GetPortPenLocation(mPort, &mPenLocation);
}
