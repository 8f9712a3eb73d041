// A file on disk as the plug-in's bytes.
#include <windows.h>

#include "buffered_file.h"

namespace {

class DiskFile final : public ByteSource {
public:
    explicit DiskFile(HANDLE file) : file(file) {}
    ~DiskFile() override { CloseHandle(file); }
    DiskFile(const DiskFile&) = delete;
    DiskFile& operator=(const DiskFile&) = delete;

    int64_t Size() const override {
        LARGE_INTEGER size;
        return GetFileSizeEx(file, &size) ? size.QuadPart : 0;
    }

    int64_t ReadAt(int64_t offset, void* out, size_t bytes) override {
        LARGE_INTEGER at;
        at.QuadPart = offset;
        DWORD got = 0;
        if (!SetFilePointerEx(file, at, nullptr, FILE_BEGIN) ||
            !ReadFile(file, out, static_cast<DWORD>(bytes), &got, nullptr)) {
            return -1;
        }
        return got;
    }

private:
    HANDLE file;
};

}  // namespace

bool BufferedFile::Open(const char* path) {
    Close();
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    // A directory does not open without FILE_FLAG_BACKUP_SEMANTICS; pipes and devices do.
    if (GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        return false;
    }
    Open(std::make_unique<DiskFile>(file));
    return true;
}
