#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What the exchange keeps of one uploaded user: never a name or a password,
// only a keyed hash that recognises the same user on the next upload.

struct TStoredAnswer {
    std::string QuestionKey; // as the record database spells it
    std::string Answer;      // the answer part of the stored value
    bool Right = false;
    int64_t Ms = 0;  // time spent on the question
    double Date = 0; // day number with fraction; 0 when unreadable
};

struct TParticipant {
    std::string Hash; // hex HMAC-SHA256 of Uid + name
    bool Female = false;
    int Age = 0;                        // 0: not given
    std::vector<TStoredAnswer> Answers; // one per question key
};
