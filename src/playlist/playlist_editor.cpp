#include "playlist/playlist_editor.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <string>

#include "playback/control_panel.h"
#include "playback/plugin_loader.h"
#include "playlist/ansi_path.h"
#include "playlist/drop_rule.h"
#include "playlist/dropped_files.h"
#include "playlist/open_files.h"
#include "playlist/playlist_entry.h"
#include "playlist/playlist_file.h"
#include "playlist/row_moves.h"
#include "resources/resource_ids.h"
#include "ui/whole_file.h"

namespace {

struct Column {
    const char* header;
    int width;
};
const Column kColumns[] = {{"艺术家", 100}, {"标题", 140}, {"时长", 40}};

// The reader's word that details wait. They are taken a little later, many at once:
// the window wakes a few times a second for them, not once a file.
constexpr UINT kDetailsMessage = WM_APP + 1;
// The reader starts once the message loop runs: while the list loads and the
// character first shows, the second processor is theirs.
constexpr UINT kStartReading = WM_APP + 2;
constexpr UINT_PTR kDetailsTimer = 1;
constexpr UINT kDetailsDelayMs = 50;

// The input plug-in's DescribeFile; null for a plug-in made before it.
DescribeFileExport Describer() {
    return reinterpret_cast<DescribeFileExport>(pluginLoader.InputExport(kInputDescribesFiles, "DescribeFile"));
}

void SetRowState(HWND list, int row, UINT state, UINT mask) {
    LVITEMA item = {};
    item.state = state;
    item.stateMask = mask;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

// The rows as the user sees them: the model's, with the list view's selection and
// focus, taken once and put back once, so that a command costs the same on any length.
class SelectedRows final : public RowList {
public:
    explicit SelectedRows(HWND list) : list(list), selected(playlist.RowCount(), false) {
        for (int row = -1; (row = Next(row, LVNI_SELECTED)) >= 0;) selected[row] = true;
        focus = Next(-1, LVNI_FOCUSED);
    }
    int RowCount() override { return static_cast<int>(selected.size()); }
    bool IsSelected(int row) override { return selected[row]; }
    void MoveRow(int from, int to) override {
        playlist.MoveRow(from, to);
        const bool was = selected[from];
        selected[from] = selected[to];
        selected[to] = was;
        focus = focus == from ? to : focus == to ? from : focus;
        changed = true;
    }
    // The model deletes them all at once afterwards, highest first; the focus keeps
    // its place, and no row is left selected.
    void DeleteRow(int row) override {
        if (focus > row) --focus;
        selected[row] = false;
    }
    // The rows, their selection and focus back on the list as they are now, the same
    // rows in view. The list forgets its selection all at once: row by row, or all rows
    // asked to, takes seconds on a long list.
    void Show(int rows) {
        SendMessageA(list, WM_SETREDRAW, FALSE, 0);
        const int top = static_cast<int>(SendMessageA(list, LVM_GETTOPINDEX, 0, 0));
        const int page = static_cast<int>(SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0));
        SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
        SendMessageA(list, LVM_SETITEMCOUNT, rows, LVSICF_NOSCROLL);
        for (int row = 0; row < rows && row < RowCount(); ++row) {
            if (selected[row]) SetRowState(list, row, LVIS_SELECTED, LVIS_SELECTED);
        }
        if (focus >= rows) focus = rows - 1;
        if (focus >= 0) SetRowState(list, focus, LVIS_FOCUSED, LVIS_FOCUSED);
        SendMessageA(list, LVM_SETSELECTIONMARK, 0, focus);
        SendMessageA(list, LVM_ENSUREVISIBLE, std::min(top + page, rows) - 1, FALSE);
        SendMessageA(list, LVM_ENSUREVISIBLE, top, FALSE);
        SendMessageA(list, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list, nullptr, FALSE);
    }
    bool changed = false;

private:
    int Next(int row, UINT flags) { return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, row, flags)); }

    HWND list;
    std::vector<bool> selected;
    int focus = -1;
};

}  // namespace

