#include <string>

#include "playback/control_panel.h"
#include "playlist/ansi_path.h"
#include "playlist/drop_rule.h"
#include "playlist/dropped_files.h"
#include "playlist/playlist_editor.h"
#include "text/ansi_code_page.h"

int HandleDrop(HDROP drop, HWND owner) {
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        // Taken whole, however long: a path cut short would name another file.
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring wide(length + 1, L'\0');
        DragQueryFileW(drop, i, wide.data(), length + 1);
        wide.resize(length);
        const std::string path = AnsiName(wide, wide);
        if (path.empty()) {
            RefuseUnnameable(owner, {wide});
            continue;
        }
        // The kind by the long name: a short name's extension has three letters.
        bool lossy = false;
        switch (KindOfFile(WideToAnsi(wide, lossy).c_str(), IsAnsiLeadByte)) {
        case FileKind::Playlist:
            controlPanel.StopPlayback();
            playListEditor.ClearPlaylist();
            playListEditor.LoadPlaylistFile(path.c_str(), ListOrigin::Elsewhere, owner);
            break;
        case FileKind::Music:
            controlPanel.StopPlayback();
            playListEditor.AddFile(path.c_str());
            break;
        case FileKind::Other: MessageBoxA(owner, "未知文件格式。", RefusalCaption().c_str(), MB_OK); break;
        }
    }
    DragFinish(drop);
    return 0;
}
