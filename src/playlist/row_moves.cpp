#include "playlist/row_moves.h"

namespace {

// `step` -1 moves up, +1 down. `first` is the row next to the edge the rows move
// towards; the walk starts there, so a row moves only after the one before it has.
void MoveSelected(RowList& rows, int step) {
    const int n = rows.RowCount();
    const int first = step < 0 ? 0 : n - 1;
    bool blocked = false;  // the row just walked is selected and stuck at the edge
    for (int i = first; i >= 0 && i < n; i -= step) {
        if (!rows.IsSelected(i)) {
            blocked = false;
        } else if (i == first || blocked) {
            blocked = true;
        } else {
            rows.MoveRow(i, i + step);
        }
    }
}

}  // namespace

void MoveSelectedUp(RowList& rows) {
    MoveSelected(rows, -1);
}

void MoveSelectedDown(RowList& rows) {
    MoveSelected(rows, +1);
}

std::vector<int> DeleteSelected(RowList& rows) {
    std::vector<int> deleted;
    for (int i = rows.RowCount() - 1; i >= 0; --i) {
        if (!rows.IsSelected(i)) continue;
        rows.DeleteRow(i);
        deleted.push_back(i);
    }
    return deleted;
}
