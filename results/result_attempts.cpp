#include "results/result_attempts.h"

#include "exam/catalogue.h"
#include "exam/iq_score.h"
#include "platform/ansi.h"
#include "platform/profile_file.h"
#include "users/user_store.h"

#include <algorithm>
#include <map>

namespace {

// The attempt of one test made from its values, or nothing when a question
// has none.
bool MakeAttempt(const TTestContent& content, std::string_view testKey,
                 const TAnswerSnapshot& answers, int age, TResultAttempt& attempt) {
    if (!TestFinished(content, testKey, answers))
        return false;
    const TTestScore score = ScoreTest(content, testKey, answers);
    attempt.Questions = score.Questions;
    attempt.IQ = IQText(score.Earned, score.Possible, age);
    for (int q = 1; q <= score.Questions; ++q) {
        const std::string key = QuestionKey(testKey, content.QuestionAt(testKey, q));
        const std::string& value = answers.Value(key);
        if (AnswerIsRight(value, content.QuestionByKey(key).Answer))
            ++attempt.Right;
        attempt.TotalMs += AnswerMs(value);
        attempt.Finished = std::max(attempt.Finished, AnswerDate(value));
    }
    return true;
}

} // namespace

std::vector<TResultAttempt> CollectAttempts(const TTestContent& content,
                                            const TAnswerSnapshot& current,
                                            const TProfileValues& history, int age) {
    // History values per attempt number; an attempt holds keys of one test
    // or several, each judged on its own.
    std::map<int, TProfileValues> earlier;
    for (const auto& [key, value] : history) {
        std::string question;
        int n = 0;
        if (SplitHistoryKey(key, question, n))
            earlier[n].emplace_back(question, value);
    }
    std::map<int, TAnswerSnapshot> earlierAnswers;
    for (const auto& [n, values] : earlier)
        earlierAnswers.emplace(n, TAnswerSnapshot(values));

    std::vector<TResultAttempt> attempts;
    for (int g = 1; g <= content.GroupCount(); ++g) {
        const std::string group = content.GroupCodeAt(g);
        for (int t = 1; t <= content.TestCount(group); ++t) {
            TResultAttempt base;
            base.TestKey = TestKey(group, content.TestAt(group, t));
            base.GroupTitle = content.GroupTitle(group);
            base.TestTitle = content.TestTitle(base.TestKey);
            base.GroupNo = g;
            base.TestNo = t;
            for (const auto& [n, answers] : earlierAnswers) {
                TResultAttempt attempt = base;
                attempt.Attempt = n;
                if (MakeAttempt(content, base.TestKey, answers, age, attempt))
                    attempts.push_back(std::move(attempt));
            }
            TResultAttempt attempt = base;
            if (MakeAttempt(content, base.TestKey, current, age, attempt))
                attempts.push_back(std::move(attempt));
        }
    }
    // Already in content order with earlier attempts first, so a stable sort
    // keeps that order among attempts finished at the same moment.
    std::stable_sort(
        attempts.begin(), attempts.end(),
        [](const TResultAttempt& a, const TResultAttempt& b) { return a.Finished < b.Finished; });
    return attempts;
}

std::vector<TResultAttempt> LoadAttempts(const TTestContent& content, std::string_view userName,
                                         int age) {
    if (userName.empty())
        return {};
    return CollectAttempts(content, TAnswerSnapshot::Load(userName),
                           plat::ReadProfileSection(UsersFilePath(), HistorySection(userName)),
                           age);
}
