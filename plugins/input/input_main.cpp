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

// Slot 10 of our object is Seek; GetLyrics (lyrics_export.cpp) and GetPlayedMs are here.
extern "C" unsigned GetInputFeatures() {
    return kInputCanSeek | kInputHasLyrics | kInputKnowsPlayedTime;
}

extern "C" int GetPlayedMs() {
    return instance.object.PlayedMs();
}

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    // Only on FreeLibrary: at process exit other threads are already gone, and
    // nothing needs letting go.
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr) instance.object.ReleaseForUnload();
    return TRUE;
}
