// The real character window for the tests of following, the menu and the icon, and
// a way to look at a context menu while it is open.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

// Made by the program's own start-up code in the test data folder, shown without
// taking the focus.
class CharacterWindowTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    HWND window = nullptr;
};

struct MenuSighting {
    bool seen = false;
    // The pop-up shown, and whether it was a live menu while shown.
    HMENU menu = nullptr;
    bool menuLive = false;
    RECT rect = {};
    bool moveChecked = false;
    bool titleBalloonsChecked = false;
};

inline std::string WindowText(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

// Runs `open`; when it shows a pop-up menu, records the menu and closes it again.
MenuSighting WatchMenu(const std::function<void()>& open);
