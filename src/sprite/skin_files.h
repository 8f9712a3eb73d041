// The skin: four poses of four frames each, in the Skin folder of the folder the
// program started in.
#pragma once

#include <cstddef>
#include <cstdint>

enum class Pose { RestLeft = 0, RestRight = 1, WalkLeft = 2, WalkRight = 3 };

constexpr int kFramesPerPose = 4;

// Names the skin's files from the start folder, once at start: a folder made current
// later (the open-file dialog's) cannot take the figure's pictures away. Until then
// they are named relative to the current folder.
void SetSkinFolder(const char* startDirectory);

// File of frame `frame` (0..3) of `pose`, e.g. "C:\Wuzzle\Skin\sl0.bmp".
const char* SkinPath(Pose pose, int frame);

// The animation walks this table one position per tick.
constexpr int kFrameSequenceLength = 16;
extern const int kFrameSequence[kFrameSequenceLength];

// The window takes the size of the first rest picture (SkinPath(Pose::RestLeft, 0)),
// read from its header.
struct SkinSize {
    int32_t width;
    int32_t height;

    bool operator==(const SkinSize&) const = default;
};

// Bytes of the file needed to know the size: the file header and the info header up
// to biHeight.
constexpr size_t kSkinHeaderBytes = 26;

// Used when the first rest picture is missing, cut short or names no usable size, so
// that the program still starts (reachable from its tray icon) instead of failing.
constexpr SkinSize kFallbackSkinSize = {128, 128};

// Width at offset 18 and height at offset 22, little-endian. A top-down picture
// stores a negative height; its size is the magnitude.
SkinSize SkinSizeFromHeader(const uint8_t* bytes, size_t count);
