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

// An ID3v1 field: up to its first NUL, without trailing blanks.
std::string_view Id3v1Text(const char* field, size_t size);
