// Mutational fuzzing of the input plug-in through its exported GetInstance, as the
// program uses it: each round mutates a seed file of any format (splicing two makes
// chained and mixed streams), Opens it, plays it to its end through the capture output
// (unpaced, writing nothing) and Closes it.
//   plugin_fuzz <plugin dir> <seed dir> <work dir> <first round> <rounds> <seconds>
// Runs rounds first.. until `rounds` are done or `seconds` have passed. Writes each
// round's file to <work dir>\current.mp3 before opening it, so that the caller can keep
// the file of a round that killed the process; the round's number is on the line
// "round N" of <work dir>\round.txt. A file whose Open is slow, or that does not end,
// is kept as <work dir>\slow-N.mp3 or hang-N.mp3, and the slowest to open as
// slowest.mp3. Prints one summary line:
//   rounds R opened O slowest-open-ms S slow N hangs H peak-mb P growth-mb G handles-grew 0|1
// and exits 0; 3 when a round stalled (the file is current.mp3), 4 on a crash.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "playback/plugin_loader.h"

namespace {

constexpr double kSlowOpenMs = 100;
constexpr int64_t kSlowOpenLimitBytes = 10 << 20;
constexpr DWORD kPlayTimeoutMs = 30000;
constexpr DWORD kStallMs = 120000;

std::string work;
volatile LONG64 roundStarted = 0;  // GetTickCount64 at the start of the running round

// The modules as the program loads them.
PluginLoader plugins;

double Now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / frequency.QuadPart;
}

PROCESS_MEMORY_COUNTERS Memory() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters;
}

// Wine's handle count stays 0; the next handle value grows when handles leak.
HANDLE NextHandle() {
    HANDLE handle = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    CloseHandle(handle);
    return handle;
}

std::string ReadFileBytes(const std::string& path) {
    std::string bytes;
    if (FILE* file = fopen(path.c_str(), "rb")) {
        char chunk[65536];
        size_t got;
        while ((got = fread(chunk, 1, sizeof(chunk), file)) > 0) bytes.append(chunk, got);
        fclose(file);
    }
    return bytes;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    FILE* file = fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && written;
}

std::vector<std::string> Seeds(const std::string& folder) {
    std::vector<std::string> seeds;
    for (const char* pattern : {"\\*.mp3", "\\*.mp2", "\\*.flac", "\\*.oga", "\\*.ogg", "\\*.opus", "\\*.wav", "\\*.m4a",
                                "\\*.aac", "\\*.wma", "\\*.wv"}) {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder + pattern).c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) continue;
        do {
            // Big seeds make slow rounds and find nothing the small ones do not.
            if (found.nFileSizeHigh == 0 && found.nFileSizeLow > 0 && found.nFileSizeLow <= 2 << 20) {
                seeds.push_back(ReadFileBytes(folder + "\\" + found.cFileName));
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    return seeds;
}

// Values that sit at the edges of what a field can hold.
uint32_t Interesting(std::mt19937& random) {
    static const uint32_t values[] = {0,          1,          0x7F,       0x80,       0xFF,       0x7F7F7F7F,
                                      0xFFFFFFFF, 0x7FFFFFFF, 0x80000000, 0x0FFFFFFF, 466000,     0x10000};
    return values[random() % (sizeof(values) / sizeof(values[0]))];
}

// One to four changes: flipped bits, bytes set, big numbers written (where a tag's or
// an Info frame's sizes sit, or anywhere), ranges cut, repeated or inserted, the file
// cut short, another seed spliced in, or a tag header put before it.
std::string Mutate(const std::vector<std::string>& seeds, std::mt19937& random) {
    std::string data = seeds[random() % seeds.size()];
    const int changes = 1 + random() % 4;
    for (int i = 0; i < changes; ++i) {
        const size_t size = data.size();
        const size_t at = size == 0 ? 0 : random() % size;
        switch (random() % 10) {
            case 0:
                if (size > 0) data[at] ^= static_cast<char>(1 << (random() % 8));
                break;
            case 1:
                for (int n = 1 + random() % 8; n > 0 && size > 0; --n) data[random() % size] = static_cast<char>(random());
                break;
            case 2: {
                // The tag's size bytes, the Info frame's counts, or anywhere.
                const size_t places[] = {6, 44, 48, 52, 100 + random() % 60, at};
                const size_t place = places[random() % 6];
                const uint32_t value = Interesting(random);
                for (int b = 0; b < 4 && place + b < size; ++b) data[place + b] = static_cast<char>(value >> (24 - 8 * b));
                break;
            }
            case 3:
                data.erase(at, random() % 4096);
                break;
            case 4: {
                const size_t length = std::min<size_t>(random() % 8192, size - at);
                data.insert(random() % (size + 1), data.substr(at, length));
                break;
            }
            case 5: {
                std::string noise(random() % 512, '\0');
                for (char& c : noise) c = static_cast<char>(random());
                data.insert(at, noise);
                break;
            }
            case 6:
                data.resize(size == 0 ? 0 : random() % size);
                break;
            case 7: {
                const std::string& other = seeds[random() % seeds.size()];
                if (!other.empty()) data = data.substr(0, at) + other.substr(random() % other.size());
                break;
            }
            case 8: {
                const uint32_t claimed = Interesting(random);
                std::string header = "ID3";
                header += static_cast<char>(2 + random() % 3);
                header += '\0';
                header += static_cast<char>(random() % 2 ? 0 : random());
                for (int b = 3; b >= 0; --b) header += static_cast<char>(claimed >> (7 * b) & 0x7F);
                data = header + data;
                break;
            }
            default:
                if (size > 4) data.replace(at, 4, "\xFF\xFB\x90\x64", std::min<size_t>(4, size - at));
                break;
        }
    }
    return data;
}

HANDLE trackEnded = CreateEventA(nullptr, TRUE, FALSE, nullptr);

int CALLBACK OnEvent(int event, int, void*) {
    if (event == static_cast<int>(PlaybackEvent::TrackEnded)) SetEvent(trackEnded);
    return 0;
}

void KeepAs(const std::string& name, const std::string& bytes) {
    WriteFileBytes(work + "\\" + name, bytes);
}

LONG WINAPI OnCrash(EXCEPTION_POINTERS* exception) {
    fprintf(stderr, "crash: exception %08lx\n", exception->ExceptionRecord->ExceptionCode);
    fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 4);
    return EXCEPTION_EXECUTE_HANDLER;
}

