// kelmora-cli report and prepare: the exports byte for byte against files worked out by hand
// (tests/data/report), the prepared file, and the errors a user can make.
#include "support/file_bytes.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <utility>

#include <cmath>
#include <cstring>

namespace {

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// The C locale: dates and times with "." and ":".
CliRun cli(const QStringList& args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    env.remove(QStringLiteral("LANG"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(KELMORA_CLI), args);
    if (!p.waitForFinished(60000))
        return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

QString data(const char* name)
{
    return QDir(QStringLiteral(KELMORA_TEST_DATA "/report")).filePath(QString::fromLatin1(name));
}

QByteArray bytesOf(const QString& path)
{
    return FileBytes(path);
}

struct ExportCase {
    const char* name;
    const char* input;
    std::vector<const char*> options;
    const char* expected;
};

class ReportExport : public ::testing::TestWithParam<ExportCase> {};

TEST_P(ReportExport, WritesTheExpectedFileByteForByte)
{
    const ExportCase& c = GetParam();
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out"));
    QStringList args{QStringLiteral("report"), data(c.input)};
    for (const char* o : c.options)
        args << QString::fromUtf8(o);
    args << QStringLiteral("--out") << out;
    const CliRun r = cli(args);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QByteArray expected = bytesOf(data(c.expected));
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_EQ(bytesOf(out), expected) << c.expected;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReportExport,
    ::testing::Values(
        ExportCase{"WholeFileText", "sample.dat", {"--format", "txt"}, "sample_rh.txt"},
        ExportCase{"DewPointInterval", "sample.dat",
                   {"--mode", "dew", "--from", "2024-03-05 10:00", "--to", "2024-03-05 10:01", "--format", "txt"},
                   "sample_dew.txt"},
        ExportCase{"MarkedHtml", "sample.dat", {"--thresholds", "30;60;-40;60", "--format", "htm"},
                   "sample_marked.htm"},
        ExportCase{"NoDataText", "empty.dat", {"--format", "txt"}, "empty_rh.txt"},
        ExportCase{"NoDataHtml", "empty.dat", {"--format", "htm"}, "empty_nodata.htm"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReportCli, WorkbookForm)
{
    // The workbook's cells are checked by the workbook writer's own reader test; here the
    // command writes one: a compound document of whole sectors.
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("r.xls"));
    const CliRun r = cli({QStringLiteral("report"), data("sample.dat"), QStringLiteral("--format"), QStringLiteral("xls"),
                          QStringLiteral("--out"), out});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QByteArray b = bytesOf(out);
    EXPECT_TRUE(b.startsWith(QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)));
    EXPECT_EQ(b.size() % 512, 0);
}

// The readings for analysis: one row per record of the sample report, under the header.
TEST(ReportCli, CsvForm)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("r.csv"));
    const CliRun r = cli({QStringLiteral("report"), data("sample.dat"), QStringLiteral("--format"), QStringLiteral("csv"),
                          QStringLiteral("--out"), out});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QList<QByteArray> lines = bytesOf(out).split('\n');
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines.front(), "time,relative_humidity,temperature,dew_point,absolute_humidity\r");
    const qsizetype records = QFileInfo(data("sample.dat")).size() / 12;
    EXPECT_EQ(lines.size() - 2, records) << "a row per record, and the last line break";
    EXPECT_TRUE(lines[1].contains('T') && lines[1].contains('.')) << lines[1].toStdString();
}

// A logging PC whose clock ran ahead: without --to the export still ends at the report's last
// minute; an interval the user gives says how many records it leaves out.
TEST(ReportCli, TheIntervalDefaultsToTheReportsOwnSpan)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("ahead.dat"));
    QByteArray records;
    for (const double dt : {46000.5, 46000.75, 73051.5}) {  // 2025 twice, then the year 2100
        const int16_t rh = 4500, t = 2000;
        records.append(reinterpret_cast<const char*>(&dt), 8).append(reinterpret_cast<const char*>(&rh), 2)
            .append(reinterpret_cast<const char*>(&t), 2);
    }
    QFile f(in);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(records);
    f.close();
    const QString out = dir.filePath(QStringLiteral("r.csv"));
    CliRun r = cli({QStringLiteral("report"), in, QStringLiteral("--format"), QStringLiteral("csv"), QStringLiteral("--out"), out});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(bytesOf(out).count("\r\n"), 4) << "the header and all three records";
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();

    r = cli({QStringLiteral("report"), in, QStringLiteral("--to"), QStringLiteral("2030-01-01 00:00"), QStringLiteral("--format"),
             QStringLiteral("txt"), QStringLiteral("--out"), dir.filePath(QStringLiteral("r.txt"))});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("1 of 3 records lie outside the interval"))) << r.err.toStdString();
}

