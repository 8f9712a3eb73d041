// The playlist made without opening a file: rows at once, details arriving by entry
// (never by row) from the reader's queue, and the cache that carries them to the next
// run.
#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "playlist/playlist_model.h"
#include "playlist_fakes.h"

namespace {

// Rows a, b, c ... as the list shows them: "artist|title|length", a blank between rows.
std::string Shown(PlaylistModel& list) {
    std::string shown;
    for (int row = 0; row < list.RowCount(); ++row) {
        const PlaylistEntry& entry = list.Row(row);
        shown += (row > 0 ? " " : "") + std::string(ArtistText(entry)) + "|" + entry.info.title + "|" +
                 LengthText(entry);
    }
    return shown;
}

// The file of entry `id` read: its title is the letter of that entry.
DetailResult Read(uint32_t id, Found found = Found::Read) {
    DetailResult result{id, found, {100 * id, 7}, {"", "Artist", 0, 128, 44100, 200}};
    result.info.title[0] = static_cast<char>('A' + id - 1);
    return result;
}

struct Reading {
    explicit Reading(const std::string& files, TrackCache cache = {}) {
        list.UseCache(std::move(cache), 20000);
        list.ReadWith(queue);
        for (char file : files) list.Add(std::string("C:\\m\\") + file + ".mp3", file == 't' ? "Listed" : "", file != 'h');
    }
    std::shared_ptr<DetailQueue> queue = std::make_shared<DetailQueue>();
    PlaylistModel list{GbkLeadByte};
};

// 'h' a file added by hand, 't' a line titled by its list, any other letter a line.
TEST(PlaylistModel, ARowShowsItsNameUntilItsFileIsReadAndGoesOnlyWhenItCanNeverPlay) {
    const std::tuple<const char*, Found, const char*> cases[] = {
        {"ab", Found::Unchanged, "|a| |b|"},  // nothing read yet
        {"ab", Found::Read, "Artist|A|03:20 |b|"},
        {"ab", Found::Refused, "不明|a|--:-- |b|"},
        {"tb", Found::Refused, "不明|Listed|--:-- |b|"},
        {"tb", Found::Read, "Artist|A|03:20 |b|"},
        {"hb", Found::Refused, "|b|"},
        {"ab", Found::Folder, "|b|"},
    };
    for (const auto& [files, found, shown] : cases) {
        Reading reading(files);
        reading.list.TakeDetails({Read(1, found)});
        EXPECT_EQ(Shown(reading.list), shown) << files << " " << static_cast<int>(found);
    }
}

TEST(PlaylistModel, ALateResultLandsOnItsOwnEntryWhereverItMovedOrNowhere) {
    const std::pair<std::function<void(PlaylistModel&)>, const char*> cases[] = {
        {[](PlaylistModel& list) { list.MoveRow(0, 1); }, "Artist|B|03:20 Artist|A|03:20 Artist|C|03:20"},
        {[](PlaylistModel& list) { list.DeleteRows({1}); }, "Artist|A|03:20 Artist|C|03:20"},
        {[](PlaylistModel& list) { list.Clear(), list.Add("C:\\m\\d.mp3"); }, "|d|"},
    };
    for (const auto& [act, shown] : cases) {
        Reading reading("abc");
        act(reading.list);
        reading.list.TakeDetails({Read(1), Read(2), Read(3)});
        EXPECT_EQ(Shown(reading.list), shown);
    }
}

// The next run shows the details at once and asks the reader only to confirm them.
TEST(PlaylistModel, TheCacheShowsDetailsAtOnceAndHandsTheReaderItsStamps) {
    Reading first("ab");
    first.list.TakeDetails({Read(1), Read(2)});
    Reading next("bc", TrackCache(first.list.CacheBytes()));
    EXPECT_EQ(Shown(next.list), "Artist|B|03:20 |c|");
    DetailJob job;
    ASSERT_TRUE(next.queue->Wait(job));
    EXPECT_EQ(job.cached, (FileStamp{200, 7}));
    ASSERT_TRUE(next.queue->Wait(job));
    EXPECT_EQ(job.cached, FileStamp{});
}

struct Probe final : FileProbe {
    explicit Probe(bool there = true, bool isFolder = false, bool opens = true)
        : there(there), isFolder(isFolder), opens(opens) {}
    bool Stat(const std::string&, FileStamp& stamp, bool& folder) override {
        stamp = found;
        folder = isFolder;
        return there;
    }
    bool Describe(const std::string&, TrackInfo&) override { return ++described, opens; }
    bool there, isFolder, opens;
    FileStamp found = {4096, 99};
    int described = 0;
};

TEST(ReadDetails, OpensAFileOnlyWhenItsSizeOrTimeIsNotTheCachedOnes) {
    const std::tuple<Probe, FileStamp, Found, int> cases[] = {
        {Probe(), {4096, 99}, Found::Unchanged, 0},  {Probe(), {4095, 99}, Found::Read, 1},
        {Probe(), {4096, 98}, Found::Read, 1},       {Probe(), {}, Found::Read, 1},
        {Probe(false), {}, Found::Refused, 0},       {Probe(true, true), {}, Found::Folder, 0},
        {Probe(true, false, false), {}, Found::Refused, 1},
    };
    for (auto [probe, cached, found, described] : cases) {
        EXPECT_EQ(ReadDetails({1, "a.mp3", cached}, probe).found, found) << cached.size << " " << cached.writeTime;
        EXPECT_EQ(probe.described, described);
    }
}

uint32_t Sum(std::string_view bytes) {
    uint32_t sum = 2166136261u;
    for (char c : bytes) sum = (sum ^ static_cast<unsigned char>(c)) * 16777619u;
    return sum;
}

// `bytes` with its last four bytes the sum of what comes before.
std::string Summed(std::string bytes) {
    const uint32_t sum = Sum(std::string_view(bytes).substr(0, bytes.size() - 4));
    for (int i = 0; i < 4; ++i) bytes[bytes.size() - 4 + i] = static_cast<char>(sum >> (8 * i));
    return bytes;
}

TEST(TrackCache, AFileCutFlippedOfAnotherVersionOrClaimingTooManyIsNoCacheAtAll) {
    Reading reading("ab");
    reading.list.TakeDetails({Read(1), Read(2)});
    const std::string good = reading.list.CacheBytes();
    ASSERT_EQ(TrackCache(good).Size(), 2u);
    for (size_t i = 0; i < good.size(); ++i) {
        EXPECT_EQ(TrackCache(good.substr(0, i)).Size(), 0u) << "cut at " << i;
        std::string flipped = good;
        flipped[i] ^= 0x10;
        EXPECT_EQ(TrackCache(flipped).Size(), 0u) << "flipped at " << i;
    }
    std::string version = good, count = good, longer = good;
    version[4] = 2;
    count[8] = 3;
    longer.insert(longer.size() - 4, "x");
    for (const std::string& bytes : {version, count, longer}) EXPECT_EQ(TrackCache(Summed(bytes)).Size(), 0u);
}

TEST(TrackCache, KeepsTheListedAndDropsWhatWasNotListedForAMonth) {
    TrackCache spares;
    for (uint32_t day : {19969u, 19970u, 20001u}) spares.Give(std::to_string(day), {{1, 1}, "t", "a", 1, 2, 3, day});
    TrackCache kept(spares.Bytes({{"listed", {{1, 1}, "", "", 0, 0, 0, 0}}}, 20000));
    EXPECT_EQ(kept.Size(), 3u);
    CachedTrack track;
    EXPECT_FALSE(kept.Take("19969", track));
    EXPECT_TRUE(kept.Take("19970", track));
    EXPECT_EQ(track.title, "t");
    ASSERT_TRUE(kept.Take("listed", track));
    EXPECT_EQ(track.lastUsed, 20000u);
}

TEST(DetailQueue, TheRowsOnScreenComeFirstThenListOrderAndForgottenRowsNever) {
    DetailQueue queue;
    for (uint32_t id = 1; id <= 6; ++id) queue.Add({id, "", {}});
    queue.Prefer({{5, "", {}}, {3, "", {}}, {9, "", {}}});
    queue.Forget({2});
    std::string order;
    DetailJob job;
    for (int i = 0; i < 4 && queue.Wait(job); ++i) order += std::to_string(job.id);
    EXPECT_EQ(order, "5314");
    EXPECT_TRUE(queue.Deliver({}));
    EXPECT_FALSE(queue.Deliver({})) << "the window is told once until it takes them";
    EXPECT_EQ(queue.TakeResults().size(), 2u);
    // The exit while the reader waits for work: it wakes and ends.
    queue.Forget({6});
    std::thread reader([&] { EXPECT_FALSE(queue.Wait(job)); });
    queue.Stop();
    reader.join();
}

}  // namespace
