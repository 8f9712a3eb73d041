#include "tag_text.h"

#include <algorithm>

std::optional<std::string> Latin1Bytes(std::string_view utf8) {
    std::string bytes;
    bool high = false;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            bytes += static_cast<char>(lead);
            continue;
        }
        // U+0080..U+00FF is C2 or C3 followed by one continuation byte.
        if ((lead != 0xC2 && lead != 0xC3) || i + 1 == utf8.size()) return std::nullopt;
        const auto next = static_cast<unsigned char>(utf8[++i]);
        if ((next & 0xC0) != 0x80) return std::nullopt;
        bytes += static_cast<char>(((lead & 0x03) << 6) | (next & 0x3F));
        high = true;
    }
    if (!high) return std::nullopt;
    return bytes;
}

std::string_view Id3v1Text(const char* field, size_t size) {
    std::string_view text(field, std::find(field, field + size, '\0') - field);
    const size_t end = text.find_last_not_of(' ');
    return text.substr(0, end == std::string_view::npos ? 0 : end + 1);
}
