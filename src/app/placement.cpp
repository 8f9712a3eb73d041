#include "app/placement.h"

#include <cstring>

WindowOrigin PlaceWindow(int32_t workRight, int32_t workBottom, int32_t width, int32_t height) {
    return {(workRight - width) / 2, (workBottom - height) / 2};
}

bool JoinStartPath(char* out, size_t size, const char* directory, const char* suffix) {
    const size_t directoryLength = std::strlen(directory);
    const size_t suffixLength = std::strlen(suffix);
    const bool fits = directoryLength + suffixLength < size;
    const char* head = fits ? directory : ".";
    const size_t headLength = fits ? directoryLength : 1;
    if (headLength + suffixLength >= size) {
        if (size > 0) out[0] = '\0';
        return false;
    }
    std::memcpy(out, head, headLength);
    std::memcpy(out + headLength, suffix, suffixLength + 1);
    return fits;
}
