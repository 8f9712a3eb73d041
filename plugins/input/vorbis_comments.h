// The title, artist and lyrics among Vorbis comments ("FIELD=value", the field's name
// in any case), as FLAC, Vorbis and Opus files carry them. Platform-free.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

struct CommentTexts {
    std::string title, artist;  // UTF-8; empty when there is none
    // LYRICS and UNSYNCEDLYRICS, UTF-8, cut at what the program takes of lyrics.
    std::string lyrics, unsyncedLyrics;

    // Takes one comment of `bytes` bytes: the first of each field counts.
    void Take(std::string_view comment);

    // LYRICS, or else UNSYNCEDLYRICS: both names are in use for the same text, timed or not.
    const std::string& Lyrics() const { return lyrics.empty() ? unsyncedLyrics : lyrics; }

    // Every comment of a comment header: libvorbis's vorbis_comment and opusfile's
    // OpusTags hold them in the same fields.
    template <typename Header>
    void TakeAll(const Header& header) {
        for (int i = 0; i < header.comments; ++i) {
            if (header.user_comments[i] != nullptr && header.comment_lengths[i] >= 0) {
                Take(std::string_view(header.user_comments[i], header.comment_lengths[i]));
            }
        }
    }
};
