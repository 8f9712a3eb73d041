// Following the cursor: the step, every transition of the tick and of the Move toggle,
// and the Move flag's promise. Events read "pose X", "move LEFT TOP", "shape N",
// "advance", in the order the controller asks for them.
#include <gtest/gtest.h>

#include <string>

#include "sprite/follow_controller.h"

namespace {

// Records what the controller does to the window and the sprite. Moving the window
// changes the rectangle the next tick samples, as on the screen; the window is
// always 100 x 120.
class FakePort final : public FollowPort {
public:
    ScreenPoint cursor = {0, 0};
    ScreenRect rect = {400, 200, 500, 320};  // centre x 450
    std::string events;

    ScreenPoint CursorPosition() override { return cursor; }
    ScreenRect WindowRectangle() override { return rect; }
    void MoveWindowTo(int32_t x, int32_t y, int32_t width, int32_t height) override {
        EXPECT_EQ(width * 1000 + height, 100120);
        events += "move " + std::to_string(x) + " " + std::to_string(y) + "; ";
        rect = {x, y, x + width, y + height};
    }
    void LoadPose(Pose pose) override {
        const char* names[] = {"RestLeft", "RestRight", "WalkLeft", "WalkRight"};
        events += std::string("pose ") + names[static_cast<int>(pose)] + "; ";
    }
    void ApplyShape(int frame, bool redraw) override {
        events += "shape " + std::to_string(frame) + (redraw ? " redraw; " : "; ");
    }
    void AdvanceFrame() override { events += "advance"; }
    int CurrentFrame() override { return 2; }
};

constexpr FollowState kIdle = FollowState::Idle, kLeft = FollowState::WalkLeft, kRight = FollowState::WalkRight;

// State, waitingNearCursor, savedDirection.
struct Situation {
    FollowState state;
    int waiting;
    FollowState saved;
    bool operator==(const Situation&) const = default;
};
constexpr Situation kResting = {kIdle, 0, kIdle}, kWalkingLeft = {kLeft, 0, kIdle}, kWalkingRight = {kRight, 0, kIdle},
                    kWaitingLeft = {kIdle, 1, kLeft}, kWaitingRight = {kIdle, 1, kRight};

FollowController In(Situation s) {
    FollowController follow;
    follow.state = s.state;
    follow.waitingNearCursor = s.waiting;
    follow.savedDirection = s.saved;
    follow.moveEnabled = s == kResting ? 0 : 1;
    return follow;
}

Situation Of(const FollowController& f) {
    return {f.state, f.waitingNearCursor, f.savedDirection};
}

TEST(ComputeStep, StepsTenPixelsTowardsTheCursorWithoutOverflow) {
    struct Case {
        int32_t left, top;
        ScreenPoint cursor;
        int32_t previousX, previousY, stepX, stepY;
    };
    const Case cases[] = {
        {400, 200, {403, 201}, 0, 0, 10, 3},     {100, 100, {130, 60}, 0, 0, 6, -8},
        {100, 100, {100, 100}, 7, 7, 7, -7},     // d = 0: the previous step, vertical part negated
        {-20000, 30000, {30000, -20000}, 0, 0, 7, -7},  // 50000 squared does not fit in 32 bits
    };
    for (const Case& c : cases) {
        FollowController follow;
        follow.stepX = c.previousX;
        follow.stepY = c.previousY;
        follow.ComputeStep(c.cursor, c.left, c.top);
        EXPECT_EQ(follow.stepX * 1000 + follow.stepY, c.stepX * 1000 + c.stepY) << c.cursor.x << "," << c.cursor.y;
    }
}

TEST(FollowTick, EveryTransitionOfTheTickTable) {
    const std::tuple<const char*, Situation, ScreenPoint, const char*, Situation> cases[] = {
        {"left, cursor right: turns, then moves twice", kWalkingLeft, {700, 500},
         "pose WalkRight; move 393 207; move 407 207; advance", kWalkingRight},
        {"left, cursor left", kWalkingLeft, {100, 200}, "move 390 200; advance", kWalkingLeft},
        {"left, cursor on the centre", kWalkingLeft, {450, 600}, "move 399 209; advance", kWalkingLeft},
        {"right, cursor left: turns, moves once", kWalkingRight, {100, 100}, "pose WalkLeft; move 409 197; advance",
         kWalkingLeft},
        {"arrives from the left after moving", kWalkingLeft, {440, 190}, "move 391 198; pose RestLeft; advance",
         kWaitingLeft},
        {"20 both ways is not arrival", kWalkingLeft, {430, 180}, "move 392 195; advance", kWalkingLeft},
        {"waiting, 21 sideways: departs", kWaitingRight, {471, 200}, "pose WalkRight; advance", {kRight, 0, kRight}},
        {"waiting, 20 both ways: stays", kWaitingLeft, {470, 220}, "advance", kWaitingLeft},
        {"resting: stays", kResting, {0, 0}, "advance", kResting},
    };
    for (const auto& [name, from, cursor, events, to] : cases) {
        FollowController follow = In(from);
        FakePort port;
        port.cursor = cursor;
        follow.FollowTick(port);
        EXPECT_EQ(port.events, events) << name;
        EXPECT_EQ(Of(follow), to) << name;
        EXPECT_EQ(follow.moveEnabled, In(from).moveEnabled) << name << ": the check mark stays";
    }
}

// Each tick judges where the window is now: a drag between ticks, or a departure
// that set off the wrong way, is set right on the next tick.
TEST(FollowTick, SamplesTheWindowAndCursorAnewEveryTick) {
    FollowController follow = In(kWaitingRight);
    FakePort port;
    port.cursor = {100, 200};
    follow.FollowTick(port);
    port.rect = {100, 500, 200, 620};  // dragged by the user
    port.cursor = {900, 200};
    follow.FollowTick(port);
    port.events.clear();
    port.cursor = {100, 500};
    follow.FollowTick(port);
    EXPECT_EQ(port.events, "pose WalkLeft; move 119 500; advance");  // from where it was dragged to
}

TEST(ToggleMove, EveryTransitionOfTheToggleTable) {
    struct Case {
        const char* name;
        Situation from;
        ScreenPoint lastCursor;
        const char* events;
        Situation to;
        FollowState walkedLast = kLeft;
    };
    // With the cursor on the centre line there is no side to walk to: the figure sets
    // off the way it faces, so that Move on always means walking.
    const Case cases[] = {
        {"resting, cursor on the centre, facing left", kResting, {450, 900}, "pose WalkLeft; shape 2 redraw; ",
         kWalkingLeft},
        {"resting, cursor on the centre, facing right", kResting, {450, 0}, "pose WalkRight; shape 2 redraw; ",
         kWalkingRight, kRight},
        {"resting, cursor left", kResting, {449, 900}, "pose WalkLeft; shape 2 redraw; ", kWalkingLeft},
        {"resting, cursor right", kResting, {451, 0}, "pose WalkRight; shape 2 redraw; ", kWalkingRight},
        {"walking left", kWalkingLeft, {900, 0}, "pose RestLeft; shape 2 redraw; ", kResting},
        {"walking right", kWalkingRight, {0, 0}, "pose RestRight; shape 2 redraw; ", kResting},
        {"waiting keeps its pose", kWaitingRight, {0, 0}, "shape 2 redraw; ", {kIdle, 0, kRight}},
    };
    for (const Case& c : cases) {
        FollowController follow = In(c.from);
        const int moveBefore = follow.moveEnabled;
        follow.lastCursor = c.lastCursor;
        follow.lastWindowRect = {400, 200, 500, 320};
        follow.lastWalked = c.walkedLast;
        FakePort port;
        // The toggle samples nothing: this cursor must not count.
        port.cursor = {c.lastCursor.x < 450 ? 900 : 0, 0};
        follow.ToggleMove(port);
        EXPECT_EQ(port.events, c.events) << c.name;
        EXPECT_EQ(Of(follow), c.to) << c.name;
        EXPECT_EQ(follow.moveEnabled, 1 - moveBefore) << c.name;
    }
}

}  // namespace
