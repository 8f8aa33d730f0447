// Laying out the printout of a whole table of 1,000,001 rows (column widths over every printed
// row, sheet breaks, the sheet count found before printing) against building that table from
// its 1,000,000 records in the same run: printing all of a year-long log must not wait on its
// layout much longer than on the build itself.
#include "report/report_builder.h"
#include "views/table_print_layout.h"

#include "minute_readings.h"
#include "recording_reporter.h"

#include <cstdio>
#include <memory>

namespace {

constexpr int kRecords = 1'000'000;

const ReportState& report()
{
    static const ReportState s = MinuteReadings(kRecords);
    return s;
}

// Character cells of a fixed width, as a printer font at 8 pt roughly measures them (0.1 mm).
class FixedMetrics : public PrintMetrics {
public:
    int lineHeight(PrintFont font) const override { return font == PrintFont::Spacing ? 42 : 33; }
    int textWidth(PrintFont, const QString& text) const override { return 17 * int(text.size()); }
};

void BM_BuildTable(benchmark::State& state)
{
    ReportSettings settings;
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildReport(report(), settings, false).rowCount());
}
BENCHMARK(BM_BuildTable)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

void BM_LayOutWholeTable(benchmark::State& state)
{
    const auto table = std::make_shared<const ReportTable>(BuildReport(report(), ReportSettings{}, false));
    const FixedMetrics metrics;
    const TablePrintBlock block{0, 0, 3, table->rowCount() - 1};
    int sheets = 0;
    for (auto _ : state) {
        const TablePrintLayout layout = LayOutTablePrint(
            metrics, 1900, 2770, {table->title()},
            [&table](qsizetype r, int c) { return table->cellText(r, c); }, block);
        sheets = layout.sheetCount();
    }
    state.counters["sheets"] = sheets;
}
BENCHMARK(BM_LayOutWholeTable)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nlayout of the whole printout / build of the table: %.2f\n",
                reporter.time("BM_LayOutWholeTable") / reporter.time("BM_BuildTable"));
    benchmark::Shutdown();
    return 0;
}
