#include "app/context_menu.h"

#include "resources/resource_ids.h"

NOTIFYICONDATAA trayIconData;

// The shell's original icon record, as the 32-bit program hands it over.
static_assert(sizeof(void*) != 4 || NOTIFYICONDATAA_V1_SIZE == 88, "the shell's original icon record");

void AddTrayIcon(HWND window, HICON icon) {
    trayIconData = {};
    trayIconData.cbSize = NOTIFYICONDATAA_V1_SIZE;
    trayIconData.hWnd = window;
    trayIconData.uID = kTrayIconId;
    trayIconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    trayIconData.uCallbackMessage = kTrayMessage;
    trayIconData.hIcon = icon;
    lstrcpyA(trayIconData.szTip, "WuzzlePlayer");
    Shell_NotifyIconA(NIM_ADD, &trayIconData);
}

void ReAddTrayIcon() {
    Shell_NotifyIconA(NIM_ADD, &trayIconData);
}

UINT TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}

void RemoveTrayIcon() {
    Shell_NotifyIconA(NIM_DELETE, &trayIconData);
}

HMENU LoadContextMenu(int moveEnabled) {
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDM_CONTEXT_MENU));
    if (menu != nullptr) CheckMenuItem(menu, ID_MOVE, MF_BYCOMMAND | (moveEnabled ? MF_CHECKED : MF_UNCHECKED));
    return menu;
}

void ShowContextMenu(HWND window, int x, int y, int moveEnabled) {
    HMENU menu = LoadContextMenu(moveEnabled);
    if (menu == nullptr) return;
    // The choice comes back later as WM_COMMAND; the menu is not needed for it.
    TrackPopupMenu(GetSubMenu(menu, 0), TPM_RIGHTBUTTON, x, y, 0, window, nullptr);
    DestroyMenu(menu);
}

void HandleTrayMessage(HWND window, LPARAM mouseMessage, int moveEnabled) {
    if (mouseMessage != WM_RBUTTONDOWN) return;
    POINT cursor = {};
    GetCursorPos(&cursor);
    // Without the foreground a menu opened from the icon does not close when the
    // user clicks elsewhere.
    SetForegroundWindow(window);
    ShowContextMenu(window, cursor.x, cursor.y, moveEnabled);
    // The documented companion of the above: makes the next menu from the icon close
    // when the user clicks elsewhere.
    PostMessageA(window, WM_NULL, 0, 0);
}
