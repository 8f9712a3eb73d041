// Playback through the input plug-in: events, states, pause, stop, files that change
// under it, and unloading while it plays. One-second files keep the real-time cases
// short.
#include <gtest/gtest.h>

#include <fstream>

#include "harness.h"
#include "playback/plugin_loader.h"

namespace {

constexpr DWORD kGenerousMs = 15000;
constexpr const char* kOneSecond = "audio\\tone1s.mp3";

class PlaybackTest : public ::testing::Test {
protected:
    void Connect(OutputPlugin* output) {
        input->SetOutput(output);
        input->SetCallback(&EventLog::Record, &log);
    }
    void TearDown() override {
        input->Close();
        input->SetCallback(nullptr, nullptr);
    }

    InputPlugin* input = TheInput();
    EventLog log;
    TrackInfo info{};
};

// Paused at once and moved back to the start while paused, for longer than the track:
// nothing may be played meanwhile, and after Resume every sample is played once.
TEST_F(PlaybackTest, PauseHoldsTheTimeThroughAJumpAndLosesNothing) {
    Connect(TheCapture("paused.raw", true));
    ASSERT_NE(input->Open(kOneSecond, &info), 0);
    input->Play();
    input->Pause();
    input->Seek(0);
    EXPECT_EQ(input->GetState(), PlayerState::Paused);
    EXPECT_FALSE(log.WaitFor(PlaybackEvent::ElapsedSeconds, 1, 1100)) << "time stands while paused";
    input->Resume();
    EXPECT_EQ(input->GetState(), PlayerState::Playing);
    ASSERT_TRUE(log.WaitFor(PlaybackEvent::TrackEnded, 0, kGenerousMs));
    input->Close();
    TheCapture("", false);

    EXPECT_EQ(log.Count(PlaybackEvent::ElapsedSeconds), 1);
    EXPECT_FALSE(log.WaitFor(PlaybackEvent::ElapsedSeconds, 2, 0)) << "one second, told once";
    EXPECT_EQ(log.Count(PlaybackEvent::TrackEnded), 1);
    // The whole track after the jump; before it, only what played before the Pause
    // reached the worker, a moment on a busy machine.
    const auto reference = ReadSamples("audio\\tone1s.mp3.raw");
    auto played = ReadSamples("paused.raw");
    ASSERT_GE(played.size(), reference.size());
    EXPECT_LT(played.size() - reference.size(), reference.size() / 2);
    played.erase(played.begin(), played.end() - reference.size());
    EXPECT_TRUE(MatchesReference(reference, played));
}

// What the lyrics are timed by: the output's count of what was heard, from where the
// track started or jumped to; it holds while paused, and there is none once stopped.
TEST_F(PlaybackTest, PlayedMsIsWhatTheOutputPlayedFromTheLastPlace) {
    const auto playedMs = reinterpret_cast<PlayedMsExport>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("Input.ini"), "GetPlayedMs")));
    Connect(TheCapture("", true));
    ASSERT_NE(input->Open("audio\\tone6s.mp3", &info), 0);
    EXPECT_EQ(playedMs(), -1);
    input->Play();
    ASSERT_TRUE(log.WaitFor(PlaybackEvent::ElapsedSeconds, 1, kGenerousMs));
    input->Pause();
    const int held = playedMs();
    EXPECT_TRUE(held >= 1000 && held < 1500) << held;
    Sleep(300);  // what must not happen has no event to wait for
    EXPECT_EQ(playedMs(), held);
    input->Seek(4);
    EXPECT_EQ(playedMs(), 4000);
    input->Resume();
    ASSERT_TRUE(log.WaitFor(PlaybackEvent::ElapsedSeconds, 5, kGenerousMs));
    const int after = playedMs();
    EXPECT_TRUE(after >= 5000 && after < 5500) << after;
    input->Stop();
    EXPECT_EQ(playedMs(), -1);
}

