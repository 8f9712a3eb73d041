// Output.ini driven directly, as our input plug-in drives it. Without a sound device
// (as under Wine here) this is the paced silent sink; ctest runs these tests once more
// with a device that discards what it plays (plugin_waveout_tests).
#include <gtest/gtest.h>

#include <thread>

#include "harness.h"
#include "output_plugin.h"

namespace {

constexpr int kRate = 44100;

class OutputTest : public ::testing::Test {
protected:
    void SetUp() override { output->Start(kRate, 2); }
    void TearDown() override { output->Finish(); }

    // Writes `seconds` of a quiet tone; false when the output gave up.
    bool WriteSeconds(double seconds) {
        std::vector<int16_t> frames(static_cast<size_t>(seconds * kRate) * 2, 100);
        written += frames.size() / 2;
        return output->Write(frames.data(), frames.size() * sizeof(int16_t));
    }
    bool DrainWithin(DWORD timeoutMs) {
        const DWORD start = GetTickCount();
        while (!output->Drain()) {
            if (GetTickCount() - start > timeoutMs) return false;
        }
        return true;
    }

    OutputPlugin* output = TheOutput();
    int64_t written = 0;
};

TEST_F(OutputTest, PauseHoldsPlayedFramesAndResumeLosesNothing) {
    ASSERT_TRUE(WriteSeconds(0.2));
    output->Pause();
    Sleep(50);
    const int64_t atPause = output->PlayedFrames();
    Sleep(200);
    EXPECT_EQ(output->PlayedFrames(), atPause);
    output->Resume();
    ASSERT_TRUE(WriteSeconds(0.1));
    ASSERT_TRUE(DrainWithin(5000));
    EXPECT_EQ(output->PlayedFrames(), written);
}

// A paused writer sleeps until it is woken: the Stop that flushes must wake it.
TEST_F(OutputTest, FlushMakesAWaitingWriterGiveUpAtOncePlayingOrPaused) {
    for (bool paused : {false, true}) {
        if (paused) output->Pause();
        bool accepted = true;
        std::thread writer([&] { accepted = WriteSeconds(20); });
        Sleep(100);
        const DWORD start = GetTickCount();
        output->Flush();
        writer.join();
        EXPECT_FALSE(accepted) << paused;
        EXPECT_LT(GetTickCount() - start, 2000u) << paused;
        EXPECT_TRUE(output->Drain()) << "nothing left to wait for";
        output->Finish();
        output->Start(kRate, 2);
    }
}

// The input's worker opens the stream; a Pause from the user may come first and must
// hold once the stream is open. A Resume in between cancels it.
TEST_F(OutputTest, APauseBeforeTheStreamOpensHoldsOnceItIs) {
    for (bool resumedFirst : {false, true}) {
        output->Finish();  // the fixture's stream goes: this test opens its own
        output->Pause();
        if (resumedFirst) output->Resume();
        output->Start(kRate, 2);
        written = 0;
        std::thread writer([&] { WriteSeconds(0.1); });
        Sleep(200);
        EXPECT_EQ(output->PlayedFrames() == 0, !resumedFirst) << (resumedFirst ? "resumed" : "paused");
        output->Resume();
        writer.join();
        ASSERT_TRUE(DrainWithin(5000));
        EXPECT_EQ(output->PlayedFrames(), written);
    }
}

}  // namespace
