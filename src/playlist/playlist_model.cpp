#include "playlist/playlist_model.h"

#include <algorithm>
#include <unordered_set>

#include "playlist/playlist_file.h"

void PlaylistModel::Add(std::string path, std::string listedTitle, bool keepWhenRefused) {
    auto entry = std::make_unique<PlaylistEntry>(std::move(path));
    entry->listedTitle = std::move(listedTitle);
    entry->keepWhenRefused = keepWhenRefused;
    entry->id = nextId++;
    if (CachedTrack record; cache.Take(entry->path, record)) {
        TakeRecord(*entry, record);
    } else {
        MarkPending(*entry, isLeadByte);
    }
    if (queue != nullptr) queue->Add({entry->id, entry->path, entry->stamp});
    byId.push_back(entry.get());
    entries.push_back(std::move(entry));
    order.AppendRow(RowCount() - 1, RowCount() - 1);
}

void PlaylistModel::Leave(const PlaylistEntry& entry) {
    if (entry.details != Details::Pending && entry.available && entry.stamp.size >= 0) {
        cache.Give(entry.path, RecordOf(entry, today));
    }
    byId[entry.id - firstId] = nullptr;
}

PlaylistEntry* PlaylistModel::Find(uint32_t id) const {
    return id >= firstId && id - firstId < byId.size() ? byId[id - firstId] : nullptr;
}

void PlaylistModel::DeleteRows(const std::vector<int>& rows) {
    std::vector<uint32_t> ids;
    for (int row : rows) {
        Leave(*entries[row]);
        ids.push_back(entries[row]->id);
        entries[row].reset();
    }
    entries.erase(std::remove(entries.begin(), entries.end(), nullptr), entries.end());
    if (queue != nullptr) queue->Forget(ids);
    order.RowsDeleted(*this, rows);
}

void PlaylistModel::DeleteAllRows() {
    for (const auto& entry : entries) Leave(*entry);
    entries.clear();
    byId.clear();
    firstId = nextId;
    if (queue != nullptr) queue->Clear();
}

void PlaylistModel::MoveRow(int from, int to) {
    std::swap(entries[from], entries[to]);
}

void PlaylistModel::EntryChanged(PlaylistEntry* entry) {
    if (view != nullptr) view->EntriesChanged({entry->id});
}

std::string PlaylistModel::SaveBytes() {
    SetMode(0);
    std::string bytes;
    Rewind();
    for (int i = 0, rows = RowCount(); i < rows; ++i) {
        if (const PlaylistEntry* entry = CurrentEntry()) AppendPathLine(bytes, entry->path);
        StepNext();
    }
    return bytes;
}

void PlaylistModel::PreferRows(int first, int last) {
    if (queue == nullptr) return;
    std::vector<DetailJob> jobs;
    for (int row = std::max(first, 0); row <= last && row < RowCount(); ++row) {
        const PlaylistEntry& entry = *entries[row];
        if (entry.details != Details::Read) jobs.push_back({entry.id, entry.path, entry.stamp});
    }
    queue->Prefer(jobs);
}

bool PlaylistModel::TakeDetails(const std::vector<DetailResult>& results) {
    const PlaylistEntry* current = CurrentEntry();
    bool currentCame = false;
    std::vector<uint32_t> changed;
    std::unordered_set<uint32_t> going;
    for (const DetailResult& result : results) {
        PlaylistEntry* const found = Find(result.id);
        if (found == nullptr) continue;  // deleted meanwhile, or of a list since cleared
        PlaylistEntry& entry = *found;
        const bool wasPending = entry.details == Details::Pending;
        if (result.found == Found::Unchanged) {
            if (entry.details == Details::Cached) entry.details = Details::Read;
            continue;
        }
        if (result.found == Found::Folder || (result.found == Found::Refused && !entry.keepWhenRefused)) {
            going.insert(entry.id);
            continue;
        }
        if (result.found == Found::Read) {
            TakeTrackDetails(entry, result.info, isLeadByte);
            entry.stamp = result.stamp;
        } else {
            MarkUnavailable(entry, isLeadByte);
        }
        changed.push_back(entry.id);
        currentCame = currentCame || (wasPending && &entry == current);
    }
    if (!going.empty()) {
        std::vector<int> rows;
        for (int row = RowCount() - 1; row >= 0; --row) {
            if (going.count(entries[row]->id) != 0) rows.push_back(row);
        }
        DeleteRows(rows);
        if (view != nullptr) view->RowsRemoved(rows);
    }
    if (!changed.empty() && view != nullptr) view->EntriesChanged(changed);
    return currentCame;
}

int PlaylistModel::Unread() const {
    return static_cast<int>(std::count_if(entries.begin(), entries.end(),
                                          [](const auto& entry) { return entry->details != Details::Read; }));
}

void PlaylistModel::UseCache(TrackCache records, uint32_t day) {
    cache = std::move(records);
    today = day;
}

std::string PlaylistModel::CacheBytes() const {
    std::vector<std::pair<std::string, CachedTrack>> listed;
    for (const auto& entry : entries) {
        if (entry->details != Details::Pending && entry->available && entry->stamp.size >= 0) {
            listed.emplace_back(entry->path, RecordOf(*entry, today));
        }
    }
    return cache.Bytes(listed, today);
}
