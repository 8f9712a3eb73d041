// Loads the input and output plug-in modules and obtains one object from each.
#pragma once

#include <windows.h>

class PluginLoader {
public:
    PluginLoader();
    virtual ~PluginLoader();

    PluginLoader(const PluginLoader&) = delete;
    PluginLoader& operator=(const PluginLoader&) = delete;

private:
    HMODULE inputModule = nullptr;
    HMODULE outputModule = nullptr;
};
