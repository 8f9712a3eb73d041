// Shared by the plug-in tests: the built plug-in modules, loaded once per process,
// and a log of the events the input plug-in reports.
#pragma once

#include <windows.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "playback/interface/plugin_interface.h"

// A file built beside the plug-ins, by its name there.
std::string PluginPath(const char* name);

InputPlugin* TheInput();
OutputPlugin* TheOutput();
// The capture plug-in, configured to write the samples it plays to `samplesPath`
// (empty: write nothing).
OutputPlugin* TheCapture(const std::string& samplesPath, bool paced);

struct Event {
    int event;
    int value;
};

class EventLog {
public:
    static int CALLBACK Record(int event, int value, void* user);

    // True when the event (and, for ElapsedSeconds, at least that value) came in time.
    bool WaitFor(PlaybackEvent event, int value, DWORD timeoutMs);
    std::vector<Event> Events();
    int Count(PlaybackEvent event);

private:
    std::mutex lock;
    std::condition_variable changed;
    std::vector<Event> events;
};

// True once the module of that name is gone, within five seconds.
bool WaitUnloaded(const char* module);

// Plays `path` to its end through `output`; false when it cannot be opened or does not
// end within `timeoutMs`.
bool PlayToEnd(const char* path, OutputPlugin* output, DWORD timeoutMs);
// The same after a pause at once and a jump to `seconds` while paused, then going on.
bool PlayFromPlace(const char* path, OutputPlugin* output, int seconds);

// The handle value the system gives out next. Wine's handle count stays 0, but it
// gives out the lowest free value: the same value before and after a call means that
// the call left no handle open.
HANDLE NextHandle();

// The 16-bit samples of a file, as the capture plug-in or `mpg123 -s` writes them.
std::vector<int16_t> ReadSamples(const std::string& path);
// The largest difference of a decoded sample from the reference's: decoders may round
// a sample apart.
int LargestDifference(const std::vector<int16_t>& reference, const std::vector<int16_t>& decoded);
