// The climate analysis: each formula against its source's own figures, and the analysis of
// small logs worked out by hand: weights on uneven spacing and over gaps, excursions and what
// ends them, the days, the largest change within 24 hours, the interval's ends and the
// meter's no-data marks.
#include "report/climate_analysis.h"
#include "report/date_time.h"
#include "report/humidity.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

const QDate kDay(2026, 3, 2);

// A day count kDay + minutes (minutes may run into the next days).
double at(double minutes)
{
    return DayCountOf(kDay, 0) + minutes / 1440.0;
}

double hm(int h, int m)
{
    return at(h * 60 + m);
}

MeasurementRecord reading(double minutes, double rh, double t)
{
    return {at(minutes), int16_t(std::lround(rh * 100)), int16_t(std::lround(t * 100))};
}

// Readings at the given minutes after kDay 00:00, with relative humidity and temperature.
struct Log {
    std::vector<MeasurementRecord> records;
    Log& add(double minutes, double rh, double t)
    {
        records.push_back(reading(minutes, rh, t));
        return *this;
    }
    Log& addRaw(double dt, int16_t rh, int16_t t)
    {
        records.push_back({dt, rh, t});
        return *this;
    }
    // The interval from the minute `from` to the minute `to` (both included).
    ClimateAnalysis analyse(double from, double to, ClimateAnalysisOptions options = {}) const
    {
        return AnalyseClimate(records, at(from), at(to), options);
    }
};

ClimateAnalysisOptions wideThresholds()
{
    ClimateAnalysisOptions options;
    options.thresholds = {0, 100, -100, 100};
    return options;
}

double roundedTo(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    return std::round(value * scale) / scale;
}

// Day counts are compared to the millisecond.
void expectTime(double actual, double expected, const char* what)
{
    EXPECT_NEAR(actual, expected, 0.5 / kMsPerDay) << what << ": " << IsoMinuteText(actual).toStdString() << " != "
                                                   << IsoMinuteText(expected).toStdString();
}

}  // namespace

// ---- Formulas ----

TEST(ClimateFormulas, WoodMoistureMatchesTheWoodHandbookChecks)
{
    // The worked checks of the metric form: 21.1 degrees and 50 % give 9.2 %; 60 degrees and 55 %
    // give 8.4 %.
    EXPECT_EQ(roundedTo(WoodEquilibriumMoistureContent(21.1, 50), 1), 9.2);
    EXPECT_EQ(roundedTo(WoodEquilibriumMoistureContent(60, 55), 1), 8.4);
    // Dry air holds no water in wood; the content rises with humidity and falls with warmth.
    EXPECT_EQ(WoodEquilibriumMoistureContent(20, 0), 0);
    EXPECT_LT(WoodEquilibriumMoistureContent(20, 50), WoodEquilibriumMoistureContent(20, 70));
    EXPECT_GT(WoodEquilibriumMoistureContent(10, 50), WoodEquilibriumMoistureContent(30, 50));
    // Far below freezing the fit's hydrate term turns negative: no figure rather than a false one.
    EXPECT_TRUE(std::isnan(WoodEquilibriumMoistureContent(-99.99, 99.99)));
}

