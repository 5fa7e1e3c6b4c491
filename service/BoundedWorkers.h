// The server's workers: a fixed number of threads and a bounded line of
// accepted connections waiting for one. When the line is full, accepting
// pauses and further callers wait in the system's backlog, so a flood of
// connections costs neither threads nor memory.
#pragma once

#include <httplib.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class BoundedWorkers : public httplib::TaskQueue {
public:
    BoundedWorkers(size_t threads, size_t waiting);
    ~BoundedWorkers() override;

    void enqueue(std::function<void()> job) override;
    void shutdown() override;

private:
    void Work();

    const size_t waiting_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::function<void()>> jobs_;
    std::vector<std::thread> threads_;
    bool stopping_ = false;
};
