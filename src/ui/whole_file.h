// Files read and written whole.
#pragma once

#include <string>

// The file's bytes, opened for reading and writing and created empty when missing;
// false when it cannot be opened so (no folder, read-only, locked). `identity`, when
// asked for, names the file however its path is spelled.
bool ReadWholeFile(const char* path, std::string& bytes, std::string* identity = nullptr);

// The same for a file that is only read: never created, read-only is fine.
bool ReadExistingFile(const char* path, std::string& bytes, std::string* identity);

// Writes beside the file, then puts the copy in its place, so that a crash leaves the
// old file or the new one, never a part. A read-only file is left as it is. False
// when nothing was replaced.
bool ReplaceWholeFile(const char* path, const std::string& bytes);

// Removes what a replacement cut off before it was put in place left beside the file.
// The file itself is not touched.
void RemoveUnfinishedReplacement(const char* path);
