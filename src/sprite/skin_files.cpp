#include "sprite/skin_files.h"

namespace {

const char* const kSkinFiles[4][kFramesPerPose] = {
    {"./Skin/sl0.bmp", "./Skin/sl1.bmp", "./Skin/sl2.bmp", "./Skin/sl3.bmp"},
    {"./Skin/sr0.bmp", "./Skin/sr1.bmp", "./Skin/sr2.bmp", "./Skin/sr3.bmp"},
    {"./Skin/l0.bmp", "./Skin/l1.bmp", "./Skin/l2.bmp", "./Skin/l3.bmp"},
    {"./Skin/r0.bmp", "./Skin/r1.bmp", "./Skin/r2.bmp", "./Skin/r3.bmp"},
};

int32_t ReadLittleEndian32(const uint8_t* bytes) {
    const uint32_t value = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
    return static_cast<int32_t>(value);
}

// Larger than any screen; a header claiming more is damaged.
constexpr int32_t kLargestSkinSide = 16384;

}  // namespace

const int kFrameSequence[kFrameSequenceLength] = {0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3};

const char* SkinPath(Pose pose, int frame) {
    return kSkinFiles[static_cast<int>(pose)][frame];
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
