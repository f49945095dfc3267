#pragma once

#include <httplib.h>

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// The server's workers: a fixed number of threads and a bounded queue of
// accepted connections. When the queue is full the accepting thread waits,
// so a flood of connections backs up in the kernel instead of in memory.
// Shutting down lets every queued and running connection finish.
class TBoundedPool final : public httplib::TaskQueue {
public:
    TBoundedPool(std::size_t threads, std::size_t maxQueued);
    ~TBoundedPool() override;

    void enqueue(std::function<void()> fn) override;
    void shutdown() override;

private:
    void Work();

    const std::size_t maxQueued_;
    std::mutex mutex_;
    std::condition_variable hasWork_;
    std::condition_variable hasRoom_;
    std::deque<std::function<void()>> jobs_;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};
