#include "app/desktop_courtesy.h"

#include <shellapi.h>
#include <shlobj.h>

#include <vector>

#include "sprite/screens.h"

namespace {

bool hiddenForFullscreen = false;
bool appBarSaysFullscreen = false;

ScreenRect ToScreenRect(const RECT& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoA(monitor, &info)) {
        reinterpret_cast<std::vector<Monitor>*>(list)->push_back({ToScreenRect(info.rcMonitor), ToScreenRect(info.rcWork)});
    }
    return TRUE;
}

bool IsDesktopOrShell(HWND window) {
    if (window == GetDesktopWindow() || window == GetShellWindow()) return true;
    char name[32] = {};
    GetClassNameA(window, name, sizeof(name));
    for (const char* shell : {"Progman", "WorkerW", "Shell_TrayWnd"}) {
        if (lstrcmpA(name, shell) == 0) return true;
    }
    return false;
}

Foreground LookAtForeground(HWND character) {
    Foreground seen;
    HWND window = GetForegroundWindow();
    DWORD process = 0;
    if (window == nullptr) return seen;
    GetWindowThreadProcessId(window, &process);
    seen.otherProgram = process != GetCurrentProcessId() && !IsDesktopOrShell(window);
    // Run on every tick: the monitors are asked about only when they can matter.
    if (!seen.otherProgram) return seen;
    RECT rect = {};
    GetWindowRect(window, &rect);
    seen.rect = ToScreenRect(rect);
    HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    GetMonitorInfoA(monitor, &info);
    seen.monitor = ToScreenRect(info.rcMonitor);
    seen.onCharactersMonitor = monitor == MonitorFromWindow(character, MONITOR_DEFAULTTONEAREST);
    QUERY_USER_NOTIFICATION_STATE state;
    if (seen.onCharactersMonitor && SUCCEEDED(SHQueryUserNotificationState(&state))) {
        seen.shell = static_cast<ShellState>(state);
    }
    return seen;
}

static_assert(static_cast<int>(ShellState::Busy) == QUNS_BUSY &&
              static_cast<int>(ShellState::Direct3dFullscreen) == QUNS_RUNNING_D3D_FULL_SCREEN &&
              static_cast<int>(ShellState::Presentation) == QUNS_PRESENTATION_MODE &&
              static_cast<int>(ShellState::App) == QUNS_APP);

APPBARDATA AppBar(HWND window) {
    APPBARDATA bar = {};
    bar.cbSize = sizeof(bar);
    bar.hWnd = window;
    bar.uCallbackMessage = kAppBarMessage;
    return bar;
}

}  // namespace

void RegisterAppBar(HWND window) {
    APPBARDATA bar = AppBar(window);
    SHAppBarMessage(ABM_NEW, &bar);
}

void RemoveAppBar(HWND window) {
    APPBARDATA bar = AppBar(window);
    SHAppBarMessage(ABM_REMOVE, &bar);
    appBarSaysFullscreen = false;
    hiddenForFullscreen = false;
}

void OnAppBarMessage(WPARAM notification, LPARAM lParam) {
    if (notification == ABN_FULLSCREENAPP) appBarSaysFullscreen = lParam != 0;
}

bool KeepOutOfTheWay(HWND window) {
    const Foreground foreground = LookAtForeground(window);
    const bool fullscreen = FullscreenInFront(foreground, appBarSaysFullscreen);
    if (fullscreen != hiddenForFullscreen) {
        ShowWindow(window, fullscreen ? SW_HIDE : SW_SHOWNA);
        hiddenForFullscreen = fullscreen;
    }
    return hiddenForFullscreen;
}

void ComeBackOnScreen(HWND window) {
    std::vector<Monitor> monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    RECT rect = {};
    GetWindowRect(window, &rect);
    const ScreenPoint place = PlaceOnScreens(ToScreenRect(rect), monitors);
    if (place.x != rect.left || place.y != rect.top) {
        SetWindowPos(window, nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}
