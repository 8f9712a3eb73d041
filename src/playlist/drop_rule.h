// Which dropped or chosen files the playlist takes: playlist files and music files by
// the extensions listed here, each in lower or in upper case, compared exactly.
// Platform-free.
#pragma once

#include <string>

#include "text/ansi_code_page.h"

// The one list of what is taken, lower case, without the dot: the rule, the open-file
// dialog's music filter and the refusal's caption all come from it.
constexpr const char* kPlaylistExtensions[] = {"m3u", "m3u8"};
constexpr const char* kMusicExtensions[] = {"mp3", "flac", "ogg", "oga", "opus", "wav", "m4a", "aac", "wma", "wv"};

// "*.MP3;*.FLAC;…": the dialog's pattern for music of every kind taken.
std::string MusicFilePattern();

// The caption of the box that refuses a file, naming every kind taken.
std::string RefusalCaption();

enum class FileKind { Playlist, Music, Other };

// The extension of the path's last component with its dot, as the shell finds it:
// the last dot after which no separator or blank follows, walking whole characters
// (the second byte of a double-byte character is never a separator). The empty text
// (the path's end) when there is none.
const char* FindExtension(const char* path, LeadByteTest isLeadByte);

FileKind KindOfFile(const char* path, LeadByteTest isLeadByte);

// A ".m3u8" playlist, which is UTF-8 even without a byte-order mark.
bool IsUtf8PlaylistName(const char* path, LeadByteTest isLeadByte);
