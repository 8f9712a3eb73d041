// The editor's commands on a list of 100 rows beside the same on 100,000: the list
// view keeps no rows of its own, so the second should cost little more than the first.
// Under Wine.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <fstream>

#include "playlist/playlist_editor.h"

namespace {

double Seconds() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / frequency.QuadPart;
}

void Select(int row) {
    LVITEMA item = {};
    item.stateMask = item.state = LVIS_SELECTED;
    SendMessageA(playListEditor.listView, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

template <typename Command>
double Time(Command command) {
    const double start = Seconds();
    command();
    return (Seconds() - start) * 1000;
}

// Milliseconds of each command on `rows` rows: loading them, drawing the list, moving
// the first row down, deleting every other row.
void Measure(int rows, double (&ms)[4]) {
    playListEditor.ClearPlaylist();
    {
        std::ofstream list("bench-list.m3u", std::ios::binary);
        for (int i = 0; i < rows; ++i) list << "C:\\Music\\" << i << ".mp3\r\n";
    }
    ms[0] = Time([] { playListEditor.LoadPlaylistFile("bench-list.m3u"); });
    ms[1] = Time([] { RedrawWindow(playListEditor.listView, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); });
    Select(0);
    ms[2] = Time([] { playListEditor.MoveSelectedDown(); });
    for (int i = 0; i < rows; i += 2) Select(i);
    ms[3] = Time([] { playListEditor.DeleteSelected(); });
    DeleteFileA("bench-list.m3u");
}

}  // namespace

int main() {
    InitCommonControls();
    playListEditor.Create(nullptr, 104);
    playListEditor.ShowEditor();
    double small[4], large[4];
    Measure(100, small);
    Measure(100000, large);
    const char* names[] = {"LoadPlaylistFile", "drawing the list", "MoveSelectedDown, the first row",
                           "DeleteSelected, every other row"};
    printf("%-36s %14s %14s\n", "", "100 rows ms", "100,000 ms");
    for (int i = 0; i < 4; ++i) printf("%-36s %14.1f %14.1f\n", names[i], small[i], large[i]);
    return 0;
}
