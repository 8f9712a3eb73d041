// The three objects that live for the whole process. They are defined together in
// one file, so they are constructed in the order written there (control panel,
// plug-in loader, playlist editor) and destroyed in the reverse order.
#pragma once

#include "playback/control_panel.h"
#include "playback/plugin_loader.h"
#include "playlist/playlist_editor.h"

extern ControlPanel controlPanel;
extern PluginLoader pluginLoader;
extern PlayListEditor playListEditor;
