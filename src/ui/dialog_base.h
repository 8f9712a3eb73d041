// Modeless dialogs made from dialog resources. The dialog's user slot holds the
// object, which is the only link from the window back to it.
#pragma once

#include "ui/window_base.h"

class DialogBase : public WindowBase {
public:
    // Creates the dialog hidden (no template of ours has WS_VISIBLE). The object has
    // recorded its handle during WM_INITDIALOG by the time this returns; null when
    // the template cannot be loaded.
    HWND Create(HWND owner, int resourceId);

    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
};
