// The playlist file's bytes: one path per line, CR LF line ends, read as the Windows
// C runtime's text mode reads it. Platform-free.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "text/ansi_code_page.h"

// The longest piece of a line handed on at a time (a 1024-byte buffer read with a
// limit of 1023, one byte kept for the terminator).
constexpr size_t kPlaylistPieceBytes = 1022;

// The texts that loading hands to AddFile, in order. Text mode first: CR LF becomes
// LF, a lone CR stays, and 0x1A ends the file. Then lines of at most 1022 bytes are
// read until the end of the file has been met: a longer line comes as several pieces,
// a file that ends with a line end yields one more, empty, piece, and an empty file
// yields one empty piece.
std::vector<std::string> ReadPlaylistPieces(std::string_view fileBytes);

// Whether a line could name a track at all: not empty, not a comment or a player's
// "#EXTINF" line, and not a device ("CON", "NUL.mp3", "\\.\PhysicalDrive0"), which
// could never play. Whether it names a folder is for the caller to ask the disk.
bool IsTrackLine(std::string_view line, LeadByteTest isLeadByte);

// Appends one saved line: the path, then CR LF unless the path is empty.
void AppendPathLine(std::string& fileBytes, std::string_view path);
