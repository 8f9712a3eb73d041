#include <gtest/gtest.h>

#include <set>
#include <vector>

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

}  // namespace
