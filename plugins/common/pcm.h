// Sample arithmetic shared by the output plug-ins. Platform-free.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kMaxVolume = 100;

int ClampVolume(int level);

// Copies `frames` interleaved 16-bit frames from `in` to `out`, scaling the first
// channel by first/100 and every further one by second/100 (levels 0..100). Mono
// takes the mean of the two levels.
void ScaleFrames(const int16_t* in, int16_t* out, size_t frames, int channels, int first, int second);
