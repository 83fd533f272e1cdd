// The platform half of the screen frame: a transparent overlay window exactly covering the
// rectangle, painted with a dashed double outline of alternating white and black pixels.
#pragma once

#include "FWRect.h"

struct HostWindow;

class FWScreenFramePAC {
public:
    // Hidden at bounds (global). When the overlay cannot be made, the frame only keeps its
    // bounds and flag.
    explicit FWScreenFramePAC(const FWRect& bounds);
    ~FWScreenFramePAC();
    FWScreenFramePAC(const FWScreenFramePAC&) = delete;
    FWScreenFramePAC& operator=(const FWScreenFramePAC&) = delete;

    void Show();
    void Hide();
    bool Visible() const { return mVisible; }
    void SetBounds(const FWRect& bounds);
    const FWRect& Bounds() const { return mBounds; }
    HostWindow* GetWindow() const { return mWindow; }
    // How often the outline was painted (moves alone repaint nothing).
    int32_t DrawCount() const { return mDrawCount; }

private:
    void CreateWindow();
    void Draw();

    FWRect mBounds;
    bool mVisible = false;
    HostWindow* mWindow = nullptr;
    int32_t mDrawCount = 0;
};
