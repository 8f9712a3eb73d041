// The playlist file's bytes, read as the Windows C runtime's text mode reads them,
// and written a line at a time.
#include <gtest/gtest.h>

#include "playlist/playlist_file.h"

namespace {

using Pieces = std::vector<std::string>;

struct ReadCase {
    const char* name;
    std::string bytes;
    Pieces pieces;
};

class ReadPiecesTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadPiecesTest, HandsOnWhatAddFileGets) {
    EXPECT_EQ(ReadPlaylistPieces(GetParam().bytes), GetParam().pieces);
}

const std::string k1500(1500, 'p');
const std::string k1022(1022, 'q');

INSTANTIATE_TEST_SUITE_P(
    Files, ReadPiecesTest,
    ::testing::Values(ReadCase{"crlf_lines_then_an_empty_piece", "a.mp3\r\nb.mp3\r\n", {"a.mp3", "b.mp3", ""}},
                      ReadCase{"lf_lines", "a.mp3\nb.mp3\n", {"a.mp3", "b.mp3", ""}},
                      ReadCase{"no_final_line_end", "a.mp3\r\nb.mp3", {"a.mp3", "b.mp3"}},
                      ReadCase{"empty_file_gives_one_empty_piece", "", {""}},
                      ReadCase{"long_line_in_pieces", k1500, {k1500.substr(0, 1022), k1500.substr(1022)}},
                      ReadCase{"line_of_exactly_1022", k1022 + "\r\n", {k1022, "", ""}},
                      ReadCase{"ctrl_z_ends_the_file", "a.mp3\r\n\x1A" "b.mp3\r\n", {"a.mp3", ""}},
                      ReadCase{"lone_cr_stays", "a\rb.mp3\r\r\n", {"a\rb.mp3\r", ""}},
                      ReadCase{"relative_and_hash_lines_untouched", "..\\x.mp3\r\n#y.mp3", {"..\\x.mp3", "#y.mp3"}},
                      ReadCase{"gbk_bytes_untouched", "\xB8\xE8\\\x5C.mp3", {"\xB8\xE8\\\x5C.mp3"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AppendPathLine, EndsEachPathWithCrLfAndWritesNothingForAnEmptyOne) {
    std::string bytes;
    for (const char* path : {"C:\\a.mp3", "", "b.mp3"}) AppendPathLine(bytes, path);
    EXPECT_EQ(bytes, "C:\\a.mp3\r\nb.mp3\r\n");
}

}  // namespace
