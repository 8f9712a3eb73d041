#include "playback/control_panel.h"

LRESULT ControlPanel::HandleMessage(UINT message, WPARAM, LPARAM) {
    // Closing only hides the panel; it lives until the process ends.
    if (message == WM_CLOSE) Show(SW_HIDE);
    return 0;
}

void ControlPanel::ShowPanel() {
    Show(SW_SHOW);
}

// Transport and settings: the panel's playback and settings file fill these in.
void ControlPanel::PlayCurrent() {}
void ControlPanel::StopPlayback() {
    if (input == nullptr) return;
    input->Stop();
    input->Close();
}
void ControlPanel::NextTrack() {}
void ControlPanel::PreviousTrack() {}
void ControlPanel::LoadSettings() {}
void ControlPanel::SaveSettings() {}
