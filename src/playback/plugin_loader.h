// Loads the input and output plug-in modules and obtains one object from each.
#pragma once

#include <windows.h>

#include "playback/interface/plugin_interface.h"

class PluginLoader {
public:
    PluginLoader() = default;
    virtual ~PluginLoader();

    PluginLoader(const PluginLoader&) = delete;
    PluginLoader& operator=(const PluginLoader&) = delete;

    // Each releases the module of its kind loaded before, then loads the one at
    // `path` and returns what its GetInstance returns. Null when the module cannot be
    // loaded or has no GetInstance; such a module stays loaded until the next load
    // of its kind or the end of the loader.
    InputPlugin* LoadInput(const char* path);
    OutputPlugin* LoadOutput(const char* path);
    // What the loaded input module's GetInputFeatures says (kInputCanSeek); 0 for a
    // module without that export, made to the interface as it first stood.
    unsigned InputFeatures() const;
    // The loaded input module's export `name`, when its GetInputFeatures announces it
    // with `feature`; null otherwise.
    void* InputExport(unsigned feature, const char* name) const;

private:
    HMODULE inputModule = nullptr;
    HMODULE outputModule = nullptr;
};

// The callback handed to the input plug-in; `user` is the ControlPanel. Posts
// TrackEnded and ElapsedSeconds to the panel's window as WM_APP (wParam's low word the
// event, its high word the panel's track tag; lParam the value); other events are
// dropped. Always returns 0.
int CALLBACK PostPlaybackEvent(int event, int value, void* user);

extern PluginLoader pluginLoader;
