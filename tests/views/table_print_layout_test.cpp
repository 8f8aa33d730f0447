// Page layout of the table printout with fixed font figures: program pages and their row
// blocks, column widths and centring, row heights, sheets above the footer zone, footers.
#include "views/table_print_layout.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// Fixed line heights; every character of a font is equally wide, a different width per font
// so that a text measured in the wrong font shows.
class FixedMetrics : public PrintMetrics {
public:
    int lineHeight(PrintFont font) const override
    {
        switch (font) {
        case PrintFont::Header:
            return 30;
        case PrintFont::Footer:
            return 28;
        case PrintFont::Cell:
            return 33;   // text height 33 + 4 = 37, row height 37 + 2 s = 47
        case PrintFont::Spacing:
            return 41;   // s = 5
        }
        return 0;
    }
    int textWidth(PrintFont font, const QString& text) const override
    {
        ++measured[text];
        const int perChar = font == PrintFont::Header ? 20 : font == PrintFont::Footer ? 15 : 10;
        return perChar * static_cast<int>(text.size());
    }
    mutable std::map<QString, int> measured;
};

// A table whose cells are given row by row (row 0 is the header row).
struct Cells {
    std::vector<QStringList> rows;
    PrintCellText text() const
    {
        return [this](qsizetype r, int c) { return rows[static_cast<std::size_t>(r)][c]; };
    }
};

// A table of n rows where every cell is "abc".
PrintCellText uniform(const QString& text = QStringLiteral("abc"))
{
    return [text](qsizetype, int) { return text; };
}

TEST(ProgramPages, CountAndRowBlocks)
{
    const struct {
        qsizetype rows;
        int pages;
    } counts[] = {{1, 1}, {2, 1}, {50, 1}, {51, 2}, {100, 2}, {101, 3}, {1000001, 20001}};
    for (const auto& c : counts)
        EXPECT_EQ(ProgramPageCount(c.rows), c.pages) << c.rows << " rows";

    const struct {
        int from, to;
        qsizetype rows;
        qsizetype top, bottom;
    } blocks[] = {
        {1, 1, 200, 0, 49},    // header row and data rows 1..49
        {2, 2, 200, 50, 99},   // no header row
        {2, 3, 120, 50, 119},  // a range ending on the last page stops at the last row
        {1, 3, 101, 0, 100},
        {2, 2, 51, 50, 50},    // the last data row alone
        {1, 1, 2, 0, 1},
    };
    for (const auto& b : blocks) {
        const TablePrintBlock block = ProgramPagesBlock(b.from, b.to, b.rows, 4);
        EXPECT_EQ(block.topRow, b.top) << b.from << ".." << b.to << " of " << b.rows;
        EXPECT_EQ(block.bottomRow, b.bottom) << b.from << ".." << b.to << " of " << b.rows;
        EXPECT_EQ(block.leftColumn, 0);
        EXPECT_EQ(block.rightColumn, 3);
    }
}

TEST(TablePrintLayout, TitleTableTopAndRowHeights)
{
    FixedMetrics metrics;
    const TablePrintLayout one = LayOutTablePrint(metrics, 1900, 2770, {QStringLiteral("Термогигрометр №7 - x")},
                                                  uniform(), {0, 0, 3, 3});
    EXPECT_EQ(one.unit, 5);
    ASSERT_EQ(one.titleRects.size(), 1u);
    // 21 characters × 20 = 420 wide, centred across 1900.
    EXPECT_EQ(one.titleRects[0], QRect(740, 100, 420, 30));
    EXPECT_EQ(one.tableTop, 100 + 30 + 5);
    EXPECT_EQ(one.textHeight, 37);
    EXPECT_EQ(one.rowHeight, 47);
    EXPECT_EQ(one.footerZone, 100 + 2 * 28 + 2 * 5);
    EXPECT_EQ(one.footerTop, 2770 - 100 - 5 - 28);

    // The design title before any build: "Прибор №00000" and an empty line, one below the other.
    const TablePrintLayout two = LayOutTablePrint(metrics, 1900, 2770, {QStringLiteral("Прибор №00000"), QString()},
                                                  uniform(), {0, 0, 3, 3});
    ASSERT_EQ(two.titleRects.size(), 2u);
    EXPECT_EQ(two.titleRects[0], QRect(820, 100, 260, 30));
    EXPECT_EQ(two.titleRects[1], QRect(950, 130, 0, 30));
    EXPECT_EQ(two.tableTop, 100 + 60 + 5);
    EXPECT_EQ(two.cellRect(0, 0).top(), two.tableTop);
    EXPECT_EQ(two.cellRect(2, 0).top(), two.tableTop + 2 * 47);
}

