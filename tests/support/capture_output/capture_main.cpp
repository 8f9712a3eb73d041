// CaptureOutput.ini: takes the place of Output.ini in tests and writes what would
// have been played to a WAV file.
//
// Each call of GetInstance reads two environment variables:
//   WUZZLE_CAPTURE_WAV     the WAV file; when unset nothing is written. The file is
//                          created at the next stream's start and receives every
//                          stream played until GetInstance names another file, in
//                          the format of the first (tests play one format per file).
//                          Its header is brought up to date as each stream finishes.
//   WUZZLE_CAPTURE_PACED   "1": streams play in real time, as on a device;
//                          otherwise as fast as the input plug-in decodes.
//   WUZZLE_CAPTURE_LOG     a text file that gets a line for every finished stream:
//                          the time its first sample was taken (microseconds of the
//                          performance counter), its frames and its sampling rate.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "silent_sink.h"
#include "sink_output.h"
#include "wav_file.h"

namespace {

struct StreamTimes {
    int64_t firstSampleMicros = -1;
    int64_t frames = 0;
    int sampleRate = 0;
};

class CaptureSink final : public SilentSink {
public:
    CaptureSink(int sampleRate, int channels, bool paced, WavFile& wav, StreamTimes& times)
        : SilentSink(sampleRate, channels, paced), wav(wav), times(times) {
        times = {-1, 0, sampleRate};
    }

    size_t Take(const char* pcm, size_t bytes) override {
        const size_t taken = SilentSink::Take(pcm, bytes);
        if (taken > 0 && times.firstSampleMicros < 0) times.firstSampleMicros = NowMicros();
        times.frames += taken / frameBytes;
        wav.Append(pcm, taken);
        return taken;
    }

private:
    WavFile& wav;
    StreamTimes& times;
};

class CaptureOutput final : public SinkOutput {
public:
    void Configure() {
        char value[MAX_PATH] = "";
        GetEnvironmentVariableA("WUZZLE_CAPTURE_PACED", value, sizeof(value));
        paced = strcmp(value, "1") == 0;
        value[0] = '\0';
        GetEnvironmentVariableA("WUZZLE_CAPTURE_WAV", value, sizeof(value));
        if (value != wav.Path()) wav.Name(value);
        value[0] = '\0';
        GetEnvironmentVariableA("WUZZLE_CAPTURE_LOG", value, sizeof(value));
        logPath = value;
    }

    void Finish() override {
        SinkOutput::Finish();
        wav.UpdateHeader();
        if (logPath.empty()) return;
        if (FILE* log = fopen(logPath.c_str(), "a")) {
            fprintf(log, "%lld %lld %d\n", static_cast<long long>(times.firstSampleMicros),
                    static_cast<long long>(times.frames), times.sampleRate);
            fclose(log);
        }
    }

protected:
    Sink* OpenSink(int sampleRate, int channels, HANDLE) override {
        wav.Begin(sampleRate, channels);
        return new CaptureSink(sampleRate, channels, paced, wav, times);
    }

private:
    WavFile wav;
    bool paced = false;
    std::string logPath;
    StreamTimes times;
};

CaptureOutput instance;

}  // namespace

extern "C" OutputPlugin* GetInstance() noexcept {
    instance.Configure();
    return &instance;
}
