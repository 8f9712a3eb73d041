#include "sprite/region_scan.h"

#include <algorithm>

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

std::vector<RunRect> JoinRepeatedRows(const std::vector<RunRect>& rects) {
    std::vector<RunRect> joined;
    size_t lastRow = 0;  // where the last row of `joined` starts
    for (size_t start = 0; start < rects.size();) {
        size_t end = start;
        while (end < rects.size() && rects[end].top == rects[start].top) ++end;
        const size_t count = end - start;
        const bool repeats = !joined.empty() && joined.size() - lastRow == count &&
                             joined[lastRow].bottom == rects[start].top &&
                             std::equal(rects.begin() + start, rects.begin() + end, joined.begin() + lastRow,
                                        [](const RunRect& a, const RunRect& b) {
                                            return a.left == b.left && a.right == b.right;
                                        });
        if (repeats) {
            for (size_t i = lastRow; i < joined.size(); ++i) joined[i].bottom = rects[start].bottom;
        } else {
            lastRow = joined.size();
            joined.insert(joined.end(), rects.begin() + start, rects.begin() + end);
        }
        start = end;
    }
    return joined;
}

namespace {

// The runs of the shape seen on a grid of `grain` x `grain` pixel cells.
std::vector<RunRect> CoarseRuns(const uint32_t* pixels, int32_t width, int32_t height, uint32_t key, int32_t grain) {
    const int32_t columns = (width + grain - 1) / grain;
    std::vector<RunRect> runs;
    std::vector<bool> filled(columns);
    for (int32_t top = 0; top < height; top += grain) {
        const int32_t bottom = std::min(top + grain, height);
        std::fill(filled.begin(), filled.end(), false);
        for (int32_t y = top; y < bottom; ++y) {
            const uint32_t* row = pixels + static_cast<size_t>(height - 1 - y) * static_cast<size_t>(width);
            for (int32_t x = 0; x < width; ++x) {
                if (row[x] != key) filled[x / grain] = true;
            }
        }
        for (int32_t cell = 0; cell < columns;) {
            if (!filled[cell]) {
                ++cell;
                continue;
            }
            const int32_t first = cell;
            while (cell < columns && filled[cell]) ++cell;
            runs.push_back({first * grain, top, std::min(cell * grain, width), bottom});
        }
    }
    return runs;
}

}  // namespace

std::vector<RunRect> ShapeRects(const uint32_t* pixels, int32_t width, int32_t height, uint32_t key,
                                size_t maxRects) {
    if (pixels == nullptr || width <= 0 || height <= 0) return {};
    if (key == kKeyFromPicture) key = pixels[0];
    std::vector<RunRect> rects = JoinRepeatedRows(ScanRuns(pixels, width, height, key));
    for (int32_t grain = 2; rects.size() > std::max<size_t>(maxRects, 1); grain += std::max(1, grain / 2)) {
        rects = JoinRepeatedRows(CoarseRuns(pixels, width, height, key, grain));
    }
    return rects;
}
