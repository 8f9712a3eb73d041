#include "playlist/drop_rule.h"

#include <cstring>
#include <initializer_list>

const char* FindExtension(const char* path, LeadByteTest isLeadByte) {
    const char* extension = nullptr;
    const char* at = path;
    for (; *at != '\0'; at += isLeadByte(static_cast<unsigned char>(*at)) && at[1] != '\0' ? 2 : 1) {
        if (*at == '.') {
            extension = at;
        } else if (*at == '\\' || *at == '/' || *at == ' ') {
            extension = nullptr;
        }
    }
    return extension != nullptr ? extension : at;
}

FileKind KindOfFile(const char* path, LeadByteTest isLeadByte) {
    const char* extension = FindExtension(path, isLeadByte);
    for (const char* playlist : {".m3u", ".M3U", ".m3u8", ".M3U8"}) {
        if (std::strcmp(extension, playlist) == 0) return FileKind::Playlist;
    }
    for (const char* music :
         {".mp3", ".MP3", ".flac", ".FLAC", ".ogg", ".OGG", ".oga", ".OGA", ".opus", ".OPUS", ".wav", ".WAV"}) {
        if (std::strcmp(extension, music) == 0) return FileKind::Music;
    }
    return FileKind::Other;
}

bool IsUtf8PlaylistName(const char* path, LeadByteTest isLeadByte) {
    const char* extension = FindExtension(path, isLeadByte);
    return std::strcmp(extension, ".m3u8") == 0 || std::strcmp(extension, ".M3U8") == 0;
}
