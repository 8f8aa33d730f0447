// The table printout through the window's action, printed to PDF and read back with
// poppler's pdftotext and pdfinfo: pages offered, the rows of a page range, sheets with title
// and footer, the header row once, portrait always, the time of printing, a failing printer.
#include "support/main_window_fixture.h"
#include "widgets/standard_error.h"
#include "report/date_time.h"
#include "views/ui/report_table_model.h"

#include <QImage>
#include <QMouseEvent>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>

namespace {

double at(int minute)
{
    return DayCountOf(QDate(2026, 3, 14), (10 * 60 + minute) * 60000);
}

// The text of a PDF, one entry per sheet, as pdftotext lays it out.
QStringList pdfSheets(const QString& path)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), path,
                                          QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return {};
    QStringList sheets = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!sheets.isEmpty() && sheets.last().trimmed().isEmpty())
        sheets.removeLast();
    return sheets;
}

// pdfinfo's "Page size" in points of the first page; width > height means landscape.
QSizeF pdfPageSize(const QString& path)
{
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {path});
    if (!p.waitForFinished(30000))
        return {};
    const QString info = QString::fromUtf8(p.readAllStandardOutput());
    const auto m = QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+)")).match(info);
    return m.hasMatch() ? QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()) : QSizeF();
}

int pdfPageCount(const QString& path)
{
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {path});
    if (!p.waitForFinished(30000))
        return -1;
    const auto m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(QString::fromUtf8(p.readAllStandardOutput()));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// The first sheet of a PDF rendered to a picture at the given dots per inch.
QImage pdfFirstSheetImage(const QString& path, int dpi)
{
    const QString prefix = path + QStringLiteral(".sheet");
    QProcess p;
    p.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"),
                                         QStringLiteral("-singlefile"), QStringLiteral("-f"), QStringLiteral("1"),
                                         QStringLiteral("-l"), QStringLiteral("1"), path, prefix});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return {};
    return QImage(prefix + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

bool near(QRgb a, const QColor& b)
{
    return std::abs(qRed(a) - b.red()) <= 3 && std::abs(qGreen(a) - b.green()) <= 3 && std::abs(qBlue(a) - b.blue()) <= 3;
}

bool dark(QRgb a)
{
    return qGray(a) < 80;
}

class PrintTable : public MainWindowFixture {
protected:
    void SetUp() override
    {
        startAndShow();
        form().setReportActionsEnabled(true);
        pdf = QDir(dir.path()).filePath(QStringLiteral("table.pdf"));
    }

    // "Распечатать таблицу" chosen by the user.
    void printTable() { gui::named<QAction>(form(), "AcPrintReport")->trigger(); }

    // dataRows readings a minute apart from 10:00, humidity 40,0 + row/10, temperature 20,00.
    void build(int dataRows)
    {
        ReportState& r = form().document().state();
        r.ReportData.clear();
        for (int i = 0; i < dataRows; ++i)
            r.ReportData.push_back({at(i), static_cast<int16_t>(4000 + 10 * i % 5000), 2000});
        r.ReportCount = r.ReportData.size();
        r.IntervalStart = 0;
        r.IntervalEnd = at(24 * 60);
        r.DeviceNumberText = QStringLiteral("1A2B");
        r.ReportComment = QStringLiteral("склад");
        form().BuildReport(false);
    }

    // The printer the print dialog works on, writing a PDF file.
    QPrinter& pdfPrinter(QPageLayout::Orientation orientation = QPageLayout::Portrait)
    {
        auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdf);
        printer->setPageSize(QPageSize(QPageSize::A4));
        printer->setPageOrientation(orientation);
        form().reportOutput().usePrinter(printer);
        return *printer;
    }

    void print(int fromPage = 0, int toPage = 0)
    {
        dialogs.printFromPage = fromPage;
        dialogs.printToPage = toPage;
        printTable();
    }

    // The printed time texts of the data rows, sheet by sheet ("10:00" is data row 1).
    static QList<QStringList> printedTimes(const QStringList& sheets)
    {
        const QRegularExpression row(QStringLiteral("^\\s*(\\d\\d.\\d\\d.\\d\\d)\\s+(\\d\\d.\\d\\d)\\s+(\\S+)\\s+(\\S+)\\s*$"));
        QList<QStringList> result;
        for (const QString& sheet : sheets) {
            QStringList times;
            for (const QString& line : sheet.split(QLatin1Char('\n'))) {
                const auto m = row.match(line);
                if (m.hasMatch())
                    times << m.captured(2);
            }
            result << times;
        }
        return result;
    }
    static QString timeOfDataRow(int row)
    {
        return TimeText(at(row - 1), SystemDateTimeSeparators().time);
    }
    static QStringList timesOfDataRows(int first, int last)
    {
        QStringList times;
        for (int r = first; r <= last; ++r)
            times << timeOfDataRow(r);
        return times;
    }
    static bool hasHeaderRow(const QString& sheet)
    {
        return QRegularExpression(QStringLiteral("Дата\\s+Время\\s+RH, %\\s+Т, °C")).match(sheet).hasMatch();
    }
    static QString footerLine(const QString& sheet)
    {
        const QStringList lines = sheet.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        return lines.isEmpty() ? QString() : lines.last().simplified();
    }
    // The footer ends with the page number between hyphens (pdftotext may drop the narrow
    // blanks around it; the texts themselves are checked where the footer is made).
    static bool pageNumber(const QString& footer, const QString& number)
    {
        return QRegularExpression(QStringLiteral("\\s-\\s?") + QRegularExpression::escape(number) +
                                  QStringLiteral("\\s?-$"))
            .match(footer)
            .hasMatch();
    }
    static QString dateText(const QDate& d)
    {
        const QChar s = SystemDateTimeSeparators().date;
        return d.toString(QStringLiteral("dd")) + s + d.toString(QStringLiteral("MM")) + s + d.toString(QStringLiteral("yyyy"));
    }

    QString pdf;
};

