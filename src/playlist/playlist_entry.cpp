#include "playlist/playlist_entry.h"

#include <cstdio>
#include <cstring>

void TitleFromFileName(char* title, const char* path, size_t capacity, LeadByteTest isLeadByte) {
    if (capacity == 0) return;
    const size_t length = std::strlen(path);
    size_t nameStart = 0;
    size_t lastDot = length;
    for (size_t i = 0; i < length;) {
        const bool lead = isLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < length;
        if (path[i] == '\\') {
            nameStart = i + 1;
            lastDot = length;
        } else if (path[i] == '.') {
            lastDot = i;
        }
        i += lead ? 2 : 1;
    }
    const size_t nameLength = lastDot - nameStart;
    const size_t kept = WholeCharacters(path + nameStart, nameLength, capacity - 1, isLeadByte);
    std::memcpy(title, path + nameStart, kept);
    title[kept] = '\0';
}

std::string MinutesAndSeconds(int seconds) {
    char text[32];
    std::snprintf(text, sizeof(text), "%02d:%02d", seconds / 60, seconds % 60);
    return text;
}
