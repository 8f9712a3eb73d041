#include "ui/window_base.h"

LRESULT WindowBase::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (previousProcedure == nullptr) return 0;
    return CallWindowProcA(previousProcedure, window, message, wParam, lParam);
}

BOOL WindowBase::Show(int showCommand) {
    return ShowWindow(window, showCommand);
}