TEST_F(PrintTable, TheDialogOffersFiftyRowPagesAndCancelPrintsNothing)
{
    const struct {
        int dataRows;
        int pages;
    } cases[] = {{0, 1}, {1, 1}, {49, 1}, {50, 2}, {99, 2}, {100, 3}};
    pdfPrinter();
    for (const auto& c : cases) {
        build(c.dataRows);
        dialogs.printAnswers = {false};
        dialogs.printRanges.clear();
        print();
        ASSERT_EQ(dialogs.printRanges.size(), 1u) << c.dataRows;
        EXPECT_EQ(dialogs.printRanges[0], std::make_pair(1, c.pages)) << c.dataRows << " data rows";
        EXPECT_EQ(form().reportOutput().printer()->toPage(), c.pages) << c.dataRows << " data rows";
    }
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(PrintTable, TheDialogKeepsTheUsersChoicesFromRunToRun)
{
    build(150);
    QPrinter& printer = pdfPrinter();
    print(2, 3);
    ASSERT_TRUE(QFile::exists(pdf));
    // The same printer comes back to the dialog with the from-page chosen last; the to-page is
    // the largest page of the table printed now.
    build(60);
    dialogs.printAnswers = {false};
    printTable();
    EXPECT_EQ(form().reportOutput().printer(), &printer);
    EXPECT_EQ(printer.printRange(), QPrinter::PageRange);
    EXPECT_EQ(printer.fromPage(), 2);
    EXPECT_EQ(printer.toPage(), 2);
    EXPECT_EQ(printer.outputFileName(), pdf);
}

TEST_F(PrintTable, AJobOfAllPagesKeepsTheFromPageForTheNextDialog)
{
    build(300);
    pdfPrinter();
    print(4, 5);
    print();  // all pages: the dialog clears its range
    ASSERT_TRUE(QFile::exists(pdf));
    dialogs.printAnswers = {false};
    printTable();
    ASSERT_EQ(dialogs.fromPagesOffered.size(), 3u);
    EXPECT_EQ(dialogs.fromPagesOffered[1], 4);
    EXPECT_EQ(dialogs.fromPagesOffered[2], 4) << "the from-page chosen last, not page 1";
    // A smaller table brings it down to its last page.
    build(60);
    dialogs.printAnswers = {false};
    printTable();
    EXPECT_EQ(dialogs.fromPagesOffered.back(), 2);
}

// The graph printout after a table printout of pages 2-3: the range the table's dialog left on
// the shared printer does not reach the graph's job (through a print server it would ask for
// pages the graph does not have and print nothing), and every job has its name in the queue.
TEST_F(PrintTable, TheGraphAfterARangedTablePrintoutIsAJobOfItsOwn)
{
    build(150);
    QPrinter& printer = pdfPrinter();
    print(2, 3);
    ASSERT_EQ(printer.printRange(), QPrinter::PageRange);
    const QString title = QStringLiteral("Kelmora — Термогигрометр №1A2B - склад");
    EXPECT_EQ(printer.docName(), title);
    QFile::remove(pdf);
    gui::named<QAction>(form(), "AcPrintGraph")->trigger();
    EXPECT_EQ(printer.printRange(), QPrinter::AllPages);
    EXPECT_EQ(printer.fromPage(), 0);
    EXPECT_EQ(printer.docName(), title);
    EXPECT_EQ(pdfSheets(pdf).size(), 1);
    EXPECT_TRUE(dialogs.texts(FakeDialogs::Kind::StandardError).isEmpty());
}

TEST_F(PrintTable, APageRangePrintsItsBlockOfRows)
{
    const struct {
        const char* name;
        int dataRows;
        int from, to;
        bool header;
        int firstDataRow, lastDataRow;
    } cases[] = {
        {"page 1 alone: header and data rows 1-49", 150, 1, 1, true, 1, 49},
        {"page 2 alone: data rows 50-99, no header", 150, 2, 2, false, 50, 99},
        {"pages 3-4 end at the last row", 160, 3, 4, false, 100, 160},
        {"the second page of 50 data rows: the last row alone", 50, 2, 2, false, 50, 50},
    };
    for (const auto& c : cases) {
        build(c.dataRows);
        pdfPrinter();
        print(c.from, c.to);
        const QStringList sheets = pdfSheets(pdf);
        ASSERT_FALSE(sheets.isEmpty()) << c.name;
        EXPECT_EQ(hasHeaderRow(sheets[0]), c.header) << c.name;
        QStringList times;
        for (const QStringList& t : printedTimes(sheets))
            times << t;
        EXPECT_EQ(times, timesOfDataRows(c.firstDataRow, c.lastDataRow)) << c.name;
        for (const QString& sheet : sheets)
            EXPECT_TRUE(sheet.contains(QStringLiteral("Термогигрометр №1A2B - склад"))) << c.name;
        QFile::remove(pdf);
    }
}

TEST_F(PrintTable, ALongTableOnSeveralSheetsWithTitleAndFooterOnEachAndTheHeaderOnce)
{
    build(150);
    pdfPrinter();
    print();
    const QStringList sheets = pdfSheets(pdf);
    ASSERT_EQ(sheets.size(), 3);
    EXPECT_EQ(pdfPageCount(pdf), 3);
    const QList<QStringList> times = printedTimes(sheets);
    QStringList all;
    for (int n = 0; n < sheets.size(); ++n) {
        SCOPED_TRACE(n + 1);
        EXPECT_EQ(hasHeaderRow(sheets[n]), n == 0);
        EXPECT_TRUE(sheets[n].contains(QStringLiteral("Термогигрометр №1A2B - склад")));
        const QString footer = footerLine(sheets[n]);
        EXPECT_TRUE(footer.startsWith(dateText(QDate(2026, 3, 14)))) << footer.toStdString();
        EXPECT_TRUE(footer.contains(TimeText(at(0), SystemDateTimeSeparators().time))) << footer.toStdString();
        EXPECT_TRUE(pageNumber(footer, QStringLiteral("%1/3").arg(n + 1))) << footer.toStdString();
        if (n < 2) {
            EXPECT_GT(times[n].size(), 50);  // a full sheet holds more rows than a program page
        }
        all << times[n];
    }
    EXPECT_EQ(all, timesOfDataRows(1, 150));
    // Every value of the table is there, in order.
    EXPECT_TRUE(sheets[0].contains(QStringLiteral("40,0")));
    EXPECT_TRUE(sheets[2].contains(QStringLiteral("54,9")));
}

TEST_F(PrintTable, OneSheetIsNumberedAloneAndBeforeAnyBuildTheDesignTitleShows)
{
    pdfPrinter();
    print();
    const QStringList sheets = pdfSheets(pdf);
    ASSERT_EQ(sheets.size(), 1);
    EXPECT_TRUE(sheets[0].contains(QStringLiteral("Прибор №00000")));
    EXPECT_TRUE(hasHeaderRow(sheets[0]));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("Нет\\s+данных")).match(sheets[0]).hasMatch());
    EXPECT_TRUE(pageNumber(footerLine(sheets[0]), QStringLiteral("1"))) << footerLine(sheets[0]).toStdString();
}

