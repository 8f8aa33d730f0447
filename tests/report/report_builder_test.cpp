// Report building: validity, carry-forward, the interval, the table texts, chart points and
// their colours, the title and statistics, the wait window, and large or damaged reports.
#include "report/date_time.h"
#include "report/humidity.h"
#include "report/recording_progress.h"
#include "report/report_builder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

double at(int h, int mi, double seconds = 0)
{
    return DayCountOf(QDate(2024, 3, 5), 0) + (h * 3600 + mi * 60 + seconds) / 86400.0;
}

ReportState stateOf(std::vector<MeasurementRecord> records, double from = 0, double to = 1e6)
{
    ReportState s;
    s.ReportData = QList<MeasurementRecord>(records.begin(), records.end());
    s.ReportCount = s.ReportData.size();
    s.IntervalStart = from;
    s.IntervalEnd = to;
    s.DeviceNumberText = QStringLiteral("1A2B");
    return s;
}

ReportSettings settings(int mode = kRelativeHumidity)
{
    ReportSettings s;
    s.displayMode = mode;
    s.separators = DateTimeSeparators{QLatin1Char('.'), QLatin1Char(':')};
    return s;
}

QStringList row(const ReportTable& t, qsizetype r)
{
    QStringList cells;
    for (int c = 0; c < 4; ++c)
        cells << t.cellText(r, c);
    return cells;
}

TEST(BuildReport, NoRecordsGivesTheNoDataRow)
{
    ReportState state = stateOf({});
    state.DeviceNumberText = QStringLiteral("1A2B");
    const ReportTable t = BuildReport(state, settings(), true);
    EXPECT_EQ(t.rowCount(), 2);
    EXPECT_EQ(row(t, 0), (QStringList{QStringLiteral("Дата"), QStringLiteral("Время"), QStringLiteral("RH, %"),
                                      QStringLiteral("Т, °C")}));
    EXPECT_EQ(row(t, 1), (QStringList{QStringLiteral("Нет"), QStringLiteral("данных"), QStringLiteral(" "),
                                      QStringLiteral(" ")}));
    EXPECT_EQ(t.humiditySeries().size(), 0u);
    EXPECT_EQ(t.temperatureSeries().size(), 0u);
    EXPECT_EQ(t.humidityMinText(), QStringLiteral("100"));
    EXPECT_EQ(t.humidityMaxText(), QStringLiteral("-100"));
    EXPECT_EQ(t.temperatureMinText(), QStringLiteral("100"));
    EXPECT_EQ(t.temperatureMaxText(), QStringLiteral("-100"));
    EXPECT_EQ(t.title(), QStringLiteral("Термогигрометр №1A2B - "));
    EXPECT_EQ(ReportTable().rowCount(), 2) << "an unbuilt table shows the no-data row too";
}

TEST(BuildReport, TitleCarriesDeviceAndComment)
{
    ReportState state = stateOf({{at(10, 0), 1, 1}});
    state.DeviceNumberText = QStringLiteral("hall");
    state.ReportComment = QStringLiteral("\"Склад 1\"");
    EXPECT_EQ(BuildReport(state, settings(), false).title(), QStringLiteral("Термогигрометр №hall - \"Склад 1\""));
}

TEST(BuildReport, ValidityBoundsAndTableFormat)
{
    struct Case {
        int16_t rh, t;
        const char* humidity;
        const char* temperature;
    };
    const Case cases[] = {
        {9999, -9999, "100,0", "-100,0"}, {10000, -10000, "---", "---"}, {0, 9999, "0,0", "100,0"},
        {-1, 10000, "---", "---"},        {4525, -525, "45,3", "-5,3"},  {4525, 2525, "45,3", "25,3"},
        {4525, -4, "45,3", "0,0"},        {4525, -5, "45,3", "-0,1"},    {-32768, 32767, "---", "---"},
    };
    for (const Case& c : cases) {
        const ReportTable t = BuildReport(stateOf({{at(10, 15, 59), c.rh, c.t}}), settings(), false);
        ASSERT_EQ(t.rowCount(), 2);
        EXPECT_EQ(row(t, 1), (QStringList{QStringLiteral("05.03.24"), QStringLiteral("10:15"),
                                          QLatin1String(c.humidity), QLatin1String(c.temperature)}))
            << c.rh << ' ' << c.t;
    }
}

