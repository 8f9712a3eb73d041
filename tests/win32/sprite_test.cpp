#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "region_oracle.h"
#include "sprite/character_sprite.h"

namespace {

// A plain popup window with a sprite of its own.
class Sprite : public testing::Test {
protected:
    void SetUp() override {
        window = CreateWindowExA(0, "STATIC", nullptr, WS_POPUP, 0, 0, 112, 112, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
        sprite.InitSprite(window);
    }
    void TearDown() override {
        sprite.ReleaseSprite(window);
        DestroyWindow(window);
    }

    std::set<HGDIOBJ> Held() const {
        std::set<HGDIOBJ> held = {sprite.CurrentShape()};
        for (int i = 0; i < kFramesPerPose; ++i) {
            held.insert(sprite.FrameBitmap(i));
            held.insert(sprite.FrameRegion(i));
        }
        return held;
    }

    HWND window = nullptr;
    CharacterSprite sprite;
};

TEST_F(Sprite, ManyPoseLoadsLeaveOnlyTheCurrentFramesAlive) {
    const Pose poses[] = {Pose::WalkRight, Pose::RestRight, Pose::WalkLeft, Pose::RestLeft};
    std::vector<HGDIOBJ> released;
    for (int round = 0; round < 40; ++round) {
        for (HGDIOBJ handle : Held()) released.push_back(handle);
        sprite.LoadPose(poses[round % 4]);
        sprite.AdvanceFrame();
    }
    const std::set<HGDIOBJ> held = Held();
    for (int i = 0; i < kFramesPerPose; ++i) {
        EXPECT_EQ(GetObjectType(sprite.FrameBitmap(i)), static_cast<DWORD>(OBJ_BITMAP));
        EXPECT_EQ(GetObjectType(sprite.FrameRegion(i)), static_cast<DWORD>(OBJ_REGION));
    }
    for (HGDIOBJ handle : released) {
        if (held.count(handle) == 0) {
            EXPECT_EQ(GetObjectType(handle), 0u) << handle;
        }
    }
    EXPECT_EQ(GetPropA(window, "region"), sprite.CurrentShape());
}

TEST_F(Sprite, APoseLoadedMidCycleContinuesAtTheFrameThatIsDue) {
    sprite.AdvanceFrame();
    sprite.AdvanceFrame();
    ASSERT_EQ(sprite.CurrentFrame(), 2);
    sprite.LoadPose(Pose::WalkRight);
    sprite.AdvanceFrame();
    EXPECT_EQ(sprite.CurrentFrame(), 3);
    EXPECT_TRUE(ShapedLike(window, "r", 3));
}

TEST_F(Sprite, AMissingPictureLeavesAnEmptyShapeForItsFrame) {
    char original[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, original);
    CreateDirectoryA("no-skin", nullptr);
    SetCurrentDirectoryA("no-skin");
    sprite.LoadPose(Pose::WalkLeft);
    SetCurrentDirectoryA(original);

    EXPECT_EQ(sprite.FrameBitmap(1), nullptr);
    EXPECT_EQ(sprite.FrameRegion(1), nullptr);
    sprite.AdvanceFrame();
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(window, shape), NULLREGION);
    DeleteObject(shape);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);  // paints nothing, and must not fail
}

// A 32-bit top-down picture drawn from a table, as a bitmap handle.
HBITMAP MakeBitmap(int width, int height, const std::vector<uint32_t>& topDown) {
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    memcpy(bits, topDown.data(), topDown.size() * 4);
    return bitmap;
}

// A skin dithered with the key would give 45,000 rectangles a frame, more than the
// display accepts: the frame's shape keeps to the bound.
TEST(RegionFromBitmap, ADitheredPictureKeepsToTheRectangleBound) {
    std::vector<uint32_t> pixels(300 * 300);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = (i % 300 + i / 300) % 2 ? 0x00102030 : 0x00FF00FF;
    HBITMAP bitmap = MakeBitmap(300, 300, pixels);
    HRGN region = RegionFromBitmap(bitmap, 0x00FF00FF);
    const DWORD bytes = GetRegionData(region, 0, nullptr);
    std::vector<char> data(bytes);
    ASSERT_NE(GetRegionData(region, bytes, reinterpret_cast<RGNDATA*>(data.data())), 0u);
    const DWORD rects = reinterpret_cast<RGNDATA*>(data.data())->rdh.nCount;
    EXPECT_GT(rects, 0u);
    EXPECT_LE(rects, kMaxShapeRects);
    DeleteObject(region);
    DeleteObject(bitmap);
}

}  // namespace
