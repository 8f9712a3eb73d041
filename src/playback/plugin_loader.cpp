#include "playback/plugin_loader.h"

#include "app/lifecycle.h"

PluginLoader::PluginLoader() {
    NoteLifecycle("PluginLoader+");
}

PluginLoader::~PluginLoader() {
    NoteLifecycle("PluginLoader-");
    if (inputModule != nullptr) FreeLibrary(inputModule);
    if (outputModule != nullptr) FreeLibrary(outputModule);
}
