// Shared by the plug-in tests: the built plug-in modules, loaded once per process,
// and a log of the events the input plug-in reports.
#pragma once

#include <gtest/gtest.h>
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

// Plays `path` to its end through `output`, when `seekTo` is given after a pause at once
// and a jump there while paused; false when it cannot be opened, is not paused after the
// jump, or does not end within `timeoutMs`.
bool PlayToEnd(const char* path, OutputPlugin* output, DWORD timeoutMs, int seekTo = -1);

// The 16-bit samples of a file, as the capture plug-in or a reference decoder writes them.
std::vector<int16_t> ReadSamples(const std::string& path);
// As many samples as the reference, each within `tolerance` of it: lossy decoders may
// round a sample apart.
::testing::AssertionResult MatchesReference(const std::vector<int16_t>& reference, const std::vector<int16_t>& decoded,
                                            int tolerance = 2);
