#include <gtest/gtest.h>

#include "ui/dialog_base.h"

namespace {

constexpr int kTestDialog = 900;

// Remembers what it saw while WM_INITDIALOG ran.
class RecordingDialog : public DialogBase {
public:
    LRESULT HandleMessage(UINT message, WPARAM, LPARAM) override {
        if (message == WM_INITDIALOG) {
            handleDuringInit = Window();
            slotDuringInit = GetWindowLongPtrA(Window(), DWLP_USER);
        }
        return 0;
    }
    HWND handleDuringInit = nullptr;
    LONG_PTR slotDuringInit = 0;
};

TEST(DialogBase, HandleAndUserSlotAreSetBeforeTheHandlerSeesInitDialog) {
    RecordingDialog dialog;
    HWND window = dialog.Create(nullptr, kTestDialog);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(dialog.Window(), window);
    EXPECT_EQ(dialog.handleDuringInit, window);
    EXPECT_EQ(dialog.slotDuringInit, reinterpret_cast<LONG_PTR>(&dialog));
    EXPECT_FALSE(IsWindowVisible(window));
    DestroyWindow(window);
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return 0;
}

TEST(DialogBase, MessagesBeforeInitDialogFindNoObject) {
    // A dialog whose user slot was never set, as before WM_INITDIALOG.
    HWND other = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kTestDialog), nullptr, PlainDialogProc, 0);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(DialogBase::DialogProc(other, WM_SETFONT, 0, 0), 0);
    DestroyWindow(other);
}

TEST(DialogBase, AMissingTemplateGivesNoWindowAndShowDoesNothing) {
    DialogBase dialog;
    EXPECT_EQ(dialog.Create(nullptr, 4242), nullptr);
    EXPECT_EQ(dialog.Window(), nullptr);
    EXPECT_FALSE(dialog.Show(SW_SHOW));
}

}  // namespace