TEST(ClimateFormulas, MeanKineticTemperature)
{
    // A constant temperature is its own mean kinetic temperature, whatever the weights.
    for (const double t : {-20.0, 0.0, 25.0, 40.0})
        EXPECT_NEAR(MeanKineticTemperature(std::vector{t, t, t}, std::vector{1.0, 5.0, 0.5}), t, 1e-9) << t;
    // Half the time at 20 degrees and half at 30, dH/R = 10 000 K:
    //   10000/293.15 = 34.112229, 10000/303.15 = 32.986970,
    //   mean of exp(-10000/T) = exp(-34.112229) (1 + exp(1.125259)) / 2 = exp(-34.112229) * 2.040507,
    //   -ln = 34.112229 - 0.713198 = 33.399031, Tk = 10000 / 33.399031 = 299.4099 K = 26.26 degrees.
    EXPECT_NEAR(MeanKineticTemperature(std::vector{20.0, 30.0}, {}), 26.26, 0.005);
    // Three quarters at 20 and a quarter at 30: ln((3 + 3.081015)/4) = 0.418877,
    // Tk = 10000 / (34.112229 - 0.418877) = 296.7944 K = 23.64 degrees.
    EXPECT_NEAR(MeanKineticTemperature(std::vector{20.0, 30.0}, std::vector{3.0, 1.0}), 23.64, 0.005);
    // The warm spell weighs more than in the plain mean, the more so the higher the activation energy.
    EXPECT_GT(MeanKineticTemperature(std::vector{20.0, 30.0}, {}, 150), 26.26);
    EXPECT_TRUE(std::isnan(MeanKineticTemperature(std::vector{20.0}, std::vector{1.0, 2.0})));
    EXPECT_TRUE(std::isnan(MeanKineticTemperature({}, {})));
}

TEST(ClimateFormulas, LifetimeMultiplierFollowsMichalskisIsoperms)
{
    struct Case {
        double t, rh, expected;
        const char* why;
    };
    for (const Case c : {
             Case{20, 50, 1.0, "the reference climate"},
             // "Double the life for each five-degree drop" (Ea = 100 kJ/mol):
             // exp(100000/8.314 (1/288.15 - 1/293.15)) = exp(0.712) = 2.038.
             Case{15, 50, 2.038, "five degrees cooler"},
             // "More than double the life for each halving of relative humidity": 2^1.3 = 2.462.
             Case{20, 25, 2.462, "half the humidity"},
             // exp(100000/8.314 (1/303.15 - 1/293.15)) = exp(-1.3534) = 0.2583.
             Case{30, 50, 0.2583, "ten degrees warmer"},
         })
        EXPECT_NEAR(LifetimeMultiplier(c.t, c.rh), c.expected, 0.0005) << c.why;
    // A lower activation energy makes the temperature matter less.
    EXPECT_LT(LifetimeMultiplier(15, 50, 70), LifetimeMultiplier(15, 50, 100));
    EXPECT_TRUE(std::isinf(LifetimeMultiplier(20, 0)));
}

TEST(ClimateFormulas, MouldCriticalHumidityOfHukkaAndViitanen)
{
    struct Case {
        double t, expected;
    };
    // -0.00267T^3 + 0.160T^2 - 3.13T + 100: 100 at 0 degrees; at 10: -2.67 + 16 - 31.3 + 100 = 82.03;
    // at 20: -21.36 + 64 - 62.6 + 100 = 80.04; a flat 80 above 20 degrees up to 50.
    for (const Case c : {Case{0, 100}, Case{10, 82.03}, Case{20, 80.04}, Case{20.01, 80}, Case{35, 80}, Case{50, 80}})
        EXPECT_NEAR(MouldCriticalHumidity(c.t), c.expected, 1e-9) << c.t;
    // No growth below freezing or above 50 degrees.
    for (const double t : {-0.01, -20.0, 50.01, 70.0})
        EXPECT_TRUE(std::isnan(MouldCriticalHumidity(t))) << t;
}

// ---- Time weighting ----

