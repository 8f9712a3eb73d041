#include "ansi_code_page.h"

size_t WholeCharacters(const char* text, size_t length, size_t limit, LeadByteTest isLeadByte) {
    size_t end = 0;
    while (end < length) {
        const bool lead = isLeadByte(static_cast<unsigned char>(text[end]));
        if (lead && end + 1 == length) break;  // a character cut off: no use to anyone
        const size_t step = lead ? 2 : 1;
        if (end + step > limit) break;
        end += step;
    }
    return end;
}
