#include "vorbis_comments.h"

#include <algorithm>

namespace {

bool NameIs(std::string_view comment, std::string_view name) {
    if (comment.size() <= name.size() || comment[name.size()] != '=') return false;
    return std::equal(name.begin(), name.end(), comment.begin(), [](char wanted, char c) {
        return wanted == ((c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c);
    });
}

}  // namespace

void CommentTexts::Take(std::string_view comment) {
    for (auto [name, field] :
         {std::pair{std::string_view("TITLE"), &title}, std::pair{std::string_view("ARTIST"), &artist}}) {
        if (field->empty() && NameIs(comment, name)) *field = std::string(comment.substr(name.size() + 1));
    }
}