TEST(ClimateAnalysis, EachReadingStandsForTheTimeToTheNext)
{
    // Spacings 10, 20 and 10 minutes: the median is 10, the gap limit 20, so the 20 minutes are
    // no gap. The last reading stands for one median spacing (the interval ends at 10:50).
    // Mean of the humidity: (40*10 + 50*20 + 60*10 + 70*10) / 50 = 54 (the plain mean is 55).
    const ClimateAnalysis a = Log()
                                  .add(600, 40, 20)
                                  .add(610, 50, 20)
                                  .add(630, 60, 22)
                                  .add(640, 70, 22)
                                  .analyse(600, 649, wideThresholds());
    EXPECT_EQ(a.readings, 4);
    EXPECT_EQ(a.medianSpacingMinutes, 10);
    EXPECT_EQ(a.gapLimitMinutes, 20);
    EXPECT_EQ(a.intervalMinutes, 50);
    EXPECT_EQ(a.coveredMinutes, 50);
    EXPECT_EQ(a.noDataMinutes, 0);
    EXPECT_TRUE(a.gaps.empty());
    ASSERT_TRUE(a.relativeHumidity);
    EXPECT_DOUBLE_EQ(a.relativeHumidity->mean, 54);
    EXPECT_EQ(a.relativeHumidity->coveredMinutes, 50);
    // Temperature: (20*30 + 22*20) / 50 = 20.8.
    EXPECT_DOUBLE_EQ(a.temperature->mean, 20.8);

    // The last reading never stands past the end of the interval's last minute: ending the
    // interval at 10:43 leaves it 3 minutes, (400 + 1000 + 600 + 210) / 43.
    const ClimateAnalysis cut = Log().add(600, 40, 20).add(610, 50, 20).add(630, 60, 22).add(640, 70, 22).analyse(600, 642);
    EXPECT_DOUBLE_EQ(cut.relativeHumidity->mean, 2210.0 / 43);
    EXPECT_EQ(cut.noDataMinutes, 0);
}

TEST(ClimateAnalysis, GapsAreNoDataAndListed)
{
    // Readings at 10:00, 10:10, 10:20, 11:00 and 11:10 with temperatures 20, 22, 24, 30, 32 in
    // 10:00..11:19 (80 minutes). Median spacing 10 minutes.
    const Log log = Log().add(600, 50, 20).add(610, 50, 22).add(620, 50, 24).add(660, 50, 30).add(670, 50, 32);
    struct Case {
        double gapMinutes;
        double mean;
        double noData;
        std::vector<std::pair<double, double>> gaps;  // minutes of kDay
    };
    const Case cases[] = {
        // Limit 20: 10:20 -> 11:00 is a gap; 10:20 stands for one median spacing, 10:30..11:00
        // is no data. Mean (20 + 22 + 24 + 30 + 32) * 10 / 50 = 25.6.
        {0, 25.6, 30, {{630, 660}}},
        // Limit 60: no gap, 10:20 stands for 40 minutes: (200 + 220 + 960 + 300 + 320) / 80 = 25.
        {60, 25.0, 0, {}},
        // Limit 5: every spacing is a gap and every reading stands for 5 minutes (the limit,
        // below the median); the 5 minutes at the end are no longer than the limit: not listed.
        {5, 25.6, 55, {{605, 610}, {615, 620}, {625, 660}, {665, 670}}},
    };
    for (const Case& c : cases) {
        ClimateAnalysisOptions options = wideThresholds();
        options.gapMinutes = c.gapMinutes;
        const ClimateAnalysis a = log.analyse(600, 679, options);
        SCOPED_TRACE(c.gapMinutes);
        EXPECT_DOUBLE_EQ(a.temperature->mean, c.mean);
        EXPECT_DOUBLE_EQ(a.noDataMinutes, c.noData);
        EXPECT_DOUBLE_EQ(a.coveredMinutes + a.noDataMinutes, 80);
        ASSERT_EQ(a.gaps.size(), c.gaps.size());
        for (std::size_t i = 0; i < c.gaps.size(); ++i) {
            expectTime(a.gaps[i].start, at(c.gaps[i].first), "gap start");
            expectTime(a.gaps[i].end, at(c.gaps[i].second), "gap end");
            EXPECT_DOUBLE_EQ(a.gaps[i].minutes, c.gaps[i].second - c.gaps[i].first);
        }
    }

    // Time before the first reading longer than the limit is a gap too.
    const ClimateAnalysis early = log.analyse(540, 679);
    ASSERT_EQ(early.gaps.size(), 2u);
    expectTime(early.gaps[0].start, hm(9, 0), "leading gap start");
    expectTime(early.gaps[0].end, hm(10, 0), "leading gap end");
    EXPECT_DOUBLE_EQ(early.noDataMinutes, 90);
}

