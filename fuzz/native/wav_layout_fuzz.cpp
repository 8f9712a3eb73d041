// The WAVE layout reader on any chunks: the input follows a RIFF/WAVE header that the
// target writes itself, so that every change lands among the chunks, whose sizes and
// the INFO texts' are what a reader must hold in 64 bits.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "wav_header.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string file = "RIFF";
    for (int i = 0; i < 4; ++i) file += static_cast<char>((size + 4) >> (8 * i));
    file += "WAVE";
    file.append(reinterpret_cast<const char*>(data), size);
    const auto layout = ReadWavLayout(
        [&](int64_t at, void* out, size_t wanted) {
            if (at < 0 || static_cast<uint64_t>(at) >= file.size()) return size_t{0};
            const size_t got = std::min(wanted, file.size() - static_cast<size_t>(at));
            memcpy(out, file.data() + at, got);
            return got;
        },
        static_cast<int64_t>(file.size()));
    if (layout && (layout->dataStart < 12 || layout->dataStart + layout->dataBytes > static_cast<int64_t>(file.size()) ||
                   layout->dataBytes % layout->blockBytes != 0 || layout->title.size() > 1024 ||
                   layout->artist.size() > 1024)) {
        abort();
    }
    return 0;
}
