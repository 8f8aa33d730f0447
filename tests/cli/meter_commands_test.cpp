// kelmora-cli ports, check, read and detect against the virtual meter on a pseudo-terminal.
#include "support/meter_sim_process.h"
#include "support/pty_pair.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// kelmora-cli on a data directory of its own, so that its kelmora.ini is the test's.
class CliInDir {
public:
    ProcessResult run(const QStringList& args)
    {
        return runProcess(environmentWithDataDirectory(dir_.path()), QStringLiteral(KELMORA_CLI), args);
    }
    void writeIni(const QString& text)
    {
        QFile f(dir_.filePath("kelmora.ini"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text.toUtf8());
    }
    QString ini() const
    {
        QFile f(dir_.filePath("kelmora.ini"));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

private:
    QTemporaryDir dir_;
};

}  // namespace

TEST(CliMeter, ReadPrintsWhatTheMeterHolds)
{
    MeterSimProcess sim({"--serial", "0xA3", "--rh", "4525", "--t", "-525"});
    for (const QStringList& mode : {QStringList{}, QStringList{"--usb"}}) {
        const ProcessResult r = runProcess(QStringLiteral(KELMORA_CLI), QStringList{"read", sim.devicePath()} + mode);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_EQ(r.out, "00A3 45,2 -5,2\n");
        const ProcessResult c = runProcess(QStringLiteral(KELMORA_CLI), QStringList{"check", sim.devicePath()} + mode);
        EXPECT_EQ(c.exitCode, 0);
        EXPECT_EQ(c.out, "00A3\n");
    }
}

TEST(CliMeter, MissingDeviceIsNamedClearly)
{
    CliInDir cli;
    const ProcessResult r = cli.run({"check", "COM3"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.startsWith("Cannot open the port\nCOM3 (/dev/ttyS2): ")) << r.err.toStdString();
    const ProcessResult p = cli.run({"read", "/dev/kelmora-missing"});
    EXPECT_EQ(p.exitCode, 2);
    EXPECT_TRUE(p.err.contains("/dev/kelmora-missing: ")) << p.err.toStdString();
}

TEST(CliMeter, PortsListsTheTwentyNamesAndTheirOverrides)
{
    CliInDir cli;
    cli.writeIni("; my meter\r\n[Kel]\r\nPort=0x2\r\n");
    ProcessResult r = cli.run({"ports", "--map", "\\\\.\\COM12", "/dev/pts/9"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 21);
    EXPECT_EQ(lines[0], "COM1       /dev/ttyS0");
    EXPECT_TRUE(lines[20].startsWith("data directory: ")) << lines[20].toStdString();
    EXPECT_EQ(lines[4], "COM5       /dev/ttyUSB0");
    EXPECT_EQ(lines[11], "\\\\.\\COM12  /dev/pts/9  (kelmora.ini)");
    EXPECT_EQ(lines[12], "\\\\.\\COM13  /dev/ttyACM0");
    EXPECT_EQ(lines[19], "\\\\.\\COM20  /dev/ttyACM7");
    EXPECT_EQ(cli.ini(), "; my meter\r\n[Kel]\r\nPort=0x2\r\n\r\n[Ports]\r\n\\\\.\\COM12=/dev/pts/9\r\n");

    r = cli.run({"ports", "--unmap", "\\\\.\\com12"});
    EXPECT_TRUE(r.out.contains("\\\\.\\COM12  /dev/ttyUSB7\n"));

    // Names that are not in the list are refused with the reason and change nothing; a name
    // that is not mapped is said to be so.
    const QString before = cli.ini();
    struct Case {
        QStringList args;
        int status;
        const char* said;
    };
    for (const Case& c : {Case{{"ports", "--map", "BOGUS", "/dev/pts/3"}, 64, "is not a name of the port list"},
                          Case{{"ports", "--map", "COM10", "/dev/pts/3"}, 64, "the list names it \\\\.\\COM10"},
                          Case{{"ports", "--unmap", "BOGUS"}, 64, "is not a name of the port list"},
                          Case{{"ports", "--map", "COM2", " "}, 64, "needs a device path"},
                          Case{{"ports", "--unmap", "COM2"}, 0, "COM2 is not mapped"}}) {
        r = cli.run(c.args);
        EXPECT_EQ(r.exitCode, c.status) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.said))) << r.err.toStdString();
        EXPECT_EQ(cli.ini(), before) << c.args.join(' ').toStdString();
    }
}

