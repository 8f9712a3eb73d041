// The files of the playlist read behind the user's back: the jobs a reader thread
// takes, in list order with the rows on screen first, and the results it hands back to
// the window's thread. Entries go by id, never by row, so a result for a row deleted
// or moved meanwhile cannot land on another. Platform-free; the thread is the
// caller's.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "playlist/playlist_entry.h"

struct DetailJob {
    uint32_t id = 0;
    std::string path;  // as the entry holds it
    // The version the entry's cached details describe; a size of -1 when none.
    FileStamp cached;
};

// What the reader found: the file as cached, read anew, not there or not one the
// plug-in takes, or a folder.
enum class Found : uint8_t { Unchanged, Read, Refused, Folder };

struct DetailResult {
    uint32_t id = 0;
    Found found = Found::Refused;
    FileStamp stamp;
    TrackInfo info{};
};

class DetailQueue {
public:
    // The window's thread.
    // Jobs in the order given, after those waiting; each id higher than any before.
    void Add(DetailJob job);
    // Jobs still waiting moved before all others (the rows on screen); others ignored.
    void Prefer(const std::vector<DetailJob>& jobs);
    // Entries gone: their jobs are not read.
    void Forget(const std::vector<uint32_t>& ids);
    // Every job and every result not yet taken dropped.
    void Clear();
    std::vector<DetailResult> TakeResults();
    // Wakes the reader for good: Wait returns false from now on.
    void Stop();

    // The reader's thread.
    // The next job, waiting for one; false once stopped.
    bool Wait(DetailJob& job);
    // True when the window is to be told that results wait: none were waiting untold.
    bool Deliver(DetailResult result);

private:
    std::mutex lock;
    std::condition_variable added;
    bool Waiting(uint32_t id) const { return id >= firstId && id - firstId < waiting.size() && waiting[id - firstId]; }

    std::deque<DetailJob> jobs;
    // Whether the job of each id from `firstId` on is still to be taken. Ids come in
    // turn, as the playlist gives them; a Clear leaves those before it behind.
    std::vector<bool> waiting;
    uint32_t firstId = 0;
    std::vector<DetailResult> results;
    bool told = false;
    bool stopped = false;
};

// What reading a file needs of the system.
class FileProbe {
public:
    // The file's stamp, or false when nothing is there; `folder` when it is a folder.
    virtual bool Stat(const std::string& path, FileStamp& stamp, bool& folder) = 0;
    // The plug-in's details; false when it refuses the file.
    virtual bool Describe(const std::string& path, TrackInfo& info) = 0;

protected:
    ~FileProbe() = default;
};

// Looks at the job's file: one whose size and time are those cached is not opened.
DetailResult ReadDetails(const DetailJob& job, FileProbe& files);
