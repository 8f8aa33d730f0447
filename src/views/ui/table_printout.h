// The table printout on a printer: lays the table out once to count the sheets, then paints
// each sheet — title, cells with their backgrounds and frames, footer — converting the
// layout's 0.1 mm to the printer's device units. Printer failures are thrown.
#pragma once

#include "views/table_print_layout.h"

#include <QFont>
#include <QStringList>

class Clock;
class QPrinter;

// What the printout prints: the title lines, the cell texts as the table shows them and the
// size of the table (rows counted with the header row 0).
struct TablePrintSource {
    QStringList titleLines;
    PrintCellText cellText;
    qsizetype rowCount = 0;
    int columnCount = 0;
    QFont cellFont;          // the table's screen font at its point size
};

class TablePrintout {
public:
    // clock gives the date and time of printing; screenDotsPerInch sets the frame width.
    TablePrintout(TablePrintSource source, const Clock& clock, double screenDotsPerInch = 96);

    // One print job of the whole table.
    void print(QPrinter& printer) const;
    // One print job of the given block of the table (columns and rows, both ends included).
    void PrintRect(QPrinter& printer, int leftColumn, qsizetype topRow, int rightColumn, qsizetype bottomRow) const;

private:
    TablePrintSource source_;
    const Clock& clock_;
    double screenDotsPerInch_;
};

// The fonts of the printout: title 8 pt bold, footer 8 pt, spacing 10 pt, in the design
// family (Tahoma, or its stand-in).
QFont TablePrintFont(PrintFont font);
