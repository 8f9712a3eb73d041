// The character's pictures: the frames of one pose, the window shape made from the
// current frame, the four-frame animation and the painting.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "sprite/gdi_handle.h"
#include "sprite/region_scan.h"
#include "sprite/skin_files.h"

// The most rectangles a frame's shape may have. Building and applying a region takes
// time that grows faster than its rectangles under Wine, and the display refuses a
// shape request of tens of thousands of them; the shipped skin needs a few hundred.
constexpr size_t kMaxShapeRects = 2000;

// The shape of a picture: every pixel that differs from the key, as a region the
// caller owns; null when the bitmap cannot be read. `key` is kKeyFromPicture to take
// the key from the picture's bottom-left pixel. A picture too detailed for
// kMaxShapeRects rectangles gets the coarser shape ShapeRects gives.
HRGN RegionFromBitmap(HBITMAP bitmap, uint32_t key);

// The region of the runs, made in a single call.
HRGN RegionFromRunsBatched(const std::vector<RunRect>& runs);

// Reads the window size from the header of the first rest picture, reading only the
// header bytes. Falls back to kFallbackSkinSize when the file is missing or short.
SkinSize ReadSkinSize();

// The window property that records the shape the window holds.
constexpr const char* kRegionProperty = "region";

class CharacterSprite {
public:
    CharacterSprite() = default;
    CharacterSprite(const CharacterSprite&) = delete;
    CharacterSprite& operator=(const CharacterSprite&) = delete;

    // Loads the resting-left frames and gives `window` its first shape (no redraw:
    // the window is not shown yet).
    void InitSprite(HWND window);
    // Replaces the four frames; the window shows them from the next shape change.
    void LoadPose(Pose pose);
    // Gives the window a fresh copy of `frame`'s region as its shape.
    void ApplyShape(int frame, bool redraw);
    // One animation step: the next frame of the sequence, its shape and a repaint.
    void AdvanceFrame();
    // WM_PAINT: draws the current frame.
    void PaintFrame();
    // Frees the frames and the "region" property; the shape goes with the window.
    void ReleaseSprite(HWND window);

    int CurrentFrame() const { return currentFrame; }
    HRGN CurrentShape() const { return currentShape; }
    HBITMAP FrameBitmap(int frame) const { return frames[frame].bitmap.get(); }
    HRGN FrameRegion(int frame) const { return frames[frame].region.get(); }

private:
    // A picture and its shape; either may be null when loading failed. Replacing or
    // clearing a frame releases the bitmap, then the region.
    struct Frame {
        GdiHandle<HBITMAP> bitmap;
        GdiHandle<HRGN> region;
    };

    HWND window = nullptr;
    Frame frames[kFramesPerPose];
    unsigned sequencePos = 0;
    int currentFrame = 0;
    HRGN currentShape = nullptr;
};
