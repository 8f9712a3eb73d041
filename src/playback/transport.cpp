#include "playback/transport.h"

#include <cstdio>
#include <unordered_set>

#include "playlist/playlist_entry.h"

namespace {

bool KnownGone(const PlaylistEntry* entry) {
    return entry != nullptr && !entry->available;
}

}  // namespace

std::string NumberAndTitle(int number, const char* title) {
    char text[160];
    std::snprintf(text, sizeof(text), "%02d %s", number, title);
    return text;
}

void Transport::RefreshDisplay() {
    PlaylistEntry* entry = playlist->CurrentEntry();
    const int number = playlist->CurrentNumber();
    if (entry == nullptr) {
        for (int control : {kTitleText, kBitrateText, kSampleRateText, kElapsedText}) display.SetText(control, "");
        return;
    }
    display.SetText(kTitleText, NumberAndTitle(number, entry->info.title).c_str());
    char text[32];
    // An entry that cannot be opened, or is not read yet, has no rates to show.
    const bool rates = entry->available && entry->details != Details::Pending;
    std::snprintf(text, sizeof(text), "%d", entry->info.bitrate);
    display.SetText(kBitrateText, rates ? text : "");
    std::snprintf(text, sizeof(text), "%.2f", entry->info.sampleRate / 1000.0);
    display.SetText(kSampleRateText, rates ? text : "");
    display.SetText(kElapsedText, "00:00");
}

PlayerState Transport::State() {
    const PlayerState state = input->GetState();
    return state == PlayerState::Stopped && expectingEnd ? PlayerState::Playing : state;
}

void Transport::PlayCurrent() {
    PlayGoing(&PlaylistPort::StepNext);
}

void Transport::PlayGoing(StepFunction step) {
    if (input == nullptr) return;
    switch (State()) {
    case PlayerState::Paused:
        input->Resume();
        display.PauseChanged();
        return;
    case PlayerState::Playing: StopPlayback(); break;
    case PlayerState::Stopped: break;
    default: return;
    }
    PlayFirstThatOpens(step);
    RefreshDisplay();
}

// Each row is tried once. Two passes of steps at most: in Random and Loop mode the
// order is reshuffled at the wrap, so the rows not yet tried can come anywhere in it.
// Without Loop the end of the order ends the search. The position stays on the last
// entry tried.
void Transport::PlayFirstThatOpens(StepFunction step) {
    const size_t rows = static_cast<size_t>(playlist->RowCount());
    std::unordered_set<const PlaylistEntry*> tried;
    for (size_t steps = 0; steps <= 2 * rows; ++steps) {
        PlaylistEntry* entry = playlist->CurrentEntry();
        if (entry == nullptr) return;
        if (tried.insert(entry).second) {
            if (OpenEntry(*entry)) {
                input->Play();
                expectingEnd = true;
                display.NowPlaying(entry, playlist->CurrentNumber(), seekable);
                return;
            }
            if (tried.size() >= rows) return;
        }
        if ((playlist->*step)() == 0) return;
    }
}

bool Transport::OpenEntry(PlaylistEntry& entry) {
    // Into a record of our own: a refused Open may have written part of it.
    TrackInfo info{};
    const bool opened = input->Open(entry.path.c_str(), &info) != 0;
    const bool wasAvailable = entry.available, wasPending = entry.details == Details::Pending;
    if (opened) {
        TakeTrackDetails(entry, info, isLeadByte);
    } else {
        MarkUnavailable(entry, isLeadByte);
    }
    if (opened != wasAvailable || wasPending) playlist->EntryChanged(&entry);
    return opened;
}

void Transport::DetailsCame() {
    if (input != nullptr && State() == PlayerState::Stopped) RefreshDisplay();
}

void Transport::StopPlayback() {
    if (input == nullptr) return;
    input->Stop();
    input->Close();
    Stopped();
}

void Transport::Stopped() {
    NextTrackTag();
    expectingEnd = false;
    display.NowPlaying(nullptr, 0, false);
}

void Transport::TogglePause() {
    if (input == nullptr) return;
    switch (input->GetState()) {
    case PlayerState::Playing:
        input->Pause();
        display.PauseChanged();
        break;
    case PlayerState::Paused:
        input->Resume();
        display.PauseChanged();
        break;
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

// While music plays, a step lands only on an entry not known to be unavailable; with
// none in that direction the position goes back and the music goes on.
void Transport::Step(StepFunction step) {
    if (input == nullptr || (playlist->*step)() == 0) return;
    const PlayerState state = State();
    for (int taken = 1; state == PlayerState::Playing && KnownGone(playlist->CurrentEntry()) &&
                        taken < playlist->RowCount();
         ++taken) {
        if ((playlist->*step)() == 0) {
            const StepFunction back =
                step == &PlaylistPort::StepNext ? &PlaylistPort::StepPrevious : &PlaylistPort::StepNext;
            while (taken-- > 0) (playlist->*back)();
            return;
        }
    }
    switch (state) {
    case PlayerState::Playing: PlayGoing(step); break;
    case PlayerState::Paused:
        StopPlayback();
        RefreshDisplay();
        break;
    default: RefreshDisplay(); break;
    }
}

void Transport::OnPlaybackEvent(int event, uint16_t tag, int value) {
    if (tag != TrackTag()) return;
    if (event == static_cast<int>(PlaybackEvent::TrackEnded)) OnTrackEnded();
    if (event == static_cast<int>(PlaybackEvent::ElapsedSeconds)) OnElapsed(value);
}

void Transport::OnTrackEnded() {
    if (input == nullptr || !expectingEnd || input->GetState() != PlayerState::Stopped) return;
    input->Close();
    Stopped();
    if (playlist->StepNext() != 0) PlayCurrent();
}

void Transport::OnElapsed(int seconds) {
    display.SetText(kElapsedText, MinutesAndSeconds(seconds).c_str());
    display.ShowPosition(seconds);
}

void Transport::Seek(int seconds) {
    // A track that ended on its own, its end not yet handled, is left to that end.
    if (input == nullptr || !seekable || input->GetState() == PlayerState::Stopped) return;
    seconds = seconds < 0 ? 0 : seconds;
    // The old place's events still queued are stale now; the new place's, even an end
    // that comes at once, carry the new tag.
    NextTrackTag();
    input->Seek(seconds);
    OnElapsed(seconds);
    // The track ran out while the jump was asked for, or the new place lies past the
    // end: the end may have been posted under the old tag, so it is taken here.
    if (input->GetState() == PlayerState::Stopped) OnTrackEnded();
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
