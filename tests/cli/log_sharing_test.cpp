// Several kelmora-cli processes on one report, each logger with its own virtual meter: the
// readings they report are the records stored, also while the report is prepared meanwhile.
#include "support/meter_sim_process.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <memory>

namespace {

struct Logger {
    std::unique_ptr<MeterSimProcess> sim;
    std::unique_ptr<QProcess> process;
};

std::vector<Logger> startLoggers(int count, const QString& pool, int readings)
{
    std::vector<Logger> loggers;
    for (int i = 0; i < count; ++i) {
        Logger l;
        l.sim = std::make_unique<MeterSimProcess>(QStringList{"--drift"});
        l.process = std::make_unique<QProcess>();
        l.process->start(QStringLiteral(KELMORA_CLI), {"log", l.sim->devicePath(), "--interval", "1", "--count",
                                                       QString::number(readings), "--report", "shared", "--pool", pool});
        EXPECT_TRUE(l.process->waitForStarted());
        loggers.push_back(std::move(l));
    }
    return loggers;
}

// Waits for every logger; the readings they reported on standard output.
int reported(std::vector<Logger>& loggers)
{
    int total = 0;
    for (Logger& l : loggers) {
        if (l.process->state() != QProcess::NotRunning)
            EXPECT_TRUE(l.process->waitForFinished(120000));
        EXPECT_EQ(l.process->exitCode(), 0) << l.process->readAllStandardError().toStdString();
        total += static_cast<int>(l.process->readAllStandardOutput().count("read "));
    }
    return total;
}

}  // namespace

class ConcurrentLoggers : public ::testing::TestWithParam<int> {};

TEST_P(ConcurrentLoggers, ReadingsReportedAreRecordsStored)
{
    const int count = GetParam();
    const int readings = 8;
    QTemporaryDir pool;
    std::vector<Logger> loggers = startLoggers(count, pool.path(), readings);
    const int said = reported(loggers);
    const qint64 size = QFileInfo(QDir(pool.path()).filePath("shared.dat")).size();
    RecordProperty("reported", said);
    RecordProperty("stored", static_cast<int>(size / 12));
    std::printf("%d loggers: %d readings reported, %lld records stored\n", count, said, size / 12);
    EXPECT_EQ(said, count * readings);
    EXPECT_EQ(size % 12, 0);
    EXPECT_EQ(size / 12, said);
}

INSTANTIATE_TEST_SUITE_P(Processes, ConcurrentLoggers, ::testing::Values(2, 6));

TEST(PrepareDuringLog, EveryReportedReadingStaysInThePreparedReport)
{
    // Two loggers append while kelmora-cli prepare sorts and rewrites the same report over and
    // over (the report starts out of order, so every preparation rewrites it).
    QTemporaryDir pool;
    const QString file = QDir(pool.path()).filePath("shared.dat");
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        for (int i = 0; i < 20000; ++i) {
            const double dt = 45000.0 + (20000 - i) / 1440.0;  // one a minute, backwards
            const int16_t rh = 4000, t = 2000;
            f.write(reinterpret_cast<const char*>(&dt), 8);
            f.write(reinterpret_cast<const char*>(&rh), 2);
            f.write(reinterpret_cast<const char*>(&t), 2);
        }
    }
    std::vector<Logger> loggers = startLoggers(2, pool.path(), 6);
    int preparations = 0;
    bool running = true;
    while (running && preparations < 500) {
        const ProcessResult r = runProcess(QStringLiteral(KELMORA_CLI), {"prepare", file});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        ++preparations;
        running = false;
        for (Logger& l : loggers) {
            l.process->waitForFinished(0);  // waiting 0 ms updates the state
            running = running || l.process->state() != QProcess::NotRunning;
        }
    }
    const int said = reported(loggers);
    RecordProperty("preparations", preparations);
    std::printf("%d preparations while 2 loggers reported %d readings\n", preparations, said);
    const qint64 size = QFileInfo(file).size();
    EXPECT_EQ(size / 12, 20000 + said);
}
