// What the graph page draws around its charts: the rewritten axis labels, the part dividers,
// and the thinning of large series that keeps extremes and colours.
#include "report/date_time.h"
#include "views/axis_ticks.h"
#include "views/chart_labels.h"
#include "views/part_dividers.h"
#include "views/series_decimation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

namespace {

TEST(TimeAxisLabel, HoursAndMinutesOverTheDate)
{
    const QString formatted = DateTimeLabelText(DayCountOf(QDate(2013, 6, 15), (14 * 3600 + 30 * 60 + 59) * 1000), ':');
    EXPECT_EQ(TimeAxisLabel(formatted), QStringLiteral("14:30\r15.06.13"));
    EXPECT_EQ(TimeAxisLabel(QStringLiteral("01.02.03|04.05.06")), QStringLiteral("04.05\r01.02.03"));
    EXPECT_EQ(TimeAxisLabel(QStringLiteral("01.02.03|04")), QStringLiteral("04\r01.02.03"));
    EXPECT_EQ(TimeAxisLabel(QString()), QStringLiteral("\r"));
}

TEST(ValueAxisLabel, AllowedRangesByChartAndDisplayMode)
{
    struct Case {
        GraphChart chart;
        int mode;
        const char* text;
        bool kept;
    };
    const Case cases[] = {
        {GraphChart::Humidity, 0, "0", true},      {GraphChart::Humidity, 0, "100", true},
        {GraphChart::Humidity, 0, "110", false},   {GraphChart::Humidity, 0, "120", false},
        {GraphChart::Humidity, 0, "-10", false},   {GraphChart::Humidity, 0, "-0,01", false},
        {GraphChart::Humidity, 0, "99,99", true},  {GraphChart::Humidity, 2, "100", true},
        {GraphChart::Humidity, 2, "100,01", false}, {GraphChart::Humidity, 2, "-5", false},
        {GraphChart::Humidity, 1, "-60", true},    {GraphChart::Humidity, 1, "60", true},
        {GraphChart::Humidity, 1, "-60,5", false}, {GraphChart::Humidity, 1, "80", false},
        {GraphChart::Humidity, 1, "-20", true},    {GraphChart::Humidity, 7, "-20", false},
        {GraphChart::Temperature, 1, "-40", true}, {GraphChart::Temperature, 0, "50", true},
        {GraphChart::Temperature, 0, "-45", false}, {GraphChart::Temperature, 2, "50,5", false},
        {GraphChart::Temperature, 0, "-10000", false}, {GraphChart::Temperature, 0, "0", true},
    };
    for (const Case& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(ValueAxisLabel(c.chart, c.mode, text), c.kept ? text : QString())
            << int(c.chart) << " mode " << c.mode << " " << c.text;
    }
}

TEST(PartDividers, EqualStripsRoundedHalvesToEven)
{
    struct Case {
        bool enabled;
        int parts, left, width;
        std::vector<int> xs;
    };
    const Case cases[] = {
        {true, 7, 40, 700, {140, 240, 340, 440, 540, 640}},
        {true, 7, 0, 100, {14, 29, 43, 57, 71, 86}},
        {true, 2, 40, 701, {390}},   // 390.5 -> 390
        {true, 2, 41, 701, {392}},   // 391.5 -> 392
        {true, 4, 0, 10, {2, 5, 8}}, // 2.5 -> 2, 7.5 -> 8
        {false, 7, 40, 700, {}},
        {true, 1, 40, 700, {}},
        {true, 0, 40, 700, {}},
        {true, 99, 0, 990, {}},  // filled below
    };
    for (const Case& c : cases) {
        std::vector<int> expected = c.xs;
        if (c.parts == 99)
            for (int i = 1; i < 99; ++i)
                expected.push_back(i * 10);
        EXPECT_EQ(PartDividerPositions(c.enabled, c.parts, c.left, c.width), expected)
            << c.parts << " parts over " << c.left << "+" << c.width;
    }
}

// Rows of a series: minutes 0, 1, 2 … with the given values and colour codes.
std::vector<ReportRow> rowsOf(const std::vector<double>& values, const std::vector<uint8_t>& colours = {})
{
    std::vector<ReportRow> rows;
    for (std::size_t i = 0; i < values.size(); ++i)
        rows.push_back({1000 + i / 1440.0, values[i], 0, 0, colours.empty() ? uint8_t(0) : colours[i]});
    return rows;
}

class Decimation : public ::testing::Test {
protected:
    // A noisy series of a million points with rare spikes of another colour.
    void SetUp() override
    {
        std::mt19937 rng(7);
        std::normal_distribution<double> noise(50, 5);
        std::vector<double> values(kCount);
        std::vector<uint8_t> colours(kCount, kPointInside);
        for (std::size_t i = 0; i < kCount; ++i)
            values[i] = noise(rng);
        for (std::size_t i : {1234u, 500000u, 999000u}) {
            values[i] = 99;
            colours[i] = kPointAbove;
        }
        values[777777] = -20;
        colours[777778] = kPointBelow;  // a colour change on a point that is no extreme
        rows = rowsOf(values, colours);
    }
    static constexpr std::size_t kCount = 1'000'000;
    std::vector<ReportRow> rows;
};

TEST_F(Decimation, KeepsExtremesColoursAndEndsOfEveryColumn)
{
    const ChartSeries series(rows, ChartSeries::Humidity);
    const int columns = 800;
    const double xMin = series.x(0), xMax = series.x(kCount - 1);
    const std::vector<std::size_t> kept = DecimateSeries(series, xMin, xMax, columns);
    ASSERT_LE(kept.size(), std::size_t(columns + 1) * 8);
    EXPECT_TRUE(std::is_sorted(kept.begin(), kept.end()));
    EXPECT_EQ(std::adjacent_find(kept.begin(), kept.end()), kept.end()) << "an index kept twice";
    const std::set<std::size_t> set(kept.begin(), kept.end());
    for (std::size_t i : {0u, 1234u, 500000u, 777777u, 777778u, 999000u, unsigned(kCount - 1)})
        EXPECT_TRUE(set.count(i)) << "point " << i << " dropped";

    // Per column: the lowest and highest value and the set of colours are those of all points.
    struct Stat {
        double lo = 1e9, hi = -1e9;
        std::set<Rgb> colours;
    };
    std::vector<Stat> all(columns + 1), thin(columns + 1);
    const auto column = [&](std::size_t i) {
        return std::min(columns, int((series.x(i) - xMin) * columns / (xMax - xMin)));
    };
    const auto add = [&](std::vector<Stat>& stats, std::size_t i) {
        Stat& s = stats[column(i)];
        s.lo = std::min(s.lo, series.y(i));
        s.hi = std::max(s.hi, series.y(i));
        s.colours.insert(series.colour(i));
    };
    for (std::size_t i = 0; i < kCount; ++i)
        add(all, i);
    for (std::size_t i : kept)
        add(thin, i);
    for (int c = 0; c <= columns; ++c) {
        EXPECT_EQ(all[c].lo, thin[c].lo) << "column " << c;
        EXPECT_EQ(all[c].hi, thin[c].hi) << "column " << c;
        EXPECT_EQ(all[c].colours, thin[c].colours) << "column " << c;
    }
}

TEST_F(Decimation, ZoomedRangeKeepsItsNeighboursOutside)
{
    const ChartSeries series(rows, ChartSeries::Humidity);
    // 100 points visible over 800 columns: every one is kept, with one neighbour each side.
    const std::vector<std::size_t> kept = DecimateSeries(series, series.x(5000), series.x(5099), 800);
    ASSERT_EQ(kept.size(), 102u);
    EXPECT_EQ(kept.front(), 4999u);
    EXPECT_EQ(kept.back(), 5100u);
    // A range between two points keeps just those two.
    const std::vector<std::size_t> between =
        DecimateSeries(series, series.x(10) + 0.1 / 1440, series.x(10) + 0.2 / 1440, 800);
    EXPECT_EQ(between, (std::vector<std::size_t>{10, 11}));
}

TEST(DecimationSmall, EdgesOfTheSeries)
{
    const std::vector<ReportRow> none;
    EXPECT_TRUE(DecimateSeries(ChartSeries(none, ChartSeries::Temperature), 0, 1, 100).empty());
    const std::vector<ReportRow> rows = rowsOf({1, 2, 3});
    const ChartSeries s(rows, ChartSeries::Humidity);
    EXPECT_EQ(DecimateSeries(s, s.x(0), s.x(2), 1), (std::vector<std::size_t>{0, 1, 2}));
    EXPECT_EQ(DecimateSeries(s, s.x(2) + 1, s.x(2) + 2, 10), (std::vector<std::size_t>{2}));
    EXPECT_EQ(DecimateSeries(s, s.x(0) - 2, s.x(0) - 1, 10), (std::vector<std::size_t>{0}));
    EXPECT_TRUE(DecimateSeries(s, 5, 4, 10).empty()) << "a reversed range shows nothing";
}

}  // namespace
