#include "CGifFramePipeline.h"

CGifFramePipeline::~CGifFramePipeline() {
    Stop();
}

bool CGifFramePipeline::Start(int threads) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_stopping = false;
    for (int i = 0; i < threads; i++) {
        m_workers.emplace_back(&CGifFramePipeline::WorkerLoop, this);
    }
    return !m_workers.empty();
}

void CGifFramePipeline::Stop() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_workAvailable.notify_all();
    for (std::thread& worker : m_workers) {
        worker.join();
    }
    m_workers.clear();
}

int CGifFramePipeline::Pending() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return static_cast<int>(m_entries.size());
}

void CGifFramePipeline::Submit(std::unique_ptr<CGifFrameJob> job) {
    auto entry = std::make_shared<Entry>();
    entry->job = std::move(job);
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_entries.push_back(std::move(entry));
    }
    m_workAvailable.notify_one();
}

std::unique_ptr<CGifFrameJob> CGifFramePipeline::TakeOldest(bool wait) {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (m_entries.empty()) {
        return nullptr;
    }
    if (wait) {
        m_jobFinished.wait(lock, [this] { return m_entries.front()->finished; });
    } else if (!m_entries.front()->finished) {
        return nullptr;
    }
    std::unique_ptr<CGifFrameJob> job = std::move(m_entries.front()->job);
    m_entries.pop_front();
    return job;
}

// Workers take the oldest job nobody has started; the entry stays queued (and so in order)
// while its job runs outside the lock.
void CGifFramePipeline::WorkerLoop() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        std::shared_ptr<Entry> next;
        for (const auto& entry : m_entries) {
            if (!entry->started) {
                next = entry;
                break;
            }
        }
        if (!next) {
            if (m_stopping) {
                return;
            }
            m_workAvailable.wait(lock);
            continue;
        }
        next->started = true;
        lock.unlock();
        next->job->Run();
        lock.lock();
        next->finished = true;
        m_jobFinished.notify_all();
    }
}