TEST_F(PrintTable, HeaderCellsOnButtonFaceDataCellsOnWindowColourAllFramedInBlack)
{
    build(60);
    pdfPrinter();
    print();
    const QImage sheet = pdfFirstSheetImage(pdf, 100);
    ASSERT_FALSE(sheet.isNull());
    // Halfway down the sheet lies a data row: its first black pixel from the left is the
    // table's left frame. Just right of it, inside the first column's padding, the cells'
    // backgrounds and the frames between the rows show one below the other.
    const int middle = sheet.height() / 2;
    int frameX = 0;
    while (frameX < sheet.width() && !dark(sheet.pixel(frameX, middle)))
        ++frameX;
    ASSERT_LT(frameX, sheet.width() / 2);
    const int x = frameX + 3;
    // Backgrounds between the horizontal frame lines, from the top of the sheet down; a frame
    // line is dark over a stretch, where a letter of the title would not be.
    const auto frameLine = [&](int y) { return dark(sheet.pixel(x, y)) && dark(sheet.pixel(x + 8, y)) && dark(sheet.pixel(x + 16, y)); };
    std::vector<QRgb> backgrounds;
    bool inFrame = false;
    for (int y = 0; y < middle && backgrounds.size() < 4; ++y) {
        if (frameLine(y)) {
            inFrame = true;
        } else if (inFrame) {
            inFrame = false;
            backgrounds.push_back(sheet.pixel(x, y + 3));
        }
    }
    ASSERT_EQ(backgrounds.size(), 4u);
    const QPalette palette = QApplication::palette();
    EXPECT_TRUE(near(backgrounds[0], palette.color(QPalette::Button))) << std::hex << backgrounds[0];
    for (std::size_t i = 1; i < backgrounds.size(); ++i)
        EXPECT_TRUE(near(backgrounds[i], palette.color(QPalette::Base))) << i << ": " << std::hex << backgrounds[i];
    EXPECT_NE(palette.color(QPalette::Button), palette.color(QPalette::Base));
}

