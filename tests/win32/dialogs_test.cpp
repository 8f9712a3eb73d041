// The control panel and the playlist editor as the program makes them: from its own
// resources, with the real input plug-in (the test data folder is staged like the
// program's), inside the character window's creation. Then the playlist on the real
// list view: rows, drops, and the end of the session.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/context_menu.h"
#include "character_fixture.h"
#include "playback/control_panel.h"
#include "playlist/playlist_editor.h"

namespace {

using Dialogs = CharacterWindowTest;

// The dialog's caption, then each control in template order as id, class and text.
std::string Controls(HWND dialog) {
    std::string seen = WindowText(dialog);
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[64] = {};
        GetClassNameA(child, name, sizeof(name));
        seen.append(" ").append(std::to_string(GetDlgCtrlID(child))).append(":").append(name).append(":");
        seen.append(WindowText(child));
    }
    return seen;
}

// Both dialogs as the resources make them: their controls, ids and texts; hidden and
// topmost at the start; the volume's range and the editor's columns.
TEST_F(Dialogs, TheDialogsAreTheirResources) {
    EXPECT_EQ(Controls(controlPanel.Window()),
              "控制面板 1004:Static: 1005:Static: 1006:Static: 1007:Static:千字节/秒 1009:Static: 1008:Static:千赫兹 "
              "1011:Button:随机 1012:Button:停止 1013:Button:循环 1014:Button:暂停 1015:Button:上一首 "
              "1016:Button:下一首 1017:Button:播放 1018:msctls_trackbar32:Slider1 1020:msctls_trackbar32:");
    EXPECT_EQ(Controls(playListEditor.Window()),
              "播放列表编辑器 1000:SysListView32:List1 1001:Button:添加 1002:Button:删除 1003:Button:关闭 "
              "-1:Static:播放列表编辑器");
    for (HWND dialog : {controlPanel.Window(), playListEditor.Window()}) {
        EXPECT_FALSE(IsWindowVisible(dialog));
        EXPECT_TRUE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);
    }
    EXPECT_EQ(SendMessageA(controlPanel.volumeSlider, TBM_GETRANGEMAX, 0, 0), 100);
    std::string columns;
    for (int i = 0; i < 3; ++i) {
        char header[32] = {};
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = header;
        column.cchTextMax = sizeof(header);
        SendMessageA(playListEditor.listView, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
        columns.append(header).append("/").append(std::to_string(column.cx)).append(" ");
    }
    EXPECT_EQ(columns, "艺术家/100 标题/140 时长/40 ");
}

