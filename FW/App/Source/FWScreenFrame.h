// A rectangle outline shown above every window while the user moves or resizes something. The
// outline lives in its platform half (FWScreenFramePAC), a transparent overlay window exactly
// covering the rectangle.
#pragma once

#include "FWRect.h"

class FWScreenFramePAC;
class FWWindow;

class FWScreenFrame {
public:
    // Hidden, at an empty rectangle / at the given global rectangle. The window is not used.
    FWScreenFrame();
    explicit FWScreenFrame(const FWWindow* window);
    FWScreenFrame(const FWWindow* window, const FWRect& bounds);
    ~FWScreenFrame();
    FWScreenFrame(const FWScreenFrame&) = delete;
    FWScreenFrame& operator=(const FWScreenFrame&) = delete;

    void Show();
    void Hide();
    // Moves and sizes the outline (global); the same rectangle again does nothing.
    void SetBounds(const FWRect& bounds);

    FWScreenFramePAC* GetPAC() const { return mPAC; }

private:
    FWScreenFramePAC* mPAC;
};
