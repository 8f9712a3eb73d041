#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/shell.h"
#include "app/title_balloon.h"
#include "playback/control_panel.h"
#include "playlist/playlist_editor.h"
#include "character_fixture.h"
#include "region_oracle.h"

namespace {

class CharacterWindow : public CharacterWindowTest {
protected:
    // Pixels of the figure that the window shows differently from `picture`.
    int PixelsUnlike(const Picture& picture) const {
        HDC shown = GetDC(window);
        int unlike = 0;
        for (int y = 0; y < picture.height; ++y) {
            for (int x = 0; x < picture.width; ++x) {
                unlike += picture.At(x, y) != picture.Key() && GetPixel(shown, x, y) != picture.At(x, y);
            }
        }
        ReleaseDC(window, shown);
        return unlike;
    }
};

// A tick that reshapes but does not repaint, or a paint that draws nothing, leaves
// the last frame's pixels (or none) inside the new outline.
TEST_F(CharacterWindow, StartsOnTheFirstRestFrameAndEveryTickReshapesAndRepaints) {
    EXPECT_TRUE(ShapedLike(window, "sl", 0));
    HRGN previous = characterSprite.CurrentShape();
    EXPECT_EQ(GetPropA(window, "region"), previous);
    for (int tick = 1; tick <= 5; ++tick) {
        SendMessageA(window, WM_TIMER, 1, 0);
        UpdateWindow(window);
        const int frame = tick % 4;
        ASSERT_EQ(characterSprite.CurrentFrame(), frame);
        HRGN recorded = static_cast<HRGN>(GetPropA(window, "region"));
        EXPECT_EQ(recorded, characterSprite.CurrentShape());
        EXPECT_NE(recorded, previous) << "tick " << tick;
        EXPECT_TRUE(ShapedLike(window, "sl", frame)) << "tick " << tick;
        EXPECT_EQ(PixelsUnlike(Picture("Skin/sl" + std::to_string(frame) + ".bmp")), 0) << "tick " << tick;
        previous = recorded;
    }
}

// The shell tells the character's app bar of a fullscreen program on its monitor:
// the character hides, neither walks nor animates, and comes back where it was.
TEST_F(CharacterWindow, HidesAndHoldsStillWhileTheShellReportsAFullscreenProgram) {
    APPBARDATA bar = {};
    bar.cbSize = sizeof(bar);
    bar.hWnd = window;
    EXPECT_FALSE(SHAppBarMessage(ABM_NEW, &bar)) << "the shell knows the character's app bar already";
    for (bool walking : {false, true}) {
        SCOPED_TRACE(walking ? "walking" : "resting");
        RECT start;
        GetWindowRect(window, &start);
        SetCursorPos(start.right + 300, start.top);
        SendMessageA(window, WM_TIMER, 1, 0);
        if (walking != (followController.moveEnabled == 1)) SendMessageA(window, WM_COMMAND, 40001, 0);
        RECT before, after;
        GetWindowRect(window, &before);
        const int frame = characterSprite.CurrentFrame();
        EXPECT_TRUE(ShapedLike(window, walking ? "r" : "sl", frame)) << "facing the cursor when walking";
        SendMessageA(window, WM_APP + 101, ABN_FULLSCREENAPP, TRUE);
        SendMessageA(window, WM_TIMER, 1, 0);
        GetWindowRect(window, &after);
        EXPECT_FALSE(IsWindowVisible(window));
        EXPECT_TRUE(EqualRect(&before, &after)) << "it does not walk while hidden";
        EXPECT_EQ(characterSprite.CurrentFrame(), frame) << "nor animate";
        SendMessageA(window, WM_APP + 101, ABN_FULLSCREENAPP, FALSE);
        SendMessageA(window, WM_TIMER, 1, 0);
        GetWindowRect(window, &after);
        EXPECT_TRUE(IsWindowVisible(window));
        EXPECT_EQ(after.left - before.left, walking ? 10 : 0) << "back where it was, walking on if it was";
    }
}

// The open-file dialog leaves another folder current while the character walks on
// behind it: the next pose must still find its pictures.
TEST_F(CharacterWindow, ANewPoseFindsItsPicturesWhateverFolderIsCurrent) {
    char start[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, start);
    RECT rect;
    GetWindowRect(window, &rect);
    SetCursorPos(rect.right + 300, rect.top);
    SetCurrentDirectoryA("Data");
    SendMessageA(window, WM_COMMAND, 40001, 0);
    SendMessageA(window, WM_TIMER, 1, 0);
    SetCurrentDirectoryA(start);
    EXPECT_TRUE(ShapedLike(window, "r", characterSprite.CurrentFrame()));
}

TEST_F(CharacterWindow, AnimatesOnTimerOneEvery128Milliseconds) {
    // Take the ticks off the queue for about a second without handling them.
    int ticks = 0;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 1024) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_TIMER);
        MSG message;
        while (PeekMessageA(&message, window, WM_TIMER, WM_TIMER, PM_REMOVE)) ticks += message.wParam == 1;
    }
    EXPECT_GE(ticks, 6);
    EXPECT_LE(ticks, 9);
}

