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
#define ID_TITLE_BALLOONS 40015
#define ID_LYRICS 40016

// The playlist editor: its dialog, its menu bar and their commands. "关闭(&X)"
// shares 40002 with the context menu's "退出"; each window routes its own.
#define IDD_PLAYLIST_EDITOR 104
#define IDM_EDITOR_MENU 102
#define ID_EDITOR_OPEN 40003
#define ID_EDITOR_CLOSE 40002
#define ID_EDITOR_DELETE 40004
#define ID_EDITOR_DELETE_ALL 40005
#define ID_EDITOR_MOVE_UP 40006
#define ID_EDITOR_MOVE_DOWN 40007
#define IDC_PLAYLIST 1000
#define IDC_ADD 1001
#define IDC_DELETE 1002
#define IDC_CLOSE 1003

// The control panel.
#define IDD_CONTROL_PANEL 105
#define IDC_TITLE 1004
#define IDC_ELAPSED 1005
#define IDC_BITRATE 1006
#define IDC_BITRATE_UNIT 1007
#define IDC_SAMPLE_RATE_UNIT 1008
#define IDC_SAMPLE_RATE 1009
#define IDC_RANDOM 1011
#define IDC_STOP 1012
#define IDC_LOOP 1013
#define IDC_PAUSE 1014
#define IDC_PREVIOUS 1015
#define IDC_NEXT 1016
#define IDC_PLAY 1017
#define IDC_VOLUME 1018
#define IDC_POSITION 1020
