// What Open reports and what it refuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "harness.h"

namespace {

// `start` followed by `times` copies of `text`.
std::string Repeat(const std::string& text, int times, std::string start = "") {
    for (int i = 0; i < times; ++i) start += text;
    return start;
}

std::string Audio(const std::string& name) {
    return "audio\\" + name;
}

// What the reader thread calls: the same details as Open, on any thread.
int Describe(const std::string& path, TrackInfo* info) {
    static const auto describe = reinterpret_cast<DescribeFileExport>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA(PluginPath("Input.ini").c_str()), "DescribeFile")));
    return describe(path.c_str(), info);
}

std::string Shown(const TrackInfo& info) {
    return std::string(info.title, strnlen(info.title, 128)) + "|" + std::string(info.artist, strnlen(info.artist, 128)) +
           "|" + std::to_string(info.bitrate) + "|" + std::to_string(info.sampleRate) + "|" + std::to_string(info.length);
}

// The handle value the system gives out next. Wine's handle count stays 0, but it
// gives out the lowest free value: the same value before and after a call means that
// the call left no handle open.
HANDLE NextHandle() {
    HANDLE handle = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    CloseHandle(handle);
    return handle;
}

TEST(TrackInfoTest, TagsInTheAnsiCodePageAndExactNumbers) {
    struct TrackCase {
        const char* file;
        std::string title, artist;
        int bitrate;  // 0: the average over the file
        int sampleRate, length;
    };
    const TrackCase cases[] = {
        {"tag-none.mp3", "", "", 128, 44100, 4},
        {"tag-v1.mp3", "旧标签", "Old Artist", 128, 44100, 4},
        {"tag-v1-cut.mp3", Repeat("汉", 14, "a"), "x", 128, 44100, 4},
        // é is in GBK; ë is not, and its Latin-1 byte is no GBK text either.
        {"tag-v22-latin1.mp3", "Café Song", "Zo?", 128, 44100, 4},
        {"tag-v23-utf16.mp3", "你好世界", "WuzzlePlayer 乐队", 128, 44100, 4},
        {"tag-v24-utf8.mp3", "春天的故事", "小明", 128, 44100, 4},
        {"tag-latin1-gbk.mp3", "月光小夜曲", "晓风", 128, 44100, 4},
        {"tag-long.mp3", Repeat("长", 62, "ab"), std::string(127, 'x'), 128, 44100, 4},
        {"tag-v2-title-v1-artist.mp3", "新标题", "V1 Artist", 128, 44100, 4},
        {"中文目录\\歌曲.mp3", "中文歌曲", "", 128, 44100, 4},
        {"cbr128-noinfo.mp3", "", "", 128, 44100, 4},
        {"tone1s.mp3", "", "", 128, 44100, 1},
        {"mono22.mp3", "", "", 48, 22050, 4},
        {"mono22-64.mp3", "", "", 64, 22050, 1},
        {"lsf22.mp3", "", "", 64, 22050, 4},
        {"mpeg25-8k.mp3", "", "", 16, 8000, 4},
        {"layer2.mp2", "", "", 192, 48000, 4},
        {"big-tag.mp3", "Big Tag", "", 128, 44100, 4},
        // Six seconds, the first of them silence: a length guessed from the first
        // frames and the file size would be far off.
        {"vbr-xing.mp3", "", "", 0, 44100, 6},
        {"vbr-noxing.mp3", "", "", 0, 44100, 6},
        // Files that tell more than they hold, or froze the player once: each reports
        // what it holds.
        {"comm-60000.mp3", "Many Frames", "At The End", 128, 44100, 4},
        {"tag-claims-256mb.mp3", "Claims 256 MB", "", 128, 44100, 4},
        {"tag-overclaim.mp3", "x", "", 128, 44100, 1},
        {"tag-claims-into-audio.mp3", "Claims Too Much", "", 128, 44100, 4},
        {"info-466000-frames.mp3", "", "", 128, 44100, 3},
        {"info-flipped-bit.mp3", "", "", 128, 44100, 4},
        {"cut-quarter.mp3", "", "", 128, 44100, 7},
        {"format-change.mp3", "", "", 88, 8000, 3},
        // The other formats: Vorbis comments of any case, the first of a repeated field;
        // WAV INFO texts in UTF-8 or the code page; bit rates of what the file holds.
        {"flac44.flac", "春天的故事", "小明", 0, 44100, 4},
        {"flac24-96.flac", "", "", 0, 96000, 3},
        {"flac-ogg.oga", "", "", 0, 16000, 4},
        {"vorbis44.ogg", "夏天", "晓风", 72, 44100, 4},
        {"opus44.opus", "秋天", "WuzzlePlayer 乐队", 106, 48000, 4},
        // A picture in the comments is no audio: the bit rate of the same audio without it.
        {"vorbis44-cover.ogg", "", "", 72, 44100, 4}, {"opus44-cover.opus", "", "", 106, 48000, 4},
        {"wav16.wav", "", "", 1411, 44100, 4},
        {"wav8m.wav", "晓风", "", 176, 22050, 4},
        {"wav24.wav", "春天的故事", "小明", 2117, 44100, 4},
        {"wav-float.wav", "", "", 3072, 48000, 4},
        {"vorbis-chain.ogg", "", "", 58, 8000, 3},
        // 5.1, which plays as stereo: the rate and bit rate are still the file's.
        {"surround.wav", "", "", 4234, 44100, 2}, {"surround.flac", "", "", 891, 44100, 2},
        {"surround.ogg", "", "", 43, 44100, 2}, {"surround.opus", "", "", 0, 48000, 2},
        // MP4, ASF and APEv2 tags; 3.99 s without the encoder's priming and padding (by an
        // edit list, by iTunes's tag); HE-AAC at the rate it plays; raw AAC estimated.
        {"aac44.m4a", "春天的故事", "小明", 129, 44100, 3}, {"itunes.m4a", "春天的故事", "小明", 129, 44100, 3},
        {"aac22m.m4a", "", "", 49, 22050, 4}, {"he-aac.m4a", "", "", 48, 44100, 4},
        {"adts44.aac", "夏天", "晓风", 130, 44100, 4}, {"alac44.m4a", "春天的故事", "小明", 292, 44100, 4},
        {"alac24-96.m4a", "", "", 2099, 96000, 3}, {"wma44.wma", "春天的故事", "小明", 128, 44100, 4},
        {"wma1-22m.wma", "", "", 32, 22050, 4}, {"wv44.wv", "春天的故事", "小明", 269, 44100, 3},
        {"wv22m.wv", "", "", 145, 22050, 4}, {"surround.m4a", "", "", 257, 44100, 2},
        {"surround.wv", "", "", 1673, 44100, 2},
        {"mp3-named.m4a", "", "", 128, 44100, 4}, {"mp3-named.wma", "", "", 128, 44100, 4},
        {"mp3-named.ogg", "", "", 128, 44100, 4},
        {"wav-named.mp3", "", "", 1411, 44100, 4},
        // Damaged: cut short, a length that lies, a comment that claims gigabytes.
        {"flac-cut.flac", "", "", 229, 44100, 4},
        {"flac-lies.flac", "春天的故事", "小明", 0, 44100, 4},
        {"flac-comment-4gb.flac", "", "", 0, 44100, 4},
        {"vorbis-cut.ogg", "", "", 82, 44100, 7},
        {"vorbis-lies.ogg", "夏天", "晓风", 71, 44100, 4},
        {"opus-cut.opus", "", "", 123, 48000, 2},
        {"opus-lies.opus", "秋天", "WuzzlePlayer 乐队", 0, 48000, 4},
        {"wav-cut.wav", "", "", 1411, 44100, 2},
        {"wav-lies.wav", "", "", 1411, 44100, 3},
        {"wav-list-4gb.wav", "Claims 4 GB", "", 1411, 44100, 1},
        {"wav-text-wraps.wav", "Wraps", "", 1411, 44100, 1},
        {"wav-text-past.wav", "Past", "", 1411, 44100, 1},
        {"m4a-cut.m4a", "", "", 129, 44100, 7}, {"m4a-title-4gb.m4a", "", "小明", 129, 44100, 3},
        {"m4a-moov-4gb.m4a", "春天的故事", "小明", 129, 44100, 3}, {"adts-cut.aac", "", "", 131, 44100, 22},
        {"wma-cut.wma", "", "", 128, 44100, 8}, {"wv-cut.wv", "", "", 259, 44100, 5},
        {"wv-tag-4gb.wv", "", "", 270, 44100, 3}, {"wv-block-4gb.wv", "春天的故事", "小明", 269, 44100, 3},
    };
    for (const TrackCase& c : cases) {
        SCOPED_TRACE(c.file);
        TrackInfo info;
        memset(&info, 0x7F, sizeof(info));  // junk, as the program's records may hold
        ASSERT_NE(TheInput()->Open(Audio(c.file).c_str(), &info), 0);
        TheInput()->Close();
        TrackInfo described;
        memset(&described, 0x7F, sizeof(described));
        ASSERT_NE(Describe(Audio(c.file), &described), 0);
        EXPECT_EQ(Shown(described), Shown(info));
        EXPECT_EQ(std::string(info.title, strnlen(info.title, sizeof(info.title))), c.title);
        EXPECT_EQ(std::string(info.artist, strnlen(info.artist, sizeof(info.artist))), c.artist);
        WIN32_FILE_ATTRIBUTE_DATA file;
        ASSERT_TRUE(GetFileAttributesExA(Audio(c.file).c_str(), GetFileExInfoStandard, &file));
        const double average = file.nFileSizeLow * 8.0 / c.length / 1000.0;
        EXPECT_NEAR(info.bitrate, c.bitrate ? c.bitrate : average, c.bitrate ? 0 : average * 0.03);
        EXPECT_EQ(info.sampleRate, c.sampleRate);
        EXPECT_EQ(info.length, c.length);
    }
}

