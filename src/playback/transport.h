// The control panel's rules: playing, stopping, pausing and stepping through the play
// order, the end of a track, and what the panel shows. Platform-free: the plug-in is
// reached through its interface, the playlist and the panel's texts through ports.
#pragma once

#include <atomic>
#include <cstdint>

#include "playback/interface/plugin_interface.h"
#include "playlist/ansi_text.h"

class PlaylistEntry;

// The panel's texts.
enum DisplayControl : int { kTitleText = 1004, kElapsedText = 1005, kBitrateText = 1006, kSampleRateText = 1009 };

class DisplayPort {
public:
    virtual void SetText(int control, const char* text) = 0;

protected:
    ~DisplayPort() = default;
};

// What the transport needs of the play order.
class PlaylistPort {
public:
    virtual int RowCount() = 0;
    virtual PlaylistEntry* CurrentEntry() = 0;
    virtual int CurrentNumber() = 0;
    virtual int StepNext() = 0;
    virtual int StepPrevious() = 0;
    // The entry could not be opened, or opens again: its row shows it.
    virtual void EntryChanged(PlaylistEntry* entry) = 0;

protected:
    ~PlaylistPort() = default;
};

class Transport {
public:
    Transport(DisplayPort& display, LeadByteTest isLeadByte) : display(display), isLeadByte(isLeadByte) {}

    // Nothing is played or stopped until the input plug-in and the playlist are
    // connected.
    void Connect(InputPlugin* plugin, PlaylistPort* rows) {
        input = plugin;
        playlist = rows;
    }

    // The track the plug-in's events belong to: the callback reads it on the plug-in's
    // thread and sends it along. It moves on once Stop or Close has returned, when the
    // old track's worker can post nothing more, so an event still queued from before
    // (the old track's seconds, its end) is known as stale and dropped.
    uint16_t TrackTag() const { return trackTag.load(); }
    void OnPlaybackEvent(int event, uint16_t tag, int value);

    void RefreshDisplay();
    void PlayCurrent();
    void StopPlayback();
    void TogglePause();
    // A media key's play/pause: plays when stopped, pauses or resumes otherwise.
    void PlayOrPause();
    void NextTrack();
    void PreviousTrack();
    void OnTrackEnded();
    void OnElapsed(int seconds);
    void ApplyVolume();

    int volume = 0;
    int balance = 100;

private:
    using StepFunction = int (PlaylistPort::*)();

    // The plug-in's state, except that a track whose end has been reported but not yet
    // handled here still counts as playing.
    PlayerState State();
    void Step(StepFunction step);
    // PlayCurrent, passing over entries that cannot be opened in `step`'s direction.
    void PlayGoing(StepFunction step);
    void PlayFirstThatOpens(StepFunction step);
    bool OpenEntry(PlaylistEntry& entry);

    void NextTrackTag() { trackTag.fetch_add(1); }

    PlaylistPort* playlist = nullptr;
    DisplayPort& display;
    LeadByteTest isLeadByte;
    InputPlugin* input = nullptr;
    // True from starting a track until it has been stopped or its end handled. An
    // end-of-track event that finds this false, or finds another track playing, was
    // posted before the user stopped or changed the track, and is stale.
    bool expectingEnd = false;
    std::atomic<uint16_t> trackTag{0};
};
