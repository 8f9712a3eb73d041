// The readers of FLAC, Ogg, WAVE and WavPack headers, trailing tags, Vorbis comments,
// and MPEG and ADTS frame runs on any bytes: as a file's start, as its tail, and as a
// whole WAVE file.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "mpeg_frames.h"
#include "stream_probe.h"
#include "vorbis_comments.h"
#include "wav_header.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ProbeContainer(bytes);
    HoldsMpegAudio(bytes, true);
    if (const auto page = ParseOggPage(bytes, true)) {
        if (page->bytes > size || page->headerBytes > page->bytes) abort();
    }
    if (const auto serial = OggSerial(bytes)) {
        if (const auto end = OggEndGranule(bytes, *serial, 48000 * 60)) {
            if (end->believed > end->last) abort();
        }
    }
    if (const auto info = ParseFlacStreamInfo(bytes.substr(size > 8 ? 8 : size))) FlacEndSample(bytes, *info);
    WavPackEndSample(bytes);
    const int64_t tags = TrailingTagBytes(bytes, static_cast<int64_t>(size));
    if (tags < 0 || tags > static_cast<int64_t>(size)) abort();
    if (WalkAdts(bytes, size).bytes > static_cast<int64_t>(size)) abort();
    const auto layout = ReadWavLayout(
        [&](int64_t at, void* out, size_t wanted) {
            if (at < 0 || static_cast<uint64_t>(at) >= size) return size_t{0};
            const size_t got = std::min(wanted, size - static_cast<size_t>(at));
            memcpy(out, data + at, got);
            return got;
        },
        static_cast<int64_t>(size));
    if (layout && (layout->dataStart + layout->dataBytes > static_cast<int64_t>(size) ||
                   layout->dataBytes % layout->blockBytes != 0)) {
        abort();
    }
    CommentTexts texts;
    for (size_t at = 0; at < size;) {
        const size_t end = bytes.find('\n', at);
        texts.Take(bytes.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at));
        at = end == std::string_view::npos ? size : end + 1;
    }
    return 0;
}
