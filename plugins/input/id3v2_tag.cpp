#include "id3v2_tag.h"

#include <algorithm>

#include "big_endian.h"
#include "byte_slice.h"
#include "unicode_text.h"

namespace {

// A field holds at most 127 bytes; this much of a frame's text always fills one.
constexpr size_t kTextBytesRead = 4096;

constexpr uint8_t kUnsynchronised = 0x80;
constexpr uint8_t kExtendedHeader = 0x40;  // in version 2.2: the tag is compressed
constexpr uint8_t kFooter = 0x10;

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
    if (data.empty()) return {};
    const uint8_t encoding = ByteAt(data, 0);
    std::string_view text = data.substr(1);
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

Id3v2Texts ReadId3v2Texts(const Id3v2Header& header, std::string_view body) {
    Id3v2Texts texts;
    // A compressed 2.2 tag has no frames we can read.
    if (header.version == 2 && (header.flags & kExtendedHeader)) return texts;
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
    const std::string_view titleId = header.version == 2 ? "TT2" : "TIT2";
    const std::string_view artistId = header.version == 2 ? "TP1" : "TPE1";
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
        std::string* text = id == titleId ? &texts.title : id == artistId ? &texts.artist : nullptr;
        if (text != nullptr && text->empty()) {
            const uint8_t format = header.version == 2 ? 0 : ByteAt(frame, 9);
            const auto content = FrameContent(header.version, format, header.flags & kUnsynchronised,
                                              ByteSlice(frame, headerBytes, std::min<uint64_t>(size, kTextBytesRead)));
            if (content) *text = TextFrameUtf8(*content);
        }
        at += headerBytes + size;
    }
    // Within the frames, whose size is that of a buffer.
    const size_t end = static_cast<size_t>(at);
    texts.framesEnd = wholeTagUnsynchronised ? StoredOffset(body, end) : end;
    return texts;
}