TEST(TablePrintLayout, ColumnWidthsComeFromThePrintedRowsOnly)
{
    Cells cells{{
        {"Дата", "Время", "A, г/куб.м", "Т, °C"},        // row 0: header
        {"14.03.26", "10:00", "", "-5,3"},                // empty cell: "gh"
        {"14.03.26", "10:01", "---", "125,0"},
        {"14.03.26", "10:02", "", "1234567,0"},           // widest temperature, row 3
    }};
    const struct {
        const char* name;
        TablePrintBlock block;
        std::vector<int> widths;
    } cases[] = {
        {"all rows: the header decides column 2", {0, 0, 3, 3}, {100, 70, 120, 110}},
        {"data rows 1-2: no header, empty counts as gh", {0, 1, 3, 2}, {100, 70, 50, 70}},
        {"row 1 alone", {0, 1, 3, 1}, {100, 70, 40, 60}},
        {"columns 1-2 of rows 1-3", {1, 1, 2, 3}, {70, 50}},
    };
    for (const auto& c : cases) {
        FixedMetrics metrics;
        const TablePrintLayout layout = LayOutTablePrint(metrics, 1000, 2000, {QStringLiteral("t")}, cells.text(),
                                                         c.block);
        EXPECT_EQ(layout.columnWidths, c.widths) << c.name;
        int sum = 0;
        for (int w : c.widths)
            sum += w;
        EXPECT_EQ(layout.tableWidth, sum) << c.name;
        EXPECT_EQ(layout.tableLeft, (1000 - sum) / 2) << c.name;
        // Columns follow one another from the table's left edge.
        int x = layout.tableLeft;
        for (int col = c.block.leftColumn; col <= c.block.rightColumn; ++col) {
            const QRect r = layout.cellRect(1, col);
            EXPECT_EQ(r.left(), x) << c.name << " column " << col;
            EXPECT_EQ(r.width(), c.widths[static_cast<std::size_t>(col - c.block.leftColumn)]);
            EXPECT_EQ(r.height(), 47);
            x += r.width();
        }
    }
}

TEST(TablePrintLayout, CentringUsesIntegerDivisionAndMayStartLeftOfTheArea)
{
    FixedMetrics metrics;
    // One column "abcd": 40 + 20 = 60 wide.
    EXPECT_EQ(LayOutTablePrint(metrics, 1001, 2000, {}, uniform("abcd"), {0, 0, 0, 0}).tableLeft, 470);
    // A table wider than the page is not scaled: its left edge lies left of the printable area.
    EXPECT_EQ(LayOutTablePrint(metrics, 100, 2000, {}, uniform("abcdefghijklmno"), {0, 0, 0, 0}).tableLeft, -35);
}

TEST(TablePrintLayout, DistinctTextsAreMeasuredOnce)
{
    FixedMetrics metrics;
    LayOutTablePrint(metrics, 1000, 2000, {}, uniform("10:00"), {0, 0, 3, 9999});
    EXPECT_EQ(metrics.measured[QStringLiteral("10:00")], 1);
}

