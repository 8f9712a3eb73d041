#include "playback/transport.h"

#include <cstdio>

#include "playlist/playlist_entry.h"

void Transport::RefreshDisplay() {
    PlaylistEntry* entry = playlist.CurrentEntry();
    const int number = playlist.CurrentNumber();
    if (entry == nullptr) {
        for (int control : {kTitleText, kBitrateText, kSampleRateText, kElapsedText}) display.SetText(control, "");
        return;
    }
    char text[160];
    std::snprintf(text, sizeof(text), "%02d %s", number, entry->info.title);
    display.SetText(kTitleText, text);
    std::snprintf(text, sizeof(text), "%d", entry->info.bitrate);
    display.SetText(kBitrateText, text);
    std::snprintf(text, sizeof(text), "%.2f", entry->info.sampleRate / 1000.0);
    display.SetText(kSampleRateText, text);
    display.SetText(kElapsedText, "00:00");
}

PlayerState Transport::State() {
    const PlayerState state = input->GetState();
    return state == PlayerState::Stopped && expectingEnd ? PlayerState::Playing : state;
}

void Transport::PlayCurrent() {
    if (input == nullptr) return;
    switch (State()) {
    case PlayerState::Paused: input->Resume(); return;
    case PlayerState::Playing: StopPlayback(); break;
    case PlayerState::Stopped: break;
    default: return;
    }
    if (PlaylistEntry* entry = playlist.CurrentEntry()) {
        if (input->Open(entry->path.c_str(), &entry->info) != 0) {
            if (entry->info.title[0] == '\0') {
                TitleFromFileName(entry->info.title, entry->path.c_str(), sizeof(entry->info.title), isLeadByte);
            }
            input->Play();
            expectingEnd = true;
        }
    }
    RefreshDisplay();
}

void Transport::StopPlayback() {
    if (input == nullptr) return;
    input->Stop();
    input->Close();
    expectingEnd = false;
}

void Transport::TogglePause() {
    if (input == nullptr) return;
    switch (input->GetState()) {
    case PlayerState::Playing: input->Pause(); break;
    case PlayerState::Paused: input->Resume(); break;
    default: break;
    }
}

void Transport::PlayOrPause() {
    if (input == nullptr) return;
    if (State() == PlayerState::Stopped) {
        PlayCurrent();
    } else {
        TogglePause();
    }
}

void Transport::NextTrack() {
    Step(&PlaylistPort::StepNext);
}

void Transport::PreviousTrack() {
    Step(&PlaylistPort::StepPrevious);
}

void Transport::Step(int (PlaylistPort::*step)()) {
    if (input == nullptr || (playlist.*step)() == 0) return;
    switch (State()) {
    case PlayerState::Playing: PlayCurrent(); break;
    case PlayerState::Paused:
        StopPlayback();
        RefreshDisplay();
        break;
    default: RefreshDisplay(); break;
    }
}

void Transport::OnTrackEnded() {
    if (input == nullptr || !expectingEnd || input->GetState() != PlayerState::Stopped) return;
    input->Close();
    expectingEnd = false;
    if (playlist.StepNext() != 0) PlayCurrent();
}

void Transport::OnElapsed(int seconds) {
    display.SetText(kElapsedText, MinutesAndSeconds(seconds).c_str());
}

void Transport::ApplyVolume() {
    if (input == nullptr) return;
    const int v = volume;
    const int b = balance;
    if (b < 100) {
        input->SetVolume(v, v * b / 100);
    } else if (b > 100) {
        input->SetVolume(v * (200 - b) / 100, v);
    } else {
        input->SetVolume(v, v);
    }
}
