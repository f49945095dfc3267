#pragma once

#include "server/answer_key.h"
#include "server/store.h"

#include <QByteArray>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

struct TExchangeOptions {
    int64_t MinGroup = 5;
    // At most one rebuild of iusers.dat in this time, however many uploads
    // arrive; 0 rebuilds whenever the counters changed.
    std::chrono::milliseconds RebuildInterval{1000};
};

struct TServiceReply {
    int Status = 200;
    std::string Body;
};

// What the exchange does, apart from HTTP: takes an uploaded users.dat into
// the store and serves iusers.dat built from the counters. Safe to call from
// many threads at once.
class TExchangeService {
public:
    TExchangeService(TExchangeStore& store, TAnswerKey answerKey, QByteArray secret,
                     TExchangeOptions options = {});

    // 200 when the upload was stored; 400 when the body holds no user; 503
    // when the store failed (and then nothing of the upload was stored).
    TServiceReply Upload(std::string_view body);

    // The statistics text; nothing when it could never be built (the store
    // is unavailable and there is no earlier copy).
    std::shared_ptr<const std::string> Statistics();

    // The participants an upload would store: names and passwords left
    // behind, answers judged, unknown question keys dropped.
    std::vector<TParticipant> Participants(std::string_view body) const;

private:
    using Clock = std::chrono::steady_clock;

    TExchangeStore& store_;
    const TAnswerKey answerKey_;
    const QByteArray secret_;
    const TExchangeOptions options_;

    std::mutex cacheMutex_; // one rebuild at a time; readers take the copy
    std::shared_ptr<const std::string> cached_;
    int64_t cachedGeneration_ = -1;
    Clock::time_point lastBuild_{};
    Clock::time_point lastCheck_{};
    // Uploads through this process; another process's show up through the
    // store's generation, which is asked at most once per interval.
    std::atomic<int64_t> localChanges_{0};
    int64_t cachedLocalChanges_ = -1;
};
