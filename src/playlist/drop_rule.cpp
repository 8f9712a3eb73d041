#include "playlist/drop_rule.h"

#include <cctype>
#include <cstring>
#include <iterator>

namespace {

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// The extension, dot included, is one of `listed` in lower or in upper case.
template <size_t N>
bool IsListed(const char* extension, const char* const (&listed)[N]) {
    if (*extension++ != '.') return false;
    for (const char* one : listed) {
        if (std::strcmp(extension, one) == 0 || extension == Upper(one)) return true;
    }
    return false;
}

}  // namespace

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
    if (IsListed(extension, kPlaylistExtensions)) return FileKind::Playlist;
    if (IsListed(extension, kMusicExtensions)) return FileKind::Music;
    return FileKind::Other;
}

std::string MusicFilePattern() {
    std::string pattern;
    for (const char* music : kMusicExtensions) pattern += (pattern.empty() ? "*." : ";*.") + Upper(music);
    return pattern;
}

std::string RefusalCaption() {
    std::string kinds;
    for (const char* music : kMusicExtensions) kinds += std::string(music) + "、";
    for (const char* playlist : kPlaylistExtensions) kinds += std::string(playlist) + "、";
    // The last two joined by "和".
    kinds.resize(kinds.size() - std::strlen("、"));
    const size_t last = kinds.rfind("、");
    return "只接受 " + kinds.replace(last, std::strlen("、"), " 和 ") + " 文件。";
}

bool IsUtf8PlaylistName(const char* path, LeadByteTest isLeadByte) {
    static constexpr const char* kUtf8Playlists[] = {"m3u8"};
    return IsListed(FindExtension(path, isLeadByte), kUtf8Playlists);
}
