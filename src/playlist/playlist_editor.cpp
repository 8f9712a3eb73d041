#include "playlist/playlist_editor.h"

#include <commctrl.h>
#include <commdlg.h>

#include <memory>
#include <string>

#include "playback/control_panel.h"
#include "playlist/ansi_path.h"
#include "playlist/drop_rule.h"
#include "playlist/dropped_files.h"
#include "playlist/open_files.h"
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

// Many rows changed at once: the list repaints once, at the end, rather than for
// every row.
class RowBatch {
public:
    explicit RowBatch(HWND list) : list(list) { SendMessageA(list, WM_SETREDRAW, FALSE, 0); }
    ~RowBatch() {
        SendMessageA(list, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list, nullptr, TRUE);
    }
    RowBatch(const RowBatch&) = delete;
    RowBatch& operator=(const RowBatch&) = delete;

private:
    HWND list;
};

void SetCellText(HWND list, int row, int column, const char* text) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text);
    SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

}  // namespace

LRESULT PlayListEditor::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: OnInitDialog(); break;
    case WM_COMMAND: OnCommand(LOWORD(wParam)); break;
    case WM_NOTIFY: OnNotify(reinterpret_cast<const NMHDR*>(lParam)); break;
    // The editor's refusal box has no owner, so the editor stays usable meanwhile.
    case WM_DROPFILES: HandleDrop(reinterpret_cast<HDROP>(wParam), nullptr); break;
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

// Whatever the notification code. 40002 is "关闭(&X)" here.
void PlayListEditor::OnCommand(int id) {
    switch (id) {
    case IDC_ADD:
    case ID_EDITOR_OPEN: OpenFiles(); break;
    case IDC_DELETE:
    case ID_EDITOR_DELETE: DeleteSelected(); break;
    case IDC_CLOSE:
    case ID_EDITOR_CLOSE:
    case IDCANCEL: HideEditor(); break;
    case ID_EDITOR_DELETE_ALL: ClearPlaylist(); break;
    case ID_EDITOR_MOVE_UP: MoveSelectedUp(); break;
    case ID_EDITOR_MOVE_DOWN: MoveSelectedDown(); break;
    default: break;
    }
}

// A row's entry goes with the row. Rows that are moved hand their entry on first
// and are deleted holding none.
void PlayListEditor::OnNotify(const NMHDR* header) {
    if (header->code == LVN_KEYDOWN) {
        if (reinterpret_cast<const NMLVKEYDOWN*>(header)->wVKey == VK_DELETE) DeleteSelected();
        return;
    }
    if (header->code != LVN_DELETEITEM) return;
    const int row = reinterpret_cast<const NMLISTVIEW*>(header)->iItem;
    if (row < 0) return;
    delete RowEntry(row);
}

// The dialog answers in UTF-16, so that names the code page cannot spell arrive
// whole and can go by their short names.
void PlayListEditor::OpenFiles() {
    // The dialog may leave its folder current, and the chosen folder is made current
    // for the adding: the start folder comes back on every way out.
    struct StartFolderBack {
        const char* folder;
        ~StartFolderBack() { SetCurrentDirectoryA(folder); }
    } back{startDirectory};
    const std::vector<wchar_t> chosen = AskForFiles();
    if (chosen.empty()) return;
    controlPanel.StopPlayback();
    std::vector<std::wstring> parts;
    for (const wchar_t* part = chosen.data(); *part != L'\0'; part += parts.back().size() + 1) parts.emplace_back(part);
    const DWORD attributes = GetFileAttributesW(parts[0].c_str());
    const bool several = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    std::string answer;
    size_t directoryLength = 0;
    for (size_t i = 0; i < parts.size(); ++i) {
        const bool inDirectory = several && i > 0;
        const std::wstring full = inDirectory ? parts[0] + L"\\" + parts[i] : parts[i];
        const std::string ansi = AnsiName(full, parts[i], inDirectory ? directoryLength + 1 : 0);
        if (ansi.empty()) {
            RefuseUnnameable(window, full);
            if (i == 0) return;
            continue;
        }
        if (i == 0) directoryLength = ansi.size();
        answer += ansi + '\0';
    }
    answer += '\0';
    const OpenFilesPlan plan = PlanOpenFiles(answer.data(), answer.size(), several, IsAnsiLeadByte);
    if (several) SetCurrentDirectoryA(plan.directory.c_str());
    if (plan.replacePlaylist) {
        ClearPlaylist();
        LoadPlaylistFile(plan.paths.front().c_str());
    } else {
        for (const std::string& path : plan.paths) AddFile(path.c_str());
    }
}

