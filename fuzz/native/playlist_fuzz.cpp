// The playlist reader on any bytes, in every encoding it may choose, with the bytes
// also standing for the first lists they name: it ends.
#include <cstdint>

#include "playlist/playlist_file.h"

namespace {

bool Gbk(unsigned char byte) {
    return byte >= 0x81 && byte <= 0xFE;
}

class SameBytes final : public PlaylistFiles {
public:
    explicit SameBytes(std::string bytes) : bytes(std::move(bytes)) {}
    bool Read(const std::string& path, std::string& read, std::string& identity) override {
        // "x\x.m3u" names a new list at every level, as folders on a disk would.
        if (++reads > 50) return false;
        read = bytes;
        identity = path;
        return true;
    }
    std::string AnsiPath(const std::string& utf8) override { return utf8; }
    std::string Utf8Path(const std::string& ansi) override { return ansi; }
    std::string AnsiText(const std::string& utf8) override { return utf8; }

private:
    std::string bytes;
    int reads = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    for (ListOrigin origin : {ListOrigin::Own, ListOrigin::Elsewhere}) {
        for (bool utf8 : {false, true}) {
            SameBytes files(bytes);
            ReadPlaylist(files, {"C:\\lists\\a.m3u", bytes, "C:\\lists\\a.m3u", origin, utf8}, Gbk);
        }
    }
    return 0;
}
