#pragma once

#include <cstdint>
#include <functional>
#include <utility>

// Date-times are day numbers with a fraction, counted in local time from
// 30 December 1899 as day 0 (noon of 31 December 1899 is 1.5).
namespace plat {

struct DateTimeParts {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0, msec = 0;
};

// Impossible dates (years outside 1..9999) and times give 0.0.
double EncodeDate(int year, int month, int day);
double EncodeTime(int hour, int minute, int second, int msec);
double EncodeDateTime(const DateTimeParts& p);
// Rounds to the millisecond. Values outside the years 1..9999, infinities
// and NaN give the default parts (30 December 1899, 00:00).
DateTimeParts DecodeDateTime(double dt);

// The current local date-time. This is the program's one clock: the test
// run's times and limits and the user identifiers all read it, so a test
// that replaces it moves every one of them together.
double Now();
void SetClock(std::function<double()> clock); // an empty function restores the real one

// Replaces the clock for as long as it lives, then restores the real one.
class ScopedClock {
public:
    explicit ScopedClock(std::function<double()> clock) { SetClock(std::move(clock)); }
    ~ScopedClock() { SetClock({}); }
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;
};

// MS-DOS packed date-time: date in the high word (years since 1980, month,
// day), time in the low word (hours, minutes, seconds / 2). Dates before 1980
// give 0; a packed value with an impossible date gives 0.0.
uint32_t DateTimeToFileDate(double dt);
double FileDateToDateTime(uint32_t fileDate);

// Sets a file's modification time to a local date-time. False on failure.
bool SetFileDateTime(const char* nativePath, double dt);

} // namespace plat
