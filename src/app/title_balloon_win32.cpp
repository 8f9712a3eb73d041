#include "app/title_balloon.h"

#include <map>

#include "app/placement.h"
#include "sprite/gdi_handle.h"
#include "sprite/skin_files.h"

TitleBalloon titleBalloon;

namespace {

constexpr int kPadX = 10;
constexpr int kPadY = 6;
constexpr int kTail = 12;
constexpr int kCorner = 16;
constexpr UINT_PTR kHideTimer = 1;
constexpr COLORREF kPaper = RGB(255, 251, 240);
// Lines break between words, and inside a word (or between any two Chinese characters)
// that is wider than the balloon.
constexpr UINT kTextFormat = DT_NOPREFIX | DT_WORDBREAK | DT_EDITCONTROL;

// The skin's outline: the colour that most often borders the key in the first rest
// picture. Read once; any skin gets a balloon drawn in its own ink.
COLORREF OutlineColour() {
    static const COLORREF colour = [] {
        GdiHandle<HBITMAP> picture(static_cast<HBITMAP>(
            LoadImageA(nullptr, SkinPath(Pose::RestLeft, 0), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
        BITMAP size = {};
        if (!picture || GetObjectA(picture.get(), sizeof(size), &size) == 0) return RGB(60, 40, 40);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ original = SelectObject(dc, picture.get());
        const COLORREF key = GetPixel(dc, 0, size.bmHeight - 1);
        std::map<COLORREF, int> edges;
        for (int y = 1; y + 1 < size.bmHeight; ++y) {
            for (int x = 1; x + 1 < size.bmWidth; ++x) {
                const COLORREF here = GetPixel(dc, x, y);
                if (here == key) continue;
                const bool edge = GetPixel(dc, x - 1, y) == key || GetPixel(dc, x + 1, y) == key ||
                                  GetPixel(dc, x, y - 1) == key || GetPixel(dc, x, y + 1) == key;
                if (edge) ++edges[here];
            }
        }
        SelectObject(dc, original);
        DeleteDC(dc);
        COLORREF best = RGB(60, 40, 40);
        int most = 0;
        for (const auto& [candidate, count] : edges) {
            if (count > most) best = candidate, most = count;
        }
        return best;
    }();
    return colour;
}

HFONT BalloonFont() {
    static HFONT font = CreateFontA(-14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "宋体");
    return font;
}

}  // namespace

void TitleBalloon::Show(HWND character, const std::string& text) {
    if (!IsWindowVisible(character)) return;
    Present(character, text);
    if (window == nullptr) return;
    showing = true;
    SetTimer(window, kHideTimer, kBalloonShowMs, nullptr);
}

void TitleBalloon::Sing(HWND character, const std::string& line) {
    sung = line;
    singer = character;
    if (!line.empty()) {
        KillTimer(window, kHideTimer);
        showing = false;
        if (IsWindowVisible(character)) Present(character, line);
    } else if (!showing) {
        Hide();
    }
}

void TitleBalloon::EndShowing() {
    if (!showing) return;
    if (sung.empty() || !IsWindowVisible(singer)) return Hide();
    KillTimer(window, kHideTimer);
    showing = false;
    Present(singer, sung);
}

void TitleBalloon::Present(HWND character, const std::string& text) {
    if (window == nullptr) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kBalloonClassName;
        RegisterClassA(&windowClass);
        window = CreateWindowExA(kBalloonExStyle, kBalloonClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        if (window == nullptr) return;
        SetLayeredWindowAttributes(window, 0, 255, LWA_ALPHA);
    }
    shown = text;
    SetWindowTextA(window, text.c_str());
    HDC dc = GetDC(window);
    HGDIOBJ original = SelectObject(dc, BalloonFont());
    RECT measured = {0, 0, kBalloonTextWidth, 0};
    DrawTextA(dc, shown.data(), static_cast<int>(shown.size()), &measured, DT_CALCRECT | kTextFormat);
    SelectObject(dc, original);
    ReleaseDC(window, dc);
    body = {measured.right + 2 * kPadX, measured.bottom + 2 * kPadY};
    shaped = false;  // a new size wants a new shape
    Follow(character);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    InvalidateRect(window, nullptr, TRUE);
}

void TitleBalloon::Follow(HWND character) {
    if (window == nullptr || body.cx == 0) return;  // not showing
    if (!IsWindowVisible(character)) return Hide();
    RECT figureRect;
    GetWindowRect(character, &figureRect);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoA(MonitorFromWindow(character, MONITOR_DEFAULTTONEAREST), &monitor);
    const int32_t figure[4] = {figureRect.left, figureRect.top, figureRect.right, figureRect.bottom};
    const int32_t work[4] = {monitor.rcWork.left, monitor.rcWork.top, monitor.rcWork.right, monitor.rcWork.bottom};
    const BalloonPlace place = PlaceBalloon(figure, work, body.cx, body.cy + kTail);
    if (!shaped || tailOnLeft != place.onTheRight) Shape(place.onTheRight);
    SetWindowPos(window, HWND_TOPMOST, place.x, place.y, body.cx, body.cy + kTail, SWP_NOACTIVATE);
}

void TitleBalloon::Hide() {
    showing = false;
    if (window == nullptr) return;
    KillTimer(window, kHideTimer);
    ShowWindow(window, SW_HIDE);
    body = {};
}

void TitleBalloon::Destroy() {
    if (window != nullptr) DestroyWindow(window);
    window = nullptr;
}

// The body's rounded rectangle and a tail from its bottom edge, near the end on the
// figure's side, down towards the figure.
void TitleBalloon::Shape(bool onLeft) {
    HRGN shape = CreateRoundRectRgn(0, 0, body.cx + 1, body.cy + 1, kCorner, kCorner);
    const int w = body.cx, h = body.cy;
    POINT tail[3] = {{14, h - 2}, {30, h - 2}, {2, h + kTail}};
    if (!onLeft) tail[0] = {w - 14, h - 2}, tail[1] = {w - 30, h - 2}, tail[2] = {w - 2, h + kTail};
    HRGN tip = CreatePolygonRgn(tail, 3, WINDING);
    CombineRgn(shape, shape, tip, RGN_OR);
    DeleteObject(tip);
    SetWindowRgn(window, shape, TRUE);  // the window owns the shape from here on
    tailOnLeft = onLeft;
    shaped = true;
}

void TitleBalloon::Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    GetWindowRgn(window, shape);
    GdiHandle<HBRUSH> paper(CreateSolidBrush(kPaper));
    GdiHandle<HBRUSH> ink(CreateSolidBrush(OutlineColour()));
    FillRgn(dc, shape, paper.get());
    FrameRgn(dc, shape, ink.get(), 2, 2);
    DeleteObject(shape);
    HGDIOBJ original = SelectObject(dc, BalloonFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, OutlineColour());
    RECT inside = {kPadX, kPadY, body.cx - kPadX, body.cy - kPadY};
    DrawTextA(dc, shown.data(), static_cast<int>(shown.size()), &inside, kTextFormat);
    SelectObject(dc, original);
    EndPaint(window, &paint);
}

LRESULT CALLBACK TitleBalloon::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: titleBalloon.Paint(); return 0;
    case WM_TIMER: titleBalloon.EndShowing(); return 0;
    // Clicks go to whatever lies under the balloon, and it never takes the focus.
    case WM_NCHITTEST: return HTTRANSPARENT;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}
