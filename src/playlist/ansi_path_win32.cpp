#include "playlist/ansi_path.h"

#include "text/ansi_code_page.h"

namespace {

// Empty when the code page cannot spell every character.
std::string ToAnsi(const std::wstring& wide) {
    bool lossy = false;
    std::string ansi = WideToAnsi(wide, lossy);
    return lossy ? std::string() : ansi;
}

}  // namespace

std::string AnsiName(const std::wstring& fullPath, const std::wstring& part, size_t headLength) {
    auto fits = [&](const std::string& name) { return !name.empty() && headLength + name.size() < MAX_PATH; };
    std::string ansi = ToAnsi(part);
    if (fits(ansi) || part.empty()) return ansi;
    const DWORD length = GetShortPathNameW(fullPath.c_str(), nullptr, 0);
    if (length == 0) return {};
    std::wstring shortPath(length, L'\0');
    shortPath.resize(GetShortPathNameW(fullPath.c_str(), shortPath.data(), length));
    const size_t slash = shortPath.find_last_of(L'\\');
    const bool whole = part == fullPath || slash == std::wstring::npos;
    ansi = ToAnsi(whole ? shortPath : shortPath.substr(slash + 1));
    return fits(ansi) ? ansi : std::string();
}

void RefuseUnnameable(HWND owner, const std::wstring& fullPath) {
    const bool spellable = !ToAnsi(fullPath).empty();
    const std::wstring text = std::wstring(spellable ? L"这个文件的路径太长" : L"这个文件的名字含有系统代码页没有的字符") +
                              L"，所在的磁盘也没有它的短文件名，无法加入播放列表：\n" + fullPath;
    MessageBoxW(owner, text.c_str(), L"WuzzlePlayer", MB_OK | MB_ICONWARNING);
}
