// The keyboard's media keys: play/pause, stop, next and previous act as the panel's
// buttons do, in the background too.
#pragma once

#include <windows.h>

// Takes the keys for the whole desktop where no other program holds them; the
// others still arrive as WM_APPCOMMAND while the character has the focus.
void RegisterMediaKeys(HWND window);
void UnregisterMediaKeys(HWND window);

// WM_HOTKEY with one of our ids.
void OnMediaHotKey(WPARAM id);
// WM_APPCOMMAND; false for commands that are not ours, which go on to DefWindowProc.
bool OnMediaAppCommand(LPARAM lParam);
