// Identifiers of the program's resources.
#pragma once

#define IDI_WUZZLE 107

// The character's context menu and its commands.
#define IDM_CONTEXT_MENU 101
#define ID_MOVE 40001
#define ID_EXIT 40002
#define ID_PLAYLIST_EDITOR 40008
#define ID_CONTROL_PANEL 40009
#define ID_PLAY 40011
#define ID_STOP 40012
#define ID_NEXT 40013
#define ID_PREVIOUS 40014
