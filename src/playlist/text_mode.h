// Text files as the Windows C runtime's text mode reads them: CR LF becomes LF, a
// lone CR stays, 0x1A ends the file; lines are read with a length limit. Platform-free.
#pragma once

#include <string>
#include <string_view>

class TextModeReader {
public:
    explicit TextModeReader(std::string_view fileBytes);

    // The next line, as a read with a limit does it: at most `limit` characters,
    // ending at a LF (taken and not kept) or at the limit (the rest of the line is
    // left for the next read). A read that meets the end of the file keeps what it
    // got, and every read after it gives the empty text.
    std::string ReadLine(size_t limit);
    bool EndMet() const { return endMet; }

private:
    std::string text;
    size_t at = 0;
    bool endMet = false;
};
