// Measures the input plug-in through its exported interface, as the program uses it.
//   plugin_bench decode <plugin dir> <file> <repeats>
//       plays the file to its end through CaptureOutput.ini, unpaced and writing
//       nothing; prints the audio seconds decoded per wall-clock second.
//   plugin_bench open <plugin dir> <folder>
//       Open and Close on every file in the folder; prints files per second.
//   plugin_bench info <plugin dir> <file>...
//       what Open reports of each file: milliseconds taken, the peak of the process's
//       resident memory during it above what it held before (the peak cannot be
//       reset: with one file per run the figure is that file's own), bit rate,
//       sampling rate, length, title and artist (or "refused").
//   plugin_bench seek <plugin dir> <file> <seconds>...
//       plays the file through CaptureOutput.ini in real time and jumps to each place
//       in turn; prints the milliseconds from each Seek call to the first sample of
//       the new place at the output.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "playback/plugin_loader.h"

namespace {

// The modules as the program loads them.
PluginLoader plugins;

double Seconds() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / frequency.QuadPart;
}

HANDLE trackEnded = CreateEventA(nullptr, FALSE, FALSE, nullptr);

int CALLBACK OnEvent(int event, int, void*) {
    if (event == static_cast<int>(PlaybackEvent::TrackEnded)) SetEvent(trackEnded);
    return 0;
}

int Decode(InputPlugin* input, const std::string& pluginDir, const char* file, int repeats) {
    SetEnvironmentVariableA("WUZZLE_CAPTURE_PCM", nullptr);
    SetEnvironmentVariableA("WUZZLE_CAPTURE_PACED", nullptr);
    auto* output = plugins.LoadOutput((pluginDir + "\\CaptureOutput.ini").c_str());
    if (output == nullptr) return 1;
    input->SetOutput(output);
    input->SetCallback(&OnEvent, nullptr);
    TrackInfo info;
    double audio = 0;
    const double start = Seconds();
    for (int i = 0; i < repeats; ++i) {
        if (input->Open(file, &info) == 0) return 1;
        input->Play();
        WaitForSingleObject(trackEnded, INFINITE);
        input->Close();
        audio += info.length;
    }
    printf("%.1f\n", audio / (Seconds() - start));
    return 0;
}

int OpenAll(InputPlugin* input, const std::string& folder) {
    std::vector<std::string> files;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 1;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files.push_back(folder + "\\" + found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    TrackInfo info;
    const double start = Seconds();
    for (const std::string& file : files) {
        if (input->Open(file.c_str(), &info) == 0) return 1;
        input->Close();
    }
    printf("%.0f\n", files.size() / (Seconds() - start));
    return 0;
}

// The capture plug-in logs each stream's first sample (microseconds of the performance
// counter) when the stream ends; a jump ends one stream and starts the next.
int SeekTimes(InputPlugin* input, const std::string& pluginDir, const char* file, int count, char** places) {
    const char* log = "seek-times.log";
    DeleteFileA(log);
    SetEnvironmentVariableA("WUZZLE_CAPTURE_PCM", nullptr);
    SetEnvironmentVariableA("WUZZLE_CAPTURE_PACED", "1");
    SetEnvironmentVariableA("WUZZLE_CAPTURE_LOG", log);
    auto* output = plugins.LoadOutput((pluginDir + "\\CaptureOutput.ini").c_str());
    if (output == nullptr || (plugins.InputFeatures() & kInputCanSeek) == 0) return 1;
    input->SetOutput(output);
    TrackInfo info;
    if (input->Open(file, &info) == 0) return 1;
    input->Play();
    Sleep(300);
    std::vector<double> asked;
    for (int i = 0; i < count; ++i) {
        asked.push_back(Seconds() * 1e6);
        input->Seek(atoi(places[i]));
        Sleep(300);
    }
    input->Close();
    FILE* streams = fopen(log, "r");
    if (streams == nullptr) return 1;
    long long first, frames;
    int rate;
    for (int stream = 0; fscanf(streams, "%lld %lld %d", &first, &frames, &rate) == 3; ++stream) {
        if (stream > 0 && stream <= count) printf("%s s: %.1f ms\n", places[stream - 1], (first - asked[stream - 1]) / 1000);
    }
    fclose(streams);
    return 0;
}

PROCESS_MEMORY_COUNTERS Memory() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters;
}

int Describe(InputPlugin* input, int count, char** files) {
    for (int i = 0; i < count; ++i) {
        TrackInfo info{};
        const size_t before = Memory().WorkingSetSize;
        const double start = Seconds();
        const int opened = input->Open(files[i], &info);
        const double took = (Seconds() - start) * 1000;
        const size_t peak = Memory().PeakWorkingSetSize;
        input->Close();
        const double peakMb = peak > before ? (peak - before) / 1048576.0 : 0.0;
        if (opened == 0) {
            printf("%s: refused after %.1f ms, peak +%.1f MB\n", files[i], took, peakMb);
        } else {
            printf("%s: %.1f ms, peak +%.1f MB, %d kbit/s, %d Hz, %d s, \"%s\" by \"%s\"\n", files[i], took, peakMb,
                   info.bitrate, info.sampleRate, info.length, info.title, info.artist);
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) return 2;
    const std::string mode = argv[1];
    const std::string pluginDir = argv[2];
    auto* input = plugins.LoadInput((pluginDir + "\\Input.ini").c_str());
    if (input == nullptr) return 1;
    if (mode == "decode" && argc == 5) return Decode(input, pluginDir, argv[3], atoi(argv[4]));
    if (mode == "open") return OpenAll(input, argv[3]);
    if (mode == "info") return Describe(input, argc - 3, argv + 3);
    if (mode == "seek" && argc >= 5) return SeekTimes(input, pluginDir, argv[3], argc - 4, argv + 4);
    return 2;
}
