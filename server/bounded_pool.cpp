#include "server/bounded_pool.h"

#include <algorithm>

TBoundedPool::TBoundedPool(std::size_t threads, std::size_t maxQueued)
    : maxQueued_(std::max<std::size_t>(maxQueued, 1)) {
    threads = std::max<std::size_t>(threads, 1);
    for (std::size_t i = 0; i < threads; ++i)
        threads_.emplace_back([this] { Work(); });
}

TBoundedPool::~TBoundedPool() {
    shutdown();
}

void TBoundedPool::enqueue(std::function<void()> fn) {
    std::unique_lock lock(mutex_);
    hasRoom_.wait(lock, [this] { return jobs_.size() < maxQueued_ || stopping_; });
    jobs_.push_back(std::move(fn));
    hasWork_.notify_one();
}

void TBoundedPool::shutdown() {
    {
        std::lock_guard lock(mutex_);
        if (stopping_ && threads_.empty())
            return;
        stopping_ = true;
    }
    hasWork_.notify_all();
    hasRoom_.notify_all();
    for (std::thread& t : threads_)
        if (t.joinable())
            t.join();
    threads_.clear();
}

void TBoundedPool::Work() {
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock lock(mutex_);
            hasWork_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
            if (jobs_.empty())
                return; // stopping, and nothing left to finish
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        hasRoom_.notify_one();
        job();
    }
}
