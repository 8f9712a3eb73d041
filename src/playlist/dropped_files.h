// Files dragged onto the character or the editor.
#pragma once

#include <windows.h>
#include <shellapi.h>

// A playlist file replaces the playlist, a music file is added, anything else is
// refused with a message box owned by `owner` (none for the editor). Playback stops
// for every file taken. What a drop is handling stays its own, so a second drop that
// arrives while a refusal box is open does not disturb it. Releases the drop.
int HandleDrop(HDROP drop, HWND owner);
