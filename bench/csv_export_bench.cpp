// The CSV export of 1,000,000 readings against a plain buffered write of the same bytes in the
// same run (what the export costs beyond its output), and beside the text export of the same
// report's table. Prints the ratios at the end, the one with a limit for scripts/bench.
#include "limit_line.h"
#include "minute_readings.h"
#include "recording_reporter.h"

#include "report/report_builder.h"
#include "views/csv_export.h"
#include "views/table_export.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

#include <unistd.h>

namespace {

constexpr int kRecords = 1'000'000;

const ReportState& readings()
{
    static const ReportState s = MinuteReadings(kRecords, 0.01);
    return s;
}

QTemporaryDir& outDir()
{
    static QTemporaryDir dir;
    return dir;
}

QString outPath(const char* name)
{
    return QDir(outDir().path()).filePath(QString::fromLatin1(name));
}

// The export as the window and kelmora-cli do it: text made from the records, written to a
// temporary file that replaces the target.
void BM_CsvExport(benchmark::State& state)
{
    const QString path = outPath("readings.csv");
    for (auto _ : state)
        SaveToCSV(path, readings());
    state.counters["file_MB"] = double(QFileInfo(path).size()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_CsvExport)->Unit(benchmark::kMillisecond)->Repetitions(3);

// The CSV text alone, without the file.
void BM_CsvText(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(ReportCsv(readings()).size());
}
BENCHMARK(BM_CsvText)->Unit(benchmark::kMillisecond)->Repetitions(3);

// The baseline: the same bytes, made beforehand, written with stdio's buffered writes. Arg 0:
// to the file and closed; arg 1: as the exports write, to a temporary file that is synced and
// renamed over the target.
void BM_PlainBufferedWrite(benchmark::State& state)
{
    const QByteArray bytes = ReportCsv(readings());
    const QByteArray path = QFile::encodeName(outPath("plain.csv"));
    const QByteArray temporary = path + ".tmp";
    const bool synced = state.range(0) == 1;
    for (auto _ : state) {
        std::FILE* f = std::fopen((synced ? temporary : path).constData(), "wb");
        std::setvbuf(f, nullptr, _IOFBF, 1 << 16);
        for (qsizetype at = 0; at < bytes.size(); at += 4096)
            std::fwrite(bytes.constData() + at, 1, size_t(std::min<qsizetype>(4096, bytes.size() - at)), f);
        std::fflush(f);
        if (synced)
            ::fsync(fileno(f));
        std::fclose(f);
        if (synced)
            std::rename(temporary.constData(), path.constData());
    }
}
BENCHMARK(BM_PlainBufferedWrite)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Repetitions(3);

// The fixed-width text export of the same report's table (one row per minute).
void BM_TxtExport(benchmark::State& state)
{
    ReportSettings settings;
    const ReportTable table = BuildReport(readings(), settings, false, nullptr);
    const QString path = outPath("table.txt");
    for (auto _ : state)
        SaveToASCII(path, table);
    state.counters["file_MB"] = double(QFileInfo(path).size()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_TxtExport)->Unit(benchmark::kMillisecond)->Repetitions(3);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto ratio = [&](const char* a, const char* b) { return reporter.time(a) / reporter.time(b); };
    std::printf("\n");
    PrintLimitLine("csv export / same bytes written plainly", ratio("BM_CsvExport", "BM_PlainBufferedWrite/1"), 5);
    std::printf("csv export / same bytes written plainly without sync and rename: %.2f\n",
                ratio("BM_CsvExport", "BM_PlainBufferedWrite/0"));
    std::printf("csv text alone / same bytes written plainly without sync and rename: %.2f\n",
                ratio("BM_CsvText", "BM_PlainBufferedWrite/0"));
    std::printf("csv export / txt export of the same report: %.2f\n", ratio("BM_CsvExport", "BM_TxtExport"));
    benchmark::Shutdown();
    return 0;
}
