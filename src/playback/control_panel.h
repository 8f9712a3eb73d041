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
    uint16_t TrackTag() const { return transport.TrackTag(); }
    int LoadSettings(const char* path);
    int SaveSettings(const char* path);

    // The plug-in objects, owned by their modules; the panel never releases them.
    InputPlugin* input = nullptr;
    OutputPlugin* output = nullptr;
    HWND volumeSlider = nullptr;

    // Runs before the process ends for want of plug-ins, while the window that made
    // the panel is still being created: the shell takes its tray icon away here.
    void (*beforeFatalExit)() = nullptr;

private:
    void OnInitDialog();
    void OnCommand(int control);
    void OnVolumeMoved();
    void ApplyModeButtons();
    void SetText(int control, const char* text) override;

    Transport transport;
};

extern ControlPanel controlPanel;
