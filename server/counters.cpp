#include "server/counters.h"

namespace {

constexpr std::size_t kLongestChoiceName = 16;

bool IsChoiceText(std::string_view answer) {
    if (answer.size() > kLongestChoiceName)
        return false;
    for (char c : answer)
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')))
            return false;
    return true;
}

} // namespace

std::string ChoiceName(std::string_view answer) {
    if (answer.empty())
        return "-";
    return IsChoiceText(answer) ? std::string(answer) : std::string("?");
}

void TCounterDelta::Add(const TParticipant& participant, int sign) {
    for (const TStoredAnswer& a : participant.Answers)
        AddAnswer(participant.Female, participant.Age, a.QuestionKey, a.Answer, a.Right, sign);
}

void TCounterDelta::AddAnswer(bool female, int age, const std::string& questionKey,
                              const std::string& answer, bool right, int sign) {
    Bump(questionKey, GenderGroup(female), right, sign);
    if (const auto group = AgeGroup(age))
        Bump(questionKey, *group, right, sign);
    const auto key = std::make_pair(questionKey, ChoiceName(answer));
    if ((choices_[key] += sign) == 0)
        choices_.erase(key);
}

void TCounterDelta::Bump(const std::string& questionKey, TGroup group, bool right, int sign) {
    const auto key = std::make_pair(questionKey, int(group));
    TCell& cell = cells_[key];
    cell.N += sign;
    if (right)
        cell.Right += sign;
    if (cell.N == 0 && cell.Right == 0)
        cells_.erase(key);
}

void TCounterDelta::ApplyTo(TCounterTable& table) const {
    for (const auto& [key, delta] : cells_) {
        TCell& cell = table[key.first].Groups[std::size_t(key.second)];
        cell.N += delta.N;
        cell.Right += delta.Right;
    }
    for (const auto& [key, delta] : choices_) {
        auto& choices = table[key.first].Choices;
        if ((choices[key.second] += delta) == 0)
            choices.erase(key.second);
    }
    for (auto it = table.begin(); it != table.end();) {
        bool empty = it->second.Choices.empty();
        for (const TCell& cell : it->second.Groups)
            empty = empty && cell == TCell{};
        it = empty ? table.erase(it) : std::next(it);
    }
}