TEST(ClimateAnalysis, IntervalEndsNoDatesAndNoDataMarks)
{
    // Out of time order in the file; the analysis takes them sorted.
    const ClimateAnalysis a = Log()
                                  .add(599.99, 10, 10)                            // 09:59:59.4, before the interval
                                  .add(620, 45, 21)                               // 10:20
                                  .addRaw(NAN, 5000, 2000)                        // no date
                                  .add(600.5, 40, 20)                             // 10:00:30, first minute
                                  .addRaw(at(610), 10001, 2150)                   // 10:10, humidity out of range
                                  .addRaw(at(630), 5000, -10000)                  // 10:30, temperature out of range
                                  .addRaw(at(640), int16_t(-32768), int16_t(-32768))  // 10:40, nothing valid
                                  .add(650.99, 60, 23)                            // 10:50:59.4, last minute
                                  .add(651, 90, 90)                               // 10:51, after it
                                  .analyse(600, 650, wideThresholds());
    EXPECT_EQ(a.readings, 6);
    // Spacings 9.5, 10, 10, 10, 10.99 minutes: median 10; the last reading stands for the 0.01
    // minute left of 10:50.
    EXPECT_DOUBLE_EQ(a.medianSpacingMinutes, 10);
    ASSERT_TRUE(a.relativeHumidity && a.temperature && a.dewPoint && a.absoluteHumidity);
    EXPECT_EQ(a.relativeHumidity->readings, 4);  // 10:00:30, 10:20, 10:30, 10:50:59
    EXPECT_EQ(a.temperature->readings, 4);       // 10:00:30, 10:10, 10:20, 10:50:59
    EXPECT_EQ(a.dewPoint->readings, 3);
    EXPECT_EQ(a.absoluteHumidity->readings, 3);
    EXPECT_EQ(a.relativeHumidity->min, 40);
    EXPECT_EQ(a.relativeHumidity->max, 60);
    expectTime(a.relativeHumidity->minTime, at(600.5), "humidity minimum");
    expectTime(a.relativeHumidity->maxTime, at(650.99), "humidity maximum");
    EXPECT_EQ(a.temperature->max, 23);
    EXPECT_NEAR(a.dewPoint->min, DewPoint(40, 20), 1e-12);
    EXPECT_EQ(a.absoluteHumidity->max, AbsoluteHumidity(60, 23));
    // The humidity stands for 9.5 + 10 + 10 + 0.01 minutes, the temperature for 9.5 + 10 + 10 + 0.01.
    EXPECT_NEAR(a.relativeHumidity->coveredMinutes, 29.51, 1e-9);
    EXPECT_NEAR(a.temperature->coveredMinutes, 29.51, 1e-9);
    // (40*9.5 + 45*10 + 50*10 + 60*0.01) / 29.51
    EXPECT_NEAR(a.relativeHumidity->mean, (40 * 9.5 + 45 * 10 + 50 * 10 + 60 * 0.01) / 29.51, 1e-9);
    // The reading without a valid value leaves its 10.99 minutes without data (not a gap), and
    // the 30 seconds before the first reading have none either: 51 - 39.51.
    EXPECT_NEAR(a.coveredMinutes, 39.51, 1e-9);
    EXPECT_NEAR(a.noDataMinutes, 11.49, 1e-9);
    EXPECT_TRUE(a.gaps.empty());
    expectTime(a.from, hm(10, 0), "interval start");
    expectTime(a.to, hm(10, 50), "interval end");
}

TEST(ClimateAnalysis, ReadingsOfOneMomentKeepTheirFileOrder)
{
    // Two readings with the same time stamp: the one later in the file stands for the time to
    // the next reading, the first for none (a stable sort of the copy).
    const ClimateAnalysis a = Log().add(620, 80, 20).add(600, 40, 20).add(600, 60, 20).analyse(600, 629, wideThresholds());
    EXPECT_DOUBLE_EQ(a.relativeHumidity->mean, (60 * 20 + 80 * 10) / 30.0);
    EXPECT_EQ(a.relativeHumidity->min, 40);
}

