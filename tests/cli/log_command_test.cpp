// kelmora-cli log against the virtual meter: whole records only, stop between records.
#include "logging/measurement_record.h"
#include "support/meter_sim_process.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QThread>
#include <QFileInfo>
#include <QTemporaryDir>

#include <QDir>

#include <csignal>

#include <sys/file.h>
#include <sys/stat.h>
#include <memory>

#include <unistd.h>

namespace {

QList<MeasurementRecord> records(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = f.readAll();
    QList<MeasurementRecord> out(bytes.size() / 12);
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
    EXPECT_TRUE(r.err.endsWith("stored 5 of 5 readings\n")) << r.err.toStdString();
    // The command line's own default report: the window's scratch report is never touched.
    EXPECT_FALSE(QFileInfo::exists(pool.filePath("temp.dat")));
    const QString file = pool.filePath("kelmora-cli.dat");
    EXPECT_EQ(QFileInfo(file).size(), 60);
    const auto recs = records(file);
    ASSERT_EQ(recs.size(), 5);
    for (const MeasurementRecord& rec : recs) {
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
    EXPECT_EQ(r.exitCode, 4) << "a reading that was not stored is a failure";
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.count("could not be written"), 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(dir.filePath("POOL/kelmora-cli.dat")));
    EXPECT_TRUE(r.err.contains("Not a directory")) << "the system's reason is kept: " << r.err.toStdString();
    EXPECT_TRUE(r.err.endsWith("stored 0 of 3 readings\n")) << r.err.toStdString();
}

TEST(CliLog, UsageErrors)
{
    for (const QStringList& args : {QStringList{"log", "COM1"}, QStringList{"log", "--interval", "5"},
                                    QStringList{"log", "COM1", "--interval", "x"},
                                    QStringList{"log", "COM1", "--interval", "5", "--count", "0"},
                                    QStringList{"log", "COM1", "--interval", "5", "--report", "../up"},
                                    QStringList{"log", "COM1", "--interval", "5", "--report", "  "},
                                    QStringList{"log", "COM1", "--interval", "5", "--report", "temp"},
                                    QStringList{"log", "COM1", "--interval", "5", "--report", "Temp.dat"},
                                    QStringList{"log", "COM1", "--interval", "5", "--report", ".hidden"},
                                    QStringList{"log", "COM1", "--interval", "-5"},
                                    QStringList{"log", "COM1", "--interval", "0", "--count", "3"}}) {
        const ProcessResult r = runProcess(QStringLiteral(KELMORA_CLI), args);
        EXPECT_EQ(r.exitCode, 64) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains("usage:")) << r.err.toStdString();
    }
}

// A report must be a regular file: a FIFO (or a device) in its place would block the logger
// or swallow the readings.
TEST(CliLog, AReportThatIsNoRegularFileIsRefused)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir().mkpath(dir.filePath("POOL")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("POOL/pipe.dat")).constData(), 0600), 0);
    const ProcessResult r = runProcess(QStringLiteral(KELMORA_CLI),
                                       {"log", "COM1", "--interval", "5", "--report", "pipe", "--pool", dir.filePath("POOL")});
    EXPECT_EQ(r.exitCode, 64) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("is not a regular file")) << r.err.toStdString();
}

// A report whose lock another program holds: the logger says that it waits, and SIGTERM ends
// the wait (and the run, with its summary) instead of waiting for the other program.
TEST(CliLog, AWaitForAReportsLockIsSaidAndSIGTERMEndsIt)
{
    MeterSimProcess sim;
    QTemporaryDir dir;
    const QString pool = dir.filePath("POOL");
    ASSERT_TRUE(QDir().mkpath(pool));
    QFile held(pool + "/held.dat");
    ASSERT_TRUE(held.open(QIODevice::WriteOnly));
    ASSERT_EQ(::flock(held.handle(), LOCK_EX), 0);
    QProcess log;
    log.start(QStringLiteral(KELMORA_CLI), {"log", sim.devicePath(), "--interval", "1", "--count", "1", "--report", "held", "--pool", pool});
    QByteArray err;
    for (int i = 0; i < 300 && !err.contains("is locked by another program"); ++i) {
        log.waitForReadyRead(100);
        err += log.readAllStandardError();
    }
    ASSERT_TRUE(err.contains("is locked by another program")) << err.toStdString();
    log.terminate();
    ASSERT_TRUE(log.waitForFinished(5000)) << "SIGTERM ends the wait";
    err += log.readAllStandardError();
    EXPECT_EQ(log.exitCode(), 4) << err.toStdString();
    EXPECT_TRUE(err.endsWith("stored 0 of 1 readings\n")) << err.toStdString();
    EXPECT_EQ(QFileInfo(held.fileName()).size(), 0);
}

TEST(CliLog, ExitStatusTellsWhetherEveryReadingWasStored)
{
    // Each kind of failure has its status, and the last line counts the readings stored.
    QTemporaryDir dir;
    struct Case {
        const char* what;
        QStringList sim;  // empty: no meter, a port that does not exist
        QString port;
        int status;
        const char* summary;
    };
    const std::vector<Case> cases = {
        {"no such port", {}, dir.filePath("no-such-tty"), 2, "stored 0 of 2 readings\n"},
        {"not a terminal", {}, "/dev/null", 2, "stored 0 of 2 readings\n"},
        {"bad checksums", {"--swap-crc"}, {}, 1, "stored 0 of 1 readings\n"},
        {"meter stops", {"--stop-after", "6"}, {}, 3, "stored 1 of 2 readings\n"},
    };
    for (const Case& c : cases) {
        std::unique_ptr<MeterSimProcess> sim;
        QString port = c.port;
        if (!c.sim.isEmpty()) {
            sim = std::make_unique<MeterSimProcess>(c.sim);
            port = sim->devicePath();
        }
        const QString count = c.status == 1 ? "1" : "2";
        const ProcessResult r = runProcess(QStringLiteral(KELMORA_CLI),
                                           {"log", port, "--interval", "1", "--count", count, "--pool", dir.filePath("POOL")},
                                           120000);
        EXPECT_EQ(r.exitCode, c.status) << c.what << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.endsWith(c.summary)) << c.what << ": " << r.err.toStdString();
    }
}

TEST(CliLog, AReadingThatDoesNotFitIsNotStoredAndSaysWhy)
{
    // A full disk, as a file size limit (which holds for root too).
    MeterSimProcess sim;
    QTemporaryDir dir;
    const QString pool = dir.filePath("POOL");
    QDir().mkpath(pool);
    // A report of 42 records under a file size limit of one 512-byte block: the port's lock
    // file fits, the 43rd record does not.
    QFile existing(pool + "/limited.dat");
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write(QByteArray(42 * 12, '\0'));
    existing.close();
    QProcess log;
    log.setProgram("/bin/sh");
    log.setArguments({"-c", QStringLiteral("trap '' XFSZ; ulimit -f 1; exec \"$0\" \"$@\""), QStringLiteral(KELMORA_CLI), "log",
                      sim.devicePath(), "--interval", "1", "--count", "2", "--report", "limited", "--pool", pool});
    log.start();
    ASSERT_TRUE(log.waitForFinished(60000));
    const QString err = QString::fromUtf8(log.readAllStandardError());
    EXPECT_EQ(log.exitCode(), 4) << err.toStdString();
    EXPECT_TRUE(err.contains("File too large")) << err.toStdString();
    EXPECT_TRUE(err.endsWith("stored 0 of 2 readings\n")) << err.toStdString();
    EXPECT_EQ(QFileInfo(pool + "/limited.dat").size(), 42 * 12) << "no record cut short";
}
