#include "sprite/follow_controller.h"

#include <cmath>
#include <cstdlib>

namespace {

// Closer than this in both axes is arrival; farther in either is departure.
constexpr int32_t kNearDistance = 20;
// The longest step of a tick, in pixels.
constexpr int32_t kStepLength = 10;

int32_t CentreX(const ScreenRect& rect) {
    return rect.left + (rect.right - rect.left) / 2;
}

// Horizontally from the window's centre, vertically from its top edge.
int32_t HorizontalDistance(ScreenPoint cursor, const ScreenRect& rect) {
    return std::abs(CentreX(rect) - cursor.x);
}

int32_t VerticalDistance(ScreenPoint cursor, const ScreenRect& rect) {
    return std::abs(rect.top - cursor.y);
}

Pose WalkPose(FollowState direction) {
    return direction == FollowState::WalkRight ? Pose::WalkRight : Pose::WalkLeft;
}

Pose RestPose(FollowState direction) {
    return direction == FollowState::WalkRight ? Pose::RestRight : Pose::RestLeft;
}

}  // namespace

void FollowController::Reset() {
    *this = FollowController();
}

void FollowController::ComputeStep(ScreenPoint cursor, int32_t left, int32_t top) {
    const int32_t dx = std::abs(left - cursor.x);
    const int32_t dy = std::abs(top - cursor.y);
    // Squares in 64 bits: a window and a cursor on monitors far apart must not
    // overflow. Where 32 bits suffice the result is the same.
    const int64_t squares = static_cast<int64_t>(dx) * dx + static_cast<int64_t>(dy) * dy;
    const auto d = static_cast<int32_t>(std::sqrt(static_cast<double>(squares)));
    if (d != 0) {
        stepX = dx * kStepLength / d;
        stepY = dy * kStepLength / d;
    }
    if (top - cursor.y >= 0) stepY = -stepY;
}

void FollowController::FollowTick(FollowPort& port) {
    lastCursor = port.CursorPosition();
    lastWindowRect = port.WindowRectangle();
    // Every step below judges this one sample, even after the window has moved.
    const ScreenPoint cursor = lastCursor;
    const ScreenRect rect = lastWindowRect;
    ComputeStep(cursor, rect.left, rect.top);
    TurnAndMove(cursor, rect, port);
    ArriveIfNear(cursor, rect, port);
    DepartIfFar(cursor, rect, port);
    port.AdvanceFrame();
}

void FollowController::TurnAndMove(ScreenPoint cursor, const ScreenRect& rect, FollowPort& port) {
    const int32_t width = rect.right - rect.left;
    const int32_t height = rect.bottom - rect.top;
    if (state == FollowState::WalkLeft) {
        if (cursor.x > CentreX(rect)) StartWalking(FollowState::WalkRight, port);
        port.MoveWindowTo(rect.left - stepX, rect.top + stepY, width, height);
    }
    // A turn to the right made just above walks right in this same tick.
    if (state == FollowState::WalkRight) {
        if (cursor.x < CentreX(rect)) StartWalking(FollowState::WalkLeft, port);
        port.MoveWindowTo(rect.left + stepX, rect.top + stepY, width, height);
    }
}

void FollowController::ArriveIfNear(ScreenPoint cursor, const ScreenRect& rect, FollowPort& port) {
    if (state == FollowState::Idle) return;
    if (HorizontalDistance(cursor, rect) >= kNearDistance || VerticalDistance(cursor, rect) >= kNearDistance) return;
    port.LoadPose(RestPose(state));
    savedDirection = state;
    state = FollowState::Idle;
    waitingNearCursor = 1;
}

void FollowController::DepartIfFar(ScreenPoint cursor, const ScreenRect& rect, FollowPort& port) {
    if (waitingNearCursor == 0) return;
    if (HorizontalDistance(cursor, rect) <= kNearDistance && VerticalDistance(cursor, rect) <= kNearDistance) return;
    StartWalking(savedDirection, port);
    waitingNearCursor = 0;
}

void FollowController::ToggleMove(FollowPort& port) {
    moveEnabled = moveEnabled == 0 ? 1 : 0;
    if (waitingNearCursor != 0) {
        waitingNearCursor = 0;
    } else if (state != FollowState::Idle) {
        port.LoadPose(RestPose(state));
        state = FollowState::Idle;
    } else {
        const int32_t centreX = CentreX(lastWindowRect);
        // With the cursor exactly above or below the centre there is no side to walk
        // to; the figure sets off the way it faces, so that Move on always means
        // walking and the check mark never lies.
        FollowState direction = lastWalked;
        if (lastCursor.x < centreX) direction = FollowState::WalkLeft;
        if (lastCursor.x > centreX) direction = FollowState::WalkRight;
        StartWalking(direction, port);
    }
    port.ApplyShape(port.CurrentFrame(), true);
}

void FollowController::StartWalking(FollowState direction, FollowPort& port) {
    state = direction;
    lastWalked = direction;
    port.LoadPose(WalkPose(direction));
}
