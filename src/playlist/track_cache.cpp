#include "playlist/track_cache.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

namespace {

// "WZTC", the version, the record count; the records; an FNV-1a sum of all before it.
constexpr std::string_view kMagic = "WZTC";
constexpr uint32_t kVersion = 1;
constexpr size_t kHeaderBytes = 12, kSumBytes = 4;
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
    std::string_view Text(uint64_t length) {
        if (!Have(length)) return {};
        const size_t start = at;
        at += static_cast<size_t>(length);
        return bytes.substr(start, at - start);
    }
    // Counts read from the file stay 64-bit until they are known to fit.
    bool Have(uint64_t count) {
        ok = ok && count <= uint64_t{bytes.size() - at};
        return ok;
    }
    bool AtEnd() const { return at == bytes.size(); }
    size_t Left() const { return bytes.size() - at; }
    bool ok = true;

private:
    std::string_view bytes;
    size_t at = 0;
};

void PutRecord(std::string& out, std::string_view path, const CachedTrack& track) {
    Put(out, static_cast<uint64_t>(track.stamp.size), 8);
    Put(out, static_cast<uint64_t>(track.stamp.writeTime), 8);
    Put(out, track.lastUsed, 4);
    for (int32_t number : {track.length, track.bitrate, track.sampleRate}) Put(out, static_cast<uint32_t>(number), 4);
    Put(out, path.size(), 2);
    Put(out, track.title.size(), 1);
    Put(out, track.artist.size(), 1);
    out.append(path).append(track.title).append(track.artist);
}

bool Writable(std::string_view path, const CachedTrack& track) {
    return !path.empty() && path.size() <= kLongestPath && track.title.size() <= kLongestText &&
           track.artist.size() <= kLongestText && track.stamp.size >= 0;
}

// The record at the fields' place, its path, and whether it makes sense.
bool ReadRecord(Fields& fields, std::string_view& path, CachedTrack& track) {
    track.stamp.size = fields.Signed64();
    track.stamp.writeTime = fields.Signed64();
    track.lastUsed = static_cast<uint32_t>(fields.Next(4));
    track.length = fields.Signed32();
    track.bitrate = fields.Signed32();
    track.sampleRate = fields.Signed32();
    const uint64_t pathBytes = fields.Next(2), titleBytes = fields.Next(1), artistBytes = fields.Next(1);
    path = fields.Text(pathBytes);
    track.title = fields.Text(titleBytes);
    track.artist = fields.Text(artistBytes);
    return fields.ok && track.length >= 0 && track.bitrate >= 0 && track.sampleRate >= 0 &&
           path.find('\0') == std::string_view::npos && Writable(path, track);
}

uint64_t PathHash(std::string_view path) {
    uint64_t hash = 14695981039346656037ull;
    for (char c : path) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return hash;
}

std::string Field(const char* text, size_t capacity) {
    return std::string(text, strnlen(text, capacity));
}

}  // namespace

TrackCache::TrackCache(std::string fileBytes) : bytes(std::move(fileBytes)) {
    const std::string_view file = bytes;
    const std::string_view body = file.substr(0, file.size() - std::min(file.size(), kSumBytes));
    Fields fields(body.substr(std::min(body.size(), size_t{4})));
    // A count no file of ours holds is damage, whatever the sum says.
    const bool whole = file.size() >= kHeaderBytes + kSumBytes && file.substr(0, 4) == kMagic &&
                       Fields(file.substr(body.size())).Next(4) == Sum(body) && fields.Next(4) == kVersion;
    const uint64_t count = fields.Next(4);
    if (whole && count <= kMostCachedTracks) {
        slots.reserve(count);
        std::string_view path;
        CachedTrack track;
        for (uint64_t i = 0; i < count; ++i) {
            const size_t at = body.size() - fields.Left();
            if (!ReadRecord(fields, path, track)) break;
            slots.push_back({PathHash(path), at, false});
        }
    }
    // Every byte accounted for: records cut short, or more behind them, are damage.
    if (!whole || slots.size() != count || !fields.AtEnd()) {
        slots.clear();
        bytes.clear();
    }
    std::sort(slots.begin(), slots.end(), [](const Slot& a, const Slot& b) { return a.hash < b.hash; });
}

size_t TrackCache::Size() const {
    return given.size() + std::count_if(slots.begin(), slots.end(), [](const Slot& slot) { return !slot.taken; });
}

bool TrackCache::Take(const std::string& path, CachedTrack& track) {
    if (const auto found = given.find(path); found != given.end()) {
        track = std::move(found->second);
        given.erase(found);
        return true;
    }
    const uint64_t hash = PathHash(path);
    auto slot = std::lower_bound(slots.begin(), slots.end(), hash, [](const Slot& s, uint64_t h) { return s.hash < h; });
    for (; slot != slots.end() && slot->hash == hash; ++slot) {
        Fields fields(std::string_view(bytes).substr(slot->at));
        std::string_view at;
        if (slot->taken || !ReadRecord(fields, at, track) || at != path) continue;
        slot->taken = true;
        return true;
    }
    return false;
}

void TrackCache::Give(const std::string& path, CachedTrack track) {
    given.insert_or_assign(path, std::move(track));
}

std::string TrackCache::Bytes(const std::vector<std::pair<std::string, CachedTrack>>& listed, uint32_t today) const {
    std::string records;
    std::unordered_set<std::string_view> written;
    uint32_t count = 0;
    auto write = [&](std::string_view path, const CachedTrack& track) {
        if (count == kMostCachedTracks || !Writable(path, track) || !written.insert(path).second) return;
        PutRecord(records, path, track);
        ++count;
    };
    for (const auto& [path, track] : listed) {
        CachedTrack used = track;
        used.lastUsed = today;
        write(path, used);
    }
    // The others, not listed now: those left from the file and those given back.
    std::vector<std::pair<std::string_view, CachedTrack>> spares;
    for (const Slot& slot : slots) {
        Fields fields(std::string_view(bytes).substr(slot.at));
        std::string_view path;
        CachedTrack track;
        if (!slot.taken && ReadRecord(fields, path, track)) spares.emplace_back(path, std::move(track));
    }
    for (const auto& [path, track] : given) spares.emplace_back(path, track);
    std::erase_if(spares, [&](const auto& spare) {
        return today - spare.second.lastUsed > kSpareDays && spare.second.lastUsed <= today;
    });
    std::sort(spares.begin(), spares.end(),
              [](const auto& a, const auto& b) { return a.second.lastUsed > b.second.lastUsed; });
    for (const auto& [path, track] : spares) write(path, track);
    std::string file(kMagic);
    Put(file, kVersion, 4);
    Put(file, count, 4);
    file += records;
    Put(file, Sum(file), 4);
    return file;
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
