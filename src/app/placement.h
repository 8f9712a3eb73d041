// Where the character window first appears, and the paths built from the start
// directory. Platform-free.
#pragma once

#include <cstddef>
#include <cstdint>

struct WindowOrigin {
    int32_t x;
    int32_t y;

    bool operator==(const WindowOrigin&) const = default;
};

// Centres the window on the span from the screen origin to the work area's right and
// bottom edges; the work area's left and top are deliberately not used. Signed
// arithmetic, quotient truncated toward zero.
WindowOrigin PlaceWindow(int32_t workRight, int32_t workBottom, int32_t width, int32_t height);

// Writes directory + suffix into `out` (capacity `size`); false, with `out` empty,
// when that does not fit.
bool JoinStartPath(char* out, size_t size, const char* directory, const char* suffix);

// Where the title balloon goes: beside the figure's head, on its right unless the
// work area ends there, then on its left, and always inside the work area.
struct BalloonPlace {
    int32_t x;
    int32_t y;
    // The tail points to the figure: from the balloon's left end when it is on the
    // figure's right.
    bool onTheRight;

    bool operator==(const BalloonPlace&) const = default;
};

// `figure` and `work` as left, top, right, bottom; the balloon is `width` by
// `height`, its tail included.
BalloonPlace PlaceBalloon(const int32_t figure[4], const int32_t work[4], int32_t width, int32_t height);
