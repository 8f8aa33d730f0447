// Report preparation and report building on a synthetic report of 1,000,000 readings (one a
// minute, noisy values, 3 % repeated readings, 1 % invalid values), each measured against a
// baseline in the same run: preparation against a plain std::sort of the same time stamps and,
// for sorted, shuffled and organ-pipe orders, against the same input and output done plainly,
// the dew-point build against the relative-humidity build. Prints the ratios (of the medians
// of the repetitions) and the table's memory at the end.
#include "logging/report_pool.h"
#include "logging/report_state.h"
#include "report/date_time.h"
#include "report/humidity.h"
#include "report/report_builder.h"
#include "report/report_preparation.h"

#include "recording_reporter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr int kRecords = 1'000'000;

// Room air logged once a minute: a daily and a seasonal swing, sensor noise of a tenth of a degree and half a percent,
// the meter's resolution of 0.1 (values in steps of ten hundredths). Time stamps are local
// wall-clock time, so each autumn the clock goes back an hour and the file is out of order
// there; each spring it jumps an hour ahead.
QList<MeasurementRecord> syntheticReport()
{
    std::mt19937 rng(20240305);
    std::normal_distribution<double> noise(0.0, 1.0);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    QList<MeasurementRecord> records;
    records.reserve(kRecords);
    const double start = DayCountOf(QDate(2023, 1, 1), 0);
    double minute = 0;
    while (records.size() < kRecords) {
        const double day = minute / 1440.0;
        const double dayOfYear = std::fmod(day, 365.0);
        const double wallShift = (dayOfYear >= 86.1 && dayOfYear < 302.1) ? 1.0 / 24.0 : 0.0;  // summer time
        const double t = start + day + wallShift + unit(rng) * 40.0 / 86400.0;  // a few seconds into the minute
        const double temperature = 21.5 + 2.5 * std::sin(2 * M_PI * day) + 3.0 * std::sin(2 * M_PI * day / 365.0) + 0.1 * noise(rng);
        const double humidity = 45.0 - 8.0 * std::sin(2 * M_PI * day) + 10.0 * std::sin(2 * M_PI * day / 365.0 + 1.0) + 0.5 * noise(rng);
        MeasurementRecord r{t, int16_t(std::lround(humidity * 10) * 10), int16_t(std::lround(temperature * 10) * 10)};
        const double u = unit(rng);
        if (u < 0.005)
            r.RH = int16_t(10000 + std::lround(unit(rng) * 5000));  // out of range
        else if (u < 0.01)
            r.T = int16_t(-10000 - std::lround(unit(rng) * 5000));
        records.push_back(r);
        if (unit(rng) < 0.03 && records.size() < kRecords) {  // the same reading stored twice
            MeasurementRecord again = r;
            again.dt += 2.0 / 86400.0;
            records.push_back(again);
        }
        minute += 1;
    }
    return records;
}

const QList<MeasurementRecord>& report()
{
    static const QList<MeasurementRecord> records = syntheticReport();
    return records;
}

QTemporaryDir& poolDir()
{
    static QTemporaryDir dir;
    return dir;
}

void writeReport(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(reinterpret_cast<const char*>(report().constData()), qint64(report().size()) * kRecordSize);
}

void BM_StdSortTimestamps(benchmark::State& state)
{
    std::vector<double> stamps;
    for (const MeasurementRecord& r : report())
        stamps.push_back(r.dt);
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<double> copy = stamps;
        state.ResumeTiming();
        std::sort(copy.begin(), copy.end());
        benchmark::DoNotOptimize(copy.data());
    }
}
BENCHMARK(BM_StdSortTimestamps)->Unit(benchmark::kMillisecond)->Repetitions(3);

void BM_PrepareReportFile(benchmark::State& state)
{
    const QString path = QDir(poolDir().path()).filePath(QStringLiteral("bench.dat"));
    qsizetype kept = 0;
    for (auto _ : state) {
        state.PauseTiming();
        writeReport(path);
        ReportState report;
        state.ResumeTiming();
        PrepareReportFile(report, path, nullptr);
        kept = report.ReportCount;
    }
    state.counters["kept"] = double(kept);
}
BENCHMARK(BM_PrepareReportFile)->Unit(benchmark::kMillisecond)->Repetitions(3);

