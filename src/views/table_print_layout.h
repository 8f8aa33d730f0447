// Page layout of the table printout, in 0.1 mm on paper measured from the edges of the
// printable area: the program's 50-row pages, column widths, centring, row heights, the
// split into sheets above the footer zone, and the title and footer places and texts.
#pragma once

#include "report/date_time.h"

#include <QDateTime>
#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// The fonts of the printout: the title, the footer, the cells, and the 10-pt font that only
// sets the spacing unit.
enum class PrintFont { Header, Footer, Cell, Spacing };

// Text measurement on paper, in 0.1 mm. The window side measures with the printer's fonts;
// tests give fixed figures.
class PrintMetrics {
public:
    virtual ~PrintMetrics() = default;
    virtual int lineHeight(PrintFont font) const = 0;
    virtual int textWidth(PrintFont font, const QString& text) const = 0;
};

// Rows the print dialog counts as one page (the header row is row 0 of page 1).
inline constexpr int kRowsPerProgramPage = 50;

// Pages the print dialog offers for a table of rowCount rows, header row included.
int ProgramPageCount(qsizetype rowCount);

// A block of the table to print: columns and rows, both ends included.
struct TablePrintBlock {
    int leftColumn = 0;
    qsizetype topRow = 0;
    int rightColumn = 0;
    qsizetype bottomRow = 0;
};

// The block of program pages fromPage..toPage of a table of rowCount rows and columnCount
// columns: rows (from - 1) × 50 to the smaller of to × 50 - 1 and the last row.
TablePrintBlock ProgramPagesBlock(int fromPage, int toPage, qsizetype rowCount, int columnCount);

// One printed sheet: the table rows it holds.
struct TablePrintSheet {
    qsizetype firstRow = 0;
    qsizetype rowCount = 0;
};

// Fixed distances of the printout (0.1 mm).
inline constexpr int kPrintTopMargin = 100;      // top of the title below the top edge
inline constexpr int kPrintBottomMargin = 100;   // footer texts and the footer zone
inline constexpr int kPrintLeftMargin = 100;     // start of the date
inline constexpr int kPrintRightMargin = 100;    // right margin of the page number ...
inline constexpr int kPrintPageNumberGap = 20;   // ... plus this gap
inline constexpr int kPrintCellPadding = 20;     // added to the widest text of a column

// The cell text of table row r, column c (row 0 is the header row).
using PrintCellText = std::function<QString(qsizetype row, int column)>;

struct TablePrintLayout {
    int pageWidth = 0;             // printable area
    int pageHeight = 0;
    int unit = 0;                  // s: one eighth of the spacing font's line height
    TablePrintBlock block;
    QStringList titleLines;
    std::vector<QRect> titleRects; // one per title line, centred across the page
    std::vector<int> columnWidths; // columns leftColumn..rightColumn
    int tableLeft = 0;
    int tableWidth = 0;
    int tableTop = 0;              // first row of every sheet
    int textHeight = 0;            // line height of the cell font plus one eighth
    int rowHeight = 0;             // textHeight + 2 s
    int footerZone = 0;            // height of the band no row may reach into
    int footerTop = 0;             // top of the footer texts
    int footerHeight = 0;          // line height of the footer font
    std::vector<TablePrintSheet> sheets;

    int sheetCount() const { return static_cast<int>(sheets.size()); }
    // Paper rectangle of a cell on its sheet: i counts the rows of the sheet from 0.
    QRect cellRect(int indexOnSheet, int column) const;
};

// Lays out the block of the table on sheets of the given printable size; no output.
// A sheet always takes at least one row, so a page too small for any row still ends.
TablePrintLayout LayOutTablePrint(const PrintMetrics& metrics, int pageWidth, int pageHeight,
                                  const QStringList& titleLines, const PrintCellText& cellText,
                                  const TablePrintBlock& block);

// The three footer texts of a sheet (sheet counts from 1).
struct TablePrintFooter {
    QString left;    // date "dd/mm/yyyy" and a blank
    QString centre;  // a blank and the time "hh:nn"
    QString right;   // " - n/N -", or " - n -" for a job of one sheet
};
TablePrintFooter TablePrintFooterTexts(const QDateTime& now, const DateTimeSeparators& separators, int sheet,
                                       int sheetCount);

// Where the footer texts go: the date from the left margin, the time centred, the page
// number ending 12 mm from the right edge, all with their lower edge 100 + s above the bottom.
struct TablePrintFooterRects {
    QRect left;
    QRect centre;
    QRect right;
};
TablePrintFooterRects PlaceTablePrintFooter(const TablePrintLayout& layout, const PrintMetrics& metrics,
                                            const TablePrintFooter& texts);

// Width of a cell frame on paper: one screen pixel, 254 / dots per inch rounded (3 at 96).
int PrintFrameWidth(double screenDotsPerInch);
