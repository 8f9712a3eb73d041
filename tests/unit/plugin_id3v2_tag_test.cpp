// Our ID3v2 reader on the tag layouts the plug-in's fixtures do not reach.
#include <gtest/gtest.h>

#include "../../plugins/input/id3v2_tag.h"

namespace {

std::string Be32(uint32_t n) {
    return {char(n >> 24), char(n >> 16), char(n >> 8), char(n)};
}

std::string Syncsafe(uint32_t n) {
    return {char(n >> 21 & 0x7F), char(n >> 14 & 0x7F), char(n >> 7 & 0x7F), char(n & 0x7F)};
}

// A 2.3 or 2.4 frame; `size` as stored, when it is not the data's.
std::string Frame(int version, const std::string& id, const std::string& data, char format = 0, std::string size = "") {
    if (size.empty()) size = version == 4 ? Syncsafe(data.size()) : Be32(data.size());
    return id + size + std::string{0, format} + data;
}

std::string Tag(int version, char flags, const std::string& body) {
    return "ID3" + std::string{char(version), 0, flags} + Syncsafe(body.size()) + body;
}

const std::string kTitle = Frame(3, "TIT2", std::string("\0Song", 5));
const std::string kArtist = Frame(3, "TPE1", std::string("\0Band", 5));

struct TagCase {
    const char* name;
    std::string tag;
    std::string title, artist;
    size_t framesEnd;
};

// "aÿb", its "ÿ" (FF) stored unsynchronised as FF 00; sizes count the resynchronised bytes.
const std::string kAyb = std::string("a\xC3\xBF") + 'b';
const std::string kFFTitleStored = "TIT2" + Be32(4) + std::string("\0\0\0a\xFF\0b", 7);

TEST(Id3v2Texts, FindsTitleArtistAndTheEndOfTheFrames) {
    const TagCase cases[] = {
        {"PaddingEndsTheFrames", Tag(3, 0, kTitle + kArtist + std::string(20, '\0')), "Song", "Band", 30},
        {"FrameClaimingPastTheTagEndsTheWalk", Tag(3, 0, kTitle + Frame(3, "TXXX", "x", 0, Be32(30)) + kArtist), "Song",
         "", 15},
        {"WholeTagUnsynchronisationIsUndone", Tag(3, char(0x80), kFFTitleStored + kArtist), kAyb, "Band", 30},
        {"V24FrameUnsynchronisationAndLengthPrefixAreUndone",
         Tag(4, 0, Frame(4, "TIT2", Be32(4) + std::string("\0a\xFF\0b", 5), 0x03)), kAyb, "", 19},
        {"V23ExtendedHeaderIsSteppedOver", Tag(3, 0x40, Be32(6) + std::string(6, '\0') + kTitle), "Song", "", 25},
        // 4 + the size wraps to 0 to 3 in 32 bits: the frames were read from the tag's start.
        {"V23ExtendedHeaderOfNearlyFourGiBCoversTheTag", Tag(3, 0x40, Be32(0xFFFFFFFC) + kTitle), "", "", 19},
        {"V23ExtendedHeaderOfFourGiBCoversTheTag", Tag(3, 0x40, Be32(0xFFFFFFFF) + kTitle), "", "", 19},
        {"V24ExtendedHeaderSizeCountsItself",
         Tag(4, 0x40, Syncsafe(6) + std::string("\1\0", 2) + Frame(4, "TIT2", std::string("\3Song", 5))), "Song", "",
         21},
        {"V24PlainSizesOfSomeWritersAreRead",
         Tag(4, 0, Frame(4, "TIT2", '\3' + std::string(127, 'x'), 0, Be32(128)) + kArtist), std::string(127, 'x'),
         "Band", 153},
        {"V23GroupByteIsNotText", Tag(3, 0, Frame(3, "TIT2", std::string("\x07\0Song", 6), 0x20)), "Song", "", 16},
        {"CompressedTitleIsNotText", Tag(3, 0, Frame(3, "TIT2", std::string("\0Song", 5), char(0x80)) + kArtist), "",
         "Band", 30},
        {"Utf16WithoutMarkIsBigEndian", Tag(3, 0, Frame(3, "TIT2", std::string("\1\0S\0o", 5))), "So", "", 15},
        {"LastOfRepeatedMarksHolds", Tag(3, 0, Frame(3, "TIT2", std::string("\1\xFE\xFF\xFF\xFES\0", 7))), "S", "", 17},
        {"SurrogatePairIsOneCharacter", Tag(3, 0, Frame(3, "TIT2", std::string("\2\xD8\x3D\xDE\x00", 5))),
         "\xF0\x9F\x98\x80", "", 15},
        {"V22UsesThreeLetterFrames",
         Tag(2, 0, "TT2" + std::string("\0\0\5\0Song", 8) + "TP1" + std::string("\0\0\5\0Band", 8)), "Song", "Band",
         22},
    };
    for (const TagCase& c : cases) {
        const auto header = ParseId3v2Header(c.tag);
        ASSERT_TRUE(header) << c.name;
        const Id3v2Texts texts = ReadId3v2Texts(*header, std::string_view(c.tag).substr(kId3v2HeaderBytes));
        EXPECT_EQ(texts.title, c.title) << c.name;
        EXPECT_EQ(texts.artist, c.artist) << c.name;
        EXPECT_EQ(texts.framesEnd, c.framesEnd) << c.name;
    }
}

}  // namespace
