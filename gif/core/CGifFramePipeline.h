#pragma once
// Runs frame jobs on worker threads and hands them back finished in the order they came in, so
// that frames are compressed side by side but written one after another.
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>
#include "CGifFrameJob.h"

class CGifFramePipeline {
public:
    CGifFramePipeline() = default;
    ~CGifFramePipeline();
    CGifFramePipeline(const CGifFramePipeline&) = delete;
    CGifFramePipeline& operator=(const CGifFramePipeline&) = delete;

    // Starts `threads` workers; false if none could be started.
    [[nodiscard]] bool Start(int threads);
    // Lets every submitted job finish, then ends the workers.
    void Stop();

    int ThreadCount() const { return static_cast<int>(m_workers.size()); }
    // Jobs submitted and not yet taken back.
    int Pending() const;

    void Submit(std::unique_ptr<CGifFrameJob> job);
    // The oldest job once it has run: waits for it with `wait`, else returns null when it has
    // not finished (or nothing is pending).
    std::unique_ptr<CGifFrameJob> TakeOldest(bool wait);

private:
    struct Entry {
        std::unique_ptr<CGifFrameJob> job;
        bool started = false;
        bool finished = false;
    };

    void WorkerLoop();

    mutable std::mutex m_mutex;
    std::condition_variable m_workAvailable;
    std::condition_variable m_jobFinished;
    std::deque<std::shared_ptr<Entry>> m_entries;
    std::vector<std::thread> m_workers;
    bool m_stopping = false;
};
