// The playlist editor dialog, home of the playlist.
#pragma once

#include "ui/dialog_base.h"

class PlayListEditor : public DialogBase {
public:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    void ShowEditor();
    int LoadPlaylistFile(const char* path);
    int SavePlaylistFile(const char* path);
};

extern PlayListEditor playListEditor;
