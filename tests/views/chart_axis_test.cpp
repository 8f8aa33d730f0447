// Chart axes: manual and automatic ranges with their refusals, tick steps of value and
// date-time axes, and the two label formats.
#include "report/date_time.h"
#include "views/axis_ticks.h"
#include "views/chart_labels.h"
#include "views/chart_axis.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

double at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    return DayCountOf(QDate(y, mo, d), ((h * 60 + mi) * 60 + s) * 1000);
}

ChartAxis valueAxis()
{
    return ChartAxis(ChartAxis::Position::Left, ChartAxis::Kind::Value);
}

TEST(ChartAxis, RefusedValuesChangeNothingAndNameTheirEnd)
{
    ChartAxis axis = valueAxis();
    axis.setMinMax(10, 20);
    try {
        axis.setMinimum(21);
        FAIL() << "minimum above maximum accepted";
    } catch (const AxisRangeError& e) {
        EXPECT_STREQ(e.what(), "Axis Minimum Value must be <= Maximum");
    }
    try {
        axis.setMaximum(9.99);
        FAIL() << "maximum below minimum accepted";
    } catch (const AxisRangeError& e) {
        EXPECT_STREQ(e.what(), "Axis Maximum Value must be >= Minimum");
    }
    EXPECT_EQ(axis.minimum(), 10);
    EXPECT_EQ(axis.maximum(), 20);
    // Ends equal to the other end are allowed.
    axis.setMinimum(20);
    axis.setMaximum(20);
    EXPECT_EQ(axis.minimum(), 20);
    EXPECT_EQ(axis.maximum(), 20);
}

TEST(ChartAxis, RefusalOnAnAutomaticAxisKeepsItAutomatic)
{
    ChartAxis axis = valueAxis();
    axis.setDataRange(40, 60);
    EXPECT_THROW(axis.setMinimum(61), AxisRangeError);
    EXPECT_TRUE(axis.automatic());
    EXPECT_THROW(axis.setMaximum(39), AxisRangeError);
    EXPECT_TRUE(axis.automatic());
    // An accepted end switches to manual and keeps the other end shown until then.
    axis.setMaximum(80);
    EXPECT_FALSE(axis.automatic());
    EXPECT_EQ(axis.minimum(), 40);
    EXPECT_EQ(axis.maximum(), 80);
    axis.setDataRange(0, 1);
    EXPECT_EQ(axis.minimum(), 40) << "a manual axis does not follow its data";
}

TEST(ChartAxis, WideRangeFirstThenAnyLimitsOneAfterTheOther)
{
    // The graph setup's way: -10000..10000, then minimum and maximum in turn.
    ChartAxis axis = valueAxis();
    axis.setDataRange(20, 25);
    axis.setMinimum(-10000);
    axis.setMaximum(10000);
    axis.setMinimum(80);
    EXPECT_THROW(axis.setMaximum(20), AxisRangeError);
    EXPECT_EQ(axis.minimum(), 80);
    EXPECT_EQ(axis.maximum(), 10000);
}

TEST(ChartAxis, SetMinMaxSwapsAndAutomaticReturnsToTheData)
{
    ChartAxis axis(ChartAxis::Position::Bottom, ChartAxis::Kind::DateTime);
    axis.setDataRange(at(2013, 6, 15, 10), at(2013, 6, 15, 18));
    axis.setMinMax(at(2013, 6, 15, 14), at(2013, 6, 15, 12));
    EXPECT_FALSE(axis.automatic());
    EXPECT_EQ(axis.minimum(), at(2013, 6, 15, 12));
    EXPECT_EQ(axis.maximum(), at(2013, 6, 15, 14));
    axis.setAutomatic(true);
    EXPECT_EQ(axis.minimum(), at(2013, 6, 15, 10));
    EXPECT_EQ(axis.maximum(), at(2013, 6, 15, 18));
}

TEST(ChartAxis, AutomaticRangeWithoutWidth)
{
    struct Case {
        ChartAxis::Kind kind;
        bool data;
        double value;
        double min, max;
    };
    const double noon = at(2020, 1, 1, 12);
    const Case cases[] = {
        {ChartAxis::Kind::Value, false, 0, -1, 1},
        {ChartAxis::Kind::Value, true, 45.5, 44.5, 46.5},
        {ChartAxis::Kind::DateTime, true, noon, noon - 1.0 / 24, noon + 1.0 / 24},
        {ChartAxis::Kind::DateTime, false, 0, -1.0 / 24, 1.0 / 24},
    };
    for (const Case& c : cases) {
        ChartAxis axis(ChartAxis::Position::Left, c.kind);
        if (c.data)
            axis.setDataRange(c.value, c.value);
        EXPECT_DOUBLE_EQ(axis.minimum(), c.min) << c.value;
        EXPECT_DOUBLE_EQ(axis.maximum(), c.max) << c.value;
        EXPECT_LT(axis.minimum(), axis.maximum());
    }
}