// What is not audio, or whose decoder's header claims gigabytes, is refused, and nothing
// stays open: a file can then be opened for exclusive use (the loaded modules aside).
TEST(BadInputTest, IsRefusedAndNothingStaysOpen) {
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, sizeof(program));
    for (const std::string& path :
         {Audio("no-such-file.mp3"), Audio("empty.mp3"), Audio("text.mp3"), Audio("random.mp3"), Audio("cut-frame.mp3"),
          Audio("picture.bmp"), Audio("zeros-1gb.mp3"), Audio("wav-adpcm.wav"), Audio("vorbis-comment-4gb.ogg"),
          Audio("opus-comment-4gb.opus"), Audio("wma-object-4gb.wma"), PluginPath("Input.ini"),
          std::string(program)}) {
        SCOPED_TRACE(path);
        const HANDLE next = NextHandle();
        TrackInfo info;
        EXPECT_EQ(TheInput()->Open(path.c_str(), &info), 0);
        EXPECT_EQ(Describe(path, &info), 0);
        EXPECT_EQ(TheInput()->GetState(), PlayerState::Stopped);
        TheInput()->Play();
        EXPECT_EQ(TheInput()->GetState(), PlayerState::Stopped) << "nothing to play";
        EXPECT_EQ(NextHandle(), next);
        if (path.rfind("audio\\", 0) != 0) continue;  // the loaded modules are the system's to hold
        const HANDLE alone = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_EQ(alone != INVALID_HANDLE_VALUE, path != Audio("no-such-file.mp3"));
        if (alone != INVALID_HANDLE_VALUE) CloseHandle(alone);
    }
}

