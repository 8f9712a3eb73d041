// The thread that reads the playlist's files behind the user's back, through the
// input plug-in's DescribeFile (never through the object that plays), at a priority
// below the window's.
#pragma once

#include <windows.h>

#include <memory>

#include "playback/interface/plugin_interface.h"
#include "playlist/detail_queue.h"

class DetailReader {
public:
    // Reads the queue's jobs, a relative path from `folder`, and posts `message` to
    // `window` whenever results wait untold. A reader still running is stopped first.
    void Start(std::shared_ptr<DetailQueue> queue, DescribeFileExport describe, const char* folder, HWND window,
               UINT message);
    // Ends the thread, waiting for it no longer than kStopWaitMs: a share that does not
    // answer must not hold up the exit. A thread still inside a read then ends with the
    // process, touching nothing but what it owns, and the plug-in stays loaded for it.
    void Stop();

    static constexpr DWORD kStopWaitMs = 150;

private:
    std::shared_ptr<DetailQueue> queue;
    HANDLE thread = nullptr;
};
