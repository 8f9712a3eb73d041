// The objects that live for the whole process, defined here together so that they are
// constructed in this order and destroyed in the reverse one: the editor first, then
// the playlist, then the loader (which unloads the plug-ins), the panel last.
#include "playback/control_panel.h"
#include "playback/plugin_loader.h"
#include "playlist/playlist_editor.h"

ControlPanel controlPanel;
PluginLoader pluginLoader;
PlaylistModel playlist(IsAnsiLeadByte);
PlayListEditor playListEditor;