TEST(ClimateAnalysis, NothingToWeighOrNothingAtAll)
{
    // One reading: no spacing, so no time to weigh by; the means are its values.
    const ClimateAnalysis one = Log().add(600, 40, 20).analyse(600, 659, wideThresholds());
    EXPECT_EQ(one.readings, 1);
    EXPECT_EQ(one.relativeHumidity->mean, 40);
    EXPECT_NEAR(*one.meanKineticTemperature, 20, 1e-9);
    EXPECT_NEAR(*one.lifetimeMultiplier, LifetimeMultiplier(20, 40), 1e-12);
    EXPECT_NEAR(one.woodMoisture->mean, WoodEquilibriumMoistureContent(20, 40), 1e-12);
    EXPECT_EQ(one.noDataMinutes, 60);

    // An interval without readings is all no data and has no figures.
    const ClimateAnalysis none = Log().add(500, 40, 20).analyse(600, 659);
    EXPECT_EQ(none.readings, 0);
    EXPECT_EQ(none.noDataMinutes, 60);
    ASSERT_EQ(none.gaps.size(), 1u);
    EXPECT_EQ(none.gaps[0].minutes, 60);
    EXPECT_FALSE(none.relativeHumidity || none.temperature || none.dewPoint || none.absoluteHumidity);
    EXPECT_FALSE(none.meanKineticTemperature || none.woodMoisture || none.lifetimeMultiplier || none.mould);
    EXPECT_FALSE(none.humidityChange24h || none.temperatureChange24h);
    EXPECT_TRUE(none.days.empty());
    ASSERT_EQ(none.limits.size(), 4u);
    for (const LimitExcursions& limit : none.limits) {
        EXPECT_EQ(limit.minutes, 0);
        EXPECT_TRUE(std::isnan(limit.share));
        EXPECT_EQ(limit.excursions, 0);
        EXPECT_FALSE(limit.longest);
    }

    // An interval that is no date.
    const ClimateAnalysis undated = AnalyseClimate(Log().add(600, 40, 20).records, NAN, at(700));
    EXPECT_TRUE(std::isnan(undated.from));
    EXPECT_EQ(undated.readings, 0);
}

// ---- Limits ----

TEST(ClimateAnalysis, ExcursionsEndInsideAtAGapOrWithoutData)
{
    // Humidity every 10 minutes from 10:00 against a maximum of 60 %; after 10:40 the log stops
    // for an hour (the gap limit is 20 minutes).
    //   10:00 50 | 10:10 65  10:20 70 | 10:30 55 | 10:40 65 [gap] | 11:40 66  11:50 67  12:00 68 | 12:10 50
    // Excursions: 10:10-10:30 (ended by a reading back inside, 20 min), 10:40-10:50 (ended by the
    // gap: the reading stands for one median spacing, 10 min), 11:40-12:10 (30 min).
    // Covered: 5 * 10 + 4 * 10 = 90 minutes; beyond: 60 minutes.
    ClimateAnalysisOptions options;
    options.thresholds = {30, 60, 20, 25};
    const ClimateAnalysis a = Log()
                                  .add(600, 50, 25)
                                  .add(610, 65, 25)
                                  .add(620, 70, 25)
                                  .add(630, 55, 25)
                                  .add(640, 65, 25)
                                  .add(700, 66, 25)
                                  .add(710, 67, 25)
                                  .add(720, 68, 25)
                                  .add(730, 50, 25.01)
                                  .analyse(600, 739, options);
    ASSERT_EQ(a.limits.size(), 4u);
    const LimitExcursions& low = a.limits[0];
    const LimitExcursions& high = a.limits[1];
    EXPECT_EQ(low.channel, ClimateChannel::RelativeHumidity);
    EXPECT_EQ(low.side, LimitSide::Below);
    EXPECT_EQ(low.threshold, 30);
    EXPECT_EQ(low.excursions, 0);
    EXPECT_EQ(low.minutes, 0);
    EXPECT_EQ(low.share, 0);
    EXPECT_FALSE(low.longest);

    EXPECT_EQ(high.channel, ClimateChannel::RelativeHumidity);
    EXPECT_EQ(high.side, LimitSide::Above);
    EXPECT_EQ(high.excursions, 3);
    EXPECT_EQ(high.minutes, 60);
    EXPECT_DOUBLE_EQ(high.share, 60.0 / 90);
    ASSERT_TRUE(high.longest);
    expectTime(high.longest->start, hm(11, 40), "longest start");
    expectTime(high.longest->end, hm(12, 10), "longest end");
    EXPECT_EQ(high.longest->minutes, 30);

    // A temperature at a threshold is inside it (the table colours only beyond it): 25.00 is no
    // excursion above 25, 25.01 (the last reading, 10 minutes) is.
    EXPECT_EQ(a.limits[2].excursions, 0);
    EXPECT_EQ(a.limits[3].channel, ClimateChannel::Temperature);
    EXPECT_EQ(a.limits[3].excursions, 1);
    EXPECT_EQ(a.limits[3].minutes, 10);
    EXPECT_DOUBLE_EQ(a.limits[3].share, 10.0 / 90);
}

