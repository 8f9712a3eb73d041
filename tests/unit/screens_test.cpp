// The character among the monitors: fullscreen programs in front of it, and the way
// back onto a monitor when its own one is gone.
#include <gtest/gtest.h>

#include "sprite/screens.h"

namespace {

const Monitor kLeft = {{-1280, 0, 0, 1024}, {-1280, 0, 0, 984}};
const Monitor kPrimary = {{0, 0, 1920, 1080}, {0, 0, 1920, 1040}};
const Monitor kAbove = {{0, -900, 1600, 0}, {0, -900, 1600, 0}};

TEST(PlaceOnScreens, StaysWhileOnAnyMonitorAndComesBackToTheNearestWorkArea) {
    const std::tuple<const char*, ScreenRect, std::vector<Monitor>, ScreenPoint> cases[] = {
        {"on the primary", {100, 100, 212, 212}, {kPrimary, kLeft}, {100, 100}},
        {"on the left monitor", {-600, 300, -488, 412}, {kPrimary, kLeft}, {-600, 300}},
        {"the left monitor went", {-600, 300, -488, 412}, {kPrimary}, {0, 300}},
        {"below the task bar's monitor's end", {-600, 1000, -488, 1112}, {kPrimary}, {0, 928}},
        {"nearest of two", {-2000, 300, -1888, 412}, {kPrimary, kLeft}, {-1280, 300}},
        {"far above, nearest is above", {300, -3000, 412, -2888}, {kPrimary, kAbove}, {300, -900}},
        {"no monitors known", {5000, 5000, 5112, 5112}, {}, {5000, 5000}},
    };
    for (const auto& [name, window, monitors, place] : cases)
        EXPECT_EQ(PlaceOnScreens(window, monitors), place) << name;
}

TEST(FullscreenInFront, IsAnotherProgramCoveringTheCharactersWholeMonitor) {
    const ScreenRect monitor = {0, 0, 1920, 1080};
    const ScreenRect window = {100, 100, 900, 700};
    using S = ShellState;
    const std::tuple<const char*, Foreground, bool, bool> cases[] = {
        {"game on this monitor", {true, {0, 0, 1920, 1080}, monitor, true}, false, true},
        {"game on another monitor", {true, {0, 0, 1920, 1080}, monitor, false}, false, false},
        {"maximized, task bar still shown", {true, {0, 0, 1920, 1040}, monitor, true}, false, false},
        {"the desktop or one of ours", {false, {0, 0, 1920, 1080}, monitor, true}, false, false},
        {"the app bar was told", {false, {}, {}, false}, true, true},
        // A window of any size, when the shell says what the user is doing there.
        {"a presentation", {true, window, monitor, true, S::Presentation}, false, true},
        {"a Direct3D game", {true, window, monitor, true, S::Direct3dFullscreen}, false, true},
        {"busy", {true, window, monitor, true, S::Busy}, false, true},
        {"a presentation on another monitor", {true, window, monitor, false, S::Presentation}, false, false},
        {"quiet hours after set-up", {true, window, monitor, true, S::QuietTime}, false, false},
        {"an ordinary window", {true, window, monitor, true, S::AcceptsNotifications}, false, false},
    };
    for (const auto& [name, foreground, appBar, fullscreen] : cases)
        EXPECT_EQ(FullscreenInFront(foreground, appBar), fullscreen) << name;
}

}  // namespace
