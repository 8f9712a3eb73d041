// The control panel and the playlist editor as the program makes them: from its own
// resources, with the real input plug-in (the test data folder is staged like the
// program's), inside the character window's creation.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/shell.h"
#include "character_fixture.h"
#include "playback/control_panel.h"
#include "playlist/playlist_editor.h"
#include "playlist/playlist_entry.h"

namespace {

using Dialogs = CharacterWindowTest;

std::string Text(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

struct ControlCase {
    int id;
    const char* className;
    const char* text;
    DWORD style;  // beyond WS_CHILD | WS_VISIBLE
    RECT units;   // x, y, width, height in dialog units
};

// The children in template order, each with its class, text, style and place.
void ExpectControls(HWND dialog, const std::vector<ControlCase>& controls) {
    HWND child = GetWindow(dialog, GW_CHILD);
    for (const ControlCase& c : controls) {
        ASSERT_NE(child, nullptr) << c.id;
        SCOPED_TRACE(c.id);
        EXPECT_EQ(GetDlgCtrlID(child), c.id);
        EXPECT_STRCASEEQ(ClassOf(child).c_str(), c.className);
        EXPECT_EQ(Text(child), c.text);
        // The dialog manager draws a border in 3-D: WS_BORDER becomes the client edge.
        const bool edge = GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_CLIENTEDGE;
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE)) | (edge ? WS_BORDER : 0),
                  WS_CHILD | WS_VISIBLE | c.style);
        // Place and size are mapped apart, as the dialog manager does.
        RECT expected = c.units;
        MapDialogRect(dialog, &expected);
        expected.right += expected.left;
        expected.bottom += expected.top;
        RECT actual;
        GetWindowRect(child, &actual);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&actual), 2);
        EXPECT_TRUE(EqualRect(&actual, &expected)) << actual.left << "," << actual.top << "," << actual.right << ","
                                                   << actual.bottom << " " << expected.left << "," << expected.top
                                                   << "," << expected.right << "," << expected.bottom;
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr) << "no further controls";
}

void ExpectDialog(HWND dialog, const char* caption, DWORD exStyle) {
    EXPECT_EQ(Text(dialog), caption);
    // The system adds DS_3DLOOK to every dialog.
    EXPECT_EQ(GetWindowLongA(dialog, GWL_STYLE) & ~(WS_CLIPSIBLINGS | DS_3DLOOK),
              WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT);
    EXPECT_EQ(GetWindowLongA(dialog, GWL_EXSTYLE) & exStyle, static_cast<LONG>(exStyle));
    EXPECT_TRUE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(IsWindowVisible(dialog));
    RECT rect;
    GetWindowRect(dialog, &rect);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
}

constexpr DWORD kStatic = WS_GROUP;
constexpr DWORD kFramedStatic = WS_GROUP | WS_BORDER | SS_CENTERIMAGE;
constexpr DWORD kSwitch = WS_TABSTOP | BS_AUTOCHECKBOX | BS_PUSHLIKE;
constexpr DWORD kPush = WS_TABSTOP | BS_PUSHBUTTON;

TEST_F(Dialogs, ThePanelIsResource105) {
    HWND panel = controlPanel.Window();
    ExpectDialog(panel, "控制面板", WS_EX_TOOLWINDOW | WS_EX_STATICEDGE);
    ExpectControls(panel, {
        {1004, "Static", "", kFramedStatic | SS_LEFT, {7, 7, 136, 15}},
        {1005, "Static", "", kFramedStatic | SS_CENTER, {7, 23, 28, 8}},
        {1006, "Static", "", kFramedStatic | SS_CENTER, {37, 23, 22, 8}},
        {1007, "Static", "千字节/秒", kStatic | SS_LEFT | SS_CENTERIMAGE, {59, 23, 37, 8}},
        {1009, "Static", "", kFramedStatic | SS_CENTER, {96, 23, 22, 8}},
        {1008, "Static", "千赫兹", kStatic | SS_LEFT | SS_CENTERIMAGE, {118, 23, 27, 8}},
        {1011, "Button", "随机", kSwitch, {7, 46, 28, 12}},
        {1012, "Button", "停止", kPush, {38, 46, 30, 12}},
        {1013, "Button", "循环", kSwitch, {7, 33, 28, 12}},
        {1014, "Button", "暂停", kPush, {72, 46, 30, 12}},
        {1015, "Button", "上一首", kPush, {38, 33, 30, 12}},
        {1016, "Button", "下一首", kPush, {72, 33, 30, 12}},
        {1017, "Button", "播放", kPush, {108, 33, 36, 11}},
        {1018, "msctls_trackbar32", "Slider1", WS_TABSTOP | TBS_HORZ | TBS_NOTICKS, {107, 45, 36, 13}},
    });
    EXPECT_EQ(SendMessageA(controlPanel.volumeSlider, TBM_GETRANGEMAX, 0, 0), 100);
}

