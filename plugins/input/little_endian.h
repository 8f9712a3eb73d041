// Reading little-endian numbers out of file bytes. Platform-free.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// `count` bytes at `at`, least significant first.
inline uint64_t LittleEndian(std::string_view bytes, size_t at, int count) {
    uint64_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
    return value;
}
