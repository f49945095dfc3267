#pragma once

#include "server/groups.h"
#include "server/participant.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>

// The aggregate that iusers.dat is built from: per question and group the
// number of participants who answered and how many of them were right, and
// per question how often each answer was given. Uploads change it by deltas
// inside their own transaction, so it is never recomputed from all answers.

struct TCell {
    int64_t N = 0;     // participants who answered
    int64_t Right = 0; // of whom answered right
    bool operator==(const TCell&) const = default;
};

struct TQuestionCounts {
    std::array<TCell, kGroupCount> Groups{};
    std::map<std::string, int64_t> Choices; // choice name -> participants
    bool operator==(const TQuestionCounts&) const = default;
};

// By question key. Cells and choices that count nobody are left out, and so
// is a question that counts nobody at all, so that two tables of the same
// participants compare equal however they were produced.
using TCounterTable = std::map<std::string, TQuestionCounts>;

// The name an answer is counted under in the "Choices" section: "-" for no
// answer, the answer itself when it is a short run of lower-case letters and
// digits (the choice targets of a question), and "?" for anything else, so
// that text a user typed never leaves the server.
std::string ChoiceName(std::string_view answer);

// Changes to the counters, summed over the participants of one upload.
class TCounterDelta {
public:
    // Counts (sign +1) or uncounts (sign -1) every answer of a participant.
    void Add(const TParticipant& participant, int sign);
    // Counts one answer of a participant of the given gender and age.
    void AddAnswer(bool female, int age, const std::string& questionKey, const std::string& answer,
                   bool right, int sign);

    // Non-zero changes only, sorted by key so that concurrent writers lock
    // rows in one order.
    const std::map<std::pair<std::string, int>, TCell>& Cells() const { return cells_; }
    const std::map<std::pair<std::string, std::string>, int64_t>& Choices() const {
        return choices_;
    }
    bool Empty() const { return cells_.empty() && choices_.empty(); }

    // Applies the changes to a table in memory (recounts and tests).
    void ApplyTo(TCounterTable& table) const;

private:
    void Bump(const std::string& questionKey, TGroup group, bool right, int sign);

    std::map<std::pair<std::string, int>, TCell> cells_;
    std::map<std::pair<std::string, std::string>, int64_t> choices_;
};
