// Test helpers: a window's shape checked pixel by pixel against its picture.
#pragma once

#include <windows.h>

#include <string>

// A skin picture as the system reads it, in a memory DC of its own.
class Picture {
public:
    explicit Picture(const std::string& path);
    ~Picture();
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    COLORREF At(int x, int y) const { return GetPixel(dc, x, y); }
    COLORREF Key() const { return At(0, height - 1); }

    int width = 0;
    int height = 0;

private:
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ original;
};

// True when the window's shape is exactly the figure (every pixel but the key's) of
// frame `frame` of a pose's pictures, named by their prefix ("sl", "sr", "l", "r").
bool ShapedLike(HWND window, const char* pose, int frame);
