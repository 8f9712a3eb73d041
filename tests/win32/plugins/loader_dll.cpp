// A stand-in plug-in module for the PluginLoader tests. Each build of it notes its
// unloading in the environment variable WUZZLE_DETACHED, so a test can see the order.
#include <windows.h>

#include <string>

#if defined(LOADER_DLL_null_instance)
extern "C" __declspec(dllexport) void* GetInstance() {
    return nullptr;
}
#elif defined(LOADER_DLL_object) || defined(LOADER_DLL_other_object)
static int object;
extern "C" __declspec(dllexport) void* GetInstance() {
    return &object;
}
#endif

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_DETACH) {
        char seen[512] = "";
        GetEnvironmentVariableA("WUZZLE_DETACHED", seen, sizeof(seen));
        SetEnvironmentVariableA("WUZZLE_DETACHED", (std::string(seen) + LOADER_DLL_NAME + " ").c_str());
    }
    return TRUE;
}
