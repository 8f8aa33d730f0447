#include "views/ui/report_output.h"

#include "logging/report_pool.h"
#include "logging/report_state.h"
#include "platform/clock.h"
#include "platform/wait_progress.h"
#include "report/date_time.h"
#include "views/csv_export.h"
#include "views/table_export.h"
#include "views/ui/graph_charts.h"
#include "views/ui/graph_page.h"
#include "views/ui/print_job.h"
#include "views/ui/report_table_model.h"
#include "views/ui/rgb_color.h"
#include "views/ui/table_printout.h"
#include "views/ui/text_report_page.h"
#include "views/ui/time_chart.h"
#include "views/xls_workbook.h"
#include "widgets/dialogs.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPalette>
#include <QPrinter>
#include <QScreen>

#include <algorithm>

namespace {

struct ExportForm {
    const char* filter;
    const char* pattern;
    const char* extension;
    enum Writer { Text, Workbook, Html, Csv } writer;
};

// The entries of the save dialog, in order; entry 2 lists .csv files but writes a workbook.
const ExportForm kForms[] = {
    {"Отчёт (*.txt)", "*.txt", ".txt", ExportForm::Text},
    {"Отчёт Excel", "*.csv", ".xls", ExportForm::Workbook},
    {"Отчёт (*.doc)", "*.doc", ".doc", ExportForm::Text},
    {"Отчёт (*.htm)", "*.htm", ".htm", ExportForm::Html},
    // The readings themselves for analysis, every record of the interval.
    {"Данные CSV", "*.csv", ".csv", ExportForm::Csv},
};


// Today's date as the table writes dates (day, month, two-digit year with the system's
// separator), made a file name: the separators (dots, and the slashes some systems use, which
// would name directories) become "_".
QString ProposedFileName(const QDate& today)
{
    QString name = DateText(DayCountOf(today, 0), SystemDateTimeSeparators().date);
    for (const QChar c : {QLatin1Char('.'), QLatin1Char('/'), QLatin1Char('\\')})
        name.replace(c, QLatin1Char('_'));
    return name;
}

class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};


// The table's screen font at its point size on paper (11 px on a 96-dpi screen is 8 pt).
QFont PrintCellFont(QFont font)
{
    if (font.pixelSize() > 0)
        font.setPointSize(std::max(1, static_cast<int>(font.pixelSize() * 72.0 / 96.0 + 0.5)));
    return font;
}

}  // namespace

ReportOutput::ReportOutput(Dialogs& dialogs, Clock& clock, QString programDirectory, const TextReportPage& textPage,
                           GraphPage& graphPage, const ReportState& report, std::function<void()> prepareCharts,
                           QObject* parent)
    : QObject(parent),
      dialogs_(dialogs),
      clock_(clock),
      programDirectory_(std::move(programDirectory)),
      textPage_(textPage),
      graphPage_(graphPage),
      report_(report),
      prepareCharts_(std::move(prepareCharts)),
      logo_(QStringLiteral(":/kelmora/logo.png"))
{
}

ReportOutput::~ReportOutput() = default;

void ReportOutput::saveTable()
{
    SaveFileRequest request;
    request.title = QStringLiteral("Записать");
    request.directory = programDirectory_;
    request.fileName = ProposedFileName(clock_.now().date());
    for (const ExportForm& form : kForms) {
        request.filters << QString::fromUtf8(form.filter);
        request.patterns << QString::fromLatin1(form.pattern);
    }
    request.filterIndex = lastSaveEntry_;
    const std::optional<SaveFileChoice> choice = dialogs_.saveFile(request);
    if (!choice)
        return;
    lastSaveEntry_ = std::clamp(choice->filterIndex, 1, int(std::size(kForms)));

    if (wait_) {
        wait_->setText(QStringLiteral("Подождите, идет сохранение отчета..."));
        wait_->setMaximum(2);
        wait_->setPosition(1);
        wait_->showWindow();
    }
    // The wait window goes also when the writer fails; the error then reaches the error box.
    struct HideWait {
        WaitProgress* wait;
        ~HideWait()
        {
            if (wait) {
                wait->hideWindow();
                wait->processMessages();
            }
        }
    } hideWait{wait_};

    const ExportForm& form = kForms[lastSaveEntry_ - 1];
    const QString fileName = ChangeFileExt(choice->fileName, QString::fromLatin1(form.extension));
    const ReportTable& table = textPage_.model().table();
    const WaitCursor hourglass;
    switch (form.writer) {
    case ExportForm::Text:
        SaveToASCII(fileName, table);
        break;
    case ExportForm::Workbook:
        SaveToXLS(fileName, table);
        break;
    case ExportForm::Html: {
        const QPalette palette = textPage_.tablePalette();
        SaveToHTML(fileName, table,
                   PlatformColors{RgbOf(palette.color(QPalette::Active, QPalette::Button)),
                                  RgbOf(palette.color(QPalette::Active, QPalette::Base)),
                                  RgbOf(palette.color(QPalette::Active, QPalette::Text))});
        break;
    }
    case ExportForm::Csv:
        SaveToCSV(fileName, report_);
        break;
    }
}

