// Paths as the program keeps them, in the system's ANSI code page, shorter than
// MAX_PATH so that the plug-in's CreateFileA can open them. A name with characters
// the code page lacks (emoji, or Korean on a Chinese system), or a path too long,
// arrives in UTF-16 and goes by its short name, which is ASCII and shorter.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "playlist/playlist_file.h"

// The ANSI spelling of `part`, the last component of `fullPath` (or the whole path
// when they are the same), where the whole path spelled so takes `headLength` bytes
// before `part`: as it is when the code page can spell it and the whole path is
// shorter than MAX_PATH, else the short name's. Empty when that does not do either.
std::string AnsiName(const std::wstring& fullPath, const std::wstring& part, size_t headLength = 0);

// The path with its long names, as the user knows them, in the code page, with '?'
// for a character it lacks: for the extension of a path that may be a short name.
// The path itself when it names nothing.
std::string LongName(const char* path);

// Says that the files cannot be added and why, naming them, in one box. `owner` may
// be null.
void RefuseUnnameable(HWND owner, const std::vector<std::wstring>& fullPaths);

// The system's side of reading a playlist: lists named in lists, read only, and
// names and texts between UTF-8 and the code page.
class SystemPlaylistFiles final : public PlaylistFiles {
public:
    bool Read(const std::string& path, std::string& bytes, std::string& identity) override;
    std::string AnsiPath(const std::string& utf8) override;
    std::string Utf8Path(const std::string& ansi) override;
    std::string AnsiText(const std::string& utf8) override;
};
