// How long it takes to build the four regions of a pose, adding the runs one by one
// with CombineRgn against handing them all to ExtCreateRegion at once. Run under Wine
// from the staged folder (it reads ./Skin/*.bmp):
//   wine region_bench.exe
#include <windows.h>

#include <cstdio>
#include <vector>

#include "sprite/character_sprite.h"

namespace {

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

// 512 x 512 with short runs everywhere: a worst case far beyond any real skin.
std::vector<RunRect> BusyRuns(unsigned seed) {
    std::vector<uint32_t> pixels(512 * 512);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = ((i + seed) * 2654435761u >> 13) % 5 == 0 ? 0 : 1;
    pixels[0] = 0;
    return ScanRuns(pixels.data(), 512, 512, kKeyFromPicture);
}

}  // namespace

int main() {
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
    return 0;
}
