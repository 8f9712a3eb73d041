#include "harness.h"

#include <algorithm>
#include <fstream>

namespace {

void* LoadObject(const std::string& path) {
    HMODULE module = LoadLibraryA(path.c_str());
    if (module == nullptr) return nullptr;
    auto getInstance = reinterpret_cast<void* (*)()>(reinterpret_cast<void*>(GetProcAddress(module, "GetInstance")));
    return getInstance == nullptr ? nullptr : getInstance();
}

}  // namespace

std::string PluginPath(const char* name) {
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, sizeof(exe));
    const std::string path(exe);
    return path.substr(0, path.find_last_of('\\') + 1) + WUZZLE_PLUGIN_DIR + name;
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

bool PlayToEnd(const char* path, OutputPlugin* output, DWORD timeoutMs, int seekTo) {
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

std::vector<int16_t> ReadSamples(const std::string& path) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    std::vector<int16_t> samples(std::max<std::streamoff>(file.tellg(), 0) / 2);
    file.seekg(0).read(reinterpret_cast<char*>(samples.data()), samples.size() * 2);
    return samples;
}

::testing::AssertionResult MatchesReference(const std::vector<int16_t>& reference,
                                            const std::vector<int16_t>& decoded, int tolerance) {
    int largest = 0;
    for (size_t i = 0; i < reference.size() && i < decoded.size(); ++i) {
        largest = std::max(largest, std::abs(reference[i] - decoded[i]));
    }
    if (decoded.size() == reference.size() && largest <= tolerance) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << decoded.size() << " samples of " << reference.size()
                                         << ", the largest difference " << largest;
}