TEST(ReportCli, PrepareSortsRemovesTheRepeatAndPrintsTheInterval)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("sample.dat"));
    ASSERT_TRUE(QFile::copy(data("sample.dat"), file));
    const CliRun r = cli({QStringLiteral("prepare"), file});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    // The first and the last record's minute (the last record, 09:59:59.9996, rounds to 10:00).
    EXPECT_EQ(r.out, QStringLiteral("2024-03-05 10:00 2024-03-05 10:03\n"));
    const QByteArray after = bytesOf(file);
    ASSERT_EQ(after.size(), 5 * 12) << "the repeat at 10:00:40 is gone";
    double previous = -1e9;
    for (int i = 0; i < 5; ++i) {
        double dt;
        std::memcpy(&dt, after.constData() + 12 * i, 8);
        EXPECT_LT(previous, dt);
        previous = dt;
    }
    // Preparing again finds nothing more to do.
    EXPECT_EQ(cli({QStringLiteral("prepare"), file}).out, r.out);
    EXPECT_EQ(bytesOf(file), after);
}

TEST(ReportCli, CorruptInputNeverCrashes)
{
    QTemporaryDir dir;
    // Random bytes: whole records of nonsense, a partial tail.
    QByteArray noise(12 * 500 + 7, Qt::Uninitialized);
    QRandomGenerator rng(42);
    for (char& b : noise)
        b = static_cast<char>(rng.bounded(256));
    // NaN and infinite time stamps among valid ones.
    QByteArray special;
    for (const double dt : {45000.5, double(NAN), double(INFINITY), -1e300, 45000.25, 3e6}) {
        special.append(reinterpret_cast<const char*>(&dt), 8);
        special.append("\x10\x11\x20\x08", 4);
    }
    for (const auto& [name, bytes] : {std::pair{"noise.dat", noise}, std::pair{"special.dat", special}}) {
        const QString file = dir.filePath(QString::fromLatin1(name));
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        for (const char* mode : {"rh", "dew", "abs"}) {
            for (const char* format : {"txt", "htm"}) {
                const CliRun r = cli({QStringLiteral("report"), file, QStringLiteral("--mode"), QLatin1String(mode),
                                   QStringLiteral("--format"), QLatin1String(format), QStringLiteral("--out"),
                                   dir.filePath(QStringLiteral("out"))});
                EXPECT_EQ(r.exitCode, 0) << name << ' ' << mode << ' ' << r.err.toStdString();
                if (QLatin1String(name) == QLatin1String("special.dat"))
                    EXPECT_TRUE(r.err.contains(QStringLiteral("4 of 6 records have no valid time stamp and are left out")))
                        << r.err.toStdString();
            }
        }
        const CliRun p = cli({QStringLiteral("prepare"), file});
        EXPECT_EQ(p.exitCode, 0) << name << ' ' << p.err.toStdString();
        EXPECT_EQ(QFileInfo(file).size() % 12, 0);
    }
    // The special file: the two valid stamps survive, the interval holds only their minutes
    // (1e300 and 3e6 are no dates in the years 1 to 9999).
    EXPECT_EQ(cli({QStringLiteral("prepare"), dir.filePath(QStringLiteral("special.dat"))}).out,
              QStringLiteral("2023-03-15 06:00 2023-03-15 12:00\n"));
}

