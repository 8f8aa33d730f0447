// The UTC offsets of wall-clock stamps: the zone's answer for ordinary, repeated and skipped
// times, and the choice between the two offsets of a repeated hour from the order of a report.
#include "logging/report_state.h"
#include "report/date_time.h"
#include "report/utc_offset.h"
#include "support/time_zone.h"
#include "views/csv_export.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QList>

namespace {

double at(int y, int mo, int d, int h, int mi, int s = 0)
{
    return DayCountOf(QDate(y, mo, d), ((h * 60 + mi) * 60 + s) * 1000);
}

qint64 wallOf(double t)
{
    return *WallClockMsOfDayCount(t);
}

}  // namespace

TEST(WallClockZone, OrdinaryRepeatedAndSkippedTimes)
{
    struct Case {
        const char* zone;
        double t;
        int first;
        int second;
        bool repeated;
        bool skipped;
    };
    const Case cases[] = {
        {"Europe/Berlin", at(2026, 1, 15, 12, 0), 3600, 3600, false, false},
        {"Europe/Berlin", at(2026, 7, 15, 12, 0), 7200, 7200, false, false},
        // 2026-10-25: 03:00 summer time becomes 02:00 winter time; 02:00-02:59 happen twice.
        {"Europe/Berlin", at(2026, 10, 25, 1, 59, 59), 7200, 7200, false, false},
        {"Europe/Berlin", at(2026, 10, 25, 2, 0), 7200, 3600, true, false},
        {"Europe/Berlin", at(2026, 10, 25, 2, 59, 59), 7200, 3600, true, false},
        {"Europe/Berlin", at(2026, 10, 25, 3, 0), 3600, 3600, false, false},
        // 2026-03-29: 02:00 winter time becomes 03:00 summer time; 02:00-02:59 never happen.
        {"Europe/Berlin", at(2026, 3, 29, 1, 59, 59), 3600, 3600, false, false},
        {"Europe/Berlin", at(2026, 3, 29, 2, 30), 7200, 7200, false, true},
        {"Europe/Berlin", at(2026, 3, 29, 3, 0), 7200, 7200, false, false},
        // A change of half an hour: 2026-04-05 02:00 daylight time becomes 01:30 standard time.
        {"Australia/Lord_Howe", at(2026, 4, 5, 1, 29), 39600, 39600, false, false},
        {"Australia/Lord_Howe", at(2026, 4, 5, 1, 45), 39600, 37800, true, false},
        {"Australia/Lord_Howe", at(2026, 4, 5, 2, 0), 37800, 37800, false, false},
        // West of Greenwich the signs turn: New York goes back at 02:00 daylight time.
        {"America/New_York", at(2026, 11, 1, 1, 30), -4 * 3600, -5 * 3600, true, false},
        {"UTC", at(2026, 10, 25, 2, 30), 0, 0, false, false},
    };
    for (const Case& c : cases) {
        const TimeZone zone(c.zone);
        WallClockZone z;
        const WallClockOffsets o = z.offsetsAt(wallOf(c.t));
        const QString what = QStringLiteral("%1 %2").arg(QLatin1String(c.zone), DaysToDateTime(c.t).toString(Qt::ISODate));
        EXPECT_EQ(o.first, c.first) << what.toStdString();
        EXPECT_EQ(o.second, c.second) << what.toStdString();
        EXPECT_EQ(o.repeated, c.repeated) << what.toStdString();
        EXPECT_EQ(o.skipped, c.skipped) << what.toStdString();
    }
}

TEST(RecordOffsets, TheRepeatedHourTakesItsOffsetFromTheRecordOrder)
{
    const TimeZone berlin("Europe/Berlin");
    struct Stamp {
        int h, mi;
        int offset;
    };
    struct Case {
        const char* what;
        QList<Stamp> stamps;
    };
    const Case cases[] = {
        {"a reading a minute: the step back to 02:00 starts the second pass",
         {{1, 59, 7200}, {2, 58, 7200}, {2, 59, 7200}, {2, 0, 3600}, {2, 1, 3600}, {2, 59, 3600}, {3, 0, 3600}}},
        {"every 20 minutes",
         {{1, 50, 7200}, {2, 10, 7200}, {2, 30, 7200}, {2, 50, 7200}, {2, 10, 3600}, {2, 30, 3600}, {2, 50, 3600}, {3, 10, 3600}}},
        {"every hour: the same stamp twice", {{1, 20, 7200}, {2, 20, 7200}, {2, 20, 3600}, {3, 20, 3600}}},
        {"sorted by time: the file cannot tell the passes apart",
         {{2, 0, 7200}, {2, 1, 7200}, {2, 30, 7200}, {2, 31, 7200}, {3, 0, 3600}}},
        {"a reading every 90 minutes never steps back", {{1, 50, 7200}, {2, 20, 7200}, {2, 50, 7200}, {4, 20, 3600}}},
    };
    for (const Case& c : cases) {
        RecordOffsets offsets;
        for (const Stamp& s : c.stamps)
            EXPECT_EQ(offsets.next(at(2026, 10, 25, s.h, s.mi)), s.offset)
                << c.what << " at " << s.h << ":" << s.mi;
    }

    // A stamp that is no date leaves the order as it was; a skipped time has the offset after the skip.
    RecordOffsets offsets;
    EXPECT_EQ(offsets.next(at(2026, 10, 25, 2, 40)), 7200);
    EXPECT_EQ(offsets.next(std::nan("")), std::nullopt);
    EXPECT_EQ(offsets.next(at(2026, 10, 25, 2, 5)), 3600);
    EXPECT_EQ(offsets.next(at(2026, 3, 29, 2, 30)), 7200);
}

TEST(RecordOffsets, CsvTimesAcrossTheClocksGoingBackAreOrderedInstants)
{
    const TimeZone berlin("Europe/Berlin");
    // A reading every 10 minutes from 01:00 summer time to 04:00 winter time, as logged.
    ReportState state;
    for (qint64 utc = QDateTime(QDate(2026, 10, 24), QTime(23, 0), Qt::UTC).toMSecsSinceEpoch(),
                end = QDateTime(QDate(2026, 10, 25), QTime(3, 0), Qt::UTC).toMSecsSinceEpoch();
         utc <= end; utc += 600000)
        state.ReportData.push_back({DateTimeToDays(QDateTime::fromMSecsSinceEpoch(utc, Qt::LocalTime)), 4500, 2000});
    state.ReportCount = state.ReportData.size();
    state.IntervalStart = at(2026, 10, 25, 0, 0);
    state.IntervalEnd = at(2026, 10, 25, 5, 0);
    const QList<QByteArray> lines = ReportCsv(state).split('\n');
    qint64 previous = 0;
    int rows = 0;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (lines[i].isEmpty())
            continue;
        const QDateTime when = QDateTime::fromString(QString::fromLatin1(lines[i].split(',').front()), Qt::ISODateWithMs);
        ASSERT_TRUE(when.isValid()) << lines[i].toStdString();
        const qint64 utc = when.toMSecsSinceEpoch();
        if (rows > 0) {
            EXPECT_EQ(utc - previous, 600000) << lines[i].toStdString();
        }
        previous = utc;
        ++rows;
    }
    EXPECT_EQ(rows, state.ReportData.size());
    EXPECT_TRUE(lines[1].startsWith("2026-10-25T01:00:00.000+02:00"));
    EXPECT_TRUE(lines[13].startsWith("2026-10-25T02:00:00.000+01:00")) << lines[13].toStdString();
}
