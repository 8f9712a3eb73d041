// The silent sink's clock: frames count as played as time passes, as on a device.
#include <gtest/gtest.h>

#include "../../plugins/common/pacing_clock.h"

namespace {

constexpr int kRate = 1000;  // one frame per millisecond keeps the tables readable
constexpr int64_t kMs = 1000;

enum class Step { Queue, Pause, Resume, Reset, Check };

struct Action {
    Step step;
    int64_t atMs;
    int64_t frames;      // Queue: offered; Check: expected played
    int64_t taken = -1;  // Queue: expected taken
};

struct ClockCase {
    const char* name;
    bool paced;
    std::vector<Action> actions;
};

class PacingClockTest : public ::testing::TestWithParam<ClockCase> {};

TEST_P(PacingClockTest, PlaysAsTimePasses) {
    PacingClock clock(kRate, 200, GetParam().paced);
    for (const Action& a : GetParam().actions) {
        const int64_t now = a.atMs * kMs;
        switch (a.step) {
            case Step::Queue:
                EXPECT_EQ(clock.Queue(a.frames, now), a.taken) << "queue at " << a.atMs;
                break;
            case Step::Pause:
                clock.Pause(now);
                break;
            case Step::Resume:
                clock.Resume(now);
                break;
            case Step::Reset:
                clock.Reset();
                break;
            case Step::Check:
                EXPECT_EQ(clock.Played(now), a.frames) << "played at " << a.atMs;
                break;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Timelines, PacingClockTest,
    ::testing::Values(
        ClockCase{"real_time",
                  true,
                  {{Step::Queue, 0, 150, 150}, {Step::Check, 0, 0}, {Step::Check, 100, 100}, {Step::Check, 150, 150}}},
        ClockCase{"capacity_limits_what_is_queued",
                  true,
                  {{Step::Queue, 0, 500, 200}, {Step::Queue, 50, 500, 50}, {Step::Check, 250, 250}}},
        ClockCase{"never_plays_more_than_queued", true, {{Step::Queue, 0, 100, 100}, {Step::Check, 1000, 100}}},
        // Time spent starved is lost: new frames start playing when they come.
        ClockCase{"starved_time_is_not_credited",
                  true,
                  {{Step::Queue, 0, 100, 100},
                   {Step::Check, 500, 100},
                   {Step::Queue, 500, 100, 100},
                   {Step::Check, 550, 150}}},
        ClockCase{"pause_holds",
                  true,
                  {{Step::Queue, 0, 200, 200},
                   {Step::Pause, 50, 0},
                   {Step::Check, 150, 50},
                   {Step::Queue, 150, 10, 0},
                   {Step::Resume, 150, 0},
                   {Step::Check, 200, 100}}},
        ClockCase{"reset_drops_the_queue",
                  true,
                  {{Step::Queue, 0, 200, 200},
                   {Step::Check, 50, 50},
                   {Step::Reset, 50, 0},
                   {Step::Check, 100, 50},
                   {Step::Queue, 100, 300, 200}}},
        ClockCase{
            "unpaced_plays_at_once",
            false,
            {{Step::Queue, 0, 5000, 5000}, {Step::Check, 0, 5000}, {Step::Pause, 0, 0}, {Step::Queue, 0, 10, 0}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PacingClockFractionsTest, SubFrameStepsAddUp) {
    PacingClock clock(44100, 1 << 20, true);
    clock.Queue(1 << 20, 0);
    for (int64_t micros = 0; micros <= 1000000; micros += 7) clock.Played(micros);
    EXPECT_EQ(clock.Played(1000000), 44100);
}

}  // namespace
