// TMainForm::AcPrintReportExecute: the table printout. The print dialog offers the table as
// pages of 50 rows; all pages print the whole table, a page range prints its block of rows.
#include "app/main_form.h"
#include "views/ui/text_report_page.h"

#include "widgets/dialogs.h"
#include "views/ui/print_job.h"
#include "views/ui/report_table_model.h"
#include "views/ui/table_printout.h"

#include <QGuiApplication>
#include <QPrinter>
#include <QScreen>
#include <QTableView>

#include <algorithm>

namespace {

// The table's screen font at its point size on paper (11 px on a 96-dpi screen is 8 pt).
QFont PrintCellFont(QFont font)
{
    if (font.pixelSize() > 0)
        font.setPointSize(std::max(1, static_cast<int>(font.pixelSize() * 72.0 / 96.0 + 0.5)));
    return font;
}

}  // namespace

void TMainForm::AcPrintReportExecute()
{
    const std::shared_ptr<const ReportTable> table = TabSheet2->model().sharedTable();
    const qsizetype rows = table->rowCount();
    const int pages = ProgramPageCount(rows);

    // The dialog works on one printer for the whole run, so it keeps the user's printer, the
    // choice of all pages or a range, and the from-page; only the largest page and the to-page
    // are set here.
    QPrinter& printer = ProgramPrinter(PrintDialog1);
    printer.setFromTo(std::clamp(PrintFromPage, 1, pages), pages);
    // Without a printer the dialog offers printing into a PDF file.
    const bool printers = dialogs().PrintersInstalled();
    if (!printers)
        dialogs().Message(NoPrinterText());
    if (!dialogs().Print(printer, 1, pages, !printers))
        return;
    // A job of all pages leaves the printer without a range; the from-page stays as chosen.
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0)
        PrintFromPage = printer.fromPage();
    printer.setDocName(QString());

    TablePrintSource source;
    // Before the first build the title is the form's design text.
    source.titleLines = table->title().isEmpty() ? QStringList{QStringLiteral("Прибор №00000"), QString()}
                                                 : QStringList{table->title()};
    // Row 0 prints the header texts Grid1 shows; the other rows the table's cell texts.
    const ReportTableModel* model = &TabSheet2->model();
    source.cellText = [table, model](qsizetype row, int column) {
        return row == 0 ? model->headerData(column, Qt::Horizontal).toString() : table->cellText(row, column);
    };
    source.rowCount = rows;
    source.columnCount = table->columnCount();
    source.cellFont = PrintCellFont(TabSheet2->cellFont());
    const QScreen* screen = QGuiApplication::primaryScreen();
    const TablePrintout printout(source, clock(), screen ? screen->logicalDotsPerInch() : 96.0);

    if (printer.printRange() == QPrinter::PageRange) {
        const TablePrintBlock block = ProgramPagesBlock(printer.fromPage(), printer.toPage(), rows, source.columnCount);
        printout.PrintRect(printer, block.leftColumn, block.topRow, block.rightColumn, block.bottomRow);
    } else {
        printout.Print(printer);
    }
}
