#include <gtest/gtest.h>

#include "playback/control_panel.h"
#include "playlist/playlist_editor.h"
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

template <typename Dialog>
void ExpectCloseOnlyHides() {
    Dialog dialog;
    HWND window = dialog.Create(nullptr, kTestDialog);
    ASSERT_NE(window, nullptr);
    SetDlgItemTextA(window, 1, "kept");
    // Shown without activation: Wine waits for a window manager's focus reply otherwise.
    dialog.Show(SW_SHOWNA);
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_FALSE(IsWindowVisible(window));
    dialog.Show(SW_SHOWNA);
    EXPECT_TRUE(IsWindowVisible(window));
    char text[16] = {};
    GetDlgItemTextA(window, 1, text, sizeof(text));
    EXPECT_STREQ(text, "kept");
    DestroyWindow(window);
}

TEST(LongLivedDialogs, CloseOnlyHidesAndShowBringsTheSameWindowBack) {
    ExpectCloseOnlyHides<ControlPanel>();
    ExpectCloseOnlyHides<PlayListEditor>();
}

}  // namespace
