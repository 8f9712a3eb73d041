// The playlist editor dialog: an owner-data list view over the playlist model, which
// holds the entries; the dialog shows them and forwards the user's commands. It also
// runs the reader that fills in the details the rows were made without.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "playlist/detail_reader.h"
#include "playlist/playlist_file.h"
#include "playlist/playlist_model.h"
#include "ui/dialog_base.h"

class PlayListEditor : public DialogBase, private PlaylistView {
public:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    void ShowEditor();
    void HideEditor();

    // The editor's commands.
    void OpenFiles();
    void DeleteSelected();
    void MoveSelectedUp() { MoveSelected(true); }
    void MoveSelectedDown() { MoveSelected(false); }

    // Appends the file as a row at once; its details follow. A file the plug-in
    // refuses then leaves the list again.
    int AddFile(const char* path);
    void ClearPlaylist();

    // Adds every entry of the file that could be a track, without opening any; 0 when
    // the playlist file cannot be opened. Entries the code page cannot name are
    // refused in one box owned by `owner`.
    int LoadPlaylistFile(const char* path, ListOrigin origin = ListOrigin::Elsewhere, HWND owner = nullptr);
    // Writes the rows' paths in list order, leaving the play mode 0. The file is
    // replaced whole or not at all.
    void SavePlaylistFile(const char* path);
    // The cache of details: read before the playlist at start, written with it at exit.
    void LoadTrackCache(const char* path);
    void SaveTrackCache(const char* path);
    // Ends the reader, within its wait, and takes what it found.
    void StopReading();

    HWND listView = nullptr;
    // The current directory at start, made current again after the open-file dialog
    // has moved it: the skin and the plug-ins are named relative to it, and so are the
    // playlist's relative paths.
    const char* startDirectory = ".";

private:
    void OnInitDialog();
    void OnCommand(int id);
    LRESULT OnNotify(const NMHDR* header);
    void ShowText(NMLVDISPINFOA& cell);
    int FindRow(const NMLVFINDITEMA& find);
    void MoveSelected(bool up);
    // The list view's row count set to the model's, its selection and place kept.
    void ShowCount();
    void TakeDetails();
    void EntriesChanged(const std::vector<uint32_t>& ids) override;
    void RowsRemoved(const std::vector<int>& rows) override;
    // The dialog's answer, in a buffer that grows when the user chose more than fits;
    // empty when the user cancelled.
    std::vector<wchar_t> AskForFiles();

    std::shared_ptr<DetailQueue> queue;
    DetailReader reader;
};

extern PlaylistModel playlist;
extern PlayListEditor playListEditor;
