// The control panel's rules: playing, stopping, pausing and stepping through the play
// order, the end of a track, and what the panel shows. Platform-free: the plug-in is
// reached through its interface, the playlist and the panel's texts through ports.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "playback/interface/plugin_interface.h"
#include "text/ansi_code_page.h"

class PlaylistEntry;

// The panel's texts.
enum DisplayControl : int { kTitleText = 1004, kElapsedText = 1005, kBitrateText = 1006, kSampleRateText = 1009 };

// "%02d %s": the panel's first line, the tray icon's tip and the balloon's.
std::string NumberAndTitle(int number, const char* title);

class DisplayPort {
public:
    virtual void SetText(int control, const char* text) = 0;
    // The track open now, playing or paused, with its number in the list and whether
    // it can be moved within; null when none is. The position bar, the tray icon's tip
    // and the title balloon follow it.
    virtual void NowPlaying(const PlaylistEntry* entry, int number, bool canSeek) = 0;
    // Seconds into the open track, as the time shows them.
    virtual void ShowPosition(int seconds) = 0;
    // The open track paused, or went on.
    virtual void PauseChanged() {}

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
    // The entry could not be opened, opens again, or was read: its row shows it.
    virtual void EntryChanged(PlaylistEntry* entry) = 0;

protected:
    ~PlaylistPort() = default;
};

class Transport {
public:
    Transport(DisplayPort& display, LeadByteTest isLeadByte) : display(display), isLeadByte(isLeadByte) {}

    // Nothing is played or stopped until the input plug-in and the playlist are
    // connected. `canSeek`: the plug-in's module says its slot 10 is Seek.
    void Connect(InputPlugin* plugin, PlaylistPort* rows, bool canSeek) {
        input = plugin;
        playlist = rows;
        seekable = canSeek;
    }

    // The track the plug-in's events belong to: the callback reads it on the plug-in's
    // thread and sends it along. It moves on once Stop or Close has returned, when the
    // old track's worker can post nothing more, so an event still queued from before
    // (the old track's seconds, its end) is known as stale and dropped.
    uint16_t TrackTag() const { return trackTag.load(); }
    void OnPlaybackEvent(int event, uint16_t tag, int value);

    void RefreshDisplay();
    // The current entry's details were read: shown, unless a track is open.
    void DetailsCame();
    void PlayCurrent();
    void StopPlayback();
    void TogglePause();
    // A media key's play/pause: plays when stopped, pauses or resumes otherwise.
    void PlayOrPause();
    void NextTrack();
    void PreviousTrack();
    void OnTrackEnded();
    void OnElapsed(int seconds);
    // Moves the open track to `seconds`: the time shows it at once and the plug-in's
    // next seconds count on from it; a paused track stays paused. Nothing when no
    // track is open or the plug-in cannot seek.
    void Seek(int seconds);
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
    void Stopped();

    void NextTrackTag() { trackTag.fetch_add(1); }

    PlaylistPort* playlist = nullptr;
    DisplayPort& display;
    LeadByteTest isLeadByte;
    InputPlugin* input = nullptr;
    bool seekable = false;
    // True from starting a track until it has been stopped or its end handled. An
    // end-of-track event that finds this false, or finds another track playing, was
    // posted before the user stopped or changed the track, and is stale.
    bool expectingEnd = false;
    std::atomic<uint16_t> trackTag{0};
};
