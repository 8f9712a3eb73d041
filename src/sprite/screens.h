// The character among the monitors: which one it stands on, whether a fullscreen
// program covers that one, and where it goes when its monitor is gone. Platform-free.
#pragma once

#include <vector>

#include "sprite/follow_controller.h"

struct Monitor {
    ScreenRect area;
    ScreenRect workArea;
};

// What the shell says of the user's moment (the values of its
// QUERY_USER_NOTIFICATION_STATE).
enum class ShellState { Unknown = 0, NotPresent, Busy, Direct3dFullscreen, Presentation, AcceptsNotifications,
                        QuietTime, App };

// The foreground window as the courtesy check sees it.
struct Foreground {
    // Another program's window: not the desktop, not the shell, not one of ours.
    bool otherProgram = false;
    ScreenRect rect = {0, 0, 0, 0};
    // The monitor it is on, and whether the character stands on that one too.
    ScreenRect monitor = {0, 0, 0, 0};
    bool onCharactersMonitor = false;
    // Asked only of another program's window.
    ShellState shell = ShellState::Unknown;
};

// A fullscreen program in front on the character's monitor: the foreground window
// covers the whole monitor, the shell says it runs a fullscreen game or a
// presentation there, or the app bar was told of a fullscreen program (`appBarSays`).
bool FullscreenInFront(const Foreground& foreground, bool appBarSays);

// Where the window's top-left corner goes when the monitors change: where it is while
// any part of it is on a monitor; otherwise inside the work area of the nearest one.
ScreenPoint PlaceOnScreens(const ScreenRect& window, const std::vector<Monitor>& monitors);