TEST(BuildReport, InvalidReadingsCarryTheLastValidValueForward)
{
    const ReportTable t = BuildReport(stateOf({{at(10, 0), 5000, 2000}, {at(10, 1), 12000, -12000}, {at(10, 2), 5100, 2100}}),
                                      settings(), false);
    ASSERT_EQ(t.rowCount(), 4);
    EXPECT_EQ(row(t, 2)[2], QStringLiteral("---"));
    EXPECT_EQ(row(t, 2)[3], QStringLiteral("---"));
    EXPECT_EQ(t.humiditySeries().y(1), 50.0) << "the point has the carried value";
    EXPECT_EQ(t.temperatureSeries().y(1), 20.0);
    EXPECT_EQ(t.rows()[1].flags, kHumidityInvalid | kTemperatureInvalid);
    EXPECT_EQ(t.humidityMaxText(), QStringLiteral("51"));
    EXPECT_EQ(t.humidityMinText(), QStringLiteral("50"));

    // An invalid first reading contributes 0.
    const ReportTable first = BuildReport(stateOf({{at(10, 0), -5, 2000}, {at(10, 1), 4000, 2000}}), settings(), false);
    EXPECT_EQ(row(first, 1)[2], QStringLiteral("---"));
    EXPECT_EQ(first.humiditySeries().y(0), 0.0);
    EXPECT_EQ(first.humidityMinText(), QStringLiteral("0"));
    EXPECT_EQ(first.humidityMaxText(), QStringLiteral("40"));
}

TEST(BuildReport, IntervalIncludesBothEndMinutes)
{
    const std::vector<MeasurementRecord> records = {
        {at(10, 14, 59), 1000, 100}, {at(10, 15, 0), 2000, 200}, {at(10, 15, 59), 3000, 300}, {at(10, 16, 0), 4000, 400}};
    const ReportTable t = BuildReport(stateOf(records, at(10, 15, 42), at(10, 15, 10)), settings(), false);
    ASSERT_EQ(t.rowCount(), 3);
    EXPECT_EQ(row(t, 1)[2], QStringLiteral("20,0"));
    EXPECT_EQ(row(t, 2)[2], QStringLiteral("30,0"));
    EXPECT_EQ(t.humidityMinText(), QStringLiteral("10")) << "statistics cover every record";
    EXPECT_EQ(t.humidityMaxText(), QStringLiteral("40"));
    // Nothing inside the interval: only the header row.
    const ReportTable none = BuildReport(stateOf(records, at(11, 0), at(10, 0)), settings(), false);
    EXPECT_EQ(none.rowCount(), 1);
    EXPECT_FALSE(none.isNoData());
    EXPECT_EQ(none.humidityMaxText(), QStringLiteral("40"));
}

TEST(BuildReport, DisplayModesConvertTheHumidityColumnOnly)
{
    const std::vector<MeasurementRecord> records = {{at(10, 0), 5000, 2000}, {at(10, 1), 8000, -1000}};
    const ReportTable rh = BuildReport(stateOf(records), settings(kRelativeHumidity), false);
    const ReportTable dew = BuildReport(stateOf(records), settings(kDewPoint), false);
    const ReportTable abs = BuildReport(stateOf(records), settings(kAbsoluteHumidity), false);
    const ReportTable other = BuildReport(stateOf(records), settings(7), false);
    EXPECT_EQ(dew.cellText(0, 2), QStringLiteral("Tт.р., °C"));
    EXPECT_EQ(abs.cellText(0, 2), QStringLiteral("A, г/куб.м"));
    EXPECT_EQ(other.cellText(0, 2), QStringLiteral("RH, %"));
    EXPECT_EQ(row(dew, 1)[2], QStringLiteral("9,3"));
    EXPECT_EQ(row(dew, 2)[2], QStringLiteral("-11,4"));
    EXPECT_EQ(row(abs, 1)[2], QStringLiteral("8,8"));
    EXPECT_EQ(row(abs, 2)[2], QStringLiteral("1,7"));
    EXPECT_EQ(row(other, 1)[2], QStringLiteral("50,0"));
    for (const ReportTable* t : {&rh, &dew, &abs})
        EXPECT_EQ(row(*t, 2)[3], QStringLiteral("-10,0"));
    EXPECT_EQ(dew.statistics().humidityMax, DewPoint(50, 20));
    EXPECT_EQ(dew.statistics().humidityMin, DewPoint(80, -10));
    EXPECT_EQ(dew.humiditySeries().y(0), DewPoint(50, 20));
    // Absolute humidity above 100 leaves the minimum at its starting 100.
    const ReportTable hot = BuildReport(stateOf({{at(10, 0), 9999, 9999}}), settings(kAbsoluteHumidity), false);
    EXPECT_EQ(hot.humidityMinText(), QStringLiteral("100"));
    EXPECT_EQ(hot.humidityMaxText(), QStringLiteral("765,1"));
}

