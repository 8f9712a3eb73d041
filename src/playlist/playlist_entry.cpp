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
        if (path[i] == '\\' || path[i] == '/') {
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

bool ReadTrackDetails(InputPlugin& input, PlaylistEntry& entry, bool keepWhenRefused, LeadByteTest isLeadByte) {
    // Into a record of our own: a refused Open may have written part of it.
    TrackInfo info{};
    if (input.Open(entry.path.c_str(), &info) == 0) {
        if (keepWhenRefused) MarkUnavailable(entry, isLeadByte);
        return keepWhenRefused;
    }
    TakeTrackDetails(entry, info, isLeadByte);
    input.Close();
    return true;
}

void TakeTrackDetails(PlaylistEntry& entry, const TrackInfo& info, LeadByteTest isLeadByte) {
    entry.info = info;
    if (entry.info.title[0] == '\0') {
        TitleFromFileName(entry.info.title, entry.path.c_str(), sizeof(entry.info.title), isLeadByte);
    }
    entry.available = true;
}

void MarkUnavailable(PlaylistEntry& entry, LeadByteTest isLeadByte) {
    entry.info = {};
    if (entry.listedTitle.empty()) {
        TitleFromFileName(entry.info.title, entry.path.c_str(), sizeof(entry.info.title), isLeadByte);
    } else {
        const std::string& title = entry.listedTitle;
        const size_t kept = WholeCharacters(title.data(), title.size(), sizeof(entry.info.title) - 1, isLeadByte);
        std::memcpy(entry.info.title, title.data(), kept);
    }
    entry.available = false;
}

std::string LengthText(const PlaylistEntry& entry) {
    return entry.available ? MinutesAndSeconds(entry.info.length) : "--:--";
}
