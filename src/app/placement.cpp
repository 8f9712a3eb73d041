#include "app/placement.h"

#include <algorithm>
#include <cstring>

WindowOrigin PlaceWindow(int32_t workRight, int32_t workBottom, int32_t width, int32_t height) {
    return {(workRight - width) / 2, (workBottom - height) / 2};
}

bool JoinStartPath(char* out, size_t size, const char* directory, const char* suffix) {
    const size_t directoryLength = std::strlen(directory);
    const size_t suffixLength = std::strlen(suffix);
    if (directoryLength + suffixLength >= size) {
        if (size > 0) out[0] = '\0';
        return false;
    }
    std::memcpy(out, directory, directoryLength);
    std::memcpy(out + directoryLength, suffix, suffixLength + 1);
    return true;
}

BalloonPlace PlaceBalloon(const int32_t figure[4], const int32_t work[4], int32_t width, int32_t height) {
    const int32_t inset = (figure[2] - figure[0]) / 6;  // the figure seldom fills its box's corners
    const int32_t right = figure[2] - inset;
    const bool onTheRight = right + width <= work[2];
    int32_t x = onTheRight ? right : figure[0] + inset - width;
    int32_t y = figure[1] + (figure[3] - figure[1]) / 3 - height;
    x = std::max(work[0], std::min(x, work[2] - width));
    y = std::max(work[1], std::min(y, work[3] - height));
    return {x, y, onTheRight};
}
