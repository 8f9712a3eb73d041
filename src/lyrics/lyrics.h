// Timed lyrics: LRC text, from a file beside the music or from the input plug-in, and
// the line that is due at a moment of the track. Platform-free: texts stay in the
// encoding they came in (UTF-8, or the ANSI code page); the caller converts them.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "playback/interface/plugin_interface.h"

struct LyricLine {
    int64_t ms;        // from the start of the track, the file's offset applied
    std::string text;  // empty: a break, when nothing is sung
};

struct Lyrics {
    // In time order; the texts of lines of one time (a translation under each line)
    // joined by CR LF.
    std::vector<LyricLine> lines;
    bool utf8 = false;  // else the texts are in the ANSI code page
};

// What is read of lyrics at most: the first 1 MB (whole lines of it) and the first
// 10,000 timed lines.
constexpr int64_t kLyricBytesRead = kLyricsBytesMost;
constexpr size_t kLyricLinesKept = 10000;

// LRC text: "[mm:ss.xx]", "[mm:ss.xxx]" or "[mm:ss]" before a line, several of them for
// a line sung more than once; "[offset:+ms]" (a positive offset brings every line
// sooner); other tags ([ti:], [ar:], ...) and lines without a time left out; the word
// times "<mm:ss.xx>" of enhanced LRC taken out of the texts. The encoding comes from
// the bytes: UTF-8 or UTF-16 after a byte-order mark, UTF-8 when the bytes are valid
// UTF-8, else the ANSI code page.
Lyrics ReadLrc(std::string_view bytes);

// Which line is due as the track plays. Advance is all a timer's tick needs: while the
// time stays within what is due, it is one comparison.
class LyricTimeline {
public:
    // A line with nothing after it shows this long at most.
    static constexpr int64_t kLastLineMs = 10000;
    static constexpr int64_t kNever = std::numeric_limits<int64_t>::max();

    LyricTimeline() = default;
    explicit LyricTimeline(std::vector<LyricLine> lines) : lines(std::move(lines)) {}

    // Goes to what is due at `ms`, from any time before or after; true when that is
    // another line than before, or none where one was.
    bool Advance(int64_t ms) { return ms >= from && ms < until ? false : Place(ms); }
    // The line due: null before the first line's time, empty in a break and once the
    // last line has had its time.
    const std::string* Due() const;
    // When what is due changes next as the track plays on from the last Advance; kNever
    // when it does not.
    int64_t NextChange() const { return until; }
    bool Empty() const { return lines.empty(); }

private:
    bool Place(int64_t ms);

    std::vector<LyricLine> lines;
    // How many lines have come; lines.size() + 1 once the last has had its time.
    size_t come = 0;
    int64_t from = 0, until = 0;  // `come` holds from `from` until just before `until`
};
