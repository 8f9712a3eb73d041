// The settings reader on any bytes: what it reads, written and read again, is the same.
#include <cstdint>
#include <cstdlib>

#include "playback/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Settings read = ReadSettings({reinterpret_cast<const char*>(data), size});
    const Settings again = ReadSettings(SettingsBytes(read));
    if (again.loop != read.loop || again.random != read.random || again.volume != read.volume) abort();
    return 0;
}
