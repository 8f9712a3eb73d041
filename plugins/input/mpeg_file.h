// One MPEG audio file opened for decoding: its tags read by us, and libmpg123 reading
// the audio through the file we opened on the ANSI path.
#pragma once

#include <mpg123.h>

#include <cstdint>
#include <string>
#include <vector>

#include "decoder.h"
#include "id3v2_tag.h"

class MpegFile final : public Decoder {
public:
    explicit MpegFile(BufferedFile& file) : file(file) {}
    ~MpegFile() override;
    MpegFile(const MpegFile&) = delete;
    MpegFile& operator=(const MpegFile&) = delete;

    // Checks the file: MPEG audio must follow its tags (HoldsMpegAudio), the format
    // must be known and the first frames must decode.
    bool Open();

    void Describe(TrackInfo& info) override;
    int SampleRate() override;
    int Channels() override;
    Decoded Decode(const unsigned char*& audio, size_t& bytes) override;
    bool SeekToSample(int64_t frame) override;
    bool SeekToSeconds(int seconds, int openRate) override;
    std::string Lyrics() override;

private:
    // Where the rate changes: from this frame of the file on, counted as libmpg123
    // counts them, at this time.
    struct RateChange {
        int64_t frame;
        double seconds;
        int rate, samplesPerFrame;
    };

    void ReadTags();
    // The ID3v2 tag at the start of the file, its body (as much as we keep) into `body`.
    std::optional<Id3v2Header> ReadId3v2(std::string& body);
    bool HoldsAudio();
    bool Rewind() { return SeekToSample(0); }
    // One frame of 16-bit PCM; the libmpg123 result code.
    int DecodeFrame(unsigned char*& audio, size_t& bytes);
    int64_t AudioStart(int64_t claimedEnd, int64_t framesEnd);
    bool AudioAt(int64_t offset);
    bool InfoFrameHolds();
    bool Prepare(bool countsHold);
    bool DecodesFirstFrame();
    bool CountFrames();
    int Bitrate();

    BufferedFile& file;
    mpg123_handle* decoder = nullptr;
    int sampleRate = 0;
    int channels = 0;
    int64_t fileBytes = 0;
    int64_t audioStart = 0;     // where the audio starts, after any ID3v2 tag
    int64_t audioBytes = 0;     // from there to the end, without an ID3v1 tag
    std::string title, artist;  // UTF-8, from ID3v2
    char v1Title[30] = {}, v1Artist[30] = {};
    // From counting the frames, when the Info frame's counts cannot be believed.
    bool counted = false;
    double countedSeconds = 0;
    int64_t countedBytes = 0;
    std::vector<RateChange> rateChanges;  // from counting; the first is the start
    int64_t skipSamples = 0;              // of the next audio, to land inside a frame
};
