// The settings file: Loop, Random and the volume, one decimal number a line.
// Platform-free.
#pragma once

#include <string>
#include <string_view>

struct Settings {
    int loop = 0;
    int random = 0;
    int volume = 0;
    // The title balloon and the lyrics in it, each on unless switched off.
    int balloons = 1;
    int lyrics = 1;
};

// Three reads of at most 14 characters each, through `atoi`: a line longer than that
// spills into the next read, missing and non-numeric lines are 0, and a volume of 0
// becomes 50. A volume outside 0..100 is taken as the nearest end. A fourth line,
// which programs that read three lines never see, switches the title balloon: "0"
// is off, anything else (no line at all included) on; a fifth the lyrics, alike.
Settings ReadSettings(std::string_view fileBytes);

// "loop CR LF random CR LF volume CR LF balloons CR LF lyrics", nothing after the last.
std::string SettingsBytes(const Settings& settings);

// C's atoi, without its undefined overflow.
int AsciiToInt(std::string_view text);
