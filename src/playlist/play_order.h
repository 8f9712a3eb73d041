// Which row of the playlist is current and which comes next: an array of row
// indices, a position in it and the Random and Loop bits. The rows themselves live in
// a list the order reaches through RowStore, and their number is asked for on every
// call. Platform-free.
#pragma once

#include <cstdint>
#include <vector>

class PlaylistEntry;

enum PlayMode : int { Random = 1, Loop = 2 };

// What the order needs of the list that holds the rows.
class RowStore {
public:
    virtual int RowCount() = 0;
    // The entry of an existing row.
    virtual PlaylistEntry* RowEntry(int row) = 0;
    virtual void DeleteAllRows() = 0;

protected:
    ~RowStore() = default;
};

class PlayOrder {
public:
    // Seconds of the calendar clock: a Random order is a function of the clock and
    // the row count, so two rebuilds within the same second agree.
    using Clock = int64_t (*)();
    static int64_t CalendarSeconds();

    // Stores the mode and rebuilds the order: 0, 1, 2 ... or, with Random, a
    // permutation drawn from the clock. The position stays.
    void SetMode(RowStore& rows, int bits);
    // The 1-based number of the current row in list order; 0 without rows. Never a
    // row that does not exist, whatever the array holds.
    int CurrentNumber(RowStore& rows) const;
    PlaylistEntry* CurrentEntry(RowStore& rows) const;
    // 1 after rebuilding and going back to position 0; 0 without rows.
    int Rewind(RowStore& rows);
    // 1 when the position now names a row to go on with; 0 at the end without Loop
    // (the position stays on the last or first row) or without rows. A wrap in Loop
    // mode rebuilds the order for the next pass.
    int StepNext(RowStore& rows);
    int StepPrevious(RowStore& rows);
    // Deletes every row, forgets the order and goes back to position 0; the mode stays.
    void ClearPlaylist(RowStore& rows);
    // A row added as index `row` of `rowCountBefore` + 1 rows comes last in the order,
    // shuffled or not, until the next rebuild.
    void AppendRow(int rowCountBefore, int row);
    // The rows `deleted` (indices as they were) are gone: the order keeps the others
    // in the same sequence, renumbered, and the position stays on the row it named or
    // moves to the one after it, within the rows left.
    void RowsDeleted(RowStore& rows, const std::vector<int>& deleted);

    int Mode() const { return mode; }
    int Position() const { return position; }
    const std::vector<int>& Order() const { return order; }

    Clock clock = &CalendarSeconds;

private:
    int mode = 0;
    int position = 0;
    std::vector<int> order;
};

// The permutation of 0 .. n - 1 that `seed` gives: a Fisher-Yates shuffle driven by a
// 64-bit generator, so it covers any row count in linear time.
std::vector<int> ShuffledRows(int n, uint64_t seed);
