// The editor's moves and deletes on a list view of 10,000 rows, beside the same
// commands with nothing selected (the walk over the rows alone). Under Wine.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>

#include "playlist/playlist_editor.h"
#include "playlist/playlist_entry.h"

namespace {

constexpr int kRows = 10000;

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

void Fill() {
    playListEditor.ClearPlaylist();
    for (int i = 0; i < kRows; ++i) playListEditor.AppendRow(new PlaylistEntry("C:\\Music\\a.mp3"));
}

template <typename Command>
double Time(Command command) {
    const double start = Seconds();
    command();
    return (Seconds() - start) * 1000;
}

}  // namespace

int main() {
    InitCommonControls();
    playListEditor.Create(nullptr, 104);
    printf("%-44s %12s %12s\n", "10,000 rows", "selected ms", "none ms");
    Fill();
    const double idleMove = Time([] { playListEditor.MoveSelectedDown(); });
    Select(0);
    const double move = Time([] { playListEditor.MoveSelectedDown(); });
    printf("%-44s %12.1f %12.1f\n", "MoveSelectedDown, the first row", move, idleMove);
    const double idleDelete = Time([] { playListEditor.DeleteSelected(); });
    for (int i = 0; i < kRows; i += 2) Select(i);
    const double deleted = Time([] { playListEditor.DeleteSelected(); });
    printf("%-44s %12.1f %12.1f\n", "DeleteSelected, every other row", deleted, idleDelete);
    return 0;
}
