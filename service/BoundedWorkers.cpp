// Worker threads with a bounded line of waiting connections.
#include "service/BoundedWorkers.h"

BoundedWorkers::BoundedWorkers(size_t threads, size_t waiting) : waiting_(waiting) {
    for (size_t i = 0; i < threads; ++i) threads_.emplace_back([this] { Work(); });
}

BoundedWorkers::~BoundedWorkers() { shutdown(); }

void BoundedWorkers::enqueue(std::function<void()> job) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return stopping_ || jobs_.size() < waiting_; });
    // Once stopping, the job still runs: it closes its connection.
    jobs_.push_back(std::move(job));
    changed_.notify_all();
}

void BoundedWorkers::shutdown() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (stopping_ && threads_.empty()) return;
        stopping_ = true;
    }
    changed_.notify_all();
    for (std::thread& thread : threads_) thread.join();
    threads_.clear();
}

void BoundedWorkers::Work() {
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            changed_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
            if (jobs_.empty()) return;
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        changed_.notify_all();
        job();
    }
}
