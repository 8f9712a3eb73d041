#include "app/placement.h"

#include <cstring>

WindowOrigin PlaceWindow(int32_t workRight, int32_t workBottom, int32_t width, int32_t height) {
    return {(workRight - width) / 2, (workBottom - height) / 2};
}

bool JoinStartPath(char* out, size_t size, const char* directory, const char* suffix) {
    const size_t directoryLength = std::strlen(directory);
    const size_t suffixLength = std::strlen(suffix);
    if (directoryLength + suffixLength >= size) {
        if (size > 0) out[0] = '\0';
        return false;
    }
    std::memcpy(out, directory, directoryLength);
    std::memcpy(out + directoryLength, suffix, suffixLength + 1);
    return true;
}
