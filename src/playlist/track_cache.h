// What was read from the files of the playlist, kept between runs so that a long list
// shows its details at once: Data\TrackCache.dat. A record is keyed by the path as the
// playlist holds it, and is good for the version of the file its stamp names. The
// file has fixed-width little-endian fields, the same for the 32- and 64-bit
// programs; a file that is damaged, cut short or of another version is no cache at
// all. Platform-free.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "playlist/playlist_entry.h"

struct CachedTrack {
    FileStamp stamp;
    std::string title, artist;  // ANSI, at most 127 bytes each
    int32_t length = 0, bitrate = 0, sampleRate = 0;
    // The day (since 1970) the path was last in the playlist.
    uint32_t lastUsed = 0;
};

// A record not in the playlist is kept this many days after it last was; the file
// holds at most kMostCachedTracks records, those of the playlist first.
constexpr uint32_t kSpareDays = 30;
constexpr size_t kMostCachedTracks = 200000;

// The records of a cache file, found by path in the file's own bytes: a start takes
// apart only the records its list names.
class TrackCache {
public:
    TrackCache() = default;
    // No records when the bytes are not a whole cache file of this version.
    explicit TrackCache(std::string fileBytes);

    // The records neither taken nor given back.
    size_t Size() const;
    // The record of `path`, which the caller holds from now on; false when none.
    bool Take(const std::string& path, CachedTrack& track);
    // A record to keep (its entry left the list), under its `lastUsed`.
    void Give(const std::string& path, CachedTrack track);
    // The file's bytes: `listed` (the playlist's records, in list order, a path once)
    // used `today`, then the others not too old, most recently used first, within
    // the bound.
    std::string Bytes(const std::vector<std::pair<std::string, CachedTrack>>& listed, uint32_t today) const;

private:
    struct Slot {
        uint64_t hash;
        size_t at;  // the record's offset in `bytes`
        bool taken;
    };
    std::string bytes;
    std::vector<Slot> slots;  // by hash
    std::unordered_map<std::string, CachedTrack> given;
};

// The record of an entry read from its file, or its details taken back from one.
CachedTrack RecordOf(const PlaylistEntry& entry, uint32_t today);
void TakeRecord(PlaylistEntry& entry, const CachedTrack& record);
