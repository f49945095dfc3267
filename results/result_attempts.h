#pragma once

#include "exam/content_model.h"
#include "exam/stored_answers.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The finished attempts of one user: the tests whose every question has a
// stored value in "<name>.Answers", and the earlier attempts kept in
// "<name>.History" when a test was taken again.

struct TResultAttempt {
    std::string TestKey;
    std::string GroupTitle;
    std::string TestTitle;
    int GroupNo = 0;     // 1-based place of the group in the catalogue
    int TestNo = 0;      // 1-based place of the test in its group
    int Attempt = 0;     // history attempt number; 0 for the current answers
    double Finished = 0; // latest date among the values (day + fraction)
    int Questions = 0;
    int Right = 0;
    int64_t TotalMs = 0;
    std::string IQ; // as the catalogue would show it, for the user's current age

    bool Earlier() const { return Attempt > 0; }
};

using TProfileValues = std::vector<std::pair<std::string, std::string>>;

// Every finished attempt, ordered by the moment it was finished (content
// order and attempt number break ties). Tests that are not finished, history
// keys that are not "<QuestionKey>.<attempt>" and values without a readable
// date are tolerated: the first two are left out, the last count as day 0.
std::vector<TResultAttempt> CollectAttempts(const TTestContent& content,
                                            const TAnswerSnapshot& current,
                                            const TProfileValues& history, int age);

// The same from users.dat.
std::vector<TResultAttempt> LoadAttempts(const TTestContent& content, std::string_view userName,
                                         int age);
