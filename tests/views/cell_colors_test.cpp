// The colour rule of the report table, case by case.
#include "views/cell_colors.h"

#include <gtest/gtest.h>

namespace {

constexpr CellStyle kNormal{0xFFFFFF, 0x000000, false};
constexpr CellStyle kMissing{kRed, kYellow, true};
constexpr CellStyle kAbove{kYellow, kRed, true};
constexpr CellStyle kBelow{kYellow, kBlue, true};

struct ColourCase {
    const char* name;
    qsizetype row;
    int column;
    const char* text;
    Thresholds thresholds;
    CellStyle expected;
};

class ColourRule : public ::testing::TestWithParam<ColourCase> {};

TEST_P(ColourRule, MarksTheCell)
{
    const ColourCase& c = GetParam();
    EXPECT_EQ(cellStyleOf(c.row, c.column, QString::fromUtf8(c.text), c.thresholds, kNormal), c.expected);
}

constexpr Thresholds kRoom{30, 60, -40, 60};
constexpr Thresholds kCrossed{60, 30, 10, -10};  // lower above upper

INSTANTIATE_TEST_SUITE_P(
    Cases, ColourRule,
    ::testing::Values(
        ColourCase{"OnTheLowerThreshold", 1, 2, "30,0", kRoom, kNormal},
        ColourCase{"BelowTheLowerThreshold", 1, 2, "29,9", kRoom, kBelow},
        ColourCase{"OnTheUpperThreshold", 1, 2, "60,0", kRoom, kNormal},
        ColourCase{"AboveTheUpperThreshold", 1, 2, "60,1", kRoom, kAbove},
        ColourCase{"TemperatureAbove", 5, 3, "60,1", kRoom, kAbove},
        ColourCase{"TemperatureBelow", 5, 3, "-40,1", kRoom, kBelow},
        ColourCase{"TemperatureInside", 5, 3, "-5,3", kRoom, kNormal},
        ColourCase{"NoValueHumidity", 2, 2, "---", kRoom, kMissing},
        ColourCase{"NoValueTemperature", 2, 3, "---", Thresholds{-1000, 1000, -1000, 1000}, kMissing},
        ColourCase{"DateNeverMarked", 2, 0, "---", kRoom, kNormal},
        ColourCase{"TimeNeverMarked", 2, 1, "---", kRoom, kNormal},
        ColourCase{"HeaderNeverMarked", 0, 2, "---", kRoom, kNormal},
        ColourCase{"HeaderTextNotANumber", 0, 3, "Т, °C", Thresholds{10, 20, 10, 20}, kNormal},
        ColourCase{"CrossedAtLeastLowerIsRed", 1, 2, "70,0", kCrossed, kAbove},
        ColourCase{"CrossedBetweenIsRedToo", 1, 2, "60,0", kCrossed, kAbove},
        ColourCase{"CrossedBelowLowerIsBlue", 1, 2, "45,0", kCrossed, kBelow},
        ColourCase{"CrossedTemperatureZero", 1, 3, "0,0", kCrossed, kBelow},
        ColourCase{"BlankCountsAsZeroBelowLower", 1, 2, " ", kRoom, kBelow},
        ColourCase{"BlankCountsAsZeroAboveUpper", 1, 3, " ", Thresholds{0, 0, -5, -1}, kAbove},
        ColourCase{"BlankCountsAsZeroInside", 1, 3, " ", kRoom, kNormal},
        ColourCase{"DotDecimalToo", 1, 2, "29.9", kRoom, kBelow}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ColourRule, LeavesUnmarkedCellsAsTheyCame)
{
    const CellStyle current{0x3399FF, 0xFFFFFF, false};
    EXPECT_EQ(cellStyleOf(1, 2, QStringLiteral("45,0"), kRoom, current), current);
    EXPECT_EQ(cellStyleOf(1, 2, QStringLiteral("65,0"), kRoom, current), kAbove);
}

}  // namespace