std::string Cell(int row, int column) {
    char text[256] = {};
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    SendMessageA(playListEditor.listView, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

int RowCount() {
    return static_cast<int>(SendMessageA(playListEditor.listView, LVM_GETITEMCOUNT, 0, 0));
}

std::string FullPath(const std::string& relative) {
    char full[1024];
    GetFullPathNameA(relative.c_str(), sizeof(full), full, nullptr);
    return full;
}

// The details the reader found, taken as the window's thread takes them.
void AwaitDetails() {
    for (const DWORD start = GetTickCount(); playlist.Unread() > 0 && GetTickCount() - start < 10000;) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }
}

// The panel's buttons, and the media keys arriving while the character has the focus
// (WM_APPCOMMAND), drive the player.
TEST_F(Dialogs, ButtonsAndMediaKeysDriveThePlayer) {
    for (int i = 0; i < 8; ++i) ASSERT_EQ(playListEditor.AddFile("audio\\tone1s.mp3"), 1);
    // A panel button's id clicked (BM_CLICK) or an app command to the character; the
    // state and the track's number after it.
    using enum PlayerState;
    const std::tuple<UINT, int, PlayerState, int> steps[] = {
        {BM_CLICK, 1017, Playing, 1}, {BM_CLICK, 1016, Playing, 2}, {BM_CLICK, 1015, Playing, 1},
        {BM_CLICK, 1014, Paused, 1},  {BM_CLICK, 1014, Playing, 1}, {BM_CLICK, 1012, Stopped, 1},
        {BM_CLICK, 1015, Stopped, 1}, {BM_CLICK, 1013, Stopped, 1} /* Loop on */, {BM_CLICK, 1015, Stopped, 8},
        {WM_APPCOMMAND, APPCOMMAND_MEDIA_PLAY_PAUSE, Playing, 8},
        {WM_APPCOMMAND, APPCOMMAND_MEDIA_PLAY_PAUSE, Paused, 8},
        {WM_APPCOMMAND, APPCOMMAND_MEDIA_PLAY_PAUSE, Playing, 8},
        {WM_APPCOMMAND, APPCOMMAND_MEDIA_PREVIOUSTRACK, Playing, 7},
        {WM_APPCOMMAND, APPCOMMAND_MEDIA_NEXTTRACK, Playing, 8}, {WM_APPCOMMAND, APPCOMMAND_MEDIA_STOP, Stopped, 8},
        {WM_APPCOMMAND, APPCOMMAND_MEDIA_PREVIOUSTRACK, Stopped, 7},
    };
    for (const auto& [message, key, state, number] : steps) {
        if (message == BM_CLICK) {
            SendDlgItemMessageA(controlPanel.Window(), key, BM_CLICK, 0, 0);
        } else {
            SendMessageA(window, message, reinterpret_cast<WPARAM>(window), MAKELPARAM(0, key));
        }
        EXPECT_EQ(controlPanel.input->GetState(), state) << message << " " << key;
        EXPECT_EQ(playlist.CurrentNumber(), number) << message << " " << key;
        // The tray icon's tip names the track while one is open, playing or paused.
        char tip[32] = "WuzzlePlayer";
        if (state != Stopped) snprintf(tip, sizeof(tip), "%02d tone1s", number);
        EXPECT_STREQ(trayIconData.szTip, tip) << message << " " << key;
    }
}


// Each row as the first letter of its title.
std::string Rows() {
    std::string rows;
    for (int row = 0; row < RowCount(); ++row) rows += Cell(row, 1)[0];
    return rows;
}

// Rows titled a, b, c ... (the files' titles come from their names).
void AddRows(const std::string& letters) {
    for (char letter : letters) {
        const std::string path = std::string(1, letter) + ".mp3";
        CopyFileA("audio\\tag-none.mp3", path.c_str(), FALSE);
        ASSERT_EQ(playListEditor.AddFile(path.c_str()), 1);
    }
}

// A drop as the shell hands it over, in ANSI or wide characters.
template <typename Char>
HDROP MakeDrop(const std::vector<std::basic_string<Char>>& paths) {
    size_t bytes = sizeof(DROPFILES) + sizeof(Char);
    for (const auto& path : paths) bytes += (path.size() + 1) * sizeof(Char);
    HGLOBAL memory = GlobalAlloc(GHND, bytes);
    auto* files = static_cast<DROPFILES*>(GlobalLock(memory));
    files->pFiles = sizeof(DROPFILES);
    files->fWide = sizeof(Char) > 1;
    auto* at = reinterpret_cast<Char*>(files + 1);
    for (const auto& path : paths) at = std::copy(path.begin(), path.end(), at) + 1;
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

struct Refusal {
    int seen = 0;
    std::string caption, text;
    HWND owner = nullptr;
};
Refusal refusal;

// Runs inside the refusal box's modal loop: drops a file on the editor meanwhile,
// then answers the box, whatever it says.
void CALLBACK AnswerRefusal(HWND, UINT, UINT_PTR, DWORD) {
    HWND box = nullptr;
    do box = FindWindowExA(nullptr, box, "#32770", nullptr);
    while (box != nullptr && (!IsWindowVisible(box) || box == controlPanel.Window() || box == playListEditor.Window()));
    if (box == nullptr) return;
    if (++refusal.seen == 1) {
        char text[64] = {};
        GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
        refusal.caption = WindowText(box);
        refusal.text = text;
        refusal.owner = GetWindow(box, GW_OWNER);
        SendMessageA(playListEditor.Window(), WM_DROPFILES,
                     reinterpret_cast<WPARAM>(MakeDrop<char>({FullPath("c.mp3")})), 0);
    }
    SendMessageA(box, WM_COMMAND, IDOK, 0);
}

// b.MP3 lies deep enough for its path to pass MAX_PATH: cut at 255 bytes it would
// name nothing, and whole the plug-in cannot open it; it goes by its short name.
TEST_F(Dialogs, ADropTakesItsFilesInOrderAndASecondDropDuringARefusalDoesNotDisturbIt) {
    const std::string deep = std::string(270 - FullPath(".").size() - 7, 'd');
    CreateDirectoryA(deep.c_str(), nullptr);
    for (const std::string& name : {std::string("a.mp3"), deep + "\\b.MP3", std::string("c.mp3")})
        CopyFileA("audio\\tag-none.mp3", name.c_str(), FALSE);
    std::ofstream("notes.txt") << "not music";
    AddRows("z");
    controlPanel.PlayCurrent();
    ASSERT_EQ(controlPanel.input->GetState(), PlayerState::Playing);
    const std::string longPath = FullPath(".") + "\\" + deep + "\\b.MP3";
    ASSERT_GE(longPath.size(), static_cast<size_t>(MAX_PATH));
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, AnswerRefusal);
    SendMessageA(window, WM_DROPFILES,
                 reinterpret_cast<WPARAM>(MakeDrop<char>({FullPath("a.mp3"), FullPath("notes.txt"), longPath})), 0);
    KillTimer(nullptr, timer);
    EXPECT_EQ(Rows(), "zacb");
    // Stopped for the program too: the next track is only shown, not played.
    controlPanel.NextTrack();
    EXPECT_EQ(controlPanel.input->GetState(), PlayerState::Stopped) << "a drop stops playback";
    EXPECT_EQ(refusal.seen, 1);
    EXPECT_EQ(refusal.caption, "只接受 mp3、flac、ogg、oga、opus、wav、m4a、aac、wma、wv、m3u 和 m3u8 文件。");
    EXPECT_EQ(refusal.text, "未知文件格式。");
    EXPECT_EQ(refusal.owner, window);

    std::ofstream("list.m3u", std::ios::binary) << "c.mp3\r\na.mp3\r\n";
    SendMessageA(playListEditor.Window(), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(MakeDrop<char>({FullPath("list.m3u")})), 0);
    EXPECT_EQ(Rows(), "ca") << "a playlist file replaces the playlist";
}

std::string FileBytes(const char* path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Answers the box that refuses a name, should one come.
void CALLBACK CloseBox(HWND, UINT, UINT_PTR, DWORD) {
    if (HWND box = FindWindowA("#32770", "WuzzlePlayer")) SendMessageA(box, WM_COMMAND, IDOK, 0);
}

// The code page cannot spell the name, but it can spell the short name, which the
// plug-in opens and the playlist file keeps.
TEST_F(Dialogs, ADroppedFileNamedOutsideTheCodePageIsTakenByItsShortName) {
    const std::wstring name = L"\uB178\uB798\U0001F3B5.mp3";
    ASSERT_TRUE(CopyFileW(L"audio\\tag-v24-utf8.mp3", name.c_str(), FALSE));
    wchar_t full[MAX_PATH];
    GetFullPathNameW(name.c_str(), MAX_PATH, full, nullptr);
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, CloseBox);
    SendMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop<wchar_t>({full})), 0);
    KillTimer(nullptr, timer);
    AwaitDetails();
    ASSERT_EQ(RowCount(), 1);
    EXPECT_EQ(Cell(0, 1), "春天的故事");
    playListEditor.SavePlaylistFile("Data\\PlayList.m3u");
    const std::string saved = FileBytes("Data\\PlayList.m3u");
    EXPECT_TRUE(saved.find('~') != std::string::npos && std::all_of(saved.begin(), saved.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x80;
    })) << saved;
    DeleteFileW(name.c_str());
}

