// Part of a buffer of file bytes at an offset and count that the file itself gave.
// Platform-free.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string_view>

// The bytes from `at` on, `count` of them at most, cut to what `bytes` holds: empty
// when `at` lies past the end. Unlike std::string_view::substr it never throws, and
// its arithmetic is 64-bit, so no offset a file claims can wrap in a 32-bit build.
inline std::string_view ByteSlice(std::string_view bytes, uint64_t at, uint64_t count = UINT64_MAX) {
    if (at >= bytes.size()) return {};
    const uint64_t left = bytes.size() - at;
    return std::string_view(bytes.data() + at, static_cast<size_t>(std::min(count, left)));
}
