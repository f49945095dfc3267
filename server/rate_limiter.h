#pragma once

#include <chrono>
#include <cstddef>
#include <mutex>
#include <string>
#include <unordered_map>

// A token bucket per client: `rate` tokens a second up to `burst`. A request
// that finds too few tokens is refused (429). Safe for many threads. The
// table of clients is bounded; buckets that have filled up again are
// forgotten first, since forgetting them changes nothing.
class TRateLimiter {
public:
    using Clock = std::chrono::steady_clock;

    // rate <= 0 switches the limit off.
    TRateLimiter(double rate, double burst, std::size_t maxClients = 100000);

    bool Allow(const std::string& client, double cost = 1.0, Clock::time_point now = Clock::now());
    bool Enabled() const { return rate_ > 0; }

private:
    struct Bucket {
        double tokens;
        Clock::time_point last;
    };
    double Refilled(const Bucket& b, Clock::time_point now) const;
    void Prune(Clock::time_point now);

    const double rate_;
    const double burst_;
    const std::size_t maxClients_;
    std::mutex mutex_;
    std::unordered_map<std::string, Bucket> buckets_;
};
