// The LRC reader and the line due at a moment of the track.
#include "lyrics/lyrics.h"

#include <gtest/gtest.h>

namespace {

std::string U8(const char8_t* text) {
    return reinterpret_cast<const char*>(text);
}

// "ms=text;" a line, after "utf8:" or "ansi:".
std::string Render(const Lyrics& lyrics) {
    std::string out = lyrics.utf8 ? "utf8:" : "ansi:";
    for (const LyricLine& line : lyrics.lines) out += std::to_string(line.ms) + "=" + line.text + ";";
    return out;
}

TEST(ReadLrc, TimesTagsOffsetsAndEncodings) {
    const struct {
        const char* name;
        std::string bytes, lines;
    } cases[] = {
        {"EachPrecisionOfTime", "[00:01.5]a\n[00:02.25]b\r\n[00:03.125]c\r[01:04]d\n[00:05:50]e",
         "utf8:1500=a;2250=b;3125=c;5500=e;64000=d;"},
        {"ALineSungTwiceSortedIn", "[00:04.00][00:08.00]x\n[00:06.00]y", "utf8:4000=x;6000=y;8000=x;"},
        {"PositiveOffsetBringsLinesSooner", "[00:01.00]a\n[offset:+500]\n[00:00.20]b", "utf8:0=b;500=a;"},
        {"NegativeOffsetTakesThemLater", "[Offset: -250]\n[00:01.00]a", "utf8:1250=a;"},
        {"TagsUnknownTagsAndUntimedTextLeftOut",
         "[ti:歌]\n[ar:x]\n[al:y]\n[by:z]\n[length:03:00]\n[re:tool]\n  [00:01.00]  a  \nplain", "ansi:1000=a;"},
        {"PlainTextIsNoLyrics", "just words\nno times", "utf8:"},
        {"WordTimesTakenOut", "[00:01.00]<00:01.00>春 <00:01.50>天<b>", "ansi:1000=春 天<b>;"},
        {"EmptyLineIsABreak", "[00:01.00]a\n[00:02.00]\n[00:03.00] \t", "utf8:1000=a;2000=;3000=;"},
        {"LinesOfOneTimeShowTogether", "[00:01.00]a\n[00:01.00]b\n[00:02.00]\n[00:02.00]c", "utf8:1000=a\r\nb;2000=c;"},
        {"DamagedLinesLeftOut", "[00:0x.00]a\n[00:01.00\n[00:02.00]b\n[0:3.1234]c\n[-1:00.00]d\n[00:04.00][bad]e",
         "utf8:2000=b;4000=[bad]e;"},
        {"Utf8ByTheBytes", U8(u8"[00:01.00]春天"), U8(u8"utf8:1000=春天;")},
        {"Utf8AfterItsMark", "\xEF\xBB\xBF" + U8(u8"[00:01.00]春"), U8(u8"utf8:1000=春;")},
        // "[00:01]春" each way round
        {"Utf16LittleEndian", std::string("\xFF\xFE[\0000\0000\0:\0000\0001\0]\0\x25\x66", 18), U8(u8"utf8:1000=春;")},
        {"Utf16BigEndian", std::string("\xFE\xFF\0[\0000\0000\0:\0000\0001\0]\x66\x25", 18), U8(u8"utf8:1000=春;")},
    };
    for (const auto& c : cases) EXPECT_EQ(Render(ReadLrc(c.bytes)), c.lines) << c.name;
}

// A file past the limits: its first megabyte up to its last whole line there (a
// character cut at the limit makes no other encoding), and its first 10,000 lines.
TEST(ReadLrc, KeepsTheFirstMegabyteAndTenThousandLines) {
    auto lines = [](int count, const std::string& text) {
        std::string bytes;
        char time[16];
        for (int i = 0; i < count; ++i) {
            std::snprintf(time, sizeof(time), "[%02d:%02d.%02d]", i / 6000, i / 100 % 60, i % 100);
            bytes += time + text + "\n";
        }
        return bytes;
    };
    // 111 bytes a line: the megabyte ends inside the 9,447th line's "春".
    const Lyrics megabyte = ReadLrc(lines(9500, std::string(58, 'x') + U8(u8"春") + std::string(39, 'x')));
    EXPECT_EQ(megabyte.lines.size(), 9446u);
    EXPECT_TRUE(megabyte.utf8);
    const Lyrics many = ReadLrc(lines(12000, "a"));
    EXPECT_EQ(many.lines.size(), kLyricLinesKept);
    EXPECT_EQ(many.lines.back().ms, 99990);
}

// Each step goes to a time, in play or by a jump, and finds what is due there.
TEST(LyricTimeline, FindsTheLineDueAnywhereAndWhenTheNextIsDue) {
    LyricTimeline timeline({{1000, "a"}, {2000, ""}, {3000, "b"}});
    const struct {
        int64_t ms;
        bool changed;
        const char* due;  // null: before the first line
        int64_t next;
    } steps[] = {
        {0, false, nullptr, 1000},
        {999, false, nullptr, 1000},
        {1000, true, "a", 2000},
        {1999, false, "a", 2000},
        {2000, true, "", 3000},    // the break
        {3000, true, "b", 13000},  // the last line, for ten seconds
        {13000, true, "", LyricTimeline::kNever},
        {2500, true, "", 3000},      // a jump back into the break
        {500, true, nullptr, 1000},  // and before the first line
        {3500, true, "b", 13000},    // a jump forward
    };
    for (const auto& step : steps) {
        EXPECT_EQ(timeline.Advance(step.ms), step.changed) << step.ms;
        const std::string* due = timeline.Due();
        EXPECT_EQ(due != nullptr ? *due : "(none)", step.due != nullptr ? step.due : "(none)") << step.ms;
        EXPECT_EQ(timeline.NextChange(), step.next) << step.ms;
    }
}

}  // namespace
