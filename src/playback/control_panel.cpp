#include "playback/control_panel.h"

#include <commctrl.h>

#include <algorithm>

#include "playback/plugin_loader.h"
#include "playback/settings_file.h"
#include "playlist/playlist_editor.h"
#include "playlist/playlist_entry.h"
#include "resources/resource_ids.h"
#include "ui/whole_file.h"

ControlPanel::ControlPanel() : transport(*this, IsAnsiLeadByte) {}

LRESULT ControlPanel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: OnInitDialog(); break;
    case WM_COMMAND: OnCommand(LOWORD(wParam)); break;
    case WM_HSCROLL:
        if (reinterpret_cast<HWND>(lParam) == volumeSlider) OnVolumeMoved();
        if (reinterpret_cast<HWND>(lParam) == positionBar) OnPositionMoved(LOWORD(wParam));
        break;
    case WM_APP: transport.OnPlaybackEvent(LOWORD(wParam), HIWORD(wParam), static_cast<int>(lParam)); break;
    // Closing only hides the panel; it lives until the process ends.
    case WM_CLOSE: Show(SW_HIDE); break;
    default: break;
    }
    return 0;
}

void ControlPanel::OnInitDialog() {
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    input = pluginLoader.LoadInput(".\\Data\\Input.ini");
    output = pluginLoader.LoadOutput(".\\Data\\Output.ini");
    if (input == nullptr || output == nullptr) {
        MessageBoxA(window, "必要なプラグインが見つかりません", nullptr, MB_ICONWARNING);
        if (beforeFatalExit != nullptr) beforeFatalExit();
        ExitProcess(0);
    }
    input->SetOutput(output);
    input->SetCallback(&PostPlaybackEvent, this);
    // The playlist is bound here, not in the constructor: as a static object made after
    // the panel, it does not exist yet when the panel is constructed.
    transport.Connect(input, &playlist, (pluginLoader.InputFeatures() & kInputCanSeek) != 0);
    transport.balance = 100;
    volumeSlider = GetDlgItem(window, IDC_VOLUME);
    SendMessageA(volumeSlider, TBM_SETRANGEMIN, FALSE, 0);
    SendMessageA(volumeSlider, TBM_SETRANGEMAX, FALSE, 100);
    SendMessageA(volumeSlider, TBM_SETPAGESIZE, 0, 20);
    positionBar = GetDlgItem(window, IDC_POSITION);
    transport.RefreshDisplay();
    Show(SW_HIDE);
}

// Whatever the notification code.
void ControlPanel::OnCommand(int control) {
    switch (control) {
    case IDC_RANDOM:
    case IDC_LOOP: ApplyModeButtons(); break;
    case IDC_STOP: transport.StopPlayback(); break;
    case IDC_PAUSE: transport.TogglePause(); break;
    case IDC_PREVIOUS: transport.PreviousTrack(); break;
    case IDC_NEXT: transport.NextTrack(); break;
    case IDC_PLAY: transport.PlayCurrent(); break;
    // Esc hides the panel as its close box does.
    case IDCANCEL: Show(SW_HIDE); break;
    default: break;
    }
}

int ControlPanel::ChangeVolume(int delta) {
    transport.volume = std::clamp(transport.volume + delta, 0, 100);
    SendMessageA(volumeSlider, TBM_SETPOS, TRUE, transport.volume);
    transport.ApplyVolume();
    return transport.volume;
}

// Any scroll code, so the volume follows the thumb while it is dragged.
void ControlPanel::OnVolumeMoved() {
    transport.volume = static_cast<int>(SendMessageA(volumeSlider, TBM_GETPOS, 0, 0));
    transport.ApplyVolume();
}

// Dragging the thumb, clicking the channel and the keys all end with TB_ENDTRACK: the
// jump is made then, once.
void ControlPanel::OnPositionMoved(int code) {
    positionHeld = code != TB_ENDTRACK;
    if (!positionHeld) transport.Seek(static_cast<int>(SendMessageA(positionBar, TBM_GETPOS, 0, 0)));
}

void ControlPanel::NowPlaying(const PlaylistEntry* entry, int number, bool canSeek) {
    SendMessageA(positionBar, TBM_SETRANGEMAX, FALSE, entry != nullptr ? entry->info.length : 0);
    SendMessageA(positionBar, TBM_SETPOS, TRUE, 0);
    EnableWindow(positionBar, entry != nullptr && canSeek);
    shownSeconds = 0;
    if (onNowPlaying != nullptr) onNowPlaying(entry, number);
}

void ControlPanel::ShowPosition(int seconds) {
    if (!positionHeld) SendMessageA(positionBar, TBM_SETPOS, TRUE, seconds);
    shownSeconds = seconds;
    if (onPlaceChanged != nullptr) onPlaceChanged();
}

void ControlPanel::PauseChanged() {
    if (onPlaceChanged != nullptr) onPlaceChanged();
}

// The push-like check boxes have toggled themselves already. Playback goes on and
// the display stays, even when the rebuilt order makes another row current.
void ControlPanel::ApplyModeButtons() {
    int mode = 0;
    if (SendDlgItemMessageA(window, IDC_RANDOM, BM_GETCHECK, 0, 0) == BST_CHECKED) mode |= Random;
    if (SendDlgItemMessageA(window, IDC_LOOP, BM_GETCHECK, 0, 0) == BST_CHECKED) mode |= Loop;
    playlist.SetMode(mode);
}

void ControlPanel::ShowPanel() {
    Show(SW_SHOW);
}

void ControlPanel::SetText(int control, const char* text) {
    SetDlgItemTextA(window, control, text);
}

// Read once at start, after the playlist: a saved Random mode shuffles its rows.
int ControlPanel::LoadSettings(const char* path) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) return 0;
    const Settings settings = ReadSettings(bytes);
    int mode = 0;
    if (settings.random == 1) {
        SendDlgItemMessageA(window, IDC_RANDOM, BM_SETCHECK, BST_CHECKED, 0);
        mode |= Random;
    }
    if (settings.loop == 1) {
        SendDlgItemMessageA(window, IDC_LOOP, BM_SETCHECK, BST_CHECKED, 0);
        mode |= Loop;
    }
    playlist.SetMode(mode);
    transport.volume = settings.volume;
    titleBalloons = settings.balloons;
    lyrics = settings.lyrics;
    // The slider keeps its thumb within 0..100; the volume stays as read.
    SendMessageA(volumeSlider, TBM_SETPOS, TRUE, transport.volume);
    transport.ApplyVolume();
    return 1;
}

int ControlPanel::SaveSettings(const char* path) {
    Settings settings;
    settings.random = static_cast<int>(SendDlgItemMessageA(window, IDC_RANDOM, BM_GETCHECK, 0, 0));
    settings.loop = static_cast<int>(SendDlgItemMessageA(window, IDC_LOOP, BM_GETCHECK, 0, 0));
    settings.volume = transport.volume;
    settings.balloons = titleBalloons;
    settings.lyrics = lyrics;
    return ReplaceWholeFile(path, SettingsBytes(settings)) ? 1 : 0;
}
