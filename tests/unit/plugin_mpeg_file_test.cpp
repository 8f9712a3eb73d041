// The MPEG reader through libmpg123 over bytes made as they are read: a stream longer
// than 2^31 samples, where offsets held in 32 bits wrap. Run as 32-bit code too.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "../../plugins/input/mpeg_file.h"
#include "../../plugins/input/mpeg_frames.h"

// The plug-in spells tags in the system's code page; here they pass as they are.
void CopyUtf8Text(std::string_view utf8, char* field, size_t capacity) {
    snprintf(field, capacity, "%.*s", static_cast<int>(utf8.size()), utf8.data());
}
void CopyId3v1Text(const char* raw, size_t size, char* field, size_t capacity) {
    CopyUtf8Text(std::string_view(raw, strnlen(raw, size)), field, capacity);
}

namespace {

// MPEG-1 layer III, 32 kbit/s, 44.1 kHz, mono: 104 bytes and 1,152 samples a frame.
constexpr int64_t kFrameBytes = 104;
constexpr int64_t kFrameSamples = 1152;
constexpr int kRate = 44100;

std::string Be(uint32_t n) {
    return {char(n >> 24), char(n >> 16), char(n >> 8), char(n)};
}

// One silent frame repeated `frames` times after an Info frame that counts them, as
// LAME writes it: frame and byte counts, then a LAME tag whose checksum holds.
class RepeatedFrames final : public ByteSource {
public:
    explicit RepeatedFrames(int64_t frames) : frames(frames) {
        const std::string header = "\xFF\xFB\x10\xC0";
        audio = header + std::string(kFrameBytes - 4, '\0');
        info = header + std::string(17, '\0') + "Info" + Be(3) + Be(static_cast<uint32_t>(frames)) +
               Be(static_cast<uint32_t>(Size())) + std::string(34, '\0');
        info += Be(LameTagCrc(info)).substr(2);
        info.resize(kFrameBytes, '\0');
    }
    int64_t Size() const override { return (frames + 1) * kFrameBytes; }
    int64_t ReadAt(int64_t offset, void* out, size_t bytes) override {
        const int64_t end = std::min<int64_t>(offset + static_cast<int64_t>(bytes), Size());
        char* to = static_cast<char*>(out);
        for (int64_t at = offset; at < end;) {
            const std::string& frame = at < kFrameBytes ? info : audio;
            const int64_t inFrame = at % kFrameBytes;
            const int64_t part = std::min(kFrameBytes - inFrame, end - at);
            memcpy(to, frame.data() + inFrame, static_cast<size_t>(part));
            to += part;
            at += part;
        }
        return std::max<int64_t>(end - offset, 0);
    }

private:
    int64_t frames;
    std::string info, audio;
};

// Fifteen hours: past 2^31 samples (13.5 hours) at 44.1 kHz.
TEST(MpegFile, LengthAndJumpsPastTwoToTheThirtyFirstSamplesDoNotWrap) {
    const int64_t frames = 15 * 3600LL * kRate / kFrameSamples + 1;
    BufferedFile file;
    file.Open(std::make_unique<RepeatedFrames>(frames));
    MpegFile mpeg(file);
    ASSERT_TRUE(mpeg.Open());
    TrackInfo info{};
    mpeg.Describe(info);
    EXPECT_EQ(info.length, 15 * 3600);
    EXPECT_EQ(info.sampleRate, kRate);

    const int64_t target = 14 * 3600LL * kRate;
    ASSERT_TRUE(mpeg.SeekToSample(target));
    const unsigned char* pcm;
    size_t bytes;
    ASSERT_EQ(mpeg.Decode(pcm, bytes), Decoded::Audio);
    // The frame decoded holds the target: the reader stands at its end, the Info frame
    // and the frames before it behind.
    const int64_t frameEnd = (1 + target / kFrameSamples + 1) * kFrameBytes;
    EXPECT_LE(std::llabs(file.Position() - frameEnd), kFrameBytes) << file.Position() - frameEnd;
}

}  // namespace
