#include <windows.h>

#include <cstdint>

#include "ui/whole_file.h"

namespace {

// Far more than any playlist holds (some half a million entries): a large file
// dropped by mistake must not take the memory of a 32-bit process, which holds the
// lines twice more while reading them.
constexpr int64_t kLargestFile = 64 * 1024 * 1024;

bool ReadOpenFile(const char* path, bool forWriting, std::string& bytes, std::string* identity) {
    const DWORD access = forWriting ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ;
    HANDLE file = CreateFileA(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              forWriting ? OPEN_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    if (identity != nullptr) {
        // The volume and the file's index: the same for a short name, another case,
        // ".." or a link. Some network file systems give every file index 0.
        BY_HANDLE_FILE_INFORMATION information;
        *identity = path;
        if (GetFileInformationByHandle(file, &information) &&
            (information.nFileIndexHigh | information.nFileIndexLow) != 0) {
            *identity = std::to_string(information.dwVolumeSerialNumber) + ":" +
                        std::to_string(information.nFileIndexHigh) + ":" + std::to_string(information.nFileIndexLow);
        }
    }
    char buffer[64 * 1024];
    DWORD read = 0;
    bool whole;
    // A read that fails part-way (a byte range another program has locked, a network
    // file that went away) is no read: a shortened list would be saved over the file.
    while ((whole = ReadFile(file, buffer, sizeof(buffer), &read, nullptr) != FALSE) && read > 0) {
        bytes.append(buffer, read);
        if (static_cast<int64_t>(bytes.size()) > kLargestFile) {
            whole = false;
            break;
        }
    }
    CloseHandle(file);
    if (!whole) bytes.clear();
    return whole;
}

std::string ReplacementPath(const char* path) {
    return std::string(path) + ".new";
}

}  // namespace

bool ReadWholeFile(const char* path, std::string& bytes, std::string* identity) {
    // Windows refuses to open a read-only file for writing; Wine run as root does not.
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
    return ReadOpenFile(path, true, bytes, identity);
}

bool ReadExistingFile(const char* path, std::string& bytes, std::string* identity) {
    return ReadOpenFile(path, false, bytes, identity);
}

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
