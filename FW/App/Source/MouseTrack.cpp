#include "MouseTrack.h"

#include "FWMonitor.h"
#include "FWPlatformUtils.h"
#include "FWWindow.h"

MouseTrack& MouseTrack::Set(FWWindow* window, const FWPoint& point)
{
    mWindow = window;
    mStart = mCurrent = mPrevious = mRaw = point;
    mFirstMove = mPaused = mMoving = true;
    mBeginPending = true;
    mStepState = -1;
    return *this;
}

void MouseTrack::Set(bool wrap, MouseTrackType type)
{
    mWrap = wrap;
    mTrackType = type;
}

// The screen space the cursor wraps in, with right and bottom on the last pixel inside.
void MouseTrack::loadBounds()
{
    FWMonitor::GetMonitorSpaceBounds(mBounds);
    mBounds.right = int16_t(mBounds.right - 1);
    mBounds.bottom = int16_t(mBounds.bottom - 1);
}

// At most one edge per poll. The previous point goes one pixel beyond the opposite edge, so the
// move reported across the wrap is one pixel in the direction of travel.
void MouseTrack::wrapAtEdges()
{
    FWPoint current = mCurrent;
    FWPoint previous = mPrevious;
    mWindow->WindowToGlobal(&current);
    mWindow->WindowToGlobal(&previous);
    bool wrapped = true;
    if (current.h <= mBounds.left) {
        current.h = int16_t(mBounds.right - 1);
        previous = current;
        previous.h = mBounds.right;
    } else if (current.h >= mBounds.right) {
        current.h = int16_t(mBounds.left + 1);
        previous = current;
        previous.h = mBounds.left;
    } else if (current.v <= mBounds.top) {
        current.v = int16_t(mBounds.bottom - 1);
        previous = current;
        previous.v = mBounds.bottom;
    } else if (current.v >= mBounds.bottom) {
        current.v = int16_t(mBounds.top + 1);
        previous = current;
        previous.v = mBounds.top;
    } else {
        wrapped = false;
    }
    if (wrapped)
        FWSetMousePosition(current);
    mWindow->GlobalToWindow(&current);
    mWindow->GlobalToWindow(&previous);
    mCurrent = current;
    mPrevious = previous;
}

bool MouseTrack::TrackMouse()
{
    mWindow->GetMouseLocal(&mCurrent);
    if (mWrap)
        wrapAtEdges();
    mRaw = mCurrent;
    switch (mTrackType) {
    case kTrackHorizontal:
        mCurrent.v = mPrevious.v = mStart.v;
        return mCurrent.h != mPrevious.h;
    case kTrackVertical:
        mCurrent.h = mPrevious.h = mStart.h;
        return mCurrent.v != mPrevious.v;
    default:
        return mCurrent != mPrevious;
    }
}

void MouseTrack::noteMove()
{
    mPaused = false;
    mMoving = true;
    mCurrent = mRaw;
    mPrevious = mCurrent;
    mFirstMove = false;
}

bool MouseTrack::DoInteraction()
{
    if (mWindow == nullptr)
        return false;
    BeginInteraction();
    if (mWrap)
        loadBounds();
    while (FWIsMouseStillDown()) {
        if (TrackMouse()) {
            MouseMoved();
            mMoved = true;
            noteMove();
        } else if (mWindow->MousePause(mCurrent, mPauseDelay)) {
            MousePaused();
            mMoving = false;
            mPaused = true;
        }
    }
    FinishInteraction();
    return mMoved;
}

int32_t MouseTrack::Track()
{
    if (mWindow == nullptr)
        return kTrackFinished;
    if (mBeginPending) {
        BeginInteraction();
        if (mWrap)
            loadBounds();
        mBeginPending = false;
    }
    if (mStepState == kTrackMoved) {
        noteMove();
    } else if (mStepState == kTrackStill) {
        mMoving = false;
        mPaused = true;
    }
    if (!FWIsMouseStillDown()) {
        FinishInteraction();
        return kTrackFinished;
    }
    mStepState = TrackMouse() ? kTrackMoved : kTrackStill;
    return mStepState;
}
