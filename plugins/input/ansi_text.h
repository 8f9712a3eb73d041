// Tag texts into TrackInfo fields, in the ANSI code page of the system.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// ID3v2 text as the decoder gives it (UTF-8). Text from a frame labelled Latin-1
// whose bytes are really in the ANSI code page (GBK tags written by Chinese tools)
// comes back as those bytes.
void CopyUtf8Text(std::string_view utf8, char* field, size_t capacity);

// ID3v1 fields have no encoding; their bytes are taken to be ANSI already.
void CopyId3v1Text(const char* raw, size_t size, char* field, size_t capacity);

// Tag text as UTF-8 again, with code-page text that a frame labelled Latin-1 held
// recovered as in CopyUtf8Text: for texts the program converts itself (lyrics).
std::string RecoveredUtf8(std::string_view utf8);
