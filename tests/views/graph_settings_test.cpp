// The value-axis ranges of the graph setup for every axis mode.
#include "views/graph_settings.h"

#include <gtest/gtest.h>

namespace {

struct HumidityCase {
    const char* name;
    int mode;
    double min, max;
    int displayMode;
    const char* manualMin;
    const char* manualMax;
    bool hidden;
    std::optional<double> minimum, maximum;
};

class HumidityAxis : public ::testing::TestWithParam<HumidityCase> {};

TEST_P(HumidityAxis, Range)
{
    const HumidityCase& c = GetParam();
    const AxisRangeChoice r = HumidityAxisRange(c.mode, c.min, c.max, c.displayMode, QString::fromUtf8(c.manualMin),
                                                QString::fromUtf8(c.manualMax));
    EXPECT_EQ(r.hidden, c.hidden);
    EXPECT_EQ(r.manualFieldsEnabled, c.mode == kAxisManual);
    ASSERT_EQ(r.minimum.has_value(), c.minimum.has_value());
    ASSERT_EQ(r.maximum.has_value(), c.maximum.has_value());
    if (c.minimum)
        EXPECT_NEAR(*r.minimum, *c.minimum, 1e-12);
    if (c.maximum)
        EXPECT_NEAR(*r.maximum, *c.maximum, 1e-12);
}

const HumidityCase humidityCases[] = {
    {"off", 0, 40, 60, 0, "", "", true, {}, {}},
    {"auto_widened_by_a_tenth", 1, 40, 60, 0, "", "", false, 38, 62},
    {"auto_minimum_kept_at_zero", 1, 2, 50, 0, "", "", false, 0, 54.8},
    {"auto_dew_point_goes_below_zero", 1, 2, 50, 1, "", "", false, -2.8, 54.8},
    {"auto_maximum_clamped_at_100", 1, 50, 99, 0, "", "", false, 45.1, 100},
    {"auto_clamp_in_absolute_mode_too", 1, 120, 130, 2, "", "", false, 119, 100},
    {"auto_empty_series", 1, 0, 0, 0, "", "", false, 0, 0},
    {"full_relative", 2, 40, 60, 0, "", "", false, 0, 100},
    {"full_dew_point", 2, 40, 60, 1, "", "", false, -60, 60},
    {"full_absolute", 2, 40, 60, 2, "", "", false, 0, 100},
    {"full_unknown_display_mode", 2, 40, 60, 7, "", "", false, {}, {}},
    {"manual_blanks_are_zeros", 3, 40, 60, 0, "-4 , ", "+  , ", false, -40, 0},
    {"manual_maximum_below_minimum_kept", 3, 40, 60, 0, "80,0", "20,0", false, 80, 20},
    {"manual_digit_in_sign_place", 3, 40, 60, 0, "+00,0", "100,0", false, 0, 100},
    {"no_selection", -1, 40, 60, 0, "", "", false, {}, {}},
    {"stored_index_out_of_range", 4, 40, 60, 0, "", "", false, {}, {}},
};
INSTANTIATE_TEST_SUITE_P(Modes, HumidityAxis, ::testing::ValuesIn(humidityCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TemperatureAxis, EveryMode)
{
    EXPECT_TRUE(TemperatureAxisRange(0, 20, 25, "", "").hidden);
    const AxisRangeChoice automatic = TemperatureAxisRange(1, 20, 25, "", "");
    EXPECT_NEAR(*automatic.minimum, 19.5, 1e-12);
    EXPECT_NEAR(*automatic.maximum, 25.5, 1e-12);
    const AxisRangeChoice unclamped = TemperatureAxisRange(1, -30, 70, "", "");
    EXPECT_NEAR(*unclamped.minimum, -40, 1e-12);
    EXPECT_NEAR(*unclamped.maximum, 80, 1e-12);
    EXPECT_EQ(TemperatureAxisRange(2, -10, 5, "", ""), (AxisRangeChoice{false, 0.0, 50.0, false}));
    EXPECT_EQ(TemperatureAxisRange(3, 0, 0, "-50,0", "100,0"), (AxisRangeChoice{false, -50.0, 100.0, true}));
    EXPECT_EQ(TemperatureAxisRange(-1, 0, 0, "", ""), AxisRangeChoice{});
}

}  // namespace
