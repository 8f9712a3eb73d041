#include <windows.h>

#include "ansi_code_page.h"

bool IsAnsiLeadByte(unsigned char byte) {
    return IsDBCSLeadByte(byte) != FALSE;
}

std::string WideToAnsi(std::wstring_view wide, bool& lossy, unsigned codePage) {
    lossy = false;
    if (wide.empty()) return {};
    const UINT page = codePage != 0 ? codePage : GetACP();
    const bool utf8 = page == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* reportDefault = utf8 ? nullptr : &usedDefault;
    const int size = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(page, flags, wide.data(), size, nullptr, 0, nullptr, reportDefault);
    if (length == 0) {
        lossy = true;
        return {};
    }
    std::string ansi(length, '\0');
    WideCharToMultiByte(page, flags, wide.data(), size, ansi.data(), length, nullptr, reportDefault);
    lossy = usedDefault != FALSE;
    return ansi;
}

std::wstring ToWide(std::string_view text, unsigned codePage, bool strict) {
    const int size = static_cast<int>(text.size());
    const DWORD flags = strict ? MB_ERR_INVALID_CHARS : 0;
    const int length = MultiByteToWideChar(codePage, flags, text.data(), size, nullptr, 0);
    std::wstring wide(length, L'\0');
    MultiByteToWideChar(codePage, flags, text.data(), size, wide.data(), length);
    return wide;
}
