#include "lyrics/lyrics.h"

#include <algorithm>
#include <optional>

#include "text/unicode_text.h"

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Between `fewest` and `most` digits at `at`, moving `at` past them.
std::optional<int64_t> Digits(std::string_view text, size_t& at, size_t fewest, size_t most) {
    int64_t value = 0;
    size_t count = 0;
    for (; at < text.size() && IsDigit(text[at]) && count < most; ++at, ++count) value = value * 10 + (text[at] - '0');
    if (count < fewest || (at < text.size() && IsDigit(text[at]))) return std::nullopt;
    return value;
}

// "mm:ss", with a fraction of one to three digits after a point (or, as some writers
// put it, a colon): milliseconds. Nothing for anything else.
std::optional<int64_t> ParseTime(std::string_view time) {
    size_t at = 0;
    const auto minutes = Digits(time, at, 1, 5);
    if (!minutes || at >= time.size() || time[at++] != ':') return std::nullopt;
    const auto seconds = Digits(time, at, 1, 2);
    if (!seconds) return std::nullopt;
    int64_t ms = *minutes * 60000 + *seconds * 1000;
    if (at < time.size() && (time[at] == '.' || time[at] == ':')) {
        const size_t start = ++at;
        const auto fraction = Digits(time, at, 1, 3);
        if (!fraction) return std::nullopt;
        ms += *fraction * (at - start == 1 ? 100 : at - start == 2 ? 10 : 1);
    }
    return at == time.size() ? std::optional<int64_t>(ms) : std::nullopt;
}

std::string_view Trimmed(std::string_view text) {
    const size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos) return {};
    return text.substr(start, text.find_last_not_of(" \t") - start + 1);
}

// "offset:+500" and the like: milliseconds.
std::optional<int64_t> ParseOffset(std::string_view tag) {
    constexpr std::string_view kName = "offset:";
    if (tag.size() < kName.size() ||
        !std::equal(kName.begin(), kName.end(), tag.begin(), [](char a, char b) { return a == (b | 0x20); })) {
        return std::nullopt;
    }
    const std::string_view value = Trimmed(tag.substr(kName.size()));
    const bool negative = !value.empty() && value[0] == '-';
    size_t at = !value.empty() && (value[0] == '-' || value[0] == '+') ? 1 : 0;
    const auto ms = Digits(value, at, 1, 9);
    if (!ms || at != value.size()) return std::nullopt;
    return negative ? -*ms : *ms;
}

// The text without the word times of enhanced LRC. '<' and '>' are never the second
// byte of a double-byte character, nor inside a UTF-8 sequence.
std::string WithoutWordTimes(std::string_view text) {
    std::string out;
    for (size_t at = 0; at < text.size();) {
        const size_t open = text.find('<', at), close = text.find('>', open);
        if (close == std::string_view::npos) {
            out.append(text.substr(at));
            break;
        }
        const bool time = ParseTime(text.substr(open + 1, close - open - 1)).has_value();
        out.append(text.substr(at, time ? open - at : close + 1 - at));
        at = close + 1;
    }
    return out;
}

// The file's text in one encoding with the byte-order mark gone. A file cut at the
// limit ends at its last whole line, so no character is cut either.
std::string_view Decoded(std::string_view bytes, std::string& storage, bool& utf8) {
    const bool cut = bytes.size() > static_cast<size_t>(kLyricBytesRead);
    bytes = bytes.substr(0, static_cast<size_t>(kLyricBytesRead));
    const auto marked = MarkedUnicode(bytes, storage);
    std::string_view text = marked.value_or(bytes);
    if (cut) text = text.substr(0, text.find_last_of("\r\n") + 1);
    utf8 = marked || IsValidUtf8(text);  // without a mark, decided once the text is whole
    return text;
}

}  // namespace

Lyrics ReadLrc(std::string_view bytes) {
    Lyrics lyrics;
    std::string storage;
    const std::string_view text = Decoded(bytes, storage, lyrics.utf8);
    std::optional<int64_t> offset;
    std::vector<int64_t> times;
    for (size_t start = 0; start < text.size() && lyrics.lines.size() < kLyricLinesKept;) {
        const size_t end = std::min(text.find_first_of("\r\n", start), text.size());
        std::string_view line = Trimmed(text.substr(start, end - start));
        start = end + 1;
        // The tags before the text: a ']' inside one may be a double-byte character's
        // second byte, but a tag that is no time ends the times anyway.
        times.clear();
        while (!line.empty() && line[0] == '[') {
            const size_t close = line.find(']');
            if (close == std::string_view::npos) break;
            const std::string_view tag = line.substr(1, close - 1);
            if (const auto ms = ParseTime(tag)) {
                times.push_back(*ms);
            } else {
                if (times.empty() && !offset) offset = ParseOffset(tag);
                break;
            }
            line.remove_prefix(close + 1);
        }
        const std::string sung(Trimmed(WithoutWordTimes(line)));
        for (size_t i = 0; i < times.size() && lyrics.lines.size() < kLyricLinesKept; ++i) {
            lyrics.lines.push_back({times[i], sung});
        }
    }
    for (LyricLine& line : lyrics.lines) line.ms = std::max<int64_t>(line.ms - offset.value_or(0), 0);
    std::stable_sort(lyrics.lines.begin(), lyrics.lines.end(),
                     [](const LyricLine& a, const LyricLine& b) { return a.ms < b.ms; });
    // Lines of one time show together; a break at the time of a line gives way to it.
    std::vector<LyricLine> joined;
    for (LyricLine& line : lyrics.lines) {
        if (joined.empty() || joined.back().ms != line.ms) {
            joined.push_back(std::move(line));
        } else if (!line.text.empty()) {
            std::string& text = joined.back().text;
            text += (text.empty() ? "" : "\r\n") + line.text;
        }
    }
    lyrics.lines = std::move(joined);
    return lyrics;
}

const std::string* LyricTimeline::Due() const {
    static const std::string kNothing;
    if (come == 0) return nullptr;
    return come <= lines.size() ? &lines[come - 1].text : &kNothing;
}

bool LyricTimeline::Place(int64_t ms) {
    const auto after = std::upper_bound(lines.begin(), lines.end(), ms,
                                        [](int64_t time, const LyricLine& line) { return time < line.ms; });
    size_t now = static_cast<size_t>(after - lines.begin());
    if (now == 0) {
        from = std::numeric_limits<int64_t>::min();
        until = lines.empty() ? kNever : lines.front().ms;
    } else if (now < lines.size()) {
        from = lines[now - 1].ms;
        until = lines[now].ms;
    } else if (ms < lines.back().ms + kLastLineMs) {
        from = lines.back().ms;
        until = from + kLastLineMs;
    } else {
        now = lines.size() + 1;
        from = lines.back().ms + kLastLineMs;
        until = kNever;
    }
    const bool changed = now != come;
    come = now;
    return changed;
}
