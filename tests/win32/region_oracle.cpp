#include "region_oracle.h"

Picture::Picture(const std::string& path)
    : dc(CreateCompatibleDC(nullptr)),
      bitmap(static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE))),
      original(SelectObject(dc, bitmap)) {
    BITMAP size = {};
    if (GetObjectA(bitmap, sizeof(size), &size) != 0) {
        width = size.bmWidth;
        height = size.bmHeight;
    }
}

Picture::~Picture() {
    SelectObject(dc, original);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

namespace {

// Union of 1 x 1 rectangles for every pixel that differs from the key.
HRGN OracleRegion(const Picture& picture) {
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
    HRGN expected = OracleRegion(Picture("Skin/" + std::string(pose) + std::to_string(frame) + ".bmp"));
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    GetWindowRgn(window, shape);
    const bool same = EqualRgn(shape, expected) != FALSE;
    DeleteObject(shape);
    DeleteObject(expected);
    return same;
}