TEST(ClimateAnalysis, ANoDataMarkEndsAnExcursionOfItsChannel)
{
    // Temperatures above 25 at 10:00 and 10:10, no valid temperature at 10:20, above again at
    // 10:30 and 10:40, inside at 10:50: two excursions of 20 minutes. The humidity stays above
    // its maximum throughout and is one excursion of an hour.
    ClimateAnalysisOptions options;
    options.thresholds = {30, 60, 20, 25};
    const ClimateAnalysis a = Log()
                                  .add(600, 70, 26)
                                  .add(610, 70, 26)
                                  .addRaw(at(620), 7000, 10000)
                                  .add(630, 70, 26)
                                  .add(640, 70, 26)
                                  .add(650, 70, 24)
                                  .analyse(600, 659, options);
    EXPECT_EQ(a.limits[3].excursions, 2);
    EXPECT_EQ(a.limits[3].minutes, 40);
    EXPECT_DOUBLE_EQ(a.limits[3].share, 40.0 / 50);
    expectTime(a.limits[3].longest->start, hm(10, 0), "first of the longest");
    expectTime(a.limits[3].longest->end, hm(10, 20), "its end");
    EXPECT_EQ(a.limits[1].excursions, 1);
    EXPECT_EQ(a.limits[1].longest->minutes, 60);
    EXPECT_EQ(a.limits[1].share, 1);
}

// ---- Days and changes ----

TEST(ClimateAnalysis, EachReadingCountsForItsOwnDay)
{
    // 23:20 (40 %), 23:50 (60 %), 00:10 (70 %), 00:20 (80 %): spacings 30, 20, 10, median 20,
    // limit 40. The 23:50 reading stands for 20 minutes, all counted on its own day:
    // day 1 (40*30 + 60*20) / 50 = 48 (split at midnight it would be 45); day 2 (70*10 + 80*20) / 30.
    const ClimateAnalysis a = Log()
                                  .add(23 * 60 + 20, 40, 18)
                                  .add(23 * 60 + 50, 60, 19)
                                  .add(24 * 60 + 10, 70, 20)
                                  .addRaw(at(24 * 60 + 20), 8000, -10000)
                                  .analyse(23 * 60, 24 * 60 + 39, wideThresholds());
    ASSERT_EQ(a.days.size(), 2u);
    EXPECT_EQ(a.days[0].date, kDay);
    EXPECT_EQ(a.days[1].date, kDay.addDays(1));
    ASSERT_TRUE(a.days[0].relativeHumidity && a.days[1].relativeHumidity);
    EXPECT_EQ(a.days[0].relativeHumidity->min, 40);
    EXPECT_DOUBLE_EQ(a.days[0].relativeHumidity->mean, 48);
    EXPECT_EQ(a.days[0].relativeHumidity->max, 60);
    EXPECT_DOUBLE_EQ(a.days[1].relativeHumidity->mean, (70 * 10 + 80 * 20) / 30.0);
    EXPECT_EQ(a.days[1].relativeHumidity->max, 80);
    // Temperature: (18*30 + 19*20) / 50 = 18.4 on day 1; day 2 has only the 00:10 reading.
    EXPECT_DOUBLE_EQ(a.days[0].temperature->mean, 18.4);
    EXPECT_EQ(a.days[1].temperature->min, 20);
    EXPECT_EQ(a.days[1].temperature->mean, 20);
    EXPECT_EQ(a.days[1].temperature->max, 20);
}

