#include "playlist/track_cache.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

namespace {

// "WZTC", the version, the record count; the records; an FNV-1a sum of all before it.
constexpr std::string_view kMagic = "WZTC";
constexpr uint32_t kVersion = 1;
constexpr size_t kHeaderBytes = 12, kRecordBytes = 36, kSumBytes = 4;
constexpr size_t kLongestText = 127, kLongestPath = 32767;

uint32_t Sum(std::string_view bytes) {
    uint32_t sum = 2166136261u;
    for (char c : bytes) sum = (sum ^ static_cast<unsigned char>(c)) * 16777619u;
    return sum;
}

void Put(std::string& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i) & 0xFF);
}

// Reads little-endian fields and texts, and remembers whether any lay past the end.
class Fields {
public:
    explicit Fields(std::string_view bytes) : bytes(bytes) {}
    uint64_t Next(int width) {
        uint64_t value = 0;
        if (!Have(width)) return 0;
        for (int i = 0; i < width; ++i) value |= uint64_t{static_cast<unsigned char>(bytes[at + i])} << (8 * i);
        at += width;
        return value;
    }
    int64_t Signed64() { return static_cast<int64_t>(Next(8)); }
    int32_t Signed32() { return static_cast<int32_t>(static_cast<uint32_t>(Next(4))); }
    std::string Text(size_t length) {
        if (!Have(length)) return {};
        at += length;
        return std::string(bytes.substr(at - length, length));
    }
    bool Have(size_t count) {
        ok = ok && count <= bytes.size() - at;
        return ok;
    }
    bool AtEnd() const { return at == bytes.size(); }
    bool ok = true;

private:
    std::string_view bytes;
    size_t at = 0;
};

void PutRecord(std::string& out, const std::string& path, const CachedTrack& track) {
    Put(out, static_cast<uint64_t>(track.stamp.size), 8);
    Put(out, static_cast<uint64_t>(track.stamp.writeTime), 8);
    Put(out, track.lastUsed, 4);
    for (int32_t number : {track.length, track.bitrate, track.sampleRate}) Put(out, static_cast<uint32_t>(number), 4);
    Put(out, path.size(), 2);
    Put(out, track.title.size(), 1);
    Put(out, track.artist.size(), 1);
    out += path + track.title + track.artist;
}

bool Writable(const std::string& path, const CachedTrack& track) {
    return !path.empty() && path.size() <= kLongestPath && track.title.size() <= kLongestText &&
           track.artist.size() <= kLongestText && track.stamp.size >= 0;
}

std::string Field(const char* text, size_t capacity) {
    return std::string(text, strnlen(text, capacity));
}

}  // namespace

TrackCache ReadTrackCache(std::string_view bytes) {
    if (bytes.size() < kHeaderBytes + kSumBytes || bytes.substr(0, 4) != kMagic) return {};
    const std::string_view body = bytes.substr(0, bytes.size() - kSumBytes);
    Fields fields(body.substr(4));
    // A count no file of ours holds is damage, whatever the sum says.
    if (Fields(bytes.substr(body.size())).Next(4) != Sum(body) || fields.Next(4) != kVersion) return {};
    const uint64_t count = fields.Next(4);
    if (count > kMostCachedTracks) return {};
    TrackCache cache;
    for (uint64_t i = 0; i < count && fields.ok; ++i) {
        CachedTrack track;
        track.stamp.size = fields.Signed64();
        track.stamp.writeTime = fields.Signed64();
        track.lastUsed = static_cast<uint32_t>(fields.Next(4));
        track.length = fields.Signed32();
        track.bitrate = fields.Signed32();
        track.sampleRate = fields.Signed32();
        const size_t pathBytes = fields.Next(2), titleBytes = fields.Next(1), artistBytes = fields.Next(1);
        std::string path = fields.Text(pathBytes);
        track.title = fields.Text(titleBytes);
        track.artist = fields.Text(artistBytes);
        const bool sane = track.length >= 0 && track.bitrate >= 0 && track.sampleRate >= 0 &&
                          path.find('\0') == std::string::npos && Writable(path, track);
        if (!sane) return {};
        cache.insert_or_assign(std::move(path), std::move(track));
    }
    // Every byte accounted for: records cut short, or more behind them, are damage.
    if (!fields.ok || !fields.AtEnd()) return {};
    return cache;
}

std::string TrackCacheBytes(const std::vector<std::pair<std::string, CachedTrack>>& listed, const TrackCache& spares,
                            uint32_t today) {
    std::string records;
    std::unordered_set<std::string_view> written;
    uint32_t count = 0;
    auto write = [&](const std::string& path, const CachedTrack& track) {
        if (count == kMostCachedTracks || !Writable(path, track) || !written.insert(path).second) return;
        PutRecord(records, path, track);
        ++count;
    };
    for (const auto& [path, track] : listed) {
        CachedTrack used = track;
        used.lastUsed = today;
        write(path, used);
    }
    std::vector<const TrackCache::value_type*> kept;
    for (const auto& spare : spares) {
        if (today - spare.second.lastUsed <= kSpareDays || spare.second.lastUsed > today) kept.push_back(&spare);
    }
    std::sort(kept.begin(), kept.end(), [](auto* a, auto* b) { return a->second.lastUsed > b->second.lastUsed; });
    for (const auto* spare : kept) write(spare->first, spare->second);
    std::string bytes(kMagic);
    Put(bytes, kVersion, 4);
    Put(bytes, count, 4);
    bytes += records;
    Put(bytes, Sum(bytes), 4);
    return bytes;
}

CachedTrack RecordOf(const PlaylistEntry& entry, uint32_t today) {
    const TrackInfo& info = entry.info;
    return {entry.stamp, Field(info.title, sizeof(info.title)), Field(info.artist, sizeof(info.artist)), info.length,
            info.bitrate, info.sampleRate, today};
}

void TakeRecord(PlaylistEntry& entry, const CachedTrack& record) {
    entry.info = {};
    std::memcpy(entry.info.title, record.title.data(), std::min(record.title.size(), kLongestText));
    std::memcpy(entry.info.artist, record.artist.data(), std::min(record.artist.size(), kLongestText));
    entry.info.length = record.length;
    entry.info.bitrate = record.bitrate;
    entry.info.sampleRate = record.sampleRate;
    entry.stamp = record.stamp;
    entry.available = true;
    entry.details = Details::Cached;
}
