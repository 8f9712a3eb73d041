// What the open-file dialog's answer asks of the playlist. Platform-free.
#pragma once

#include <string>
#include <vector>

#include "text/ansi_code_page.h"

struct OpenFilesPlan {
    // One playlist file was chosen: it replaces the playlist.
    bool replacePlaylist = false;
    // The directory to make current while adding, when several files were chosen.
    std::string directory;
    // What to add (or, with replacePlaylist, the one playlist file to load).
    std::vector<std::string> paths;
};

// `buffer` holds what the dialog wrote: the full path of one file, or a directory
// followed by the names chosen in it, each ending with a zero byte and the list with
// an empty string. `firstIsDirectory` tells the two apart (the caller asks the file
// system). A name chosen among several is added as it is, even a playlist file.
OpenFilesPlan PlanOpenFiles(const char* buffer, size_t size, bool firstIsDirectory, LeadByteTest isLeadByte);
