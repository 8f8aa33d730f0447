// The climate analysis of 10,000,000 readings against the CSV export of the same interval, in
// the same run: an analysis must take no longer than the export. Prints the ratio with its
// limit for scripts/bench.
#include "limit_line.h"
#include "minute_readings.h"
#include "recording_reporter.h"

#include "report/climate_analysis.h"
#include "views/climate_analysis_text.h"
#include "views/csv_export.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

constexpr int kRecords = 10'000'000;

const ReportState& readings()
{
    static const ReportState s = MinuteReadings(kRecords, 0.01);
    return s;
}

// The analysis and its JSON, as kelmora-cli analyse makes them.
void BM_ClimateAnalysis(benchmark::State& state)
{
    const ReportState& s = readings();
    ClimateAnalysisOptions options;
    options.thresholds = {35, 55, 18, 24};
    for (auto _ : state) {
        const ClimateAnalysis a = AnalyseClimate(s.records(), s.IntervalStart, s.IntervalEnd, options);
        benchmark::DoNotOptimize(ClimateAnalysisJson(a).size());
    }
}
BENCHMARK(BM_ClimateAnalysis)->Unit(benchmark::kMillisecond)->Repetitions(3)->Iterations(1);

// The baseline: the CSV export of the same interval to a file.
void BM_CsvExport(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("readings.csv"));
    for (auto _ : state)
        SaveToCSV(path, readings());
}
BENCHMARK(BM_CsvExport)->Unit(benchmark::kMillisecond)->Repetitions(3)->Iterations(1);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n");
    PrintLimitLine("climate analysis / csv export of the same 10^7 readings",
                   reporter.time("BM_ClimateAnalysis") / reporter.time("BM_CsvExport"), 1);
    benchmark::Shutdown();
    return 0;
}
