// Samples of other widths to the output's signed 16 bits, rounded to the nearest and
// held within range. Platform-free.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>

inline int16_t Clamp16(int64_t value) {
    return static_cast<int16_t>(std::clamp<int64_t>(value, INT16_MIN, INT16_MAX));
}

// A signed integer sample of `bits` bits (1 to 32).
inline int16_t Int16FromBits(int32_t sample, int bits) {
    if (bits <= 16) return static_cast<int16_t>(static_cast<int64_t>(sample) * (int64_t{1} << (16 - bits)));
    const int shift = bits - 16;
    return Clamp16((static_cast<int64_t>(sample) + (int64_t{1} << (shift - 1))) >> shift);
}

// A float sample, full scale at ±1: to the nearest, halves to even as the FPU rounds.
// Adding 1.5 * 2^23 leaves the integer in the low bits of the sum, without the
// library call per sample that lrint or llround make (most of the time AAC took).
inline int16_t Int16FromFloat(float sample) {
    if (!(sample == sample)) return 0;  // NaN
    const float shifted = std::clamp(sample, -2.0f, 2.0f) * 32768.0f + 12582912.0f;
    int32_t bits;
    std::memcpy(&bits, &shifted, sizeof(bits));
    return Clamp16(bits - 0x4B400000);
}
