#include "MouseTrack.h"

#include "ControlTestWindow.h"
#include "FWPlatformUtils.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class LoggingTrack : public MouseTrack {
public:
    void BeginInteraction() override { mLog.push_back("begin"); }
    void MouseMoved() override
    {
        mLog.push_back("moved");
        mMoves.push_back(FWPoint(int16_t(mCurrent.h - mPrevious.h), int16_t(mCurrent.v - mPrevious.v)));
        FWGetMousePosition(mCursor);
    }
    void MousePaused() override
    {
        if (mLog.empty() || mLog.back() != "paused")
            mLog.push_back("paused");
    }
    void FinishInteraction() override { mLog.push_back("finish"); }
    std::vector<std::string> mLog;
    std::vector<FWPoint> mMoves;
    FWPoint mCursor;
};

} // namespace

TEST(MouseTrack, AReleaseWithoutAMoveReportsNoMove)
{
    ControlTestWindow w;
    LoggingTrack track;
    EXPECT_FALSE(track.DoInteraction()); // no window: no hook at all
    EXPECT_TRUE(track.mLog.empty());

    w.Click(FWPoint(40, 40), {FWPoint(40, 40)}); // held a while without moving
    track.Set(&w.Window(), FWPoint(40, 40));
    EXPECT_FALSE(track.DoInteraction());
    EXPECT_EQ((std::vector<std::string>{"begin", "paused", "finish"}), track.mLog);
}

TEST(MouseTrack, TheTrackTypeHoldsAnAxis)
{
    struct Case {
        MouseTrackType type;
        FWPoint to;
        bool moved;
    };
    for (const Case& c : {Case{kTrackHorizontal, FWPoint(40, 90), false}, Case{kTrackHorizontal, FWPoint(45, 90), true},
                          Case{kTrackVertical, FWPoint(70, 40), false}, Case{kTrackFree, FWPoint(40, 41), true}}) {
        ControlTestWindow w;
        w.Click(FWPoint(40, 40), {c.to});
        LoggingTrack track;
        track.Set(&w.Window(), FWPoint(40, 40));
        track.Set(false, c.type);
        EXPECT_EQ(c.moved, track.DoInteraction()) << c.type;
    }
}

TEST(MouseTrack, WrappingPastTheLeftEdgeJumpsToTheRightAndMovesOnePixel)
{
    ControlTestWindow w;
    // Global h 0 is the left edge of the 1280-pixel screen space.
    const FWPoint edge(int16_t(0 - 103), 60);
    w.Click(FWPoint(40, 60), {edge});
    LoggingTrack track;
    track.Set(&w.Window(), FWPoint(40, 60));
    track.Set(true, kTrackFree);
    EXPECT_TRUE(track.DoInteraction());
    ASSERT_EQ(1u, track.mMoves.size());
    EXPECT_EQ(FWPoint(-1, 0), track.mMoves.back());
    EXPECT_EQ(1280 - 2, track.mCursor.h);
}

TEST(MouseTrack, TrackPollsOnceACallUntilTheRelease)
{
    ControlTestWindow w;
    w.Click(FWPoint(40, 40), {FWPoint(50, 40)});
    LoggingTrack track;
    track.Set(&w.Window(), FWPoint(40, 40));
    std::vector<int32_t> results;
    for (int32_t r = 0; r != MouseTrack::kTrackFinished && results.size() < 10;)
        results.push_back(r = track.Track());
    EXPECT_EQ((std::vector<int32_t>{MouseTrack::kTrackMoved, MouseTrack::kTrackFinished}), results);
    EXPECT_EQ((std::vector<std::string>{"begin", "finish"}), track.mLog);
    EXPECT_FALSE(track.FirstMove());
}
