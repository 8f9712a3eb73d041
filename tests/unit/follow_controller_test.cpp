#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "sprite/follow_controller.h"

namespace {

using Events = std::vector<std::string>;

const char* PoseName(Pose pose) {
    switch (pose) {
    case Pose::RestLeft: return "RestLeft";
    case Pose::RestRight: return "RestRight";
    case Pose::WalkLeft: return "WalkLeft";
    case Pose::WalkRight: return "WalkRight";
    }
    return "?";
}

// Records what the controller does to the window and the sprite. Moving the window
// changes the rectangle the next tick samples, as on the screen.
class FakePort final : public FollowPort {
public:
    ScreenPoint cursor = {0, 0};
    ScreenRect rect = {0, 0, 0, 0};
    int frame = 2;
    Events events;

    ScreenPoint CursorPosition() override { return cursor; }
    ScreenRect WindowRectangle() override { return rect; }
    void MoveWindowTo(int32_t x, int32_t y, int32_t width, int32_t height) override {
        char text[64];
        std::snprintf(text, sizeof(text), "move %d %d %d %d", x, y, width, height);
        events.push_back(text);
        rect = {x, y, x + width, y + height};
    }
    void LoadPose(Pose pose) override { events.push_back(std::string("pose ") + PoseName(pose)); }
    void ApplyShape(int shapeFrame, bool redraw) override {
        events.push_back("shape " + std::to_string(shapeFrame) + (redraw ? " redraw" : ""));
    }
    void AdvanceFrame() override { events.push_back("advance"); }
    int CurrentFrame() override { return frame; }
};

struct Situation {
    FollowState state;
    int waitingNearCursor;
    FollowState savedDirection;

