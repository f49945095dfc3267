#include "server/exchange_service.h"

#include "server/participant_hash.h"
#include "server/statistics_text.h"
#include "server/upload_parser.h"

#include <unordered_map>

TExchangeService::TExchangeService(TExchangeStore& store, TAnswerKey answerKey, QByteArray secret,
                                   TExchangeOptions options)
    : store_(store), answerKey_(std::move(answerKey)), secret_(std::move(secret)),
      options_(options) {}

std::vector<TParticipant> TExchangeService::Participants(std::string_view body) const {
    std::vector<TParticipant> participants;
    // Two users of one file cannot share a hash (their names differ), but a
    // damaged file may still say so: the last one wins, as a re-upload would.
    std::unordered_map<std::string, std::size_t> byHash;
    for (const TUploadedUser& user : ParseUpload(body)) {
        TParticipant p;
        p.Hash = ParticipantHash(secret_, user.Uid, user.Name);
        p.Female = user.Female;
        p.Age = user.Age;
        std::unordered_map<std::string, std::size_t> byQuestion;
        for (const auto& [key, value] : user.Answers) {
            auto judged = answerKey_.Judge(key, value);
            if (!judged)
                continue;
            const auto [it, fresh] = byQuestion.try_emplace(judged->QuestionKey, p.Answers.size());
            if (fresh)
                p.Answers.push_back(std::move(*judged));
        }
        const auto [it, fresh] = byHash.try_emplace(p.Hash, participants.size());
        if (fresh)
            participants.push_back(std::move(p));
        else
            participants[it->second] = std::move(p);
    }
    return participants;
}

TServiceReply TExchangeService::Upload(std::string_view body) {
    const std::vector<TParticipant> participants = Participants(body);
    if (participants.empty())
        return {400, "The upload holds no user.\n"};
    try {
        store_.ReplaceParticipants(participants);
    } catch (const TStoreError&) {
        return {503, "The store is unavailable; nothing was stored.\n"};
    }
    ++localChanges_;
    return {200, "Stored " + std::to_string(participants.size()) + " participant" +
                     (participants.size() == 1 ? "" : "s") + ".\n"};
}

std::shared_ptr<const std::string> TExchangeService::Statistics() {
    std::lock_guard lock(cacheMutex_);
    const Clock::time_point now = Clock::now();
    const bool intervalOver = now - lastBuild_ >= options_.RebuildInterval;
    if (cached_ && !intervalOver)
        return cached_;
    try {
        const int64_t local = localChanges_.load();
        // Another server's uploads are only seen through the store.
        int64_t generation = cachedGeneration_;
        if (!cached_ || local != cachedLocalChanges_ ||
            now - lastCheck_ >= options_.RebuildInterval) {
            generation = store_.Generation();
            lastCheck_ = now;
        }
        if (cached_ && generation == cachedGeneration_ && local == cachedLocalChanges_)
            return cached_;
        auto text = std::make_shared<const std::string>(
            BuildStatisticsText(store_.ReadCounters(), options_.MinGroup));
        cached_ = std::move(text);
        cachedGeneration_ = generation;
        cachedLocalChanges_ = local;
        lastBuild_ = now;
    } catch (const TStoreError&) {
        // An older copy is better than none while the store is away.
    }
    return cached_;
}
