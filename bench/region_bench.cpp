// How long it takes to build the four regions of a pose, adding the runs one by one
// with CombineRgn against handing them all to ExtCreateRegion at once; then, for skins
// of every detail, what one frame costs with its exact runs against the bounded shape
// (ShapeRects): building its region, as a pose change does, and giving a copy of it
// to a shown window and painting, as every animation step does. Run under Wine from
// the staged folder (it reads ./Skin/*.bmp), with a display:
//   wine region_bench.exe
// With "answer SECONDS" it times the running program instead (bench/detailed-skin):
// it waits for the character window, then for SECONDS sends it a message every 50 ms,
// moving the cursor every 2 s so that the character walks, and prints the seconds to
// the first answer, the slowest answer in ms, the answers over 200 ms, the answers,
// and whether the window still lives.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "sprite/character_sprite.h"

namespace {

// The other way to turn runs into a region, run by run, measured beside the batched one.
HRGN RegionByCombiningRuns(const std::vector<RunRect>& runs) {
    HRGN result = CreateRectRgn(0, 0, 0, 0);
    for (const RunRect& run : runs) {
        HRGN piece = CreateRectRgn(run.left, run.top, run.right, run.bottom);
        CombineRgn(result, result, piece, RGN_OR);
        DeleteObject(piece);
    }
    return result;
}

struct Picture {
    const char* name;
    std::vector<std::vector<RunRect>> frames;
};

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Milliseconds per pose (four regions) for one method; sets `same` false when the
// region differs from the reference built the other way.
template <typename Build, typename Other>
double TimePose(const Picture& picture, Build build, Other other, int rounds, bool& same) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    for (int round = 0; round < rounds; ++round) {
        for (const std::vector<RunRect>& runs : picture.frames) DeleteObject(build(runs));
    }
    QueryPerformanceCounter(&end);
    for (const std::vector<RunRect>& runs : picture.frames) {
        HRGN a = build(runs), b = other(runs);
        same = same && EqualRgn(a, b);
        DeleteObject(a);
        DeleteObject(b);
    }
    return Seconds(start, end) * 1000.0 / rounds;
}

std::vector<RunRect> RunsOfFile(const char* path) {
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    BITMAP description = {};
    GetObjectA(bitmap, sizeof(description), &description);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), description.bmWidth, description.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<uint32_t> pixels(static_cast<size_t>(description.bmWidth) * description.bmHeight);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, description.bmHeight, pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    return ScanRuns(pixels.data(), description.bmWidth, description.bmHeight, kKeyFromPicture);
}

// A square picture, bottom-up, whose pixels are the key where `isKey(x, y)`; the
// bottom-left pixel is the key.
template <typename IsKey>
std::vector<uint32_t> Square(int32_t side, IsKey isKey) {
    std::vector<uint32_t> pixels(static_cast<size_t>(side) * side);
    for (int32_t y = 0; y < side; ++y) {
        for (int32_t x = 0; x < side; ++x) pixels[static_cast<size_t>(y) * side + x] = isKey(x, y) ? 0 : 1;
    }
    pixels[0] = 0;
    return pixels;
}

// 512 x 512 with short runs everywhere: a worst case far beyond any real skin.
std::vector<RunRect> BusyRuns(unsigned seed) {
    const auto pixels = Square(512, [&](int32_t x, int32_t y) { return ((y * 512u + x + seed) * 2654435761u >> 13) % 5 == 0; });
    return ScanRuns(pixels.data(), 512, 512, kKeyFromPicture);
}

// A skin dithered with the key: every other pixel (a 50% grey), or at random inside
// a disc (a dithered shadow with a ragged edge).
std::vector<uint32_t> Checkerboard(int32_t side) {
    return Square(side, [](int32_t x, int32_t y) { return (x + y) % 2 == 0; });
}

std::vector<uint32_t> DitheredDisc(int32_t side) {
    return Square(side, [side](int32_t x, int32_t y) {
        const int32_t dx = 2 * x - side, dy = 2 * y - side;
        return dx * dx + dy * dy > side * side * 81 / 100 || ((y * 7919u + x) * 2654435761u >> 15) % 2 == 0;
    });
}

double Milliseconds(LARGE_INTEGER from) {
    LARGE_INTEGER to;
    QueryPerformanceCounter(&to);
    return Seconds(from, to) * 1000.0;
}

