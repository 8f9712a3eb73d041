// The silent sink's clock as a writer waiting for room sees it.
#include <gtest/gtest.h>

#include "../../plugins/common/pacing_clock.h"

namespace {

// The writer sleeps until the frames it waits for have played: woken sooner it spins,
// later the sink runs dry or the track ends late. Paused, or with nothing queued, no
// time frees anything: only a call may wake it.
TEST(PacingClockTest, AWaitingWriterIsWokenWhenItsFramesHavePlayedNeitherSoonerNorLater) {
    PacingClock clock(1000, 8, true);  // a frame a millisecond
    ASSERT_EQ(clock.Queue(8, 0), 8);
    EXPECT_EQ(clock.MicrosUntilPlayed(4, 0), 4000);
    EXPECT_EQ(clock.MicrosUntilPlayed(4, 2500), 3500) << "half a frame has played";
    EXPECT_EQ(clock.MicrosUntilPlayed(4, 6000), 2000) << "only two are left";
    clock.Pause(6000);
    EXPECT_EQ(clock.MicrosUntilPlayed(4, 9000), -1) << "paused";
    clock.Resume(9000);
    EXPECT_EQ(clock.MicrosUntilPlayed(4, 10000), 1000);
    EXPECT_EQ(clock.MicrosUntilPlayed(4, 11000), -1) << "all played";
    PacingClock thirds(3, 8, true);
    thirds.Queue(1, 0);
    EXPECT_EQ(thirds.MicrosUntilPlayed(1, 0), 333334) << "rounded up";
}

}  // namespace
