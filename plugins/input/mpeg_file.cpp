#include "mpeg_file.h"

#include <algorithm>
#include <iterator>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ansi_text.h"
#include "id3v2_tag.h"
#include "mpeg_frames.h"
#include "track_numbers.h"

namespace {

constexpr int kFramesToCheck = 3;
constexpr int64_t kId3v1Bytes = 128;
// What we keep of an ID3v2 tag: its text frames come long before this, and the memory
// stays below the file's size however much its header claims.
constexpr int64_t kTagBytesKept = 16 << 20;
// Enough of the first frame for its Info header and LAME tag.
constexpr size_t kFirstFrameBytes = 2048;
// Where the first frames of the audio are looked for.
constexpr int64_t kAudioBytesChecked = 64 * 1024;

}  // namespace

std::unique_ptr<Decoder> OpenMpeg(BufferedFile& file) {
    auto mpeg = std::make_unique<MpegFile>(file);
    if (!mpeg->Open()) return nullptr;
    return mpeg;
}

MpegFile::~MpegFile() {
    if (decoder != nullptr) mpg123_delete(decoder);
}

bool MpegFile::Open() {
    ReadTags();
    if (!HoldsAudio()) return false;
    const bool countsHold = InfoFrameHolds();
    file.StartAt(audioStart);
    decoder = mpg123_new(nullptr, nullptr);
    return decoder != nullptr && Prepare(countsHold);
}

// libmpg123 finds chance frame syncs in any data (a program, a picture, zeros); what
// it may decode must look like MPEG audio from its first frames on.
bool MpegFile::HoldsAudio() {
    std::string audio(static_cast<size_t>(std::clamp<int64_t>(audioBytes, 0, kAudioBytesChecked)), '\0');
    audio.resize(file.ReadAt(audioStart, audio.data(), audio.size()));
    return HoldsMpegAudio(audio, static_cast<int64_t>(audio.size()) == audioBytes);
}

// The decoder never sees the ID3v2 tag: its own parsing of one takes time that grows
// with the square of the frame count, and memory as large as the header claims.
void MpegFile::ReadTags() {
    fileBytes = file.Size();
    audioStart = 0;
    title.clear();
    artist.clear();
    std::string body;
    if (const auto header = ReadId3v2(body)) {
        Id3v2Texts texts = ReadId3v2Texts(*header, body);
        title = std::move(texts.title);
        artist = std::move(texts.artist);
        audioStart = AudioStart(header->ClaimedEnd(), kId3v2HeaderBytes + texts.framesEnd);
    }
    char v1[kId3v1Bytes];
    const bool hasV1 = fileBytes - audioStart >= kId3v1Bytes &&
                       file.ReadAt(fileBytes - kId3v1Bytes, v1, sizeof(v1)) == sizeof(v1) && memcmp(v1, "TAG", 3) == 0;
    v1Title[0] = v1Artist[0] = '\0';
    if (hasV1) {
        memcpy(v1Title, v1 + 3, sizeof(v1Title));
        memcpy(v1Artist, v1 + 33, sizeof(v1Artist));
    }
    audioBytes = fileBytes - audioStart - (hasV1 ? kId3v1Bytes : 0);
}

std::optional<Id3v2Header> MpegFile::ReadId3v2(std::string& body) {
    std::string head(kId3v2HeaderBytes, '\0');
    head.resize(file.ReadAt(0, head.data(), head.size()));
    const auto header = ParseId3v2Header(head);
    if (!header) return std::nullopt;
    const int64_t kept =
        std::min({int64_t{header->bodyBytes}, file.Size() - int64_t{kId3v2HeaderBytes}, kTagBytesKept});
    body.assign(static_cast<size_t>(std::max<int64_t>(kept, 0)), '\0');
    body.resize(file.ReadAt(kId3v2HeaderBytes, body.data(), body.size()));
    return header;
}

