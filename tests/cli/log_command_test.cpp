// kelmora-cli log against the virtual meter: whole records only, stop between records.
#include "logging/measurement_record.h"
#include "support/meter_sim_process.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QThread>
#include <QFileInfo>
#include <QTemporaryDir>

#include <csignal>

namespace {

QList<TDateTimeRHT> records(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = f.readAll();
    QList<TDateTimeRHT> out(bytes.size() / 12);
    memcpy(out.data(), bytes.constData(), static_cast<size_t>(out.size()) * 12);
    return out;
}

}  // namespace

TEST(CliLog, FiveReadingsAreSixtyBytesWithTheMetersValues)
{
    MeterSimProcess sim({"--rh", "4525", "--t", "-525"});
    QTemporaryDir pool;
    const ProcessResult r = runProcess(QStringLiteral(KELMORA_CLI),
                                       {"log", sim.devicePath(), "--interval", "1", "--count", "5", "--pool", pool.path()});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.count("read "), 5);
    const QString file = pool.filePath("temp.dat");
    EXPECT_EQ(QFileInfo(file).size(), 60);
    const auto recs = records(file);
    ASSERT_EQ(recs.size(), 5);
    for (const TDateTimeRHT& rec : recs) {
        EXPECT_EQ(rec.RH, 4525);
        EXPECT_EQ(rec.T, -525);
    }
    EXPECT_LT(double(recs.front().dt), double(recs.back().dt));
    EXPECT_GT(recs.front().dt, 45000.0) << "a day count of this century";
}

TEST(CliLog, TerminatedMidRunKeepsEveryPrintedReading)
{
    MeterSimProcess sim;
    QTemporaryDir pool;
    int total = 0;
    for (const int signal : {SIGTERM, SIGINT}) {
        QProcess log;
        log.start(QStringLiteral(KELMORA_CLI), {"log", sim.devicePath(), "--interval", "1", "--report", "hall", "--pool", pool.path()});
        ASSERT_TRUE(log.waitForStarted());
        int printed = 0;
        while (printed < 2 && log.waitForReadyRead(5000))
            printed = static_cast<int>(log.readAllStandardOutput().count("read ")) + printed;
        QThread::msleep(signal == SIGTERM ? 400 : 900);  // somewhere inside the next reading
        ::kill(static_cast<pid_t>(log.processId()), signal);
        ASSERT_TRUE(log.waitForFinished(5000));
        EXPECT_EQ(log.exitCode(), 0);
        printed += static_cast<int>(log.readAllStandardOutput().count("read "));
        const qint64 size = QFileInfo(pool.filePath("hall.dat")).size();
        EXPECT_EQ(size % 12, 0);
        // Both runs append to the same report.
        total += printed;
        EXPECT_EQ(size / 12, total);
    }
}

TEST(CliLog, AReadingThatCannotBeStoredIsReportedOnce)
{
    MeterSimProcess sim;
    QTemporaryDir dir;
    QFile blocker(dir.filePath("POOL"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));  // a file where the pool should be
    blocker.close();
    const ProcessResult r = runProcess(QStringLiteral(KELMORA_CLI),
                                       {"log", sim.devicePath(), "--interval", "1", "--count", "3", "--pool", dir.filePath("POOL")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.count("could not be written"), 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(dir.filePath("POOL/temp.dat")));
}

TEST(CliLog, UsageErrors)
{
    for (const QStringList& args : {QStringList{"log", "COM1"}, QStringList{"log", "--interval", "5"},
                                    QStringList{"log", "COM1", "--interval", "x"},
                                    QStringList{"log", "COM1", "--interval", "5", "--count", "0"},
                                    QStringList{"log", "COM1", "--interval", "5", "--report", "../up"},
                                    QStringList{"log", "COM1", "--interval", "5", "--report", "  "}}) {
        const ProcessResult r = runProcess(QStringLiteral(KELMORA_CLI), args);
        EXPECT_EQ(r.exitCode, 64) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains("usage:")) << r.err.toStdString();
    }
}
