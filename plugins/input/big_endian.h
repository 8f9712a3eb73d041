// Reading numbers out of file bytes. Platform-free.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

inline uint8_t ByteAt(std::string_view bytes, size_t at) {
    return static_cast<uint8_t>(bytes[at]);
}

// `count` bytes at `at`, most significant first.
inline uint32_t BigEndian(std::string_view bytes, size_t at, int count) {
    uint32_t value = 0;
    for (int i = 0; i < count; ++i) value = value << 8 | ByteAt(bytes, at + i);
    return value;
}
