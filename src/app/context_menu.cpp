#include "app/context_menu.h"

#include <utility>

#include "text/ansi_code_page.h"
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

void SetTrayTip(const char* text) {
    // The original record's tip holds 64 bytes with its NUL; the shell cuts the rest
    // there, in the middle of a character if we have not cut it first.
    constexpr size_t kOriginalTipBytes = 64;
    const size_t length = WholeCharacters(text, lstrlenA(text), kOriginalTipBytes - 1, IsAnsiLeadByte);
    CopyMemory(trayIconData.szTip, text, length);
    trayIconData.szTip[length] = '\0';
    Shell_NotifyIconA(NIM_MODIFY, &trayIconData);
}

void RemoveTrayIcon() {
    Shell_NotifyIconA(NIM_DELETE, &trayIconData);
}

HMENU LoadContextMenu(MenuChecks checks) {
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDM_CONTEXT_MENU));
    if (menu == nullptr) return nullptr;
    const std::pair<UINT, int> switches[] = {
        {ID_MOVE, checks.move}, {ID_TITLE_BALLOONS, checks.titleBalloons}, {ID_LYRICS, checks.lyrics}};
    for (const auto& [id, on] : switches) CheckMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
    return menu;
}

void ShowContextMenu(HWND window, int x, int y, MenuChecks checks) {
    HMENU menu = LoadContextMenu(checks);
    if (menu == nullptr) return;
    // The choice comes back later as WM_COMMAND; the menu is not needed for it.
    TrackPopupMenu(GetSubMenu(menu, 0), TPM_RIGHTBUTTON, x, y, 0, window, nullptr);
    DestroyMenu(menu);
}

void HandleTrayMessage(HWND window, LPARAM mouseMessage, MenuChecks checks) {
    if (mouseMessage != WM_RBUTTONDOWN) return;
    POINT cursor = {};
    GetCursorPos(&cursor);
    // Without the foreground a menu opened from the icon does not close when the
    // user clicks elsewhere.
    SetForegroundWindow(window);
    ShowContextMenu(window, cursor.x, cursor.y, checks);
    // The documented companion of the above: makes the next menu from the icon close
    // when the user clicks elsewhere.
    PostMessageA(window, WM_NULL, 0, 0);
}