// Read again when asked for, not kept from Open: few opened files are asked.
std::string MpegFile::Lyrics() {
    std::string body;
    const auto header = ReadId3v2(body);
    if (!header) return {};
    char bytes[4];
    const auto first = file.ReadAt(audioStart, bytes, sizeof(bytes)) == sizeof(bytes)
                           ? ParseFrameHeader(std::string_view(bytes, sizeof(bytes)))
                           : std::nullopt;
    const double msPerFrame = first ? 1000.0 * first->samples / first->sampleRate : 0;
    return Id3v2Lyrics(*header, body, msPerFrame);
}

// Where the tag claims to end, when audio follows there. Otherwise its size is wrong,
// and the audio is looked for where a decoder would look: after the tag's last whole
// frame and the padding behind it.
int64_t MpegFile::AudioStart(int64_t claimedEnd, int64_t framesEnd) {
    if (claimedEnd <= fileBytes && AudioAt(claimedEnd)) return claimedEnd;
    const int64_t limit = std::min(claimedEnd, fileBytes);
    int64_t at = framesEnd;
    char chunk[4096];
    while (at < limit) {
        const size_t got = file.ReadAt(at, chunk, static_cast<size_t>(std::min<int64_t>(sizeof(chunk), limit - at)));
        const size_t zeros = std::find_if(chunk, chunk + got, [](char c) { return c != '\0'; }) - chunk;
        at += zeros;
        if (got == 0 || zeros < got) break;
    }
    if (AudioAt(at)) return at;
    return claimedEnd <= fileBytes ? claimedEnd : at;
}

// A frame header or another tag.
bool MpegFile::AudioAt(int64_t offset) {
    char bytes[4];
    if (file.ReadAt(offset, bytes, sizeof(bytes)) != sizeof(bytes)) return false;
    const std::string_view start(bytes, sizeof(bytes));
    return start.substr(0, 3) == "ID3" || ParseFrameHeader(start).has_value();
}

bool MpegFile::InfoFrameHolds() {
    std::string frame(kFirstFrameBytes, '\0');
    frame.resize(file.ReadAt(audioStart, frame.data(), frame.size()));
    const auto header = ParseFrameHeader(frame);
    const auto info = ParseInfoFrame(frame);
    return header && info && InfoCountsHold(*info, *header, fileBytes, audioBytes);
}

