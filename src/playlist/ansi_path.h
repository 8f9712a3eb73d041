// Paths as the program keeps them, in the system's ANSI code page, shorter than
// MAX_PATH so that the plug-in's CreateFileA can open them. A name with characters
// the code page lacks (emoji, or Korean on a Chinese system), or a path too long,
// arrives in UTF-16 and goes by its short name, which is ASCII and shorter.
#pragma once

#include <windows.h>

#include <string>

// The ANSI spelling of `part`, the last component of `fullPath` (or the whole path
// when they are the same), where the whole path spelled so takes `headLength` bytes
// before `part`: as it is when the code page can spell it and the whole path is
// shorter than MAX_PATH, else the short name's. Empty when that does not do either.
std::string AnsiName(const std::wstring& fullPath, const std::wstring& part, size_t headLength = 0);

// Says that the file cannot be added and why, naming it. `owner` may be null.
void RefuseUnnameable(HWND owner, const std::wstring& fullPath);
