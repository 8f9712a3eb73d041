// Editing the playlist on the real list view: moves and deletes with their selection,
// dropped files, and the files saved when the session ends.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "character_fixture.h"
#include "playback/control_panel.h"
#include "playlist/playlist_editor.h"
#include "playlist/playlist_entry.h"

namespace {

using Editing = CharacterWindowTest;

std::string FullPath(const char* relative) {
    char full[MAX_PATH];
    GetFullPathNameA(relative, MAX_PATH, full, nullptr);
    return full;
}

// Each row as its title, upper case when selected.
std::string Rows() {
    std::string rows;
    const int count = static_cast<int>(SendMessageA(playListEditor.listView, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        char title[64] = {};
        LVITEMA item = {};
        item.iSubItem = 1;
        item.pszText = title;
        item.cchTextMax = sizeof(title);
        SendMessageA(playListEditor.listView, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
        const bool selected = SendMessageA(playListEditor.listView, LVM_GETITEMSTATE, row, LVIS_SELECTED) != 0;
        rows += selected ? static_cast<char>(toupper(title[0])) : title[0];
    }
    return rows;
}

// Rows titled a, b, c ... (the files' titles come from their names).
void AddRows(const std::string& letters, const std::string& selected) {
    for (char letter : letters) {
        const std::string path = std::string(1, letter) + ".mp3";
        CopyFileA("audio\\tag-none.mp3", path.c_str(), FALSE);
        ASSERT_EQ(playListEditor.AddFile(path.c_str()), 1);
    }
    for (char letter : selected) {
        LVITEMA item = {};
        item.stateMask = item.state = LVIS_SELECTED;
        SendMessageA(playListEditor.listView, LVM_SETITEMSTATE, letter - 'a', reinterpret_cast<LPARAM>(&item));
    }
}

PlaylistEntry* EntryOf(int row) {
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendMessageA(playListEditor.listView, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return reinterpret_cast<PlaylistEntry*>(item.lParam);
}

void Command(int id) {
    SendMessageA(playListEditor.Window(), WM_COMMAND, id, 0);
}

TEST_F(Editing, MovesCarryTextsEntriesAndSelectionAndDeleteKeyDeletesSelectedRows) {
    AddRows("abcd", "bc");
    PlaylistEntry* b = EntryOf(1);
    Command(40006);  // 上移(&U)
    EXPECT_EQ(Rows(), "BCad");
    EXPECT_EQ(EntryOf(0), b) << "the same entry, not a copy";
    EXPECT_STREQ(EntryOf(0)->info.title, "b");
    Command(40007);  // 下移(&D)
    Command(40007);
    EXPECT_EQ(Rows(), "adBC");
    Command(40007);
    EXPECT_EQ(Rows(), "adBC") << "a block at the bottom stays";

    SendMessageA(playListEditor.listView, WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ(Rows(), "ad");
    EXPECT_EQ(playListEditor.CurrentNumber(), 1);
    Command(40005);  // 全部删除(&N)
    EXPECT_EQ(Rows(), "");
}

// A drop as the shell hands it over.
HDROP MakeDrop(const std::vector<std::string>& paths) {
    size_t bytes = sizeof(DROPFILES) + 1;
    for (const std::string& path : paths) bytes += path.size() + 1;
    HGLOBAL memory = GlobalAlloc(GHND, bytes);
    auto* files = static_cast<DROPFILES*>(GlobalLock(memory));
    files->pFiles = sizeof(DROPFILES);
    char* at = reinterpret_cast<char*>(files) + sizeof(DROPFILES);
    for (const std::string& path : paths) at = lstrcpyA(at, path.c_str()) + path.size() + 1;
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
// then answers the box.
void CALLBACK AnswerRefusal(HWND, UINT, UINT_PTR, DWORD) {
    HWND box = FindWindowA("#32770", "mp3,m3u以外受け付けません。");
    if (box == nullptr || !IsWindowVisible(box)) return;
    if (++refusal.seen == 1) {
        char text[64] = {};
        GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
        refusal.text = text;
        refusal.owner = GetWindow(box, GW_OWNER);
        SendMessageA(playListEditor.Window(), WM_DROPFILES,
                     reinterpret_cast<WPARAM>(MakeDrop({FullPath("c.mp3")})), 0);
    }
    SendMessageA(box, WM_COMMAND, IDOK, 0);
}

TEST_F(Editing, ADropTakesItsFilesInOrderAndASecondDropDuringARefusalDoesNotDisturbIt) {
    for (const char* name : {"a.mp3", "b.MP3", "c.mp3"}) CopyFileA("audio\\tag-none.mp3", name, FALSE);
    std::ofstream("notes.txt") << "not music";
    AddRows("z", "");
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, AnswerRefusal);
    SendMessageA(window, WM_DROPFILES,
                 reinterpret_cast<WPARAM>(MakeDrop({FullPath("a.mp3"), FullPath("notes.txt"), FullPath("b.MP3")})), 0);
    KillTimer(nullptr, timer);
    EXPECT_EQ(Rows(), "zacb");
    EXPECT_EQ(refusal.seen, 1);
    EXPECT_EQ(refusal.text, "未知文件格式。");
    EXPECT_EQ(refusal.owner, window);

    std::ofstream("list.m3u", std::ios::binary) << "b.MP3\r\na.mp3\r\n";
    SendMessageA(playListEditor.Window(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({FullPath("list.m3u")})), 0);
    EXPECT_EQ(Rows(), "ba") << "a playlist file replaces the playlist";
}

// Drives the open-file dialog once it is up: into the folder "many", then the files
// chosen there, each through the name box and OK.
std::vector<std::string> chosen;
int step = 0;

void CALLBACK ChooseFiles(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = GetForegroundWindow();
    HWND name = GetDlgItem(dialog, 0x47C);  // cmb13
    if (name == nullptr || !IsWindowVisible(dialog) || step == 2) return;
    std::string names = "many";
    if (step++ == 1) {
        names.clear();
        for (const std::string& file : chosen) names += "\"" + file + "\" ";
    }
    SetWindowTextA(name, names.c_str());
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}

// More names than the open-file dialog's buffer of old (8,192 bytes) holds: every
// file is added.
TEST_F(Editing, ChoosingMoreFilesThanTheBufferHoldsStillAddsThemAll) {
    chosen.clear();
    step = 0;
    CreateDirectoryA("many", nullptr);
    for (int i = 0; i < 90; ++i) {
        chosen.push_back(std::string(100, 'f') + std::to_string(i) + ".mp3");
        CopyFileA("audio\\tone1s.mp3", ("many\\" + chosen.back()).c_str(), FALSE);
    }
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, ChooseFiles);
    SendMessageA(playListEditor.Window(), WM_COMMAND, 1001, 0);  // 添加
    KillTimer(nullptr, timer);
    EXPECT_EQ(SendMessageA(playListEditor.listView, LVM_GETITEMCOUNT, 0, 0), 90);
    char current[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, current);
    EXPECT_STREQ(current, playListEditor.startDirectory) << "the start directory is current again";
}

std::string FileBytes(const char* path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

TEST_F(Editing, TheEndOfTheSessionSavesThePlaylistAndTheSettings) {
    AddRows("ab", "");
    EXPECT_TRUE(SendMessageA(window, WM_QUERYENDSESSION, 0, 0));
    SendMessageA(window, WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(FileBytes("Data\\PlayList.m3u"), "a.mp3\r\nb.mp3\r\n");
    EXPECT_EQ(FileBytes("Data\\Wzmp.ini"), "0\r\n0\r\n50");
}

}  // namespace
