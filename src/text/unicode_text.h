// UTF-8 and UTF-16 text as files and tags carry it. Platform-free; the program and
// the input plug-in share it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Appends one code point in UTF-8.
void AppendUtf8(std::string& out, uint32_t code);

// UTF-16 bytes as UTF-8, up to a zero unit or the end; an unpaired surrogate becomes
// U+FFFD, and an odd last byte is left out.
std::string Utf16ToUtf8(std::string_view text, bool bigEndian);

// Whether `text` is well-formed UTF-8: no stray or missing continuation bytes, no
// overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view text);

// Text that a byte-order mark says is Unicode, as UTF-8 without the mark: UTF-8 as it
// is, UTF-16 (either order) converted into `storage`. None when there is no mark.
std::optional<std::string_view> MarkedUnicode(std::string_view bytes, std::string& storage);
