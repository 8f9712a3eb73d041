#include "sprite/skin_files.h"

#include <string>

namespace {

// The file name stems of the four poses, in Pose order.
const char* const kPoseStems[4] = {"sl", "sr", "l", "r"};

std::string skinPaths[4][kFramesPerPose];

int32_t ReadLittleEndian32(const uint8_t* bytes) {
    const uint32_t value = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
    return static_cast<int32_t>(value);
}

// Larger than any screen; a header claiming more is damaged.
constexpr int32_t kLargestSkinSide = 16384;

}  // namespace

const int kFrameSequence[kFrameSequenceLength] = {0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3};

void SetSkinFolder(const char* startDirectory) {
    for (int pose = 0; pose < 4; ++pose) {
        for (int frame = 0; frame < kFramesPerPose; ++frame) {
            skinPaths[pose][frame] =
                std::string(startDirectory) + "\\Skin\\" + kPoseStems[pose] + std::to_string(frame) + ".bmp";
        }
    }
}

const char* SkinPath(Pose pose, int frame) {
    std::string& path = skinPaths[static_cast<int>(pose)][frame];
    if (path.empty()) SetSkinFolder(".");
    return path.c_str();
}

SkinSize SkinSizeFromHeader(const uint8_t* bytes, size_t count) {
    if (bytes == nullptr || count < kSkinHeaderBytes) return kFallbackSkinSize;
    const int32_t width = ReadLittleEndian32(bytes + 18);
    int32_t height = ReadLittleEndian32(bytes + 22);
    if (height < 0 && height != INT32_MIN) height = -height;
    if (width <= 0 || width > kLargestSkinSide || height <= 0 || height > kLargestSkinSide) {
        return kFallbackSkinSize;
    }
    return {width, height};
}
