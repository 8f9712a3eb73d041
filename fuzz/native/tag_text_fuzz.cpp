// Tag reading and its text conversions on any bytes: an ID3v2 tag (header and body),
// a text frame's data, an Info frame, and the cutting of text to a field.
#include <cstdint>
#include <cstdlib>

#include "ansi_code_page.h"
#include "id3v2_tag.h"
#include "mpeg_frames.h"
#include "tag_text.h"

namespace {

bool GbkLeadByte(unsigned char byte) {
    return byte >= 0x81 && byte <= 0xFE;
}

void CheckFits(const std::string& text) {
    const size_t length = WholeCharacters(text.data(), text.size(), 127, GbkLeadByte);
    if (length > 127 || length > text.size()) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (const auto header = ParseId3v2Header(bytes)) {
        const std::string_view body = bytes.substr(kId3v2HeaderBytes);
        const Id3v2Texts texts = ReadId3v2Texts(*header, body);
        if (texts.framesEnd > body.size() || header->ClaimedEnd() < static_cast<int64_t>(kId3v2HeaderBytes)) abort();
        for (const std::string* text : {&texts.title, &texts.artist}) {
            CheckFits(*text);
            if (const auto latin1 = Latin1Bytes(*text)) CheckFits(*latin1);
        }
    }
    CheckFits(TextFrameUtf8(bytes));
    CheckFits(std::string(Id3v1Text(bytes.data(), size < 30 ? size : 30)));
    if (const auto info = ParseInfoFrame(bytes)) {
        InfoCountsHold(*info, *ParseFrameHeader(bytes), static_cast<int64_t>(size), static_cast<int64_t>(size));
    }
    return 0;
}
