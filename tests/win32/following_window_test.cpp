#include <gtest/gtest.h>

#include "app/shell.h"
#include "character_fixture.h"

namespace {

using Following = CharacterWindowTest;

RECT WindowRect(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

void Tick(HWND window) {
    SendMessageA(window, WM_TIMER, kAnimationTimer, 0);
}

TEST_F(Following, MoveOnWalksTowardsTheCursorFacingIt) {
    const RECT start = WindowRect(window);
    SetCursorPos(start.right + 300, start.top);
    Tick(window);
    SendMessageA(window, WM_COMMAND, 40001, 0);
    // The walking pose shows at once, without waiting for a tick.
    EXPECT_TRUE(ShapedLike(window, "r", characterSprite.CurrentFrame()));

    Tick(window);
    const RECT moved = WindowRect(window);
    EXPECT_EQ(moved.left - start.left, 10);
    EXPECT_EQ(moved.top, start.top);
    EXPECT_EQ(moved.right - moved.left, start.right - start.left);
    EXPECT_TRUE(ShapedLike(window, "r", characterSprite.CurrentFrame()));
}

TEST(FollowingReset, CreatingTheWindowStartsAtRestWithMoveOff) {
    followController.moveEnabled = 1;
    followController.state = FollowState::WalkRight;
    followController.waitingNearCursor = 1;
    followController.savedDirection = FollowState::WalkRight;
    InitShellPaths();
    HWND window = CreateCharacterWindow(GetModuleHandleA(nullptr));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(followController.moveEnabled, 0);
    EXPECT_EQ(followController.state, FollowState::Idle);
    EXPECT_EQ(followController.waitingNearCursor, 0);
    EXPECT_EQ(followController.savedDirection, FollowState::Idle);
    DestroyWindow(window);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

}  // namespace
