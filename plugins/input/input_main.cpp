// Input.ini: MPEG audio (MPEG-1, 2 and 2.5, layers I to III) through libmpg123, FLAC
// through libFLAC, Ogg Vorbis through libvorbisfile, Opus through opusfile, and WAV.
#include <vector>

#include "audio_input.h"
#include "locked.h"
#include "never_destroyed.h"

namespace {
constinit NeverDestroyed<AudioInput> instance;

// Files for DescribeFile, kept between calls: taking a 64 KB buffer from the system
// and giving it back costs more than describing a short file.
SRWLOCK idleLock = SRWLOCK_INIT;
std::vector<std::unique_ptr<BufferedFile>> idleFiles;
}  // namespace

extern "C" InputPlugin* GetInstance() {
    return &instance.object;
}

// Slot 10 of our object is Seek.
extern "C" unsigned GetInputFeatures() {
    return kInputCanSeek | kInputDescribesFiles;
}

// A file and a decoder of its own on the caller's thread: the object that plays is
// never touched.
extern "C" int DescribeFile(const char* path, TrackInfo* info) noexcept {
    std::unique_ptr<BufferedFile> file;
    {
        Locked held(idleLock);
        if (!idleFiles.empty()) {
            file = std::move(idleFiles.back());
            idleFiles.pop_back();
        }
    }
    if (file == nullptr) file = std::make_unique<BufferedFile>();
    int described = 0;
    if (file->Open(path)) {
        if (const std::unique_ptr<Decoder> track = OpenDecoder(*file)) {
            track->Describe(*info);
            described = 1;
        }
        file->Close();
    }
    Locked held(idleLock);
    idleFiles.push_back(std::move(file));
    return described;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    // Only on FreeLibrary: at process exit other threads are already gone, and
    // nothing needs letting go.
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr) instance.object.ReleaseForUnload();
    return TRUE;
}
