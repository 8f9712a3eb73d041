#include "app/context_menu.h"

#include "app/long_lived.h"
#include "app/shell.h"
#include "resources/resource_ids.h"
#include "sprite/follow_port_win32.h"

NOTIFYICONDATAA trayIconData;

static_assert(NOTIFYICONDATAA_V1_SIZE == 88, "the shell's original icon record");

void AddTrayIcon(HWND window) {
    trayIconData = {};
    trayIconData.cbSize = NOTIFYICONDATAA_V1_SIZE;
    trayIconData.hWnd = window;
    trayIconData.uID = kTrayIconId;
    trayIconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    trayIconData.uCallbackMessage = kTrayMessage;
    trayIconData.hIcon = appIcon;
    lstrcpyA(trayIconData.szTip, "WuzzlePlayer");
    Shell_NotifyIconA(NIM_ADD, &trayIconData);
}

void RemoveTrayIcon() {
    Shell_NotifyIconA(NIM_DELETE, &trayIconData);
}

HMENU LoadContextMenu(int moveEnabled) {
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDM_CONTEXT_MENU));
    if (menu != nullptr) CheckMenuItem(menu, ID_MOVE, MF_BYCOMMAND | (moveEnabled ? MF_CHECKED : MF_UNCHECKED));
    return menu;
}

void ShowContextMenu(HWND window, int x, int y) {
    HMENU menu = LoadContextMenu(followController.moveEnabled);
    if (menu == nullptr) return;
    // The choice comes back later as WM_COMMAND; the menu is not needed for it.
    TrackPopupMenu(GetSubMenu(menu, 0), TPM_RIGHTBUTTON, x, y, 0, window, nullptr);
    DestroyMenu(menu);
}

void HandleTrayMessage(HWND window, LPARAM mouseMessage) {
    if (mouseMessage != WM_RBUTTONDOWN) return;
    POINT cursor = {};
    GetCursorPos(&cursor);
    // Without the foreground a menu opened from the icon does not close when the
    // user clicks elsewhere.
    SetForegroundWindow(window);
    ShowContextMenu(window, cursor.x, cursor.y);
}

void CharacterCommands::ToggleMove() {
    WindowFollowPort port(window, characterSprite);
    followController.ToggleMove(port);
}

void CharacterCommands::Exit() {
    DestroyWindow(window);
}

void CharacterCommands::ShowEditor() {
    playListEditor.ShowEditor();
}

void CharacterCommands::ShowPanel() {
    controlPanel.ShowPanel();
}

void CharacterCommands::PlayCurrent() {
    controlPanel.PlayCurrent();
}

void CharacterCommands::StopPlayback() {
    controlPanel.StopPlayback();
}

void CharacterCommands::NextTrack() {
    controlPanel.NextTrack();
}

void CharacterCommands::PreviousTrack() {
    controlPanel.PreviousTrack();
}
