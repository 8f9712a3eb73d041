// The character's speech balloon: the title of the track that starts, or the volume
// as the wheel sets it, beside the figure's head for a few seconds, and the line of the
// lyrics that is sung. A topmost tool window of its own, shaped as a rounded balloon
// with a tail towards the figure; it takes no clicks and never the focus.
#pragma once

#include <windows.h>

#include <string>

constexpr const char* kBalloonClassName = "WuzzleBalloon";
constexpr DWORD kBalloonExStyle =
    WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TRANSPARENT;
constexpr UINT kBalloonShowMs = 4000;
// Longer texts wrap at this width.
constexpr int kBalloonTextWidth = 320;

class TitleBalloon {
public:
    // Shows `text` (lines joined by CR LF, which is also the window's text) beside
    // the character for four seconds, unless the character is hidden; then the sung
    // line again, if there is one.
    void Show(HWND character, const std::string& text);
    // Shows the line that is sung until the next one; empty: none is, and the balloon
    // goes unless a text of Show is still up.
    void Sing(HWND character, const std::string& line);
    // A text of Show makes way for the sung line, or goes, before its time.
    void EndShowing();
    // Keeps the balloon beside the character as it moves; hides it with the character.
    void Follow(HWND character);
    void Hide();
    void Destroy();

    HWND Window() const { return window; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Present(HWND character, const std::string& text);
    void Paint();
    void Shape(bool onTheRight);

    HWND window = nullptr;
    // The body without its tail; empty while the balloon is not showing.
    SIZE body = {};
    bool shaped = false;
    bool tailOnLeft = true;
    std::string shown;
    std::string sung;
    HWND singer = nullptr;
    bool showing = false;  // a text of Show is up
};

extern TitleBalloon titleBalloon;
