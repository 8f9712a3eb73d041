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

using TrackCache = std::unordered_map<std::string, CachedTrack>;

// A record not in the playlist is kept this many days after it last was; the file
// holds at most kMostCachedTracks records, those of the playlist first.
constexpr uint32_t kSpareDays = 30;
constexpr size_t kMostCachedTracks = 200000;

// The records of the file's bytes; none when the bytes are not a whole cache file of
// this version.
TrackCache ReadTrackCache(std::string_view bytes);

// The file's bytes: `listed` (the playlist's records, in list order, a path once)
// used `today`, then the `spares` not listed and not too old, most recently used
// first, within the bound.
std::string TrackCacheBytes(const std::vector<std::pair<std::string, CachedTrack>>& listed, const TrackCache& spares,
                            uint32_t today);

// The record of an entry read from its file, or of its details taken back.
CachedTrack RecordOf(const PlaylistEntry& entry, uint32_t today);
void TakeRecord(PlaylistEntry& entry, const CachedTrack& record);
