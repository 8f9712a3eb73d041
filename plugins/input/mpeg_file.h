// One MPEG audio file opened for decoding: the file we opened on the ANSI path, its
// tags read by us, and libmpg123 reading the audio through it.
#pragma once

#include <mpg123.h>
#include <windows.h>

#include <cstdint>
#include <string>

#include "buffered_file.h"
#include "plugin_interface.h"

class MpegFile {
public:
    MpegFile() = default;
    ~MpegFile() { Release(); }
    MpegFile(const MpegFile&) = delete;
    MpegFile& operator=(const MpegFile&) = delete;

    // Opens and checks the file: the format must be known and the first frames must
    // decode. On failure nothing stays open.
    bool Open(const char* path);
    void Release();
    bool IsOpen() const { return decoder != nullptr; }

    void Describe(TrackInfo& info);
    int SampleRate() const { return sampleRate; }
    int Channels() const { return channels; }
    // The format of what DecodeFrame gives from its last MPG123_NEW_FORMAT on.
    bool CurrentFormat(int& rate, int& channelCount);

    bool Rewind();
    // One frame of 16-bit PCM; the libmpg123 result code.
    int DecodeFrame(unsigned char*& audio, size_t& bytes);

private:
    void ReadTags();
    int64_t AudioStart(int64_t claimedEnd, int64_t framesEnd);
    bool AudioAt(int64_t offset);
    bool InfoFrameHolds();
    bool Prepare(bool countsHold);
    bool DecodesFirstFrame();
    bool CountFrames();
    int Bitrate();

    BufferedFile file;
    mpg123_handle* decoder = nullptr;
    int sampleRate = 0;
    int channels = 0;
    int64_t fileBytes = 0;
    int64_t audioStart = 0;  // where the audio starts, after any ID3v2 tag
    int64_t audioBytes = 0;  // from there to the end, without an ID3v1 tag
    std::string title, artist;  // UTF-8, from ID3v2
    char v1Title[30] = {}, v1Artist[30] = {};
    // From counting the frames, when the Info frame's counts cannot be believed.
    bool counted = false;
    double countedSeconds = 0;
    int64_t countedBytes = 0;
};
