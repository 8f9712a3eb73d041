#include "playlist/ansi_path.h"

#include "text/ansi_code_page.h"
#include "ui/whole_file.h"

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

void RefuseUnnameable(HWND owner, const std::vector<std::wstring>& fullPaths) {
    if (fullPaths.empty()) return;
    std::wstring text;
    if (fullPaths.size() == 1) {
        text = std::wstring(ToAnsi(fullPaths[0]).empty() ? L"这个文件的名字含有系统代码页没有的字符" : L"这个文件的路径太长") +
               L"，所在的磁盘也没有它的短文件名，无法加入播放列表：";
    } else {
        // Only a playlist refuses several, and only for their names.
        text = L"这些文件的名字含有系统代码页没有的字符，所在的磁盘也没有它们的短文件名，无法加入播放列表：";
    }
    // As many as a box shows on any screen.
    constexpr size_t kNamed = 10;
    for (size_t i = 0; i < fullPaths.size() && i < kNamed; ++i) text += L"\n" + fullPaths[i];
    if (fullPaths.size() > kNamed) text += L"\n……（共 " + std::to_wstring(fullPaths.size()) + L" 个）";
    MessageBoxW(owner, text.c_str(), L"WuzzlePlayer", MB_OK | MB_ICONWARNING);
}

std::string LongName(const char* path) {
    const std::wstring wide = ToWide(path, CP_ACP, false);
    std::wstring longPath(GetLongPathNameW(wide.c_str(), nullptr, 0), L'\0');
    if (longPath.empty()) return path;
    longPath.resize(GetLongPathNameW(wide.c_str(), longPath.data(), static_cast<DWORD>(longPath.size())));
    bool lossy = false;
    return WideToAnsi(longPath, lossy);
}

bool SystemPlaylistFiles::Read(const std::string& path, std::string& bytes, std::string& identity) {
    return ReadExistingFile(path.c_str(), bytes, &identity);
}

std::string SystemPlaylistFiles::AnsiPath(const std::string& utf8) {
    const std::wstring wide = ToWide(utf8, CP_UTF8, false);
    const std::string ansi = AnsiName(wide, wide);
    // Too long for the plug-in and without a short name: kept whole, a track that
    // cannot be opened now.
    return ansi.empty() ? ToAnsi(wide) : ansi;
}

std::string SystemPlaylistFiles::Utf8Path(const std::string& ansi) {
    bool lossy = false;
    return WideToAnsi(ToWide(ansi, CP_ACP, false), lossy, CP_UTF8);
}

std::string SystemPlaylistFiles::AnsiText(const std::string& utf8) {
    bool lossy = false;
    return WideToAnsi(ToWide(utf8, CP_UTF8, false), lossy);
}
