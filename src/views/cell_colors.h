// The colour rule of the text report's table (cellStyleOf): marks cells that hold no
// valid value and values outside their thresholds. The table calls it when painting a cell,
// the HTML export for every cell it writes.
#pragma once

#include "report/report_table.h"

#include <QString>

struct CellStyle {
    Rgb background = 0xFFFFFF;
    Rgb fontColor = kBlack;
    bool bold = false;

    bool operator==(const CellStyle&) const = default;
};

// The style of the cell in row r, column c with text s, starting from its normal colours:
// "---" in a value column is yellow bold on red; a value above its upper threshold red bold on
// yellow, below its lower threshold blue bold on yellow (the font colour compares with the
// lower threshold only); dates, times and the header row never change.
CellStyle cellStyleOf(qsizetype row, int column, const QString& text, const Thresholds& thresholds,
                            CellStyle normal);

// The style of a "---" cell.
inline constexpr CellStyle kInvalidCellStyle{kRed, kYellow, true};
// The rule for a data cell of value column 2 or 3 whose text reads as value (ParseDecimal of
// the text): what cellStyleOf gives for every text but "---". The exports call it with
// the value of the text they have just made, without parsing it again.
CellStyle ValueCellColor(int column, double value, const Thresholds& thresholds, CellStyle normal);

// cellAlignment: every cell of the table, the header row included, is centred
// horizontally; the vertical alignment stays as given (the table's default, centred).
inline void cellAlignment(qsizetype /*row*/, int /*column*/, Qt::Alignment& horizontal,
                              Qt::Alignment& /*vertical*/)
{
    horizontal = Qt::AlignHCenter;
}
