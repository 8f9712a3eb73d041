// Playback through the input plug-in: events, states, pause, stop, volume, files
// that change under it, and unloading while it plays.
#include <gtest/gtest.h>

#include <optional>

#include "harness.h"
#include "playback/plugin_loader.h"

namespace {

constexpr DWORD kGenerousMs = 15000;

std::vector<int> Values(const std::vector<Event>& events, PlaybackEvent kind) {
    std::vector<int> values;
    for (const Event& e : events) {
        if (e.event == static_cast<int>(kind)) values.push_back(e.value);
    }
    return values;
}

class PlaybackTest : public ::testing::Test {
protected:
    void Connect(OutputPlugin* output) {
        input->SetOutput(output);
        input->SetCallback(&EventLog::Record, &log);
    }
    void TearDown() override {
        input->Close();
        input->SetCallback(nullptr, nullptr);
        input->SetVolume(100, 100);
    }

    InputPlugin* input = TheInput();
    EventLog log;
    TrackInfo info{};
};

// The output plug-in itself: on a machine without sound, its paced silent sink.
TEST_F(PlaybackTest, ThreeSecondFileGivesElapsedOneAndTwoThenOneEndAtAboutRealTime) {
    Connect(TheOutput());
    ASSERT_NE(input->Open("audio\\tone3s.mp3", &info), 0);
    const DWORD start = GetTickCount();
    input->Play();
    EXPECT_EQ(input->GetState(), PlayerState::Playing);
    ASSERT_TRUE(log.WaitFor(PlaybackEvent::TrackEnded, 0, kGenerousMs));
    const DWORD took = GetTickCount() - start;
    Sleep(200);  // nothing may follow the end

    const auto events = log.Events();
    const auto elapsed = Values(events, PlaybackEvent::ElapsedSeconds);
    ASSERT_GE(elapsed.size(), 2u);
    EXPECT_EQ(elapsed[0], 1);
    EXPECT_EQ(elapsed[1], 2);
    EXPECT_LE(elapsed.back(), 3);
    EXPECT_EQ(log.Count(PlaybackEvent::TrackEnded), 1);
    EXPECT_EQ(events.back().event, static_cast<int>(PlaybackEvent::TrackEnded));
    EXPECT_EQ(input->GetState(), PlayerState::Stopped);
    EXPECT_GE(took, 2500u);
    EXPECT_LE(took, 10000u);
}

TEST_F(PlaybackTest, StopBeforeTheEndGivesNoTrackEnded) {
    Connect(TheOutput());
    ASSERT_NE(input->Open("audio\\tone3s.mp3", &info), 0);
    input->Play();
    ASSERT_TRUE(log.WaitFor(PlaybackEvent::ElapsedSeconds, 1, kGenerousMs));
    input->Stop();
    EXPECT_EQ(input->GetState(), PlayerState::Stopped);
    const size_t eventsAtStop = log.Events().size();
    input->Close();
    Sleep(2500);  // past where the file would have ended
    EXPECT_EQ(log.Count(PlaybackEvent::TrackEnded), 0);
    EXPECT_EQ(log.Events().size(), eventsAtStop) << "no event after Stop";
}

// Paced capture: the same silent sink, and the samples played can be checked.
TEST_F(PlaybackTest, PauseHoldsTheTimeAndLosesNothing) {
    Connect(TheCapture("paused.wav", true));
    ASSERT_NE(input->Open("audio\\cbr128.mp3", &info), 0);
    input->Play();
    ASSERT_TRUE(log.WaitFor(PlaybackEvent::ElapsedSeconds, 1, kGenerousMs));
    input->Pause();
    EXPECT_EQ(input->GetState(), PlayerState::Paused);
    const size_t eventsAtPause = log.Events().size();
    Sleep(1500);
    EXPECT_EQ(log.Events().size(), eventsAtPause) << "time stands while paused";
    input->Resume();
    EXPECT_EQ(input->GetState(), PlayerState::Playing);
    ASSERT_TRUE(log.WaitFor(PlaybackEvent::TrackEnded, 0, kGenerousMs));
    input->Close();
    TheCapture("", false);

    const auto elapsed = Values(log.Events(), PlaybackEvent::ElapsedSeconds);
    EXPECT_EQ(elapsed, (std::vector<int>{1, 2, 3, 4}));
    int channels = 0;
    const auto played = ReadWav("paused.wav", &channels);
    const auto reference = ReadRaw("audio\\cbr128.mp3.raw");
    EXPECT_EQ(played.size(), reference.size());
    EXPECT_GE(SnrDb(reference, played), 80.0);
}

struct StateCase {
    const char* name;
    int steps;  // how far to go: 0 nothing open, 1 opened, 2 playing, 3 paused, 4 ended
};

class StopInAnyStateTest : public PlaybackTest, public ::testing::WithParamInterface<StateCase> {};

TEST_P(StopInAnyStateTest, StopAndCloseLeaveItStoppedAndUsable) {
    Connect(TheCapture("", false));
    const int steps = GetParam().steps;
    if (steps >= 1) {
        ASSERT_NE(input->Open("audio\\cbr128.mp3", &info), 0);
    }
    if (steps >= 2) input->Play();
    if (steps == 3) input->Pause();
    if (steps == 4) {
        ASSERT_TRUE(log.WaitFor(PlaybackEvent::TrackEnded, 0, kGenerousMs));
    }
    for (int i = 0; i < 2; ++i) {
        input->Stop();
        EXPECT_EQ(input->GetState(), PlayerState::Stopped);
        input->Close();
        EXPECT_EQ(input->GetState(), PlayerState::Stopped);
    }
    input->Pause();
    input->Resume();
    EXPECT_EQ(input->GetState(), PlayerState::Stopped);
    EXPECT_LE(log.Count(PlaybackEvent::TrackEnded), steps == 4 ? 1 : 0);
    EXPECT_TRUE(PlayToEnd("audio\\tone3s.mp3", TheCapture("", false), kGenerousMs)) << "still plays";
}

INSTANTIATE_TEST_SUITE_P(States, StopInAnyStateTest,
                         ::testing::Values(StateCase{"nothing_open", 0}, StateCase{"opened", 1},
                                           StateCase{"playing", 2}, StateCase{"paused", 3}, StateCase{"ended", 4}),
                         [](const auto& info) { return std::string(info.param.name); });

struct VolumeCase {
    int first;
    int second;
    int expectFirst;
    int expectSecond;
};

class VolumeTest : public PlaybackTest, public ::testing::WithParamInterface<VolumeCase> {};

TEST_P(VolumeTest, EachChannelIsScaledAndLevelsAreClamped) {
    const VolumeCase& c = GetParam();
    input->SetVolume(c.first, c.second);
    ASSERT_TRUE(PlayToEnd("audio\\cbr128.mp3", TheCapture("volume.wav", false), kGenerousMs));
    TheCapture("", false);
    int channels = 0;
    const auto played = ReadWav("volume.wav", &channels);
    const auto full = ReadRaw("audio\\cbr128.mp3.raw");
    ASSERT_EQ(channels, 2);
    ASSERT_EQ(played.size(), full.size());
    for (size_t i = 0; i < full.size(); ++i) {
        const int level = i % 2 == 0 ? c.expectFirst : c.expectSecond;
        ASSERT_NEAR(played[i], full[i] * level / 100, 1) << "sample " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, VolumeTest,
                         ::testing::Values(VolumeCase{50, 150, 50, 100}, VolumeCase{-20, 30, 0, 30}));

// The file is ours once opened: others may read and write it but not delete it. What
// they do to it can only end the track early, and it ends as any track does.
enum class Meddling { Delete, Truncate, Lock };

struct MeddlingCase {
    const char* name;
    Meddling meddling;
};

class ChangedFileTest : public PlaybackTest, public ::testing::WithParamInterface<MeddlingCase> {};

TEST_P(ChangedFileTest, PlaybackEndsCleanly) {
    const std::string path = std::string("changed-") + GetParam().name + ".mp3";
    ASSERT_TRUE(CopyFileA("audio\\cbr128.mp3", path.c_str(), FALSE));
    Connect(TheCapture("", false));
    ASSERT_NE(input->Open(path.c_str(), &info), 0);
    HANDLE other = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    switch (GetParam().meddling) {
        case Meddling::Delete:
            EXPECT_FALSE(DeleteFileA(path.c_str()));
            break;
        case Meddling::Truncate:
            EXPECT_TRUE(SetEndOfFile(other));
            break;
        case Meddling::Lock:
            EXPECT_TRUE(LockFile(other, 0, 0, MAXDWORD, 0));
            break;
    }
    input->Play();
    EXPECT_TRUE(log.WaitFor(PlaybackEvent::TrackEnded, 0, kGenerousMs));
    EXPECT_EQ(input->GetState(), PlayerState::Stopped);
    input->Close();
    CloseHandle(other);
    EXPECT_TRUE(DeleteFileA(path.c_str()));
}

INSTANTIATE_TEST_SUITE_P(Meddling, ChangedFileTest,
                         ::testing::Values(MeddlingCase{"delete", Meddling::Delete},
                                           MeddlingCase{"truncate", Meddling::Truncate},
                                           MeddlingCase{"lock", Meddling::Lock}),
                         [](const auto& info) { return std::string(info.param.name); });

// The program releases the modules at exit without stopping (a host may); copies of
// the modules under other names keep this apart from the other tests' instances.
class UnloadTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CopyFileA(PluginPath("Input.ini").c_str(), "unload-input.ini", FALSE));
        ASSERT_TRUE(CopyFileA(PluginPath("Output.ini").c_str(), "unload-output.ini", FALSE));
        loader.emplace();
        input = loader->LoadInput(".\\unload-input.ini");
        ASSERT_NE(input, nullptr);
    }
    void StartPlaying() {
        input->SetOutput(loader->LoadOutput(".\\unload-output.ini"));
        input->SetCallback(&EventLog::Record, &log);
        ASSERT_NE(input->Open("audio\\tone3s.mp3", &info), 0);
        input->Play();
    }
    static bool Loaded(const char* module) { return GetModuleHandleA(module) != nullptr; }
    static bool WaitUnloaded(const char* module) {
        for (int i = 0; i < 100 && Loaded(module); ++i) Sleep(50);
        return !Loaded(module);
    }

    std::optional<PluginLoader> loader;
    InputPlugin* input = nullptr;
    EventLog log;
    TrackInfo info{};
};

