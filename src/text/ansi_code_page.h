// Texts and paths as the program and its plug-ins keep them: byte strings in the
// system's ANSI code page, where a lead byte starts a double-byte character whose
// second byte may look like '\' or any letter. The logic takes the code page's
// lead-byte test as an argument; the system's own test and the conversions live on
// the Windows side. Both the program and the input plug-in use this one helper.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

using LeadByteTest = bool (*)(unsigned char byte);

// The length of the longest start of `text` (of `length` bytes) that is at most
// `limit` bytes long and ends on a whole character: a double-byte character is never
// cut, and a lead byte left without its second byte at the end is dropped.
size_t WholeCharacters(const char* text, size_t length, size_t limit, LeadByteTest isLeadByte);

// The running system's test (IsDBCSLeadByte). Windows only.
bool IsAnsiLeadByte(unsigned char byte);

// `wide` in the ANSI code page, or in `codePage` when given; `lossy` when a character
// has no spelling there. Never a best-fit look-alike: a name spelled so would name
// another file, and text recovered as GBK relies on hearing of the loss. Where the
// code page is UTF-8 (a Windows option), which refuses those flags, every character
// has a spelling and only an unpaired surrogate is lossy. Windows only.
std::string WideToAnsi(std::wstring_view wide, bool& lossy, unsigned codePage = 0);

// `text` from `codePage` to UTF-16; with `strict`, empty when it is not valid text
// there. Windows only.
std::wstring ToWide(std::string_view text, unsigned codePage, bool strict);