// One frame: its rectangles and region built from its pixels, then the shape applied
// and painted as an animation step does (the mean of ten, after a first that maps the
// window). Prints the rectangles and both times; "-" where the display would refuse
// the shape, ending the program.
template <typename Rects>
void TimeFrame(const std::vector<uint32_t>& pixels, int32_t side, Rects rects, bool apply) {
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    const std::vector<RunRect> shape = rects(pixels.data(), side);
    HRGN region = RegionFromRunsBatched(shape);
    const double buildMs = Milliseconds(start);
    std::printf(" %8zu %9.1f", shape.size(), buildMs);
    if (!apply) {
        std::printf(" %9s", "-");
    } else {
        HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", nullptr, WS_POPUP | WS_VISIBLE, 0, 0, side, side,
                                      nullptr, nullptr, nullptr, nullptr);
        double applyMs = 0;
        for (int step = 0; step <= 10; ++step) {
            QueryPerformanceCounter(&start);
            HRGN copy = CreateRectRgn(0, 0, 0, 0);
            CombineRgn(copy, region, nullptr, RGN_COPY);
            SetWindowRgn(window, copy, TRUE);
            InvalidateRect(window, nullptr, FALSE);
            UpdateWindow(window);
            if (step > 0) applyMs += Milliseconds(start) / 10;
        }
        DestroyWindow(window);
        std::printf(" %9.1f", applyMs);
    }
    DeleteObject(region);
}

void CompareFrame(const char* name, const std::vector<uint32_t>& pixels, int32_t side) {
    std::printf("%-24s", name);
    const auto exact = [](const uint32_t* bits, int32_t width) {
        return ScanRuns(bits, width, width, kKeyFromPicture);
    };
    const auto bounded = [](const uint32_t* bits, int32_t width) {
        return ShapeRects(bits, width, width, kKeyFromPicture, kMaxShapeRects);
    };
    const size_t runs = exact(pixels.data(), side).size();
    TimeFrame(pixels, side, exact, runs <= 25000);
    TimeFrame(pixels, side, bounded, true);
    std::printf("\n");
}

int Answers(double seconds) {
    LARGE_INTEGER start, sent;
    QueryPerformanceCounter(&start);
    HWND window = nullptr;
    DWORD_PTR result;
    while (Milliseconds(start) < 120000) {
        window = FindWindowA("Wuzzle", nullptr);
        if (window != nullptr && IsWindowVisible(window) &&
            SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &result) != 0) {
            break;
        }
        window = nullptr;
        Sleep(20);
    }
    const double first = Milliseconds(start);
    double slowest = 0;
    int late = 0, answers = 0;
    for (int step = 0; window != nullptr && IsWindow(window) && Milliseconds(start) - first < seconds * 1000; ++step) {
        if (step % 40 == 0) SetCursorPos(100 + step * 37 % 800, 100 + step * 53 % 500);
        QueryPerformanceCounter(&sent);
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
        const double took = Milliseconds(sent);
        slowest = took > slowest ? took : slowest;
        late += took > 200;
        ++answers;
        Sleep(50);
    }
    const bool alive = window != nullptr && IsWindow(window);
    if (alive) PostMessageA(window, WM_CLOSE, 0, 0);
    std::printf("%.1f %.0f %d %d %s\n", window != nullptr ? first / 1000 : -1.0, slowest, late, answers,
                alive ? "yes" : "no");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "answer") return Answers(atof(argv[2]));
    Picture skin = {"shipped skin, rest-left pose", {}};
    for (const char* path : {"./Skin/sl0.bmp", "./Skin/sl1.bmp", "./Skin/sl2.bmp", "./Skin/sl3.bmp"}) {
        skin.frames.push_back(RunsOfFile(path));
    }
    Picture busy = {"synthetic 512x512, many runs", {}};
    for (unsigned seed = 0; seed < 4; ++seed) busy.frames.push_back(BusyRuns(seed));

    std::printf("%-32s %8s %14s %14s %8s %6s\n", "picture", "runs", "CombineRgn ms", "ExtCreate ms", "speedup", "equal");
    for (const Picture* picture : {&skin, &busy}) {
        size_t runs = 0;
        for (const auto& frame : picture->frames) runs += frame.size();
        const int rounds = picture == &skin ? 50 : 1;
        bool same = true;
        const double combined = TimePose(*picture, RegionByCombiningRuns, RegionFromRunsBatched, rounds, same);
        const double batched = TimePose(*picture, RegionFromRunsBatched, RegionByCombiningRuns, rounds, same);
        std::printf("%-32s %8zu %14.3f %14.3f %7.1fx %6s\n", picture->name, runs, combined, batched,
                    combined / batched, same ? "yes" : "NO");
    }

    std::printf("\n%-24s %8s %9s %9s %8s %9s %9s\n", "one frame", "runs", "build ms", "apply ms", "rects",
                "build ms", "apply ms");
    std::vector<uint32_t> shipped(112 * 112);
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(nullptr, "./Skin/sl0.bmp", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 112, 112, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, 112, shipped.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    CompareFrame("shipped skin, sl0", shipped, 112);
    for (int32_t side : {200, 300}) {
        const std::string size = std::to_string(side) + "x" + std::to_string(side);
        CompareFrame(("checkerboard " + size).c_str(), Checkerboard(side), side);
        CompareFrame(("dithered disc " + size).c_str(), DitheredDisc(side), side);
    }
    return 0;
}