TEST(CliMeter, DetectSkipsASilentPortAndFindsTheMeter)
{
    MeterSimProcess meter;
    MeterSimProcess silent({"--silent"});
    CliInDir cli;
    QString ini = "[Ports]\r\n";
    for (int i = 1; i <= 20; ++i) {
        const QString name = i <= 9 ? QString("COM%1").arg(i) : QString("\\\\.\\COM%1").arg(i);
        const QString device = i == 3 ? meter.devicePath() : i == 5 ? silent.devicePath() : "/dev/kelmora-none";
        ini += name + "=" + device + "\r\n";
    }
    cli.writeIni(ini);
    const ProcessResult r = cli.run({"detect"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "Meter found on COM3\n");
}

TEST(CliMeter, DetectWithoutAnyMeterGivesTheTwoLineMessage)
{
    CliInDir cli;
    QString ini = "[Ports]\r\n";
    for (int i = 1; i <= 20; ++i)
        ini += (i <= 9 ? QString("COM%1").arg(i) : QString("\\\\.\\COM%1").arg(i)) + "=/dev/kelmora-none\r\n";
    cli.writeIni(ini);
    const ProcessResult r = cli.run({"detect", "--usb"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Cannot detect the meter automatically!\n"
                     "Check all the connections again and try once more.\n");
}

// Help asked for is no mistake: every command's own usage line, and the version.
TEST(CliMeter, HelpAndVersionAreAnswersNotErrors)
{
    for (const char* command : {"ports", "check", "read", "detect", "log", "prepare", "report", "chart"}) {
        const ProcessResult r = runProcess(QStringLiteral(KELMORA_CLI), {QString::fromLatin1(command), "--help"});
        EXPECT_EQ(r.exitCode, 0) << command << ": " << r.err.toStdString();
        EXPECT_TRUE(r.out.startsWith(QStringLiteral("usage: kelmora-cli %1").arg(QLatin1String(command)))) << r.out.toStdString();
    }
    const ProcessResult v = runProcess(QStringLiteral(KELMORA_CLI), {"--version"});
    EXPECT_EQ(v.exitCode, 0);
    EXPECT_TRUE(v.out.startsWith("kelmora-cli ")) << v.out.toStdString();
}

TEST(CliMeter, UsageErrors)
{
    for (const QStringList& args : {QStringList{"check"}, QStringList{"read", "COM1", "--fast"},
                                    QStringList{"detect", "COM1"}, QStringList{"frobnicate"}}) {
        const ProcessResult r = runProcess(QStringLiteral(KELMORA_CLI), args);
        EXPECT_EQ(r.exitCode, 64) << args.join(' ').toStdString();
        EXPECT_FALSE(r.err.isEmpty());
    }
}

TEST(MeterSim, HelpAndBadOptions)
{
    ProcessResult r = runProcess(QStringLiteral(KELMORA_METER_SIM), {"--help"});
    EXPECT_EQ(r.exitCode, 0);
    for (const char* option : {"--serial", "--rh", "--t", "--drift", "--silent", "--swap-crc", "--reply-address",
                               "--stop-after", "--delay", "--link"})
        EXPECT_TRUE(r.out.contains(option)) << option;
    r = runProcess(QStringLiteral(KELMORA_METER_SIM), {"--rh", "lots"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("--rh"));
}

