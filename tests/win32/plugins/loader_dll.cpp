// A stand-in plug-in module for the PluginLoader tests, built once per kind.
#include <windows.h>

#if defined(LOADER_DLL_object) || defined(LOADER_DLL_other_object)
static int object;
extern "C" __declspec(dllexport) void* GetInstance() {
    return &object;
}
#endif