TEST_F(UnloadTest, WhilePlayingTheTrackFinishesThenBothModulesGo) {
    StartPlaying();
    loader.reset();
    EXPECT_TRUE(Loaded("unload-input.ini")) << "held by its worker";
    EXPECT_TRUE(Loaded("unload-output.ini")) << "held by the input's worker";
    EXPECT_TRUE(log.WaitFor(PlaybackEvent::TrackEnded, 0, kGenerousMs));
    EXPECT_TRUE(WaitUnloaded("unload-input.ini"));
    EXPECT_TRUE(WaitUnloaded("unload-output.ini"));
}

// Stop has ended the worker, so nothing holds the modules any more.
TEST_F(UnloadTest, AfterStopBothModulesGoAtOnce) {
    StartPlaying();
    ASSERT_TRUE(log.WaitFor(PlaybackEvent::ElapsedSeconds, 1, kGenerousMs));
    input->Stop();
    loader.reset();
    EXPECT_FALSE(Loaded("unload-input.ini"));
    EXPECT_FALSE(Loaded("unload-output.ini"));
}

TEST_F(UnloadTest, WithAFileOpenTheFileIsLetGo) {
    ASSERT_TRUE(CopyFileA("audio\\tone3s.mp3", "unload-open.mp3", FALSE));
    ASSERT_NE(input->Open("unload-open.mp3", &info), 0);
    loader.reset();
    EXPECT_FALSE(Loaded("unload-input.ini"));
    EXPECT_TRUE(DeleteFileA("unload-open.mp3"));
}

}  // namespace
