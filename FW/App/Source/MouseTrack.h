// Follows the mouse after a click until the button is released. A control builds a subclass on
// the stack, calls Set with its window and the click point, then DoInteraction, which blocks and
// calls the hooks on the way; Track is a one-poll-per-call entry for callers with a loop of their
// own. Movement can be held to one axis, and the cursor can wrap around the edges of the screen
// space so that a drag never runs out of room.
#pragma once

#include "FWPoint.h"
#include "FWRect.h"

#include <cstdint>

class FWWindow;

// 0 horizontal only, 1 vertical only, 2 free.
enum MouseTrackType : int32_t {
    kTrackHorizontal = 0,
    kTrackVertical = 1,
    kTrackFree = 2,
};

class MouseTrack {
public:
    // Results of Track.
    enum : int32_t { kTrackMoved = 0, kTrackStill = 1, kTrackFinished = 2 };

    MouseTrack() = default;
    virtual ~MouseTrack() = default;

    // Starts a tracking at the point (window-content coordinates); the moved flag stays.
    virtual MouseTrack& Set(FWWindow* window, const FWPoint& point);
    // Ticks the mouse must rest before a pass counts as paused.
    virtual void SetPauseDelay(int32_t ticks) { mPauseDelay = ticks; }
    virtual void Set(bool wrap, MouseTrackType type);
    // Blocks until the button is released; true when the mouse moved at all (false at once
    // without a window).
    virtual bool DoInteraction();
    // One poll: kTrackMoved, kTrackStill, or kTrackFinished once the button is up (or without a
    // window).
    virtual int32_t Track();

    // Hooks; the base does nothing.
    virtual void BeginInteraction() {}
    virtual void MouseMoved() {}
    virtual void MousePaused() {}
    virtual void FinishInteraction() {}

    FWPoint StartPoint() const { return mStart; }
    FWPoint CurrentPoint() const { return mCurrent; }
    FWPoint PreviousPoint() const { return mPrevious; }
    FWWindow* Window() const { return mWindow; }
    bool FirstMove() const { return mFirstMove; }
    bool Paused() const { return mPaused; }
    bool Moving() const { return mMoving; }
    bool Moved() const { return mMoved; }

protected:
    FWPoint mStart;
    FWPoint mCurrent;
    FWPoint mPrevious;
    FWPoint mRaw;
    MouseTrackType mTrackType = kTrackFree;
    bool mWrap = false;
    FWRect mBounds;
    FWWindow* mWindow = nullptr;
    bool mFirstMove = false;
    bool mPaused = false;
    bool mMoving = false;
    int32_t mPauseDelay = 0;
    bool mBeginPending = false;
    int32_t mStepState = -1; // no poll yet
    bool mMoved = false;

private:
    // Reads the mouse, wraps and constrains it; true when it moved since the last report.
    bool TrackMouse();
    void wrapAtEdges();
    void loadBounds();
    // The bookkeeping after a reported move.
    void noteMove();
};