void ReportOutput::printTable()
{
    const std::shared_ptr<const ReportTable> table = textPage_.model().sharedTable();
    const qsizetype rows = table->rowCount();
    const int pages = ProgramPageCount(rows);

    // The dialog works on one printer for the whole run, so it keeps the user's printer, the
    // choice of all pages or a range, and the from-page; only the largest page and the to-page
    // are set here.
    QPrinter& printer = ProgramPrinter(printer_);
    printer.setFromTo(std::clamp(fromPage_, 1, pages), pages);
    // Without a printer the dialog offers printing into a PDF file.
    const bool printers = dialogs_.printersInstalled();
    if (!printers)
        dialogs_.message(NoPrinterText());
    if (!dialogs_.print(printer, 1, pages, !printers))
        return;
    // A job of all pages leaves the printer without a range; the from-page stays as chosen.
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0)
        fromPage_ = printer.fromPage();
    printer.setDocName(PrintJobName(table->title()));

    TablePrintSource source;
    // Before the first build the title is the form's design text.
    source.titleLines = table->title().isEmpty() ? QStringList{QStringLiteral("Прибор №00000"), QString()}
                                                 : QStringList{table->title()};
    // Row 0 prints the header texts Grid1 shows; the other rows the table's cell texts.
    const ReportTableModel* model = &textPage_.model();
    source.cellText = [table, model](qsizetype row, int column) {
        return row == 0 ? model->headerData(column, Qt::Horizontal).toString() : table->cellText(row, column);
    };
    source.rowCount = rows;
    source.columnCount = table->columnCount();
    source.cellFont = PrintCellFont(textPage_.cellFont());
    const QScreen* screen = QGuiApplication::primaryScreen();
    const TablePrintout printout(source, clock_, screen ? screen->logicalDotsPerInch() : 96.0);

    if (printer.printRange() == QPrinter::PageRange) {
        const TablePrintBlock block = ProgramPagesBlock(printer.fromPage(), printer.toPage(), rows, source.columnCount);
        printout.PrintRect(printer, block.leftColumn, block.topRow, block.rightColumn, block.bottomRow);
    } else {
        printout.print(printer);
    }
}

void ReportOutput::printGraph()
{
    // The same printer the table's print dialog uses, for the whole run.
    QPrinter& printer = ProgramPrinter(printer_);
    if (dialogs_.printersInstalled()) {
        // Confirmed or cancelled, printing goes on with the printer as the dialog leaves it.
        dialogs_.printerSetup(printer);
    } else {
        // Without a printer only a PDF file can take the page: the dialog offers one, and
        // cancelling it leaves nothing to print on.
        dialogs_.message(NoPrinterText());
        if (!dialogs_.print(printer, 0, 0, true))
            return;
    }
    // The graph is one page: a range the table's dialog left on the shared printer (pages 2-3)
    // would leave the job without a page. Every option the printout relies on is its own.
    printer.setPrintRange(QPrinter::AllPages);
    printer.setFromTo(0, 0);
    ClearPrintServerPageRange(printer);
    printer.setDocName(PrintJobName(textPage_.model().sharedTable()->title()));
    prepareCharts_();
    PrintCharts(printer, *graphPage_.humidityChart(), *graphPage_.temperatureChart(), logo_);
}

void ReportOutput::saveChartPictures()
{
    // Each chart at its screen size as a Windows bitmap or a placeable metafile, the humidity
    // chart under the extension ending in 1, the temperature chart under the one ending in 2.
    SaveFileRequest request;
    request.title = QStringLiteral("Экспорт графика");
    request.directory = programDirectory_;
    request.fileName = QStringLiteral("chart.bmp");
    request.filters << QStringLiteral("Картинка (*.bmp)") << QStringLiteral("Картинка (*.wmf)");
    request.filterIndex = 1;
    const std::optional<SaveFileChoice> choice = dialogs_.saveFile(request);
    if (!choice)
        return;
    const bool metafile = std::clamp(choice->filterIndex, 1, 2) == 2;
    prepareCharts_();
    SaveChartPictures(*graphPage_.humidityChart(), *graphPage_.temperatureChart(), choice->fileName, metafile);
}