// Asks, just after the destruction sequence and while the window still exists,
// whether the program left its timer and tray icon behind.
WNDPROC characterProcedure = nullptr;
BOOL timerLeft = TRUE;
BOOL iconBefore = FALSE;
BOOL iconLeft = TRUE;

LRESULT CALLBACK ProbeDestruction(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_DESTROY) return CallWindowProcA(characterProcedure, window, message, wParam, lParam);
    NOTIFYICONDATAA probe = {};
    probe.cbSize = 88;
    probe.hWnd = window;
    probe.uID = 1;
    iconBefore = Shell_NotifyIconA(NIM_MODIFY, &probe);
    const LRESULT result = CallWindowProcA(characterProcedure, window, message, wParam, lParam);
    timerLeft = KillTimer(window, 1);
    iconLeft = Shell_NotifyIconA(NIM_MODIFY, &probe);
    return result;
}

TEST_F(CharacterWindow, ClosingRunsTheDestructionSequence) {
    HBITMAP frameBitmap = characterSprite.FrameBitmap(0);
    HRGN frameRegion = characterSprite.FrameRegion(0);
    characterProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ProbeDestruction)));
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(iconBefore) << "the tray icon, id 1, is there while the program runs";
    EXPECT_FALSE(iconLeft) << "and deleted at the end";
    EXPECT_FALSE(timerLeft) << "timer 1 is killed";
    EXPECT_EQ(GetObjectType(frameBitmap), 0u);
    EXPECT_EQ(GetObjectType(frameRegion), 0u);
}

