// Texts and paths are byte strings in the system's ANSI code page, where a lead byte
// starts a double-byte character whose second byte may look like '\' or any letter.
// The logic takes the code page's lead-byte test as an argument.
#pragma once

#include <cstddef>

using LeadByteTest = bool (*)(unsigned char byte);

// The running system's test (IsDBCSLeadByte); only in the program.
bool IsAnsiLeadByte(unsigned char byte);

// The length of the longest start of `text` (of `length` bytes) that is at most
// `limit` bytes long and does not end inside a double-byte character.
size_t WholeCharacters(const char* text, size_t length, size_t limit, LeadByteTest isLeadByte);
