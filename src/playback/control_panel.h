// The control panel dialog: the one place that drives playback. Its rules live in
// Transport; the dialog routes its buttons, the slider and the plug-in's events there.
#pragma once

#include "playback/interface/plugin_interface.h"
#include "playback/transport.h"
#include "ui/dialog_base.h"

class ControlPanel : public DialogBase, private DisplayPort {
public:
    ControlPanel();

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    void ShowPanel();
    void PlayCurrent() { transport.PlayCurrent(); }
    void StopPlayback() { transport.StopPlayback(); }
    void NextTrack() { transport.NextTrack(); }
    void PreviousTrack() { transport.PreviousTrack(); }
    void TogglePause() { transport.TogglePause(); }
    void PlayOrPause() { transport.PlayOrPause(); }
    void DetailsCame() { transport.DetailsCame(); }
    // Moves the volume by `delta` within 0..100, the slider with it; the new volume.
    int ChangeVolume(int delta);
    uint16_t TrackTag() const { return transport.TrackTag(); }
    int LoadSettings(const char* path);
    int SaveSettings(const char* path);

    // The plug-in objects, owned by their modules; the panel never releases them.
    InputPlugin* input = nullptr;
    OutputPlugin* output = nullptr;
    HWND volumeSlider = nullptr;
    // The character's title balloon and its lyrics: 1 on, 0 off. Kept in the settings
    // file.
    int titleBalloons = 1;
    int lyrics = 1;
    // Whole seconds into the open track, as the time shows them.
    int ShownSeconds() const { return shownSeconds; }

    // Runs before the process ends for want of plug-ins, while the window that made
    // the panel is still being created: the shell takes its tray icon away here.
    void (*beforeFatalExit)() = nullptr;
    // Told of the track open now (null when none is), for the tray tip and the
    // character's title balloon.
    void (*onNowPlaying)(const PlaylistEntry* entry, int number) = nullptr;
    // Told when the open track's place may have moved other than by playing on: a
    // jump, a pause, going on; and at every second it has played.
    void (*onPlaceChanged)() = nullptr;

private:
    void OnInitDialog();
    void OnCommand(int control);
    void OnVolumeMoved();
    void OnPositionMoved(int code);
    void ApplyModeButtons();
    void SetText(int control, const char* text) override;
    void NowPlaying(const PlaylistEntry* entry, int number, bool canSeek) override;
    void ShowPosition(int seconds) override;
    void PauseChanged() override;

    HWND positionBar = nullptr;
    // While the user moves the position bar, the seconds played leave its thumb alone.
    bool positionHeld = false;
    int shownSeconds = 0;

    Transport transport;
};

extern ControlPanel controlPanel;