TEST(BuildReport, ChartPointColoursFollowTheThresholds)
{
    const std::vector<MeasurementRecord> records = {{at(10, 0), 3000, -4000}, {at(10, 1), 2990, -4010}, {at(10, 2), 6010, 6010}};
    ReportSettings s = settings();
    s.minHumidityText = QStringLiteral("+30,0");
    s.maxHumidityText = QStringLiteral("+60,0");
    s.minTemperatureText = QStringLiteral("-4 , ");
    s.maxTemperatureText = QStringLiteral("+60,0");
    s.colorChart = true;
    const ReportTable t = BuildReport(stateOf(records), s, false);
    EXPECT_EQ(t.thresholds().humidityLow, 30);
    EXPECT_EQ(t.thresholds().temperatureLow, -40);
    const ChartSeries h = t.humiditySeries(), temp = t.temperatureSeries();
    ASSERT_EQ(h.size(), 3u);
    EXPECT_EQ(h.colour(0), kGreen) << "a value on the threshold is inside";
    EXPECT_EQ(h.colour(1), kBlue);
    EXPECT_EQ(h.colour(2), kRed);
    EXPECT_EQ(temp.colour(0), kGreen);
    EXPECT_EQ(temp.colour(1), kBlue);
    EXPECT_EQ(temp.colour(2), kRed);
    EXPECT_EQ(h.x(1), at(10, 1));
    s.colorChart = false;
    const ReportTable plain = BuildReport(stateOf(records), s, false);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(plain.humiditySeries().colour(i), kBlack);
    // Threshold fields that hold no number give 0.
    s.minHumidityText = QStringLiteral("abc");
    s.maxHumidityText = QStringLiteral("+  , ");
    EXPECT_EQ(BuildReport(stateOf(records), s, false).thresholds().humidityLow, 0);
    EXPECT_EQ(BuildReport(stateOf(records), s, false).thresholds().humidityHigh, 0);
}

// A build meets thousands of new dew points; they are converted after the rows on all cores
// and put in. Every row, colour and statistic must be what converting record by record gives,
// whether the conversions are kept from another build or not.
TEST(BuildReport, ManyNewDewPointsAreTheValuesOfEachRecord)
{
    std::vector<MeasurementRecord> records;
    for (int i = 0; i < 30000; ++i) {
        MeasurementRecord r{at(0, 0) + i / 1440.0, int16_t((i * 37) % 10000), int16_t(((i * 53) % 12000) - 4000)};
        if (i % 97 == 0)
            r.RH = 12000;  // invalid: the last valid humidity goes on
        if (i % 89 == 0)
            r.T = -12000;
        if (i % 1013 == 0)
            r.dt = NAN;  // no date: counts nowhere
        records.push_back(r);
    }
    // The interval leaves out the first and last hundred records; they still count for the
    // statistics.
    const ReportState state = stateOf(records, at(0, 0) + 100 / 1440.0, at(0, 0) + 29899 / 1440.0);
    ReportSettings s = settings(kDewPoint);
    s.colorChart = true;
    s.minHumidityText = QStringLiteral("-10,0");
    s.maxHumidityText = QStringLiteral("+25,0");

    struct Expected {
        double minute;
        double dewPoint;
        uint8_t colour;
    };
    std::vector<Expected> rows;
    double low = 100, high = -100;
    int16_t rh = 0, t = 0;
    for (int i = 0; i < 30000; ++i) {
        const MeasurementRecord& r = records[std::size_t(i)];
        if (std::isnan(r.dt))
            continue;
        if (r.RH >= 0 && r.RH <= 9999)
            rh = r.RH;
        if (r.T >= -9999 && r.T <= 9999)
            t = r.T;
        const double d = DewPoint(rh / 100.0, t / 100.0);
        low = std::min(low, d);
        high = std::max(high, d);
        if (i >= 100 && i <= 29899)
            rows.push_back({TruncToMinute(r.dt), d, uint8_t(d < -10 ? kPointBelow : d > 25 ? kPointAbove : kPointInside)});
    }

    const auto check = [&](const ReportTable& table, const char* how) {
        SCOPED_TRACE(how);
        ASSERT_EQ(table.rows().size(), rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const ReportRow& got = table.rows()[i];
            ASSERT_EQ(got.minute, rows[i].minute) << i;
            ASSERT_EQ(std::memcmp(&got.humidity, &rows[i].dewPoint, sizeof(double)), 0)
                << i << ": " << got.humidity << " instead of " << rows[i].dewPoint;
            ASSERT_EQ(got.colours & 3, rows[i].colour) << i;
        }
        EXPECT_EQ(table.statistics().humidityMin, low);
        EXPECT_EQ(table.statistics().humidityMax, high);
    };
    check(BuildReport(state, s, false), "own conversions");
    ConversionCache cache;
    s.cache = &cache;
    // Some pairs known from a build of a part of the report, the rest new.
    BuildReport(stateOf(std::vector<MeasurementRecord>(records.begin(), records.begin() + 5000)), s, false);
    check(BuildReport(state, s, false), "some conversions kept");
    check(BuildReport(state, s, false), "all conversions kept");
}

