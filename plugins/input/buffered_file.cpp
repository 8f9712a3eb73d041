#include "buffered_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

static_assert(sizeof(off_t) == 8, "libmpg123 must be called through its 64-bit offset API (_FILE_OFFSET_BITS=64)");

void BufferedFile::Open(std::unique_ptr<ByteSource> bytes) {
    Close();
    source = std::move(bytes);
}

void BufferedFile::Close() {
    source.reset();
    start = 0;
    position = 0;
    bufferStart = 0;
    filled = 0;
}

int64_t BufferedFile::Size() const {
    return source ? source->Size() : 0;
}

size_t BufferedFile::ReadAt(int64_t offset, void* out, size_t bytes) {
    if (!source || offset < 0) return 0;
    return static_cast<size_t>(std::max<int64_t>(source->ReadAt(offset, out, bytes), 0));
}

mpg123_ssize_t BufferedFile::Read(void* self, void* buffer, size_t bytes) {
    return static_cast<mpg123_ssize_t>(static_cast<BufferedFile*>(self)->Read(static_cast<char*>(buffer), bytes));
}

off_t BufferedFile::Seek(void* self, off_t offset, int whence) {
    return static_cast<BufferedFile*>(self)->Seek(offset, whence);
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
        const int64_t got = Fill(direct ? out + done : nullptr, direct ? bytes - done : sizeof(data));
        if (got < 0) return done > 0 ? static_cast<int64_t>(done) : -1;
        if (got == 0) break;
        if (direct) {
            done += static_cast<size_t>(got);
            position += got;
        }
    }
    return static_cast<int64_t>(done);
}

int64_t BufferedFile::Fill(char* out, size_t bytes) {
    if (!source) return -1;
    if (out != nullptr) return source->ReadAt(start + position, out, bytes);
    filled = 0;
    bufferStart = position;
    const int64_t got = source->ReadAt(start + position, data, bytes);
    filled = static_cast<size_t>(std::max<int64_t>(got, 0));
    return got;
}

int64_t BufferedFile::Seek(int64_t offset, int whence) {
    const int64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? position : Size() - start;
    const int64_t target = base + offset;
    if (target < 0) return -1;
    position = target;
    return position;
}
