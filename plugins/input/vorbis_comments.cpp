#include "vorbis_comments.h"

#include <algorithm>

#include "plugin_interface.h"

namespace {

bool NameIs(std::string_view comment, std::string_view name) {
    if (comment.size() <= name.size() || comment[name.size()] != '=') return false;
    return std::equal(name.begin(), name.end(), comment.begin(), [](char wanted, char c) {
        return wanted == ((c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c);
    });
}

}  // namespace

void CommentTexts::Take(std::string_view comment) {
    using Field = std::pair<std::string_view, std::string*>;
    for (auto [name, field] : {Field{"TITLE", &title}, Field{"ARTIST", &artist}, Field{"LYRICS", &lyrics},
                               Field{"UNSYNCEDLYRICS", &unsyncedLyrics}}) {
        if (field->empty() && NameIs(comment, name)) *field = comment.substr(name.size() + 1, kLyricsBytesMost);
    }
}
