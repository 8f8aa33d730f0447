// The number texts: the table's one decimal (halves away from zero on the exact value), the
// general format of the statistics, ParseDecimal and BlanksToZeros.
#include "report/number_format.h"

#include <gtest/gtest.h>

#include <utility>

#include <cmath>
#include <clocale>

namespace {

TEST(TableValueText, OneDecimalHalvesAwayFromZero)
{
    struct Case {
        double v;
        const char* text;
    };
    for (const Case c : {Case{45.25, "45,3"}, Case{-5.25, "-5,3"}, Case{25.25, "25,3"}, Case{25.75, "25,8"},
                         Case{0.25, "0,3"}, Case{-0.25, "-0,3"}, Case{99.99, "100,0"}, Case{0, "0,0"},
                         Case{-0.0, "0,0"}, Case{-0.04, "0,0"}, Case{-0.05, "-0,1"}, Case{0.15, "0,1"},
                         Case{0.35, "0,3"}, Case{-60, "-60,0"}, Case{9.270563811037533, "9,3"},
                         Case{-11.394990784161081, "-11,4"}, Case{765.1, "765,1"}, Case{1e6 + 0.75, "1000000,8"},
                         Case{45.2, "45,2"}})
        EXPECT_EQ(TableValueText(c.v), QLatin1String(c.text)) << c.v;
    // Stored hundredths of every reading: the exact value v/100 decides.
    EXPECT_EQ(TableValueText(4525 / 100.0), QStringLiteral("45,3"));
    EXPECT_EQ(TableValueText(-525 / 100.0), QStringLiteral("-5,3"));
    EXPECT_EQ(TableValueText(-4 / 100.0), QStringLiteral("0,0"));
    EXPECT_EQ(TableValueText(-5 / 100.0), QStringLiteral("-0,1"));
}

TEST(GeneralNumberText, FifteenDigitsTrailingZerosDropped)
{
    struct Case {
        double v;
        const char* text;
    };
    for (const Case c : {Case{100, "100"}, Case{-100, "-100"}, Case{45.25, "45,25"}, Case{51, "51"}, Case{0, "0"},
                         Case{-5.25, "-5,25"}, Case{9.270563811037533, "9,27056381103753"}, Case{0.1, "0,1"},
                         Case{1.0 / 3, "0,333333333333333"}, Case{0.00001, "0,00001"}, Case{0.000001, "1E-6"},
                         Case{123456789012345.0, "123456789012345"}, Case{1e15, "1E15"},
                         Case{1.5e20, "1,5E20"}, Case{765.1, "765,1"}, Case{-60, "-60"},
                         Case{99.99, "99,99"}})
        EXPECT_EQ(GeneralNumberText(c.v), QLatin1String(c.text)) << c.v;
}

TEST(NumberTexts, IndependentOfTheProcessLocale)
{
    // Qt sets the C library's locale from the environment; a comma locale must change nothing.
    const char* had = std::setlocale(LC_ALL, nullptr);
    const std::string saved = had ? had : "C";
    if (!std::setlocale(LC_NUMERIC, "ru_RU.UTF-8") && !std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        GTEST_SKIP() << "no comma locale installed";
    EXPECT_EQ(TableValueText(45.2), QStringLiteral("45,2"));
    EXPECT_EQ(GeneralNumberText(45.25), QStringLiteral("45,25"));
    EXPECT_EQ(ParseDecimal(QStringLiteral("45.25")), 45.25);
    std::setlocale(LC_ALL, saved.c_str());
}

TEST(ParseDecimal, DotOrCommaAnythingElseIsZero)
{
    struct Case {
        const char* text;
        double v;
    };
    for (const Case c : {Case{"45,25", 45.25}, Case{"45.25", 45.25}, Case{" -4,5 ", -4.5}, Case{"+99,9", 99.9},
                         Case{"-40,0", -40}, Case{"+00,0", 0}, Case{"1e3", 1000}, Case{"2,5E-1", 0.25},
                         Case{",5", 0.5}, Case{"5,", 5}, Case{"", 0}, Case{" ", 0}, Case{"---", 0}, Case{"1,2,3", 0},
                         Case{"abc", 0}, Case{"1e", 0}, Case{"+", 0}, Case{",", 0}, Case{"1 2", 0}, Case{"1e999", 0},
                         Case{"\t5", 0}, Case{"0x10", 0}, Case{"inf", 0}, Case{"nan", 0}})
        EXPECT_EQ(ParseDecimal(QLatin1String(c.text)), c.v) << '"' << c.text << '"';
}

TEST(ParseDecimal, MaskTextsThroughBlanksToZeros)
{
    EXPECT_EQ(BlanksToZeros(QStringLiteral("-4 , ")), QStringLiteral("-40,0"));
    EXPECT_EQ(ParseDecimal(BlanksToZeros(QStringLiteral("-4 , "))), -40);
    EXPECT_EQ(ParseDecimal(BlanksToZeros(QStringLiteral("+  , "))), 0);
    EXPECT_EQ(ParseDecimal(BlanksToZeros(QStringLiteral(" 3 ,5"))), 30.5);
    EXPECT_EQ(ParseDecimal(BlanksToZeros(QStringLiteral("   , "))), 0);
}

// What a masked field keeps of a stored text: a position takes only a character that fits it.
TEST(MaskedFieldText, EachPositionKeepsOnlyWhatFitsIt)
{
    const std::pair<const char*, const char*> cases[] = {
        {"+30,0", "+30,0"}, {"-5", "-5 , "},   {"", "   , "},      {"12.5", "12 , "},  {"+  , ", "+  , "},
        {"30 ;", "30 , "},  {"a1,2b", " 1 , "}, {"100,05", "100,0"}, {"9-9,9", "9 9,9"}, {"--,-", "-  , "},
    };
    for (const auto& [stored, kept] : cases)
        EXPECT_EQ(MaskedFieldText(QString::fromUtf8(stored)), QString::fromUtf8(kept)) << stored;
}

TEST(DisplayValueText, TiesToEven)
{
    EXPECT_EQ(DisplayValueText(4525), QStringLiteral("45,2"));
    EXPECT_EQ(DisplayValueText(4535), QStringLiteral("45,4"));
    EXPECT_EQ(DisplayValueText(-525), QStringLiteral("-5,2"));
    EXPECT_EQ(DisplayValueText(-4), QStringLiteral("0,0"));
}

}  // namespace
