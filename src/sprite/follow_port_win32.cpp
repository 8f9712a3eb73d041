#include "sprite/follow_port_win32.h"

ScreenPoint WindowFollowPort::CursorPosition() {
    POINT cursor = {};
    GetCursorPos(&cursor);
    return {cursor.x, cursor.y};
}

ScreenRect WindowFollowPort::WindowRectangle() {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return {rect.left, rect.top, rect.right, rect.bottom};
}

void WindowFollowPort::MoveWindowTo(int32_t x, int32_t y, int32_t width, int32_t height) {
    MoveWindow(window, x, y, width, height, TRUE);
}
