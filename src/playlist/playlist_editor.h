// The playlist editor dialog, home of the playlist: its list view's rows are the
// playlist (each row's item data is the PlaylistEntry it owns), and the play order
// over those rows lives here too.
#pragma once

#include <string>
#include <vector>

#include "playback/transport.h"
#include "playlist/play_order.h"
#include "playlist/playlist_file.h"
#include "playlist/row_moves.h"
#include "ui/dialog_base.h"

class PlaylistEntry;

class PlayListEditor : public DialogBase, public PlaylistPort, private RowStore, private RowList {
public:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    void ShowEditor();
    void HideEditor();

    // The editor's commands.
    void OpenFiles();
    void DeleteSelected();
    void MoveSelectedUp() { ::MoveSelectedUp(*this); }
    void MoveSelectedDown() { ::MoveSelectedDown(*this); }
    // Moves a row to the place above or below it, with its texts, its entry and its
    // selected, focused and highlighted state.
    void MoveRow(int from, int to) override;

    // Opens the file through the input plug-in and appends it as a new row; 0 when
    // the plug-in refuses it (nothing changes then). With `keepWhenRefused` (a line of
    // a playlist file) a refused file is appended too, marked unavailable, under the
    // list's title for it when it gave one.
    int AddFile(const char* path, bool keepWhenRefused = false, const std::string& listedTitle = {});
    void AppendRow(PlaylistEntry* entry);
    void EntryChanged(PlaylistEntry* entry) override;

    // The play order over the rows.
    int RowCount() override;
    void SetMode(int bits) { playOrder.SetMode(*this, bits); }
    int CurrentNumber() override { return playOrder.CurrentNumber(*this); }
    PlaylistEntry* CurrentEntry() override { return playOrder.CurrentEntry(*this); }
    int Rewind() { return playOrder.Rewind(*this); }
    int StepNext() override { return playOrder.StepNext(*this); }
    int StepPrevious() override { return playOrder.StepPrevious(*this); }
    void ClearPlaylist() { playOrder.ClearPlaylist(*this); }

    // Adds every entry of the file that could be a track, keeping those whose file
    // cannot be opened today; 0 when the playlist file cannot be opened. Entries the
    // code page cannot name are refused in one box owned by `owner`.
    int LoadPlaylistFile(const char* path, ListOrigin origin = ListOrigin::Elsewhere, HWND owner = nullptr);
    // Writes the rows' paths in list order, leaving the play mode 0. The file is
    // replaced whole or not at all.
    void SavePlaylistFile(const char* path);

    HWND listView = nullptr;
    // The current directory at start, made current again after the open-file dialog
    // has moved it: the skin and the plug-ins are named relative to it.
    const char* startDirectory = ".";

private:
    void OnInitDialog();
    void OnCommand(int id);
    void OnNotify(const NMHDR* header);
    void ShowRow(int row, const PlaylistEntry& entry);
    // The dialog's answer, in a buffer that grows when the user chose more than fits;
    // empty when the user cancelled.
    std::vector<wchar_t> AskForFiles();

    PlaylistEntry* RowEntry(int row) override;
    void DeleteAllRows() override;
    bool IsSelected(int row) override;
    void DeleteRow(int row) override;

    PlayOrder playOrder;
};

extern PlayListEditor playListEditor;
