// Input.ini: MPEG audio (MPEG-1, 2 and 2.5, layers I to III) through libmpg123, FLAC
// through libFLAC, Ogg Vorbis through libvorbisfile, Opus through opusfile, WAV, and
// AAC, ALAC, WMA and WavPack through FFmpeg.
#include "audio_input.h"
#include "never_destroyed.h"

namespace {
constinit NeverDestroyed<AudioInput> instance;
}

extern "C" InputPlugin* GetInstance() {
    return &instance.object;
}

// Slot 10 of our object is Seek; GetLyrics (lyrics_export.cpp), GetPlayedMs and
// DescribeFile are here.
extern "C" unsigned GetInputFeatures() {
    return kInputCanSeek | kInputHasLyrics | kInputKnowsPlayedTime | kInputDescribesFiles;
}

extern "C" int GetPlayedMs() {
    return instance.object.PlayedMs();
}

// A file and a decoder of its own on the caller's thread: the object that plays is
// never touched. The file's buffer is on the stack: taking 64 KB from the heap and
// giving it back at every call costs more than describing a short file.
extern "C" int DescribeFile(const char* path, TrackInfo* info) noexcept {
    BufferedFile file;
    if (path == nullptr || !file.Open(path)) return 0;
    const std::unique_ptr<Decoder> track = OpenDecoder(file);
    if (track == nullptr) return 0;
    track->Describe(*info);
    return 1;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    // Only on FreeLibrary: at process exit other threads are already gone, and
    // nothing needs letting go.
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr) instance.object.ReleaseForUnload();
    return TRUE;
}
