#include "app/media_keys.h"

#include "playback/control_panel.h"

namespace {

struct MediaKey {
    UINT virtualKey;
    short appCommand;
    void (ControlPanel::*action)();
};

const MediaKey kMediaKeys[] = {
    {VK_MEDIA_PLAY_PAUSE, APPCOMMAND_MEDIA_PLAY_PAUSE, &ControlPanel::PlayOrPause},
    {VK_MEDIA_STOP, APPCOMMAND_MEDIA_STOP, &ControlPanel::StopPlayback},
    {VK_MEDIA_NEXT_TRACK, APPCOMMAND_MEDIA_NEXTTRACK, &ControlPanel::NextTrack},
    {VK_MEDIA_PREV_TRACK, APPCOMMAND_MEDIA_PREVIOUSTRACK, &ControlPanel::PreviousTrack},
};
constexpr int kFirstHotKeyId = 1;
constexpr int kMediaKeyCount = sizeof(kMediaKeys) / sizeof(kMediaKeys[0]);

}  // namespace

void RegisterMediaKeys(HWND window) {
    for (int i = 0; i < kMediaKeyCount; ++i) RegisterHotKey(window, kFirstHotKeyId + i, 0, kMediaKeys[i].virtualKey);
}

void UnregisterMediaKeys(HWND window) {
    for (int i = 0; i < kMediaKeyCount; ++i) UnregisterHotKey(window, kFirstHotKeyId + i);
}

void OnMediaHotKey(WPARAM id) {
    const int key = static_cast<int>(id) - kFirstHotKeyId;
    if (key >= 0 && key < kMediaKeyCount) (controlPanel.*kMediaKeys[key].action)();
}

bool OnMediaAppCommand(LPARAM lParam) {
    const short command = GET_APPCOMMAND_LPARAM(lParam);
    for (const MediaKey& key : kMediaKeys) {
        if (key.appCommand != command) continue;
        (controlPanel.*key.action)();
        return true;
    }
    return false;
}
