// kelmora-cli against virtual meters that answer late (kelmora-meter-sim --delay), on real
// pseudo-terminals in real time: a value printed or stored is always the meter's own. The
// runs go side by side, each with its own meter, so the whole test takes about as long as the
// slowest run (the full sweep of delays is in tests/device/late_reply_test.cpp, in virtual time).
#include "logging/measurement_record.h"
#include "support/meter_sim_process.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <memory>

namespace {

struct CliRun {
    int delay;
    bool usb;
    std::unique_ptr<MeterSimProcess> sim;
    std::unique_ptr<QProcess> cli;
};

}  // namespace

TEST(LateRepliesThroughTheCli, ReadNeverPrintsAWrongValue)
{
    std::vector<CliRun> runs;
    for (const bool usb : {false, true}) {
        for (const int delay : {300, 450, 520, 700, 1000, 1500}) {
            CliRun r{delay, usb, std::make_unique<MeterSimProcess>(QStringList{"--serial", "0x00A3", "--rh", "4525", "--t", "2150",
                                                                             "--delay", QString::number(delay)}),
                  std::make_unique<QProcess>()};
            QStringList args{"read", r.sim->devicePath()};
            if (usb)
                args << "--usb";
            r.cli->start(QStringLiteral(KELMORA_CLI), args);
            runs.push_back(std::move(r));
        }
    }
    for (CliRun& r : runs) {
        const std::string what = "delay " + std::to_string(r.delay) + (r.usb ? " usb" : "");
        ASSERT_TRUE(r.cli->waitForFinished(150000)) << what;
        const QString out = QString::fromUtf8(r.cli->readAllStandardOutput());
        const QString err = QString::fromUtf8(r.cli->readAllStandardError());
        const int status = r.cli->exitCode();
        std::printf("%s: exit %d, %s%s\n", what.c_str(), status, qPrintable(out.trimmed()), qPrintable(err.trimmed()));
        if (r.delay <= 450) {
            EXPECT_EQ(status, 0) << what << ": " << err.toStdString();
        }
        if (status == 0)
            EXPECT_EQ(out, "00A3 45,2 21,5\n") << what;
        else
            EXPECT_EQ(out, "") << what << ": nothing printed without a reading";
    }
}

TEST(LateRepliesThroughTheCli, LogNeverStoresAShiftedReading)
{
    // The two delays the shift was seen with: 700 ms, and 520 ms with --usb.
    QTemporaryDir pool;
    std::vector<CliRun> runs;
    for (const bool usb : {false, true}) {
        const int delay = usb ? 520 : 700;
        CliRun r{delay, usb, std::make_unique<MeterSimProcess>(QStringList{"--serial", "0x00A3", "--rh", "4525", "--t", "2150",
                                                                         "--delay", QString::number(delay)}),
              std::make_unique<QProcess>()};
        QStringList args{"log", r.sim->devicePath(), "--interval", "1", "--count", "2", "--pool", pool.path(),
                         "--report", usb ? "usb" : "rs232"};
        if (usb)
            args << "--usb";
        r.cli->start(QStringLiteral(KELMORA_CLI), args);
        runs.push_back(std::move(r));
    }
    for (CliRun& r : runs) {
        ASSERT_TRUE(r.cli->waitForFinished(150000));
        const QString err = QString::fromUtf8(r.cli->readAllStandardError());
        const qint64 printed = r.cli->readAllStandardOutput().count("read ");
        QFile f(QDir(pool.path()).filePath(r.usb ? "usb.dat" : "rs232.dat"));
        QByteArray bytes;
        if (f.open(QIODevice::ReadOnly))
            bytes = f.readAll();
        EXPECT_EQ(bytes.size(), printed * 12);
        for (qsizetype at = 0; at + 12 <= bytes.size(); at += 12) {
            MeasurementRecord rec;
            memcpy(&rec, bytes.constData() + at, 12);
            EXPECT_EQ(rec.RH, 4525) << "delay " << r.delay;
            EXPECT_EQ(rec.T, 2150) << "delay " << r.delay;
        }
        EXPECT_EQ(r.cli->exitCode() == 0, printed == 2) << err.toStdString();
        std::printf("log, delay %d%s: exit %d, %lld of 2 stored\n", r.delay, r.usb ? " usb" : "", r.cli->exitCode(),
                    static_cast<long long>(printed));
    }
}
