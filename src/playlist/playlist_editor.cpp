#include "playlist/playlist_editor.h"

LRESULT PlayListEditor::HandleMessage(UINT message, WPARAM, LPARAM) {
    // Closing only hides the editor; it lives until the process ends.
    if (message == WM_CLOSE) Show(SW_HIDE);
    return 0;
}

void PlayListEditor::ShowEditor() {
    Show(SW_SHOW);
}

// The playlist file: read at start, written at exit, once the playlist exists.
int PlayListEditor::LoadPlaylistFile(const char*) {
    return 0;
}

int PlayListEditor::SavePlaylistFile(const char*) {
    return 0;
}
