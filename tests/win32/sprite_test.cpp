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
    HRGN expected = OracleRegion(ReadBmp("Skin/r3.bmp"));
    HRGN shape = WindowShape(window);
    EXPECT_TRUE(SameRegion(shape, expected));
    DeleteObject(shape);
    DeleteObject(expected);
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

TEST(RegionFromBitmap, BuildsTheWorkedExampleAndEmptyShapes) {
    const uint32_t K = 0x00FF00FF, A = 0x00102030, B = 0x00405060;
    HBITMAP example = MakeBitmap(4, 2, {K, A, A, K, K, B, K, B});
    HRGN region = RegionFromBitmap(example, kKeyFromPicture);
    HRGN expected = CreateRectRgn(1, 0, 3, 1);
    HRGN part = CreateRectRgn(1, 1, 2, 2);
    CombineRgn(expected, expected, part, RGN_OR);
    SetRectRgn(part, 3, 1, 4, 2);
    CombineRgn(expected, expected, part, RGN_OR);
    EXPECT_TRUE(SameRegion(region, expected));

    HBITMAP allKey = MakeBitmap(3, 3, std::vector<uint32_t>(9, K));
    HRGN empty = RegionFromBitmap(allKey, kKeyFromPicture);
    RECT box;
    EXPECT_EQ(GetRgnBox(empty, &box), NULLREGION);

    EXPECT_EQ(RegionFromBitmap(nullptr, kKeyFromPicture), nullptr);
    for (HGDIOBJ object : {static_cast<HGDIOBJ>(example), static_cast<HGDIOBJ>(region), static_cast<HGDIOBJ>(expected),
                           static_cast<HGDIOBJ>(part), static_cast<HGDIOBJ>(allKey), static_cast<HGDIOBJ>(empty)}) {
        DeleteObject(object);
    }
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

// The program builds its regions in one call; that is only allowed while it gives
// exactly the region that adding the runs one by one gives.
TEST(RegionFromRuns, BatchedAndCombinedRegionsAreEqual) {
    std::vector<std::vector<RunRect>> pictures;
    const char* const names[] = {"sl0", "sl1", "sl2", "sl3", "sr0", "sr1", "sr2", "sr3",
                                 "l0",  "l1",  "l2",  "l3",  "r0",  "r1",  "r2",  "r3"};
    for (const char* name : names) {
        const BmpPicture picture = ReadBmp(std::string("Skin/") + name + ".bmp");
        ASSERT_GT(picture.width, 0) << name;
        std::vector<uint32_t> bottomUp;
        for (int y = picture.height - 1; y >= 0; --y) {
            for (int x = 0; x < picture.width; ++x) bottomUp.push_back(picture.At(x, y));
        }
        pictures.push_back(ScanRuns(bottomUp.data(), picture.width, picture.height, kKeyFromPicture));
    }
    // A busy 256 x 256 pattern with runs of every length.
    std::vector<uint32_t> busy(256 * 256);
    for (size_t i = 0; i < busy.size(); ++i) busy[i] = ((i * 2654435761u) >> 13) % 5 == 0 ? 0 : 1;
    busy[0] = 0;
    pictures.push_back(ScanRuns(busy.data(), 256, 256, kKeyFromPicture));

    for (const std::vector<RunRect>& runs : pictures) {
        HRGN combined = RegionByCombiningRuns(runs);
        HRGN batched = RegionFromRunsBatched(runs);
        EXPECT_TRUE(SameRegion(combined, batched)) << runs.size() << " runs";
        DeleteObject(combined);
        DeleteObject(batched);
    }
}

}  // namespace
