// The lyrics inside music files: ID3v2 SYLT and USLT frames, and Vorbis comments. Which
// frame of a tag counts shows in the plug-in's own test of its export.
#include <gtest/gtest.h>

#include <functional>

#include "../../plugins/input/id3v2_tag.h"
#include "../../plugins/input/vorbis_comments.h"

namespace {

std::string U8(const char8_t* text) {
    return reinterpret_cast<const char*>(text);
}

std::string Be32(uint32_t n) {
    return {char(n >> 24), char(n >> 16), char(n >> 8), char(n)};
}

// A SYLT frame's content: UTF-8 texts unless told, times in milliseconds, lyrics.
std::string Sylt(const std::string& entries, char format = 2, char type = 1, char encoding = 3) {
    return std::string{encoding, 'c', 'h', 'i', format, type} + std::string(encoding == 1 ? 2 : 1, '\0') + entries;
}

std::string Entry(const std::string& text, uint32_t time) {
    return text + std::string(1, '\0') + Be32(time);
}

std::string Comments(std::string_view first, std::string_view second) {
    CommentTexts texts;
    texts.Take(first);
    texts.Take(second);
    return texts.Lyrics();
}

TEST(LyricTags, SyltUsltAndCommentsAsLrcText) {
    // Each text of its own byte order mark and two NULs; "\n" marks a new line.
    const std::string utf16Syllables = Entry(std::string("\xFF\xFE\n\0\x25\x66\0", 7), 1000) +
                                       Entry(std::string("\xFF\xFE\x29\x59\0", 5), 1200) +
                                       Entry(std::string("\xFF\xFE\n\0\x65\x67\0", 7), 3000);
    const std::string uslt = std::string("\3eng") + "d" + std::string(1, '\0') + "[00:01.00]x";
    const struct {
        const char* name;
        std::function<std::string()> read;
        std::string lrc;
    } cases[] = {
        {"SyltLinesInMilliseconds", [] { return SyltLrc(Sylt(Entry(U8(u8"第一"), 1000) + Entry("two", 62500)), 0); },
         U8(u8"[00:01.000]第一\n[01:02.500]two")},
        {"SyltUtf16SyllablesMakeLinesAtTheirFirst", [&] { return SyltLrc(Sylt(utf16Syllables, 2, 1, 1), 0); },
         U8(u8"[00:01.000]春天\n[00:03.000]来")},
        {"SyltInMpegFramesOf26ms", [] { return SyltLrc(Sylt(Entry("x", 100), 1), 1152000.0 / 44100); }, "[00:02.612]x"},
        {"SyltOfChordsIsNotSung", [] { return SyltLrc(Sylt(Entry("Am", 100), 2, 5), 0); }, ""},
        {"SyltCutInAnEntryKeepsTheEntriesBefore",
         [] { return SyltLrc(Sylt(Entry("a", 100) + "b" + std::string(1, '\0') + "\0\0", 2), 0); }, "[00:00.100]a"},
        {"SyltWithoutTheDescriptionsEnd", [] { return SyltLrc(std::string("\3chi\2\1desc"), 0); }, ""},
        {"UsltTextAfterItsDescription", [&] { return UsltText(uslt); }, "[00:01.00]x"},
        {"CommentLyricsInAnyCase", [] { return Comments("lyrics=[00:01.00]a", "LYRICS=second"); }, "[00:01.00]a"},
        {"UnsyncedLyricsOnlyWithoutLyrics", [] { return Comments("UNSYNCEDLYRICS=u", "Lyrics=[00:02.00]b"); },
         "[00:02.00]b"},
        {"UnsyncedLyricsAlone", [] { return Comments("TITLE=t", "UNSYNCEDLYRICS=u"); }, "u"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.read(), c.lrc) << c.name;
}

}  // namespace
