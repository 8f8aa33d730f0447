// The charts leaving the program: the printed page (both charts, the logo) read back from a
// PDF, and the picture export as two bitmaps or two metafiles at the charts' screen sizes.
#include "support/main_window_fixture.h"
#include "logging/cp1251.h"
#include "report/date_time.h"
#include "views/ui/graph_setup_dialog.h"
#include "views/ui/graph_page.h"
#include "views/ui/time_chart.h"

#include <QAction>
#include <QComboBox>
#include <QFontMetricsF>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>

#include <cmath>

namespace {

double at(int h, int mi)
{
    return DayCountOf(QDate(2026, 3, 14), (h * 60 + mi) * 60000);
}

QString run(const QString& program, const QStringList& arguments)
{
    QProcess p;
    p.start(program, arguments);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

bool hasColour(const QImage& image, QRgb colour, QRect area = {})
{
    if (area.isNull())
        area = image.rect();
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF))
                return true;
    return false;
}

// A text of wmf2svg's output: where its baseline starts, in the picture's pixels, and the angle
// the reader turned it by (degrees clockwise on screen, as SVG counts them).
struct PlacedText {
    bool found = false;
    double x = 0, y = 0, degrees = 0;
};

// wmf2svg writes each text as <text x="0" y="0" ... transform="matrix(a b c d e f)">TEXT</text>,
// the text in the metafile's own code page, and scales the picture to its width in points.
PlacedText placedText(const QByteArray& svg, const QString& text, int pictureWidth)
{
    PlacedText r;
    const QString page = QString::fromLatin1(svg);
    const auto width = QRegularExpression(QStringLiteral("<svg width=\"([0-9.]+)\"")).match(page);
    if (!width.hasMatch())
        return r;
    const double scale = width.captured(1).toDouble() / pictureWidth;
    const QRegularExpression element(QStringLiteral(
        "<text [^>]*transform=\"matrix\\(([-0-9.]+) ([-0-9.]+) [-0-9.]+ [-0-9.]+ ([-0-9.]+) ([-0-9.]+)\\)\"\\s*>([^<]*)</text>"));
    for (auto it = element.globalMatch(page); it.hasNext();) {
        const auto m = it.next();
        // The reader may split a text where its font changes; the first piece starts it.
        const QString piece = DecodeWindows1251(m.captured(5).trimmed().toLatin1());
        if (piece.size() < 4 || !text.startsWith(piece))
            continue;
        r.found = true;
        r.degrees = std::atan2(m.captured(2).toDouble(), m.captured(1).toDouble()) * 180 / M_PI;
        r.x = m.captured(3).toDouble() / scale;
        r.y = m.captured(4).toDouble() / scale;
        return r;
    }
    return r;
}

class ChartOutput : public MainWindowFixture {
protected:
    void SetUp() override
    {
        startAndShow();
        std::vector<MeasurementRecord> records;
        for (int i = 0; i < 120; ++i)
            records.push_back({at(10, 0) + i / 1440.0, int16_t(3000 + 40 * (i % 50)), int16_t(1800 + 10 * (i % 70))});
        setReport(records, QStringLiteral("00A3"), at(23, 59));
        form().BuildReport(false);
        form().setReportActionsEnabled(true);
        form().graphPage().setPartDividers(true, 2);
        gui::named<QTabWidget>(form(), "PageControl1")->setCurrentWidget(gui::named<QWidget>(form(), "TabSheet3"));
        QApplication::processEvents();
    }
    QString path(const QString& name) const { return QDir(dir.path()).filePath(name); }
    void exportAs(int type, const QString& typed)
    {
        dialogs.saveAnswers.push_back(SaveFileChoice{path(typed), type});
        gui::named<QPushButton>(*form().graphSetupDialog(), "Button2")->click();
    }
};

