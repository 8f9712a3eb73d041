// The application shell: start-up, the character window and its message handling.
#pragma once

#include <windows.h>

#include "sprite/character_sprite.h"
#include "sprite/follow_controller.h"

constexpr const char* kWindowClassName = "Wuzzle";
constexpr const char* kInstanceGuardName = "WuzzlePlayer";
constexpr UINT_PTR kAnimationTimer = 1;
constexpr UINT kAnimationPeriodMs = 128;
constexpr DWORD kCharacterExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
constexpr DWORD kCharacterStyle = WS_POPUP;

constexpr size_t kPathBufferSize = 1024;

// Shell state, alive for the whole run.
extern char startDirectory[kPathBufferSize];
extern char settingsPath[kPathBufferSize];
extern char playlistPath[kPathBufferSize];
// The details read from the playlist's files, kept between runs.
extern char trackCachePath[kPathBufferSize];
extern char iconPath[kPathBufferSize];
extern HANDLE instanceGuard;
extern HICON appIcon;
extern HWND mainWindow;

// The character window owns its sprite and its following state.
extern CharacterSprite characterSprite;
extern FollowController followController;

// Records the current directory and builds the data paths from it; false when the
// directory is too long to be kept.
bool InitShellPaths();
// Takes the single-instance guard; false when another copy already holds it.
bool AcquireInstanceGuard();
// Loads the icon, reads the skin size, registers the class and creates the window
// centred on the work area. Returns the window or null.
HWND CreateCharacterWindow(HINSTANCE instance);
// The whole run of the program, as the entry function does it; returns the exit code.
int RunWuzzle(HINSTANCE instance, int showCommand);

// The wheel belongs to the window under the cursor, as on Windows 10; Windows 7 and 8
// hand it to the window with the focus. Over the figure it is turned to `character`,
// whichever window got it; one the character got with the cursor elsewhere is posted
// on to the window there. True when it was posted on and is not to be dispatched.
bool RouteWheel(MSG& message, HWND character);

LRESULT CALLBACK CharacterWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
