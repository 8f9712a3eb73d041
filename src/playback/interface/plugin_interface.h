// The boundary between the program and its two plug-in modules. The plug-ins include
// this header too, and so do the native tests of the logic that drives playback, so it
// needs no system header. Layouts here are fixed: a plug-in built by another compiler
// must agree with them byte for byte.
#pragma once

#include <cstddef>

// The callback's calling convention: stdcall on 32-bit Windows, like CALLBACK.
#if defined(_WIN32) && defined(__i386__)
#define PLUGIN_CALLBACK __attribute__((stdcall))
#else
#define PLUGIN_CALLBACK
#endif

// What Open fills: texts in the ANSI code page, NUL-terminated within their fields.
struct TrackInfo {
    char title[128];
    char artist[128];
    int reserved;
    int bitrate;     // kbit/s
    int sampleRate;  // Hz
    int length;      // whole seconds
};
static_assert(sizeof(TrackInfo) == 272);
static_assert(offsetof(TrackInfo, title) == 0);
static_assert(offsetof(TrackInfo, artist) == 128);
static_assert(offsetof(TrackInfo, reserved) == 256);
static_assert(offsetof(TrackInfo, bitrate) == 260);
static_assert(offsetof(TrackInfo, sampleRate) == 264);
static_assert(offsetof(TrackInfo, length) == 268);

enum class PlayerState : int { Stopped = 0, Playing = 1, Paused = 2 };

enum class PlaybackEvent : int { TrackEnded = 1, ElapsedSeconds = 2 };

// Three 32-bit arguments: event, value, and the user value given to SetCallback.
typedef int(PLUGIN_CALLBACK* PlaybackCallback)(int event, int value, void* user);

// The output module's object. The program only hands it to SetOutput; what it is
// belongs to the two plug-ins.
class OutputPlugin;

// What an input module that exports GetInputFeatures (no arguments, a 32-bit bit set,
// like GetInstance a plain function) can do beyond the twelve slots of old.
constexpr unsigned kInputCanSeek = 1;
// The module exports GetLyrics (LyricsExport).
constexpr unsigned kInputHasLyrics = 2;
// The module exports GetPlayedMs (PlayedMsExport).
constexpr unsigned kInputKnowsPlayedTime = 4;
// The module exports DescribeFile (DescribeFileExport).
constexpr unsigned kInputDescribesFiles = 8;

// GetLyrics(path, buffer, capacity): the lyrics inside the music file at `path` (ANSI
// code page), as the text of an LRC file in UTF-8 after its byte-order mark: one line
// of lyrics a line, each after its time ("[mm:ss.xxx]") where the file times them, as
// the file holds them where it does not. Writes at most `capacity` bytes, with no
// terminator, and returns how many bytes the whole text has; 0 when the file has no
// lyrics or cannot be read. It opens the file by itself: any thread may call it, while
// the module's object plays this file or another.
typedef int (*LyricsExport)(const char* path, char* buffer, int capacity);
// The program takes no more than this of any lyrics; a plug-in need give no more.
constexpr int kLyricsBytesMost = 1 << 20;

// GetPlayedMs(): milliseconds of the open track that the listener has heard: where
// playing started or last jumped to, and what the output has played since, by the
// device's count, not the decoder's. It holds while paused; -1 when nothing plays.
// Cheap enough for a timer's tick; from the thread that drives the object.
typedef int (*PlayedMsExport)();

// DescribeFile(path, info): fills `info` as Open does and returns non-zero, or returns
// 0 for a file Open would refuse; plays nothing and keeps nothing open. Any thread may
// call it, while the module's object plays this file or another: a long playlist is
// read behind the user's back.
typedef int (*DescribeFileExport)(const char* path, TrackInfo* info);

// The input module's object. The table has exactly twelve slots in this order, so
// there is no virtual destructor (GCC would give it two slots); the program never
// deletes the object. Slot 0 keeps a place and is never called.
class InputPlugin {
public:
    virtual void Reserved0() = 0;
    virtual void SetOutput(OutputPlugin* output) = 0;
    virtual void SetCallback(PlaybackCallback callback, void* user) = 0;
    virtual int Open(const char* path, TrackInfo* info) = 0;
    virtual void Close() = 0;
    virtual PlayerState GetState() = 0;
    virtual void Play() = 0;
    virtual void Stop() = 0;
    virtual void Pause() = 0;
    virtual void Resume() = 0;
    // Slot 10, a reserved place in plug-ins made before it: only a module whose
    // GetInputFeatures sets kInputCanSeek has it there. Moves the open track, playing
    // or paused, to `seconds` from its start; the ElapsedSeconds that follow count
    // from there, and a place past the end ends the track as its end does.
    virtual void Seek(int seconds) = 0;
    virtual void SetVolume(int first, int second) = 0;

protected:
    ~InputPlugin() = default;
};
