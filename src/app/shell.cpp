#include "app/shell.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include "app/context_menu.h"
#include "app/desktop_courtesy.h"
#include "app/media_keys.h"
#include "app/placement.h"
#include "app/sing_along.h"
#include "app/title_balloon.h"
#include "playback/control_panel.h"
#include "playlist/dropped_files.h"
#include "playlist/playlist_editor.h"
#include "playlist/playlist_entry.h"
#include "resources/resource_ids.h"
#include "sprite/follow_port_win32.h"
#include "ui/whole_file.h"

char startDirectory[kPathBufferSize];
char settingsPath[kPathBufferSize];
char playlistPath[kPathBufferSize];
char trackCachePath[kPathBufferSize];
char iconPath[kPathBufferSize];
HANDLE instanceGuard = nullptr;
HICON appIcon = nullptr;
HWND mainWindow = nullptr;
CharacterSprite characterSprite;
FollowController followController;

namespace {

// Set once the files were read whole: an exit before that (from the tray menu while
// the missing-plug-in message is up), or after a failed read, must not write empty
// or shortened ones over them.
bool playlistLoaded = false;
bool settingsLoaded = false;
HWND characterWindow = nullptr;

// A track starts (null: none is open any more): the tray tip names it, and the
// balloon says it, with the artist on a second line when the file names one, until the
// first line of its lyrics is sung.
void OnNowPlaying(const PlaylistEntry* entry, int number) {
    const std::string title = entry != nullptr ? NumberAndTitle(number, entry->info.title) : "WuzzlePlayer";
    SetTrayTip(title.c_str());
    SingTrack(characterWindow, entry != nullptr ? entry->path.c_str() : nullptr);
    if (entry == nullptr || !controlPanel.titleBalloons) return;
    const std::string artist = entry->info.artist;
    titleBalloon.Show(characterWindow, artist.empty() ? title : title + "\r\n" + artist);
}

LRESULT OnCreate(HWND window) {
    playlistLoaded = settingsLoaded = false;
    AddTrayIcon(window, appIcon);
    followController.Reset();
    InitCommonControls();
    characterWindow = window;
    controlPanel.beforeFatalExit = RemoveTrayIcon;
    controlPanel.onNowPlaying = OnNowPlaying;
    controlPanel.onPlaceChanged = [] { LookForTheLine(characterWindow); };
    playListEditor.startDirectory = startDirectory;
    // Only this copy runs now: what a save cut off at the last exit left can go.
    RemoveUnfinishedReplacement(playlistPath);
    RemoveUnfinishedReplacement(settingsPath);
    RemoveUnfinishedReplacement(trackCachePath);
    controlPanel.Create(nullptr, IDD_CONTROL_PANEL);
    playListEditor.Create(nullptr, IDD_PLAYLIST_EDITOR);
    // The rows come from the list and the cache alone; their files are read behind.
    playListEditor.LoadTrackCache(trackCachePath);
    // A file that could not be read is left alone at exit, as a read-only one is.
    playlistLoaded = playListEditor.LoadPlaylistFile(playlistPath, ListOrigin::Own) != 0;
    settingsLoaded = controlPanel.LoadSettings(settingsPath) != 0;
    DragAcceptFiles(window, TRUE);
    characterSprite.InitSprite(window);
    SetTimer(window, kAnimationTimer, kAnimationPeriodMs, nullptr);
    RegisterMediaKeys(window);
    RegisterAppBar(window);
    return 0;
}

void SaveFiles() {
    if (settingsLoaded) controlPanel.SaveSettings(settingsPath);
    if (!playlistLoaded) return;
    playListEditor.SavePlaylistFile(playlistPath);
    playListEditor.SaveTrackCache(trackCachePath);
}

LRESULT OnDestroy(HWND window) {
    playListEditor.StopReading();
    SaveFiles();
    RemoveTrayIcon();
    characterSprite.ReleaseSprite(window);
    KillTimer(window, kAnimationTimer);
    KillTimer(window, kLyricTimer);
    UnregisterMediaKeys(window);
    RemoveAppBar(window);
    titleBalloon.Destroy();
    PostQuitMessage(0);
    return 0;
}

LRESULT OnHitTest(HWND window, WPARAM wParam, LPARAM lParam) {
    // The whole figure counts as caption, so a drag anywhere on it moves the window.
    const LRESULT hit = DefWindowProcA(window, WM_NCHITTEST, wParam, lParam);
    return hit == HTCLIENT ? HTCAPTION : hit;
}

LRESULT OnTimer(HWND window) {
    if (KeepOutOfTheWay(window)) return 0;
    WindowFollowPort port(window, characterSprite);
    followController.FollowTick(port);
    return 0;
}

MenuChecks Checks() {
    return {followController.moveEnabled, controlPanel.titleBalloons, controlPanel.lyrics};
}

LRESULT OnRightClick(HWND window, LPARAM lParam) {
    // Signed: a monitor left of or above the primary one has negative coordinates.
    ShowContextMenu(window, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), Checks());
    return 0;
}

