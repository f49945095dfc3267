#pragma once

#include <cstdint>
#include <string_view>

// Reading one stored answer value,
//   answer "<" day "," thousandths-of-day ">" "<" milliseconds ">"
// e.g. "ac<38870,500><12000>". The program's scoring and the exchange server
// read values with these functions, so both judge an answer alike.

// The answer part: the text before the first "<", empty when there is none.
std::string_view AnswerPart(std::string_view value);

// Whether a stored value earns the question's points: its answer part equals
// the correct answer exactly (so a question whose correct answer is empty
// counts as right while unanswered).
bool AnswerIsRight(std::string_view storedValue, std::string_view correct);

// The milliseconds recorded in a value; 0 when it holds no "><" or the time
// is not a whole number that is not negative.
int64_t AnswerMs(std::string_view value);

// The moment a value was stored as a day number with its fraction (day +
// thousandths / 1000); 0 when the value holds no readable date.
double AnswerDate(std::string_view value);
