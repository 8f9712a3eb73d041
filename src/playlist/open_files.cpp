#include "playlist/open_files.h"

#include <cstring>

#include "playlist/drop_rule.h"

OpenFilesPlan PlanOpenFiles(const char* buffer, size_t size, bool firstIsDirectory, LeadByteTest isLeadByte) {
    std::vector<std::string> strings;
    for (size_t at = 0; at < size && buffer[at] != '\0';) {
        const size_t length = strnlen(buffer + at, size - at);
        strings.emplace_back(buffer + at, length);
        at += length + 1;
    }
    OpenFilesPlan plan;
    if (strings.empty()) return plan;
    if (!firstIsDirectory) {
        plan.replacePlaylist = KindOfFile(strings[0].c_str(), isLeadByte) == FileKind::Playlist;
        plan.paths.push_back(strings[0]);
        return plan;
    }
    plan.directory = strings[0];
    for (size_t i = 1; i < strings.size(); ++i) plan.paths.push_back(plan.directory + "\\" + strings[i]);
    return plan;
}
