// Text from tags, before and after conversion to the ANSI code page. Platform-free:
// the caller passes the code page's lead-byte test.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The bytes behind UTF-8 text whose every character is below U+0100: what a tag frame
// labelled Latin-1 held before the decoder widened it. Nothing when the text has
// other characters, or only ASCII (which needs no recovering).
std::optional<std::string> Latin1Bytes(std::string_view utf8);

// The length of the longest start of `text` that fits in a field of `capacity` bytes
// with its NUL and does not end inside a double-byte character.
size_t FitText(std::string_view text, size_t capacity, bool (*isLeadByte)(unsigned char));

// An ID3v1 field: up to its first NUL, without trailing blanks.
std::string_view Id3v1Text(const char* field, size_t size);
