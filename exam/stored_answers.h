#pragma once

#include "exam/answer_value.h"

#include <QString>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

// Every answer a user gives lives in User\users.dat, section "<name>.Answers",
// one key per QuestionKey. The value is
//   answer "<" day "," thousandths-of-day ">" "<" milliseconds ">"
// e.g. "ac<38870,500><12000>". A key with a value, even one whose answer part
// is empty, marks the question as answered.

// Longest answer part that is stored; answers are short strings.
inline constexpr std::size_t kMaxAnswerLength = 255;

QString UsersFilePath();

// The stored value for a user, empty when there is none (or no user).
std::string ReadAnswer(std::string_view userName, std::string_view questionKey);
// Replaces the stored value. False when there is no user or the file could
// not be written; the file then stays as it was.
bool WriteAnswer(std::string_view userName, std::string_view questionKey, std::string_view value);

// The time recorded in a value, in days; 0 when it holds no "><" or the time
// is not a whole number.
double AnswerTime(std::string_view value);

// Whole milliseconds from `from` to `to` (day numbers). The difference is
// taken to a tenth of a millisecond first so that 12 s of clock time is 12000 and not
// 11999 through the rounding of day numbers; negative spans count as 0.
int64_t ElapsedMs(double from, double to);

// The value stored for an answer given at `now` after `elapsedMs` on the
// question. Line breaks in the answer become spaces (they cannot be stored on
// one line) and the answer is cut to kMaxAnswerLength characters.
std::string AnswerValue(std::string_view answer, double now, int64_t elapsedMs);

// Taking a test again: every stored value of the test (keys in
// "<name>.Answers" that begin with testKey) moves into "<name>.History" under
// "<QuestionKey>.<attempt>", the attempt being one more than the highest
// already kept for the test, in one replace of the file. Nothing but the
// results page reads the history. The attempt number used, 0 when there was
// nothing to move, -1 when the file could not be written (it is then as it
// was).
int ArchiveTestAnswers(std::string_view userName, std::string_view testKey);

// A history key "<QuestionKey>.<attempt>" split into its parts; false when
// it has no "." or the attempt is not a whole number from 1.
bool SplitHistoryKey(std::string_view key, std::string& questionKey, int& attempt);

// All stored values of one user, read with one pass over the file. Keys
// match without regard to letter case, as the profile routines match them.
class TAnswerSnapshot {
public:
    TAnswerSnapshot() = default;
    explicit TAnswerSnapshot(const std::vector<std::pair<std::string, std::string>>& values);

    static TAnswerSnapshot Load(std::string_view userName);

    // The stored value, empty when none.
    const std::string& Value(std::string_view questionKey) const;
    std::size_t size() const { return values_.size(); }

private:
    std::unordered_map<std::string, std::string> values_; // folded key -> value
};
