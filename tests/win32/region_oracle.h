// Test helpers: a picture's shape built the slow, obvious way (one rectangle per
// pixel, straight from the file's bytes), to check the program's regions against.
#pragma once

#include <windows.h>

#include <string>

struct BmpPicture {
    int width = 0;
    int height = 0;
    // Top row first; each pixel 0x00RRGGBB.
    std::string name;
    std::basic_string<unsigned> pixels;

    unsigned At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    unsigned Key() const { return At(0, height - 1); }
};

// Reads an uncompressed 24-bit BMP; an empty picture when it cannot.
BmpPicture ReadBmp(const std::string& path);

// True when the window's shape is exactly the figure (every pixel but the key's) of
// frame `frame` of a pose's pictures, named by their prefix ("sl", "sr", "l", "r").
bool ShapedLike(HWND window, const char* pose, int frame);

// A point well inside the figure (its 5 x 5 neighbourhood is all figure).
POINT InnerPoint(const BmpPicture& picture);
