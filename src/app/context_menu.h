// The character's context menu, its notification-area icon and the commands the
// menu sends to the character window.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include "app/command_routing.h"

// The icon's callback message; lParam is the mouse message.
constexpr UINT kTrayMessage = WM_APP + 100;
constexpr UINT kTrayIconId = 1;

// Filled once at creation and used unchanged to delete the icon. Only its first 88
// bytes (the original layout) are handed to the shell.
extern NOTIFYICONDATAA trayIconData;

void AddTrayIcon(HWND window);
void RemoveTrayIcon();

// Menu 101 freshly loaded, "移动" checked when `moveEnabled` is 1; the caller
// destroys it. Null when the resource cannot be loaded.
HMENU LoadContextMenu(int moveEnabled);
// Shows the menu's pop-up with its top-left corner at the screen point, owned by
// `window`, which receives the chosen command. Returns once the menu has closed.
void ShowContextMenu(HWND window, int x, int y);
// The icon's callback: a right-button press opens the menu at the cursor.
void HandleTrayMessage(HWND window, LPARAM mouseMessage);

// The operations of the menu's commands on the running program.
class CharacterCommands final : public CommandTarget {
public:
    explicit CharacterCommands(HWND window) : window(window) {}

    void ToggleMove() override;
    void Exit() override;
    void ShowEditor() override;
    void ShowPanel() override;
    void PlayCurrent() override;
    void StopPlayback() override;
    void NextTrack() override;
    void PreviousTrack() override;

private:
    HWND window;
};