TEST_F(Dialogs, TheEditorIsResource104WithItsThreeColumns) {
    HWND editor = playListEditor.Window();
    ExpectDialog(editor, "播放列表编辑器", WS_EX_TOOLWINDOW | WS_EX_STATICEDGE | WS_EX_ACCEPTFILES);
    ExpectControls(editor, {
        {1000, "SysListView32", "List1", WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_ALIGNLEFT,
         {7, 7, 173, 149}},
        {1001, "Button", "添加", kPush, {7, 160, 35, 14}},
        {1002, "Button", "删除", kPush, {46, 160, 35, 14}},
        {1003, "Button", "关闭", kPush, {85, 160, 35, 14}},
        {-1, "Static", "播放列表编辑器", kStatic | SS_LEFT, {125, 164, 60, 10}},
    });
    HWND list = playListEditor.listView;
    EXPECT_EQ(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), LVS_EX_FULLROWSELECT);
    const std::pair<const char*, int> columns[] = {{"艺术家", 100}, {"标题", 140}, {"时长", 40}};
    for (int i = 0; i < 3; ++i) {
        char header[32] = {};
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.pszText = header;
        column.cchTextMax = sizeof(header);
        ASSERT_TRUE(SendMessageA(list, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column)));
        EXPECT_STREQ(header, columns[i].first);
        EXPECT_EQ(column.cx, columns[i].second);
        EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
    }
}

TEST_F(Dialogs, ClosingEitherDialogOnlyHidesIt) {
    for (HWND dialog : {controlPanel.Window(), playListEditor.Window()}) {
        // Shown without activation: Wine waits for a window manager's focus reply otherwise.
        ShowWindow(dialog, SW_SHOWNA);
        SendMessageA(dialog, WM_CLOSE, 0, 0);
        EXPECT_TRUE(IsWindow(dialog));
        EXPECT_FALSE(IsWindowVisible(dialog));
    }
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

std::string PanelText(int control) {
    return Text(GetDlgItem(controlPanel.Window(), control));
}

TEST_F(Dialogs, AddedFilesBecomeRowsAndThePanelShowsTheCurrentOne) {
    EXPECT_EQ(playListEditor.AddFile("audio\\tag-v23-utf16.mp3"), 1);
    EXPECT_EQ(playListEditor.AddFile("audio\\text.mp3"), 0);
    EXPECT_EQ(playListEditor.AddFile("audio\\mono22.mp3"), 1);
    ASSERT_EQ(SendMessageA(playListEditor.listView, LVM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(Cell(0, 0), "WuzzlePlayer 乐队");
    EXPECT_EQ(Cell(0, 1), "你好世界");
    EXPECT_EQ(Cell(0, 2), "00:04");
    EXPECT_EQ(Cell(1, 0), "不明");
    EXPECT_EQ(Cell(1, 1), "mono22");

    controlPanel.NextTrack();
    EXPECT_EQ(PanelText(1004), "02 mono22");
    EXPECT_EQ(PanelText(1006), "48");
    EXPECT_EQ(PanelText(1009), "22.05");
    EXPECT_EQ(PanelText(1005), "00:00");
    SendMessageA(controlPanel.Window(), WM_APP, 2, 75);
    EXPECT_EQ(PanelText(1005), "01:15");
}

// Counts its own deletions.
class CountedEntry final : public PlaylistEntry {
public:
    CountedEntry(int& deleted) : PlaylistEntry("counted.mp3"), deleted(deleted) {}
    ~CountedEntry() override { ++deleted; }
    int& deleted;
};

TEST_F(Dialogs, EachRowsEntryIsDeletedOnceWithItsRow) {
    int deleted = 0;
    for (int i = 0; i < 3; ++i) playListEditor.AppendRow(new CountedEntry(deleted));
    SendMessageA(playListEditor.listView, LVM_DELETEITEM, 1, 0);
    EXPECT_EQ(deleted, 1);
    playListEditor.ClearPlaylist();
    EXPECT_EQ(deleted, 3);
}

std::string FileBytes(const char* path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

TEST_F(Dialogs, SettingsRoundTripThroughTheRealControls) {
    const char* path = "Data\\settings-test.ini";
    std::ofstream(path, std::ios::binary) << "1\r\n1\r\n150";
    ASSERT_EQ(controlPanel.LoadSettings(path), 1);
    EXPECT_EQ(IsDlgButtonChecked(controlPanel.Window(), 1011), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(controlPanel.Window(), 1013), BST_CHECKED);
    EXPECT_EQ(SendMessageA(controlPanel.volumeSlider, TBM_GETPOS, 0, 0), 100);
    ASSERT_EQ(controlPanel.SaveSettings(path), 1);
    EXPECT_EQ(FileBytes(path), "1\r\n1\r\n150") << "the volume as read, not the thumb";

    CheckDlgButton(controlPanel.Window(), 1011, BST_UNCHECKED);
    SendMessageA(controlPanel.volumeSlider, TBM_SETPOS, TRUE, 30);
    SendMessageA(controlPanel.Window(), WM_HSCROLL, TB_THUMBTRACK, reinterpret_cast<LPARAM>(controlPanel.volumeSlider));
    ASSERT_EQ(controlPanel.SaveSettings(path), 1);
    EXPECT_EQ(FileBytes(path), "1\r\n0\r\n30");
    DeleteFileA(path);
}

}  // namespace
