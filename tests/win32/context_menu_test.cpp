#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/context_menu.h"
#include "app/shell.h"
#include "character_fixture.h"

namespace {

// A menu's items by caption and id, a pop-up's items in brackets after its caption.
std::string Items(HMENU menu) {
    std::string items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char caption[64] = {};
        GetMenuStringA(menu, i, caption, sizeof(caption), MF_BYPOSITION);
        items.append(i > 0 ? " " : "").append(caption);
        if (HMENU popup = GetSubMenu(menu, i)) {
            items.append("(").append(Items(popup)).append(")");
        } else {
            items.append(":").append(std::to_string(GetMenuItemID(menu, i)));
        }
    }
    return items;
}

// Every processorArchitecture the manifest names is this build's own or "*": a 64-bit
// program that asks for the x86 common controls is handed the 32-bit comctl32 wherever
// the system holds both, and cannot start.
TEST(ManifestResource, NamesNoOtherBuildsArchitecture) {
#ifdef _WIN64
    const std::string own = "amd64";
#else
    const std::string own = "x86";
#endif
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
    ASSERT_NE(found, nullptr);
    const std::string manifest(static_cast<const char*>(LockResource(LoadResource(nullptr, found))),
                               SizeofResource(nullptr, found));
    const std::string key = "processorArchitecture=\"";
    int named = 0;
    for (size_t at = manifest.find(key); at != std::string::npos; at = manifest.find(key, at + 1), ++named) {
        const size_t value = at + key.size();
        const std::string architecture = manifest.substr(value, manifest.find('"', value) - value);
        EXPECT_TRUE(architecture == "*" || architecture == own) << architecture;
    }
    EXPECT_EQ(named, 2);  // the program's own identity and the common controls
}

// The shell reads 63 bytes of the original record's tip: a title is cut there on a
// whole character, never between the two bytes of one.
TEST(TrayTip, IsCutWithinTheOriginalRecordOnAWholeCharacter) {
    std::string title = "a";
    for (int i = 0; i < 40; ++i) title += "春";
    SetTrayTip(title.c_str());
    EXPECT_EQ(std::string(trayIconData.szTip), title.substr(0, 63));
    SetTrayTip(title.substr(1).c_str());
    EXPECT_EQ(std::string(trayIconData.szTip), title.substr(1, 62));
}

// The character's menu and the editor's bar, where move up and move down are commands
// on the bar itself.
TEST(MenuResources, HaveTheirCaptionsIdsAndNesting) {
    const std::pair<int, const char*> menus[] = {
        {101, "菜单(移动:40001 歌名气泡:40015 歌词:40016 播放(播放:40011 停止:40012 下一个:40013 上一个:40014) "
              "播放列表:40008 控制:40009 退出:40002)"},
        {102, "文件(&F)(打开(&O):40003 关闭(&X):40002) 编辑(&E)(删除(&D):40004 全部删除(&N):40005) 上移(&U):40006 "
              "下移(&D):40007"},
    };
    for (const auto& [id, items] : menus) {
        HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
        EXPECT_EQ(Items(menu), items);
        DestroyMenu(menu);
    }
}

using ContextMenu = CharacterWindowTest;

LPARAM ScreenPointParam(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

bool NullPosted(HWND window) {
    bool posted = false;
    MSG message;
    while (PeekMessageA(&message, window, 0, 0, PM_REMOVE)) posted |= message.message == WM_NULL;
    return posted;
}

// Every opening loads the menu afresh, with "移动" checked as Move is, and destroys
// it once it has closed. The figure opens it at the click, the icon (on a right
// press) at the cursor.
TEST_F(ContextMenu, ARightClickOpensAFreshMenuAtThePointShowingMoveAndDestroysIt) {
    SetCursorPos(320, 240);
    std::vector<HMENU> shown;
    for (int opening = 0; opening < 3; ++opening) {
        MenuSighting sighting = WatchMenu([&] {
            if (opening == 1)
                SendMessageA(window, kTrayMessage, kTrayIconId, WM_RBUTTONDOWN);
            else
                SendMessageA(window, WM_NCRBUTTONDOWN, HTCAPTION, ScreenPointParam(200, 150));
        });
        ASSERT_TRUE(sighting.seen && sighting.menuLive) << opening;
        EXPECT_EQ(NullPosted(window), opening == 1) << "the icon's menu is followed by WM_NULL";
        EXPECT_EQ(sighting.rect.left * 1000 + sighting.rect.top, opening == 1 ? 320240 : 200150);
        EXPECT_EQ(sighting.moveChecked, opening == 1);
        shown.push_back(sighting.menu);
        for (HMENU menu : shown) EXPECT_FALSE(IsMenu(menu)) << "after opening " << opening;
        SendMessageA(window, WM_COMMAND, 40001, 0);
    }
}

TEST_F(ContextMenu, ClickCoordinatesAreSigned) {
    // Left of and above the only monitor: the menu is pushed onto its left and top
    // edges. Read unsigned (65436, 65486) it would land at the right and bottom.
    MenuSighting sighting =
        WatchMenu([&] { SendMessageA(window, WM_NCRBUTTONDOWN, HTCAPTION, ScreenPointParam(-100, -50)); });
    ASSERT_TRUE(sighting.seen);
    EXPECT_LT(sighting.rect.left, GetSystemMetrics(SM_CXSCREEN) / 2);
    EXPECT_LT(sighting.rect.top, GetSystemMetrics(SM_CYSCREEN) / 2);
}

}  // namespace
