#include "app/long_lived.h"

ControlPanel controlPanel;
PluginLoader pluginLoader;
PlayListEditor playListEditor;
