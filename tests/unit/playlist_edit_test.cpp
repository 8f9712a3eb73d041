// Editing the playlist: which rows move where, which files are taken, what the
// open-file dialog's answer asks for, and the play order after deletions.
#include <gtest/gtest.h>

#include <set>

#include "playlist/drop_rule.h"
#include "playlist/open_files.h"
#include "playlist/row_moves.h"
#include "playlist_fakes.h"

namespace {

// Rows named by letters; lower case is selected.
class LetterRows final : public RowList {
public:
    explicit LetterRows(std::string rows) : rows(std::move(rows)) {}
    int RowCount() override { return static_cast<int>(rows.size()); }
    bool IsSelected(int row) override { return islower(static_cast<unsigned char>(rows[row])) != 0; }
    void MoveRow(int from, int to) override {
        ASSERT_EQ(std::abs(from - to), 1);
        std::swap(rows[from], rows[to]);
    }
    void DeleteRow(int row) override { rows.erase(row, 1); }
    std::string rows;
};

struct MoveCase {
    std::string before;
    bool up;
    std::string after;
};

TEST(MoveSelected, MovesEachSelectedRowOnePlaceAndNeverReordersABlockAtTheEdge) {
    const MoveCase cases[] = {
        {"AbC", true, "bAC"},     {"aBC", true, "aBC"},      {"AbC", false, "ACb"},    {"ACb", false, "ACb"},
        {"Abc", true, "bcA"},     {"abC", true, "abC"},      {"Abc", false, "Abc"},    {"abC", false, "Cab"},
        {"aBc", true, "acB"},     {"aBc", false, "Bac"},     {"ABCDe", true, "ABCeD"}, {"", true, ""},
        {"abcDEf", true, "abcDfE"}, {"AbcDE", false, "ADbcE"},
    };
    for (const MoveCase& c : cases) {
        LetterRows rows(c.before);
        c.up ? MoveSelectedUp(rows) : MoveSelectedDown(rows);
        EXPECT_EQ(rows.rows, c.after) << c.before << (c.up ? " up" : " down");
    }
}

TEST(DeleteSelected, DeletesFromTheBottomUpAndSaysWhich) {
    LetterRows rows("aBcDe");
    EXPECT_EQ(DeleteSelected(rows), (std::vector<int>{4, 2, 0}));
    EXPECT_EQ(rows.rows, "BD");
}

TEST(KindOfFile, TakesItsExtensionsInExactLowerOrUpperCaseAndNothingElse) {
    const std::pair<const char*, FileKind> cases[] = {
        {"C:\\m\\a.Flac", FileKind::Other},      {"C:\\m\\a.M4a", FileKind::Other},
        {"C:\\m\\a.m4b", FileKind::Other},       {"C:\\m\\a.wvc", FileKind::Other},
        {"C:\\m\\list.m3u", FileKind::Playlist}, {"C:\\m\\list.M3U", FileKind::Playlist},
        {"C:\\m\\a.Mp3", FileKind::Other},       {"C:\\m\\list.m3U", FileKind::Other},
        {"C:\\m\\list.m3u8", FileKind::Playlist}, {"C:\\m\\list.M3U8", FileKind::Playlist},
        {"C:\\m\\list.M3u8", FileKind::Other},    {"C:/m.mp3/song", FileKind::Other},
        {"C:\\m.mp3\\song", FileKind::Other},    {"C:\\m\\a.mp3.txt", FileKind::Other},
        {"", FileKind::Other},
        // 縗 is BF 5C: its second byte is not a separator that would end ".mp3".
        {"C:\\m\\.mp3\xBF\x5C", FileKind::Other}, {"C:\\m\\\xBF\x5C.mp3", FileKind::Music},
    };
    for (const auto& [path, kind] : cases) EXPECT_EQ(KindOfFile(path, GbkLeadByte), kind) << path;
    for (const char* music : {"mp3", "MP3", "flac", "FLAC", "ogg", "OGG", "oga", "OGA", "opus", "OPUS", "wav", "WAV",
                              "m4a", "M4A", "aac", "AAC", "wma", "WMA", "wv", "WV"}) {
        EXPECT_EQ(KindOfFile((std::string("C:\\m\\a.") + music).c_str(), GbkLeadByte), FileKind::Music) << music;
    }
}

TEST(PlanOpenFiles, SplitsTheDialogsAnswer) {
    const char several[] = "C:\\Music\0a.mp3\0list.m3u\0\xB8\xE8.mp3\0";
    OpenFilesPlan plan = PlanOpenFiles(several, sizeof(several), true, GbkLeadByte);
    EXPECT_FALSE(plan.replacePlaylist);
    EXPECT_EQ(plan.directory, "C:\\Music");
    EXPECT_EQ(plan.paths, (std::vector<std::string>{"C:\\Music\\a.mp3", "C:\\Music\\list.m3u", "C:\\Music\\\xB8\xE8.mp3"}));

    const std::pair<const char*, bool> single[] = {
        {"C:\\Music\\list.m3u", true}, {"C:\\Music\\list.M3U", true}, {"C:\\Music\\list.M3u", false},
        {"C:\\Music\\a.mp3", false}};
    for (const auto& [path, replace] : single) {
        plan = PlanOpenFiles(path, strlen(path) + 1, false, GbkLeadByte);
        EXPECT_EQ(plan.replacePlaylist, replace) << path;
        EXPECT_EQ(plan.paths, std::vector<std::string>{path});
        EXPECT_EQ(plan.directory, "");
    }
    EXPECT_TRUE(PlanOpenFiles("", 1, false, GbkLeadByte).paths.empty());
}

// After rows go, the order must name only rows that exist, each once, and stay on the
// row it was on (or the next one) without reshuffling what is left.
TEST(RowsDeleted, KeepsTheOrderOfTheRowsLeftAndThePlace) {
    struct Case {
        std::vector<int> order;
        int position;
        std::vector<int> deleted;
        std::vector<int> after;
        int positionAfter;
    };
    const Case cases[] = {
        {{0, 1, 2, 3, 4}, 2, {4, 1}, {0, 1, 2}, 1},       // list order, the current row kept
        {{3, 0, 4, 1, 2}, 2, {4}, {3, 0, 1, 2}, 2},       // shuffled, the current row deleted
        {{3, 0, 4, 1, 2}, 4, {4, 3, 2}, {0, 1}, 1},       // the position past the rows left
        {{2, 0, 1}, 1, {2, 1, 0}, {}, 0},                 // all gone
        {{0, 1, 2, 3}, 3, {3}, {0, 1, 2}, 2},             // the last row, current
    };
    for (const Case& c : cases) {
        PlayOrder order;
        VectorRows rows;
        // The case's permutation, recorded as the order by appending.
        for (size_t i = 0; i < c.order.size(); ++i) {
            rows.entries.push_back(std::make_unique<PlaylistEntry>("r"));
            order.AppendRow(static_cast<int>(i), c.order[i]);
        }
        for (int i = 0; i < c.position; ++i) order.StepNext(rows);
        for (int row : c.deleted) rows.entries.erase(rows.entries.begin() + row);
        order.RowsDeleted(rows, c.deleted);
        std::vector<int> first(order.Order().begin(), order.Order().begin() + rows.RowCount());
        EXPECT_EQ(first, c.after);
        EXPECT_EQ(order.Position(), c.positionAfter);
    }
}

}  // namespace
