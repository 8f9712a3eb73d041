// Samples of other widths to the output's signed 16 bits, rounded to the nearest and
// held within range. Platform-free.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

inline int16_t Clamp16(int64_t value) {
    return static_cast<int16_t>(std::clamp<int64_t>(value, INT16_MIN, INT16_MAX));
}

// A signed integer sample of `bits` bits (1 to 32).
inline int16_t Int16FromBits(int32_t sample, int bits) {
    if (bits <= 16) return static_cast<int16_t>(static_cast<int64_t>(sample) * (int64_t{1} << (16 - bits)));
    const int shift = bits - 16;
    return Clamp16((static_cast<int64_t>(sample) + (int64_t{1} << (shift - 1))) >> shift);
}

// A float sample, full scale at ±1.
inline int16_t Int16FromFloat(float sample) {
    if (!(sample == sample)) return 0;  // NaN
    return Clamp16(std::llround(std::clamp(sample, -2.0f, 2.0f) * 32768.0f));
}
