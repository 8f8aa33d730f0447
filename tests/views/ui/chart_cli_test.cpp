// kelmora-cli chart against the window: the same report file and settings file give the same
// picture files, byte for byte, and the same printed page; bad invocations are refused with a
// clear message and write nothing.
#include "support/main_window_fixture.h"
#include "support/file_bytes.h"
#include "widgets/bevel_panel.h"
#include "widgets/mask_edit.h"
#include "widgets/radio_group.h"
#include "logging/report_comment.h"
#include "logging/report_pool.h"
#include "report/comma_text.h"
#include "report/date_time.h"
#include "views/ui/graph_page.h"
#include "views/ui/graph_setup_dialog.h"
#include "views/ui/time_chart.h"

#include <QAction>
#include <QComboBox>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>

namespace {

double at(int h, int mi)
{
    return DayCountOf(QDate(2026, 3, 14), (h * 60 + mi) * 60000);
}

struct CliRun {
    int exitCode = -1;
    QString err;
};

CliRun cli(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(KELMORA_CLI), QStringList{QStringLiteral("chart")} + args);
    if (!p.waitForFinished(60000))
        return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardError())};
}

QString run(const QString& program, const QStringList& arguments)
{
    QProcess p;
    p.start(program, arguments);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// One way of showing the report: display mode, thresholds, point colours and the two axes.
struct Look {
    const char* name;
    int displayMode;
    int humidityMode;
    int temperatureMode;
    const char* humidityLimits[2];
    const char* temperatureLimits[2];
    bool colorChart;
    const char* comment = "";  // the report's comment file, lines separated by CR LF
    int dividers = 0;          // the part dividers: 0 none, else the parts
};

const Look kLooks[] = {
    {"RelativeHumidityFullRange", 0, 2, 2, {"+00,0", "100,0"}, {"-50,0", "100,0"}, true},
    {"DewPointAutomaticAndManual", 1, 1, 3, {"+00,0", "100,0"}, {"+15,5", "+30,0"}, true},
    {"AbsoluteHumidityManualTemperatureOff", 2, 3, 0, {"+05,0", "+25,0"}, {"-50,0", "100,0"}, false},
    {"HumidityOffTemperatureAutomatic", 0, 0, 1, {"+00,0", "100,0"}, {"-50,0", "100,0"}, true},
    {"WithTheCommentAndDividers", 0, 2, 2, {"+00,0", "100,0"}, {"-50,0", "100,0"}, true, "склад\r\nстеллаж 4", 5},
};

class ChartCli : public MainWindowFixture, public ::testing::WithParamInterface<Look> {
protected:
    void SetUp() override
    {
        startAndShow();
        // Two hours of readings, humidity and temperature crossing the thresholds.
        const QString pool = QDir(dir.path()).filePath(QStringLiteral("POOL"));
        for (int i = 0; i < 120; ++i)
            AppendRecord(pool, QStringLiteral("00A3"),
                         {at(10, 0) + i / 1440.0, int16_t(3000 + 40 * (i % 50)), int16_t(1800 + 10 * (i % 70))});
        report = ReportFilePath(pool, QStringLiteral("00A3.dat"));
    }

    // The window shows the report in the given look on its graph page, and keeps its settings.
    void showInWindow(const Look& look)
    {
        // The comment as the selection dialog gives it to the window: its lines as one comma text.
        if (*look.comment) {
            SaveComment(CommentFilePath(QFileInfo(report).absolutePath(), QFileInfo(report).fileName()),
                        QString::fromUtf8(look.comment));
            form().document().state().ReportComment = CommaText(QString::fromUtf8(look.comment).split(QStringLiteral("\r\n")));
        }
        form().graphPage().setPartDividers(look.dividers > 0, look.dividers > 0 ? look.dividers : 7);
        ASSERT_TRUE(LoadReport(report, form().document().state()));
        form().document().state().IntervalStart = at(10, 0);
        form().document().state().IntervalEnd = at(11, 59);
        form().document().state().DeviceNumberText = QStringLiteral("00A3");
        form().setColorChart(look.colorChart);
        GraphSetupDialog& setup = *form().graphSetupDialog();
        gui::named<QComboBox>(setup, "ComboBox1")->setCurrentIndex(look.humidityMode);
        gui::named<QComboBox>(setup, "ComboBox2")->setCurrentIndex(look.temperatureMode);
        gui::named<MaskEdit>(setup, "MaskEdit1")->setText(QString::fromLatin1(look.humidityLimits[0]));
        gui::named<MaskEdit>(setup, "MaskEdit2")->setText(QString::fromLatin1(look.humidityLimits[1]));
        gui::named<MaskEdit>(setup, "MaskEdit3")->setText(QString::fromLatin1(look.temperatureLimits[0]));
        gui::named<MaskEdit>(setup, "MaskEdit4")->setText(QString::fromLatin1(look.temperatureLimits[1]));
        // The user's click on the display mode builds the report.
        gui::named<RadioGroup>(form().textReportPage(), "RadioGroup1")->setItemIndex(look.displayMode);
        form().BuildReport(false);
        form().setReportActionsEnabled(true);
        gui::named<QTabWidget>(form(), "PageControl1")->setCurrentWidget(gui::named<QWidget>(form(), "TabSheet3"));
        QApplication::processEvents();
        form().SaveSettings();
    }

    QStringList cliArguments(const char* format, const QString& out) const
    {
        const QSize panel = form().graphPage().size();
        const QStringList dividers =
            GetParam().dividers > 0 ? QStringList{"--dividers", QString::number(GetParam().dividers)} : QStringList{};
        return dividers + QStringList{report,
                "--from", "2026-03-14 10:00",
                "--to", "2026-03-14 11:59",
                "--settings", iniPath(),
                "--size", QStringLiteral("%1x%2").arg(panel.width()).arg(panel.height()),
                "--format", QString::fromLatin1(format),
                "--out", out};
    }

    QString path(const QString& name) const { return QDir(dir.path()).filePath(name); }
    QString report;
};

TEST_P(ChartCli, PicturesAreTheWindowsByteForByte)
{
    const Look& look = GetParam();
    showInWindow(look);
    QDir().mkpath(path("window"));
    QDir().mkpath(path("cli"));
    for (const auto& [type, format] : {std::pair{1, "bmp"}, std::pair{2, "wmf"}}) {
        SCOPED_TRACE(format);
        dialogs.saveAnswers.push_back(SaveFileChoice{path("window/chart.png"), type});
        gui::named<QPushButton>(*form().graphSetupDialog(), "Button2")->click();
        ASSERT_TRUE(dialogs.texts(FakeDialogs::Kind::StandardError).isEmpty());

        const CliRun r = cli(cliArguments(format, path("cli/chart.png")));
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_FALSE(r.err.contains("kelmora-cli")) << r.err.toStdString();
        for (const char* n : {"1", "2"}) {
            const QString name = QStringLiteral("chart.%1%2").arg(QLatin1String(format), QLatin1String(n));
            SCOPED_TRACE(name.toStdString());
            const QByteArray window = FileBytes(path("window/" + name));
            ASSERT_FALSE(window.isEmpty());
            EXPECT_TRUE(FileBytes(path("cli/" + name)) == window) << "the pictures differ";
        }
        EXPECT_FALSE(QFileInfo::exists(path("cli/chart.png"))) << "the typed extension is replaced";
    }
    // Something is drawn: the temperature picture of a visible chart holds its title's black
    // and the line's colours, not only the white wall.
    const QImage humidity(path("cli/chart.bmp1"), "BMP");
    ASSERT_FALSE(humidity.isNull());
    EXPECT_EQ(humidity.size(), form().graphPage().humidityChart()->size());
}

TEST_P(ChartCli, ThePrintedPageIsTheWindows)
{
    const Look& look = GetParam();
    showInWindow(look);
    form().reportOutput().usePrinter(std::make_shared<QPrinter>(QPrinter::HighResolution));
    form().reportOutput().printer()->setOutputFormat(QPrinter::PdfFormat);
    form().reportOutput().printer()->setOutputFileName(path("window.pdf"));
    form().reportOutput().printer()->setPageSize(QPageSize(QPageSize::A4));
    gui::named<QAction>(form(), "AcPrintGraph")->trigger();
    ASSERT_TRUE(QFileInfo::exists(path("window.pdf")));

    const CliRun r = cli(cliArguments("pdf", path("cli.pdf")));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(run("pdfinfo", {path("cli.pdf")}).contains(QRegularExpression("Pages:\\s+1\\n")));
    // The title holds the report's comment as the window shows it.
    if (*look.comment) {
        const QString text = run("pdftotext", {path("cli.pdf"), "-"});
        EXPECT_TRUE(text.contains(QStringLiteral("Термогигрометр №00A3 - склад,\"стеллаж 4\""))) << text.toStdString();
    }
    // The same page drawn: the rendered pages are equal pixel for pixel (the files differ in
    // their creation date only).
    run("pdftoppm", {"-r", "50", "-png", "-singlefile", path("window.pdf"), path("window")});
    run("pdftoppm", {"-r", "50", "-png", "-singlefile", path("cli.pdf"), path("cli")});
    const QImage window(path("window.png"));
    const QImage fromCli(path("cli.png"));
    ASSERT_FALSE(window.isNull());
    EXPECT_TRUE(window == fromCli) << "the printed pages differ";
    const QString folder = QDir(QCoreApplication::applicationDirPath()).filePath("screenshots");
    QDir().mkpath(folder);
    const QString shot = QDir(folder).filePath(QStringLiteral("cli_chart_%1.png").arg(QLatin1String(look.name)));
    QFile::remove(shot);
    QFile::copy(path("cli.png"), shot);
}

INSTANTIATE_TEST_SUITE_P(Looks, ChartCli, ::testing::ValuesIn(kLooks),
                         [](const auto& info) { return std::string(info.param.name); });

// Without --size the pictures have the sizes of the charts of a window as it opens.
TEST_F(MainWindowFixture, ChartCliPicturesWithoutASizeHaveTheWindowsChartSizes)
{
    startAndShow();
    gui::named<QTabWidget>(form(), "PageControl1")->setTabVisible(gui::named<QTabWidget>(form(), "PageControl1")->indexOf(gui::named<QWidget>(form(), "TabSheet3")), true);
    gui::named<QTabWidget>(form(), "PageControl1")->setCurrentWidget(gui::named<QWidget>(form(), "TabSheet3"));
    QApplication::processEvents();
    form().SaveSettings();
    const QString pool = QDir(dir.path()).filePath(QStringLiteral("POOL"));
    for (int i = 0; i < 10; ++i)
        AppendRecord(pool, QStringLiteral("00A3"), {at(10, i), int16_t(4000 + i), int16_t(2000 + i)});
    const CliRun r = cli({ReportFilePath(pool, QStringLiteral("00A3.dat")), "--settings", iniPath(), "--format", "bmp",
                          "--out", QDir(dir.path()).filePath("c")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(QImage(QDir(dir.path()).filePath("c.bmp1"), "BMP").size(), form().graphPage().humidityChart()->size());
    EXPECT_EQ(QImage(QDir(dir.path()).filePath("c.bmp2"), "BMP").size(), form().graphPage().temperatureChart()->size());
}

// Bad invocations: a message naming the problem, the status, and no file written.
TEST(ChartCliRefusals, SayWhatIsWrongAndWriteNothing)
{
    QTemporaryDir dir;
    const QString pool = QDir(dir.path()).filePath(QStringLiteral("POOL"));
    CreatePool(pool);
    AppendRecord(pool, QStringLiteral("00A3"), {at(10, 0), 4000, 2000});
    const QString report = ReportFilePath(pool, QStringLiteral("00A3.dat"));
    const QByteArray before = FileBytes(report);
    const QString out = QDir(dir.path()).filePath(QStringLiteral("out.bmp"));
    const QString refusedIni = QDir(dir.path()).filePath(QStringLiteral("refused.ini"));
    // Manual humidity limits with the maximum below the minimum.
    WriteFileBytes(refusedIni, "[Kel]\r\nmodeRH=3\r\nmin_RH=+80,0\r\nmax_RH=+20,0\r\n");
    const struct {
        QStringList args;
        int status;
        const char* says;
    } cases[] = {
        {{report, "--format", "png", "--out", out}, 64, "--format \"png\" is not bmp, wmf or pdf"},
        {{report, "--format", "bmp"}, 64, "--out is needed"},
        {{report, "--out", out}, 64, "--format is needed"},
        {{report, "--format", "bmp", "--out", out, "--size", "800"}, 64, "--size \"800\" is not WxH"},
        {{report, "--format", "bmp", "--out", out, "--size", "50x50"}, 64, "from 100 to 10000 pixels"},
        {{report, "--format", "bmp", "--out", out, "--dividers", "1"}, 64, "--dividers \"1\" is not a whole number of parts from 2 to 99"},
        {{report, "--format", "bmp", "--out", out, "--dividers"}, 64, "--dividers needs a number of parts"},
        {{report, "--format", "bmp", "--out", out, "--mode", "hot"}, 64, "--mode \"hot\" is not rh, dew or abs"},
        {{report, "--format", "bmp", "--out", out, "--from", "yesterday"}, 64, "is not a date and time"},
        {{report, "--format", "bmp", "--out", out, "--settings", QDir(dir.path()).filePath("none.ini")}, 1,
         "none.ini: no such file"},
        {{QDir(dir.path()).filePath("missing.dat"), "--format", "bmp", "--out", out}, 1, "missing.dat: no such file"},
        {{report, "--format", "bmp", "--out", out, "--settings", refusedIni}, 1, "the manual axis limits"},
        {{report, "--format", "bmp", "--out", QDir(dir.path()).filePath("no/such/dir/c")}, 1, "no/such/dir/c.bmp1"},
        {{report, "--format", "pdf", "--out", QDir(dir.path()).filePath("no/such/dir/c.pdf")}, 1, "cannot write the PDF"},
        {{report, "--format", "pdf", "--out", report}, 64, "is the report itself"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const CliRun r = cli(c.args);
        EXPECT_EQ(r.exitCode, c.status) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.says))) << r.err.toStdString();
        EXPECT_TRUE(QDir(dir.path()).entryList({"out.*", "c.*"}, QDir::Files).isEmpty());
    }
    EXPECT_TRUE(FileBytes(report) == before) << "the report is untouched";
}

}  // namespace