// Ends the process when a round stalls, leaving its file as current.mp3.
DWORD WINAPI Watchdog(void*) {
    for (;;) {
        Sleep(1000);
        const LONG64 started = roundStarted;
        if (started != 0 && GetTickCount64() - static_cast<ULONGLONG>(started) > kStallMs) {
            fprintf(stderr, "stall\n");
            fflush(stderr);
            TerminateProcess(GetCurrentProcess(), 3);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 7) return 2;
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter(&OnCrash);
    const std::string pluginDir = argv[1];
    work = argv[3];
    const long long first = atoll(argv[4]), rounds = atoll(argv[5]);
    const double seconds = atof(argv[6]);
    auto* input = plugins.LoadInput((pluginDir + "\\Input.ini").c_str());
    SetEnvironmentVariableA("WUZZLE_CAPTURE_WAV", nullptr);
    SetEnvironmentVariableA("WUZZLE_CAPTURE_PACED", nullptr);
    auto* output = plugins.LoadOutput((pluginDir + "\\CaptureOutput.ini").c_str());
    const std::vector<std::string> seeds = Seeds(argv[2]);
    if (input == nullptr || output == nullptr || seeds.empty()) return 2;
    input->SetOutput(output);
    input->SetCallback(&OnEvent, nullptr);
    CreateThread(nullptr, 0, &Watchdog, nullptr, 0, nullptr);

    const std::string current = work + "\\current.mp3";
    const double start = Now();
    const size_t startMemory = Memory().WorkingSetSize;
    size_t settledMemory = 0;
    HANDLE settledHandle = nullptr;
    long long done = 0, opened = 0, slow = 0, hangs = 0;
    double slowest = 0;
    for (long long round = first; done < rounds && Now() - start < seconds; ++round, ++done) {
        std::mt19937 random(static_cast<uint32_t>(round * 2654435761u));
        const std::string data = Mutate(seeds, random);
        if (!WriteFileBytes(current, data)) return 2;
        if (FILE* note = fopen((work + "\\round.txt").c_str(), "w")) {
            fprintf(note, "round %lld\n", round);
            fclose(note);
        }
        roundStarted = static_cast<LONG64>(GetTickCount64());
        TrackInfo info;
        const double openStart = Now();
        const int accepted = input->Open(current.c_str(), &info);
        const double openMs = (Now() - openStart) * 1000;
        if (openMs > slowest) KeepAs("slowest.mp3", data);
        slowest = std::max(slowest, openMs);
        if (openMs > kSlowOpenMs && static_cast<int64_t>(data.size()) < kSlowOpenLimitBytes) {
            ++slow;
            KeepAs("slow-" + std::to_string(round) + ".mp3", data);
        }
        if (accepted != 0) {
            ++opened;
            ResetEvent(trackEnded);
            input->Play();
            if (WaitForSingleObject(trackEnded, kPlayTimeoutMs) != WAIT_OBJECT_0) {
                ++hangs;
                KeepAs("hang-" + std::to_string(round) + ".mp3", data);
            }
        }
        input->Close();
        roundStarted = 0;
        // What the process holds once the first rounds have warmed it up, against the end.
        if (done == 200) {
            settledMemory = Memory().WorkingSetSize;
            settledHandle = NextHandle();
        }
    }
    const PROCESS_MEMORY_COUNTERS memory = Memory();
    const double growth = settledMemory == 0 ? 0.0 : (double(memory.WorkingSetSize) - double(settledMemory)) / 1048576;
    printf("rounds %lld opened %lld slowest-open-ms %.1f slow %lld hangs %lld peak-mb %.1f growth-mb %.1f "
           "handles-grew %d\n",
           done, opened, slowest, slow, hangs, (memory.PeakWorkingSetSize - startMemory) / 1048576.0, growth,
           settledHandle != nullptr && NextHandle() != settledHandle);
    return 0;
}
