// The file as the decoder libraries read it. They ask for a frame or a header at a
// time, a few hundred bytes; a scan for the length reads a whole file that way. A
// buffer of our own turns that into a few large reads. Platform-free: the bytes come
// from a ByteSource, a file on disk in the plug-in (buffered_file_win32.cpp).
#pragma once

#include <mpg123.h>

#include <cstdint>
#include <memory>

// Where the bytes come from.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual int64_t Size() const = 0;
    // Up to `bytes` at `offset`: the count read, -1 on an error.
    virtual int64_t ReadAt(int64_t offset, void* out, size_t bytes) = 0;
};

class BufferedFile {
public:
    BufferedFile() = default;
    BufferedFile(const BufferedFile&) = delete;
    BufferedFile& operator=(const BufferedFile&) = delete;

    // Opens the ANSI path for reading; others may still read and write the file.
    // Only a file on a disk: a pipe or a device could block the first read. Windows only.
    bool Open(const char* path);
    void Open(std::unique_ptr<ByteSource> bytes);
    void Close();
    int64_t Size() const;
    // Up to `bytes` at `offset` of the whole file, unbuffered; the count read.
    size_t ReadAt(int64_t offset, void* out, size_t bytes);
    // The decoder sees the file from `offset` on, so that it never meets what lies
    // before (a tag we have read ourselves).
    void StartAt(int64_t offset) { start = offset; }

    // The decoder's view, from the start set: sequential reads (the count read, -1 on
    // an error), seeks (the new position, -1 when out of range) and the position.
    int64_t ReadNext(void* out, size_t bytes) { return Read(static_cast<char*>(out), bytes); }
    int64_t SeekTo(int64_t offset, int whence) { return Seek(offset, whence); }
    int64_t Position() const { return position; }
    int64_t Length() const { return Size() - start; }

    // libmpg123's reader callbacks, with the BufferedFile as the handle. The plug-in
    // builds with 64-bit off_t, so that positions past 2 GiB and sample counts past
    // 2^31 (13.5 hours at 44.1 kHz) reach libmpg123's 64-bit calls whole.
    static mpg123_ssize_t Read(void* self, void* buffer, size_t bytes);
    static off_t Seek(void* self, off_t offset, int whence);

private:
    int64_t Read(char* out, size_t bytes);
    int64_t Seek(int64_t offset, int whence);
    // Reads at `position`, into the buffer or straight into `out`; the count read, -1
    // on an error.
    int64_t Fill(char* out, size_t bytes);

    std::unique_ptr<ByteSource> source;
    int64_t start = 0;        // the file offset libmpg123 knows as 0
    int64_t position = 0;     // where libmpg123 is reading, from `start`
    int64_t bufferStart = 0;  // the position of data[0]
    size_t filled = 0;
    char data[64 * 1024] = {};
};