// A report whose name starts with "-" is reached after "--", and "--out -" writes the export to
// standard output, byte for byte the file's (a workbook is refused there).
TEST(ReportCli, DashesBeforeAFileAndStandardOutput)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::copy(data("sample.dat"), dir.filePath(QStringLiteral("-sample.dat"))));
    const auto run = [&](const QStringList& args) {
        QProcess p;
        p.setWorkingDirectory(dir.path());
        p.start(QStringLiteral(KELMORA_CLI), args);
        EXPECT_TRUE(p.waitForFinished(30000));
        return std::pair{p.exitCode(), p.readAllStandardOutput()};
    };
    for (const char* format : {"txt", "htm", "csv"}) {
        const auto [status, out] = run({"report", "--format", format, "--out", "-", "--", "-sample.dat"});
        EXPECT_EQ(status, 0) << format;
        const auto [fileStatus, nothing] = run({"report", "--format", format, "--out", "f.out", "--", "-sample.dat"});
        EXPECT_EQ(fileStatus, 0) << format;
        EXPECT_TRUE(nothing.isEmpty());
        EXPECT_EQ(out, bytesOf(dir.filePath(QStringLiteral("f.out")))) << format;
    }
    EXPECT_EQ(run({"report", "--format", "xls", "--out", "-", "--", "-sample.dat"}).first, 64);
    EXPECT_EQ(run({"prepare", "--", "-sample.dat"}).first, 0);
}

// A report without a reading has no first minute: it says so instead of a made-up interval.
TEST(ReportCli, PrepareOfAnEmptyReportSaysSo)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("empty.dat"));
    ASSERT_TRUE(QFile::copy(data("empty.dat"), file));
    const CliRun r = cli({QStringLiteral("prepare"), file});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("holds no reading"))) << r.err.toStdString();
}

struct ErrorCase {
    const char* name;
    std::vector<const char*> args;  // "@" stands for an existing report file, "#" for the output
    int exitCode;
    const char* message;
};

class ReportCliError : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ReportCliError, SaysWhatIsWrongOnStderr)
{
    const ErrorCase& c = GetParam();
    QTemporaryDir dir;
    QStringList args;
    for (const char* a : c.args) {
        if (std::strcmp(a, "@") == 0)
            args << data("sample.dat");
        else if (std::strcmp(a, "#") == 0)
            args << dir.filePath(QStringLiteral("out"));
        else if (std::strcmp(a, "DIR") == 0)
            args << dir.path();
        else
            args << QString::fromUtf8(a);
    }
    const CliRun r = cli(args);
    EXPECT_EQ(r.exitCode, c.exitCode) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReportCliError,
    ::testing::Values(
        ErrorCase{"MissingFile", {"report", "/nonexistent/x.dat", "--format", "txt", "--out", "#"}, 1, "no such file"},
        ErrorCase{"DirectoryAsFile", {"report", "DIR", "--format", "txt", "--out", "#"}, 1, "not a report file"},
        ErrorCase{"BadMode", {"report", "@", "--mode", "wet", "--format", "txt", "--out", "#"}, 64, "--mode \"wet\""},
        ErrorCase{"BadFormat", {"report", "@", "--format", "xlsx", "--out", "#"}, 64, "--format \"xlsx\""},
        ErrorCase{"NoFormat", {"report", "@", "--out", "#"}, 64, "--format is needed"},
        ErrorCase{"NoOut", {"report", "@", "--format", "txt"}, 64, "--out is needed"},
        ErrorCase{"BadDate", {"report", "@", "--from", "2024-13-01 10:00", "--format", "txt", "--out", "#"}, 64,
                  "is not a date and time"},
        ErrorCase{"ThreeThresholds", {"report", "@", "--thresholds", "1;2;3", "--format", "txt", "--out", "#"}, 64,
                  "four texts"},
        ErrorCase{"UnknownOption", {"report", "@", "--colour", "--format", "txt", "--out", "#"}, 64, "unknown option"},
        ErrorCase{"FromAfterTo", {"report", "@", "--from", "2024-03-05 11:00", "--to", "2024-03-05 10:00", "--format", "txt", "--out", "#"},
                  64, "--from is after --to"},
        ErrorCase{"OutputIsADirectory", {"report", "@", "--format", "txt", "--out", "DIR"}, 1, "Cannot create file"},
        ErrorCase{"PrepareMissingFile", {"prepare", "/nonexistent/x.dat"}, 1, "no such file"},
        ErrorCase{"PrepareNoFile", {"prepare"}, 64, "one FILE is needed"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
