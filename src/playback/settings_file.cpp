#include "playback/settings_file.h"

#include <algorithm>
#include <cstdint>

#include "playlist/text_mode.h"

namespace {
constexpr size_t kSettingsReadLimit = 14;
}

int AsciiToInt(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (value <= INT32_MAX) value = value * 10 + (text[i] - '0');
    }
    if (negative) value = -value;
    return static_cast<int>(value < INT32_MIN ? INT32_MIN : value > INT32_MAX ? INT32_MAX : value);
}

Settings ReadSettings(std::string_view fileBytes) {
    TextModeReader reader(fileBytes);
    Settings settings;
    settings.loop = AsciiToInt(reader.ReadLine(kSettingsReadLimit));
    settings.random = AsciiToInt(reader.ReadLine(kSettingsReadLimit));
    settings.volume = AsciiToInt(reader.ReadLine(kSettingsReadLimit));
    // Held in range first: a volume below silence is read as 0 is, as none saved, so
    // that what is written back reads the same at the next start.
    settings.volume = std::clamp(settings.volume, 0, 100);
    if (settings.volume == 0) settings.volume = 50;
    for (int* onUnlessZero : {&settings.balloons, &settings.lyrics}) {
        const std::string line = reader.ReadLine(kSettingsReadLimit);
        *onUnlessZero = line.empty() || AsciiToInt(line) != 0 ? 1 : 0;
    }
    return settings;
}

std::string SettingsBytes(const Settings& settings) {
    return std::to_string(settings.loop) + "\r\n" + std::to_string(settings.random) + "\r\n" +
           std::to_string(settings.volume) + "\r\n" + std::to_string(settings.balloons) + "\r\n" +
           std::to_string(settings.lyrics);
}