LRESULT PlayListEditor::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: OnInitDialog(); break;
    case WM_COMMAND: OnCommand(LOWORD(wParam)); break;
    case WM_NOTIFY: return OnNotify(reinterpret_cast<const NMHDR*>(lParam));
    case kStartReading:
        if (queue != nullptr) reader.Start(queue, Describer(), startDirectory, window, kDetailsMessage);
        break;
    case kDetailsMessage: SetTimer(window, kDetailsTimer, kDetailsDelayMs, nullptr); break;
    case WM_TIMER:
        if (wParam != kDetailsTimer) break;
        KillTimer(window, kDetailsTimer);
        TakeDetails();
        break;
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
    // A plug-in made before DescribeFile leaves the details to be read as each entry
    // plays: reading them here would hold up the window.
    queue.reset();
    if (Describer() != nullptr) {
        queue = std::make_shared<DetailQueue>();
        PostMessageA(window, kStartReading, 0, 0);
    }
    playlist.ReadWith(queue);
    playlist.view = this;
    ShowCount();
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

// The list asks for what it shows, row by row, and says which rows come next.
LRESULT PlayListEditor::OnNotify(const NMHDR* header) {
    switch (header->code) {
    case LVN_GETDISPINFOA: ShowText(*reinterpret_cast<NMLVDISPINFOA*>(const_cast<NMHDR*>(header))); break;
    case LVN_ODCACHEHINT: {
        const auto* hint = reinterpret_cast<const NMLVCACHEHINT*>(header);
        playlist.PreferRows(hint->iFrom, hint->iTo);
        break;
    }
    case LVN_ODFINDITEMA:
        SetWindowLongPtrA(window, DWLP_MSGRESULT, FindRow(*reinterpret_cast<const NMLVFINDITEMA*>(header)));
        return TRUE;
    // The rows own nothing: no word for each of them as they all go.
    case LVN_DELETEALLITEMS: SetWindowLongPtrA(window, DWLP_MSGRESULT, TRUE); return TRUE;
    case LVN_KEYDOWN:
        if (reinterpret_cast<const NMLVKEYDOWN*>(header)->wVKey == VK_DELETE) DeleteSelected();
        break;
    default: break;
    }
    return 0;
}

void PlayListEditor::ShowText(NMLVDISPINFOA& cell) {
    LVITEMA& item = cell.item;
    if ((item.mask & LVIF_TEXT) == 0 || item.pszText == nullptr || item.cchTextMax <= 0) return;
    if (item.iItem < 0 || item.iItem >= playlist.RowCount()) return;
    const PlaylistEntry& entry = playlist.Row(item.iItem);
    const std::string length = item.iSubItem == 2 ? LengthText(entry) : "";
    const char* text = item.iSubItem == 0 ? ArtistText(entry) : item.iSubItem == 1 ? entry.info.title : length.c_str();
    lstrcpynA(item.pszText, text, item.cchTextMax);
}

// Typing in the list finds the next row whose artist column begins with what was
// typed, as a list that keeps its own rows does.
int PlayListEditor::FindRow(const NMLVFINDITEMA& find) {
    const int rows = playlist.RowCount();
    const char* typed = find.lvfi.psz;
    if ((find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) == 0 || typed == nullptr || rows == 0) return -1;
    const size_t length = lstrlenA(typed);
    const int start = find.iStart < 0 || find.iStart >= rows ? 0 : find.iStart;
    const int steps = (find.lvfi.flags & LVFI_WRAP) != 0 ? rows : rows - start;
    const bool whole = (find.lvfi.flags & LVFI_PARTIAL) == 0;
    for (int step = 0; step < steps; ++step) {
        const int row = (start + step) % rows;
        const char* artist = ArtistText(playlist.Row(row));
        if ((whole ? _stricmp(artist, typed) : _strnicmp(artist, typed, length)) == 0) return row;
    }
    return -1;
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
            RefuseUnnameable(window, {full});
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
        LoadPlaylistFile(plan.paths.front().c_str(), ListOrigin::Elsewhere, window);
    } else {
        for (const std::string& path : plan.paths) playlist.Add(path);
        ShowCount();
    }
}

std::vector<wchar_t> PlayListEditor::AskForFiles() {
    static const char kOthers[] =
        "MPEG音乐文件(*.MPG,*.MP2,*.MP3)\0*.MPG;*.MP2;*.MP3\0播放列表文件(*.M3U,*.M3U8)\0*.M3U;*.M3U8\0所有文件(*.*)\0*.*\0";
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
    SelectedRows rows(listView);
    const std::vector<int> deleted = ::DeleteSelected(rows);
    if (deleted.empty()) return;
    playlist.DeleteRows(deleted);
    rows.Show(playlist.RowCount());
}