// A volume beyond what the slider shows is held at its end. The title balloon's
// switch is the file's fourth line and the menu's "歌名气泡".
TEST_F(Dialogs, TheEndOfTheSessionSavesThePlaylistAndTheSettingsAsRead) {
    AddRows("ab");
    std::ofstream("Data\\loud.ini", std::ios::binary) << "1\r\n1\r\n150\r\n0";
    ASSERT_EQ(controlPanel.LoadSettings("Data\\loud.ini"), 1);
    EXPECT_EQ(SendMessageA(controlPanel.volumeSlider, TBM_GETPOS, 0, 0), 100);
    auto balloonsChecked = [&] {
        return WatchMenu([&] { SendMessageA(window, WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(200, 150)); })
            .titleBalloonsChecked;
    };
    EXPECT_FALSE(balloonsChecked());
    SendMessageA(window, WM_COMMAND, 40015, 0);
    EXPECT_TRUE(balloonsChecked());
    EXPECT_TRUE(SendMessageA(window, WM_QUERYENDSESSION, 0, 0));
    SendMessageA(window, WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(FileBytes("Data\\PlayList.m3u"), "a.mp3\r\nb.mp3\r\n");
    EXPECT_EQ(FileBytes("Data\\Wzmp.ini"), "1\r\n1\r\n100\r\n1\r\n1");
}

// The program's own playlist file, read-only, cannot be opened for reading and
// writing: it is not loaded, and an exit leaves it as it was. A list made elsewhere
// is only read, read-only or not.
TEST_F(Dialogs, AReadOnlyPlaylistFileIsNeitherLoadedNorReplaced) {
    AddRows("a");
    std::ofstream("Data\\readonly.m3u", std::ios::binary) << "b.mp3\r\n";
    SetFileAttributesA("Data\\readonly.m3u", FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(playListEditor.LoadPlaylistFile("Data\\readonly.m3u", ListOrigin::Own), 0);
    playListEditor.SavePlaylistFile("Data\\readonly.m3u");
    EXPECT_EQ(FileBytes("Data\\readonly.m3u"), "b.mp3\r\n");
    EXPECT_EQ(Rows(), "a");
    EXPECT_EQ(playListEditor.LoadPlaylistFile("Data\\readonly.m3u"), 1);
    EXPECT_EQ(Rows(), "ab");
    SetFileAttributesA("Data\\readonly.m3u", FILE_ATTRIBUTE_NORMAL);
    DeleteFileA("Data\\readonly.m3u");
}

// A line whose file is gone today keeps its row, titled by its name found by characters
// (縗 is BF 5C: its second byte is no backslash); lines that could never play (a
// folder, a player's comment) make none.
TEST_F(Dialogs, APlaylistKeepsLinesWhoseFilesAreGoneAndLeavesOutFolders) {
    std::ofstream("Data\\gone.m3u", std::ios::binary) << "audio\\tone1s.mp3\r\n#EXTINF:1,x\r\naudio\r\ngone\\縗.mp3\r\n";
    ASSERT_EQ(playListEditor.LoadPlaylistFile("Data\\gone.m3u", ListOrigin::Own), 1);
    AwaitDetails();
    ASSERT_EQ(RowCount(), 2);
    EXPECT_EQ(Cell(0, 2), "00:01");
    EXPECT_EQ(Cell(1, 0) + "|" + Cell(1, 1) + "|" + Cell(1, 2), "不明|縗|--:--");
    DeleteFileA("Data\\gone.m3u");
}

}  // namespace
