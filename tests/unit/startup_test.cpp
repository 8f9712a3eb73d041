#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/placement.h"
#include "sprite/skin_files.h"

namespace {

struct PlacementCase {
    int32_t workRight, workBottom, width, height;
    WindowOrigin expected;
};

TEST(PlaceWindow, CentresOnTheSpanFromTheScreenOrigin) {
    const PlacementCase cases[] = {
        {1024, 738, 200, 100, {412, 319}},
        // A 30-pixel task bar on the left (work area 30,0-1024,768): its left edge is
        // not used, so x stays 412, not 427.
        {1024, 768, 200, 100, {412, 334}},
        // Wider than the work area: negative x, truncated toward zero.
        {1000, 768, 1003, 100, {-1, 334}},
        {1024, 768, 1029, 771, {-2, -1}},
    };
    for (const PlacementCase& c : cases) {
        EXPECT_EQ(PlaceWindow(c.workRight, c.workBottom, c.width, c.height), c.expected)
            << c.workRight << "x" << c.workBottom << " skin " << c.width << "x" << c.height;
    }
}

std::vector<uint8_t> Header(int32_t width, int32_t height, size_t length = kSkinHeaderBytes) {
    std::vector<uint8_t> bytes(length, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    // Width at byte 18 and height at 22, little-endian, as far as the header goes.
    for (size_t i = 0; i < 8 && 18 + i < length; ++i) bytes[18 + i] = uint8_t((i < 4 ? width : height) >> i % 4 * 8);
    return bytes;
}

TEST(SkinSizeFromHeader, ReadsWidthAndHeightOrFallsBack) {
    std::vector<uint8_t> noSignature = Header(64, 48);
    noSignature[0] = 'X';
    const std::tuple<const char*, std::vector<uint8_t>, SkinSize> cases[] = {
        {"plain", Header(112, 96), {112, 96}},
        {"top-down picture", Header(112, -96), {112, 96}},
        {"signature not examined", noSignature, {64, 48}},
        {"empty file", {}, kFallbackSkinSize},
        {"cut inside the height", Header(112, 96, 25), kFallbackSkinSize},
        {"negative width", Header(-5, 96), kFallbackSkinSize},
        {"absurd height", Header(100, 0x40000000), kFallbackSkinSize},
        {"most negative height", Header(100, INT32_MIN), kFallbackSkinSize},
    };
    for (const auto& [name, bytes, expected] : cases) {
        EXPECT_EQ(SkinSizeFromHeader(bytes.data(), bytes.size()), expected) << name;
    }
}

}  // namespace
