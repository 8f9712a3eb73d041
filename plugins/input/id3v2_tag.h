// Title, artist and lyrics from an ID3v2 tag (versions 2.2 to 2.4), read from the
// tag's bytes in one pass over its frames. Platform-free: the caller reads the bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "plugin_interface.h"

constexpr size_t kId3v2HeaderBytes = 10;

struct Id3v2Header {
    int version = 0;  // 2, 3 or 4
    uint8_t flags = 0;
    uint32_t bodyBytes = 0;  // as claimed: the bytes after the header, without a footer

    // Where the tag claims to end, counted from its start.
    int64_t ClaimedEnd() const;
};

// The header at the start of `bytes`; nothing when there is no ID3v2 tag there.
std::optional<Id3v2Header> ParseId3v2Header(std::string_view bytes);

struct Id3v2Texts {
    std::string title;   // UTF-8; empty when the tag has none
    std::string artist;  // UTF-8; empty when the tag has none
    // Where the last whole frame ends in the stored body: what follows is padding,
    // or the audio when the claimed size is wrong.
    size_t framesEnd = 0;
};

// `body`: the stored bytes after the header, as many as the file holds of what the
// header claims. Time is linear in its size; frames other than the title and artist
// are stepped over unread.
Id3v2Texts ReadId3v2Texts(const Id3v2Header& header, std::string_view body);

// The UTF-8 text of a text frame's data (its encoding byte first), up to its first
// terminator: Latin-1, UTF-16 after a byte-order mark (big-endian without one),
// UTF-16 big-endian, or UTF-8. Nothing for an unknown encoding.
std::string TextFrameUtf8(std::string_view data);

// The lyrics of a tag as the text of an LRC file in UTF-8: its first SYLT frame of
// lyrics, each line at its time, or else its first USLT frame's text as it stands
// (which has times only when its writer put LRC times in it). `msPerFrame`: the length
// of an MPEG frame, for a SYLT frame that counts in frames (0: such a frame is left out).
std::string Id3v2Lyrics(const Id3v2Header& header, std::string_view body, double msPerFrame);

// A SYLT frame's content as LRC lines. Syllables timed one by one, the first of each
// line marked by a line break before it, make a line at the first one's time. Nothing
// when it holds no lyrics or its times cannot be read.
std::string SyltLrc(std::string_view content, double msPerFrame);

// A USLT frame's text, without its language and description.
std::string UsltText(std::string_view content);
