// The CSV read back by another program: python3's csv module and datetime.fromisoformat take
// every row, and each value equals the record's (numbers to the last bit, local time with its
// UTC offset to the millisecond, None for invalid values). The suite runs 20,000 records in a
// time zone with daylight saving; KELMORA_CSV_RECORDS=1000000 runs the same check on a
// million.
#include "report/date_time.h"
#include "report/humidity.h"
#include "support/time_zone.h"
#include "views/csv_export.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QTimeZone>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <random>

namespace {

const char* kReader = R"(import csv, sys
from datetime import datetime
with open(sys.argv[1], newline='', encoding='utf-8') as f, open(sys.argv[2], 'w') as out:
    rows = csv.reader(f)
    header = next(rows)
    if header != ['time', 'relative_humidity', 'temperature', 'dew_point', 'absolute_humidity']:
        sys.exit('header: %r' % header)
    for row in rows:
        t = datetime.fromisoformat(row[0])
        offset = int(t.utcoffset().total_seconds()) // 60
        values = [repr(float(v)) if v != '' else 'None' for v in row[1:]]
        out.write('%d %d %d %d %d %d %d %d %s\n' % (t.year, t.month, t.day, t.hour, t.minute, t.second,
                                                    t.microsecond // 1000, offset, ' '.join(values)))
)";

int recordCount()
{
    const int n = qEnvironmentVariableIntValue("KELMORA_CSV_RECORDS");
    return n > 0 ? n : 20000;
}

// Readings over three years at random moments, a few with invalid values, some below zero.
ReportState randomReadings(int count)
{
    std::mt19937 rng(1000000);
    std::uniform_real_distribution<double> when(DayCountOf(QDate(2024, 1, 1), 0), DayCountOf(QDate(2027, 1, 1), 0));
    std::uniform_int_distribution<int> rh(-300, 10300), t(-10300, 10300);
    ReportState s;
    s.ReportData.reserve(count);
    for (int i = 0; i < count; ++i) {
        const double dt = std::round(when(rng) * 86400000.0) / 86400000.0;
        s.ReportData.push_back({dt, int16_t(rh(rng)), int16_t(t(rng))});
    }
    s.ReportCount = count;
    s.IntervalStart = 0;
    s.IntervalEnd = DayCountOf(QDate(2100, 1, 1), 0);
    return s;
}

bool sameValue(const char* text, bool valid, double expected)
{
    if (!valid)
        return std::strcmp(text, "None") == 0;
    return std::strtod(text, nullptr) == expected;
}

TEST(CsvReadByPython, EveryRowEqualsItsRecord)
{
    const TimeZone berlin("Europe/Berlin");
    const int count = recordCount();
    const ReportState state = randomReadings(count);
    QTemporaryDir dir;
    const QString csv = QDir(dir.path()).filePath("readings.csv");
    const QString script = QDir(dir.path()).filePath("read.py");
    const QString values = QDir(dir.path()).filePath("values.txt");
    SaveToCSV(csv, state);
    {
        QFile f(script);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(kReader);
    }
    QProcess python;
    python.start("python3", {script, csv, values});
    ASSERT_TRUE(python.waitForStarted()) << "python3 is needed to read the CSV back";
    ASSERT_TRUE(python.waitForFinished(300000));
    ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();

    std::FILE* in = std::fopen(QFile::encodeName(values).constData(), "r");
    ASSERT_NE(in, nullptr);
    int rows = 0, wrong = 0, summerOffsets = 0;
    char line[512];
    while (std::fgets(line, sizeof line, in)) {
        ASSERT_LT(rows, count);
        const MeasurementRecord& r = state.ReportData[rows++];
        int y, mo, d, h, mi, s, ms, offset;
        char rh[64], t[64], dew[64], abs[64];
        ASSERT_EQ(std::sscanf(line, "%d %d %d %d %d %d %d %d %63s %63s %63s %63s", &y, &mo, &d, &h, &mi, &s, &ms, &offset,
                              rh, t, dew, abs), 12) << line;
        const DayTime when = *SplitDayCount(r.dt);
        const QDate date = QDate::fromJulianDay(when.day + kJulianDayOfDayZero);
        const QTime time = QTime::fromMSecsSinceStartOfDay(when.msOfDay);
        // The offset must name the wall-clock time truly: that moment in UTC is this wall-clock
        // time here. In the hour the clocks go back both offsets do (the record keeps wall-clock
        // time only); in the hour they skip, none does, and the day's noon gives it.
        const QDateTime hour(date, QTime(time.hour(), 0), Qt::LocalTime);
        const QDateTime local = QDateTime(date, time, Qt::UTC).addSecs(-offset * 60).toLocalTime();
        const bool offsetTrue = hour.isValid()
                                    ? local.date() == date && local.time() == time && local.offsetFromUtc() == offset * 60
                                    : offset * 60 == QDateTime(date, QTime(12, 0), Qt::LocalTime).offsetFromUtc();
        summerOffsets += offset == 120;
        const bool rhValid = r.RH >= 0 && r.RH <= 9999, tValid = r.T >= -9999 && r.T <= 9999;
        const bool ok = QDate(y, mo, d) == date && QTime(h, mi, s, ms) == time && offsetTrue
                        && sameValue(rh, rhValid, r.RH / 100.0) && sameValue(t, tValid, r.T / 100.0)
                        && sameValue(dew, rhValid && tValid, std::llround(DewPoint(r.RH / 100.0, r.T / 100.0) * 100) / 100.0)
                        && sameValue(abs, rhValid && tValid, std::llround(AbsoluteHumidity(r.RH / 100.0, r.T / 100.0) * 10) / 10.0);
        if (!ok && ++wrong <= 5)
            ADD_FAILURE() << "row " << rows << ": " << line;
    }
    std::fclose(in);
    EXPECT_EQ(rows, count);
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(summerOffsets, count / 3) << "summer time is in the data";
    std::printf("python3 read %d rows, %d differ\n", rows, wrong);
}

}  // namespace