void PlayListEditor::MoveSelected(bool up) {
    SelectedRows rows(listView);
    up ? ::MoveSelectedUp(rows) : ::MoveSelectedDown(rows);
    if (rows.changed) rows.Show(playlist.RowCount());
}

void PlayListEditor::ShowEditor() {
    Show(SW_SHOW);
}

void PlayListEditor::HideEditor() {
    Show(SW_HIDE);
}

int PlayListEditor::AddFile(const char* path) {
    playlist.Add(path);
    ShowCount();
    return 1;
}

void PlayListEditor::ClearPlaylist() {
    playlist.Clear();
    SendMessageA(listView, LVM_DELETEALLITEMS, 0, 0);
}

void PlayListEditor::ShowCount() {
    SendMessageA(listView, LVM_SETITEMCOUNT, playlist.RowCount(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    InvalidateRect(listView, nullptr, FALSE);
}

void PlayListEditor::TakeDetails() {
    if (queue != nullptr && playlist.TakeDetails(queue->TakeResults())) controlPanel.DetailsCame();
}

// Most details arrive for rows out of sight: the list is drawn again only when a row
// in view changed.
void PlayListEditor::EntriesChanged(const std::vector<uint32_t>& ids) {
    if (!IsWindowVisible(listView)) return;
    const int top = static_cast<int>(SendMessageA(listView, LVM_GETTOPINDEX, 0, 0));
    const int page = static_cast<int>(SendMessageA(listView, LVM_GETCOUNTPERPAGE, 0, 0));
    const int end = std::min(top + page + 1, playlist.RowCount());
    for (int row = std::max(top, 0); row < end; ++row) {
        if (std::find(ids.begin(), ids.end(), playlist.Row(row).id) == ids.end()) continue;
        InvalidateRect(listView, nullptr, FALSE);
        return;
    }
}

// One by one, so that the list moves the selection of the rows below up with them.
void PlayListEditor::RowsRemoved(const std::vector<int>& rows) {
    for (int row : rows) SendMessageA(listView, LVM_DELETEITEM, row, 0);
    ShowCount();
}

int PlayListEditor::LoadPlaylistFile(const char* path, ListOrigin origin, HWND owner) {
    PlaylistSource list{path, {}, {}, origin};
    // The program's own list is written back at exit, so it is taken only where it
    // could be written; a list made elsewhere is only read.
    const bool opened = origin == ListOrigin::Own ? ReadWholeFile(path, list.bytes, &list.identity)
                                                  : ReadExistingFile(path, list.bytes, &list.identity);
    if (!opened) return 0;
    list.utf8ByName = IsUtf8PlaylistName(LongName(path).c_str(), IsAnsiLeadByte);
    SystemPlaylistFiles files;
    PlaylistRead read = ReadPlaylist(files, list, IsAnsiLeadByte);
    // A line whose file is not there today stays in the list; one that names a folder
    // goes once the reader has seen it.
    for (ListedTrack& track : read.tracks) playlist.Add(std::move(track.path), std::move(track.title), true);
    ShowCount();
    std::vector<std::wstring> refused;
    for (const std::string& name : read.unnameable) refused.push_back(ToWide(name, CP_UTF8, false));
    RefuseUnnameable(owner, refused);
    return 1;
}

void PlayListEditor::SavePlaylistFile(const char* path) {
    ReplaceWholeFile(path, playlist.SaveBytes());
}

void PlayListEditor::LoadTrackCache(const char* path) {
    std::string bytes;
    if (!ReadExistingFile(path, bytes, nullptr)) bytes.clear();
    playlist.UseCache(TrackCache(std::move(bytes)), static_cast<uint32_t>(std::time(nullptr) / 86400));
}

void PlayListEditor::SaveTrackCache(const char* path) {
    ReplaceWholeFile(path, playlist.CacheBytes());
}

// A reader not yet started then never starts.
void PlayListEditor::StopReading() {
    reader.Stop();
    TakeDetails();
    queue.reset();
}
