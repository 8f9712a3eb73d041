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

void TakeTrackDetails(PlaylistEntry& entry, const TrackInfo& info, LeadByteTest isLeadByte) {
    entry.info = info;
    if (entry.info.title[0] == '\0') {
        TitleFromFileName(entry.info.title, entry.path.c_str(), sizeof(entry.info.title), isLeadByte);
    }
    entry.available = true;
    entry.details = Details::Read;
}

void MarkPending(PlaylistEntry& entry, LeadByteTest isLeadByte) {
    entry.info = {};
    if (entry.listedTitle.empty()) {
        TitleFromFileName(entry.info.title, entry.path.c_str(), sizeof(entry.info.title), isLeadByte);
    } else {
        const std::string& title = entry.listedTitle;
        const size_t kept = WholeCharacters(title.data(), title.size(), sizeof(entry.info.title) - 1, isLeadByte);
        std::memcpy(entry.info.title, title.data(), kept);
    }
    entry.available = true;
    entry.details = Details::Pending;
}

void MarkUnavailable(PlaylistEntry& entry, LeadByteTest isLeadByte) {
    MarkPending(entry, isLeadByte);
    entry.available = false;
    entry.details = Details::Read;
}

const char* ArtistText(const PlaylistEntry& entry) {
    if (entry.details == Details::Pending) return "";
    return entry.info.artist[0] != '\0' ? entry.info.artist : "不明";
}

std::string LengthText(const PlaylistEntry& entry) {
    if (!entry.available) return "--:--";
    return entry.details == Details::Pending ? "" : MinutesAndSeconds(entry.info.length);
}
