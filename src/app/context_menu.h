// The character's context menu and its notification-area icon.
#pragma once

#include <windows.h>
#include <shellapi.h>

// The icon's callback message; lParam is the mouse message.
constexpr UINT kTrayMessage = WM_APP + 100;
constexpr UINT kTrayIconId = 1;

// Filled once at creation and used unchanged to delete the icon. Only its first 88
// bytes (the original layout) are handed to the shell.
extern NOTIFYICONDATAA trayIconData;

void AddTrayIcon(HWND window, HICON icon);
// The same record again, for a notification area that was rebuilt (Explorer
// restarted).
void ReAddTrayIcon();
void RemoveTrayIcon();
// The icon's tip, cut on a whole character to fit its 64 bytes.
void SetTrayTip(const char* text);
// The message Explorer broadcasts when it has built its notification area anew.
UINT TaskbarCreatedMessage();

// The menu's switches: 1 checks "移动", "歌名气泡" and "歌词".
struct MenuChecks {
    int move;
    int titleBalloons;
    int lyrics;
};

// Menu 101 freshly loaded with its switches checked as they are; the caller destroys
// it. Null when the resource cannot be loaded.
HMENU LoadContextMenu(MenuChecks checks);
// Shows the menu's pop-up with its top-left corner at the screen point, owned by
// `window`, which receives the chosen command. Returns once the menu has closed.
void ShowContextMenu(HWND window, int x, int y, MenuChecks checks);
// The icon's callback: a right-button press opens the menu at the cursor.
void HandleTrayMessage(HWND window, LPARAM mouseMessage, MenuChecks checks);
