#include "harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

std::string ExeDirectory() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string directory(path);
    return directory.substr(0, directory.find_last_of('\\') + 1);
}

void* LoadObject(const std::string& path) {
    HMODULE module = LoadLibraryA(path.c_str());
    if (module == nullptr) return nullptr;
    auto getInstance = reinterpret_cast<void* (*)()>(reinterpret_cast<void*>(GetProcAddress(module, "GetInstance")));
    return getInstance == nullptr ? nullptr : getInstance();
}

}  // namespace

std::string PluginPath(const char* name) {
    return ExeDirectory() + WUZZLE_PLUGIN_DIR + name;
}

InputPlugin* TheInput() {
    static auto* input = static_cast<InputPlugin*>(LoadObject(PluginPath("Input.ini")));
    return input;
}

OutputPlugin* TheOutput() {
    static auto* output = static_cast<OutputPlugin*>(LoadObject(PluginPath("Output.ini")));
    return output;
}

OutputPlugin* TheCapture(const std::string& samplesPath, bool paced) {
    SetEnvironmentVariableA("WUZZLE_CAPTURE_PCM", samplesPath.empty() ? nullptr : samplesPath.c_str());
    SetEnvironmentVariableA("WUZZLE_CAPTURE_PACED", paced ? "1" : nullptr);
    return static_cast<OutputPlugin*>(LoadObject(PluginPath("CaptureOutput.ini")));
}

int CALLBACK EventLog::Record(int event, int value, void* user) {
    auto* log = static_cast<EventLog*>(user);
    std::lock_guard<std::mutex> guard(log->lock);
    log->events.push_back({event, value});
    log->changed.notify_all();
    return 0;
}

bool EventLog::WaitFor(PlaybackEvent event, int value, DWORD timeoutMs) {
    std::unique_lock<std::mutex> guard(lock);
    return changed.wait_for(guard, std::chrono::milliseconds(timeoutMs), [&] {
        for (const Event& e : events) {
            if (e.event == static_cast<int>(event) && e.value >= value) return true;
        }
        return false;
    });
}

std::vector<Event> EventLog::Events() {
    std::lock_guard<std::mutex> guard(lock);
    return events;
}

int EventLog::Count(PlaybackEvent event) {
    int count = 0;
    for (const Event& e : Events()) count += e.event == static_cast<int>(event);
    return count;
}

bool WaitUnloaded(const char* module) {
    // Nothing signals an unload: look now and then.
    for (int i = 0; i < 100 && GetModuleHandleA(module) != nullptr; ++i) Sleep(50);
    return GetModuleHandleA(module) == nullptr;
}

namespace {

bool Play(const char* path, OutputPlugin* output, DWORD timeoutMs, int seekTo) {
    InputPlugin* input = TheInput();
    EventLog log;
    input->SetOutput(output);
    input->SetCallback(&EventLog::Record, &log);
    TrackInfo info;
    if (input->Open(path, &info) == 0) return false;
    input->Play();
    if (seekTo >= 0) {
        input->Pause();
        input->Seek(seekTo);
        if (input->GetState() != PlayerState::Paused) return false;
        input->Resume();
    }
    const bool ended = log.WaitFor(PlaybackEvent::TrackEnded, 0, timeoutMs);
    input->Close();
    input->SetCallback(nullptr, nullptr);
    return ended;
}

}  // namespace

bool PlayToEnd(const char* path, OutputPlugin* output, DWORD timeoutMs) {
    return Play(path, output, timeoutMs, -1);
}

bool PlayFromPlace(const char* path, OutputPlugin* output, int seconds) {
    return Play(path, output, 20000, seconds);
}

HANDLE NextHandle() {
    HANDLE handle = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    CloseHandle(handle);
    return handle;
}

std::vector<int16_t> ReadSamples(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::vector<int16_t> samples(bytes.size() / 2);
    memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

int LargestDifference(const std::vector<int16_t>& reference, const std::vector<int16_t>& decoded) {
    int largest = 0;
    for (size_t i = 0; i < reference.size() && i < decoded.size(); ++i) {
        largest = std::max(largest, std::abs(reference[i] - decoded[i]));
    }
    return largest;
}
