#include "ui/dialog_base.h"

HWND DialogBase::Create(HWND owner, int resourceId) {
    return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId & 0xFFFF), owner,
                              &DialogBase::DialogProc, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK DialogBase::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    DialogBase* object;
    if (message == WM_INITDIALOG) {
        object = reinterpret_cast<DialogBase*>(lParam);
        object->window = dialog;
        object->previousProcedure = nullptr;
        SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(object));
    } else {
        object = reinterpret_cast<DialogBase*>(GetWindowLongPtrA(dialog, DWLP_USER));
    }
    // Messages before WM_INITDIALOG (WM_SETFONT) find no object yet.
    if (object == nullptr) return 0;
    return object->HandleMessage(message, wParam, lParam);
}
