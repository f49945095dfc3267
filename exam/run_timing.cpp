#include "exam/run_timing.h"

#include "exam/stored_answers.h"

#include <algorithm>
#include <cstdio>

namespace {

std::string TwoDigits(int64_t v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", int(v % 100));
    return buf;
}

} // namespace

std::string FormatMinSec(double days) {
    const int64_t s = ElapsedMs(0, days) / 1000;
    return TwoDigits(s / 60 % 60) + ":" + TwoDigits(s % 60);
}

std::string FormatHourMinSec(double days) {
    const int64_t s = ElapsedMs(0, days) / 1000;
    return TwoDigits(s / 3600 % 24) + ":" + TwoDigits(s / 60 % 60) + ":" + TwoDigits(s % 60);
}

int QuestionGaugeValue(int64_t elapsedMs, int limitSeconds) {
    if (limitSeconds <= 0)
        return 100;
    return int(std::clamp<int64_t>(elapsedMs / (int64_t(limitSeconds) * 10), 0, 100));
}

int TestGaugeValue(int64_t totalMs, int limitMinutes) {
    if (limitMinutes <= 0)
        return 100;
    return int(std::clamp<int64_t>(totalMs / (int64_t(limitMinutes) * 600), 0, 100));
}

bool QuestionTimeUp(int64_t elapsedMs, int limitSeconds) {
    return elapsedMs > int64_t(limitSeconds) * 1000;
}

bool TestTimeUp(double usedTime, int limitMinutes) {
    return ElapsedMs(0, usedTime) > int64_t(limitMinutes) * 60000;
}
