// The text report page with a stored report of 1,000,000 readings: what one visible page of
// Grid1 costs (cell texts from the model, and painting with the colour rule) at the top, in
// the middle and at the end of the table, each against the same page of a table of one
// screenful; opening the report in the window (build with the wait window and messages
// running after every record) against the bare build, and the same for preparing the file.
// Prints the ratios at the end.
#include "platform/clock.h"
#include "widgets/dialogs.h"
#include "app/main_window.h"
#include "report/report_document.h"
#include "app/program.h"
#include "report/report_builder.h"
#include "report/report_preparation.h"
#include "widgets/wait_window.h"
#include "views/ui/report_table_model.h"
#include "views/ui/text_report_page.h"

#include "minute_readings.h"
#include "recording_reporter.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

namespace {

constexpr int kRecords = 1'000'000;
constexpr int kSmallRecords = 32;  // one screenful of Grid1

// 1 % invalid values, so that the colour rule marks cells all through the table.
ReportState syntheticReport(int count)
{
    return MinuteReadings(count, 0.01);
}

struct Page {
    std::unique_ptr<KelmoraWindows> windows;
    std::shared_ptr<const ReportTable> large;
    std::shared_ptr<const ReportTable> small;

    MainWindow& form() const { return windows->mainWindow(); }
    QTableView* grid() const { return form().textReportPage().findChild<QTableView*>(QStringLiteral("Grid1")); }
    const ReportTableModel* model() const { return &form().textReportPage().model(); }
};

QTemporaryDir& programDir()
{
    static QTemporaryDir dir;
    return dir;
}

DesktopDialogs& dialogs()
{
    static DesktopDialogs d;
    return d;
}

Page& page()
{
    static Page p = [] {
        Page q;
        q.windows = std::make_unique<KelmoraWindows>(SystemClock::instance(), dialogs(), programDir().path());
        q.windows->showMainWindow();
        MainWindow& f = q.form();
        f.setReportActionsEnabled(true);
        f.findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentWidget(&f.textReportPage());
        QApplication::processEvents();
        ReportSettings settings;
        settings.minHumidityText = QStringLiteral("+35,0");
        settings.maxHumidityText = QStringLiteral("+55,0");
        settings.minTemperatureText = QStringLiteral("+18,0");
        settings.maxTemperatureText = QStringLiteral("+24,0");
        q.large = std::make_shared<const ReportTable>(BuildReport(syntheticReport(kRecords), settings, false));
        q.small = std::make_shared<const ReportTable>(BuildReport(syntheticReport(kSmallRecords), settings, false));
        return q;
    }();
    return p;
}

// The first model row shown for a position in percent of the table.
int firstRow(const ReportTableModel& model, int percent)
{
    const int rows = model.rowCount();
    return std::max(0, std::min(rows - kSmallRecords, int(qint64(rows - kSmallRecords) * percent / 100)));
}

void showTable(const std::shared_ptr<const ReportTable>& table, int percent)
{
    Page& p = page();
    p.form().textReportPage().showTable(table);
    p.grid()->setCurrentIndex(p.model()->index(0, 0));
    p.grid()->scrollTo(p.model()->index(firstRow(*p.model(), percent), 0), QAbstractItemView::PositionAtTop);
    QApplication::processEvents();
}

// The texts of one visible page, as the view asks the model for them.
void modelPage(benchmark::State& state, const std::shared_ptr<const ReportTable>& table)
{
    Page& p = page();
    showTable(table, int(state.range(0)));
    const int top = firstRow(*p.model(), int(state.range(0)));
    for (auto _ : state) {
        for (int r = top; r < top + kSmallRecords; ++r)
            for (int c = 0; c < 4; ++c) {
                const QModelIndex index = p.model()->index(r, c);
                benchmark::DoNotOptimize(p.model()->data(index, Qt::DisplayRole));
                benchmark::DoNotOptimize(p.model()->data(index, Qt::TextAlignmentRole));
            }
    }
}

void BM_ModelPage(benchmark::State& state)
{
    modelPage(state, page().large);
}
BENCHMARK(BM_ModelPage)->Arg(0)->Arg(50)->Arg(100)->Unit(benchmark::kMicrosecond);

void BM_ModelPageScreenful(benchmark::State& state)
{
    modelPage(state, page().small);
}
BENCHMARK(BM_ModelPageScreenful)->Arg(0)->Unit(benchmark::kMicrosecond);

// Painting the whole table area with its header, cells, grid lines and colours.
void paintPage(benchmark::State& state, const std::shared_ptr<const ReportTable>& table)
{
    Page& p = page();
    showTable(table, int(state.range(0)));
    QImage image(p.grid()->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        p.grid()->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_PaintPage(benchmark::State& state)
{
    paintPage(state, page().large);
}
BENCHMARK(BM_PaintPage)->Arg(0)->Arg(50)->Arg(100)->Unit(benchmark::kMicrosecond);

void BM_PaintPageScreenful(benchmark::State& state)
{
    paintPage(state, page().small);
}
BENCHMARK(BM_PaintPageScreenful)->Arg(0)->Unit(benchmark::kMicrosecond);

// Dragging the scroll bar from the first row to the last: 200 positions, each painted.
void BM_ScrollFirstToLast(benchmark::State& state)
{
    Page& p = page();
    showTable(p.large, 0);
    QScrollBar* bar = p.grid()->verticalScrollBar();
    QImage image(p.grid()->size(), QImage::Format_ARGB32_Premultiplied);
    constexpr int kSteps = 200;
    for (auto _ : state) {
        for (int i = 0; i <= kSteps; ++i) {
            bar->setValue(int(qint64(bar->maximum()) * i / kSteps));
            p.grid()->render(&image);
        }
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["pages"] = kSteps + 1;
}
BENCHMARK(BM_ScrollFirstToLast)->Unit(benchmark::kMillisecond)->Iterations(3);

// Opening: the window's build (wait window, messages after every record, table shown)
// against the bare build of the same records.
void BM_OpenInWindow(benchmark::State& state)
{
    Page& p = page();
    p.form().document().state() = syntheticReport(kRecords);
    for (auto _ : state) {
        p.form().BuildReport(false);
        QApplication::processEvents();
    }
    state.counters["rows"] = p.model()->rowCount();
}
BENCHMARK(BM_OpenInWindow)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

void BM_BareBuild(benchmark::State& state)
{
    const ReportState report = syntheticReport(kRecords);
    ConversionCache cache;
    ReportSettings settings;
    settings.cache = &cache;
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildReport(report, settings, false).rows().size());
}
BENCHMARK(BM_BareBuild)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

// Preparing the file in the selection dialog: with the wait window (messages running during
// the scan and between the phases) against the bare preparation.
void prepare(benchmark::State& state, WaitProgress* wait)
{
    const QString path = QDir(programDir().path()).filePath(QStringLiteral("prepare.dat"));
    const ReportState source = syntheticReport(kRecords);
    for (auto _ : state) {
        state.PauseTiming();
        {
            QFile f(path);
            f.open(QIODevice::WriteOnly | QIODevice::Truncate);
            f.write(reinterpret_cast<const char*>(source.ReportData.constData()), qint64(kRecords) * kRecordSize);
        }
        ReportState report;
        state.ResumeTiming();
        PrepareReportFile(report, path, wait);
        QApplication::processEvents();
    }
}

void BM_PrepareInWindow(benchmark::State& state)
{
    prepare(state, page().form().waitWindow());
}
BENCHMARK(BM_PrepareInWindow)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

void BM_BarePrepare(benchmark::State& state)
{
    prepare(state, nullptr);
}
BENCHMARK(BM_BarePrepare)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    const auto ratio = [&](const std::string& a, const std::string& b) { return reporter.time(a) / reporter.time(b); };
    for (const char* at : {"0", "50", "100"}) {
        std::printf("page at %s %%: cell texts %.2f, painting %.2f (against one screenful)\n", at,
                    ratio(std::string("BM_ModelPage/") + at, "BM_ModelPageScreenful/0"),
                    ratio(std::string("BM_PaintPage/") + at, "BM_PaintPageScreenful/0"));
    }
    std::printf("scroll first to last: %.3f ms per page (201 pages), %.2f of a screenful's page\n",
                reporter.time("BM_ScrollFirstToLast") / 201.0,
                reporter.time("BM_ScrollFirstToLast") * 1000.0 / 201.0 / reporter.time("BM_PaintPageScreenful/0"));
    std::printf("opening in the window / bare build of %d records: %.2f\n", kRecords,
                ratio("BM_OpenInWindow", "BM_BareBuild"));
    std::printf("preparing in the window / bare preparation of %d records: %.2f\n", kRecords,
                ratio("BM_PrepareInWindow", "BM_BarePrepare"));
    page().windows.reset();
    benchmark::Shutdown();
    return 0;
}
