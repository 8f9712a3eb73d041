// PluginLoader: one module of each kind at a time.
#include <gtest/gtest.h>

#include "harness.h"
#include "playback/plugin_loader.h"

namespace {

bool IsLoaded(const char* module) {
    return GetModuleHandleA(module) != nullptr;
}

// Copies under other names keep this apart from the other tests' instances.
TEST(PluginLoaderTest, ASecondLoadOfAKindReleasesTheFirstEvenWhenItFails) {
    ASSERT_TRUE(CopyFileA(PluginPath("Input.ini").c_str(), "second-input.ini", FALSE));
    ASSERT_TRUE(CopyFileA(PluginPath("Output.ini").c_str(), "second-output.ini", FALSE));
    PluginLoader loader;
    ASSERT_NE(loader.LoadInput(".\\second-input.ini"), nullptr);
    ASSERT_NE(loader.LoadOutput(".\\second-output.ini"), nullptr);
    EXPECT_EQ(loader.LoadInput(".\\missing.ini"), nullptr);
    EXPECT_FALSE(IsLoaded("second-input.ini"));
    EXPECT_TRUE(IsLoaded("second-output.ini")) << "the other kind is not touched";
}

}  // namespace
