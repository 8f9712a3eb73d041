#include "buffered_file.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>

bool BufferedFile::Open(const char* path) {
    Close();
    file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                       FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) file = nullptr;
    // A directory does not open without FILE_FLAG_BACKUP_SEMANTICS; pipes and devices do.
    if (file != nullptr && GetFileType(file) == FILE_TYPE_DISK) return true;
    Close();
    return false;
}

void BufferedFile::Close() {
    if (file != nullptr) CloseHandle(file);
    file = nullptr;
    start = 0;
    position = 0;
    bufferStart = 0;
    filled = 0;
}

int64_t BufferedFile::Size() const {
    LARGE_INTEGER size;
    return GetFileSizeEx(file, &size) ? size.QuadPart : 0;
}

size_t BufferedFile::ReadAt(int64_t offset, void* out, size_t bytes) {
    LARGE_INTEGER at;
    at.QuadPart = offset;
    DWORD got = 0;
    if (offset < 0 || !SetFilePointerEx(file, at, nullptr, FILE_BEGIN) ||
        !ReadFile(file, out, static_cast<DWORD>(bytes), &got, nullptr)) {
        return 0;
    }
    return got;
}

mpg123_ssize_t BufferedFile::Read(void* self, void* buffer, size_t bytes) {
    return static_cast<mpg123_ssize_t>(static_cast<BufferedFile*>(self)->Read(static_cast<char*>(buffer), bytes));
}

off_t BufferedFile::Seek(void* self, off_t offset, int whence) {
    const int64_t position = static_cast<BufferedFile*>(self)->Seek(offset, whence);
    return position > LONG_MAX ? -1 : static_cast<off_t>(position);
}

int64_t BufferedFile::Read(char* out, size_t bytes) {
    size_t done = 0;
    while (done < bytes) {
        if (position >= bufferStart && position < bufferStart + static_cast<int64_t>(filled)) {
            const size_t offset = static_cast<size_t>(position - bufferStart);
            const size_t part = std::min(bytes - done, filled - offset);
            memcpy(out + done, data + offset, part);
            done += part;
            position += part;
            continue;
        }
        // Large reads (a big tag) skip the buffer.
        const bool direct = bytes - done >= sizeof(data);
        DWORD got = 0;
        if (!Fill(direct ? out + done : nullptr, direct ? bytes - done : sizeof(data), got)) {
            return done > 0 ? static_cast<int64_t>(done) : -1;
        }
        if (got == 0) break;
        if (direct) {
            done += got;
            position += got;
        }
    }
    return static_cast<int64_t>(done);
}

bool BufferedFile::Fill(char* out, size_t bytes, DWORD& got) {
    LARGE_INTEGER at;
    at.QuadPart = start + position;
    if (!SetFilePointerEx(file, at, nullptr, FILE_BEGIN)) return false;
    if (out != nullptr) return ReadFile(file, out, static_cast<DWORD>(bytes), &got, nullptr) != FALSE;
    filled = 0;
    bufferStart = position;
    if (!ReadFile(file, data, static_cast<DWORD>(bytes), &got, nullptr)) return false;
    filled = got;
    return true;
}

int64_t BufferedFile::Seek(int64_t offset, int whence) {
    const int64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? position : Size() - start;
    const int64_t target = base + offset;
    if (target < 0) return -1;
    position = target;
    return position;
}
