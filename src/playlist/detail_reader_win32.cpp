#include "playlist/detail_reader.h"

#include <string>

#include "playlist/playlist_file.h"
#include "text/ansi_code_page.h"

namespace {

// What the thread owns, and what it reads with.
struct Reading final : FileProbe {
    std::shared_ptr<DetailQueue> queue;
    DescribeFileExport describe;
    std::string folder;
    HWND window;
    UINT message;

    bool Stat(const std::string& path, FileStamp& stamp, bool& isFolder) override {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
        isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        stamp.size = static_cast<int64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
        stamp.writeTime = static_cast<int64_t>(data.ftLastWriteTime.dwHighDateTime) << 32 |
                          data.ftLastWriteTime.dwLowDateTime;
        return true;
    }
    bool Describe(const std::string& path, TrackInfo& info) override { return describe(path.c_str(), &info) != 0; }
};

DWORD WINAPI ReadAll(void* parameter) {
    HMODULE plugin;
    {
        const std::unique_ptr<Reading> reading(static_cast<Reading*>(parameter));
        // Held until the last instruction: the plug-in cannot be unloaded under a read
        // that outlives the window.
        if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                                reinterpret_cast<LPCSTR>(reading->describe), &plugin)) {
            plugin = nullptr;
        }
        DetailJob job;
        while (reading->queue->Wait(job)) {
            // The current folder is the window thread's to change; relative paths are
            // the start folder's, as they are when played.
            job.path = PathFromFolder(reading->folder, job.path, IsAnsiLeadByte);
            if (reading->queue->Deliver(ReadDetails(job, *reading))) {
                PostMessageA(reading->window, reading->message, 0, 0);
            }
        }
    }
    if (plugin != nullptr) FreeLibraryAndExitThread(plugin, 0);
    return 0;
}

}  // namespace

void DetailReader::Start(std::shared_ptr<DetailQueue> jobs, DescribeFileExport describe, const char* folder,
                         HWND window, UINT message) {
    Stop();
    queue = jobs;
    auto* reading = new Reading;
    reading->queue = std::move(jobs);
    reading->describe = describe;
    reading->folder = folder;
    reading->window = window;
    reading->message = message;
    thread = CreateThread(nullptr, 0, &ReadAll, reading, CREATE_SUSPENDED, nullptr);
    if (thread == nullptr) {
        delete reading;
        return;
    }
    // Clicks come first.
    SetThreadPriority(thread, THREAD_PRIORITY_BELOW_NORMAL);
    ResumeThread(thread);
}

void DetailReader::Stop() {
    if (thread == nullptr) return;
    queue->Stop();
    WaitForSingleObject(thread, kStopWaitMs);
    CloseHandle(thread);
    thread = nullptr;
    queue.reset();
}