TEST_F(ChartOutput, BitmapsOfBothChartsAtTheirScreenSizeWithTheDividers)
{
    {
        QFile old(path("chart.bmp1"));  // replaced without a question
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    exportAs(1, "chart.bmp");
    const SaveFileRequest& request = dialogs.saveRequests.back();
    EXPECT_EQ(request.title, "Экспорт графика");
    EXPECT_EQ(request.fileName, "chart.bmp");
    EXPECT_EQ(request.directory, dir.path());
    EXPECT_EQ(request.filters, QStringList({"Картинка (*.bmp)", "Картинка (*.wmf)"}));

    const QImage humidity(path("chart.bmp1"), "BMP");
    const QImage temperature(path("chart.bmp2"), "BMP");
    ASSERT_FALSE(humidity.isNull());
    ASSERT_FALSE(temperature.isNull());
    EXPECT_EQ(humidity.size(), form().graphPage().humidityChart()->size());
    EXPECT_EQ(temperature.size(), form().graphPage().temperatureChart()->size());
    EXPECT_TRUE(hasColour(humidity, 0x008000));  // the divider, part of the chart's drawing
    EXPECT_FALSE(QFileInfo::exists(path("chart.bmp")));
    EXPECT_TRUE(dialogs.texts(FakeDialogs::Kind::StandardError).isEmpty());
}

TEST_F(ChartOutput, MetafilesUnderTheProposedNameReadBack)
{
    exportAs(2, "chart.bmp");
    for (const char* name : {"chart.wmf1", "chart.wmf2"}) {
        SCOPED_TRACE(name);
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_TRUE(f.read(4) == QByteArray("\xD7\xCD\xC6\x9A", 4));
        const QString svg = run("wmf2svg", {"-o", "/dev/stdout", path(name)});
        EXPECT_TRUE(svg.contains("<polyline")) << svg.left(400).toStdString();
        EXPECT_TRUE(svg.contains("stroke:green") || svg.contains("rgb(0,128,0)")) << "the dividers";
    }
    // The left-axis titles stand upright along the axis, as on screen: a reader turns them a
    // quarter turn counter-clockwise and places them left of the plot, half-way down.
    const struct {
        const char* file;
        const char* title;
        TimeChart* chart;
    } titles[] = {{"chart.wmf1", "Относительная влажность, %", form().graphPage().humidityChart()},
                  {"chart.wmf2", "Температура, °C", form().graphPage().temperatureChart()}};
    for (const auto& t : titles) {
        SCOPED_TRACE(t.file);
        QProcess reader;
        reader.start("wmf2svg", {"-o", "/dev/stdout", path(t.file)});
        ASSERT_TRUE(reader.waitForFinished(30000));
        const QByteArray svg = reader.readAllStandardOutput();
        const QString folder = QDir(QCoreApplication::applicationDirPath()).filePath("screenshots");
        QDir().mkpath(folder);
        QFile::remove(QDir(folder).filePath(t.file));
        QFile::copy(path(t.file), QDir(folder).filePath(t.file));
        const PlacedText text = placedText(svg, QString::fromUtf8(t.title), t.chart->width());
        ASSERT_TRUE(text.found) << svg.left(3000).toStdString();
        EXPECT_NEAR(text.degrees, -90, 0.5);
        // The text runs upwards from its start: it starts low in the plot's height and its
        // baseline lies left of the plot's left edge.
        const QRect plot = t.chart->plotRect();
        EXPECT_LT(text.x, plot.left()) << text.x;
        EXPECT_GT(text.y, plot.top() + plot.height() / 2) << text.y;
        EXPECT_LE(text.y, plot.bottom() + 1) << text.y;
    }
    // A cancelled dialog writes nothing.
    dialogs.saveAnswers.push_back(std::nullopt);
    gui::named<QPushButton>(*form().graphSetupDialog(), "Button2")->click();
    EXPECT_EQ(QDir(dir.path()).entryList({"chart.*"}, QDir::Files).size(), 2);
}

TEST_F(ChartOutput, ThePrintedPageHoldsBothChartsAndTheLogo)
{
    const QString pdf = path("graph.pdf");
    form().reportOutput().usePrinter(std::make_shared<QPrinter>(QPrinter::HighResolution));
    form().reportOutput().printer()->setOutputFormat(QPrinter::PdfFormat);
    form().reportOutput().printer()->setOutputFileName(pdf);
    dialogs.printAnswers.push_back(false);  // the setup dialog cancelled: printing goes on
    gui::named<QAction>(form(), "AcPrintGraph")->trigger();
    EXPECT_EQ(dialogs.texts(FakeDialogs::Kind::PrinterSetup).size(), 1);
    ASSERT_TRUE(QFileInfo::exists(pdf));
    EXPECT_TRUE(run("pdfinfo", {pdf}).contains(QRegularExpression("Pages:\\s+1\\n")));
    const QString text = run("pdftotext", {"-enc", "UTF-8", pdf, "-"});
    EXPECT_EQ(text.count("Термогигрометр №00A3 -"), 1) << text.toStdString();  // the lower chart's title is hidden
    EXPECT_TRUE(text.contains("Температура, °C"));
    EXPECT_TRUE(text.contains("Относительная влажность, %"));

    run("pdftoppm", {"-r", "40", "-png", "-singlefile", pdf, path("graph")});
    const QImage page(path("graph.png"));
    ASSERT_FALSE(page.isNull());
    const QString folder = QDir(QCoreApplication::applicationDirPath()).filePath("screenshots");
    QDir().mkpath(folder);
    page.save(QDir(folder).filePath("graph_printout.png"));
    // Chart lines in both halves; the dividers green.
    const int h = page.height();
    EXPECT_TRUE(hasColour(page, 0x008000, QRect(0, h / 10, page.width(), h * 4 / 10)));
    EXPECT_TRUE(hasColour(page, 0x008000, QRect(0, h / 2 + h / 20, page.width(), h * 4 / 10)));
}

// The printout right after a report was opened, page 3 never shown: the charts print as the
// graph setup makes them, and their texts keep the proportions of the screen font.
class GraphPrintout : public MainWindowFixture {
protected:
    void SetUp() override
    {
        startAndShow();
        // Humidity steady at 45,7 (a span of a hundredth), temperature 18 to 24.
        std::vector<MeasurementRecord> records;
        for (int i = 0; i < 60; ++i)
            records.push_back({at(10, 0) + i / 1440.0, int16_t(4570 + i % 2), int16_t(1800 + 10 * i)});
        setReport(records, QStringLiteral("00A3"), at(23, 59));
        form().BuildReport(false);
        form().setReportActionsEnabled(true);
        gui::named<QTabWidget>(form(), "PageControl1")->setCurrentWidget(&form().textReportPage());
        QApplication::processEvents();
        pdf = QDir(dir.path()).filePath("graph.pdf");
        form().reportOutput().usePrinter(std::make_shared<QPrinter>(QPrinter::HighResolution));
        form().reportOutput().printer()->setOutputFormat(QPrinter::PdfFormat);
        form().reportOutput().printer()->setOutputFileName(pdf);
        form().reportOutput().printer()->setPageSize(QPageSize(QPageSize::A4));
    }
    QString pdf;
};

TEST_F(GraphPrintout, TheChartsPrintAsTheGraphSetupMakesThemWithTextsInProportion)
{
    // Humidity and temperature axes in the design's "Весь диапазон": 0 to 100 and 0 to 50.
    ASSERT_EQ(gui::named<QComboBox>(*form().graphSetupDialog(), "ComboBox1")->currentIndex(), 2);
    ASSERT_EQ(gui::named<QComboBox>(*form().graphSetupDialog(), "ComboBox2")->currentIndex(), 2);
    gui::named<QAction>(form(), "AcPrintGraph")->trigger();
    ASSERT_TRUE(QFileInfo::exists(pdf));
    EXPECT_TRUE(dialogs.texts(FakeDialogs::Kind::StandardError).isEmpty());
    const QString text = run("pdftotext", {"-enc", "UTF-8", "-layout", pdf, "-"});
    EXPECT_EQ(text.count("45,7"), 0) << text.toStdString();
    EXPECT_TRUE(text.contains(QRegularExpression("\\b100\\b"))) << "the humidity axis spans 0 to 100";
    EXPECT_TRUE(text.contains(QRegularExpression("\\b50\\b")));

    // Word boxes of the printed page: the bottom axis title "Время / Дата" as wide for its
    // height as the screen font writes it (a stretched chart makes it tall and narrow).
    const QString boxes = run("pdftotext", {"-enc", "UTF-8", "-bbox", pdf, "-"});
    const auto word = QRegularExpression(
                          "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">Время</word>")
                          .match(boxes);
    ASSERT_TRUE(word.hasMatch()) << boxes.toStdString();
    const double printed = (word.captured(3).toDouble() - word.captured(1).toDouble()) /
                           (word.captured(4).toDouble() - word.captured(2).toDouble());
    QFont font = form().graphPage().temperatureChart()->font();
    font.setPixelSize(900);
    const QFontMetricsF screen(font);
    const double expected = screen.horizontalAdvance(QStringLiteral("Время")) / screen.height();
    EXPECT_NEAR(printed / expected, 1.0, 0.15) << printed << " against " << expected;

    run("pdftoppm", {"-r", "40", "-png", "-singlefile", pdf, QDir(dir.path()).filePath("graph")});
    const QString folder = QDir(QCoreApplication::applicationDirPath()).filePath("screenshots");
    QDir().mkpath(folder);
    QFile::remove(QDir(folder).filePath("graph_printout_from_page2.png"));
    QFile::copy(QDir(dir.path()).filePath("graph.png"), QDir(folder).filePath("graph_printout_from_page2.png"));
    QFile::remove(QDir(folder).filePath("graph_printout_from_page2.pdf"));
    QFile::copy(pdf, QDir(folder).filePath("graph_printout_from_page2.pdf"));
}

TEST_F(GraphPrintout, WithoutAPrinterTheUserIsToldSoAndOfferedAPdfFile)
{
    dialogs.hasPrinters = false;
    form().reportOutput().usePrinter(nullptr);
    dialogs.printFileName = pdf;
    gui::named<QAction>(form(), "AcPrintGraph")->trigger();
    EXPECT_EQ(dialogs.texts(FakeDialogs::Kind::Message),
              QStringList{QStringLiteral("Принтер не установлен. Распечатать можно только в файл PDF.")});
    EXPECT_TRUE(dialogs.texts(FakeDialogs::Kind::PrinterSetup).isEmpty());
    ASSERT_EQ(dialogs.printToFileOffered, std::vector<bool>{true});
    EXPECT_EQ(dialogs.printRanges.back(), std::make_pair(0, 0)) << "no page range";
    EXPECT_TRUE(dialogs.texts(FakeDialogs::Kind::StandardError).isEmpty());
    ASSERT_TRUE(QFileInfo::exists(pdf));
    EXPECT_TRUE(run("pdftotext", {"-enc", "UTF-8", pdf, "-"}).contains("Температура, °C"));

    // Cancelling the file dialog prints nothing: there is no printer to go on with.
    QFile::remove(pdf);
    dialogs.printAnswers = {false};
    gui::named<QAction>(form(), "AcPrintGraph")->trigger();
    EXPECT_FALSE(QFileInfo::exists(pdf));
    EXPECT_TRUE(dialogs.texts(FakeDialogs::Kind::StandardError).isEmpty());
}

}  // namespace
