#include "sprite/region_scan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

constexpr uint32_t K = 0x00FF00FF;  // key
constexpr uint32_t A = 0x00112233;
constexpr uint32_t B = 0x00445566;

// Pictures are written top row first, as one looks at them; the scan gets them
// bottom-up as a DIB stores them.
std::vector<uint32_t> BottomUp(const std::vector<std::vector<uint32_t>>& topDown) {
    std::vector<uint32_t> memory;
    for (auto row = topDown.rbegin(); row != topDown.rend(); ++row)
        memory.insert(memory.end(), row->begin(), row->end());
    return memory;
}

std::vector<RunRect> Scan(const std::vector<std::vector<uint32_t>>& topDown, uint32_t key = kKeyFromPicture) {
    const std::vector<uint32_t> memory = BottomUp(topDown);
    return ScanRuns(memory.data(), static_cast<int32_t>(topDown[0].size()), static_cast<int32_t>(topDown.size()), key);
}

TEST(ScanRuns, GivesMaximalRunsInWindowRows) {
    const std::pair<std::vector<std::vector<uint32_t>>, std::vector<RunRect>> cases[] = {
        {{{K, A, A, K}, {K, B, K, B}}, {{1, 0, 3, 1}, {1, 1, 2, 2}, {3, 1, 4, 2}}},  // the worked example
        {{{K, K}, {K, K}}, {}},
        {{{K, A, A}, {K, K, K}}, {{1, 0, 3, 1}}},  // a run reaching the right edge
        {{{A, A, A}, {A, K, A}, {K, A, A}}, {{0, 0, 3, 1}, {0, 1, 1, 2}, {2, 1, 3, 2}, {1, 2, 3, 3}}},  // a hole
        {{{A, B, A}, {K, K, K}}, {{0, 0, 3, 1}}},  // colours join one run
        {{{K, K}, {K, A}}, {{1, 1, 2, 2}}},        // the bottom row is the last window row
    };
    for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(Scan(cases[i].first), cases[i].second) << "picture " << i;
}

TEST(JoinRepeatedRows, JoinsOnlyAdjacentRowsOfTheSameRuns) {
    // Rows 0 and 1 alike; row 2 differs; row 4 repeats row 2 across the empty row 3.
    EXPECT_EQ(JoinRepeatedRows(Scan({{K, A, K}, {K, A, K}, {A, A, K}, {K, K, K}, {A, A, K}}, K)),
              (std::vector<RunRect>{{1, 0, 2, 2}, {0, 2, 2, 3}, {0, 4, 2, 5}}));
}

// Above the bound the shape is coarser but whole: every pixel of the figure is in it,
// and it stays inside the picture. The figure: a checkerboard over the top two thirds,
// one pixel below it.
TEST(ShapeRects, ADetailedPictureStaysWithinTheBoundAndCoversItsFigure) {
    constexpr int32_t kSide = 61;
    std::vector<uint32_t> memory(kSide * kSide, K);
    for (int32_t i = 0; i < kSide * kSide; ++i) {
        const int32_t x = i % kSide, y = kSide - 1 - i / kSide;  // memory is bottom-up
        if ((y < 40 && (x + y) % 2) || (x == 50 && y == 55)) memory[i] = A;
    }
    const std::vector<RunRect> rects = ShapeRects(memory.data(), kSide, kSide, K, 100);
    ASSERT_LE(rects.size(), 100u);
    for (int32_t i = 0; i < kSide * kSide; ++i) {
        const int32_t x = i % kSide, y = kSide - 1 - i / kSide;  // memory is bottom-up
        const bool covered = std::any_of(rects.begin(), rects.end(), [&](const RunRect& r) {
            return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
        });
        if (memory[i] != K) {
            EXPECT_TRUE(covered) << x << "," << y;
        }
    }
    for (const RunRect& r : rects) EXPECT_TRUE(r.left >= 0 && r.right <= kSide && r.top >= 0 && r.bottom <= kSide);
    EXPECT_EQ(ShapeRects(memory.data(), kSide, kSide, K, 5000),
              JoinRepeatedRows(ScanRuns(memory.data(), kSide, kSide, K)))
        << "exact below the bound";
}

}  // namespace
