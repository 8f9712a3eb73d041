// The title and artist among Vorbis comments ("FIELD=value", the field's name in any
// case), as FLAC, Vorbis and Opus files carry them. Platform-free.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

struct CommentTexts {
    std::string title, artist;  // UTF-8; empty when there is none

    // Takes one comment of `bytes` bytes: the first TITLE and the first ARTIST count.
    void Take(std::string_view comment);

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
