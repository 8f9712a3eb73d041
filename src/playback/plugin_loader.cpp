#include "playback/plugin_loader.h"

#include "playback/control_panel.h"

namespace {

typedef void* (*GetInstanceFunction)();

void* LoadModuleObject(HMODULE& module, const char* path) {
    if (module != nullptr) FreeLibrary(module);
    module = LoadLibraryA(path);
    if (module == nullptr) return nullptr;
    auto getInstance =
        reinterpret_cast<GetInstanceFunction>(reinterpret_cast<void*>(GetProcAddress(module, "GetInstance")));
    if (getInstance == nullptr) return nullptr;
    return getInstance();
}

}  // namespace

PluginLoader::~PluginLoader() {
    if (inputModule != nullptr) FreeLibrary(inputModule);
    if (outputModule != nullptr) FreeLibrary(outputModule);
}

InputPlugin* PluginLoader::LoadInput(const char* path) {
    return static_cast<InputPlugin*>(LoadModuleObject(inputModule, path));
}

unsigned PluginLoader::InputFeatures() const {
    if (inputModule == nullptr) return 0;
    auto features = reinterpret_cast<unsigned (*)()>(
        reinterpret_cast<void*>(GetProcAddress(inputModule, "GetInputFeatures")));
    return features != nullptr ? features() : 0;
}

void* PluginLoader::InputExport(unsigned feature, const char* name) const {
    if ((InputFeatures() & feature) == 0) return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(inputModule, name));
}

OutputPlugin* PluginLoader::LoadOutput(const char* path) {
    return static_cast<OutputPlugin*>(LoadModuleObject(outputModule, path));
}

int CALLBACK PostPlaybackEvent(int event, int value, void* user) {
    if (event == static_cast<int>(PlaybackEvent::TrackEnded) ||
        event == static_cast<int>(PlaybackEvent::ElapsedSeconds)) {
        const auto* panel = static_cast<const ControlPanel*>(user);
        PostMessageA(panel->Window(), WM_APP, MAKEWPARAM(event, panel->TrackTag()), value);
    }
    return 0;
}
