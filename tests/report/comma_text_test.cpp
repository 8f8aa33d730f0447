// The comma text of a comment: which lines are quoted, inner quotes doubled, the one-empty-line
// and no-lines cases.
#include "report/comma_text.h"

#include <gtest/gtest.h>

namespace {

struct CommaCase {
    const char* name;
    QStringList lines;
    QString expected;
};

void PrintTo(const CommaCase& c, std::ostream* os)
{
    *os << c.name;
}

class CommaTextTest : public ::testing::TestWithParam<CommaCase> {};

TEST_P(CommaTextTest, JoinsLinesQuotingWhereNeeded)
{
    EXPECT_EQ(CommaText(GetParam().lines), GetParam().expected);
}

const QString Q = QStringLiteral("\"");

INSTANTIATE_TEST_SUITE_P(
    Lines, CommaTextTest,
    ::testing::Values(
        CommaCase{"NoLines", {}, QString()},
        CommaCase{"OneEmptyLine", {QString()}, QStringLiteral("\"\"")},
        CommaCase{"PlainWord", {QStringLiteral("Склад")}, QStringLiteral("Склад")},
        CommaCase{"LineWithBlank", {QStringLiteral("Склад 1")}, QStringLiteral("\"Склад 1\"")},
        CommaCase{"Placeholder", {QStringLiteral("Введите комментарий")}, QStringLiteral("\"Введите комментарий\"")},
        CommaCase{"TwoLinesOneQuoted", {QStringLiteral("Склад"), QStringLiteral("полка 3")},
                  QStringLiteral("Склад,\"полка 3\"")},
        CommaCase{"ThreePlainLines", {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")},
                  QStringLiteral("a,b,c")},
        CommaCase{"InnerQuoteDoubled", {QStringLiteral("a\"b")}, QStringLiteral("\"a\"\"b\"")},
        CommaCase{"OnlyQuotes", {QStringLiteral("\"\"")}, QStringLiteral("\"\"\"\"\"\"")},
        CommaCase{"Comma", {QStringLiteral("a,b")}, QStringLiteral("\"a,b\"")},
        CommaCase{"Tab", {QStringLiteral("a\tb")}, QStringLiteral("\"a\tb\"")},
        CommaCase{"ControlOne", {QString(QChar(1))}, Q + QChar(1) + Q},
        CommaCase{"ControlThirtyOne", {QStringLiteral("x") + QChar(31)}, Q + QStringLiteral("x") + QChar(31) + Q},
        CommaCase{"TrailingBlank", {QStringLiteral("word ")}, QStringLiteral("\"word \"")},
        CommaCase{"PunctuationAboveBlankStaysBare", {QStringLiteral("!#$%;'")}, QStringLiteral("!#$%;'")},
        CommaCase{"NoBreakSpaceIsNoBlank", {QStringLiteral("a") + QChar(0xA0) + QStringLiteral("b")},
                  QStringLiteral("a") + QChar(0xA0) + QStringLiteral("b")},
        // Only a comment of one empty line is marked; an empty line among others stays empty.
        CommaCase{"EmptyFirstOfTwo", {QString(), QStringLiteral("a")}, QStringLiteral(",a")},
        CommaCase{"EmptyLastOfTwo", {QStringLiteral("a"), QString()}, QStringLiteral("a,")},
        CommaCase{"TwoEmptyLines", {QString(), QString()}, QStringLiteral(",")},
        CommaCase{"QuotedAmongBare", {QStringLiteral("x"), QStringLiteral("say \"hi\""), QStringLiteral("y")},
                  QStringLiteral("x,\"say \"\"hi\"\"\",y")}),
    [](const ::testing::TestParamInfo<CommaCase>& info) { return std::string(info.param.name); });

}  // namespace
