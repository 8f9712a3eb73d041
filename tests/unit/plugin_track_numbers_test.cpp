// Elapsed seconds as the input plug-in reports them.
#include <gtest/gtest.h>

#include "../../plugins/input/track_numbers.h"

namespace {

// Each new whole second once; after a jump only the latest. A format change starts a
// new stream whose frames count from 0 at another rate: the seconds carry over.
TEST(ElapsedCounterTest, TellsEachNewWholeSecondOnceAcrossStreams) {
    ElapsedCounter counter(1000);
    std::vector<int> told;
    auto update = [&](int64_t frames) {
        if (const auto seconds = counter.Update(frames)) told.push_back(*seconds);
    };
    for (int64_t frames : {0, 500, 999, 1000, 1000, 1500, 2999, 3000, 3001, 5200, 5900}) update(frames);
    counter.NextStream(5900, 44100);
    for (int64_t frames : {4409, 4410, 48510}) update(frames);
    EXPECT_EQ(told, (std::vector<int>{1, 2, 3, 5, 6, 7}));
}

}  // namespace
