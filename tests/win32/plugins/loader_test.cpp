// PluginLoader against stand-in modules, and the callback it hands the input plug-in.
#include <gtest/gtest.h>

#include "harness.h"
#include "playback/control_panel.h"
#include "playback/plugin_loader.h"

namespace {

bool IsLoaded(const char* module) {
    return GetModuleHandleA(module) != nullptr;
}

std::string Detached() {
    char seen[512] = "";
    GetEnvironmentVariableA("WUZZLE_DETACHED", seen, sizeof(seen));
    return seen;
}

class PluginLoaderTest : public ::testing::Test {
protected:
    void SetUp() override { SetEnvironmentVariableA("WUZZLE_DETACHED", nullptr); }
};

TEST_F(PluginLoaderTest, ReturnsTheObjectOfTheModule) {
    PluginLoader loader;
    void* object = loader.LoadInput(TestDllPath("loader_object.dll").c_str());
    HMODULE owner = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       static_cast<LPCSTR>(object), &owner);
    EXPECT_EQ(owner, GetModuleHandleA("loader_object.dll"));
}

TEST_F(PluginLoaderTest, ModuleWithoutGetInstanceGivesNullAndStaysLoaded) {
    {
        PluginLoader loader;
        EXPECT_EQ(loader.LoadInput(TestDllPath("loader_no_export.dll").c_str()), nullptr);
        EXPECT_TRUE(IsLoaded("loader_no_export.dll"));
    }
    EXPECT_FALSE(IsLoaded("loader_no_export.dll"));
}

TEST_F(PluginLoaderTest, NullFromGetInstanceIsPassedOn) {
    PluginLoader loader;
    EXPECT_EQ(loader.LoadOutput(TestDllPath("loader_null_instance.dll").c_str()), nullptr);
    EXPECT_TRUE(IsLoaded("loader_null_instance.dll"));
}

TEST_F(PluginLoaderTest, SecondLoadOfAKindReleasesTheFirstEvenWhenItFails) {
    PluginLoader loader;
    ASSERT_NE(loader.LoadInput(TestDllPath("loader_object.dll").c_str()), nullptr);
    ASSERT_NE(loader.LoadOutput(TestDllPath("loader_other_object.dll").c_str()), nullptr);
    EXPECT_EQ(loader.LoadInput(TestDllPath("loader_missing.dll").c_str()), nullptr);
    EXPECT_FALSE(IsLoaded("loader_object.dll"));
    EXPECT_TRUE(IsLoaded("loader_other_object.dll")) << "the other kind is not touched";
}

TEST_F(PluginLoaderTest, DestructorReleasesInputThenOutput) {
    {
        PluginLoader loader;
        // Loaded output first, so the order seen is the destructor's, not the loads'.
        loader.LoadOutput(TestDllPath("loader_other_object.dll").c_str());
        loader.LoadInput(TestDllPath("loader_object.dll").c_str());
    }
    EXPECT_EQ(Detached(), "loader_object loader_other_object ");
}

// A panel whose window is a plain one of ours: the callback needs only the handle.
class WindowedPanel : public ControlPanel {
public:
    WindowedPanel() {
        window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    }
    ~WindowedPanel() override { DestroyWindow(window); }
};

struct PostCase {
    int event;
    int value;
    bool posted;
};

class PostPlaybackEventTest : public ::testing::TestWithParam<PostCase> {};

TEST_P(PostPlaybackEventTest, PostsOnlyTrackEndedAndElapsedSeconds) {
    const PostCase c = GetParam();
    WindowedPanel panel;
    EXPECT_EQ(PostPlaybackEvent(c.event, c.value, &panel), 0);
    MSG message;
    const bool posted = PeekMessageA(&message, panel.Window(), 0, 0, PM_REMOVE) != FALSE;
    ASSERT_EQ(posted, c.posted);
    if (!posted) return;
    EXPECT_EQ(message.message, static_cast<UINT>(WM_APP));
    EXPECT_EQ(message.wParam, static_cast<WPARAM>(c.event));
    EXPECT_EQ(message.lParam, c.value);
}

INSTANTIATE_TEST_SUITE_P(Events, PostPlaybackEventTest,
                         ::testing::Values(PostCase{0, 5, false}, PostCase{1, 0, true}, PostCase{2, 75, true},
                                           PostCase{3, 5, false}, PostCase{-1, 5, false}));

}  // namespace
