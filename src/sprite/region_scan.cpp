#include "sprite/region_scan.h"

std::vector<RunRect> ScanRuns(const uint32_t* pixels, int32_t width, int32_t height, uint32_t key) {
    std::vector<RunRect> runs;
    if (pixels == nullptr || width <= 0 || height <= 0) return runs;
    if (key == kKeyFromPicture) key = pixels[0];

    // Walk memory rows from the top of the picture down, so window rows ascend.
    for (int32_t y = height - 1; y >= 0; --y) {
        const uint32_t* row = pixels + static_cast<size_t>(y) * static_cast<size_t>(width);
        const int32_t top = height - 1 - y;
        int32_t x = 0;
        while (x < width) {
            if (row[x] == key) {
                ++x;
                continue;
            }
            const int32_t start = x;
            while (x < width && row[x] != key) ++x;
            runs.push_back({start, top, x, top + 1});
        }
    }
    return runs;
}
