#include <string>

#include "playback/control_panel.h"
#include "playlist/drop_rule.h"
#include "playlist/dropped_files.h"
#include "playlist/playlist_editor.h"

int HandleDrop(HDROP drop, HWND owner) {
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        // Taken whole, however long: a path cut short would name another file.
        const UINT length = DragQueryFileA(drop, i, nullptr, 0);
        std::string path(length + 1, '\0');
        DragQueryFileA(drop, i, path.data(), length + 1);
        path.resize(length);
        switch (KindOfFile(path.c_str(), IsAnsiLeadByte)) {
        case FileKind::Playlist:
            controlPanel.StopPlayback();
            playListEditor.ClearPlaylist();
            playListEditor.LoadPlaylistFile(path.c_str());
            break;
        case FileKind::Music:
            controlPanel.StopPlayback();
            playListEditor.AddFile(path.c_str());
            break;
        case FileKind::Other: MessageBoxA(owner, "未知文件格式。", "mp3,m3u以外受け付けません。", MB_OK); break;
        }
    }
    DragFinish(drop);
    return 0;
}
