// Paths as the program keeps them, in the system's ANSI code page. A name with
// characters the code page lacks (emoji, or Korean on a Chinese system) arrives in
// UTF-16 and goes by its short name, which is ASCII.
#pragma once

#include <windows.h>

#include <string>

// The ANSI spelling of `part`, the last component of `fullPath` (or the whole path
// when they are the same): as it is when the code page can spell it, else the short
// name's. Empty when the volume keeps no short name for it.
std::string AnsiName(const std::wstring& fullPath, const std::wstring& part);

// Says that the file cannot be added, naming it. `owner` may be null.
void RefuseUnspellable(HWND owner, const std::wstring& fullPath);
