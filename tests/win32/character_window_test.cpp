#include <gtest/gtest.h>

#include <string>

#include "app/placement.h"
#include "app/shell.h"
#include "character_fixture.h"
#include "region_oracle.h"

namespace {

class CharacterWindow : public CharacterWindowTest {
protected:
    POINT ScreenPoint(POINT windowPoint) const {
        RECT rect;
        GetWindowRect(window, &rect);
        return {rect.left + windowPoint.x, rect.top + windowPoint.y};
    }
};

TEST_F(CharacterWindow, HasTheClassStylesAndSizeOfTheSkinCentredOnTheWorkArea) {
    char className[32] = {};
    GetClassNameA(window, className, sizeof(className));
    EXPECT_STREQ(className, "Wuzzle");
    EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE) & (WS_EX_TOOLWINDOW | WS_EX_TOPMOST),
              WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME | WS_SYSMENU), 0);

    const BmpPicture first = ReadBmp("Skin/sl0.bmp");
    RECT rect, workArea;
    GetWindowRect(window, &rect);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    EXPECT_EQ(rect.right - rect.left, first.width);
    EXPECT_EQ(rect.bottom - rect.top, first.height);
    const WindowOrigin origin = PlaceWindow(workArea.right, workArea.bottom, first.width, first.height);
    EXPECT_EQ(rect.left, origin.x);
    EXPECT_EQ(rect.top, origin.y);
}

TEST_F(CharacterWindow, StartsShapedLikeTheFirstRestFrameAndRecordsThatShape) {
    HRGN expected = OracleRegion(ReadBmp("Skin/sl0.bmp"));
    HRGN shape = WindowShape(window);
    EXPECT_TRUE(SameRegion(shape, expected));
    EXPECT_EQ(GetPropA(window, "region"), characterSprite.CurrentShape());
    DeleteObject(shape);
    DeleteObject(expected);
}

TEST_F(CharacterWindow, OnlyTheFigureIsHitAndItDragsLikeACaption) {
    const BmpPicture first = ReadBmp("Skin/sl0.bmp");
    const POINT figure = ScreenPoint(InnerPoint(first));
    const POINT keyPixel = ScreenPoint({0, first.height - 1});
    EXPECT_EQ(WindowFromPoint(figure), window);
    EXPECT_NE(WindowFromPoint(keyPixel), window);
    EXPECT_EQ(SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(figure.x, figure.y)), HTCAPTION);
}

TEST_F(CharacterWindow, EveryTickReplacesTheShapeWithTheNextFrame) {
    HRGN previous = characterSprite.CurrentShape();
    for (int tick = 1; tick <= 8; ++tick) {
        SendMessageA(window, WM_TIMER, kAnimationTimer, 0);
        const int frame = tick % 4;
        EXPECT_EQ(characterSprite.CurrentFrame(), frame);
        HRGN recorded = static_cast<HRGN>(GetPropA(window, "region"));
        EXPECT_EQ(recorded, characterSprite.CurrentShape());
        EXPECT_NE(recorded, previous) << "tick " << tick;
        // The window freed the shape it held before (unless its handle was reused).
        EXPECT_TRUE(GetObjectType(previous) == 0 || previous == recorded);
        EXPECT_TRUE(ShapedLike(window, "sl", frame)) << "tick " << tick;
        previous = recorded;
    }
}

TEST_F(CharacterWindow, ClosingRunsTheDestructionSequence) {
    HBITMAP frameBitmap = characterSprite.FrameBitmap(0);
    HRGN frameRegion = characterSprite.FrameRegion(0);
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(GetObjectType(frameBitmap), 0u);
    EXPECT_EQ(GetObjectType(frameRegion), 0u);
    MSG message = {};
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 0u);
}

TEST(InstanceGuard, ASecondHolderIsTurnedAway) {
    ASSERT_TRUE(AcquireInstanceGuard());
    HANDLE first = instanceGuard;
    EXPECT_FALSE(AcquireInstanceGuard());
    CloseHandle(first);
    // Released: the name is free again.
    ASSERT_TRUE(AcquireInstanceGuard());
    CloseHandle(instanceGuard);
}

TEST(ShellPaths, AreBuiltFromTheCurrentDirectory) {
    InitShellPaths();
    char current[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, current);
    EXPECT_STREQ(startDirectory, current);
    EXPECT_EQ(std::string(settingsPath), std::string(current) + "\\Data\\Wzmp.ini");
    EXPECT_EQ(std::string(playlistPath), std::string(current) + "\\Data\\PlayList.m3u");
    EXPECT_EQ(std::string(iconPath), std::string(current) + "\\Data\\Wzmp.ico");
}

}  // namespace

namespace {

TEST(ProgramFile, CarriesItsIconGroupAndStringTable) {
    HMODULE program = LoadLibraryExA("..\\WuzzlePlayer.exe", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr);
    EXPECT_NE(FindResourceA(program, MAKEINTRESOURCEA(107), MAKEINTRESOURCEA(14)), nullptr);  // RT_GROUP_ICON
    HICON icon = static_cast<HICON>(LoadImageA(program, MAKEINTRESOURCEA(107), IMAGE_ICON, 32, 32, 0));
    EXPECT_NE(icon, nullptr);
    EXPECT_NE(FindResourceA(program, MAKEINTRESOURCEA(2501), MAKEINTRESOURCEA(6)), nullptr);  // RT_STRING
    char text[64] = {};
    EXPECT_GT(LoadStringA(program, 40001, text, sizeof(text)), 0);
    EXPECT_STREQ(text, "移动");
    if (icon != nullptr) DestroyIcon(icon);
    FreeLibrary(program);
}

}  // namespace