std::vector<wchar_t> PlayListEditor::AskForFiles() {
    static const char kOthers[] =
        "MPEG音乐文件(*.MPG,*.MP2,*.MP3)\0*.MPG;*.MP2;*.MP3\0播放列表文件(*.M3U)\0*.M3U\0所有文件(*.*)\0*.*\0";
    const std::string filters =
        std::string("音乐文件") + '\0' + MusicFilePattern() + '\0' + std::string(kOthers, sizeof(kOthers));
    std::wstring filter(filters.size(), L'\0');
    filter.resize(MultiByteToWideChar(CP_ACP, 0, filters.data(), static_cast<int>(filters.size()), filter.data(),
                                      static_cast<int>(filters.size())));
    // Room for thousands of names. A list that does not fit comes back shortened
    // without a word under Wine, and refused under Windows, so the first buffer is
    // large, and a refusal grows it and asks again.
    constexpr size_t kLargest = 16 * 1024 * 1024;
    std::vector<wchar_t> files(1024 * 1024, L'\0');
    for (;;) {
        OPENFILENAMEW dialog = {};
        dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
        dialog.hwndOwner = window;
        dialog.hInstance = GetModuleHandleA(nullptr);
        dialog.lpstrFilter = filter.c_str();
        dialog.lpstrFile = files.data();
        dialog.nMaxFile = static_cast<DWORD>(files.size());
        dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY;
        if (GetOpenFileNameW(&dialog)) return files;
        if (CommDlgExtendedError() != FNERR_BUFFERTOOSMALL || files.size() >= kLargest) return {};
        // More names were chosen than the buffer holds: say so and ask again with room.
        MessageBoxA(window, "一次选择的文件太多，请再选一次。", "WuzzlePlayer", MB_OK | MB_ICONINFORMATION);
        files.assign(files.size() * 4, L'\0');
    }
}

// The play order is brought back to the rows left.
void PlayListEditor::DeleteSelected() {
    std::vector<int> deleted;
    {
        RowBatch batch(listView);
        deleted = ::DeleteSelected(*this);
    }
    if (!deleted.empty()) playOrder.RowsDeleted(*this, deleted);
}

void PlayListEditor::MoveRow(int from, int to) {
    char text[256];
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
    item.stateMask = LVIS_FOCUSED | LVIS_SELECTED | LVIS_DROPHILITED;
    item.iItem = from;
    item.pszText = text;
    item.cchTextMax = 255;
    SendMessageA(listView, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    // The copy goes in above the row it moves past, or below it.
    if (from > to) {
        ++from;
    } else {
        ++to;
    }
    item.iItem = to;
    const int copy = static_cast<int>(SendMessageA(listView, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    const HWND header = reinterpret_cast<HWND>(SendMessageA(listView, LVM_GETHEADER, 0, 0));
    const int columns = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    for (int column = 1; column < columns; ++column) {
        LVITEMA cell = {};
        cell.iSubItem = column;
        cell.pszText = text;
        cell.cchTextMax = 255;
        SendMessageA(listView, LVM_GETITEMTEXTA, from, reinterpret_cast<LPARAM>(&cell));
        SetCellText(listView, copy, column, text);
    }
    // The entry now belongs to the copy: the row deleted next must not take it along.
    LVITEMA data = {};
    data.mask = LVIF_PARAM;
    data.iItem = from;
    data.lParam = 0;
    SendMessageA(listView, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&data));
    SendMessageA(listView, LVM_DELETEITEM, from, 0);
}

void PlayListEditor::ShowEditor() {
    Show(SW_SHOW);
}

void PlayListEditor::HideEditor() {
    Show(SW_HIDE);
}

int PlayListEditor::AddFile(const char* path, bool keepWhenRefused) {
    InputPlugin* input = controlPanel.input;
    if (input == nullptr) return 0;
    auto entry = std::make_unique<PlaylistEntry>(path);
    if (!ReadTrackDetails(*input, *entry, keepWhenRefused, IsAnsiLeadByte)) return 0;
    AppendRow(entry.release());
    return 1;
}

void PlayListEditor::AppendRow(PlaylistEntry* entry) {
    const int count = RowCount();
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = count;
    item.lParam = reinterpret_cast<LPARAM>(entry);
    const int row = static_cast<int>(SendMessageA(listView, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    ShowRow(row, *entry);
    playOrder.AppendRow(count, row);
}

void PlayListEditor::ShowRow(int row, const PlaylistEntry& entry) {
    SetCellText(listView, row, 0, entry.info.artist[0] != '\0' ? entry.info.artist : "不明");
    SetCellText(listView, row, 1, entry.info.title);
    SetCellText(listView, row, 2, LengthText(entry).c_str());
}

void PlayListEditor::EntryChanged(PlaylistEntry* entry) {
    LVFINDINFOA find = {};
    find.flags = LVFI_PARAM;
    find.lParam = reinterpret_cast<LPARAM>(entry);
    const int row = static_cast<int>(SendMessageA(listView, LVM_FINDITEMA, -1, reinterpret_cast<LPARAM>(&find)));
    if (row >= 0) ShowRow(row, *entry);
}

int PlayListEditor::LoadPlaylistFile(const char* path) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) return 0;
    RowBatch batch(listView);
    for (const std::string& line : ReadPlaylistPieces(bytes)) {
        if (!IsTrackLine(line, IsAnsiLeadByte)) continue;
        const DWORD attributes = GetFileAttributesA(line.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
        // A line whose file is not there today stays in the list.
        AddFile(line.c_str(), true);
    }
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

bool PlayListEditor::IsSelected(int row) {
    return SendMessageA(listView, LVM_GETITEMSTATE, row, LVIS_SELECTED) != 0;
}

void PlayListEditor::DeleteRow(int row) {
    SendMessageA(listView, LVM_DELETEITEM, row, 0);
}
