#include "sprite/character_sprite.h"

namespace {

// Draws `bitmap` into `pixels32`, which the platform converts to 32-bit pixels.
bool CopyInto(HDC target, HBITMAP pixels32, HBITMAP bitmap, int32_t width, int32_t height) {
    Selection targetSelection(target, pixels32);
    MemoryDc source(target);
    if (source == nullptr) return false;
    Selection sourceSelection(source, bitmap);
    return BitBlt(target, 0, 0, width, height, source, 0, 0, SRCCOPY) != FALSE;
}

// Copies `bitmap` into a 32-bit bottom-up DIB and hands its pixels to `use`; false
// when any step of the copy fails.
template <typename Use>
bool WithPixels32(HBITMAP bitmap, int32_t width, int32_t height, Use use) {
    MemoryDc target(nullptr);
    if (target == nullptr) return false;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    GdiHandle<HBITMAP> pixels32(CreateDIBSection(target, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!pixels32 || !CopyInto(target, pixels32.get(), bitmap, width, height)) return false;
    use(static_cast<const uint32_t*>(bits));
    return true;
}

}  // namespace

HRGN RegionFromRunsBatched(const std::vector<RunRect>& runs) {
    if (runs.empty()) return CreateRectRgn(0, 0, 0, 0);
    std::vector<char> buffer(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    RECT bounds = {runs.front().left, runs.front().top, runs.front().right, runs.front().bottom};
    auto* rects = reinterpret_cast<RECT*>(data->Buffer);
    for (size_t i = 0; i < runs.size(); ++i) {
        const RunRect& run = runs[i];
        rects[i] = {run.left, run.top, run.right, run.bottom};
        if (run.left < bounds.left) bounds.left = run.left;
        if (run.top < bounds.top) bounds.top = run.top;
        if (run.right > bounds.right) bounds.right = run.right;
        if (run.bottom > bounds.bottom) bounds.bottom = run.bottom;
    }
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = static_cast<DWORD>(runs.size());
    data->rdh.nRgnSize = static_cast<DWORD>(runs.size() * sizeof(RECT));
    data->rdh.rcBound = bounds;
    return ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), data);
}

HRGN RegionFromBitmap(HBITMAP bitmap, uint32_t key) {
    BITMAP description;
    if (bitmap == nullptr || GetObjectA(bitmap, sizeof(description), &description) == 0) return nullptr;
    const int32_t width = description.bmWidth;
    const int32_t height = description.bmHeight;
    std::vector<RunRect> runs;
    const bool read = WithPixels32(bitmap, width, height, [&](const uint32_t* pixels) {
        runs = ShapeRects(pixels, width, height, key, kMaxShapeRects);
    });
    if (!read) return nullptr;
    return RegionFromRunsBatched(runs);
}

SkinSize ReadSkinSize() {
    HANDLE file = CreateFileA(SkinPath(Pose::RestLeft, 0), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return kFallbackSkinSize;
    uint8_t header[kSkinHeaderBytes] = {};
    DWORD read = 0;
    if (!ReadFile(file, header, sizeof(header), &read, nullptr)) read = 0;
    CloseHandle(file);
    return SkinSizeFromHeader(header, read);
}

void CharacterSprite::InitSprite(HWND characterWindow) {
    window = characterWindow;
    LoadPose(Pose::RestLeft);
    sequencePos = 0;
    currentFrame = kFrameSequence[sequencePos];
    ApplyShape(currentFrame, false);
}

void CharacterSprite::LoadPose(Pose pose) {
    for (int i = 0; i < kFramesPerPose; ++i) {
        HBITMAP bitmap = static_cast<HBITMAP>(
            LoadImageA(GetModuleHandleA(nullptr), SkinPath(pose, i), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
        HRGN region = RegionFromBitmap(bitmap, kKeyFromPicture);
        frames[i] = {GdiHandle<HBITMAP>(bitmap), GdiHandle<HRGN>(region)};
    }
}

void CharacterSprite::ApplyShape(int frame, bool redraw) {
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    if (frames[frame].region) CombineRgn(shape, frames[frame].region.get(), nullptr, RGN_COPY);
    // From here the window owns the copy and frees the shape it held before; a
    // refused copy stays ours.
    if (SetWindowRgn(window, shape, redraw) == 0) {
        DeleteObject(shape);
        return;
    }
    currentShape = shape;
    SetPropA(window, kRegionProperty, shape);
    if (redraw) InvalidateRect(window, nullptr, FALSE);
}

void CharacterSprite::AdvanceFrame() {
    const int previousFrame = kFrameSequence[sequencePos];
    sequencePos = (sequencePos + 1) % kFrameSequenceLength;
    const int nextFrame = kFrameSequence[sequencePos];
    if (nextFrame != previousFrame) ApplyShape(nextFrame, true);
    currentFrame = nextFrame;
}

void CharacterSprite::PaintFrame() {
    HBITMAP bitmap = frames[currentFrame].bitmap.get();
    BITMAP description = {};
    if (bitmap != nullptr) GetObjectA(bitmap, sizeof(description), &description);

    PAINTSTRUCT paint;
    HDC target = BeginPaint(window, &paint);
    HDC source = nullptr;
    if (bitmap != nullptr) {
        source = CreateCompatibleDC(target);
        HGDIOBJ previous = SelectObject(source, bitmap);
        BitBlt(target, 0, 0, description.bmWidth, description.bmHeight, source, 0, 0, SRCCOPY);
        SelectObject(source, previous);
    }
    EndPaint(window, &paint);
    if (source != nullptr) DeleteDC(source);
}

void CharacterSprite::ReleaseSprite(HWND characterWindow) {
    for (Frame& frame : frames) frame = {};
    if (GetPropA(characterWindow, kRegionProperty) != nullptr) RemovePropA(characterWindow, kRegionProperty);
}