// The context menu's commands. The editor's own ids (40003-40007) and any other id
// do nothing here.
LRESULT OnCommand(HWND window, WPARAM wParam) {
    switch (LOWORD(wParam)) {
    case ID_MOVE: {
        WindowFollowPort port(window, characterSprite);
        followController.ToggleMove(port);
        break;
    }
    case ID_TITLE_BALLOONS:
        controlPanel.titleBalloons = !controlPanel.titleBalloons;
        if (!controlPanel.titleBalloons) titleBalloon.EndShowing();
        break;
    case ID_LYRICS:
        controlPanel.lyrics = !controlPanel.lyrics;
        LyricsSwitched(window);
        break;
    case ID_EXIT: DestroyWindow(window); break;
    case ID_PLAYLIST_EDITOR: playListEditor.ShowEditor(); break;
    case ID_CONTROL_PANEL: controlPanel.ShowPanel(); break;
    case ID_PLAY: controlPanel.PlayCurrent(); break;
    case ID_STOP: controlPanel.StopPlayback(); break;
    case ID_NEXT: controlPanel.NextTrack(); break;
    case ID_PREVIOUS: controlPanel.PreviousTrack(); break;
    default: break;
    }
    return 0;
}

// The wheel over the figure sets the volume in steps of 5 a notch, and says so.
LRESULT OnWheel(HWND window, WPARAM wParam) {
    static int pending = 0;
    pending += GET_WHEEL_DELTA_WPARAM(wParam);
    const int notches = pending / WHEEL_DELTA;
    pending %= WHEEL_DELTA;
    if (notches != 0) titleBalloon.Show(window, "音量 " + std::to_string(controlPanel.ChangeVolume(5 * notches)));
    return 0;
}

// Logging off or shutting down ends the process without destroying the window: the
// files are saved as an exit saves them.
LRESULT OnEndSession(WPARAM ending) {
    if (ending) SaveFiles();
    return 0;
}

// The two dialogs take the keyboard as dialogs do (Tab, the arrows, Enter, Esc and
// Alt with a letter); the character window is not one of them.
bool IsDialogKey(MSG& message) {
    for (HWND dialog : {controlPanel.Window(), playListEditor.Window()}) {
        if (dialog != nullptr && IsDialogMessageA(dialog, &message)) return true;
    }
    return false;
}

}  // namespace

bool RouteWheel(MSG& message, HWND character) {
    if (message.message != WM_MOUSEWHEEL) return false;
    const POINT cursor = {GET_X_LPARAM(message.lParam), GET_Y_LPARAM(message.lParam)};
    HWND under = WindowFromPoint(cursor);  // the figure's shape, not its rectangle
    if (under == character) {
        message.hwnd = character;
        return false;
    }
    if (message.hwnd != character || under == nullptr) return false;
    PostMessageA(under, WM_MOUSEWHEEL, message.wParam, message.lParam);
    return true;
}

