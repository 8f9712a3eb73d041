#include "sprite/screens.h"

#include <algorithm>
#include <cstdint>

namespace {

bool Covers(const ScreenRect& outer, const ScreenRect& inner) {
    return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
           outer.bottom >= inner.bottom;
}

bool Overlaps(const ScreenRect& a, const ScreenRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The gap between two rectangles, squared (0 when they touch or overlap).
int64_t GapSquared(const ScreenRect& a, const ScreenRect& b) {
    const int64_t dx = std::max<int64_t>({0, int64_t{b.left} - a.right, int64_t{a.left} - b.right});
    const int64_t dy = std::max<int64_t>({0, int64_t{b.top} - a.bottom, int64_t{a.top} - b.bottom});
    return dx * dx + dy * dy;
}

int32_t Fit(int32_t at, int32_t size, int32_t low, int32_t high) {
    return std::max(low, std::min(at, high - size));
}

}  // namespace

bool FullscreenInFront(const Foreground& foreground, bool appBarSays) {
    if (appBarSays) return true;
    if (!foreground.otherProgram || !foreground.onCharactersMonitor) return false;
    const ShellState shell = foreground.shell;
    return shell == ShellState::Busy || shell == ShellState::Direct3dFullscreen || shell == ShellState::Presentation ||
           Covers(foreground.rect, foreground.monitor);
}

ScreenPoint PlaceOnScreens(const ScreenRect& window, const std::vector<Monitor>& monitors) {
    const ScreenPoint here = {window.left, window.top};
    if (monitors.empty()) return here;
    for (const Monitor& monitor : monitors) {
        if (Overlaps(window, monitor.area)) return here;
    }
    const Monitor& nearest = *std::min_element(monitors.begin(), monitors.end(), [&](const Monitor& a, const Monitor& b) {
        return GapSquared(window, a.area) < GapSquared(window, b.area);
    });
    const ScreenRect& work = nearest.workArea;
    return {Fit(window.left, window.right - window.left, work.left, work.right),
            Fit(window.top, window.bottom - window.top, work.top, work.bottom)};
}
