// Humidity conversions: the figures of the formulas, and the dew point equal to the last bit
// to the bisection of exactly 100 steps however it gets there.
#include "report/humidity.h"
#include "report/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

namespace {

// The dew point as defined: exactly 100 bisection steps between -60 and 100, no early stop.
double dewPoint100Steps(double RH, double T)
{
    const double e = WaterSaturationPressure(T + 273.16) * RH / 100;
    double low = -60, high = 100, mid = 0;
    for (int step = 0; step < 100; ++step) {
        mid = (high - low) / 2 + low;
        const double s = mid >= 0 ? WaterSaturationPressure(mid + 273.16) : IceSaturationPressure(mid + 273.16);
        if (e >= s)
            low = mid;
        else
            high = mid;
    }
    return mid;
}

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(Humidity, SaturationPressures)
{
    EXPECT_NEAR(WaterSaturationPressure(273.16), 611.6, 0.2);
    EXPECT_NEAR(IceSaturationPressure(273.16), 611.6, 0.2);
    EXPECT_NEAR(WaterSaturationPressure(293.16), 2340, 2);
    EXPECT_LT(IceSaturationPressure(263.16), WaterSaturationPressure(263.16)) << "ice holds less vapour below 0";
}

TEST(Humidity, KnownFigures)
{
    struct Case {
        double rh, t, dew, absolute;
        const char* shown;
    };
    for (const Case c : {Case{50, 20, 9.27, 8.8, "9,3"}, Case{80, -10, -11.39, 1.7, "-11,4"},
                         Case{100, 25, 25.00, 23.9, "25,0"}, Case{100, 0, 0.00, 4.6, "0,0"},
                         Case{0, 20, -60.0, 0.0, "-60,0"}}) {
        EXPECT_NEAR(DewPoint(c.rh, c.t), c.dew, 0.005) << c.rh << "% " << c.t;
        EXPECT_EQ(AbsoluteHumidity(c.rh, c.t), c.absolute) << c.rh << "% " << c.t;
        EXPECT_EQ(TableValueText(DewPoint(c.rh, c.t)), QLatin1String(c.shown));
    }
    EXPECT_EQ(AbsoluteHumidity(99.99, 99.99), 765.1);
    EXPECT_EQ(DewPoint(0, 20), -60.0) << "the bisection closes in on the lower end";
    EXPECT_LT(DewPoint(99.99, 99.99), 100.0);
}

TEST(Humidity, DewPointIsTheHundredStepResultToTheLastBit)
{
    // Every place where the shortcuts could part from the definition: both ends of the search,
    // the change of formula at 0 degrees, dry and saturated air, the extremes of the readings.
    std::vector<std::pair<int, int>> pairs;
    for (const int rh : {0, 1, 2, 5, 50, 3000, 4525, 9990, 9999})
        for (const int t : {-9999, -6000, -5999, -1000, -525, -4, -1, 0, 1, 4, 525, 2150, 2500, 6000, 9999})
            pairs.emplace_back(rh, t);
    // Readings whose dew point lies near 0 degrees, where the two formulas meet.
    for (int rh = 9900; rh <= 9999; ++rh)
        for (int t = -20; t <= 20; ++t)
            pairs.emplace_back(rh, t);
    // Runs of one temperature, as a report meets its new pairs, then a change of temperature
    // (the pressure of the air temperature is kept from one call to the next).
    for (const int t : {2150, -525, 0, 2150, 2160})
        for (int rh = 0; rh <= 9999; rh += 37)
            pairs.emplace_back(rh, t);
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> anyRh(0, 9999), anyT(-9999, 9999), roomT(-1000, 4000);
    for (int i = 0; i < 40000; ++i)
        pairs.emplace_back(anyRh(rng), i % 2 ? anyT(rng) : roomT(rng));
    int differ = 0;
    for (const auto& [rh, t] : pairs) {
        const double fast = DewPoint(rh / 100.0, t / 100.0);
        const double defined = dewPoint100Steps(rh / 100.0, t / 100.0);
        if (!sameBits(fast, defined) && ++differ <= 10)
            ADD_FAILURE() << "RH " << rh << " T " << t << ": " << fast << " != " << defined;
    }
    EXPECT_EQ(differ, 0);
    // Out-of-range inputs still give the same result.
    for (const auto& [rh, t] : {std::pair{-5.0, 20.0}, std::pair{150.0, 20.0}, std::pair{50.0, -150.0}})
        EXPECT_TRUE(sameBits(DewPoint(rh, t), dewPoint100Steps(rh, t))) << rh << ' ' << t;
}

TEST(Humidity, MemoGivesTheConversionOfEachPair)
{
    HumidityMemo memo(&DewPoint);
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> rh(4000, 4100), t(2000, 2100);
    for (int i = 0; i < 20000; ++i) {
        const auto h = int16_t(rh(rng)), tt = int16_t(t(rng));
        ASSERT_TRUE(sameBits(memo(h, tt), DewPoint(h / 100.0, tt / 100.0)));
    }
    EXPECT_LE(memo.distinctPairs(), 101u * 101u);
    HumidityMemo absolute(&AbsoluteHumidity);
    EXPECT_EQ(absolute(int16_t(5000), int16_t(2000)), 8.8);
    EXPECT_EQ(absolute(int16_t(-1), int16_t(-1)), AbsoluteHumidity(-0.01, -0.01));
}

}  // namespace