// Another compiler's plug-in knows the table by position and the states by number:
// slots 5 GetState, 6 Play, 7 Stop, 8 Pause, 9 Resume, called here as MSVC calls them
// (thiscall on 32-bit Windows; the build checks the slots' places).
#ifdef __i386__
#define SLOT_CALL __attribute__((thiscall))
#else
#define SLOT_CALL
#endif
TEST(InputPluginTable, StatesComeByTheirNumbersThroughTheirSlots) {
    InputPlugin* input = TheInput();
    void** table = *reinterpret_cast<void***>(input);
    auto stateAfter = [&](int slot) {
        reinterpret_cast<void(SLOT_CALL*)(void*)>(table[slot])(input);
        return reinterpret_cast<int(SLOT_CALL*)(void*)>(table[5])(input);
    };
    input->SetOutput(TheCapture("", true));
    TrackInfo info;
    ASSERT_NE(input->Open("audio\\tone1s.mp3", &info), 0);
    EXPECT_EQ(stateAfter(6), 1) << "Play";
    EXPECT_EQ(stateAfter(8), 2) << "Pause";
    EXPECT_EQ(stateAfter(9), 1) << "Resume";
    EXPECT_EQ(stateAfter(7), 0) << "Stop";
    input->Close();
}

// What the program times and shows: the lyrics of each format, as LRC text in UTF-8.
TEST(LyricsExport, GivesEachFormatsLyricsAsLrcText) {
    TheInput();  // the module loaded
    const auto lyrics = reinterpret_cast<LyricsExport>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("Input.ini"), "GetLyrics")));
    ASSERT_NE(lyrics, nullptr);
    const std::pair<const char*, const char8_t*> cases[] = {
        {"lyrics-sylt.mp3", u8"[00:01.000]春天\n[00:02.000]\n[00:03.000]来了"},
        {"lyrics-uslt-gbk.mp3", u8"[00:01.00]春天"},
        {"lyrics.flac", u8"[00:01.00]春天来了\n[00:02.00]\n[00:03.00]花开了"},
        {"lyrics.ogg", u8"[00:00.50]夏天"},
        {"lyrics.opus", u8"[00:00.50]秋天"},
        {"tag-v24-utf8.mp3", nullptr},
        {"no-such-file.mp3", nullptr},
    };
    for (const auto& [file, text] : cases) {
        char buffer[256];
        const int size = lyrics(Audio(file).c_str(), buffer, sizeof(buffer));
        const std::string expected =
            text != nullptr ? "\xEF\xBB\xBF" + std::string(reinterpret_cast<const char*>(text)) : "";
        EXPECT_EQ(std::string(buffer, std::clamp(size, 0, 256)), expected) << file;
    }
}

}  // namespace
