#include "playlist/ansi_text.h"

size_t WholeCharacters(const char* text, size_t length, size_t limit, LeadByteTest isLeadByte) {
    size_t end = 0;
    while (end < length) {
        const size_t step = isLeadByte(static_cast<unsigned char>(text[end])) && end + 1 < length ? 2 : 1;
        if (end + step > limit) break;
        end += step;
    }
    return end;
}
