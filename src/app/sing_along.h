// The character sings along: the lyrics of the track that plays, line by line in its
// balloon, in time with what the listener hears.
#pragma once

#include <windows.h>

// The character window's timer for the next line; 1 is the animation's.
constexpr UINT_PTR kLyricTimer = 2;
// Lyrics read for a track: wParam counts the start of the track they belong to, lParam
// is the LyricTimeline, which the window takes over.
constexpr UINT kLyricsReadMessage = WM_APP + 102;

// A track starts at `path` (null: none is open any more). Its lyrics are read on a
// thread of their own, from a file beside it or, when that has no timed lines, from
// what the input plug-in finds inside it.
void SingTrack(HWND character, const char* path);
// The lyrics switch of the control panel changed: on, the track that plays is sung
// from where it is; off, the line goes.
void LyricsSwitched(HWND character);
// The place in the track may have moved other than by playing on (a jump, a pause,
// going on, another second): the line due is shown now, and the timer set anew.
void LookForTheLine(HWND character);
void OnLyricsRead(HWND character, WPARAM start, LPARAM timeline);
void OnLyricTimer(HWND character);