LRESULT CALLBACK CharacterWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return OnCreate(window);
    case WM_DESTROY:
        return OnDestroy(window);
    case WM_PAINT:
        characterSprite.PaintFrame();
        return 0;
    case WM_NCHITTEST:
        return OnHitTest(window, wParam, lParam);
    case WM_NCRBUTTONDOWN:
        return OnRightClick(window, lParam);
    // The whole figure is caption: a double click on it arrives as the caption's.
    case WM_NCLBUTTONDBLCLK:
        controlPanel.PlayOrPause();
        return 0;
    case WM_MOUSEWHEEL:
        return OnWheel(window, wParam);
    case WM_MOVE:
        titleBalloon.Follow(window);
        return 0;
    case WM_SHOWWINDOW:
        if (!wParam) titleBalloon.Hide();
        return 0;
    case WM_COMMAND:
        return OnCommand(window, wParam);
    case WM_TIMER:
        if (wParam == kLyricTimer) {
            OnLyricTimer(window);
            return 0;
        }
        return OnTimer(window);
    case kLyricsReadMessage:
        OnLyricsRead(window, wParam, lParam);
        return 0;
    case WM_DROPFILES:
        return HandleDrop(reinterpret_cast<HDROP>(wParam), window);
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        return OnEndSession(wParam);
    case kTrayMessage:
        HandleTrayMessage(window, lParam, Checks());
        return 0;
    case kAppBarMessage:
        OnAppBarMessage(wParam, lParam);
        return 0;
    case WM_DISPLAYCHANGE:
        ComeBackOnScreen(window);
        return 0;
    case WM_HOTKEY:
        OnMediaHotKey(wParam);
        return 0;
    case WM_APPCOMMAND:
        if (OnMediaAppCommand(lParam)) return TRUE;
        return DefWindowProcA(window, message, wParam, lParam);
    default:
        if (message == TaskbarCreatedMessage()) {
            ReAddTrayIcon();
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

bool InitShellPaths() {
    const DWORD length = GetCurrentDirectoryA(kPathBufferSize, startDirectory);
    // Every path is kept whole: the files are named from the start folder, never from
    // whatever folder is current later.
    if (length == 0 || length >= kPathBufferSize) return false;
    if (!JoinStartPath(settingsPath, kPathBufferSize, startDirectory, "\\Data\\Wzmp.ini") ||
        !JoinStartPath(playlistPath, kPathBufferSize, startDirectory, "\\Data\\PlayList.m3u") ||
        !JoinStartPath(trackCachePath, kPathBufferSize, startDirectory, "\\Data\\TrackCache.dat") ||
        !JoinStartPath(iconPath, kPathBufferSize, startDirectory, "\\Data\\Wzmp.ico")) {
        return false;
    }
    SetSkinFolder(startDirectory);
    return true;
}

bool AcquireInstanceGuard() {
    instanceGuard = CreateMutexA(nullptr, FALSE, kInstanceGuardName);
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(instanceGuard);
        instanceGuard = nullptr;
        return false;
    }
    return true;
}

HWND CreateCharacterWindow(HINSTANCE instance) {
    appIcon = static_cast<HICON>(LoadImageA(nullptr, iconPath, IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
    const SkinSize size = ReadSkinSize();

    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = CharacterWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_INACTIVECAPTION + 1);
    windowClass.lpszClassName = kWindowClassName;
    RegisterClassExA(&windowClass);

    RECT workArea = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    const WindowOrigin origin = PlaceWindow(workArea.right, workArea.bottom, size.width, size.height);
    return CreateWindowExA(kCharacterExStyle, kWindowClassName, nullptr, kCharacterStyle, origin.x, origin.y,
                           size.width, size.height, nullptr, nullptr, instance, nullptr);
}

int RunWuzzle(HINSTANCE instance, int showCommand) {
    if (!InitShellPaths()) {
        MessageBoxA(nullptr, "程序所在文件夹的路径太长，WuzzlePlayer 无法启动。", "WuzzlePlayer", MB_ICONWARNING);
        return 0;
    }
    if (!AcquireInstanceGuard()) return 0;
    HWND window = CreateCharacterWindow(instance);
    if (window == nullptr) return 0;
    mainWindow = window;
    ShowWindow(window, showCommand);
    UpdateWindow(window);

    MSG message;
    int got;
    while ((got = GetMessageA(&message, nullptr, 0, 0)) > 0) {
        if (RouteWheel(message, window) || IsDialogKey(message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    // The plug-in modules are released after this function returns; nothing may
    // still be playing from them by then.
    controlPanel.StopPlayback();
    // After an error (-1) the message was never filled in.
    return got == 0 ? static_cast<int>(message.wParam) : 0;
}
