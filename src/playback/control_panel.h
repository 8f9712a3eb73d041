// The control panel dialog: the one place that drives playback.
#pragma once

#include "playback/interface/plugin_interface.h"
#include "ui/dialog_base.h"

class ControlPanel : public DialogBase {
public:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    void ShowPanel();
    void PlayCurrent();
    void StopPlayback();
    void NextTrack();
    void PreviousTrack();
    void LoadSettings();
    void SaveSettings();

    // The plug-in objects, owned by their modules; the panel never releases them.
    InputPlugin* input = nullptr;
    OutputPlugin* output = nullptr;
};

extern ControlPanel controlPanel;