TEST_F(PrintTable, LandscapeChosenInTheDialogStillPrintsPortrait)
{
    build(10);
    pdfPrinter(QPageLayout::Landscape);
    print();
    const QSizeF size = pdfPageSize(pdf);
    ASSERT_TRUE(size.isValid());
    EXPECT_LT(size.width(), size.height());
    EXPECT_NEAR(size.width(), 595.3, 1.0);
}

TEST_F(PrintTable, TheFooterShowsTheDateAndTimeOfPrinting)
{
    build(3);
    const QDateTime printed(QDate(2027, 1, 2), QTime(23, 7, 59));
    clock.set(printed);
    pdfPrinter();
    print();
    const QStringList sheets = pdfSheets(pdf);
    ASSERT_EQ(sheets.size(), 1);
    const QString footer = footerLine(sheets[0]);
    const QChar t = SystemDateTimeSeparators().time;
    EXPECT_TRUE(footer.startsWith(dateText(printed.date()) + QStringLiteral(" 23") + t + QStringLiteral("07 ")))
        << footer.toStdString();
    EXPECT_TRUE(pageNumber(footer, QStringLiteral("1"))) << footer.toStdString();
}

TEST_F(PrintTable, AFailingPrinterEndsTheJobInTheStandardErrorBox)
{
    build(3);
    QPrinter& printer = pdfPrinter();
    printer.setOutputFileName(QDir(dir.path()).filePath(QStringLiteral("missing/table.pdf")));
    gui::named<QTabWidget>(form(), "PageControl1")->setCurrentWidget(&form().textReportPage());
    QApplication::processEvents();
    // Button10 clicked as the window delivers it: the error escapes the handler and ends up in
    // the standard error box.
    QPushButton* button = gui::named<QPushButton>(form().textReportPage(), "Button10");
    const QPointF centre = QRectF(button->rect()).center();
    QMouseEvent press(QEvent::MouseButtonPress, centre, button->mapToGlobal(centre), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, button->mapToGlobal(centre), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    DeliverGuarded(*qApp, button, &press, dialogs);
    DeliverGuarded(*qApp, button, &release, dialogs);
    EXPECT_EQ(dialogs.texts(FakeDialogs::Kind::Print).size(), 1);
    const QStringList errors = dialogs.texts(FakeDialogs::Kind::StandardError);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("missing/table.pdf"))) << errors[0].toStdString();
    EXPECT_FALSE(QFile::exists(printer.outputFileName()));
}

