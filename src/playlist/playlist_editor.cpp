#include "playlist/playlist_editor.h"

#include <commctrl.h>

#include <string>

#include "playback/control_panel.h"
#include "playlist/playlist_entry.h"
#include "playlist/playlist_file.h"
#include "resources/resource_ids.h"
#include "ui/whole_file.h"

namespace {

struct Column {
    const char* header;
    int width;
};
const Column kColumns[] = {{"艺术家", 100}, {"标题", 140}, {"时长", 40}};

void SetCellText(HWND list, int row, int column, const char* text) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text);
    SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

}  // namespace

LRESULT PlayListEditor::HandleMessage(UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: OnInitDialog(); break;
    case WM_NOTIFY: OnNotify(reinterpret_cast<const NMHDR*>(lParam)); break;
    // Closing only hides the editor; it lives until the process ends.
    case WM_CLOSE: HideEditor(); break;
    default: break;
    }
    return 0;
}

void PlayListEditor::OnInitDialog() {
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    listView = GetDlgItem(window, IDC_PLAYLIST);
    SendMessageA(listView, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
    for (int i = 0; i < 3; ++i) {
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
        column.fmt = LVCFMT_LEFT;
        column.cx = kColumns[i].width;
        column.pszText = const_cast<char*>(kColumns[i].header);
        SendMessageA(listView, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
}

// A row's entry goes with the row. Rows that are moved hand their entry on first
// and are deleted holding none.
void PlayListEditor::OnNotify(const NMHDR* header) {
    if (header->code != LVN_DELETEITEM) return;
    const int row = reinterpret_cast<const NMLISTVIEW*>(header)->iItem;
    if (row < 0) return;
    delete RowEntry(row);
}

void PlayListEditor::ShowEditor() {
    Show(SW_SHOW);
}

void PlayListEditor::HideEditor() {
    Show(SW_HIDE);
}

int PlayListEditor::AddFile(const char* path) {
    InputPlugin* input = controlPanel.input;
    if (input == nullptr) return 0;
    auto* entry = new PlaylistEntry(path);
    if (input->Open(path, &entry->info) == 0) {
        delete entry;
        return 0;
    }
    if (entry->info.title[0] == '\0') {
        TitleFromFileName(entry->info.title, path, sizeof(entry->info.title), IsAnsiLeadByte);
    }
    AppendRow(entry);
    input->Close();
    return 1;
}

void PlayListEditor::AppendRow(PlaylistEntry* entry) {
    const int count = RowCount();
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = count;
    item.pszText = const_cast<char*>(entry->info.artist[0] != '\0' ? entry->info.artist : "不明");
    item.lParam = reinterpret_cast<LPARAM>(entry);
    const int row = static_cast<int>(SendMessageA(listView, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    SetCellText(listView, row, 1, entry->info.title);
    SetCellText(listView, row, 2, MinutesAndSeconds(entry->info.length).c_str());
    playOrder.AppendRow(count, row);
}

int PlayListEditor::LoadPlaylistFile(const char* path) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) return 0;
    // One repaint for the whole file rather than one a row.
    SendMessageA(listView, WM_SETREDRAW, FALSE, 0);
    for (const std::string& piece : ReadPlaylistPieces(bytes)) AddFile(piece.c_str());
    SendMessageA(listView, WM_SETREDRAW, TRUE, 0);
    return 1;
}

void PlayListEditor::SavePlaylistFile(const char* path) {
    SetMode(0);
    const int rows = RowCount();
    std::string bytes;
    Rewind();
    for (int i = 0; i < rows; ++i) {
        if (const PlaylistEntry* entry = CurrentEntry()) AppendPathLine(bytes, entry->path);
        StepNext();
    }
    ReplaceWholeFile(path, bytes);
}

int PlayListEditor::RowCount() {
    return static_cast<int>(SendMessageA(listView, LVM_GETITEMCOUNT, 0, 0));
}

PlaylistEntry* PlayListEditor::RowEntry(int row) {
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendMessageA(listView, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return reinterpret_cast<PlaylistEntry*>(item.lParam);
}

void PlayListEditor::DeleteAllRows() {
    SendMessageA(listView, LVM_DELETEALLITEMS, 0, 0);
}
