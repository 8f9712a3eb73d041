// Manners on a shared desktop: out of the way of a fullscreen program on the
// character's monitor, and back onto a monitor when its own one goes.
#pragma once

#include <windows.h>

// The app bar's callback: the shell tells of fullscreen programs with it.
constexpr UINT kAppBarMessage = WM_APP + 101;

// Registers the character as an app bar (taking no room), so that the shell tells it
// when a fullscreen program opens or closes on its monitor.
void RegisterAppBar(HWND window);
void RemoveAppBar(HWND window);
void OnAppBarMessage(WPARAM notification, LPARAM lParam);

// Run on every tick: hides the character while a fullscreen program is in front on
// its monitor and shows it again where it was afterwards. True while it is hidden:
// it neither walks nor animates then.
bool KeepOutOfTheWay(HWND window);

// After the monitors changed: a character whose monitor went comes back onto the
// nearest work area.
void ComeBackOnScreen(HWND window);
