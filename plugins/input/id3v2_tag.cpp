#include "id3v2_tag.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "big_endian.h"
#include "byte_slice.h"
#include "unicode_text.h"

namespace {

// A field holds at most 127 bytes; this much of a frame's text always fills one.
constexpr size_t kTextBytesRead = 4096;

constexpr uint8_t kUnsynchronised = 0x80;
constexpr uint8_t kExtendedHeader = 0x40;  // in version 2.2: the tag is compressed
constexpr uint8_t kFooter = 0x10;

// What a SYLT frame's texts are: other, lyrics or a transcription are sung; events,
// chords and the rest are not.
constexpr uint8_t kSyltTranscription = 2;

// Frame format flags, the second flag byte.
constexpr uint8_t kV3Compressed = 0x80, kV3Encrypted = 0x40, kV3Grouped = 0x20;
constexpr uint8_t kV4Grouped = 0x40, kV4Compressed = 0x08, kV4Encrypted = 0x04, kV4Unsynchronised = 0x02,
                  kV4DataLength = 0x01;

bool IsSyncsafe(std::string_view bytes, size_t at) {
    for (int i = 0; i < 4; ++i) {
        if (ByteAt(bytes, at + i) & 0x80) return false;
    }
    return true;
}

uint32_t Syncsafe(std::string_view bytes, size_t at) {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value = value << 7 | (ByteAt(bytes, at + i) & 0x7F);
    return value;
}

// Undoes unsynchronisation: every FF 00 was an FF.
std::string Resynchronised(std::string_view stored) {
    std::string bytes;
    bytes.reserve(stored.size());
    for (size_t i = 0; i < stored.size(); ++i) {
        bytes += stored[i];
        if (ByteAt(stored, i) == 0xFF && i + 1 < stored.size() && stored[i + 1] == '\0') ++i;
    }
    return bytes;
}

// The offset in `stored` of byte `offset` of its resynchronised form.
size_t StoredOffset(std::string_view stored, size_t offset) {
    size_t i = 0;
    for (size_t out = 0; out < offset && i < stored.size(); ++out, ++i) {
        if (ByteAt(stored, i) == 0xFF && i + 1 < stored.size() && stored[i + 1] == '\0') ++i;
    }
    return i;
}

bool IsFrameIdChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// The bytes of a frame's content: grouping and length prefixes stepped over,
// unsynchronisation undone. Nothing for a compressed or encrypted frame.
std::optional<std::string> FrameContent(int version, uint8_t format, bool tagUnsynchronised,
                                        std::string_view data) {
    size_t skip = 0;
    bool unsynchronised = false;
    if (version == 3) {
        if (format & (kV3Compressed | kV3Encrypted)) return std::nullopt;
        skip = format & kV3Grouped ? 1 : 0;
    } else if (version == 4) {
        if (format & (kV4Compressed | kV4Encrypted)) return std::nullopt;
        skip = (format & kV4Grouped ? 1 : 0) + (format & kV4DataLength ? 4 : 0);
        unsynchronised = tagUnsynchronised || (format & kV4Unsynchronised) != 0;
    }
    if (skip > data.size()) return std::nullopt;
    data.remove_prefix(skip);
    return unsynchronised ? Resynchronised(data) : std::string(data);
}


// Walks the frames of the tag, handing `visit` each frame's id (three letters in 2.2,
// four later) and a reader of its content that takes at most a given number of bytes.
// Returns where the last whole frame ends in the stored body.
template <typename Visit>
size_t WalkFrames(const Id3v2Header& header, std::string_view body, Visit&& visit) {
    // A compressed 2.2 tag has no frames we can read.
    if (header.version == 2 && (header.flags & kExtendedHeader)) return 0;
    body = body.substr(0, header.bodyBytes);
    // Before 2.4, unsynchronisation covers the whole tag; in 2.4, each frame.
    const bool wholeTagUnsynchronised = header.version < 4 && (header.flags & kUnsynchronised);
    std::string resynchronised;
    std::string_view frames = body;
    if (wholeTagUnsynchronised) {
        resynchronised = Resynchronised(body);
        frames = resynchronised;
    }

    // Offsets and sizes in 64 bits: in 32, an extended header's size near 4 GiB
    // wraps to the tag's first bytes.
    uint64_t at = 0;
    if (header.version >= 3 && (header.flags & kExtendedHeader) && frames.size() >= 4) {
        // 2.3 counts the size bytes apart, 2.4 with them.
        at = header.version == 3 ? 4 + uint64_t{BigEndian(frames, 0, 4)} : Syncsafe(frames, 0);
        at = std::min<uint64_t>(at, frames.size());
    }
    const uint64_t idBytes = header.version == 2 ? 3 : 4;
    const uint64_t headerBytes = header.version == 2 ? 6 : 10;
    while (at + headerBytes <= frames.size()) {
        const std::string_view frame = ByteSlice(frames, at);
        const std::string_view id = frame.substr(0, idBytes);
        if (!std::all_of(id.begin(), id.end(), IsFrameIdChar)) break;  // padding, or the end of what is valid
        uint64_t size;
        if (header.version == 2) {
            size = BigEndian(frame, 3, 3);
        } else if (header.version == 3 || !IsSyncsafe(frame, 4)) {
            size = BigEndian(frame, 4, 4);  // some 2.4 writers store plain sizes
        } else {
            size = Syncsafe(frame, 4);
        }
        if (size > frame.size() - headerBytes) break;
        const uint8_t format = header.version == 2 ? 0 : ByteAt(frame, 9);
        visit(id, [&](uint64_t most) {
            return FrameContent(header.version, format, header.flags & kUnsynchronised,
                                ByteSlice(frame, headerBytes, std::min(size, most)));
        });
        at += headerBytes + size;
    }
    // Within the frames, whose size is that of a buffer.
    const size_t end = static_cast<size_t>(at);
    return wholeTagUnsynchronised ? StoredOffset(body, end) : end;
}

// Text in a frame's encoding as UTF-8, up to its first terminator.
std::string EncodedUtf8(uint8_t encoding, std::string_view text) {
    switch (encoding) {
        case 0: {
            std::string out;
            for (char c : text.substr(0, text.find('\0'))) AppendUtf8(out, static_cast<uint8_t>(c));
            return out;
        }
        case 1: {
            // Some writers repeat the mark; the last one holds.
            bool bigEndian = true;
            while (text.size() >= 2 && (text.substr(0, 2) == "\xFF\xFE" || text.substr(0, 2) == "\xFE\xFF")) {
                bigEndian = ByteAt(text, 0) == 0xFE;
                text.remove_prefix(2);
            }
            return Utf16ToUtf8(text, bigEndian);
        }
        case 2:
            return Utf16ToUtf8(text, true);
        case 3:
            return std::string(text.substr(0, text.find('\0')));
        default:
            return {};
    }
}

// The bytes of a text at the start of `data` with its terminator: one NUL, or in UTF-16
// two at an even place. Nothing when the text is not terminated.
std::optional<size_t> TerminatedBytes(uint8_t encoding, std::string_view data) {
    if (encoding == 1 || encoding == 2) {
        for (size_t i = 0; i + 1 < data.size(); i += 2) {
            if (data[i] == '\0' && data[i + 1] == '\0') return i + 2;
        }
        return std::nullopt;
    }
    const size_t end = data.find('\0');
    return end == std::string_view::npos ? std::nullopt : std::optional<size_t>(end + 1);
}

bool StartsLine(std::string_view text) {
    return !text.empty() && (text[0] == '\n' || text[0] == '\r');
}

// A syllable's or a line's text within one LRC line: the mark of a new line goes, any
// other line break becomes a space.
std::string OnOneLine(std::string_view text) {
    while (StartsLine(text)) text.remove_prefix(1);
    std::string line(text);
    std::replace_if(line.begin(), line.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    return line;
}

std::string LrcTime(int64_t ms) {
    char time[32];
    std::snprintf(time, sizeof(time), "[%02lld:%02lld.%03lld]", static_cast<long long>(ms / 60000),
                  static_cast<long long>(ms / 1000 % 60), static_cast<long long>(ms % 1000));
    return time;
}

}  // namespace

int64_t Id3v2Header::ClaimedEnd() const {
    return static_cast<int64_t>(kId3v2HeaderBytes) + bodyBytes + (version == 4 && (flags & kFooter) ? 10 : 0);
}

std::optional<Id3v2Header> ParseId3v2Header(std::string_view bytes) {
    if (bytes.size() < kId3v2HeaderBytes || bytes.substr(0, 3) != "ID3") return std::nullopt;
    const uint8_t version = ByteAt(bytes, 3);
    if (version < 2 || version > 4 || ByteAt(bytes, 4) == 0xFF || !IsSyncsafe(bytes, 6)) return std::nullopt;
    return Id3v2Header{version, ByteAt(bytes, 5), Syncsafe(bytes, 6)};
}

std::string TextFrameUtf8(std::string_view data) {
    return data.empty() ? std::string() : EncodedUtf8(ByteAt(data, 0), data.substr(1));
}

Id3v2Texts ReadId3v2Texts(const Id3v2Header& header, std::string_view body) {
    Id3v2Texts texts;
    const bool old = header.version == 2;
    texts.framesEnd = WalkFrames(header, body, [&](std::string_view id, const auto& content) {
        std::string* text = id == (old ? "TT2" : "TIT2")   ? &texts.title
                            : id == (old ? "TP1" : "TPE1") ? &texts.artist
                                                           : nullptr;
        if (text == nullptr || !text->empty()) return;
        if (const auto bytes = content(kTextBytesRead)) *text = TextFrameUtf8(*bytes);
    });
    return texts;
}

std::string SyltLrc(std::string_view content, double msPerFrame) {
    // The encoding, the language, how times count, what the texts are, a description.
    if (content.size() < 6) return {};
    const uint8_t encoding = ByteAt(content, 0), format = ByteAt(content, 4), type = ByteAt(content, 5);
    const double unitMs = format == 2 ? 1 : format == 1 ? msPerFrame : 0;
    if (encoding > 3 || !(unitMs > 0) || type > kSyltTranscription) return {};
    std::string_view entries = content.substr(6);
    const auto description = TerminatedBytes(encoding, entries);
    if (!description) return {};
    entries.remove_prefix(*description);
    // Each entry a terminated text and its time; a damaged one ends them.
    auto forEach = [&](auto&& take) {
        for (std::string_view rest = entries;;) {
            const auto text = TerminatedBytes(encoding, rest);
            if (!text || rest.size() - *text < 4) return;
            const auto ms = static_cast<int64_t>(std::llround(BigEndian(rest, *text, 4) * unitMs));
            if (!take(ms, EncodedUtf8(encoding, rest.substr(0, *text)))) return;
            rest.remove_prefix(*text + 4);
        }
    };
    // Writers that time each syllable mark the first of a line with a line break;
    // others time whole lines.
    bool syllables = false;
    forEach([&](int64_t, const std::string& text) { return !(syllables = StartsLine(text)); });
    std::string lrc;
    forEach([&](int64_t ms, const std::string& text) {
        if (!syllables || StartsLine(text) || lrc.empty()) {
            if (!lrc.empty()) lrc += '\n';
            lrc += LrcTime(ms);
        }
        lrc += OnOneLine(text);
        return lrc.size() < kLyricsBytesMost;
    });
    return lrc;
}

std::string UsltText(std::string_view content) {
    // The encoding, the language, a description, then the text.
    if (content.size() < 4) return {};
    const uint8_t encoding = ByteAt(content, 0);
    const auto description = TerminatedBytes(encoding, content.substr(4));
    return description ? EncodedUtf8(encoding, content.substr(4 + *description)) : std::string();
}

std::string Id3v2Lyrics(const Id3v2Header& header, std::string_view body, double msPerFrame) {
    const bool old = header.version == 2;
    std::string timed;
    std::optional<std::string> plain;
    WalkFrames(header, body, [&](std::string_view id, const auto& content) {
        if (timed.empty() && id == (old ? "SLT" : "SYLT")) {
            if (const auto bytes = content(UINT64_MAX)) timed = SyltLrc(*bytes, msPerFrame);
        } else if (!plain && id == (old ? "ULT" : "USLT")) {
            if (const auto bytes = content(UINT64_MAX)) plain = UsltText(*bytes);
        }
    });
    return !timed.empty() ? timed : plain.value_or(std::string());
}