TEST(BuildReport, UndatableRecordIsSkippedAndTheRestShown)
{
    const ReportTable t = BuildReport(stateOf({{at(10, 0), 1000, 100}, {NAN, 9000, 9000}, {1e300, 9000, 9000},
                                               {at(10, 1), 2000, 200}}),
                                      settings(), false);
    ASSERT_EQ(t.rowCount(), 3) << "both readings after the damaged ones are shown";
    EXPECT_EQ(row(t, 2)[2], QStringLiteral("20,0"));
    EXPECT_EQ(t.humidityMaxText(), QStringLiteral("20")) << "skipped records count nowhere";
}

TEST(BuildReport, WaitWindowOnlyWhenNotFromAReading)
{
    const std::vector<MeasurementRecord> records = {{at(10, 0), 1, 1}, {at(10, 1), 1, 1}, {at(10, 2), 1, 1}, {at(10, 3), 1, 1}};
    RecordingProgress fromButton;
    BuildReport(stateOf(records), settings(), false, &fromButton);
    EXPECT_EQ(fromButton.events, (QStringList{QStringLiteral("text Подождите, идет создание отчета..."),
                                              QStringLiteral("max 100"), QStringLiteral("show"), QStringLiteral("hide")}));
    EXPECT_EQ(fromButton.pumps, 1 + 4 + 1) << "before the loop, after each record, after the loop";
    EXPECT_EQ(fromButton.lastPosition, 75);

    RecordingProgress fromReading;
    BuildReport(stateOf(records), settings(), true, &fromReading);
    EXPECT_FALSE(fromReading.events.contains(QStringLiteral("show")));
    EXPECT_EQ(fromReading.pumps, 2) << "only before and after the loop";

    RecordingProgress empty;
    BuildReport(stateOf({}), settings(), false, &empty);
    EXPECT_TRUE(empty.events.isEmpty()) << "no records, no wait window";
}

TEST(BuildReport, AReadingDuringTheBuildDoesNotDisturbIt)
{
    // Messages run between records; a reading may reload the report meanwhile.
    std::vector<MeasurementRecord> records;
    for (int i = 0; i < 50; ++i)
        records.push_back({at(10, i), int16_t(1000 + i), 100});
    ReportState state = stateOf(records);
    RecordingProgress progress;
    int pumps = 0;
    progress.onPump = [&] {
        if (++pumps == 10) {
            state.ReportData = {MeasurementRecord{at(11, 0), 9000, 9000}};
            state.ReportCount = 1;
            BuildReport(state, settings(), true);  // the reading's own build
        }
    };
    const ReportTable t = BuildReport(state, settings(), false, &progress);
    ASSERT_EQ(t.rowCount(), 51);
    EXPECT_EQ(row(t, 50)[2], QStringLiteral("10,5"));
}

TEST(BuildReport, MoreThanAMillionRowsFit)
{
    std::vector<MeasurementRecord> records(1'000'100);
    for (std::size_t i = 0; i < records.size(); ++i)
        records[i] = MeasurementRecord{43831.0 + double(i) / 1440.0, int16_t(4000 + i % 100), int16_t(2000)};
    const ReportTable t = BuildReport(stateOf(records), settings(), false);
    EXPECT_EQ(t.rowCount(), 1'000'101);
    EXPECT_EQ(t.cellText(1'000'100, 1), TimeText(43831.0 + 1'000'099.0 / 1440.0, QLatin1Char(':')));
    EXPECT_LT(t.memoryBytes(), 64u * 1024 * 1024);
}

}  // namespace
