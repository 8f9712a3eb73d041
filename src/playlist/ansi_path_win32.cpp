#include "playlist/ansi_path.h"

namespace {

// Empty when the code page cannot spell every character.
std::string ToAnsi(const std::wstring& wide) {
    if (wide.empty()) return {};
    BOOL lossy = FALSE;
    const int size = static_cast<int>(wide.size());
    const int length =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0, nullptr, &lossy);
    std::string ansi(length, '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, ansi.data(), length, nullptr, &lossy);
    return lossy ? std::string() : ansi;
}

}  // namespace

std::string AnsiName(const std::wstring& fullPath, const std::wstring& part) {
    std::string ansi = ToAnsi(part);
    if (!ansi.empty() || part.empty()) return ansi;
    const DWORD length = GetShortPathNameW(fullPath.c_str(), nullptr, 0);
    if (length == 0) return {};
    std::wstring shortPath(length, L'\0');
    shortPath.resize(GetShortPathNameW(fullPath.c_str(), shortPath.data(), length));
    if (part == fullPath) return ToAnsi(shortPath);
    const size_t slash = shortPath.find_last_of(L'\\');
    return ToAnsi(slash == std::wstring::npos ? shortPath : shortPath.substr(slash + 1));
}

void RefuseUnspellable(HWND owner, const std::wstring& fullPath) {
    const std::wstring text = L"这个文件的名字含有系统代码页没有的字符，所在的磁盘也没有它的短文件名，无法加入播放列表：\n" + fullPath;
    MessageBoxW(owner, text.c_str(), L"WuzzlePlayer", MB_OK | MB_ICONWARNING);
}
