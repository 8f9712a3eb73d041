#include "playlist/detail_queue.h"

void DetailQueue::Add(DetailJob job) {
    {
        std::lock_guard<std::mutex> guard(lock);
        if (job.id < firstId || Waiting(job.id)) return;
        if (job.id - firstId >= waiting.size()) waiting.resize(job.id - firstId + 1);
        waiting[job.id - firstId] = true;
        jobs.push_back(std::move(job));
    }
    added.notify_one();
}

// A job moved forward stays behind too; whichever copy comes first is read, and the
// other passed over.
void DetailQueue::Prefer(const std::vector<DetailJob>& preferred) {
    std::lock_guard<std::mutex> guard(lock);
    for (auto job = preferred.rbegin(); job != preferred.rend(); ++job) {
        if (Waiting(job->id)) jobs.push_front(*job);
    }
}

void DetailQueue::Forget(const std::vector<uint32_t>& ids) {
    std::lock_guard<std::mutex> guard(lock);
    for (uint32_t id : ids) {
        if (Waiting(id)) waiting[id - firstId] = false;
    }
}

void DetailQueue::Clear() {
    std::lock_guard<std::mutex> guard(lock);
    jobs.clear();
    firstId += static_cast<uint32_t>(waiting.size());
    waiting.clear();
    results.clear();
    told = false;
}

std::vector<DetailResult> DetailQueue::TakeResults() {
    std::lock_guard<std::mutex> guard(lock);
    told = false;
    std::vector<DetailResult> taken;
    taken.swap(results);
    return taken;
}

void DetailQueue::Stop() {
    {
        std::lock_guard<std::mutex> guard(lock);
        stopped = true;
    }
    added.notify_all();
}

bool DetailQueue::Wait(DetailJob& job) {
    std::unique_lock<std::mutex> guard(lock);
    for (;;) {
        added.wait(guard, [&] { return stopped || !jobs.empty(); });
        if (stopped) return false;
        job = std::move(jobs.front());
        jobs.pop_front();
        if (!Waiting(job.id)) continue;
        waiting[job.id - firstId] = false;
        return true;
    }
}

bool DetailQueue::Deliver(DetailResult result) {
    std::lock_guard<std::mutex> guard(lock);
    results.push_back(result);
    if (told || stopped) return false;
    told = true;
    return true;
}

DetailResult ReadDetails(const DetailJob& job, FileProbe& files) {
    DetailResult result;
    result.id = job.id;
    bool folder = false;
    if (!files.Stat(job.path, result.stamp, folder)) return result;
    if (folder) {
        result.found = Found::Folder;
    } else if (result.stamp == job.cached) {
        result.found = Found::Unchanged;
    } else if (files.Describe(job.path, result.info)) {
        result.found = Found::Read;
    }
    return result;
}