// The phases of the preparation one by one, to see where its time goes.
void BM_PreparePhase(benchmark::State& state)
{
    const QString path = QDir(poolDir().path()).filePath(QStringLiteral("phase.dat"));
    writeReport(path);
    const int phase = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        ReportState report;
        if (phase != 0)
            LoadReport(path, report);
        if (phase == 3 || phase == 4)
            SortReportData(report, 0, report.ReportCount - 1);
        state.ResumeTiming();
        switch (phase) {
        case 0:
            LoadReport(path, report);
            break;
        case 1:
            benchmark::DoNotOptimize(ScanReportExtremes(report.ReportData.constData(), report.ReportCount));
            break;
        case 2:
            SortReportData(report, 0, report.ReportCount - 1);
            break;
        case 3:
            report.ReportCount = DedupReportData(report, report.ReportCount);
            break;
        case 4:
            RewriteReport(path, report);
            break;
        }
    }
}
BENCHMARK(BM_PreparePhase)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

// The report's records in one of three orders: 0 sorted, 1 shuffled, 2 organ pipe (rising to
// the middle, then falling: the order that made the quicksort quadratic).
QList<MeasurementRecord> reportInOrder(int order)
{
    QList<MeasurementRecord> records = report();
    std::sort(records.begin(), records.end(), [](const MeasurementRecord& a, const MeasurementRecord& b) { return a.dt < b.dt; });
    if (order == 1)
        std::shuffle(records.begin(), records.end(), std::mt19937(7));
    if (order == 2)
        std::reverse(records.begin() + records.size() / 2, records.end());
    return records;
}

void writeRecords(const QString& path, const QList<MeasurementRecord>& records)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(reinterpret_cast<const char*>(records.constData()), qint64(records.size()) * kRecordSize);
}

// The preparation of the report in each order.
void BM_PrepareOrder(benchmark::State& state)
{
    const QList<MeasurementRecord> records = reportInOrder(int(state.range(0)));
    const QString path = QDir(poolDir().path()).filePath(QStringLiteral("order.dat"));
    for (auto _ : state) {
        state.PauseTiming();
        writeRecords(path, records);
        ReportState report;
        state.ResumeTiming();
        PrepareReportFile(report, path, nullptr);
        benchmark::DoNotOptimize(report.ReportCount);
    }
}
BENCHMARK(BM_PrepareOrder)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->Repetitions(3);

// Its baseline: the same input and output done plainly. Read the file, std::sort by time,
// drop the repeats, write a temporary file, sync it and rename it over the report.
void BM_SameIoBaseline(benchmark::State& state)
{
    const QList<MeasurementRecord> records = reportInOrder(int(state.range(0)));
    const QString path = QDir(poolDir().path()).filePath(QStringLiteral("baseline.dat"));
    const QString temporary = path + QStringLiteral(".tmp");
    for (auto _ : state) {
        state.PauseTiming();
        writeRecords(path, records);
        state.ResumeTiming();
        std::FILE* in = std::fopen(QFile::encodeName(path).constData(), "rb");
        std::vector<MeasurementRecord> data(std::size_t(QFileInfo(path).size() / kRecordSize));
        const std::size_t got = std::fread(data.data(), kRecordSize, data.size(), in);
        std::fclose(in);
        std::sort(data.begin(), data.begin() + qsizetype(got), [](const MeasurementRecord& a, const MeasurementRecord& b) { return a.dt < b.dt; });
        const qsizetype kept = DedupReportData(data.data(), qsizetype(got));
        std::FILE* out = std::fopen(QFile::encodeName(temporary).constData(), "wb");
        std::fwrite(data.data(), kRecordSize, std::size_t(kept), out);
        std::fflush(out);
        ::fsync(fileno(out));
        std::fclose(out);
        std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData());
    }
}
BENCHMARK(BM_SameIoBaseline)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->Repetitions(3);

ReportState buildState()
{
    ReportState s;
    s.ReportData = report();
    s.ReportCount = s.ReportData.size();
    s.IntervalStart = 0;
    s.IntervalEnd = DayCountOf(QDate(2100, 1, 1), 0);
    s.DeviceNumberText = QStringLiteral("1A2B");
    return s;
}

std::size_t g_tableBytes = 0;
qsizetype g_tableRows = 0;

void BM_BuildReport(benchmark::State& state)
{
    const ReportState s = buildState();
    ReportSettings settings;
    settings.displayMode = int(state.range(0));
    settings.colorChart = true;
    for (auto _ : state) {
        ReportTable table = BuildReport(s, settings, false, nullptr);
        benchmark::DoNotOptimize(table.rows().data());
        g_tableBytes = table.memoryBytes();
        g_tableRows = table.rowCount();
    }
    state.counters["table_MB"] = double(g_tableBytes) / (1024.0 * 1024.0);
}
BENCHMARK(BM_BuildReport)->Arg(kRelativeHumidity)->Arg(kDewPoint)->Arg(kAbsoluteHumidity)->Unit(benchmark::kMillisecond)->Repetitions(5);

