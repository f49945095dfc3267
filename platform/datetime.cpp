#include "platform/datetime.h"

#include <cmath>
#include <ctime>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>

namespace plat {
namespace {

constexpr int64_t kMsPerDay = 86400000;
// Day 0 (30 December 1899) counted from 1 January 1970.
constexpr int64_t kEpochOffset = 25569;
// 1 January 0001 and 31 December 9999 as day numbers: the range that decodes.
constexpr double kMinDay = -693593.0;
constexpr double kMaxDay = 2958465.0;

bool IsLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

bool ValidDate(int y, int m, int d) {
    return y >= 1 && y <= 9999 && m >= 1 && m <= 12 && d >= 1 && d <= DaysInMonth(y, m);
}

bool ValidTime(int h, int m, int s, int ms) {
    return h >= 0 && h < 24 && m >= 0 && m < 60 && s >= 0 && s < 60 && ms >= 0 && ms < 1000;
}

// Proleptic Gregorian calendar, days since 1 January 1970 and back.
int64_t DaysFromCivil(int64_t y, int m, int d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, DateTimeParts& p) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    p.day = int(doy - (153 * mp + 2) / 5 + 1);
    p.month = int(mp < 10 ? mp + 3 : mp - 9);
    p.year = int(yoe + era * 400 + (p.month <= 2));
}

double RealNow() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    const time_t secs = ts.tv_sec;
    tm local{};
    if (!localtime_r(&secs, &local))
        return 0.0;
    DateTimeParts p;
    p.year = local.tm_year + 1900;
    p.month = local.tm_mon + 1;
    p.day = local.tm_mday;
    p.hour = local.tm_hour;
    p.minute = local.tm_min;
    // A leap second shows as 60; it is folded into the second before.
    p.second = local.tm_sec > 59 ? 59 : local.tm_sec;
    p.msec = int(ts.tv_nsec / 1000000);
    return EncodeDateTime(p);
}

std::mutex& ClockMutex() {
    static std::mutex m;
    return m;
}

std::function<double()>& Clock() {
    static std::function<double()> clock;
    return clock;
}

} // namespace

double EncodeDate(int year, int month, int day) {
    if (!ValidDate(year, month, day))
        return 0.0;
    return double(DaysFromCivil(year, month, day) + kEpochOffset);
}

double EncodeTime(int hour, int minute, int second, int msec) {
    if (!ValidTime(hour, minute, second, msec))
        return 0.0;
    const int64_t ms = ((int64_t(hour) * 60 + minute) * 60 + second) * 1000 + msec;
    return double(ms) / double(kMsPerDay);
}

double EncodeDateTime(const DateTimeParts& p) {
    if (!ValidDate(p.year, p.month, p.day) || !ValidTime(p.hour, p.minute, p.second, p.msec))
        return 0.0;
    const double date = EncodeDate(p.year, p.month, p.day);
    const double time = EncodeTime(p.hour, p.minute, p.second, p.msec);
    // Before day 0 the integral part is still the day and the fraction the
    // time of that day, so the time is subtracted: 29 Dec 1899 06:00 is -1.25.
    return date < 0 ? date - time : date + time;
}

DateTimeParts DecodeDateTime(double dt) {
    DateTimeParts p;
    if (!std::isfinite(dt) || dt <= kMinDay - 1.0 || dt >= kMaxDay + 1.0)
        return p;
    int64_t days = int64_t(std::trunc(dt));
    int64_t ms = std::llround(std::fabs(dt - double(days)) * double(kMsPerDay));
    if (ms >= kMsPerDay) {
        // Rounded up to midnight: the calendar day after, in either direction.
        ms -= kMsPerDay;
        ++days;
    }
    CivilFromDays(days - kEpochOffset, p);
    p.hour = int(ms / 3600000);
    p.minute = int(ms / 60000 % 60);
    p.second = int(ms / 1000 % 60);
    p.msec = int(ms % 1000);
    return p;
}

double Now() {
    std::function<double()> clock;
    {
        std::lock_guard lock(ClockMutex());
        clock = Clock();
    }
    return clock ? clock() : RealNow();
}

void SetClock(std::function<double()> clock) {
    std::lock_guard lock(ClockMutex());
    Clock() = std::move(clock);
}

uint32_t DateTimeToFileDate(double dt) {
    if (!std::isfinite(dt))
        return 0;
    const DateTimeParts p = DecodeDateTime(dt);
    if (p.year < 1980 || p.year > 2107)
        return 0;
    const uint32_t date = uint32_t(p.year - 1980) << 9 | uint32_t(p.month) << 5 | uint32_t(p.day);
    const uint32_t time = uint32_t(p.hour) << 11 | uint32_t(p.minute) << 5 | uint32_t(p.second / 2);
    return date << 16 | time;
}

double FileDateToDateTime(uint32_t fileDate) {
    const uint32_t date = fileDate >> 16;
    const uint32_t time = fileDate & 0xFFFF;
    DateTimeParts p;
    p.year = int(date >> 9) + 1980;
    p.month = int(date >> 5 & 0x0F);
    p.day = int(date & 0x1F);
    p.hour = int(time >> 11);
    p.minute = int(time >> 5 & 0x3F);
    p.second = int(time & 0x1F) * 2;
    p.msec = 0;
    if (!ValidDate(p.year, p.month, p.day) || !ValidTime(p.hour, p.minute, p.second, 0))
        return 0.0;
    return EncodeDateTime(p);
}

bool SetFileDateTime(const char* nativePath, double dt) {
    if (!nativePath || !*nativePath || !std::isfinite(dt))
        return false;
    const DateTimeParts p = DecodeDateTime(dt);
    tm local{};
    local.tm_year = p.year - 1900;
    local.tm_mon = p.month - 1;
    local.tm_mday = p.day;
    local.tm_hour = p.hour;
    local.tm_min = p.minute;
    local.tm_sec = p.second;
    local.tm_isdst = -1; // let the C library decide whether summer time applies
    const time_t secs = mktime(&local);
    if (secs == time_t(-1)) {
        // -1 is also one second before 1970 UTC; only then is it a real time.
        tm check{};
        const time_t minusOne = -1;
        if (!localtime_r(&minusOne, &check) || check.tm_year != p.year - 1900 ||
            check.tm_mon != p.month - 1 || check.tm_mday != p.day || check.tm_hour != p.hour ||
            check.tm_min != p.minute || check.tm_sec != p.second)
            return false;
    }
    // Only the modification time is set; the access time stays as it is.
    timespec times[2]{};
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = secs;
    times[1].tv_nsec = long(p.msec) * 1000000;
    return utimensat(AT_FDCWD, nativePath, times, 0) == 0;
}

} // namespace plat
