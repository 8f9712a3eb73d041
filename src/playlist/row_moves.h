// Moving and deleting the selected rows of the playlist's list. Platform-free: the
// list is reached through RowList.
#pragma once

#include <vector>

class RowList {
public:
    virtual int RowCount() = 0;
    virtual bool IsSelected(int row) = 0;
    // Moves a row one place up or down (`to` is `from` - 1 or `from` + 1), with its
    // texts, its entry and its selection.
    virtual void MoveRow(int from, int to) = 0;
    virtual void DeleteRow(int row) = 0;

protected:
    ~RowList() = default;
};

// Each selected row goes one place up, top rows first. Selected rows already at the
// top stay where they are, and so does a selected row right below them: a block that
// touches the edge neither moves nor gets reordered.
void MoveSelectedUp(RowList& rows);
// The same downwards, bottom rows first.
void MoveSelectedDown(RowList& rows);
// Deletes the selected rows from the bottom up; returns their indices as they were,
// highest first.
std::vector<int> DeleteSelected(RowList& rows);
