#include "platform/datetime.h"
#include "tests/common/temp_program_dir.h"
#include "tests/platform/scoped_env.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <ctime>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <sys/stat.h>

namespace {

using plat::DateTimeParts;

DateTimeParts Parts(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    return DateTimeParts{y, mo, d, h, mi, s, ms};
}

void ExpectParts(const DateTimeParts& got, const DateTimeParts& want) {
    EXPECT_EQ(got.year, want.year);
    EXPECT_EQ(got.month, want.month);
    EXPECT_EQ(got.day, want.day);
    EXPECT_EQ(got.hour, want.hour);
    EXPECT_EQ(got.minute, want.minute);
    EXPECT_EQ(got.second, want.second);
    EXPECT_EQ(got.msec, want.msec);
}

TEST(DateTimeTest, KnownDayNumbers) {
    struct Case {
        DateTimeParts parts;
        double value;
    };
    const Case cases[] = {
        {Parts(1899, 12, 30), 0.0},
        {Parts(1899, 12, 30, 12), 0.5},
        {Parts(1899, 12, 31, 12), 1.5},
        {Parts(1900, 1, 1), 2.0},
        {Parts(1900, 3, 1), 61.0}, // 1900 is no leap year
        {Parts(1970, 1, 1), 25569.0},
        {Parts(2000, 1, 1), 36526.0},
        {Parts(2000, 1, 1, 6), 36526.25},
        {Parts(2024, 2, 29, 18), 45351.75},
        {Parts(9999, 12, 31), 2958465.0},
        {Parts(1, 1, 1), -693593.0},
        // Before day 0 the fraction is still the time of the day.
        {Parts(1899, 12, 29, 6), -1.25},
        {Parts(1800, 1, 1, 18), -36522.75},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_DOUBLE_EQ(plat::EncodeDateTime(c.parts), c.value);
        ExpectParts(plat::DecodeDateTime(c.value), c.parts);
    }
    EXPECT_DOUBLE_EQ(plat::EncodeDate(2000, 1, 1), 36526.0);
    EXPECT_DOUBLE_EQ(plat::EncodeTime(12, 0, 0, 0), 0.5);
    EXPECT_DOUBLE_EQ(plat::EncodeTime(23, 59, 59, 999), 86399999.0 / 86400000.0);
}

TEST(DateTimeTest, RoundTripsToTheMillisecond) {
    std::mt19937 rng(1899);
    std::uniform_int_distribution<int> year(1, 9999), month(1, 12), day(1, 28), hour(0, 23),
        minute(0, 59), msec(0, 999);
    for (int i = 0; i < 5000; ++i) {
        const DateTimeParts p =
            Parts(year(rng), month(rng), day(rng), hour(rng), minute(rng), minute(rng), msec(rng));
        SCOPED_TRACE(testing::Message() << p.year << '-' << p.month << '-' << p.day << ' ' << p.hour
                                        << ':' << p.minute << ':' << p.second << '.' << p.msec);
        ExpectParts(plat::DecodeDateTime(plat::EncodeDateTime(p)), p);
        if (HasFailure())
            break;
    }
}

TEST(DateTimeTest, RejectsImpossibleInputWithoutCrashing) {
    EXPECT_EQ(plat::EncodeDate(2023, 2, 29), 0.0);
    EXPECT_EQ(plat::EncodeDate(2023, 13, 1), 0.0);
    EXPECT_EQ(plat::EncodeDate(0, 1, 1), 0.0);
    EXPECT_EQ(plat::EncodeTime(24, 0, 0, 0), 0.0);
    EXPECT_EQ(plat::EncodeTime(0, 0, 0, 1000), 0.0);
    EXPECT_EQ(plat::EncodeDateTime(Parts(2000, 1, 1, 0, 60)), 0.0);

    const DateTimeParts zero;
    for (const double bad : {std::nan(""), std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(), 1e300, -1e300, 3e6})
        ExpectParts(plat::DecodeDateTime(bad), zero);
    // The last millisecond of a day rounds up into the next day, not to 24:00.
    ExpectParts(plat::DecodeDateTime(2.0 - 1e-10), Parts(1900, 1, 1));
    ExpectParts(plat::DecodeDateTime(-1.0 - (1.0 - 1e-10)), Parts(1899, 12, 30));
}

TEST(DateTimeTest, ScopedClockLastsForItsScope) {
    {
        const plat::ScopedClock clock([] { return 2.25; });
        EXPECT_EQ(plat::Now(), 2.25);
    }
    EXPECT_GT(plat::Now(), plat::EncodeDate(2000, 1, 1)); // the real clock again
}

TEST(DateTimeTest, NowUsesTheInjectedClockUntilReset) {
    plat::SetClock([] { return 36526.5; });
    EXPECT_EQ(plat::Now(), 36526.5);
    plat::SetClock({});
    const QDateTime local = QDateTime::currentDateTime();
    const double expected = plat::EncodeDateTime(
        Parts(local.date().year(), local.date().month(), local.date().day(), local.time().hour(),
              local.time().minute(), local.time().second(), local.time().msec()));
    EXPECT_NEAR(plat::Now(), expected, 5.0 / 86400.0);
}

TEST(FileDateTest, PacksAndUnpacksMsDosDates) {
    const double dt = plat::EncodeDateTime(Parts(2000, 1, 1));
    EXPECT_EQ(plat::DateTimeToFileDate(dt), 0x28210000u);
    const uint32_t packed =
        plat::DateTimeToFileDate(plat::EncodeDateTime(Parts(2023, 7, 15, 13, 45, 31)));
    EXPECT_EQ(packed,
              uint32_t((43u << 25) | (7u << 21) | (15u << 16) | (13u << 11) | (45u << 5) | 15u));
    // Seconds are kept in steps of two.
    ExpectParts(plat::DecodeDateTime(plat::FileDateToDateTime(packed)),
                Parts(2023, 7, 15, 13, 45, 30));

    std::mt19937 rng(1980);
    std::uniform_int_distribution<int> year(1980, 2107), month(1, 12), day(1, 28), hour(0, 23),
        minute(0, 59), twoSec(0, 29);
    for (int i = 0; i < 2000; ++i) {
        const DateTimeParts p =
            Parts(year(rng), month(rng), day(rng), hour(rng), minute(rng), twoSec(rng) * 2);
        const double back =
            plat::FileDateToDateTime(plat::DateTimeToFileDate(plat::EncodeDateTime(p)));
        ExpectParts(plat::DecodeDateTime(back), p);
        if (HasFailure())
            break;
    }
}

TEST(FileDateTest, HonoursTheYearLimitsAndRejectsImpossibleValues) {
    EXPECT_EQ(plat::DateTimeToFileDate(plat::EncodeDateTime(Parts(1979, 12, 31, 23, 59, 59))), 0u);
    EXPECT_EQ(plat::DateTimeToFileDate(plat::EncodeDateTime(Parts(1980, 1, 1))), 0x00210000u);
    const uint32_t last =
        plat::DateTimeToFileDate(plat::EncodeDateTime(Parts(2107, 12, 31, 23, 59, 58)));
    ExpectParts(plat::DecodeDateTime(plat::FileDateToDateTime(last)),
                Parts(2107, 12, 31, 23, 59, 58));
    EXPECT_EQ(plat::DateTimeToFileDate(plat::EncodeDateTime(Parts(2108, 1, 1))), 0u);
    EXPECT_EQ(plat::DateTimeToFileDate(std::nan("")), 0u);

    auto pack = [](uint32_t y, uint32_t mo, uint32_t d, uint32_t h, uint32_t mi, uint32_t s2) {
        return (y << 25) | (mo << 21) | (d << 16) | (h << 11) | (mi << 5) | s2;
    };
    EXPECT_EQ(plat::FileDateToDateTime(0), 0.0);
    EXPECT_EQ(plat::FileDateToDateTime(pack(20, 13, 1, 0, 0, 0)), 0.0); // month 13
    EXPECT_EQ(plat::FileDateToDateTime(pack(20, 1, 0, 0, 0, 0)), 0.0);  // day 0
    EXPECT_EQ(plat::FileDateToDateTime(pack(23, 2, 29, 0, 0, 0)), 0.0); // 29 Feb 2003
    EXPECT_EQ(plat::FileDateToDateTime(pack(20, 1, 1, 24, 0, 0)), 0.0);
    EXPECT_EQ(plat::FileDateToDateTime(pack(20, 1, 1, 0, 60, 0)), 0.0);
    EXPECT_EQ(plat::FileDateToDateTime(pack(20, 1, 1, 0, 0, 30)), 0.0); // 60 seconds
    EXPECT_NE(plat::FileDateToDateTime(pack(24, 2, 29, 0, 0, 0)), 0.0); // 29 Feb 2004
}

DateTimeParts ModificationTime(const QString& path) {
    struct stat st {};
    if (stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    tm local{};
    localtime_r(&st.st_mtim.tv_sec, &local);
    return Parts(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                 local.tm_sec, int(st.st_mtim.tv_nsec / 1000000));
}

class SetFileDateTimeTest : public testing::TestWithParam<const char*> {
protected:
    void TearDown() override { tzset(); } // after the test's TZ is put back
};

// Summer and winter dates in a zone with summer time show that the local
// time is converted with the summer-time rule of that date.
TEST_P(SetFileDateTimeTest, SetsTheLocalModificationTime) {
    ScopedEnv tz("TZ", GetParam());
    tzset();
    TempProgramDir dir;
    const QString file = dir.Write("f.txt", "x");
    const QByteArray native = QFile::encodeName(file);
    for (const DateTimeParts& p : {Parts(2001, 2, 3, 4, 5, 6, 700), Parts(2010, 7, 15, 12, 30, 0),
                                   Parts(1995, 10, 29, 0, 0, 2)}) {
        ASSERT_TRUE(plat::SetFileDateTime(native.constData(), plat::EncodeDateTime(p)));
        ExpectParts(ModificationTime(file), p);
    }
    EXPECT_FALSE(plat::SetFileDateTime((dir.Path() + "missing").toLocal8Bit().constData(), 1.0));
    EXPECT_FALSE(plat::SetFileDateTime(nullptr, 36526.0));
    EXPECT_FALSE(plat::SetFileDateTime("", 36526.0));
    EXPECT_FALSE(plat::SetFileDateTime(native.constData(), std::nan("")));
    EXPECT_EQ(dir.Read("f.txt"), "x");
}

INSTANTIATE_TEST_SUITE_P(Zones, SetFileDateTimeTest,
                         testing::Values("UTC0", "CET-1CEST,M3.5.0,M10.5.0/3"));

} // namespace
