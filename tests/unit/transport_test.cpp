// The control panel's rules against a recording input plug-in and a play order of
// three rows (titles a, b, c). Each case names the calls the plug-in sees and the
// texts the panel shows.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "playlist_fakes.h"

namespace {

class Panel final : public PlaylistPort, public DisplayPort {
public:
    int RowCount() override { return rows.RowCount(); }
    PlaylistEntry* CurrentEntry() override { return order.CurrentEntry(rows); }
    int CurrentNumber() override { return order.CurrentNumber(rows); }
    int StepNext() override { return order.StepNext(rows); }
    int StepPrevious() override { return order.StepPrevious(rows); }
    void SetText(int control, const char* text) override { texts[control] = text; }
    void EntryChanged(PlaylistEntry* entry) override { changed += entry->info.title; }
    void NowPlaying(const PlaylistEntry*, int, bool) override {}
    void ShowPosition(int) override {}

    PlayOrder order;
    VectorRows rows;
    std::map<int, std::string> texts;
    std::string changed;
};

using Texts = std::map<int, std::string>;
const Texts kUntouched = {{kTitleText, "?"}, {kBitrateText, "?"}, {kSampleRateText, "?"}, {kElapsedText, "?"}};
const Texts kBlank = {{kTitleText, ""}, {kBitrateText, ""}, {kSampleRateText, ""}, {kElapsedText, ""}};

Texts Shows(const char* title, const char* elapsed = "00:00") {
    return {{kTitleText, title}, {kBitrateText, "128"}, {kSampleRateText, "44.10"}, {kElapsedText, elapsed}};
}

struct Case {
    const char* name;
    int rows;
    int position;
    int mode;
    PlayerState state;
    std::function<void(Transport&, FakeInput&)> act;
    std::string calls;
    Texts texts;
    int positionAfter;
    // Rows (by title) whose files cannot be opened now, rows marked unavailable before,
    // and the rows the editor is told to show anew.
    std::string refused = "", unavailable = "", changed = "";
    bool canSeek = true;
};

using Act = std::function<void(Transport&, FakeInput&)>;
const Act Play = [](Transport& t, FakeInput&) { t.PlayCurrent(); };
const Act Next = [](Transport& t, FakeInput&) { t.NextTrack(); };
const Act Previous = [](Transport& t, FakeInput&) { t.PreviousTrack(); };
const Act Pause = [](Transport& t, FakeInput&) { t.TogglePause(); };
const Act Stop = [](Transport& t, FakeInput&) { t.StopPlayback(); };
constexpr int kEnded = 1, kSeconds = 2;
// The track plays to its end: the plug-in stops by itself and reports the end.
const Act PlayToEnd = [](Transport& t, FakeInput& input) {
    t.PlayCurrent();
    input.state = PlayerState::Stopped;
    input.calls.clear();
    t.OnPlaybackEvent(kEnded, t.TrackTag(), 0);
};
// The user acts after the plug-in posted an event but before the panel handled it.
Act LateEventAfter(int event, int value, const Act& user) {
    return [=](Transport& t, FakeInput& input) {
        t.PlayCurrent();
        if (event == kEnded) input.state = PlayerState::Stopped;
        const uint16_t posted = t.TrackTag();
        input.calls.clear();
        user(t, input);
        t.OnPlaybackEvent(event, posted, value);
    };
}
// A jump within the track, as the position bar asks for it, once `before` has run.
Act SeekAfter(const Act& before, int seconds) {
    return [=](Transport& t, FakeInput& input) {
        before(t, input);
        input.calls.clear();
        t.Seek(seconds);
    };
}
const Act Nothing = [](Transport&, FakeInput&) {};
const Act PlayAndPause = [](Transport& t, FakeInput&) {
    t.PlayCurrent();
    t.TogglePause();
};

const PlayerState kStopped = PlayerState::Stopped, kPlaying = PlayerState::Playing, kPaused = PlayerState::Paused;

TEST(Transport, CallsThePlugInAndShowsAsThePanelMust) {
    const Case cases[] = {
        {"play_with_no_rows_blanks", 0, 0, 0, kStopped, Play, "GetState ", kBlank, 0},
        {"kilohertz_to_two_places", 3, 0, 0, kStopped,
         [](Transport& t, FakeInput& input) {
             input.reported = {"", "", 0, 64, 22050, 0};
             t.PlayCurrent();
         },
         "GetState Open(C:\\m\\a.mp3) Play ",
         {{kTitleText, "01 a"}, {kBitrateText, "64"}, {kSampleRateText, "22.05"}, {kElapsedText, "00:00"}}, 0},
        {"play_while_stopped", 3, 1, 0, kStopped, Play, "GetState Open(C:\\m\\b.mp3) Play ", Shows("02 b"), 1},
        {"play_while_playing_restarts", 3, 1, 0, kPlaying, Play, "GetState Stop Close Open(C:\\m\\b.mp3) Play ",
         Shows("02 b"), 1},
        {"play_while_paused_only_resumes", 3, 1, 0, kPaused, Play, "GetState Resume ", kUntouched, 1},
        {"pause_while_stopped_does_nothing", 3, 0, 0, kStopped, Pause, "GetState ", kUntouched, 0},
        {"pause_while_playing", 3, 0, 0, kPlaying, Pause, "GetState Pause ", kUntouched, 0},
        {"pause_while_paused_resumes", 3, 0, 0, kPaused, Pause, "GetState Resume ", kUntouched, 0},
        {"stop_in_any_state", 3, 0, 0, kStopped, Stop, "Stop Close ", kUntouched, 0},
        {"next_on_the_last_row_without_loop", 3, 2, 0, kPlaying, Next, "", kUntouched, 2},
        {"next_with_loop_wraps_and_plays", 3, 2, Loop, kPlaying, Next,
         "GetState GetState Stop Close Open(C:\\m\\a.mp3) Play ", Shows("01 a"), 0},
        {"next_while_paused_stops_and_shows", 3, 0, 0, kPaused, Next, "GetState Stop Close ", Shows("02 b"), 1},
        {"next_while_stopped_shows", 3, 0, 0, kStopped, Next, "GetState ", Shows("02 b"), 1},
        {"previous_on_the_first_row", 3, 0, 0, kPlaying, Previous, "", kUntouched, 0},
        {"previous_with_loop_wraps", 3, 0, Loop, kStopped, Previous, "GetState ", Shows("03 c"), 2},
        {"end_plays_the_next_row", 3, 0, 0, kStopped, PlayToEnd, "GetState Close GetState Open(C:\\m\\b.mp3) Play ",
         Shows("02 b"), 1},
        {"end_of_the_last_row_only_closes", 3, 2, 0, kStopped, PlayToEnd, "GetState Close ", Shows("03 c"), 2},
        // An end posted before the user's command must not end or skip what the
        // command started, nor start anything after Stop.
        {"late_end_after_next", 3, 0, 0, kStopped, LateEventAfter(kEnded, 0, Next),
         "GetState GetState Stop Close Open(C:\\m\\b.mp3) Play ", Shows("02 b"), 1},
        {"late_end_after_play", 3, 1, 0, kStopped, LateEventAfter(kEnded, 0, Play),
         "GetState Stop Close Open(C:\\m\\b.mp3) Play ", Shows("02 b"), 1},
        {"late_end_after_stop", 3, 0, 0, kStopped, LateEventAfter(kEnded, 0, Stop), "Stop Close ", Shows("01 a"), 0},
        // The old track's seconds, queued before the change, must not show on the new.
        {"late_seconds_after_next", 3, 0, 0, kStopped, LateEventAfter(kSeconds, 3, Next),
         "GetState GetState Stop Close Open(C:\\m\\b.mp3) Play ", Shows("02 b"), 1},
        {"end_of_a_stopped_track_is_ignored", 3, 0, 0, kStopped,
         [](Transport& t, FakeInput&) { t.OnPlaybackEvent(kEnded, t.TrackTag(), 0); }, "", kUntouched, 0},
        // Entries whose files cannot be opened are passed over, in the direction of
        // travel, without a word; after one pass with nothing that opens, it stops on
        // the last one tried.
        {"play_passes_over_a_gone_file", 3, 1, 0, kStopped, Play,
         "GetState Open(C:\\m\\b.mp3) Open(C:\\m\\c.mp3) Play ", Shows("03 c"), 2, "b", "", "b"},
        {"end_passes_over_a_gone_file", 3, 0, 0, kStopped, PlayToEnd,
         "GetState Close GetState Open(C:\\m\\b.mp3) Open(C:\\m\\c.mp3) Play ", Shows("03 c"), 2, "b", "", "b"},
        {"previous_passes_over_backwards", 3, 2, 0, kPlaying, Previous,
         "GetState GetState Stop Close Open(C:\\m\\b.mp3) Open(C:\\m\\a.mp3) Play ", Shows("01 a"), 0, "b", "",
         "b"},
        // Playing, a step passes over rows known to be gone; with none that may open in
        // its direction the music goes on where it is.
        {"previous_onto_a_gone_first_row_keeps_playing", 3, 1, 0, kPlaying, Previous, "GetState ", kUntouched, 1,
         "a", "a"},
        {"next_passes_over_a_row_known_gone", 3, 0, 0, kPlaying, Next,
         "GetState GetState Stop Close Open(C:\\m\\c.mp3) Play ", Shows("03 c"), 2, "b", "b"},
        {"one_pass_with_loop_then_stop", 3, 1, Loop, kStopped, Play,
         "GetState Open(C:\\m\\b.mp3) Open(C:\\m\\c.mp3) Open(C:\\m\\a.mp3) ",
         {{kTitleText, "01 a"}, {kBitrateText, ""}, {kSampleRateText, ""}, {kElapsedText, "00:00"}}, 0, "abc", "",
         "bca"},
        {"the_end_of_the_list_ends_the_search", 3, 1, 0, kStopped, Play,
         "GetState Open(C:\\m\\b.mp3) Open(C:\\m\\c.mp3) ",
         {{kTitleText, "03 c"}, {kBitrateText, ""}, {kSampleRateText, ""}, {kElapsedText, "00:00"}}, 2, "bc", "",
         "bc"},
        {"a_file_that_is_back_plays_and_shows_again", 3, 1, 0, kStopped, Play, "GetState Open(C:\\m\\b.mp3) Play ",
         Shows("02 b"), 1, "", "b", "b"},
        // Seeking: the time shows the new place at once, in as many minutes as it takes; a
        // paused track stays paused; past the end, or ended meanwhile, the next one plays;
        // nothing to move, or a plug-in without the feature, and nothing happens.
        {"seek_while_paused_stays_paused", 3, 0, 0, kStopped, SeekAfter(PlayAndPause, 3), "GetState Seek(3) GetState ",
         Shows("01 a", "00:03"), 0},
        {"seek_past_the_end", 3, 0, 0, kStopped, SeekAfter(Play, 6000), "GetState Seek(6000) GetState ",
         Shows("01 a", "100:00"), 0},
        {"late_seconds_after_seek", 3, 0, 0, kStopped,
         LateEventAfter(kSeconds, 1, [](Transport& t, FakeInput&) { t.Seek(75); }), "GetState Seek(75) GetState ",
         Shows("01 a", "01:15"), 0},
        {"an_end_while_seeking_is_not_lost", 3, 0, 0, kStopped,
         LateEventAfter(kSeconds, 1, [](Transport& t, FakeInput& input) { input.seekEnds = true, t.Seek(75); }),
         "GetState Seek(75) GetState GetState Close GetState Open(C:\\m\\b.mp3) Play ", Shows("02 b"), 1},
        {"seek_with_nothing_open", 3, 0, 0, kStopped, SeekAfter(Nothing, 3), "GetState ", kUntouched, 0},
        {"seek_without_the_feature", 3, 0, 0, kStopped, SeekAfter(Play, 3), "", Shows("01 a"), 0, "", "", "", false},
    };
    for (const Case& c : cases) {
        Panel panel;
        for (int i = 0; i < c.rows; ++i) panel.rows.Add(panel.order, std::string("C:\\m\\") + char('a' + i) + ".mp3");
        panel.order.SetMode(panel.rows, c.mode);
        for (int i = 0; i < c.position; ++i) panel.order.StepNext(panel.rows);
        for (char row : c.unavailable) MarkUnavailable(*panel.rows.entries[row - 'a'], GbkLeadByte);
        panel.texts = kUntouched;
        FakeInput input;
        for (char row : c.refused) input.refused.insert(std::string("C:\\m\\") + row + ".mp3");
        input.reported.title[0] = '\0';  // titles come from the file names
        input.state = c.state;
        Transport transport(panel, GbkLeadByte);
        transport.Connect(&input, &panel, c.canSeek);
        c.act(transport, input);
        EXPECT_EQ(input.calls, c.calls) << c.name;
        EXPECT_EQ(panel.texts, c.texts) << c.name;
        EXPECT_EQ(panel.order.Position(), c.positionAfter) << c.name;
        EXPECT_EQ(panel.changed, c.changed) << c.name;
    }
}

}  // namespace
