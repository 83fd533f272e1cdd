#include "FWScreenFramePAC.h"

#include "HostPixels.h"
#include "HostWindows.h"

namespace {

constexpr WindowAttributes kOverlayAttributes = 0x21080000;
constexpr uint32_t kTransparent = 0x00000000;
constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kBlack = 0xFF000000;

Rect toRect(const FWRect& r)
{
    return Rect{r.top, r.left, r.bottom, r.right};
}

// One dashed outline at inset i: dashes of one pixel, white where black is not, so the two
// colours alternate along the outline whatever lies below.
void dashFrameRect(HostPixelMap& pixels, int32_t inset)
{
    const int32_t left = inset;
    const int32_t top = inset;
    const int32_t right = pixels.Width() - inset - 1;
    const int32_t bottom = pixels.Height() - inset - 1;
    if (right < left || bottom < top)
        return;
    auto dot = [&](int32_t x, int32_t y) { pixels.Set(x, y, ((x + y) & 1) == 0 ? kWhite : kBlack); };
    for (int32_t x = left; x <= right; ++x) {
        dot(x, top);
        dot(x, bottom);
    }
    for (int32_t y = top; y <= bottom; ++y) {
        dot(left, y);
        dot(right, y);
    }
}

} // namespace

FWScreenFramePAC::FWScreenFramePAC(const FWRect& bounds) : mBounds(bounds)
{
    CreateWindow();
}

FWScreenFramePAC::~FWScreenFramePAC()
{
    if (mWindow != nullptr)
        DisposeWindow(mWindow);
}

void FWScreenFramePAC::CreateWindow()
{
    const Rect bounds = toRect(mBounds);
    if (CreateNewWindow(kHostOverlayWindowClass, kOverlayAttributes, &bounds, &mWindow) != noErr) {
        mWindow = nullptr;
        return;
    }
    Draw();
}

void FWScreenFramePAC::Draw()
{
    CGrafPtr port = GetWindowPort(mWindow);
    if (port == nullptr)
        return;
    HostPixelMap& pixels = port->Pixels();
    for (int32_t y = 0; y < pixels.Height(); ++y)
        for (int32_t x = 0; x < pixels.Width(); ++x)
            pixels.Set(x, y, kTransparent);
    dashFrameRect(pixels, 0);
    dashFrameRect(pixels, 1);
    port->NoteChanged(HostBox{0, 0, pixels.Width(), pixels.Height()});
    ++mDrawCount;
}

void FWScreenFramePAC::Show()
{
    if (mWindow != nullptr)
        ShowWindow(mWindow);
    mVisible = true;
}

void FWScreenFramePAC::Hide()
{
    if (mWindow != nullptr)
        HideWindow(mWindow);
    mVisible = false;
}

void FWScreenFramePAC::SetBounds(const FWRect& bounds)
{
    const bool moved = bounds.left != mBounds.left || bounds.top != mBounds.top;
    const bool resized = bounds.Width() != mBounds.Width() || bounds.Height() != mBounds.Height();
    if (!moved && !resized)
        return;
    mBounds = bounds;
    if (mWindow == nullptr)
        return;
    SizeWindow(mWindow, bounds.Width(), bounds.Height(), false);
    MoveWindow(mWindow, bounds.left, bounds.top, false);
    if (resized)
        Draw();
}
