#include <windows.h>

#include "ui/whole_file.h"

bool ReadWholeFile(const char* path, std::string& bytes) {
    // Windows refuses to open a read-only file for writing; Wine run as root does not.
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
    HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    char buffer[64 * 1024];
    DWORD read = 0;
    bool whole;
    // A read that fails part-way (a byte range another program has locked, a network
    // file that went away) is no read: a shortened list would be saved over the file.
    while ((whole = ReadFile(file, buffer, sizeof(buffer), &read, nullptr) != FALSE) && read > 0) {
        bytes.append(buffer, read);
    }
    CloseHandle(file);
    if (!whole) bytes.clear();
    return whole;
}

namespace {

std::string ReplacementPath(const char* path) {
    return std::string(path) + ".new";
}

}  // namespace

bool ReplaceWholeFile(const char* path, const std::string& bytes) {
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
    const std::string temporary = ReplacementPath(path);
    HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool complete = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                          written == bytes.size() && FlushFileBuffers(file);
    CloseHandle(file);
    if (complete && MoveFileExA(temporary.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return true;
    }
    DeleteFileA(temporary.c_str());
    return false;
}

void RemoveUnfinishedReplacement(const char* path) {
    DeleteFileA(ReplacementPath(path).c_str());
}
