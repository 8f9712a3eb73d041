#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/context_menu.h"
#include "app/shell.h"
#include "character_fixture.h"

namespace {

std::string Caption(HMENU menu, int position) {
    char text[64] = {};
    GetMenuStringA(menu, position, text, sizeof(text), MF_BYPOSITION);
    return text;
}

struct ItemCase {
    const char* caption;
    int id;  // 0 for a pop-up
};

void ExpectItems(HMENU menu, const std::vector<ItemCase>& items) {
    ASSERT_EQ(GetMenuItemCount(menu), static_cast<int>(items.size()));
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        EXPECT_EQ(Caption(menu, i), items[i].caption) << "item " << i;
        const bool popup = GetSubMenu(menu, i) != nullptr;
        EXPECT_EQ(popup, items[i].id == 0) << "item " << i;
        if (!popup) {
            EXPECT_EQ(static_cast<int>(GetMenuItemID(menu, i)), items[i].id) << "item " << i;
        }
        // Plain items: no separator, grey, disabled, check or default mark.
        const UINT state = GetMenuState(menu, i, MF_BYPOSITION);
        EXPECT_EQ(state & (MF_SEPARATOR | MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_DEFAULT), 0u) << "item " << i;
    }
}

TEST(ContextMenuResource, HasTheCaptionsIdsAndNestingOfTheMenu) {
    HMENU bar = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(101));
    ASSERT_NE(bar, nullptr);
    ExpectItems(bar, {{"菜单", 0}});
    HMENU popup = GetSubMenu(bar, 0);
    ExpectItems(popup,
                {{"移动", 40001}, {"歌名气泡", 40015}, {"播放", 0}, {"播放列表", 40008}, {"控制", 40009}, {"退出", 40002}});
    ExpectItems(GetSubMenu(popup, 2), {{"播放", 40011}, {"停止", 40012}, {"下一个", 40013}, {"上一个", 40014}});
    DestroyMenu(bar);
}

// The editor's bar: two drop-down menus, then move up and move down as commands on
// the bar itself.
TEST(EditorMenuResource, HasTheBarOfTheEditor) {
    HMENU bar = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(102));
    ASSERT_NE(bar, nullptr);
    ExpectItems(bar, {{"文件(&F)", 0}, {"编辑(&E)", 0}, {"上移(&U)", 40006}, {"下移(&D)", 40007}});
    ExpectItems(GetSubMenu(bar, 0), {{"打开(&O)", 40003}, {"关闭(&X)", 40002}});
    ExpectItems(GetSubMenu(bar, 1), {{"删除(&D)", 40004}, {"全部删除(&N)", 40005}});
    DestroyMenu(bar);
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
