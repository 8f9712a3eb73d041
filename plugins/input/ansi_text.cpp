#include "ansi_text.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "ansi_code_page.h"
#include "tag_text.h"

namespace {

void CopyFitted(std::string_view text, char* field, size_t capacity) {
    const size_t length = WholeCharacters(text.data(), text.size(), capacity - 1, IsAnsiLeadByte);
    memcpy(field, text.data(), length);
    field[length] = '\0';
}

// True Latin-1 text the code page can show stays as it is (nothing); bytes that only
// make sense in the code page are what the tag's writer meant.
std::optional<std::string> MeantAnsi(std::string_view utf8, bool lossy) {
    if (!lossy) return std::nullopt;
    auto bytes = Latin1Bytes(utf8);
    if (bytes && !ToWide(*bytes, CP_ACP, true).empty()) return bytes;
    return std::nullopt;
}

}  // namespace

void CopyUtf8Text(std::string_view utf8, char* field, size_t capacity) {
    bool lossy = false;
    const std::string ansi = WideToAnsi(ToWide(utf8, CP_UTF8, false), lossy);
    const auto meant = MeantAnsi(utf8, lossy);
    CopyFitted(meant ? *meant : ansi, field, capacity);
}

std::string RecoveredUtf8(std::string_view utf8) {
    bool lossy = false;
    WideToAnsi(ToWide(utf8, CP_UTF8, false), lossy);
    const auto meant = MeantAnsi(utf8, lossy);
    return meant ? WideToAnsi(ToWide(*meant, CP_ACP, false), lossy, CP_UTF8) : std::string(utf8);
}

void CopyId3v1Text(const char* raw, size_t size, char* field, size_t capacity) {
    CopyFitted(Id3v1Text(raw, size), field, capacity);
}
