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

}  // namespace

void CopyUtf8Text(std::string_view utf8, char* field, size_t capacity) {
    bool lossy = false;
    const std::string ansi = WideToAnsi(ToWide(utf8, CP_UTF8, false), lossy);
    // True Latin-1 text the code page can show stays as it is; bytes that only make
    // sense in the code page are what the tag's writer meant.
    if (lossy) {
        const auto bytes = Latin1Bytes(utf8);
        if (bytes && !ToWide(*bytes, CP_ACP, true).empty()) return CopyFitted(*bytes, field, capacity);
    }
    CopyFitted(ansi, field, capacity);
}

void CopyId3v1Text(const char* raw, size_t size, char* field, size_t capacity) {
    CopyFitted(Id3v1Text(raw, size), field, capacity);
}