// The (RH, T) pairs a dew-point build converts, each once, in the order the build first
// meets them (invalid values carry the previous valid one forward, as the build does).
std::vector<std::pair<int16_t, int16_t>> distinctPairs()
{
    std::vector<std::pair<int16_t, int16_t>> pairs;
    std::set<std::pair<int16_t, int16_t>> seen;
    int16_t rh = 0, t = 0;
    for (const MeasurementRecord& r : report()) {
        if (r.RH >= 0 && r.RH <= 9999)
            rh = r.RH;
        if (r.T >= -9999 && r.T <= 9999)
            t = r.T;
        if (seen.emplace(rh, t).second)
            pairs.emplace_back(rh, t);
    }
    return pairs;
}

// The dew points of the distinct (RH, T) pairs of the report, in the order a build first meets
// them: the conversion work of a dew-point build without the per-record lookups.
void BM_DewPointsOfDistinctPairs(benchmark::State& state)
{
    std::vector<std::pair<double, double>> inputs;
    for (const auto& [rh, t] : distinctPairs())
        inputs.emplace_back(rh / 100.0, t / 100.0);
    for (auto _ : state)
        for (const auto& [h, tt] : inputs)
            benchmark::DoNotOptimize(DewPoint(h, tt));
    state.counters["ns_per_pair"] = benchmark::Counter(double(inputs.size()), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_DewPointsOfDistinctPairs)->Unit(benchmark::kMillisecond);

// The rebuild the window does after each reading or a switch of display mode: the conversions
// of earlier builds are kept (the first, cold build is not timed).
void BM_RebuildReport(benchmark::State& state)
{
    const ReportState s = buildState();
    ConversionCache cache;
    ReportSettings settings;
    settings.displayMode = int(state.range(0));
    settings.colorChart = true;
    settings.cache = &cache;
    BuildReport(s, settings, false, nullptr);
    for (auto _ : state) {
        ReportTable table = BuildReport(s, settings, false, nullptr);
        benchmark::DoNotOptimize(table.rows().data());
    }
}
BENCHMARK(BM_RebuildReport)->Arg(kRelativeHumidity)->Arg(kDewPoint)->Unit(benchmark::kMillisecond)->Repetitions(5);

// The dew point as defined: exactly 100 bisection steps.
double dewPoint100(double RH, double T)
{
    const double e = WaterSaturationPressure(T + 273.16) * RH / 100;
    double low = -60, high = 100, mid = 0;
    for (int step = 0; step < 100; ++step) {
        mid = (high - low) / 2 + low;
        const double s = mid >= 0 ? WaterSaturationPressure(mid + 273.16) : IceSaturationPressure(mid + 273.16);
        if (e >= s)
            low = mid;
        else
            high = mid;
    }
    return mid;
}

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    // A ratio of two medians (or of two single runs); NAN only when one of them was not run.
    const auto ratio = [&](const char* a, const char* b) { return reporter.time(a) / reporter.time(b); };
    // Against a sort in memory alone (no reading, writing or syncing): shown, not limited; the
    // limits are against the baseline that does the same input and output.
    std::printf("\npreparation / std::sort of the time stamps in memory: %.2f\n",
                ratio("BM_PrepareReportFile", "BM_StdSortTimestamps"));
    const char* orders[] = {"sorted", "shuffled", "organ pipe"};
    for (int order = 0; order < 3; ++order)
        std::printf("preparation / same-I/O baseline, %s: %.2f (limit 1.5)\n", orders[order],
                    ratio(("BM_PrepareOrder/" + std::to_string(order)).c_str(),
                          ("BM_SameIoBaseline/" + std::to_string(order)).c_str()));
    std::printf("dew-point build / relative-humidity build: %.2f (limit 2)\n",
                ratio("BM_BuildReport/1", "BM_BuildReport/0"));
    std::printf("dew-point rebuild / relative-humidity rebuild, conversions kept: %.2f\n",
                ratio("BM_RebuildReport/1", "BM_RebuildReport/0"));
    std::printf("table of %lld rows: %.1f MB (limit 64)\n", (long long)g_tableRows, double(g_tableBytes) / (1024.0 * 1024.0));

    // Every dew point of the build against the 100-step definition, to the last bit.
    const std::vector<std::pair<int16_t, int16_t>> pairs = distinctPairs();
    std::size_t differ = 0;
    for (const auto& [h, tt] : pairs) {
        const double a = DewPoint(h / 100.0, tt / 100.0), b = dewPoint100(h / 100.0, tt / 100.0);
        if (std::memcmp(&a, &b, sizeof a) != 0)
            ++differ;
    }
    std::printf("dew points checked against 100 steps: %zu distinct inputs, %zu differ\n", pairs.size(), differ);
    benchmark::Shutdown();
    return 0;
}