// The program stops before every change of the playlist, in whatever state; no event
// comes after a Stop.
TEST_F(PlaybackTest, StopAndCloseInAnyStateLeaveItStoppedAndUsable) {
    // How far to go first: 0 nothing open, 1 opened, 2 playing, 3 paused, 4 ended.
    for (int steps = 0; steps <= 4; ++steps) {
        SCOPED_TRACE(steps);
        EventLog log;
        input->SetOutput(TheCapture("", steps == 2 || steps == 3));  // paced: "playing" must still play at Stop
        input->SetCallback(&EventLog::Record, &log);
        if (steps >= 1) {
            ASSERT_NE(input->Open(kOneSecond, &info), 0);
        }
        if (steps >= 2) input->Play();
        if (steps == 3) input->Pause();
        if (steps == 4) {
            ASSERT_TRUE(log.WaitFor(PlaybackEvent::TrackEnded, 0, kGenerousMs));
        }
        input->Stop();
        const size_t eventsAtStop = log.Events().size();
        for (int i = 0; i < 2; ++i) {
            input->Stop();
            input->Close();
            EXPECT_EQ(input->GetState(), PlayerState::Stopped);
        }
        input->Pause();
        input->Resume();
        EXPECT_EQ(input->GetState(), PlayerState::Stopped);
        EXPECT_EQ(log.Events().size(), eventsAtStop);
        EXPECT_LE(log.Count(PlaybackEvent::TrackEnded), steps == 4 ? 1 : 0);
        EXPECT_TRUE(PlayToEnd(kOneSecond, TheCapture("", false), kGenerousMs)) << "still plays";
    }
}

// The file is ours once opened: others may read and write it but not delete it. What
// they do to it can only end the track early, and it ends as any track does.
TEST_F(PlaybackTest, AFileDeletedCutOrLockedWhilePlayingEndsItsTrackCleanly) {
    const std::pair<const char*, bool (*)(const char*, HANDLE)> meddlings[] = {
        {"delete", [](const char* path, HANDLE) { return !DeleteFileA(path); }},
        {"truncate", [](const char*, HANDLE other) { return SetEndOfFile(other) != FALSE; }},
        {"lock", [](const char*, HANDLE other) { return LockFile(other, 0, 0, MAXDWORD, 0) != FALSE; }},
    };
    Connect(TheCapture("", false));
    for (const auto& [name, meddle] : meddlings) {
        const std::string path = std::string("changed-") + name + ".mp3";
        ASSERT_TRUE(CopyFileA("audio\\cbr128.mp3", path.c_str(), FALSE));
        ASSERT_NE(input->Open(path.c_str(), &info), 0);
        HANDLE other = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_TRUE(meddle(path.c_str(), other)) << name;
        EventLog events;
        input->SetCallback(&EventLog::Record, &events);
        input->Play();
        EXPECT_TRUE(events.WaitFor(PlaybackEvent::TrackEnded, 0, kGenerousMs)) << name;
        EXPECT_EQ(input->GetState(), PlayerState::Stopped) << name;
        input->Close();
        CloseHandle(other);
        EXPECT_TRUE(DeleteFileA(path.c_str())) << name;
    }
}

// The program releases the modules at exit without stopping: a playing track holds
// both until it has finished. Copies under other names keep this apart from the other
// tests' instances.
TEST(UnloadTest, WhilePlayingTheTrackFinishesThenBothModulesGo) {
    ASSERT_TRUE(CopyFileA(PluginPath("Input.ini").c_str(), "unload-input.ini", FALSE));
    ASSERT_TRUE(CopyFileA(PluginPath("Output.ini").c_str(), "unload-output.ini", FALSE));
    auto loaded = [](const char* module) { return GetModuleHandleA(module) != nullptr; };
    EventLog log;
    {
        PluginLoader loader;
        InputPlugin* input = loader.LoadInput(".\\unload-input.ini");
        ASSERT_NE(input, nullptr);
        input->SetOutput(loader.LoadOutput(".\\unload-output.ini"));
        input->SetCallback(&EventLog::Record, &log);
        TrackInfo info{};
        ASSERT_NE(input->Open(kOneSecond, &info), 0);
        input->Play();
    }
    EXPECT_TRUE(loaded("unload-input.ini") && loaded("unload-output.ini")) << "held by the worker";
    EXPECT_TRUE(log.WaitFor(PlaybackEvent::TrackEnded, 0, kGenerousMs));
    EXPECT_TRUE(WaitUnloaded("unload-input.ini") && WaitUnloaded("unload-output.ini"));
}

}  // namespace
