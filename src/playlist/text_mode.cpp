#include "playlist/text_mode.h"

TextModeReader::TextModeReader(std::string_view raw) {
    text.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\x1A') break;
        if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
        text += raw[i];
    }
}

std::string TextModeReader::ReadLine(size_t limit) {
    std::string line;
    while (line.size() < limit) {
        if (at == text.size()) {
            endMet = true;
            break;
        }
        const char byte = text[at++];
        if (byte == '\n') break;
        line += byte;
    }
    return line;
}
