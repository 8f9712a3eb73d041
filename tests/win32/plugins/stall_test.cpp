// Playback through Output.ini on a sound device that stalls, as ctest runs it under
// stalled-device: one that never opens, or one that stops taking sound mid-track.
// Skipped elsewhere.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

#include "harness.h"
#include "output_plugin.h"
#include "playback/plugin_loader.h"

namespace {

constexpr DWORD kGenerousMs = 15000;
constexpr DWORD kBoundMs = 100;

// Whatever the device does, the user-interface thread never waits on it: the track
// plays on in silence (its time with it), the next one plays, and the module goes
// once the device lets go of the thread that was left waiting on it.
TEST(StalledDeviceTest, NeitherTheUserNorTheTrackWaitsForTheDevice) {
    char release[MAX_PATH], stall[32] = "";
    if (GetEnvironmentVariableA("WUZZLE_STALL_RELEASE", release, sizeof(release)) == 0) GTEST_SKIP();
    GetEnvironmentVariableA("WUZZLE_STALL", stall, sizeof(stall));
    // Copies, so that their unloading is this test's own to see.
    ASSERT_TRUE(CopyFileA(PluginPath("Input.ini").c_str(), "stall-input.ini", FALSE));
    ASSERT_TRUE(CopyFileA(PluginPath("Output.ini").c_str(), "stall-output.ini", FALSE));
    std::optional<PluginLoader> loader(std::in_place);
    InputPlugin* input = loader->LoadInput(".\\stall-input.ini");
    OutputPlugin* output = loader->LoadOutput(".\\stall-output.ini");
    ASSERT_TRUE(input != nullptr && output != nullptr);
    auto took = [](auto call) {
        const DWORD start = GetTickCount();
        call();
        return GetTickCount() - start;
    };

    // The output on its own first: a stream whose device is still opening.
    output->Start(44100, 2);
    EXPECT_LT(took([&] { output->Pause(); }), kBoundMs);
    output->Flush();
    output->Finish();

    EventLog log;
    TrackInfo info;
    input->SetOutput(output);
    input->SetCallback(&EventLog::Record, &log);
    EXPECT_NE(input->Open("audio\\cbr128.mp3", &info), 0);  // four seconds
    input->Play();
    EXPECT_LT(took([&] { input->Stop(); }), kBoundMs);
    input->Play();
    EXPECT_TRUE(log.WaitFor(PlaybackEvent::ElapsedSeconds, 2, kGenerousMs)) << "the time goes on";
    EXPECT_LT(took([&] { input->Pause(); }), kBoundMs);
    EXPECT_EQ(input->GetState(), PlayerState::Paused);
    input->Resume();
    EXPECT_LT(took([&] { input->Stop(); }), kBoundMs);
    input->Play();
    EXPECT_LT(took([&] { input->Close(); }), kBoundMs);
    EXPECT_NE(input->Open("audio\\tone1s.mp3", &info), 0);
    input->Play();
    EXPECT_TRUE(log.WaitFor(PlaybackEvent::TrackEnded, 0, kGenerousMs)) << "the next track plays";

    input->Close();
    loader.reset();
    if (strcmp(stall, "never-opens") == 0) {
        EXPECT_NE(GetModuleHandleA("stall-output.ini"), nullptr) << "its code stays until waveOutOpen returns";
    }
    CloseHandle(CreateFileA(release, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));  // ends the stall
    EXPECT_TRUE(WaitUnloaded("stall-input.ini"));
    EXPECT_TRUE(WaitUnloaded("stall-output.ini"));
}

}  // namespace
