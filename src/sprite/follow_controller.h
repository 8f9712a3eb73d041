// The character walking after the mouse cursor: the step towards it, the state
// machine run on every timer tick, and the Move toggle. Platform-free: the window,
// the cursor and the pictures are reached through FollowPort.
#pragma once

#include <cstdint>

#include "sprite/skin_files.h"

enum class FollowState { Idle = 0, WalkLeft = 1, WalkRight = 2 };

struct ScreenPoint {
    int32_t x;
    int32_t y;

    bool operator==(const ScreenPoint&) const = default;
};

struct ScreenRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;

    bool operator==(const ScreenRect&) const = default;
};

// What following needs from the platform: the cursor, the character window and its
// sprite. Screen coordinates throughout.
class FollowPort {
public:
    virtual ScreenPoint CursorPosition() = 0;
    virtual ScreenRect WindowRectangle() = 0;
    virtual void MoveWindowTo(int32_t x, int32_t y, int32_t width, int32_t height) = 0;
    virtual void LoadPose(Pose pose) = 0;
    virtual void ApplyShape(int frame, bool redraw) = 0;
    virtual void AdvanceFrame() = 0;
    virtual int CurrentFrame() = 0;

protected:
    ~FollowPort() = default;
};

class FollowController {
public:
    // Back to the state of a new window: Move off, resting, facing left.
    void Reset();
    // The step of one tick from the window's top-left corner towards the cursor.
    void ComputeStep(ScreenPoint cursor, int32_t left, int32_t top);
    // One timer tick: sample, step, turn, arrive or depart, then the next frame.
    void FollowTick(FollowPort& port);
    // Menu command "移动": switches Move and starts or stops following at once.
    void ToggleMove(FollowPort& port);

    int moveEnabled = 0;
    FollowState state = FollowState::Idle;
    int waitingNearCursor = 0;
    FollowState savedDirection = FollowState::Idle;
    // The walking state entered most recently; the resting figure faces its side.
    FollowState lastWalked = FollowState::WalkLeft;
    ScreenPoint lastCursor = {0, 0};
    ScreenRect lastWindowRect = {0, 0, 0, 0};
    int32_t stepX = 0;
    int32_t stepY = 0;

private:
    void StartWalking(FollowState direction, FollowPort& port);
    void TurnAndMove(ScreenPoint cursor, const ScreenRect& rect, FollowPort& port);
    void ArriveIfNear(ScreenPoint cursor, const ScreenRect& rect, FollowPort& port);
    void DepartIfFar(ScreenPoint cursor, const ScreenRect& rect, FollowPort& port);
};
