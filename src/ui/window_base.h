// A window handle paired with one virtual message handler. Each dialog of the
// program is one class that overrides HandleMessage.
#pragma once

#include <windows.h>

class WindowBase {
public:
    WindowBase() = default;
    // Leaves the window alone: dialogs end with the process, not with their object.
    virtual ~WindowBase() = default;

    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;

    // Default: forward to the previous window procedure, or 0 when there is none.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    BOOL Show(int showCommand);

    HWND Window() const { return window; }

protected:
    HWND window = nullptr;
    WNDPROC previousProcedure = nullptr;
};