// A monitor unplugged under the character: the display change brings it back onto
// the nearest one. (The virtual display cannot change its size, so the message the
// system sends then is sent here.)
TEST_F(CharacterWindow, ComesBackOntoAMonitorWhenTheDisplaysChange) {
    SetWindowPos(window, nullptr, 5000, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(window, WM_DISPLAYCHANGE, 24, MAKELPARAM(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(rect.top, 300);
}

// The balloon is a window of its own that takes no clicks and never the focus, beside
// the figure's head, on the side with room, and inside the work area at every edge.
TEST_F(CharacterWindow, TheTitleBalloonStaysBesideTheFigureAndInsideTheWorkArea) {
    RECT work, figure, balloon;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(window, &figure);
    const int width = figure.right - figure.left, height = figure.bottom - figure.top;
    const std::tuple<const char*, LONG, LONG, bool> places[] = {
        {"middle", (work.right - width) / 2, (work.bottom - height) / 2, true},
        {"right edge", work.right - width, 300, false},
        {"left edge", work.left, 300, true},
        {"top edge", 300, work.top, true},
        {"bottom right corner", work.right - width, work.bottom - height, false},
    };
    for (const auto& [name, x, y, onTheRight] : places) {
        SCOPED_TRACE(name);
        SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        titleBalloon.Show(window, "01 春天的故事\r\n小明");
        HWND shown = FindWindowA("WuzzleBalloon", nullptr);
        ASSERT_EQ(shown, titleBalloon.Window());
        EXPECT_TRUE(IsWindowVisible(shown));
        EXPECT_NE(GetForegroundWindow(), shown);
        const LONG style = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TRANSPARENT;
        EXPECT_EQ(GetWindowLongA(shown, GWL_EXSTYLE) & style, style);
        GetWindowRect(shown, &balloon);
        EXPECT_TRUE(balloon.left >= work.left && balloon.top >= work.top && balloon.right <= work.right &&
                    balloon.bottom <= work.bottom);
        GetWindowRect(window, &figure);
        const LONG middle = (balloon.left + balloon.right) / 2, figureMiddle = (figure.left + figure.right) / 2;
        EXPECT_EQ(middle > figureMiddle, onTheRight) << "on the side with room";
        EXPECT_LT(onTheRight ? balloon.left - figure.right : figure.left - balloon.right, 0) << "touching it";
        EXPECT_NE(WindowFromPoint({middle, (balloon.top + balloon.bottom) / 2}), shown) << "clicks go through";
    }
    // Where the character walks, the balloon goes along.
    SetWindowPos(window, nullptr, 300, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    GetWindowRect(titleBalloon.Window(), &balloon);
    SetWindowPos(window, nullptr, 340, 310, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT moved;
    GetWindowRect(titleBalloon.Window(), &moved);
    EXPECT_EQ(moved.left - balloon.left, 40);
    ShowWindow(window, SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(titleBalloon.Window())) << "hidden with the character";
    titleBalloon.Show(window, "02 b");
    EXPECT_FALSE(IsWindowVisible(titleBalloon.Window())) << "and no new title while it hides";
}

// Windows 7 and 8 hand the wheel to the window with the focus: over the figure it is
// the character's whatever window got it, and the character's own wheel with the
// cursor elsewhere goes on to the window there.
TEST_F(CharacterWindow, TheWheelOverTheFigureIsTheCharactersWhicheverWindowGetsIt) {
    RECT rect;
    GetWindowRect(window, &rect);
    auto volume = [] { return SendMessageA(controlPanel.volumeSlider, TBM_GETPOS, 0, 0); };
    const LRESULT before = volume();
    const LPARAM figure = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    MSG wheel = {playListEditor.Window(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), figure, 0, {}};
    EXPECT_FALSE(RouteWheel(wheel, window));
    DispatchMessageA(&wheel);
    EXPECT_EQ(volume(), before - 5);
    MSG away = {window, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(rect.right + 20, rect.top), 0, {}};
    EXPECT_TRUE(RouteWheel(away, window)) << "posted on, not the character's";
    EXPECT_EQ(volume(), before - 5);
    // The wheel stops at the slider's ends, and the balloon says where.
    for (const auto [start, notches, end] : {std::tuple{98, 1, 100}, {100, 2, 100}, {3, -1, 0}}) {
        controlPanel.ChangeVolume(start - static_cast<int>(volume()));
        SendMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(0, notches * WHEEL_DELTA), figure);
        EXPECT_EQ(volume(), end);
        EXPECT_EQ(WindowText(titleBalloon.Window()), "音量 " + std::to_string(end));
    }
}

// A restarted Explorer has an empty notification area and says so to every top-level
// window: the icon must come back.
TEST_F(CharacterWindow, TheTrayIconComesBackWhenTheShellSaysItRestarted) {
    NOTIFYICONDATAA icon = {};
    icon.cbSize = 88;
    icon.hWnd = window;
    icon.uID = 1;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &icon));
    SendMessageTimeoutA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
    EXPECT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &icon));
}

TEST(InstanceGuard, IsTheMutexWuzzlePlayerAndTurnsASecondHolderAway) {
    ASSERT_TRUE(AcquireInstanceGuard());
    HANDLE named = OpenMutexA(SYNCHRONIZE, FALSE, "WuzzlePlayer");
    EXPECT_NE(named, nullptr);
    EXPECT_FALSE(AcquireInstanceGuard());
    CloseHandle(named);
    CloseHandle(instanceGuard);
}

}  // namespace
