// The readings as CSV for analysis: every record of the interval, local time with its offset,
// decimal points whatever the locale, empty fields for invalid values.
#include "report/date_time.h"
#include "report/humidity.h"
#include "views/csv_export.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

double at(QDate date, int h, int mi, int s, int ms)
{
    return DayCountOf(date, ((h * 60 + mi) * 60 + s) * 1000 + ms);
}

QString offsetText(QDate date, int h)
{
    const int seconds = QDateTime(date, QTime(h, 0), Qt::LocalTime).offsetFromUtc();
    const int minutes = std::abs(seconds) / 60;
    return QStringLiteral("%1%2:%3").arg(seconds < 0 ? '-' : '+').arg(minutes / 60, 2, 10, QChar('0')).arg(minutes % 60, 2, 10, QChar('0'));
}

}  // namespace

TEST(CsvExport, EveryRecordOfTheIntervalWithItsOwnTime)
{
    const QDate day(2026, 12, 10);
    ReportState state;
    state.ReportData = {
        {at(day, 9, 59, 59, 999), 4000, 2000},   // before the interval
        {at(day, 10, 0, 5, 120), 4525, -525},
        {at(day, 10, 0, 40, 0), 4525, -525},      // same minute: a row of its own
        {at(day, 10, 1, 0, 7), 10001, 2150},      // humidity out of range
        {at(day, 10, 2, 0, 0), 5000, -10000},     // temperature out of range
        {NAN, 5000, 2000},                        // no date
        {at(day, 10, 3, 59, 999), 0, 0},          // last minute included
        {at(day, 10, 4, 0, 0), 5000, 2000},       // after it
    };
    state.ReportCount = state.ReportData.size();
    state.IntervalStart = at(day, 10, 0, 0, 0);
    state.IntervalEnd = at(day, 10, 3, 30, 0);

    const QStringList lines = QString::fromUtf8(ReportCsv(state)).split("\r\n");
    const QString off = offsetText(day, 10);
    const QString dew = QString::number(DewPoint(45.25, -5.25), 'f', 2);
    const QString abs = QString::number(AbsoluteHumidity(45.25, -5.25), 'f', 1);
    const QStringList expected = {
        "time,relative_humidity,temperature,dew_point,absolute_humidity",
        "2026-12-10T10:00:05.120" + off + ",45.25,-5.25," + dew + "," + abs,
        "2026-12-10T10:00:40.000" + off + ",45.25,-5.25," + dew + "," + abs,
        "2026-12-10T10:01:00.007" + off + ",,21.50,,",
        "2026-12-10T10:02:00.000" + off + ",50.00,,,",
        "2026-12-10T10:03:59.999" + off + ",0.00,0.00," + QString::number(DewPoint(0, 0), 'f', 2) + ",0.0",
        "",
    };
    EXPECT_EQ(lines, expected);
}

// A report in the window's locale with the decimal comma still gets decimal points; an empty
// report or an interval that is no date gives the header alone.
TEST(CsvExport, HeaderAloneWithoutRecordsAndAFileWritten)
{
    ReportState state;
    state.IntervalStart = 0;
    state.IntervalEnd = 1e6;
    EXPECT_EQ(ReportCsv(state), QByteArray(kCsvHeader));
    state.ReportData = {{DayCountOf(QDate(2026, 1, 1), 0), 100, 100}};
    state.ReportCount = 1;
    state.IntervalEnd = NAN;
    EXPECT_EQ(ReportCsv(state), QByteArray(kCsvHeader));

    state.IntervalEnd = 1e6;
    QTemporaryDir dir;
    const QString path = dir.filePath("readings.csv");
    SaveToCSV(path, state);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().startsWith(QByteArray(kCsvHeader) + "2026-01-01T00:00:00.000"));
}
