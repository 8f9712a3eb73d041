#include <windows.h>

#include "playlist/ansi_text.h"

bool IsAnsiLeadByte(unsigned char byte) {
    return IsDBCSLeadByte(byte) != FALSE;
}