bool MpegFile::Prepare(bool countsHold) {
    // Counts we cannot believe must not cut the decoding short either.
    mpg123_param(decoder, MPG123_ADD_FLAGS,
                 MPG123_QUIET | MPG123_SKIP_ID3V2 | (countsHold ? 0 : MPG123_IGNORE_STREAMLENGTH), 0);
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
    if (!DecodesFirstFrame()) return false;
    counted = !countsHold;
    return countsHold || CountFrames();
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

// Each frame at its own rate: the length and bit rate of what the file holds, whatever
// its headers claim, and even when its format changes on the way.
bool MpegFile::CountFrames() {
    countedSeconds = 0;
    countedBytes = 0;
    rateChanges.clear();
    // Seeking to the start reads the first frame; the others come one by one.
    if (!Rewind()) return false;
    int result = MPG123_OK;
    do {
        mpg123_frameinfo frame;
        if (mpg123_info(decoder, &frame) != MPG123_OK || frame.rate <= 0) continue;
        const int spf = mpg123_spf(decoder);
        if (rateChanges.empty() || rateChanges.back().rate != frame.rate) {
            rateChanges.push_back({mpg123_tellframe(decoder), countedSeconds, static_cast<int>(frame.rate), spf});
        }
        countedSeconds += static_cast<double>(spf) / frame.rate;
        countedBytes += frame.framesize;
    } while ((result = mpg123_framebyframe_next(decoder)) == MPG123_OK || result == MPG123_NEW_FORMAT);
    return Rewind();
}

void MpegFile::Describe(TrackInfo& info) {
    // Each of title and artist from ID3v2 when it has one, else from ID3v1.
    if (!title.empty()) {
        CopyUtf8Text(title, info.title, sizeof(info.title));
    } else {
        CopyId3v1Text(v1Title, sizeof(v1Title), info.title, sizeof(info.title));
    }
    if (!artist.empty()) {
        CopyUtf8Text(artist, info.artist, sizeof(info.artist));
    } else {
        CopyId3v1Text(v1Artist, sizeof(v1Artist), info.artist, sizeof(info.artist));
    }
    info.reserved = 0;
    info.bitrate = Bitrate();
    info.sampleRate = sampleRate;
    info.length = counted ? static_cast<int>(countedSeconds) : WholeSeconds(mpg123_length(decoder), sampleRate);
}

// A CBR stream shows its frames' rate. Averaged over a short file, the header frame
// and the padding pull the figure below it (a second at 64 kbit/s averages 62). A
// VBR stream, and one whose frames disagree with their average, shows the average.
int MpegFile::Bitrate() {
    const int average = counted ? AverageKbps(countedBytes, countedSeconds)
                                : AverageKbps(audioBytes, static_cast<double>(mpg123_framelength(decoder)) *
                                                              mpg123_spf(decoder) / sampleRate);
    mpg123_frameinfo frame;
    if (mpg123_info(decoder, &frame) != MPG123_OK || frame.vbr != MPG123_CBR) return average;
    return std::abs(average - frame.bitrate) * 20 <= frame.bitrate ? frame.bitrate : average;
}

int MpegFile::SampleRate() {
    long rate;
    int channelCount, encoding;
    return mpg123_getformat(decoder, &rate, &channelCount, &encoding) == MPG123_OK ? static_cast<int>(rate)
                                                                                   : sampleRate;
}

int MpegFile::Channels() {
    long rate;
    int channelCount, encoding;
    return mpg123_getformat(decoder, &rate, &channelCount, &encoding) == MPG123_OK ? channelCount : channels;
}

// Sample-accurate: libmpg123 keeps an index of the frames it has passed and decodes
// from the frame before the target.
bool MpegFile::SeekToSample(int64_t frame) {
    skipSamples = 0;
    return mpg123_seek(decoder, static_cast<off_t>(frame), SEEK_SET) >= 0;
}

// libmpg123 counts samples at the rate of the frame it is in, so a file whose rate
// changes is sought by its frames instead: to the frame that holds the time, then
// past the samples before it in that frame.
bool MpegFile::SeekToSeconds(int seconds, int openRate) {
    if (rateChanges.size() <= 1) return Decoder::SeekToSeconds(seconds, openRate);
    const auto part = std::prev(std::upper_bound(rateChanges.begin() + 1, rateChanges.end(), double(seconds),
                                                 [](double at, const RateChange& change) { return at < change.seconds; }));
    const auto into = static_cast<int64_t>((seconds - part->seconds) * part->rate + 0.5);
    const int64_t frames = into / part->samplesPerFrame;
    if (seconds >= countedSeconds || mpg123_seek_frame(decoder, static_cast<off_t>(part->frame + frames), SEEK_SET) < 0) {
        return false;
    }
    skipSamples = into - frames * part->samplesPerFrame;
    return true;
}

Decoded MpegFile::Decode(const unsigned char*& audio, size_t& bytes) {
    unsigned char* pcm;
    const int result = DecodeFrame(pcm, bytes);
    audio = pcm;
    if (result == MPG123_NEW_FORMAT) return Decoded::NewFormat;
    if (result != MPG123_OK) return Decoded::End;
    const size_t frameBytes = sizeof(int16_t) * static_cast<size_t>(std::max(Channels(), 1));
    const size_t skipped = static_cast<size_t>(std::min<int64_t>(skipSamples, static_cast<int64_t>(bytes / frameBytes)));
    skipSamples -= static_cast<int64_t>(skipped);
    audio += skipped * frameBytes;
    bytes -= skipped * frameBytes;
    return Decoded::Audio;
}

int MpegFile::DecodeFrame(unsigned char*& audio, size_t& bytes) {
    off_t frame;
    audio = nullptr;
    bytes = 0;
    return mpg123_decode_frame(decoder, &frame, &audio, &bytes);
}
