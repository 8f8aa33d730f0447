// Day counts: the minute of a time stamp, validity in the years 1 to 9999, and date and time
// texts made arithmetically with the system's separators.
#include "report/date_time.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>

namespace {

double at(int y, int mo, int d, int h, int mi, double seconds = 0)
{
    return DayCountOf(QDate(y, mo, d), 0) + (h * 3600 + mi * 60 + seconds) / 86400.0;
}

TEST(DayCount, KnownDays)
{
    EXPECT_EQ(DayCountOf(QDate(1899, 12, 30), 0), 0.0);
    EXPECT_EQ(DayCountOf(QDate(1899, 12, 31), 18 * 3600000), 1.75);
    EXPECT_EQ(DayCountOf(QDate(1899, 12, 29), 6 * 3600000), -1.25) << "before day 0 the time counts away from zero";
    EXPECT_EQ(DayCountOf(QDate(2020, 1, 1), 0), 43831.0);
    EXPECT_EQ(DateTimeToDays(QDateTime(QDate(2024, 3, 5), QTime(10, 0, 5, 250))),
              DayCountOf(QDate(2024, 3, 5), 36005250));
    EXPECT_EQ(DaysToDateTime(1.75), QDateTime(QDate(1899, 12, 31), QTime(18, 0)));
    EXPECT_EQ(DaysToDateTime(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    EXPECT_FALSE(DaysToDateTime(NAN).isValid());
}

struct TruncCase {
    const char* name;
    double t;
    std::optional<double> minute;
};

class TruncToMinuteCases : public ::testing::TestWithParam<TruncCase> {};

TEST_P(TruncToMinuteCases, CutsToTheStartOfTheMinute)
{
    const TruncCase& c = GetParam();
    const auto m = TryTruncToMinute(c.t);
    ASSERT_EQ(m.has_value(), c.minute.has_value()) << c.name;
    if (c.minute) {
        EXPECT_EQ(*m, *c.minute) << c.name;
        EXPECT_EQ(TruncToMinute(c.t), *c.minute);
        EXPECT_EQ(TruncToMinute(*m), *m) << "a minute stays itself";
    } else {
        EXPECT_THROW(TruncToMinute(c.t), std::domain_error);
        EXPECT_FALSE(IsValidDayCount(c.t));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TruncToMinuteCases,
    ::testing::Values(
        TruncCase{"SecondsDropped", at(2024, 3, 5, 10, 15, 59), at(2024, 3, 5, 10, 15)},
        TruncCase{"NeverRoundedUp", at(2024, 3, 5, 10, 59, 59.999), at(2024, 3, 5, 10, 59)},
        TruncCase{"MillisecondRoundingCarries", at(2024, 3, 5, 10, 59, 59.9996), at(2024, 3, 5, 11, 0)},
        TruncCase{"MidnightCarriesIntoTheNextDay", at(2024, 3, 5, 23, 59, 59.9996), at(2024, 3, 6, 0, 0)},
        TruncCase{"DayZero", 0.0, 0.0},
        TruncCase{"BeforeDayZero", -1.25 - 30.0 / 86400, -1.25},
        TruncCase{"FirstDayOfYearOne", -693593.0, -693593.0},
        TruncCase{"LastMinuteOfYear9999", 2958465.0 + 86399.0 / 86400, 2958465.0 + 1439.0 / 1440},
        TruncCase{"Year10000", 2958466.0, std::nullopt},
        TruncCase{"RoundsIntoYear10000", 2958465.0 + 86399.9996 / 86400, std::nullopt},
        TruncCase{"BeforeYearOne", -693594.0, std::nullopt},
        TruncCase{"NaN", NAN, std::nullopt},
        TruncCase{"Infinity", INFINITY, std::nullopt},
        TruncCase{"Huge", 1e300, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DayCount, MinuteNumberOrdersLikeTheMinutes)
{
    // Preparation compares minutes by their numbers; the day counts must agree, across day 0 too.
    const double times[] = {-693593.0, -2.5, -1.25, -0.75, -0.0001, 0.0, 0.0001, 0.5, 1.75, 45000.123, 2958465.9};
    for (const double a : times)
        for (const double b : times) {
            const qint64 ma = MinuteNumber(*MillisecondsOfDayCount(a));
            const qint64 mb = MinuteNumber(*MillisecondsOfDayCount(b));
            EXPECT_EQ(ma == mb, TruncToMinute(a) == TruncToMinute(b)) << a << ' ' << b;
            EXPECT_EQ(MinuteNumberToDayCount(ma), TruncToMinute(a));
        }
}

TEST(DateTexts, TwoDigitFieldsWithTheGivenSeparators)
{
    const double t = at(2024, 3, 5, 9, 7, 42);
    EXPECT_EQ(DateText(t, QLatin1Char('.')), QStringLiteral("05.03.24"));
    EXPECT_EQ(DateText(t, QLatin1Char('/')), QStringLiteral("05/03/24"));
    EXPECT_EQ(TimeText(t, QLatin1Char(':')), QStringLiteral("09:07"));
    EXPECT_EQ(DateText(at(2000, 12, 31, 23, 59), QLatin1Char('-')), QStringLiteral("31-12-00"));
    EXPECT_EQ(TimeText(at(2000, 12, 31, 23, 59, 59.9), QLatin1Char('.')), QStringLiteral("23.59"));
    EXPECT_EQ(DateText(-1.25, QLatin1Char('.')), QStringLiteral("29.12.99"));
    EXPECT_EQ(TimeText(-1.25, QLatin1Char(':')), QStringLiteral("06:00"));
    EXPECT_EQ(DateText(NAN, QLatin1Char('.')), QString());
    EXPECT_EQ(IsoMinuteText(at(2024, 3, 5, 9, 7, 42)), QStringLiteral("2024-03-05 09:07"));
    EXPECT_EQ(IsoMinuteText(-693593.0), QStringLiteral("0001-01-01 00:00"));
}

TEST(DateTexts, TimesInADaylightSavingGapKeepTheirWallClock)
{
    // 2024-03-31 02:30 does not exist in Central Europe; the stored wall-clock time is shown.
    const QByteArray oldTz = qgetenv("TZ");
    qputenv("TZ", "Europe/Berlin");
    tzset();
    const double t = at(2024, 3, 31, 2, 30, 10);
    EXPECT_EQ(TimeText(t, QLatin1Char(':')), QStringLiteral("02:30"));
    EXPECT_EQ(DateText(t, QLatin1Char('.')), QStringLiteral("31.03.24"));
    EXPECT_EQ(IsoMinuteText(TruncToMinute(t)), QStringLiteral("2024-03-31 02:30"));
    if (oldTz.isNull())
        qunsetenv("TZ");
    else
        qputenv("TZ", oldTz);
    tzset();
}

TEST(DateTexts, SeparatorsFromTheSystemFormats)
{
    struct Case {
        const char* date;
        const char* time;
        char dateSep;
        char timeSep;
    };
    for (const Case c : {Case{"dd.MM.yyyy", "HH:mm", '.', ':'}, Case{"M/d/yy", "h:mm AP", '/', ':'},
                         Case{"yyyy-MM-dd", "HH.mm", '-', '.'}, Case{"d MMM yyyy", "HH:mm:ss", '.', ':'},
                         Case{"", "", '.', ':'}, Case{"dd'.'MM", "HH'h'mm", '.', ':'}}) {
        const DateTimeSeparators s = SeparatorsOfFormats(QLatin1String(c.date), QLatin1String(c.time));
        EXPECT_EQ(s.date, QLatin1Char(c.dateSep)) << c.date;
        EXPECT_EQ(s.time, QLatin1Char(c.timeSep)) << c.time;
    }
}

TEST(DateTexts, ParseIsoMinute)
{
    EXPECT_EQ(ParseIsoMinute(QStringLiteral("2024-03-05 10:01")), at(2024, 3, 5, 10, 1));
    EXPECT_EQ(ParseIsoMinute(QStringLiteral(" 1899-12-30 00:00 ")), 0.0);
    for (const char* bad : {"2024-03-05", "2024-3-5 10:01", "2024-02-30 10:00", "2024-03-05 24:00", "2024-03-05 10:60",
                            "05.03.2024 10:00", ""})
        EXPECT_FALSE(ParseIsoMinute(QLatin1String(bad)).has_value()) << bad;
}

}  // namespace
