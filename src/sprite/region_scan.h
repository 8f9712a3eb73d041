// Turning a picture's pixels into the rectangles of its shape. Platform-free: the
// window code feeds it the memory of a 32-bit DIB and builds a region from the result.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A rectangle in window coordinates, right and bottom exclusive.
struct RunRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;

    bool operator==(const RunRect&) const = default;
};

// Passed as the key: take the key from the picture's bottom-left pixel.
constexpr uint32_t kKeyFromPicture = 0xFFFFFFFFu;

// The maximal horizontal runs of non-key pixels, each one row high. `pixels` holds
// width x height 32-bit values bottom-up (memory row 0 is the picture's bottom row),
// as a DIB with a positive height stores them. Pixels are compared as whole 32-bit
// words. The runs come out top row first and left to right, so they are already in
// the banded order a region wants.
std::vector<RunRect> ScanRuns(const uint32_t* pixels, int32_t width, int32_t height, uint32_t key);

// The rectangles of a picture's shape, at most `maxRects` of them (at least 1). When
// the exact runs, with rows that repeat the row above joined into taller rectangles,
// are few enough, they are the shape. Otherwise the picture is looked at on a coarser
// grid, a cell belonging to the shape when any pixel of it does, the cells growing
// until the rectangles are few enough: a window region of tens of thousands of
// rectangles takes seconds to build and apply, and more than the display accepts.
std::vector<RunRect> ShapeRects(const uint32_t* pixels, int32_t width, int32_t height, uint32_t key,
                                size_t maxRects);

// Joins each row of rectangles that repeats the row just above it into that row's
// rectangles, which grow taller: the same shape in fewer rectangles. `rects` are in
// the banded order ScanRuns gives.
std::vector<RunRect> JoinRepeatedRows(const std::vector<RunRect>& rects);
