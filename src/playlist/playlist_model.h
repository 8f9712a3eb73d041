// The playlist: its entries in list order and the play order over them, what the
// playlist file saves, the cache of details, and the details that arrive from the
// reader. Rows are made without opening any file; the reader fills them in. The
// editor shows the model and forwards the user's commands; the transport steps
// through it. Platform-free.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "playback/transport.h"
#include "playlist/detail_queue.h"
#include "playlist/play_order.h"
#include "playlist/track_cache.h"

// Whoever shows the rows.
class PlaylistView {
public:
    // Details of these entries changed: the rows that show them are to be drawn again.
    virtual void EntriesChanged(const std::vector<uint32_t>& ids) = 0;
    // Rows that went by themselves, highest first (as they were numbered): a line that
    // names a folder, a file the user added that the plug-in refuses.
    virtual void RowsRemoved(const std::vector<int>& rows) = 0;

protected:
    ~PlaylistView() = default;
};

class PlaylistModel final : public PlaylistPort, private RowStore {
public:
    explicit PlaylistModel(LeadByteTest isLeadByte) : isLeadByte(isLeadByte) {}

    int RowCount() override { return static_cast<int>(entries.size()); }
    const PlaylistEntry& Row(int row) const { return *entries[row]; }

    // Appends an entry for `path` without opening its file: the cache's details when
    // it knows the path, else the listed title or the file name and the rest not yet
    // known; its file goes to the reader either way. `keepWhenRefused`: a list's line.
    void Add(std::string path, std::string listedTitle = {}, bool keepWhenRefused = false);
    // The rows (indices as they are, highest first) go; the play order keeps the others.
    void DeleteRows(const std::vector<int>& rows);
    // A row changes places with the one above or below it; the play order stays.
    void MoveRow(int from, int to);
    // Every row goes and the order with them; the mode stays.
    void Clear() { order.ClearPlaylist(*this); }

    void SetMode(int bits) { order.SetMode(*this, bits); }
    int Rewind() { return order.Rewind(*this); }
    int CurrentNumber() override { return order.CurrentNumber(*this); }
    PlaylistEntry* CurrentEntry() override { return order.CurrentEntry(*this); }
    int StepNext() override { return order.StepNext(*this); }
    int StepPrevious() override { return order.StepPrevious(*this); }
    void EntryChanged(PlaylistEntry*) override;

    // The playlist file: each path in list order; the mode is 0 afterwards.
    std::string SaveBytes();

    // The reader's queue, for the entries added from now on; none are read without.
    void ReadWith(std::shared_ptr<DetailQueue> reader) { queue = std::move(reader); }
    // The rows from `first` to `last` are about to show: their files are read first.
    void PreferRows(int first, int last);
    // Takes what the reader found; true when the current entry's details came.
    bool TakeDetails(const std::vector<DetailResult>& results);
    // Entries whose details are yet to be read or confirmed.
    int Unread() const;

    // The cache read at start, `today` in days since 1970; and its bytes for the exit.
    void UseCache(TrackCache records, uint32_t day);
    std::string CacheBytes() const;

    PlaylistView* view = nullptr;

private:
    PlaylistEntry* RowEntry(int row) override { return entries[row].get(); }
    void DeleteAllRows() override;
    // An entry leaves the list: what is known of its file stays in the cache a while.
    void Leave(const PlaylistEntry& entry);

    LeadByteTest isLeadByte;
    PlaylistEntry* Find(uint32_t id) const;

    std::vector<std::unique_ptr<PlaylistEntry>> entries;
    // The entries by id, from `firstId` on (null for those gone): ids are given in turn
    // and never again, and all rows going starts the table anew.
    std::vector<PlaylistEntry*> byId;
    uint32_t firstId = 1, nextId = 1;
    PlayOrder order;
    std::shared_ptr<DetailQueue> queue;
    // Records of files not in the list: taken by entries that name them, given back
    // when they leave.
    TrackCache cache;
    uint32_t today = 0;
};
