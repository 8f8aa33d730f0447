// The exports of a report table of 1,000,000 rows (text, HTML, workbook), each against writing
// the same bytes plainly in the same run: a temporary file beside the target, filled through a
// stdio buffer a few kilobytes at a time, synced and renamed over the target, which is the
// file handling every export does. The export's file is read back once before timing to get
// those bytes. Then the peak memory the text and the workbook exports add to the process, each
// measured in a child process of its own.
#include "report/report_builder.h"
#include "views/table_export.h"
#include "views/xls_workbook.h"

#include "limit_line.h"
#include "minute_readings.h"
#include "recording_reporter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

namespace {

constexpr int kRecords = 1'000'000;
enum Format { kTxt = 0, kHtm = 1, kXls = 2 };
const char* const kFormatNames[] = {"txt", "htm", "xls"};

// A year and more of minute readings with 1 % invalid humidity values and thresholds that
// mark the night's and the afternoon's values, so the HTML form has all its styles.
const ReportTable& table()
{
    static const ReportTable t = [] {
        ReportSettings settings;
        settings.minHumidityText = QStringLiteral("+35,0");
        settings.maxHumidityText = QStringLiteral("+55,0");
        settings.minTemperatureText = QStringLiteral("+18,0");
        settings.maxTemperatureText = QStringLiteral("+24,0");
        settings.separators = DateTimeSeparators{QLatin1Char('.'), QLatin1Char(':')};
        return BuildReport(MinuteReadings(kRecords, 0.01), settings, false);
    }();
    return t;
}

QTemporaryDir& outputDir()
{
    static QTemporaryDir dir;
    return dir;
}

QString target(int format)
{
    return QDir(outputDir().path()).filePath(QStringLiteral("export.") + QLatin1String(kFormatNames[format]));
}

void save(int format, const QString& path)
{
    switch (format) {
    case kTxt:
        SaveToASCII(path, table());
        break;
    case kHtm:
        SaveToHTML(path, table(), PlatformColors{});
        break;
    default:
        SaveToXLS(path, table());
        break;
    }
}

// The bytes of each export, made once.
const QByteArray& exportBytes(int format)
{
    static QByteArray bytes[3];
    if (bytes[format].isEmpty()) {
        const QString path = target(format) + QStringLiteral(".reference");
        save(format, path);
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        bytes[format] = f.readAll();
        f.close();
        QFile::remove(path);
    }
    return bytes[format];
}

void BM_Export(benchmark::State& state)
{
    const int format = int(state.range(0));
    exportBytes(format);  // the baseline's bytes, so both see the same page cache state
    for (auto _ : state)
        save(format, target(format));
    state.counters["file_MB"] = double(exportBytes(format).size()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_Export)->DenseRange(kTxt, kXls)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

// The same bytes written plainly, with the same temporary file, sync and rename.
void BM_SameBytesWritten(benchmark::State& state)
{
    const int format = int(state.range(0));
    const QByteArray& bytes = exportBytes(format);
    const QByteArray path = QFile::encodeName(target(format));
    const QByteArray temporary = path + ".tmp";
    for (auto _ : state) {
        std::FILE* out = std::fopen(temporary.constData(), "wb");
        std::setvbuf(out, nullptr, _IOFBF, 1 << 16);
        constexpr qsizetype kPiece = 4096;
        for (qsizetype at = 0; at < bytes.size(); at += kPiece)
            std::fwrite(bytes.constData() + at, 1, std::size_t(std::min(kPiece, bytes.size() - at)), out);
        std::fflush(out);
        ::fsync(fileno(out));
        std::fclose(out);
        std::rename(temporary.constData(), path.constData());
    }
}
BENCHMARK(BM_SameBytesWritten)->DenseRange(kTxt, kXls)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

long statusKilobytes(const char* field)
{
    std::FILE* f = std::fopen("/proc/self/status", "r");
    char line[256];
    long kb = -1;
    const std::size_t n = std::strlen(field);
    while (f && std::fgets(line, sizeof line, f))
        if (std::strncmp(line, field, n) == 0)
            kb = std::atol(line + n);
    if (f)
        std::fclose(f);
    return kb;
}

// The memory (MB) that work adds at its peak to a child process that starts as a copy of this
// one: the child's peak resident size, reset at its start, less its resident size then.
double peakGrowthMB(const std::function<void()>& work)
{
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return NAN;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        if (const int fd = ::open("/proc/self/clear_refs", O_WRONLY); fd >= 0) {
            (void)::write(fd, "5", 1);  // resets the peak resident size
            ::close(fd);
        }
        const long start = statusKilobytes("VmRSS:");
        work();
        const long peak = statusKilobytes("VmHWM:");
        const double grown = (peak - start) / 1024.0;
        (void)::write(pipeEnds[1], &grown, sizeof grown);
        ::_exit(0);
    }
    ::close(pipeEnds[1]);
    double grown = NAN;
    if (::read(pipeEnds[0], &grown, sizeof grown) != sizeof grown)
        grown = NAN;
    ::close(pipeEnds[0]);
    ::waitpid(child, nullptr, 0);
    return grown;
}

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    std::printf("\n");
    const double limits[] = {5, 3, 5};
    for (int format = kTxt; format <= kXls; ++format) {
        const std::string what = std::string(kFormatNames[format]) + " export / same bytes written plainly";
        PrintLimitLine(what.c_str(),
                       reporter.time("BM_Export/" + std::to_string(format)) / reporter.time("BM_SameBytesWritten/" + std::to_string(format)),
                       limits[format]);
    }
    table();
    const double text = peakGrowthMB([] { save(kTxt, target(kTxt)); });
    const double workbook = peakGrowthMB([] { save(kXls, target(kXls)); });
    std::printf("peak memory added by the export of %lld rows: txt %.1f MB, xls %.1f MB\n", (long long)table().rowCount(), text, workbook);
    PrintLimitLine("workbook export peak over text export peak", workbook - text, 64, "MB");
    benchmark::Shutdown();
    return 0;
}
