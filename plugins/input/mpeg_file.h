// One MPEG audio file opened for decoding: the file we opened on the ANSI path, and
// libmpg123 reading through it.
#pragma once

#include <mpg123.h>
#include <windows.h>

#include <cstdint>

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

    bool Rewind();
    // One frame of 16-bit PCM; the libmpg123 result code.
    int DecodeFrame(unsigned char*& audio, size_t& bytes);

private:
    bool Prepare();
    bool DecodesFirstFrame();
    void DescribeTags(TrackInfo& info);
    int Bitrate();
    int AverageBitrate();

    BufferedFile file;
    mpg123_handle* decoder = nullptr;
    int sampleRate = 0;
    int channels = 0;
    int64_t firstFrameOffset = 0;
};
