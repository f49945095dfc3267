#pragma once

#include <cstdint>
#include <string>

// Time texts and gauge values of a running test. Durations are day numbers;
// they are counted in whole milliseconds (see ElapsedMs).

// "nn:ss" and "hh:nn:ss" of a duration, wrapping like a clock time.
std::string FormatMinSec(double days);
std::string FormatHourMinSec(double days);

// Needle positions 0..100: the share of the per-question limit (seconds) and
// of the per-test limit (minutes) used. A limit of 0 shows a full gauge.
int QuestionGaugeValue(int64_t elapsedMs, int limitSeconds);
int TestGaugeValue(int64_t totalMs, int limitMinutes);

// The limits are passed when the time is strictly greater than them.
bool QuestionTimeUp(int64_t elapsedMs, int limitSeconds);
bool TestTimeUp(double usedTime, int limitMinutes);
