#include "ansi_text.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "tag_text.h"

namespace {

bool IsLeadByte(unsigned char byte) {
    return IsDBCSLeadByte(byte) != FALSE;
}

void CopyFitted(std::string_view text, char* field, size_t capacity) {
    const size_t length = FitText(text, capacity, IsLeadByte);
    memcpy(field, text.data(), length);
    field[length] = '\0';
}

std::wstring Widen(std::string_view text, UINT codePage, DWORD flags) {
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(codePage, flags, text.data(), size, nullptr, 0);
    std::wstring wide(length, L'\0');
    MultiByteToWideChar(codePage, flags, text.data(), size, wide.data(), length);
    return wide;
}

std::string ToAnsi(const std::wstring& wide, bool& lossy) {
    const int size = static_cast<int>(wide.size());
    BOOL usedDefault = FALSE;
    const int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string ansi(length, '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), size, ansi.data(), length, nullptr, &usedDefault);
    lossy = usedDefault != FALSE;
    return ansi;
}

bool IsAnsiText(const std::string& bytes) {
    return !Widen(bytes, CP_ACP, MB_ERR_INVALID_CHARS).empty();
}

}  // namespace

void CopyUtf8Text(std::string_view utf8, char* field, size_t capacity) {
    bool lossy = false;
    const std::string ansi = ToAnsi(Widen(utf8, CP_UTF8, 0), lossy);
    // True Latin-1 text the code page can show stays as it is; bytes that only make
    // sense in the code page are what the tag's writer meant.
    if (lossy) {
        const auto bytes = Latin1Bytes(utf8);
        if (bytes && IsAnsiText(*bytes)) return CopyFitted(*bytes, field, capacity);
    }
    CopyFitted(ansi, field, capacity);
}

void CopyId3v1Text(const char* raw, size_t size, char* field, size_t capacity) {
    CopyFitted(Id3v1Text(raw, size), field, capacity);
}
