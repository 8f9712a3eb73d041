// Elapsed seconds as the input plug-in reports them.
#include <gtest/gtest.h>

#include "../../plugins/input/track_numbers.h"

namespace {

TEST(ElapsedCounterTest, TellsEachNewWholeSecondOnce) {
    ElapsedCounter counter(1000);
    std::vector<int> told;
    for (int64_t frames : {0, 500, 999, 1000, 1000, 1500, 2999, 3000, 3001}) {
        if (const auto seconds = counter.Update(frames)) told.push_back(*seconds);
    }
    EXPECT_EQ(told, (std::vector<int>{1, 2, 3}));
}

TEST(ElapsedCounterTest, AJumpTellsOnlyTheLatest) {
    ElapsedCounter counter(1000);
    EXPECT_EQ(counter.Update(5200), 5);
    EXPECT_EQ(counter.Update(5900), std::nullopt);
}

// A format change starts a new stream whose frames count from 0 at another rate.
TEST(ElapsedCounterTest, SecondsCarryOverIntoTheNextStream) {
    ElapsedCounter counter(8000);
    EXPECT_EQ(counter.Update(6000), std::nullopt);
    counter.NextStream(6000, 44100);
    EXPECT_EQ(counter.Update(11025), 1);
    EXPECT_EQ(counter.Update(55125), 2);
}

}  // namespace
