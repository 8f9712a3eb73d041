// Decoded audio against the reference decoders on Linux, and each stream the output
// is opened for (rate x seconds). Chains, format changes and damaged files have no
// reference a player must match: their streams alone are checked. A row with a place
// to jump to plays paused, jumps, goes on: its last stream is the reference from there.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>

#include "harness.h"

namespace {

TEST(DecodeTest, MatchesTheReferenceSampleForSampleInStreamsOfTheFilesRates) {
    struct Case {
        std::string file, streams;
        bool reference = true;
        int seekTo = -1;
        int tolerance = 2;  // lossless: 0
    };
    const Case cases[] = {
        {"cbr128.mp3", "44100x4"}, {"vbr-xing.mp3", "44100x6"}, {"vbr-noxing.mp3", "44100x6"},
        {"mono22.mp3", "22050x4"}, {"lsf22.mp3", "22050x4"},    {"mpeg25-8k.mp3", "8000x4"},
        {"layer2.mp2", "48000x4"}, {"format-change.mp3", "8000x1 44100x2", false},
        {"flac44.flac", "44100x4"}, {"flac22m.flac", "22050x4"}, {"flac24-96.flac", "96000x3"},
        {"flac-ogg.oga", "16000x4"}, {"vorbis44.ogg", "44100x4"}, {"vorbis22m.oga", "22050x4"},
        {"vorbis48.ogg", "48000x4"}, {"opus44.opus", "48000x4"}, {"opus8m.opus", "48000x4"},
        {"wav16.wav", "44100x4"}, {"wav24.wav", "44100x4"}, {"wav32.wav", "44100x4"}, {"wav-float.wav", "48000x4"},
        {"wav8m.wav", "22050x4"}, {"vorbis-chain.ogg", "8000x1 44100x2", false},
        {"opus-chain.opus", "48000x1 48000x2", false},
        // 5.1, against sox's stereo mix of the reference decode.
        {"surround.flac", "44100x2"}, {"surround.ogg", "44100x2"}, {"surround.opus", "48000x2"},
        {"surround.wav", "44100x2"}, {"surround.m4a", "44100x2"}, {"surround.wv", "44100x2"},
        // AAC (HE-AAC at the rate it plays) without the encoder's priming and padding,
        // by an edit list or by iTunes's tag; ALAC, WMA, WavPack.
        {"aac44.m4a", "44100x4"}, {"aac22m.m4a", "22050x4"}, {"he-aac.m4a", "44100x4"}, {"itunes.m4a", "44100x4"},
        {"adts44.aac", "44100x4"}, {"wma44.wma", "44100x4"}, {"wma1-22m.wma", "22050x4"},
        {"alac44.m4a", "44100x4", true, -1, 0}, {"alac24-96.m4a", "96000x3", true, -1, 0},
        {"wv44.wv", "44100x4", true, -1, 0}, {"wv22m.wv", "22050x4", true, -1, 0},
        // Damaged: each plays what it holds.
        {"flac-cut.flac", "44100x4", false}, {"flac-lies.flac", "44100x4", false},
        {"vorbis-cut.ogg", "44100x7", false}, {"vorbis-lies.ogg", "44100x4", false},
        {"opus-cut.opus", "48000x3", false}, {"opus-lies.opus", "48000x4", false},
        {"wav-cut.wav", "44100x2", false}, {"wav-lies.wav", "44100x3", false},
        {"m4a-cut.m4a", "44100x7", false}, {"m4a-title-4gb.m4a", "44100x4", false}, {"m4a-moov-4gb.m4a", "44100x4", false},
        {"adts-cut.aac", "44100x23", false}, {"wma-cut.wma", "44100x7", false}, {"wv-cut.wv", "44100x5", false},
        {"wv-tag-4gb.wv", "44100x4", false}, {"wv-block-4gb.wv", "44100x4", false},
        // Jumps: MP3 with and without a seek table, and every other format. Opus settles
        // for a few milliseconds after a jump, so only its place is held to.
        {"cbr128.mp3", "44100x1", true, 3}, {"vbr-noxing.mp3", "44100x3", true, 3}, {"flac44.flac", "44100x1", true, 3},
        {"vorbis44.ogg", "44100x1", true, 3}, {"wav24.wav", "44100x1", true, 3}, {"opus44.opus", "48000x1", false, 3},
        {"alac44.m4a", "44100x1", true, 3, 0}, {"wv44.wv", "44100x1", true, 3, 0}, {"aac44.m4a", "44100x1", false, 3},
        {"he-aac.m4a", "44100x1", false, 3}, {"adts44.aac", "44100x1", false, 3}, {"wma44.wma", "44100x1", false, 3},
        // Files whose rate changes on the way (2 s is in the second part).
        {"vorbis-chain.ogg", "44100x1", false, 2}, {"format-change.mp3", "44100x1", false, 2},
    };
    SetEnvironmentVariableA("WUZZLE_CAPTURE_LOG", "decoded.log");
    std::map<std::string, double> seconds;  // of each file played from its start
    for (const auto& [file, streams, hasReference, seekTo, tolerance] : cases) {
        SCOPED_TRACE(file + (seekTo >= 0 ? " from " + std::to_string(seekTo) + " s" : ""));
        DeleteFileA("decoded.log");
        const std::string played = "decoded-" + file + ".raw";
        const std::string path = "audio\\" + file;
        ASSERT_TRUE(PlayToEnd(path.c_str(), TheCapture(played, seekTo >= 0), 60000, seekTo));
        TheCapture("", false);
        std::ifstream log("decoded.log");
        std::string opened;
        double first = 0, frames = 0, rate = 0;
        // A stream's line: when it started, its frames and rate, then any times it ran dry.
        for (std::string line; std::getline(log, line) && std::istringstream(line) >> first >> frames >> rate;) {
            opened = (seekTo < 0 ? opened : "") + std::to_string(int(rate)) + "x" +
                     std::to_string(std::lround(frames / rate)) + " ";
            if (seekTo < 0) seconds[file] += frames / rate;
        }
        EXPECT_EQ(opened, streams + " ");
        // A jump lands within 20 ms of where that time plays from the start.
        if (seekTo >= 0) EXPECT_NEAR(frames / rate, seconds.at(file) - seekTo, 0.02);
        if (!hasReference) continue;
        auto decoded = ReadSamples(played);
        auto reference = ReadSamples(path + ".raw");
        ASSERT_FALSE(reference.empty());
        if (seekTo >= 0) {
            // The last stream, against the reference from the place on.
            const size_t skipped = static_cast<size_t>(seekTo * rate);
            const size_t channels = reference.size() / (skipped + static_cast<size_t>(frames));
            reference.erase(reference.begin(), reference.begin() + skipped * channels);
            decoded.erase(decoded.begin(), decoded.end() - std::min(decoded.size(), reference.size()));
        }
        EXPECT_TRUE(MatchesReference(reference, decoded, tolerance));
    }
    SetEnvironmentVariableA("WUZZLE_CAPTURE_LOG", nullptr);
}

}  // namespace