TEST_F(PrintTable, WithoutAPrinterTheUserIsToldSoAndOfferedAPdfFile)
{
    build(3);
    dialogs.hasPrinters = false;
    // A fresh printer, as at the first printout of a run on a machine without printers.
    form().reportOutput().usePrinter(nullptr);
    dialogs.printFileName = pdf;
    printTable();
    EXPECT_EQ(dialogs.texts(FakeDialogs::Kind::Message),
              QStringList{QStringLiteral("Принтер не установлен. Распечатать можно только в файл PDF.")});
    ASSERT_EQ(dialogs.printToFileOffered, std::vector<bool>{true});
    EXPECT_EQ(dialogs.printRanges.back(), std::make_pair(1, 1)) << "the page range is still offered";
    EXPECT_TRUE(dialogs.texts(FakeDialogs::Kind::StandardError).isEmpty());
    const QStringList sheets = pdfSheets(pdf);
    ASSERT_EQ(sheets.size(), 1);
    EXPECT_TRUE(sheets[0].contains(QStringLiteral("Термогигрометр №1A2B - склад")));

    // Cancelled: nothing printed, nothing said.
    QFile::remove(pdf);
    dialogs.printAnswers = {false};
    printTable();
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_TRUE(dialogs.texts(FakeDialogs::Kind::StandardError).isEmpty());

    // With printers, no file is offered.
    dialogs.hasPrinters = true;
    dialogs.printAnswers = {false};
    printTable();
    EXPECT_EQ(dialogs.printToFileOffered.back(), false);
}

TEST_F(PrintTable, AJobWithoutAnyPrinterSaysSoPlainly)
{
    build(3);
    // A printer that names no printer and no file: what a confirmed dialog leaves on a machine
    // without printers.
    form().reportOutput().usePrinter(std::make_shared<QPrinter>(QPrinter::HighResolution));
    form().reportOutput().printer()->setPrinterName(QString());
    form().reportOutput().printer()->setOutputFileName(QString());
    try {
        printTable();
        FAIL() << "printing without a printer must fail";
    } catch (const std::exception& e) {
        EXPECT_EQ(QString::fromUtf8(e.what()), QStringLiteral("Принтер не установлен"));
    }
}

}  // namespace
