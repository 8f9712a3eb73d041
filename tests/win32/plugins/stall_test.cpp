// Playback through Output.ini on a sound device that stalls, as ctest runs it under
// stalled-device: a device that never opens, or one that stops taking sound
// mid-track (WUZZLE_STALL). Skipped elsewhere.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

#include "harness.h"
#include "output_plugin.h"
#include "playback/plugin_loader.h"

namespace {

constexpr DWORD kGenerousMs = 15000;
constexpr double kBoundMs = 100;

class StalledDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (GetEnvironmentVariableA("WUZZLE_STALL_RELEASE", release, sizeof(release)) == 0) {
            GTEST_SKIP() << "runs under stalled-device";
        }
        GetEnvironmentVariableA("WUZZLE_STALL", stall, sizeof(stall));
        // Copies, so that their unloading is this test's own to see.
        ASSERT_TRUE(CopyFileA(PluginPath("Input.ini").c_str(), "stall-input.ini", FALSE));
        ASSERT_TRUE(CopyFileA(PluginPath("Output.ini").c_str(), "stall-output.ini", FALSE));
        loader.emplace();
        input = loader->LoadInput(".\\stall-input.ini");
        ASSERT_NE(input, nullptr);
        output = loader->LoadOutput(".\\stall-output.ini");
        input->SetOutput(output);
    }
    void TearDown() override { EndTheStall(); }

    void EndTheStall() {
        HANDLE fifo = CreateFileA(release, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (fifo != INVALID_HANDLE_VALUE) CloseHandle(fifo);
    }
    // Milliseconds that `call` took, also kept in the test's report.
    template <typename Call>
    double Took(const char* name, Call call) {
        LARGE_INTEGER start, end, frequency;
        QueryPerformanceCounter(&start);
        call();
        QueryPerformanceCounter(&end);
        QueryPerformanceFrequency(&frequency);
        const double took = 1000.0 * (end.QuadPart - start.QuadPart) / frequency.QuadPart;
        RecordProperty(name, std::to_string(took));
        return took;
    }
    void Play(const char* path, EventLog& log) {
        input->SetCallback(&EventLog::Record, &log);
        ASSERT_NE(input->Open(path, &info), 0);
        input->Play();
    }

    char release[MAX_PATH] = "";
    char stall[32] = "";
    std::optional<PluginLoader> loader;
    InputPlugin* input = nullptr;
    OutputPlugin* output = nullptr;
    TrackInfo info{};
};

// Whatever the device does, the user-interface thread never waits on it: the track
// plays on in silence (its time with it), the next one plays, and the module goes
// once the device lets go of the thread that was left waiting on it.
TEST_F(StalledDeviceTest, NeitherTheUserNorTheTrackWaitsForTheDevice) {
    // The output on its own first: a stream whose device is still opening.
    output->Start(44100, 2);
    EXPECT_LT(Took("pause_while_opening", [&] { output->Pause(); }), kBoundMs);
    output->Flush();
    output->Finish();

    EventLog first, second;
    ASSERT_NO_FATAL_FAILURE(Play("audio\\cbr128.mp3", first));  // four seconds
    EXPECT_LT(Took("stop_while_opening", [&] { input->Stop(); }), kBoundMs);
    input->Play();
    ASSERT_TRUE(first.WaitFor(PlaybackEvent::ElapsedSeconds, 2, kGenerousMs)) << "the time goes on";
    EXPECT_LT(Took("pause_stalled", [&] { input->Pause(); }), kBoundMs);
    EXPECT_EQ(input->GetState(), PlayerState::Paused);
    input->Resume();
    EXPECT_LT(Took("stop_stalled", [&] { input->Stop(); }), kBoundMs);
    input->Play();
    EXPECT_LT(Took("close_stalled", [&] { input->Close(); }), kBoundMs);

    ASSERT_NO_FATAL_FAILURE(Play("audio\\tone1s.mp3", second));
    EXPECT_TRUE(second.WaitFor(PlaybackEvent::TrackEnded, 0, kGenerousMs)) << "the next track plays";
    EXPECT_TRUE(second.WaitFor(PlaybackEvent::ElapsedSeconds, 1, 0));
    input->Close();
    loader.reset();
    if (strcmp(stall, "never-opens") == 0) {
        EXPECT_NE(GetModuleHandleA("stall-output.ini"), nullptr) << "its code stays until waveOutOpen returns";
    }
    EndTheStall();
    EXPECT_TRUE(WaitUnloaded("stall-input.ini"));
    EXPECT_TRUE(WaitUnloaded("stall-output.ini"));
}

}  // namespace
