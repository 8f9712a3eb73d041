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
};