TEST(ValueTicks, NiceStepsWithinTheRange)
{
    struct Case {
        double min, max;
        int maxTicks;
        std::vector<double> ticks;
    };
    const Case cases[] = {
        {0, 100, 11, {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100}},
        {0, 100, 6, {0, 20, 40, 60, 80, 100}},
        {0, 100, 5, {0, 50, 100}},
        {38, 62, 10, {40, 45, 50, 55, 60}},
        {-2.8, 54.8, 7, {0, 10, 20, 30, 40, 50}},
        {19.5, 25.5, 8, {20, 21, 22, 23, 24, 25}},
        {0.1, 0.3, 3, {0.1, 0.2, 0.3}},
        {-0.15, 0.15, 4, {-0.1, 0, 0.1}},
        {-10000, 10000, 5, {-10000, -5000, 0, 5000, 10000}},
    };
    for (const Case& c : cases) {
        const std::vector<double> ticks = ValueAxisTicks(c.min, c.max, c.maxTicks);
        ASSERT_EQ(ticks.size(), c.ticks.size()) << c.min << ".." << c.max;
        for (std::size_t i = 0; i < ticks.size(); ++i)
            EXPECT_NEAR(ticks[i], c.ticks[i], 1e-12) << c.min << ".." << c.max << " #" << i;
        EXPECT_FALSE(ticks.empty() && std::signbit(ticks.front()));
    }
}

TEST(DateTimeTicks, WholeUnitsOfTheSmallestFittingStep)
{
    struct Case {
        double min, max;
        int maxTicks;
        std::vector<double> ticks;
    };
    const Case cases[] = {
        // Labels show hours and minutes: no step below a minute, so a few seconds hold no tick.
        {at(2013, 6, 15, 14, 30, 1), at(2013, 6, 15, 14, 30, 4), 10, {}},
        {at(2013, 6, 15, 14, 29, 50), at(2013, 6, 15, 14, 32, 4), 10,
         {at(2013, 6, 15, 14, 30), at(2013, 6, 15, 14, 31), at(2013, 6, 15, 14, 32)}},
        {at(2013, 6, 15, 14, 7), at(2013, 6, 15, 14, 52), 4,
         {at(2013, 6, 15, 14, 15), at(2013, 6, 15, 14, 30), at(2013, 6, 15, 14, 45)}},
        {at(2013, 6, 15, 1, 10), at(2013, 6, 15, 23, 0), 4,
         {at(2013, 6, 15, 6), at(2013, 6, 15, 12), at(2013, 6, 15, 18)}},
        {at(2013, 6, 14, 20), at(2013, 6, 17, 3), 4, {at(2013, 6, 15), at(2013, 6, 16), at(2013, 6, 17)}},
        {at(2013, 1, 20), at(2013, 7, 2), 3, {at(2013, 3, 1), at(2013, 5, 1), at(2013, 7, 1)}},
        {at(2009, 5, 1), at(2013, 7, 2), 3, {at(2010, 1, 1), at(2012, 1, 1)}},
    };
    for (const Case& c : cases) {
        const std::vector<double> ticks = DateTimeAxisTicks(c.min, c.max, c.maxTicks);
        ASSERT_EQ(ticks.size(), c.ticks.size()) << DateTimeLabelText(c.min, ':').toStdString();
        for (std::size_t i = 0; i < ticks.size(); ++i)
            EXPECT_NEAR(ticks[i], c.ticks[i], 1e-9) << DateTimeLabelText(ticks[i], ':').toStdString();
    }
}

TEST(DateTimeTicks, NeighbouringLabelsNeverRepeatEachOther)
{
    // Spans from seconds to months, at any room for labels: the labels as the time axis draws
    // them ("hh:mm" over the date) all differ.
    const double start = at(2013, 6, 15, 12, 18, 7);
    const double spans[] = {20.0 / 86400, 90.0 / 86400, 3.0 / 1440, 7.0 / 1440, 45.0 / 1440, 5.0 / 24, 2.5, 40, 400};
    for (const double span : spans) {
        for (int maxTicks = 1; maxTicks <= 40; ++maxTicks) {
            const std::vector<double> ticks = DateTimeAxisTicks(start, start + span, maxTicks);
            EXPECT_LE(int(ticks.size()), maxTicks);
            QStringList labels;
            for (const double t : ticks)
                labels << TimeAxisLabel(DateTimeLabelText(t, ':'));
            EXPECT_EQ(labels.removeDuplicates(), 0) << span * 1440 << " min, " << maxTicks << " ticks: "
                                                     << labels.join(QLatin1Char(' ')).toStdString();
        }
    }
}

TEST(LabelTexts, ValueFormat)
{
    const std::pair<double, const char*> cases[] = {
        {0, "0"},        {100, "100"},   {12.5, "12,5"},  {-2.8, "-2,8"},       {0.125, "0,13"},
        {-0.125, "-0,13"}, {-0.004, "0"}, {1234567, "1234567"}, {54.8, "54,8"}, {0.1 + 0.2, "0,3"},
        {-10000, "-10000"}, {99.999, "100"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(ValueLabelText(value), QString::fromUtf8(text)) << value;
}

TEST(LabelTexts, DateTimeFormatCutsSecondsAndUsesTheTimeSeparator)
{
    EXPECT_EQ(DateTimeLabelText(at(2013, 6, 15, 14, 30, 59), ':'), QStringLiteral("15.06.13|14:30:59"));
    EXPECT_EQ(DateTimeLabelText(at(2013, 6, 15, 14, 30, 59) + 0.999 / 86400, '-'), QStringLiteral("15.06.13|14-30-59"));
    EXPECT_EQ(DateTimeLabelText(at(2000, 1, 2), ':'), QStringLiteral("02.01.00|00:00:00"));
    EXPECT_EQ(DateTimeLabelText(at(2013, 6, 15, 23, 59, 59) + 0.9999 / 86400, ':'), QStringLiteral("16.06.13|00:00:00"))
        << "rounded to the millisecond first";
    EXPECT_TRUE(DateTimeLabelText(NAN, ':').isEmpty());
}

}  // namespace
