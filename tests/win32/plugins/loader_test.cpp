// PluginLoader, and the callback it hands the input plug-in.
#include <gtest/gtest.h>

#include "harness.h"
#include "playback/control_panel.h"
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

// A panel whose window is a plain one of ours: the callback needs only the handle.
class WindowedPanel : public ControlPanel {
public:
    WindowedPanel() {
        window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    }
    ~WindowedPanel() override { DestroyWindow(window); }
};

TEST(PostPlaybackEventTest, PostsOnlyTrackEndedAndElapsedSeconds) {
    const int cases[][3] = {{0, 5, 0}, {1, 0, 1}, {2, 75, 1}, {3, 5, 0}, {-1, 5, 0}};  // event, value, posted
    for (const auto& [event, value, posted] : cases) {
        WindowedPanel panel;
        EXPECT_EQ(PostPlaybackEvent(event, value, &panel), 0);
        MSG message = {};
        ASSERT_EQ(PeekMessageA(&message, panel.Window(), 0, 0, PM_REMOVE) != FALSE, posted != 0) << event;
        if (posted) {
            EXPECT_EQ(message.message, static_cast<UINT>(WM_APP));
            EXPECT_EQ(message.wParam * 1000 + message.lParam, static_cast<WPARAM>(event * 1000 + value));
        }
    }
}

}  // namespace
