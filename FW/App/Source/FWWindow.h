// A framework window: a platform window whose frame and title bar the framework draws, with its
// content area at (FrameWidth, TitleWidth) inside it. Only the geometry and font that drawing
// contexts need are declared here; the rest of the window comes with the windows themselves.
#pragma once

#include "FWFont.h"
#include "FWRect.h"

#include <cstdint>

class FWWindow {
public:
    FWWindow() = default;
    virtual ~FWWindow() = default;

    // Geometry. Size is the whole window (frame and title included) in its own coordinates;
    // the content rectangle is (0, 0, width - 2 x frame, height - title - frame).
    FWRect Size() const { return mSize; }
    virtual void GetContentRect(FWRect* rect)
    {
        if (rect == nullptr)
            return;
        const FWRect size = Size();
        rect->Set(0, 0, int16_t(size.Width() - 2 * FrameWidth()), int16_t(size.Height() - TitleWidth() - FrameWidth()));
    }
    // The title bar's height and the frame's width (low 16 bits), or 0 in window space.
    int16_t TitleWidth() const { return mWindowSpace ? 0 : int16_t(mTitleWidth); }
    int16_t FrameWidth() const { return mWindowSpace ? 0 : int16_t(mFrameWidth); }
    virtual void SetTitleWidth(int32_t width) { mTitleWidth = width; }
    virtual void SetFrameWidth(int32_t width) { mFrameWidth = width; }
    void WindowSpace() { mWindowSpace = true; }
    void ContentSpace() { mWindowSpace = false; }

    // Marks a rectangle of the content for redrawing; null marks the whole window.
    void Inval(const FWRect*) {}

    // The font views draw in unless they choose another.
    const FWFont& Font() const { return mFont; }

private:
    bool mWindowSpace = false;
    FWRect mSize;
    int32_t mTitleWidth = 25;
    int32_t mFrameWidth = 3;
    FWFont mFont;
};