TEST(ClimateAnalysis, LargestChangeWithinAnyDay)
{
    struct Case {
        const char* name;
        std::vector<std::pair<double, double>> hoursAndValues;
        double change;
        double lowHour, highHour;
    };
    const Case cases[] = {
        {"readings exactly 24 hours apart share a window", {{0, 40}, {24, 60}}, 20, 0, 24},
        {"a minute more and they do not", {{0, 40}, {24 + 1 / 60.0, 60}}, 0, 0, 0},
        {"a fall over exactly 24 hours", {{0, 60}, {24, 40}}, 20, 24, 0},
        // A slow drift of 10 per 12 hours (20 within a day, 40 over the whole log) and a fall of
        // 30 in the last 6 hours.
        {"a sudden fall beats a slow drift", {{0, 30}, {12, 40}, {24, 50}, {36, 60}, {48, 70}, {54, 40}}, 30, 54, 48},
        {"the drift alone", {{0, 30}, {12, 40}, {24, 50}, {36, 60}, {48, 70}}, 20, 0, 24},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Log log;
        for (const auto& [hour, value] : c.hoursAndValues)
            log.add(hour * 60, value, value / 2);
        const ClimateAnalysis a = log.analyse(0, 4 * 1440);
        ASSERT_TRUE(a.humidityChange24h && a.temperatureChange24h);
        EXPECT_DOUBLE_EQ(a.humidityChange24h->change, c.change);
        EXPECT_DOUBLE_EQ(a.temperatureChange24h->change, c.change / 2);
        expectTime(a.humidityChange24h->lowTime, at(c.lowHour * 60), "time of the low");
        expectTime(a.humidityChange24h->highTime, at(c.highHour * 60), "time of the high");
    }
}

TEST(ClimateAnalysis, LargestChangeAsEveryPairWouldGiveIt)
{
    // A long log with a drift and noise at irregular spacings, against every pair of readings
    // at most 24 hours apart (the drift keeps old lows in the window for a long time).
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> spacing(1, 40), noise(-20, 20);
    std::vector<std::pair<double, int>> points;  // minutes, hundredths
    double minute = 0;
    for (int i = 0; i < 6000; ++i) {
        minute += spacing(rng);
        const int drift = 5 * ((i / 1500) % 2 == 0 ? i % 1500 : 1500 - i % 1500);
        points.emplace_back(minute, 2000 + drift + noise(rng));
    }
    Log log;
    for (const auto& [m, value] : points)
        log.addRaw(at(m), int16_t(value), 2000);
    int expected = 0;
    for (std::size_t j = 0; j < points.size(); ++j)
        for (std::size_t i = j; i-- > 0 && points[j].first - points[i].first <= 1440;)
            expected = std::max(expected, std::abs(points[j].second - points[i].second));
    const ClimateAnalysis a = log.analyse(0, minute);
    EXPECT_DOUBLE_EQ(a.humidityChange24h->change, expected / 100.0);
}

// ---- Conservation figures over the interval ----

