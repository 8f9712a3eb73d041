// Tag text before it becomes ANSI: Latin-1 recovery, cutting to a field, ID3v1 fields.
#include <gtest/gtest.h>

#include "../../plugins/input/tag_text.h"

namespace {

// GBK's lead bytes, as the code page 936 system reports them.
bool GbkLeadByte(unsigned char byte) {
    return byte >= 0x81 && byte <= 0xFE;
}

struct Latin1Case {
    const char* name;
    std::string utf8;
    std::optional<std::string> bytes;
};

class Latin1BytesTest : public ::testing::TestWithParam<Latin1Case> {};

TEST_P(Latin1BytesTest, RecoversTheBytesOfLatin1Text) {
    EXPECT_EQ(Latin1Bytes(GetParam().utf8), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Latin1BytesTest,
    ::testing::Values(
        // "你好" in GBK (C4 E3 BA C3) read as Latin-1 and widened to UTF-8.
        Latin1Case{"gbk_read_as_latin1", "\xC3\x84\xC3\xA3\xC2\xBA\xC3\x83", std::string("\xC4\xE3\xBA\xC3")},
        Latin1Case{"mixed_with_ascii", "A\xC3\xA9 b", std::string("A\xE9 b")},
        Latin1Case{"ascii_needs_nothing", "plain", std::nullopt}, Latin1Case{"empty", "", std::nullopt},
        Latin1Case{"beyond_latin1", "\xE4\xBD\xA0", std::nullopt}, Latin1Case{"cut_sequence", "a\xC3", std::nullopt},
        Latin1Case{"bad_continuation",
                   "\xC3"
                   "A",
                   std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

struct FitCase {
    const char* name;
    std::string text;
    size_t capacity;
    size_t length;
};

class FitTextTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitTextTest, FitsWithItsNulAndNeverCutsACharacter) {
    EXPECT_EQ(FitText(GetParam().text, GetParam().capacity, GbkLeadByte), GetParam().length);
}

const std::string kHan = "\xBA\xBA";  // 汉

INSTANTIATE_TEST_SUITE_P(Texts, FitTextTest,
                         ::testing::Values(FitCase{"short_ascii", "abc", 128, 3},
                                           FitCase{"ascii_cut_to_capacity", std::string(200, 'x'), 128, 127},
                                           FitCase{"double_byte_fits_exactly", "a" + kHan, 4, 3},
                                           FitCase{"double_byte_would_straddle_the_end", "ab" + kHan, 4, 2},
                                           FitCase{"dangling_lead_byte_dropped", "a\xBA", 128, 1},
                                           FitCase{"trail_byte_in_lead_range_is_not_a_lead", kHan + kHan, 4, 2},
                                           FitCase{"empty", "", 128, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

struct Id3v1Case {
    const char* name;
    std::string field;
    std::string text;
};

class Id3v1TextTest : public ::testing::TestWithParam<Id3v1Case> {};

TEST_P(Id3v1TextTest, EndsAtNulWithoutTrailingBlanks) {
    const std::string& field = GetParam().field;
    EXPECT_EQ(Id3v1Text(field.data(), field.size()), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Fields, Id3v1TextTest,
                         ::testing::Values(Id3v1Case{"nul_padded", std::string("Song\0\0\0\0", 8), "Song"},
                                           Id3v1Case{"space_padded", "Song    ", "Song"},
                                           Id3v1Case{"inner_spaces_kept", "A  B  ", "A  B"},
                                           Id3v1Case{"full_without_nul", "abcdef", "abcdef"},
                                           Id3v1Case{"all_blank", "      ", ""},
                                           Id3v1Case{"junk_after_nul", std::string("Hi\0junk", 7), "Hi"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
