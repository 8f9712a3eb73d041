// CaptureOutput.ini: takes the place of Output.ini in tests and writes what would
// have been played to a file of raw 16-bit samples.
//
// Each call of GetInstance reads three environment variables:
//   WUZZLE_CAPTURE_PCM     the file; when unset nothing is written. It is created at
//                          the next stream's start and receives every stream played
//                          until GetInstance names another file.
//   WUZZLE_CAPTURE_PACED   "1": streams play in real time, as on a device;
//                          otherwise as fast as the input plug-in decodes.
//   WUZZLE_CAPTURE_LOG     a text file that gets a line for every finished stream:
//                          the time its first sample was taken (microseconds of the
//                          performance counter), its frames and its sampling rate.
#include <windows.h>

#include <cstdio>
#include <string>

#include "silent_sink.h"
#include "sink_output.h"

namespace {

struct Capture {
    FILE* samples = nullptr;
    int64_t firstSampleMicros = -1;
    int64_t frames = 0;
    int sampleRate = 0;
};

class CaptureSink final : public SilentSink {
public:
    CaptureSink(int sampleRate, int channels, bool paced, Capture& capture)
        : SilentSink(sampleRate, channels, paced), capture(capture) {
        capture.firstSampleMicros = -1;
        capture.frames = 0;
        capture.sampleRate = sampleRate;
    }

    size_t Take(const char* pcm, size_t bytes) override {
        const size_t taken = SilentSink::Take(pcm, bytes);
        if (taken > 0 && capture.firstSampleMicros < 0) capture.firstSampleMicros = NowMicros();
        capture.frames += taken / frameBytes;
        if (capture.samples != nullptr) fwrite(pcm, 1, taken, capture.samples);
        return taken;
    }

private:
    Capture& capture;
};

std::string Variable(const char* name) {
    char value[MAX_PATH] = "";
    GetEnvironmentVariableA(name, value, sizeof(value));
    return value;
}

class CaptureOutput final : public SinkOutput {
public:
    void Configure() {
        paced = Variable("WUZZLE_CAPTURE_PACED") == "1";
        logPath = Variable("WUZZLE_CAPTURE_LOG");
        const std::string path = Variable("WUZZLE_CAPTURE_PCM");
        if (path == samplesPath) return;
        if (capture.samples != nullptr) fclose(capture.samples);
        capture.samples = nullptr;
        samplesPath = path;
    }

    void Finish() override {
        SinkOutput::Finish();
        if (logPath.empty()) return;
        if (FILE* log = fopen(logPath.c_str(), "a")) {
            fprintf(log, "%lld %lld %d\n", static_cast<long long>(capture.firstSampleMicros),
                    static_cast<long long>(capture.frames), capture.sampleRate);
            fclose(log);
        }
    }

protected:
    Sink* OpenSink(int sampleRate, int channels, HANDLE) override {
        if (capture.samples == nullptr && !samplesPath.empty()) {
            capture.samples = fopen(samplesPath.c_str(), "wb");
            // Unbuffered: a test reads the file while the program still plays.
            if (capture.samples != nullptr) setvbuf(capture.samples, nullptr, _IONBF, 0);
        }
        return new CaptureSink(sampleRate, channels, paced, capture);
    }

private:
    bool paced = false;
    std::string samplesPath;
    std::string logPath;
    Capture capture;
};

CaptureOutput instance;

}  // namespace

extern "C" OutputPlugin* GetInstance() noexcept {
    instance.Configure();
    return &instance;
}
