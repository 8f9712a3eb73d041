#include "character_fixture.h"

#include "app/shell.h"
#include "playback/control_panel.h"
#include "playlist/playlist_editor.h"
#include "resources/resource_ids.h"

void CharacterWindowTest::SetUp() {
    // Each test starts as a first run: no playlist and no settings from the last one.
    DeleteFileA("Data\\PlayList.m3u");
    DeleteFileA("Data\\Wzmp.ini");
    // The capture plug-in in Data\Output.ini plays in real time, as a device does.
    SetEnvironmentVariableA("WUZZLE_CAPTURE_PACED", "1");
    InitShellPaths();
    window = CreateCharacterWindow(GetModuleHandleA(nullptr));
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
}

void CharacterWindowTest::TearDown() {
    if (IsWindow(window)) DestroyWindow(window);
    // The dialogs live as long as the process in the program; here each test makes
    // its own.
    playListEditor.ClearPlaylist();
    playlist.SetMode(0);
    DestroyWindow(playListEditor.Window());
    DestroyWindow(controlPanel.Window());
    // The destruction sequence posts WM_QUIT; take it off the queue.
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

namespace {

MenuSighting sighting;

// Runs inside the menu's modal loop, which dispatches the thread's timers.
void CALLBACK LookAtOpenMenu(HWND, UINT, UINT_PTR, DWORD) {
    HWND popup = FindWindowA("#32768", nullptr);
    if (sighting.seen || popup == nullptr || !IsWindowVisible(popup)) return;
    sighting.seen = true;
    sighting.menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
    sighting.menuLive = IsMenu(sighting.menu) != FALSE;
    GetWindowRect(popup, &sighting.rect);
    sighting.moveChecked = (GetMenuState(sighting.menu, ID_MOVE, MF_BYCOMMAND) & MF_CHECKED) != 0;
    sighting.titleBalloonsChecked = (GetMenuState(sighting.menu, ID_TITLE_BALLOONS, MF_BYCOMMAND) & MF_CHECKED) != 0;
    EndMenu();
}

}  // namespace

MenuSighting WatchMenu(const std::function<void()>& open) {
    sighting = {};
    const UINT_PTR timer = SetTimer(nullptr, 0, 30, LookAtOpenMenu);
    open();
    KillTimer(nullptr, timer);
    return sighting;
}