    bool operator==(const Situation&) const = default;
};

constexpr FollowState kIdle = FollowState::Idle;
constexpr FollowState kLeft = FollowState::WalkLeft;
constexpr FollowState kRight = FollowState::WalkRight;

constexpr Situation kResting = {kIdle, 0, kIdle};
constexpr Situation kWalkingLeft = {kLeft, 0, kIdle};
constexpr Situation kWalkingRight = {kRight, 0, kIdle};
constexpr Situation kWaitingLeft = {kIdle, 1, kLeft};
constexpr Situation kWaitingRight = {kIdle, 1, kRight};

void PrintTo(const Situation& s, std::ostream* out) {
    *out << "state " << static_cast<int>(s.state) << " waiting " << s.waitingNearCursor << " saved "
         << static_cast<int>(s.savedDirection);
}

Situation SituationOf(const FollowController& follow) {
    return {follow.state, follow.waitingNearCursor, follow.savedDirection};
}

FollowController ControllerIn(Situation situation) {
    FollowController follow;
    follow.state = situation.state;
    follow.waitingNearCursor = situation.waitingNearCursor;
    follow.savedDirection = situation.savedDirection;
    follow.moveEnabled = situation == kResting ? 0 : 1;
    return follow;
}

// 100 x 120 at (400, 200): centreX 450.
constexpr ScreenRect kWindow = {400, 200, 500, 320};

TEST(ComputeStep, StepsTenPixelsTowardsTheCursorWithoutOverflow) {
    struct Case {
        int32_t left, top;
        ScreenPoint cursor;
        int32_t previousX, previousY;
        int32_t stepX, stepY;
    };
    const Case cases[] = {
        {400, 200, {500, 300}, 0, 0, 7, 7},
        {400, 200, {403, 201}, 0, 0, 10, 3},
        {400, 200, {400, 100}, 0, 0, 0, -10},
        {100, 100, {130, 60}, 0, 0, 6, -8},
        {100, 100, {101, 101}, 0, 0, 10, 10},
        // d = 0: the previous step, its vertical part negated.
        {100, 100, {100, 100}, 7, 7, 7, -7},
        // Monitors far apart: 50000 squared does not fit in 32 bits.
        {-20000, 30000, {30000, -20000}, 0, 0, 7, -7},
    };
    for (const Case& c : cases) {
        FollowController follow;
        follow.stepX = c.previousX;
        follow.stepY = c.previousY;
        follow.ComputeStep(c.cursor, c.left, c.top);
        EXPECT_EQ(follow.stepX, c.stepX) << "window " << c.left << "," << c.top << " cursor " << c.cursor.x << ","
                                         << c.cursor.y;
        EXPECT_EQ(follow.stepY, c.stepY) << "window " << c.left << "," << c.top << " cursor " << c.cursor.x << ","
                                         << c.cursor.y;
    }
}

struct TickCase {
    const char* name;
    Situation from;
    ScreenPoint cursor;
    Events events;
    Situation to;
};

TEST(FollowTick, EveryTransitionOfTheTickTable) {
    const TickCase cases[] = {
        {"walking left, cursor right of centre: turns and moves twice, ending right",
         kWalkingLeft, {700, 500},
         {"pose WalkRight", "move 393 207 100 120", "move 407 207 100 120", "advance"}, kWalkingRight},
        {"walking left, cursor left of centre", kWalkingLeft, {100, 200}, {"move 390 200 100 120", "advance"},
         kWalkingLeft},
        {"walking left, cursor on centre keeps going", kWalkingLeft, {450, 600}, {"move 399 209 100 120", "advance"},
         kWalkingLeft},
        {"walking right, cursor left of centre: turns but moves once, still right", kWalkingRight, {100, 100},
         {"pose WalkLeft", "move 409 197 100 120", "advance"}, kWalkingLeft},
        {"walking right, cursor right of centre", kWalkingRight, {800, 200}, {"move 410 200 100 120", "advance"},
         kWalkingRight},
        {"walking right, cursor on centre keeps going", kWalkingRight, {450, 0}, {"move 402 191 100 120", "advance"},
         kWalkingRight},
        {"arrival from walking left, after the move", kWalkingLeft, {440, 190},
         {"move 391 198 100 120", "pose RestLeft", "advance"}, kWaitingLeft},
        {"arrival from walking right, after the move", kWalkingRight, {460, 215},
         {"move 409 202 100 120", "pose RestRight", "advance"}, kWaitingRight},
        {"both distances exactly 20: no arrival", kWalkingLeft, {430, 180}, {"move 392 195 100 120", "advance"},
         kWalkingLeft},
        {"horizontal distance exactly 20: no arrival", kWalkingRight, {470, 205},
         {"move 410 200 100 120", "advance"}, kWalkingRight},
        {"waiting, cursor 21 away sideways: departs without moving", kWaitingRight, {471, 200},
         {"pose WalkRight", "advance"}, {kRight, 0, kRight}},
        {"waiting, cursor 21 away below: departs without moving", kWaitingLeft, {450, 221},
         {"pose WalkLeft", "advance"}, {kLeft, 0, kLeft}},
        {"waiting, both distances exactly 20: stays", kWaitingLeft, {470, 220}, {"advance"}, kWaitingLeft},
        {"waiting, cursor close: stays", kWaitingRight, {455, 195}, {"advance"}, kWaitingRight},
        {"resting, cursor far: stays", kResting, {0, 0}, {"advance"}, kResting},
        {"resting, cursor close: stays", kResting, {450, 200}, {"advance"}, kResting},
    };
    for (const TickCase& c : cases) {
        FollowController follow = ControllerIn(c.from);
        FakePort port;
        port.rect = kWindow;
        port.cursor = c.cursor;
        follow.FollowTick(port);
        EXPECT_EQ(port.events, c.events) << c.name;
        EXPECT_EQ(SituationOf(follow), c.to) << c.name;
        EXPECT_EQ(follow.lastCursor, c.cursor) << c.name;
        EXPECT_EQ(follow.lastWindowRect, kWindow) << c.name;
    }
}

TEST(FollowTick, AWindowDraggedBetweenTicksIsFollowedFromWhereItIs) {
    FollowController follow = ControllerIn(kWalkingRight);
    FakePort port;
    port.rect = kWindow;
    port.cursor = {900, 200};
    follow.FollowTick(port);
    port.rect = {100, 500, 200, 620};  // the user dragged it
    port.events.clear();
    follow.FollowTick(port);
    // From (100, 500) to the cursor: dx 800, dy 300, d 854.
    EXPECT_EQ(port.events, (Events{"move 109 497 100 120", "advance"}));
    EXPECT_EQ(follow.lastWindowRect, (ScreenRect{100, 500, 200, 620}));
}

TEST(FollowTick, ADepartureResumesTheSavedDirectionAndTurnsOnTheNextTick) {
    FollowController follow = ControllerIn(kWaitingRight);
    FakePort port;
    port.rect = kWindow;
    port.cursor = {100, 200};
    follow.FollowTick(port);
    EXPECT_EQ(port.events, (Events{"pose WalkRight", "advance"}));
    EXPECT_EQ(follow.state, kRight);
    port.events.clear();
    follow.FollowTick(port);
    EXPECT_EQ(port.events, (Events{"pose WalkLeft", "move 410 200 100 120", "advance"}));
    EXPECT_EQ(follow.state, kLeft);
}

struct ToggleCase {
    const char* name;
    Situation from;
    ScreenPoint lastCursor;
    Events events;
    Situation to;
};

TEST(ToggleMove, EveryTransitionOfTheToggleTable) {
    const ToggleCase cases[] = {
        {"resting, cursor left of centre", kResting, {449, 900}, {"pose WalkLeft", "shape 2 redraw"}, kWalkingLeft},
        {"resting, cursor right of centre", kResting, {451, 0}, {"pose WalkRight", "shape 2 redraw"},
         kWalkingRight},
        {"walking left", kWalkingLeft, {900, 0}, {"pose RestLeft", "shape 2 redraw"}, kResting},
        {"walking right", kWalkingRight, {0, 0}, {"pose RestRight", "shape 2 redraw"}, kResting},
        {"waiting keeps the rest pose and the saved direction", kWaitingRight, {0, 0}, {"shape 2 redraw"},
         {kIdle, 0, kRight}},
    };
    for (const ToggleCase& c : cases) {
        FollowController follow = ControllerIn(c.from);
        const int moveBefore = follow.moveEnabled;
        follow.lastCursor = c.lastCursor;
        follow.lastWindowRect = kWindow;
        FakePort port;
        // The toggle samples nothing: this cursor must not count.
        port.cursor = {c.lastCursor.x < 450 ? 900 : 0, 0};
        port.rect = {0, 0, 10, 10};
        follow.ToggleMove(port);
        EXPECT_EQ(port.events, c.events) << c.name;
        EXPECT_EQ(SituationOf(follow), c.to) << c.name;
        EXPECT_EQ(follow.moveEnabled, 1 - moveBefore) << c.name;
    }
}

TEST(ToggleMove, CursorOnTheCentreSetsOffTheWayTheFigureFaces) {
    FollowController follow;
    FakePort port;
    // Before the first tick the sample is all zeros: a tie, and the figure faces left.
    follow.ToggleMove(port);
    EXPECT_EQ(port.events, (Events{"pose WalkLeft", "shape 2 redraw"}));
    EXPECT_EQ(follow.moveEnabled, 1);

    // Walked right, switched off: it rests facing right and sets off that way.
    follow = ControllerIn(kWalkingRight);
    follow.lastWalked = kRight;
    follow.ToggleMove(port);
    follow.lastCursor = {450, 50};
    follow.lastWindowRect = kWindow;
    port.events.clear();
    follow.ToggleMove(port);
    EXPECT_EQ(port.events, (Events{"pose WalkRight", "shape 2 redraw"}));
    EXPECT_EQ(follow.state, kRight);
    EXPECT_EQ(follow.moveEnabled, 1);
}

TEST(ToggleMove, TheMoveFlagIsOnExactlyWhileWalkingOrWaiting) {
    // Ticks and toggles in a pseudo-random mix, the cursor often on the centre line.
    FollowController follow;
    FakePort port;
    port.rect = kWindow;
    uint32_t seed = 12345;
    auto next = [&seed](uint32_t range) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int32_t>((seed >> 16) % range);
    };
    for (int i = 0; i < 5000; ++i) {
        const int32_t centreX = port.rect.left + 50;
        port.cursor = {next(3) == 0 ? centreX : centreX + next(120) - 60, port.rect.top + next(80) - 40};
        if (next(4) == 0) {
            follow.ToggleMove(port);
        } else {
            follow.FollowTick(port);
        }
        const bool following = follow.state != kIdle || follow.waitingNearCursor == 1;
        ASSERT_EQ(follow.moveEnabled == 1, following) << "step " << i;
        ASSERT_TRUE(follow.waitingNearCursor == 0 || follow.state == kIdle) << "step " << i;
    }
}

}  // namespace
