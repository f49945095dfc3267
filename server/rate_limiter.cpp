#include "server/rate_limiter.h"

#include <algorithm>

TRateLimiter::TRateLimiter(double rate, double burst, std::size_t maxClients)
    : rate_(rate), burst_(std::max(burst, 1.0)), maxClients_(std::max<std::size_t>(maxClients, 1)) {
}

double TRateLimiter::Refilled(const Bucket& b, Clock::time_point now) const {
    const double seconds = std::chrono::duration<double>(now - b.last).count();
    return std::min(burst_, b.tokens + std::max(seconds, 0.0) * rate_);
}

void TRateLimiter::Prune(Clock::time_point now) {
    std::erase_if(buckets_,
                  [&](const auto& entry) { return Refilled(entry.second, now) >= burst_; });
    // Still full of clients that are all busy: start afresh rather than grow
    // without bound; at worst each gets one more burst.
    if (buckets_.size() >= maxClients_)
        buckets_.clear();
}

bool TRateLimiter::Allow(const std::string& client, double cost, Clock::time_point now) {
    if (rate_ <= 0)
        return true;
    std::lock_guard lock(mutex_);
    auto it = buckets_.find(client);
    if (it == buckets_.end()) {
        if (buckets_.size() >= maxClients_)
            Prune(now);
        it = buckets_.emplace(client, Bucket{burst_, now}).first;
    }
    Bucket& b = it->second;
    b.tokens = Refilled(b, now);
    b.last = now;
    if (b.tokens < cost)
        return false;
    b.tokens -= cost;
    return true;
}