// With a one-line title the table starts at 135; row k (from 0) ends its text at 135 + 47 k + 37
// and must stay at or above pageHeight - 166.
TEST(TablePrintLayout, SheetsEndAboveTheFooterZone)
{
    const struct {
        int pageHeight;
        qsizetype top, bottom;
        std::vector<std::pair<qsizetype, qsizetype>> sheets;  // first row, row count
    } cases[] = {
        // 135 + 47 × 9 + 37 = 595 = 761 - 166: ten rows fit exactly.
        {761, 0, 24, {{0, 10}, {10, 10}, {20, 5}}},
        // One unit less: the tenth row moves to the next sheet.
        {760, 0, 24, {{0, 9}, {9, 9}, {18, 7}}},
        {761, 50, 59, {{50, 10}}},
        {761, 50, 60, {{50, 10}, {60, 1}}},
        // No row fits at all: each sheet still takes one.
        {300, 0, 2, {{0, 1}, {1, 1}, {2, 1}}},
    };
    for (const auto& c : cases) {
        FixedMetrics metrics;
        const TablePrintLayout layout = LayOutTablePrint(metrics, 1000, c.pageHeight, {QStringLiteral("t")},
                                                         uniform(), {0, c.top, 3, c.bottom});
        std::vector<std::pair<qsizetype, qsizetype>> sheets;
        for (const TablePrintSheet& s : layout.sheets)
            sheets.emplace_back(s.firstRow, s.rowCount);
        EXPECT_EQ(sheets, c.sheets) << "page " << c.pageHeight << ", rows " << c.top << ".." << c.bottom;
        EXPECT_EQ(layout.sheetCount(), static_cast<int>(c.sheets.size()));
    }
}

TEST(TablePrintFooter, TextsOfDateTimeAndSheetNumber)
{
    const struct {
        QDateTime now;
        DateTimeSeparators separators;
        int sheet, count;
        const char* left;
        const char* centre;
        const char* right;
    } cases[] = {
        {QDateTime(QDate(2026, 3, 4), QTime(9, 5, 59)), {'.', ':'}, 1, 1, "04.03.2026 ", " 09:05", " - 1 -"},
        {QDateTime(QDate(2026, 12, 31), QTime(23, 59)), {'/', '.'}, 1, 3, "31/12/2026 ", " 23.59", " - 1/3 -"},
        {QDateTime(QDate(2026, 1, 1), QTime(0, 0)), {'-', ':'}, 3, 3, "01-01-2026 ", " 00:00", " - 3/3 -"},
        {QDateTime(QDate(2026, 7, 15), QTime(14, 30)), {'.', ':'}, 12, 120, "15.07.2026 ", " 14:30", " - 12/120 -"},
    };
    for (const auto& c : cases) {
        const TablePrintFooter f = TablePrintFooterTexts(c.now, c.separators, c.sheet, c.count);
        EXPECT_EQ(f.left, QString::fromUtf8(c.left));
        EXPECT_EQ(f.centre, QString::fromUtf8(c.centre));
        EXPECT_EQ(f.right, QString::fromUtf8(c.right));
    }
}

TEST(TablePrintFooter, PlacesDateLeftTimeCentredNumberRight)
{
    FixedMetrics metrics;
    const TablePrintLayout layout = LayOutTablePrint(metrics, 1901, 2770, {QStringLiteral("t")}, uniform(),
                                                     {0, 0, 3, 3});
    const TablePrintFooter texts{QStringLiteral("14.03.2026 "), QStringLiteral(" 10:00"), QStringLiteral(" - 1/3 -")};
    const TablePrintFooterRects r = PlaceTablePrintFooter(layout, metrics, texts);
    const int top = 2770 - 100 - 5 - 28;
    EXPECT_EQ(r.left, QRect(100, top, 165, 28));
    EXPECT_EQ(r.centre, QRect((1901 - 90) / 2, top, 90, 28));
    EXPECT_EQ(r.right, QRect(1901 - 120 - 120, top, 120, 28));
    // The texts' lower edge is 100 + s above the bottom of the printable area.
    EXPECT_EQ(r.left.top() + r.left.height(), 2770 - 105);
}

TEST(TablePrintFrame, OneScreenPixelOnPaper)
{
    const struct {
        double dpi;
        int width;
    } cases[] = {{96, 3}, {120, 2}, {144, 2}, {72, 4}, {254, 1}, {600, 1}, {0, 3}};
    for (const auto& c : cases)
        EXPECT_EQ(PrintFrameWidth(c.dpi), c.width) << c.dpi;
}

}  // namespace
