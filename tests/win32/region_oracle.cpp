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

bool ShapedLike(HWND window, const char* pose, int frame) {
    const Picture picture("Skin/" + std::string(pose) + std::to_string(frame) + ".bmp");
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    bool same = GetWindowRgn(window, shape) != ERROR && picture.width > 0;
    for (int y = 0; same && y < picture.height; ++y) {
        for (int x = 0; same && x < picture.width; ++x) {
            same = (PtInRegion(shape, x, y) != FALSE) == (picture.At(x, y) != picture.Key());
        }
    }
    // Nothing outside the picture either.
    RECT bounds;
    GetRgnBox(shape, &bounds);
    same = same && bounds.left >= 0 && bounds.top >= 0 && bounds.right <= picture.width && bounds.bottom <= picture.height;
    DeleteObject(shape);
    return same;
}
