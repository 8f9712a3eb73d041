#include "mpeg_file.h"

#include <cstdio>
#include <cstdlib>

#include "ansi_text.h"
#include "track_numbers.h"

namespace {

constexpr int kFramesToCheck = 3;
constexpr size_t kId3v1Bytes = 128;

bool HasText(const mpg123_string* text) {
    return text != nullptr && text->fill > 1;
}

}  // namespace

bool MpegFile::Open(const char* path) {
    Release();
    if (!file.Open(path)) return false;
    decoder = mpg123_new(nullptr, nullptr);
    if (decoder != nullptr && Prepare()) return true;
    Release();
    return false;
}

void MpegFile::Release() {
    if (decoder != nullptr) mpg123_delete(decoder);
    decoder = nullptr;
    file.Close();
}

bool MpegFile::Prepare() {
    mpg123_param(decoder, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
    mpg123_format_none(decoder);
    const long* rates;
    size_t rateCount;
    mpg123_rates(&rates, &rateCount);
    for (size_t i = 0; i < rateCount; ++i) {
        mpg123_format(decoder, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    }
    // libmpg123 reads through our file, so the path never has to be UTF-8.
    if (mpg123_replace_reader_handle(decoder, &BufferedFile::Read, &BufferedFile::Seek, nullptr) != MPG123_OK ||
        mpg123_open_handle(decoder, &file) != MPG123_OK) {
        return false;
    }
    long rate;
    int encoding;
    if (mpg123_getformat(decoder, &rate, &channels, &encoding) != MPG123_OK) return false;
    sampleRate = static_cast<int>(rate);
    firstFrameOffset = mpg123_framepos(decoder);
    if (!DecodesFirstFrame()) return false;
    // Without a frame count from a Xing/Info header the length is a guess from the
    // file size; a scan makes it exact. libmpg123 does not say whether it found the
    // count, but it does say whether it found the LAME extension that comes with it;
    // a bare Xing header is scanned too, which costs time, not exactness.
    long encoderDelay = -1;
    mpg123_getstate(decoder, MPG123_ENC_DELAY, &encoderDelay, nullptr);
    return encoderDelay >= 0 || mpg123_scan(decoder) == MPG123_OK;
}

bool MpegFile::DecodesFirstFrame() {
    for (int attempt = 0; attempt < kFramesToCheck; ++attempt) {
        unsigned char* audio;
        size_t bytes;
        const int result = DecodeFrame(audio, bytes);
        if (result == MPG123_OK) return true;
        if (result != MPG123_NEW_FORMAT) return false;
    }
    return false;
}

void MpegFile::Describe(TrackInfo& info) {
    DescribeTags(info);
    info.reserved = 0;
    info.bitrate = Bitrate();
    info.sampleRate = sampleRate;
    info.length = WholeSeconds(mpg123_length(decoder), sampleRate);
}

// Each of title and artist from ID3v2 when it has one, else from ID3v1.
void MpegFile::DescribeTags(TrackInfo& info) {
    info.title[0] = '\0';
    info.artist[0] = '\0';
    mpg123_id3v1* v1 = nullptr;
    mpg123_id3v2* v2 = nullptr;
    if ((mpg123_meta_check(decoder) & MPG123_ID3) == 0 || mpg123_id3(decoder, &v1, &v2) != MPG123_OK) return;
    if (v2 != nullptr && HasText(v2->title)) {
        CopyUtf8Text({v2->title->p, v2->title->fill - 1}, info.title, sizeof(info.title));
    } else if (v1 != nullptr) {
        CopyId3v1Text(v1->title, sizeof(v1->title), info.title, sizeof(info.title));
    }
    if (v2 != nullptr && HasText(v2->artist)) {
        CopyUtf8Text({v2->artist->p, v2->artist->fill - 1}, info.artist, sizeof(info.artist));
    } else if (v1 != nullptr) {
        CopyId3v1Text(v1->artist, sizeof(v1->artist), info.artist, sizeof(info.artist));
    }
}

// A CBR stream shows its frames' rate. Averaged over a short file, the header frame
// and the padding pull the figure below it (a second at 64 kbit/s averages 62). A
// VBR stream, and one whose frames disagree with their average, shows the average.
int MpegFile::Bitrate() {
    const int average = AverageBitrate();
    mpg123_frameinfo frame;
    if (mpg123_info(decoder, &frame) != MPG123_OK || frame.vbr != MPG123_CBR) return average;
    return std::abs(average - frame.bitrate) * 20 <= frame.bitrate ? frame.bitrate : average;
}

// The audio bytes over the audio frames. Tags before and after the frames are not
// audio.
int MpegFile::AverageBitrate() {
    mpg123_id3v1* v1 = nullptr;
    mpg123_id3v2* v2 = nullptr;
    mpg123_id3(decoder, &v1, &v2);
    const int64_t audioBytes = file.Size() - firstFrameOffset - (v1 != nullptr ? kId3v1Bytes : 0);
    return AverageKbps(audioBytes, mpg123_framelength(decoder), mpg123_spf(decoder), sampleRate);
}

bool MpegFile::Rewind() {
    return mpg123_seek(decoder, 0, SEEK_SET) >= 0;
}

int MpegFile::DecodeFrame(unsigned char*& audio, size_t& bytes) {
    off_t frame;
    audio = nullptr;
    bytes = 0;
    return mpg123_decode_frame(decoder, &frame, &audio, &bytes);
}
