// CaptureOutput.ini: Output.ini's stand-in for tests, writing what would have been
// played to a file of raw 16-bit samples. Each GetInstance reads the environment:
//   WUZZLE_CAPTURE_PCM    the file (none: nothing written), made at the next stream's
//                         start and taking every stream until another file is named
//   WUZZLE_CAPTURE_PACED  "1": real time, as on a device; else as fast as decoded
//   WUZZLE_CAPTURE_LOG    a line a finished stream: its first sample's time (performance
//                         counter, microseconds), frames, rate; then, paced, "FRAME:MICROS"
//                         each time it ran dry: the frames before, and how much later
//                         the rest was heard
#include <windows.h>

#include <cstdio>
#include <string>

#include "silent_sink.h"
#include "sink_output.h"

namespace {

class CaptureSink final : public SilentSink {
public:
    CaptureSink(int sampleRate, int channels, bool paced, FILE*& samples, const std::string& logPath)
        : SilentSink(sampleRate, channels, paced),
          sampleRate(sampleRate),
          paced(paced),
          samples(samples),
          logPath(logPath) {}

    ~CaptureSink() override {  // the stream is finished
        if (FILE* log = logPath.empty() ? nullptr : fopen(logPath.c_str(), "a")) {
            fprintf(log, "%lld %lld %d%s\n", firstSampleMicros, frames, sampleRate, stalls.c_str());
            fclose(log);
        }
    }

    size_t Take(const char* pcm, size_t bytes) override {
        const long long now = NowMicros();
        const size_t taken = SilentSink::Take(pcm, bytes);
        if (taken > 0 && firstSampleMicros < 0) firstSampleMicros = runStart = now;
        // What was queued since the stream last ran dry plays out at this time.
        const long long dry = runStart + runFrames * 1000000 / sampleRate;
        if (taken > 0 && now > dry && paced) {
            stalls.append(" ").append(std::to_string(frames)).append(":").append(std::to_string(now - dry));
            runStart = now;
            runFrames = 0;
        }
        runFrames += taken / frameBytes;
        frames += taken / frameBytes;
        if (samples != nullptr) fwrite(pcm, 1, taken, samples);
        return taken;
    }

private:
    const int sampleRate;
    const bool paced;
    FILE*& samples;  // the output's: closed when another file is named
    const std::string logPath;
    long long firstSampleMicros = -1;  // as printf takes them
    long long frames = 0;
    long long runStart = 0, runFrames = 0;  // since the stream last ran dry
    std::string stalls;
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
        if (samples != nullptr) fclose(samples);
        samples = nullptr;
        samplesPath = path;
    }

protected:
    Sink* OpenSink(int sampleRate, int channels, HANDLE) override {
        if (samples == nullptr && !samplesPath.empty()) {
            samples = fopen(samplesPath.c_str(), "wb");
            // Unbuffered: a test reads the file while the program still plays.
            if (samples != nullptr) setvbuf(samples, nullptr, _IONBF, 0);
        }
        return new CaptureSink(sampleRate, channels, paced, samples, logPath);
    }

private:
    bool paced = false;
    std::string samplesPath;
    std::string logPath;
    FILE* samples = nullptr;
};

CaptureOutput instance;

}  // namespace

extern "C" OutputPlugin* GetInstance() noexcept {
    instance.Configure();
    return &instance;
}