TEST(ClimateAnalysis, KineticTemperatureWoodAndLifetimeAreTimeWeighted)
{
    // Ten minutes at 20 degrees, then ten at 30 (the last reading stands for one median spacing):
    // the mean kinetic temperature is the 26.26 degrees worked out above; the lifetime
    // multiplier the harmonic mean 2 / (1/1 + 1/0.25835) = 0.4106.
    const ClimateAnalysis a = Log().add(600, 50, 20).add(610, 50, 30).analyse(600, 619);
    EXPECT_NEAR(*a.meanKineticTemperature, 26.26, 0.005);
    EXPECT_NEAR(*a.lifetimeMultiplier, 0.4106, 0.0001);
    ASSERT_TRUE(a.woodMoisture);
    EXPECT_DOUBLE_EQ(a.woodMoisture->mean, (WoodEquilibriumMoistureContent(20, 50) + WoodEquilibriumMoistureContent(30, 50)) / 2);
    EXPECT_EQ(a.woodMoisture->min, WoodEquilibriumMoistureContent(30, 50));
    EXPECT_EQ(a.woodMoisture->max, WoodEquilibriumMoistureContent(20, 50));

    // Unequal times: spacings 30 and 10 (median 20, limit 40), the last reading stands for the
    // 10 minutes left of the interval: 30 minutes at 20 degrees, 20 at 30.
    const ClimateAnalysis uneven = Log().add(600, 50, 20).add(630, 50, 30).add(640, 50, 30).analyse(600, 649);
    EXPECT_EQ(uneven.medianSpacingMinutes, 20) << "the mean of the two middle spacings";
    EXPECT_EQ(uneven.gapLimitMinutes, 40);
    EXPECT_NEAR(*uneven.meanKineticTemperature, MeanKineticTemperature(std::vector{20.0, 30.0}, std::vector{30.0, 20.0}), 1e-9);
    // A higher activation energy gives the warm time more weight.
    ClimateAnalysisOptions options;
    options.mktActivationKjPerMol = 120;
    EXPECT_GT(*Log().add(600, 50, 20).add(610, 50, 30).analyse(600, 619, options).meanKineticTemperature, 26.3);

    // Wood below 5 % (20 % at 20 degrees: 4.5 %) and above 12.5 % (70 % at 20 degrees: 13.1 %).
    const ClimateAnalysis wood = Log().add(600, 20, 20).add(610, 20, 20).add(620, 50, 20).add(630, 70, 20).analyse(600, 639);
    EXPECT_EQ(wood.woodMoisture->minutesBelow5, 20);
    EXPECT_EQ(wood.woodMoisture->minutesAbove12_5, 10);
}

TEST(ClimateAnalysis, MouldHoursAtOrAboveTheCriticalHumidity)
{
    // Every 10 minutes at 25 degrees (critical 80 %), then at 10 degrees (82.03 %) and at 55 (no growth):
    //   10:00 79.99 | 10:10 80.00  10:20 85 | 10:30 79 | 10:40 81 | 10:50 82.00 at 10 | 11:00 82.05 at 10
    //   11:10 95 at 55 | 11:20 81 at 25 [gap] 12:20 81 at 25 (last, 10 minutes)
    // At or above: 10:10-10:30 (20 min), 10:40-10:50 (10), 11:00-11:10 (10), 11:20-11:30 (10,
    // ended by the gap), 12:20-12:30 (10).
    const ClimateAnalysis a = Log()
                                  .add(600, 79.99, 25)
                                  .add(610, 80, 25)
                                  .add(620, 85, 25)
                                  .add(630, 79, 25)
                                  .add(640, 81, 25)
                                  .add(650, 82, 10)
                                  .add(660, 82.05, 10)
                                  .add(670, 95, 55)
                                  .add(680, 81, 25)
                                  .add(740, 81, 25)
                                  .analyse(600, 749);
    ASSERT_TRUE(a.mould);
    EXPECT_DOUBLE_EQ(a.mould->hoursAtOrAboveCritical, 1);
    EXPECT_DOUBLE_EQ(a.mould->longestHours, 20 / 60.0);
}
