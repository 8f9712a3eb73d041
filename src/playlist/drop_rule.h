// Which dropped or chosen files the playlist takes: playlist files by ".m3u" or
// ".m3u8", music files by ".mp3", ".flac", ".ogg", ".oga", ".opus" or ".wav", each in
// lower or in upper case, compared exactly. Platform-free.
#pragma once

#include "text/ansi_code_page.h"

enum class FileKind { Playlist, Music, Other };

// The extension of the path's last component with its dot, as the shell finds it:
// the last dot after which no separator or blank follows, walking whole characters
// (the second byte of a double-byte character is never a separator). The empty text
// (the path's end) when there is none.
const char* FindExtension(const char* path, LeadByteTest isLeadByte);

FileKind KindOfFile(const char* path, LeadByteTest isLeadByte);

// A ".m3u8" playlist, which is UTF-8 even without a byte-order mark.
bool IsUtf8PlaylistName(const char* path, LeadByteTest isLeadByte);
