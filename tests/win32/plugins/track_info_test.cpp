// What Open reports and what it refuses.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "harness.h"

namespace {

// `start` followed by `times` copies of `text`.
std::string Repeat(const std::string& text, int times, std::string start = "") {
    std::string result = std::move(start);
    for (int i = 0; i < times; ++i) result += text;
    return result;
}

std::string Audio(const std::string& name) {
    return "audio\\" + name;
}

// Opens with a record full of junk, as the program's records may be.
bool OpenInfo(const std::string& path, TrackInfo& info) {
    memset(&info, 0x7F, sizeof(info));
    const int opened = TheInput()->Open(path.c_str(), &info);
    TheInput()->Close();
    return opened != 0;
}

struct TrackCase {
    const char* file;
    std::string title;
    std::string artist;
    int bitrate;
    int sampleRate;
    int length;
};

class TrackInfoTest : public ::testing::TestWithParam<TrackCase> {};

TEST_P(TrackInfoTest, TagsInTheAnsiCodePageAndExactNumbers) {
    const TrackCase& c = GetParam();
    TrackInfo info;
    ASSERT_TRUE(OpenInfo(Audio(c.file), info));
    EXPECT_EQ(std::string(info.title, strnlen(info.title, sizeof(info.title))), c.title);
    EXPECT_EQ(std::string(info.artist, strnlen(info.artist, sizeof(info.artist))), c.artist);
    EXPECT_LT(strnlen(info.title, sizeof(info.title)), sizeof(info.title));
    EXPECT_LT(strnlen(info.artist, sizeof(info.artist)), sizeof(info.artist));
    EXPECT_EQ(info.bitrate, c.bitrate);
    EXPECT_EQ(info.sampleRate, c.sampleRate);
    EXPECT_EQ(info.length, c.length);
}

INSTANTIATE_TEST_SUITE_P(
    Files, TrackInfoTest,
    ::testing::Values(
        TrackCase{"tag-none.mp3", "", "", 128, 44100, 4}, TrackCase{"tag-v1.mp3", "旧标签", "Old Artist", 128, 44100, 4},
        TrackCase{"tag-v1-cut.mp3", Repeat("汉", 14, "a"), "x", 128, 44100, 4},
        // é is in GBK; ë is not, and its Latin-1 byte is no GBK text either.
        TrackCase{"tag-v22-latin1.mp3", "Café Song", "Zo?", 128, 44100, 4},
        TrackCase{"tag-v23-utf16.mp3", "你好世界", "WuzzlePlayer 乐队", 128, 44100, 4},
        TrackCase{"tag-v24-utf8.mp3", "春天的故事", "小明", 128, 44100, 4},
        TrackCase{"tag-latin1-gbk.mp3", "月光小夜曲", "晓风", 128, 44100, 4},
        TrackCase{"tag-long.mp3", Repeat("长", 62, "ab"), Repeat("x", 127), 128, 44100, 4},
        TrackCase{"tag-v2-title-v1-artist.mp3", "新标题", "V1 Artist", 128, 44100, 4},
        TrackCase{"中文目录\\歌曲.mp3", "中文歌曲", "", 128, 44100, 4},
        TrackCase{"cbr128-noinfo.mp3", "", "", 128, 44100, 4}, TrackCase{"tone1s.mp3", "", "", 128, 44100, 1},
        TrackCase{"mono22.mp3", "", "", 48, 22050, 4}, TrackCase{"mono22-64.mp3", "", "", 64, 22050, 1},
        TrackCase{"lsf22.mp3", "", "", 64, 22050, 4}, TrackCase{"mpeg25-8k.mp3", "", "", 16, 8000, 4},
        TrackCase{"layer2.mp2", "", "", 192, 48000, 4}, TrackCase{"big-tag.mp3", "Big Tag", "", 128, 44100, 4},
        // Files that tell more than they hold, or froze the player once: each reports
        // what it holds.
        TrackCase{"comm-60000.mp3", "Many Frames", "At The End", 128, 44100, 4},
        TrackCase{"tag-claims-256mb.mp3", "Claims 256 MB", "", 128, 44100, 4},
        TrackCase{"tag-overclaim.mp3", "x", "", 128, 44100, 1},
        TrackCase{"tag-claims-into-audio.mp3", "Claims Too Much", "", 128, 44100, 4},
        TrackCase{"info-466000-frames.mp3", "", "", 128, 44100, 3}, TrackCase{"info-flipped-bit.mp3", "", "", 128, 44100, 4},
        TrackCase{"cut-quarter.mp3", "", "", 128, 44100, 7}, TrackCase{"format-change.mp3", "", "", 88, 8000, 3}),
    [](const auto& info) {
        std::string name = std::to_string(info.index) + "_" + info.param.file;
        for (char& c : name) c = isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return name;
    });

// Six seconds, the first of them silence: a length guessed from the first frames and
// the file size would be far off.
TEST(TrackNumbersVbrTest, LengthExactWithAndWithoutXingAndBitrateIsTheAverage) {
    for (const char* file : {"vbr-xing.mp3", "vbr-noxing.mp3"}) {
        SCOPED_TRACE(file);
        TrackInfo info;
        ASSERT_TRUE(OpenInfo(Audio(file), info));
        EXPECT_EQ(info.length, 6);
        EXPECT_EQ(info.sampleRate, 44100);
        WIN32_FILE_ATTRIBUTE_DATA attributes;
        ASSERT_TRUE(GetFileAttributesExA(Audio(file).c_str(), GetFileExInfoStandard, &attributes));
        const double average = attributes.nFileSizeLow * 8.0 / 6.0 / 1000.0;
        EXPECT_NEAR(info.bitrate, average, average * 0.03);
    }
}

struct BadCase {
    const char* name;
    const char* file;
};

class BadInputTest : public ::testing::TestWithParam<BadCase> {};

// Refused, and nothing is kept open: the file can be deleted at once.
TEST_P(BadInputTest, IsRefusedAndNothingStaysOpen) {
    const BadCase& c = GetParam();
    const std::string copy = std::string("refused-") + c.name + ".mp3";
    CopyFileA(Audio(c.file).c_str(), copy.c_str(), FALSE);
    const HANDLE next = NextHandle();
    TrackInfo info;
    EXPECT_EQ(TheInput()->Open(copy.c_str(), &info), 0);
    EXPECT_EQ(TheInput()->GetState(), PlayerState::Stopped);
    TheInput()->Play();
    EXPECT_EQ(TheInput()->GetState(), PlayerState::Stopped) << "nothing to play";
    EXPECT_EQ(NextHandle(), next);
    if (GetFileAttributesA(copy.c_str()) != INVALID_FILE_ATTRIBUTES) {
        EXPECT_TRUE(DeleteFileA(copy.c_str()));
    }
}

INSTANTIATE_TEST_SUITE_P(Files, BadInputTest,
                         ::testing::Values(BadCase{"missing", "no-such-file.mp3"}, BadCase{"empty", "empty.mp3"},
                                           BadCase{"text", "text.mp3"}, BadCase{"random", "random.mp3"},
                                           BadCase{"cut_frame", "cut-frame.mp3"}),
                         [](const auto& info) { return std::string(info.param.name); });

// Only files on a disk: reading a pipe or a device could block the program, so they
// are refused, as are a directory and a file another program holds open alone, and no
// handle stays open.
TEST(SpecialPathTest, IsRefusedAndLeavesNothingOpen) {
    HANDLE pipe = CreateNamedPipeA("\\\\.\\pipe\\wuzzle-special", PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 1, 4096, 4096,
                                   0, nullptr);
    ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(CopyFileA(Audio("tone1s.mp3").c_str(), "held.mp3", FALSE));
    HANDLE held = CreateFileA("held.mp3", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    for (const char* path : {"\\\\.\\pipe\\wuzzle-special", "CON", "NUL", "COM1", "\\\\.\\PhysicalDrive0", "audio",
                             "held.mp3"}) {
        SCOPED_TRACE(path);
        const HANDLE next = NextHandle();
        TrackInfo info;
        EXPECT_EQ(TheInput()->Open(path, &info), 0);
        EXPECT_EQ(NextHandle(), next);
    }
    CloseHandle(pipe);
    CloseHandle(held);
    DeleteFileA("held.mp3");
}

// A plug-in built by another compiler knows the table only by position. Called here by
// position (1 SetOutput, 2 SetCallback, 3 Open, 4 Close, 5 GetState, 6 Play, 7 Stop,
// 8 Pause, 9 Resume, 11 SetVolume) and the record by offset, not through the shared
// header, so that a reordered header fails.
TEST(InputPluginTable, EachOperationSitsInItsDocumentedSlot) {
    void* object = TheInput();
    void** table = *static_cast<void***>(object);
    auto call = [&](int slot) { reinterpret_cast<void(__attribute__((thiscall))*)(void*)>(table[slot])(object); };
    auto state = [&] { return reinterpret_cast<int(__attribute__((thiscall))*)(void*)>(table[5])(object); };
    using Pair = void(__attribute__((thiscall))*)(void*, void*, void*);
    EventLog log;
    reinterpret_cast<Pair>(table[1])(object, TheCapture("", true), nullptr);
    reinterpret_cast<Pair>(table[2])(object, reinterpret_cast<void*>(&EventLog::Record), &log);
    reinterpret_cast<void(__attribute__((thiscall))*)(void*, int, int)>(table[11])(object, 40, 60);

    unsigned char info[272];
    memset(info, 0x7F, sizeof(info));
    using Open = int(__attribute__((thiscall))*)(void*, const char*, void*);
    ASSERT_NE(reinterpret_cast<Open>(table[3])(object, "audio\\tag-v24-utf8.mp3", info), 0);
    EXPECT_STREQ(reinterpret_cast<char*>(info), "春天的故事");
    EXPECT_STREQ(reinterpret_cast<char*>(info + 128), "小明");
    const int* numbers = reinterpret_cast<int*>(info + 260);
    EXPECT_EQ(numbers[0], 128);
    EXPECT_EQ(numbers[1], 44100);
    EXPECT_EQ(numbers[2], 4);

    const int expected[] = {0, 1, 2, 1, 0};
    const int slots[] = {6, 8, 9, 7};
    EXPECT_EQ(state(), expected[0]);
    for (int i = 0; i < 4; ++i) {
        call(slots[i]);
        EXPECT_EQ(state(), expected[i + 1]) << "after slot " << slots[i];
    }
    call(4);
    EXPECT_EQ(log.Count(PlaybackEvent::TrackEnded), 0);
    TheInput()->SetCallback(nullptr, nullptr);
    TheInput()->SetVolume(100, 100);
}

}  // namespace
