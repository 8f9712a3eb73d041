#include "region_oracle.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

BmpPicture ReadBmp(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    BmpPicture picture;
    if (bytes.size() < 54) return picture;
    auto read32 = [&](size_t at) {
        return static_cast<int32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | bytes[at + 3] << 24);
    };
    const int32_t offset = read32(10);
    picture.width = read32(18);
    picture.height = read32(22);
    picture.name = path;
    const size_t stride = (static_cast<size_t>(picture.width) * 3 + 3) & ~size_t{3};
    picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
    for (int y = 0; y < picture.height; ++y) {
        // Stored bottom-up.
        const unsigned char* row = bytes.data() + offset + (picture.height - 1 - y) * stride;
        for (int x = 0; x < picture.width; ++x) {
            const unsigned char* p = row + 3 * x;
            picture.pixels[static_cast<size_t>(y) * picture.width + x] = p[2] << 16 | p[1] << 8 | p[0];
        }
    }
    return picture;
}

namespace {

// Union of 1 x 1 rectangles for every pixel that differs from the key.
HRGN OracleRegion(const BmpPicture& picture) {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            if (picture.At(x, y) == picture.Key()) continue;
            HRGN pixel = CreateRectRgn(x, y, x + 1, y + 1);
            CombineRgn(region, region, pixel, RGN_OR);
            DeleteObject(pixel);
        }
    }
    return region;
}

}  // namespace

bool ShapedLike(HWND window, const char* pose, int frame) {
    HRGN expected = OracleRegion(ReadBmp("Skin/" + std::string(pose) + std::to_string(frame) + ".bmp"));
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    GetWindowRgn(window, shape);
    const bool same = EqualRgn(shape, expected) != FALSE;
    DeleteObject(shape);
    DeleteObject(expected);
    return same;
}

POINT InnerPoint(const BmpPicture& picture) {
    auto solid = [&](int cx, int cy) {
        for (int y = cy - 2; y <= cy + 2; ++y) {
            for (int x = cx - 2; x <= cx + 2; ++x) {
                if (picture.At(x, y) == picture.Key()) return false;
            }
        }
        return true;
    };
    for (int y = picture.height / 2; y < picture.height - 2; ++y) {
        for (int x = 2; x < picture.width - 2; ++x) {
            if (solid(x, y)) return {x, y};
        }
    }
    return {-1, -1};
}
